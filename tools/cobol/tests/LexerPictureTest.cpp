#include "Lexer.h"
#include "Picture.h"
#include "Preprocessor.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace cobol;

namespace {

std::string render(const std::vector<LexToken> &tokens)
{
    std::string out;
    for (const LexToken &t : tokens) {
        if (!out.empty())
            out += ' ';
        switch (t.kind) {
        case TokenKind::Word:
            out += "W";
            break;
        case TokenKind::Number:
            out += "N";
            break;
        case TokenKind::Literal:
            out += "L";
            break;
        case TokenKind::Punctuation:
            out += "P";
            break;
        case TokenKind::PictureString:
            out += "S";
            break;
        case TokenKind::Other:
            out += "O";
            break;
        }
        out += "[";
        out += t.text();
        out += "]" + std::to_string(t.place.column);
    }
    return out;
}

std::string lex(const std::string &text, SourceFormat format = SourceFormat::Free)
{
    std::vector<Diagnostic> diagnostics;
    return render(Lexer(text, 0, format, diagnostics).tokenize());
}

} // namespace

TEST(Lexer, tokensKnowTheirKindAndColumn)
{
    struct Case
    {
        const char *label;
        const char *text;
        const char *expected;
    };
    const Case cases[] = {
        {"refmod and hex literal",
         "MOVE X\"41\" TO A(1:2).",
         "W[MOVE]1 L[X\"41\"]6 W[TO]12 W[A]15 P[(]16 N[1]17 P[:]18 N[2]19 P[)]20 P[.]21"},
        {"doubled quotes", "'IT''S' \"A\"\"B\"", "L['IT''S']1 L[\"A\"\"B\"]9"},
        {"numbers and operators",
         "A = -1.5 + .5 ** 2 <= B <> C",
         "W[A]1 P[=]3 N[-1.5]5 P[+]10 N[.5]12 P[**]15 N[2]18 P[<=]20 W[B]23 P[<>]25 W[C]28"},
        {"picture strings end before a separator period",
         "PIC IS S9(4)V99. PICTURE ZZ,ZZ9.99-.",
         "W[PIC]1 W[IS]5 S[S9(4)V99]8 P[.]16 W[PICTURE]18 S[ZZ,ZZ9.99-]26 P[.]36"},
        {"pseudo-text and tag parts",
         "==:P:-YY== BY ==(X)==",
         "P[==]1 P[:]3 W[P]4 P[:]5 W[-YY]6 P[==]9 W[BY]12 P[==]15 P[(]17 W[X]18 P[)]19 P[==]20"},
        {"comma and semicolon separate", "A, B; C", "W[A]1 W[B]4 W[C]7"},
        {"inline comment", "MOVE A *> TO B", "W[MOVE]1 W[A]6"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(lex(c.text), c.expected) << c.label;
}

TEST(Lexer, unclosedLiteralIsReportedAndClosed)
{
    std::vector<Diagnostic> diagnostics;
    TextStore store; // the closed literal's text is made, and kept here
    const std::vector<LexToken> tokens
        = Lexer("DISPLAY 'OPEN\nSTOP RUN.", 0, SourceFormat::Free, diagnostics, &store).tokenize();
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics[0].severity, Diagnostic::Severity::Error);
    EXPECT_EQ(diagnostics[0].place.line, 1u);
    EXPECT_EQ(tokens.at(1).text(), "'OPEN'");
    EXPECT_EQ(tokens.at(2).text(), "STOP");
}

TEST(Picture, sizesCategoriesAndScale)
{
    struct Case
    {
        const char *picture;
        Category category;
        int size, digits, scale;
        bool isSigned;
    };
    const Case cases[] = {
        {"X(10)", Category::Alphanumeric, 10, 0, 0, false},
        {"A(3)", Category::Alphabetic, 3, 0, 0, false},
        {"S9(4)V99", Category::Numeric, 6, 6, 2, true},
        {"9(3)PP", Category::Numeric, 3, 5, -2, false},
        {"SPP99", Category::Numeric, 2, 4, 4, true},
        {"99/99/99", Category::NumericEdited, 8, 6, 0, false},
        {"ZZ,ZZ9.99CR", Category::NumericEdited, 11, 7, 2, true},
        {"-9(3)", Category::NumericEdited, 4, 3, 0, true},
        {"XXBXX", Category::AlphanumericEdited, 5, 0, 0, false},
        {"N(4)", Category::National, 4, 0, 0, false},
        {"X9X", Category::Alphanumeric, 3, 0, 0, false},
    };
    for (const Case &c : cases) {
        const Picture pic = Picture::parse(c.picture);
        EXPECT_TRUE(pic.valid) << c.picture;
        EXPECT_EQ(pic.category, c.category) << c.picture;
        EXPECT_EQ(pic.size, c.size) << c.picture;
        EXPECT_EQ(pic.digits, c.digits) << c.picture;
        EXPECT_EQ(pic.scale, c.scale) << c.picture;
        EXPECT_EQ(pic.isSigned, c.isSigned) << c.picture;
    }
    for (const char *bad : {"", "X(", "9(A)", "9(999999999999)", "Q"})
        EXPECT_FALSE(Picture::parse(bad).valid) << bad;
}

// A token's upper-case text shares the text's length: one of another length is refused, and
// setting the text drops it, so that the view never reaches past the text it stands for.
TEST(LexToken, upperCaseTextFollowsItsText)
{
    LexToken token;
    token.setText("move");
    EXPECT_TRUE(token.upper().empty());
    token.setUpper("MOVE");
    EXPECT_EQ(token.upper(), "MOVE");
    EXPECT_TRUE(token.is("MOVE"));
    EXPECT_FALSE(token.is("MOV"));
    EXPECT_FALSE(token.is("MOVES"));
    token.setUpper("MOVED");
    EXPECT_TRUE(token.upper().empty());
    EXPECT_FALSE(token.is("MOVED"));
    token.setUpper("MOVE");
    token.setText("moved");
    EXPECT_TRUE(token.upper().empty());
    token.setUpper("MOVED");
    token.kind = TokenKind::Literal;
    EXPECT_FALSE(token.is("MOVED"));
}

// Whatever REPLACING (longer, shorter, inside a picture string, joined word parts) and
// continuation lines make of a token, its upper-case text is its text in upper case.
TEST(Lexer, everyTokenKeepsItsUpperCaseText)
{
    TemporaryDirectory tree;
    tree.write("cpy/REC.cpy",
               "       01 :P:-rec.\n"
               "          05 :P:-yy PIC X(:N:).\n"
               "          05 :P:-Mm PIC 99.\n");
    const std::string source
        = "       identification division.\n"
          "       program-id. t.\n"
          "       data division.\n"
          "       working-storage section.\n"
          "       copy REC replacing ==:P:== by ==customer== ==:N:== by ==12==.\n"
          "       COPY REC REPLACING ==:P:== BY ==x== ==:N:== BY ==4==.\n"
          "       01 long-na\n"
          "      -    me pic x.\n"
          "       procedure division.\n"
          "           display 'lit\n"
          "      -    'eral' long-name.\n";
    Preprocessor::Options options;
    options.includeDirectories = {tree.dir() + "/cpy"};
    std::vector<Include> includes;
    std::vector<Diagnostic> diagnostics;
    Preprocessor preprocessor(options, includes, diagnostics);
    std::set<std::string, std::less<>> words;
    for (const LexToken &t : preprocessor.run(tree.dir() + "/T.cbl", source)) {
        std::string upper(t.text());
        if (t.kind != TokenKind::Literal)
            std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
                return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
            });
        EXPECT_EQ(t.upper(), upper) << t.text();
        words.insert(upper);
    }
    for (const char *expected : {"CUSTOMER-REC",
                                 "CUSTOMER-YY",
                                 "CUSTOMER-MM",
                                 "X(12)",
                                 "X-REC",
                                 "X-YY",
                                 "X(4)",
                                 "LONG-NAME"})
        EXPECT_TRUE(words.contains(expected)) << expected;
    EXPECT_TRUE(diagnostics.empty()) << diagnostics.front().message;
}
