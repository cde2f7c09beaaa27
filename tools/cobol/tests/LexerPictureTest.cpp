#include "Lexer.h"
#include "Picture.h"

#include <gtest/gtest.h>

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
