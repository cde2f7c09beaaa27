// The front end's structure for the analysis database: token roles, the syntax tree and the
// expanded source, on real COBOL read through the front end.
#include "ExpandedSource.h"
#include "FrontEnd.h"
#include "Lexer.h"
#include "SyntaxTree.h"
#include "TemporaryDirectory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

using namespace cobol;

namespace {

using SourceTree = TemporaryDirectory;

AnalysisData parseFile(const std::string &path, const std::string &copyDir)
{
    FrontEnd::Options options;
    options.includeDirectories = {copyDir};
    return FrontEnd(options).parseFile(path).data;
}

/// The tokens of the procedure division (from the word PROCEDURE) with their roles, e.g.
/// "MOVE:K A:R=A OF G"; items show their qualified name.
std::string roles(const AnalysisData &data, std::size_t from, std::size_t count)
{
    std::string out;
    for (std::size_t i = from; i < data.tokens.size() && i < from + count; ++i) {
        const Token &t = data.tokens[i];
        if (!out.empty())
            out += ' ';
        out += t.text;
        switch (t.role) {
        case TokenRole::None:
            continue;
        case TokenRole::Keyword:
            out += ":K";
            continue;
        case TokenRole::Level:
            out += ":L";
            break;
        case TokenRole::DataDeclaration:
            out += ":D";
            break;
        case TokenRole::DataReference:
            out += ":R";
            break;
        case TokenRole::ProcedureDeclaration:
            out += ":P";
            continue;
        case TokenRole::ProcedureReference:
            out += ":p";
            continue;
        }
        const DataItem *item = data.item(t.item);
        out += "=";
        out += item ? item->name + (item->parent ? " OF " + data.item(item->parent)->name : "")
                    : "?";
    }
    return out;
}

std::size_t tokenIndex(const AnalysisData &data, const std::string &text, std::size_t nth = 0)
{
    for (std::size_t i = 0; i < data.tokens.size(); ++i)
        if (data.tokens[i].text == text && nth-- == 0)
            return i;
    return data.tokens.size();
}

/// The syntax tree as an outline: one line per node, indented by depth, "Kind name".
std::string outline(const SyntaxTree &tree, std::uint32_t from)
{
    static const char *const kinds[]
        = {"Program", "Division", "Section", "Paragraph", "Sentence", "Statement", "DataEntry"};
    std::string out;
    const std::vector<SyntaxTree::Node> &nodes = tree.nodes();
    std::function<void(std::uint32_t, int)> walk = [&](std::uint32_t id, int depth) {
        const SyntaxTree::Node &n = nodes[id - 1];
        out += std::string(depth * 2, ' ') + kinds[static_cast<int>(n.kind)]
               + (n.name.empty() ? "" : " " + n.name) + "\n";
        for (std::uint32_t c = 1; c <= nodes.size(); ++c)
            if (nodes[c - 1].parent == id)
                walk(c, depth + 1);
    };
    walk(from, 0);
    return out;
}

const char *const copybook = "      * THE CUSTOMER RECORD\n"
                             "           05  :P:-ID      PIC 9(6).\n"
                             "           05  :P:-DATES.\n"
                             "               10  :P:-YY  PIC 99.\n"
                             "               10  :P:-MM  PIC 99.\n"
                             "           COPY NESTED.\n";
const char *const nested = "           05  NEST-X     PIC X.\n";

const char *const program = "       IDENTIFICATION DIVISION.\n"
                            "       PROGRAM-ID. ROLES.\n"
                            "       DATA DIVISION.\n"
                            "       WORKING-STORAGE SECTION.\n"
                            "       01  CUST.\n"
                            "           COPY CUSTREC REPLACING ==:P:== BY ==CUST==.\n"
                            "       01  OLD.\n"
                            "           COPY CUSTREC\n"
                            "                REPLACING ==:P:== BY ==OLD==.                   \n"
                            "       01  ALT REDEFINES OLD PIC X(11).\n"
                            "       01  N   PIC 99.\n"
                            "       01  TBL.\n"
                            "           05 TBL-E OCCURS 1 TO 9 DEPENDING ON N PIC X.\n"
                            "       01  SW  PIC X.\n"
                            "           88 SW-ON VALUE 'Y'.\n"
                            "       PROCEDURE DIVISION.\n"
                            "      * THE MAIN LINE\n"
                            "       MAIN-PARA.\n"
                            "           MOVE CUST-YY OF CUST TO OLD-YY *> KEEP THE YEAR\n"
                            "           DISPLAY TBL-E (N) ALT\n"
                            "           IF SW-ON\n"
                            "               PERFORM SUB-PARA\n"
                            "           ELSE\n"
                            "               GO TO END-PARA\n"
                            "           END-IF.\n"
                            "      D    DISPLAY 'DEBUG'.\n"
                            "       SUB-PARA.\n"
                            "           READ F AT END MOVE 1 TO N NOT AT END ADD 1 TO N\n"
                            "               ON SIZE ERROR MOVE 0 TO N END-ADD END-READ\n"
                            "           PERFORM UNTIL N > 5\n"
                            "               ADD 1 TO N\n"
                            "           END-PERFORM\n"
                            "           EVALUATE TRUE WHEN SW-ON CONTINUE\n"
                            "               WHEN OTHER MOVE 'N' TO SW END-EVALUATE.\n"
                            "       END-PARA.\n"
                            "           STOP RUN.\n";

} // namespace

TEST(SyntaxStructure, tokensKnowTheItemsAndProceduresTheyName)
{
    SourceTree tree;
    tree.write("CUSTREC.cpy", copybook);
    tree.write("NESTED.cpy", nested);
    const AnalysisData data = parseFile(tree.write("ROLES.cbl", program), tree.dir());

    const struct
    {
        const char *label;
        std::size_t at;
        std::size_t count;
        const char *expected;
    } cases[] = {
        {"entry of a copybook with REPLACING",
         tokenIndex(data, "05"),
         5,
         "05:L=CUST-ID OF CUST CUST-ID:D=CUST-ID OF CUST PIC:K 9(6) ."},
        {"REDEFINES names the item the data parser chose",
         tokenIndex(data, "ALT"),
         3,
         "ALT:D=ALT REDEFINES:K OLD:R=OLD"},
        {"OCCURS DEPENDING ON", tokenIndex(data, "DEPENDING"), 3, "DEPENDING:K ON:K N:R=N"},
        {"a level-88 entry and its value",
         tokenIndex(data, "88"),
         4,
         "88:L=SW-ON OF SW SW-ON:D=SW-ON OF SW VALUE:K 'Y'"},
        {"a qualified operand and a comment that is no token",
         tokenIndex(data, "MOVE"),
         6,
         "MOVE:K CUST-YY:R=CUST-YY OF CUST-DATES OF:K CUST:R=CUST TO:K OLD-YY:R=OLD-YY OF "
         "OLD-DATES"},
        {"operands of a statement the parser keeps no facts of, and a subscript",
         tokenIndex(data, "DISPLAY"),
         6,
         "DISPLAY:K TBL-E:R=TBL-E OF TBL ( N:R=N ) ALT:R=ALT"},
        {"condition names, procedure references",
         tokenIndex(data, "IF"),
         8,
         "IF:K SW-ON:R=SW-ON OF SW PERFORM:K SUB-PARA:p ELSE:K GO:K TO:K END-PARA:p"},
        {"a paragraph header", tokenIndex(data, "SUB-PARA", 1), 2, "SUB-PARA:P ."},
    };
    for (const auto &c : cases)
        EXPECT_EQ(roles(data, c.at, c.count), c.expected) << c.label;
}

TEST(SyntaxStructure, rolesEndWithTheFirstProgram)
{
    // Roles are given up to the first END PROGRAM, also when an EXEC block before it lacks its
    // END-EXEC; the program that follows (data names of the first one reused) gets none.
    const std::string head = "       IDENTIFICATION DIVISION.\n"
                             "       PROGRAM-ID. FIRST.\n"
                             "       DATA DIVISION.\n"
                             "       WORKING-STORAGE SECTION.\n"
                             "       01  A  PIC 99.\n"
                             "       01  B  PIC 99.\n"
                             "       PROCEDURE DIVISION.\n";
    const std::string tail = "       END PROGRAM FIRST.\n"
                             "       IDENTIFICATION DIVISION.\n"
                             "       PROGRAM-ID. SECOND.\n"
                             "       PROCEDURE DIVISION.\n"
                             "           MOVE A TO B.\n";
    const struct
    {
        const char *label;
        const char *procedure;
        const char *firstMove;
    } cases[] = {
        {"statements, then END PROGRAM", "           MOVE A TO B.\n", "MOVE:K A:R=A TO:K B:R=B ."},
        {"an EXEC block without END-EXEC",
         "           EXEC SQL SELECT X INTO :A FROM T\n",
         "EXEC:K SQL SELECT X INTO : A:R=A FROM T"},
        {"a qualifier that reads as END of END PROGRAM",
         "           MOVE A TO B OF\n",
         "MOVE:K A:R=A TO:K B:R=? OF:K"},
    };
    for (const auto &c : cases) {
        const AnalysisData data
            = FrontEnd(FrontEnd::Options()).parseText("/src/T.cbl", head + c.procedure + tail).data;
        const std::size_t first = tokenIndex(data, c.procedure[11] == 'E' ? "EXEC" : "MOVE");
        const std::size_t end = tokenIndex(data, "END");
        ASSERT_LT(end, data.tokens.size()) << c.label;
        EXPECT_EQ(roles(data, first, end - first), c.firstMove) << c.label;
        // Nothing from END PROGRAM on has a role the first program's names would give it.
        for (std::size_t i = end; i < data.tokens.size(); ++i)
            EXPECT_TRUE(data.tokens[i].role == TokenRole::None
                        || data.tokens[i].role == TokenRole::Keyword)
                << c.label << ": " << data.tokens[i].text;
    }
}

TEST(SyntaxStructure, statementsNestInTheStatementsThatRunThem)
{
    SourceTree tree;
    tree.write("CUSTREC.cpy", copybook);
    tree.write("NESTED.cpy", nested);
    const AnalysisData data = parseFile(tree.write("ROLES.cbl", program), tree.dir());
    const SyntaxTree syntax(data);

    std::uint32_t procedure = 0;
    for (std::uint32_t n = 1; n <= syntax.nodes().size(); ++n)
        if (syntax.nodes()[n - 1].name == "PROCEDURE")
            procedure = n;
    ASSERT_NE(procedure, 0u);
    EXPECT_EQ(outline(syntax, procedure),
              "Division PROCEDURE\n"
              "  Paragraph MAIN-PARA\n"
              "    Sentence\n"
              "      Statement MOVE\n"
              "      Statement DISPLAY\n"
              "      Statement IF\n"
              "        Statement PERFORM\n"
              "        Statement GO\n"
              "  Paragraph SUB-PARA\n"
              "    Sentence\n"
              "      Statement READ\n"
              "        Statement MOVE\n"
              "        Statement ADD\n"
              "          Statement MOVE\n"
              "      Statement PERFORM\n"
              "        Statement ADD\n"
              "      Statement EVALUATE\n"
              "        Statement CONTINUE\n"
              "        Statement MOVE\n"
              "  Paragraph END-PARA\n"
              "    Sentence\n"
              "      Statement STOP\n");

    // Every token has an owner that covers it, and the data entries nest like the items.
    for (std::uint32_t t = 1; t <= data.tokens.size(); ++t) {
        const SyntaxTree::Node &owner = syntax.nodes()[syntax.ownerOf(t) - 1];
        EXPECT_LE(owner.firstToken, t);
        EXPECT_GE(owner.lastToken, t);
    }
    const std::size_t yy = tokenIndex(data, "CUST-YY");
    const SyntaxTree::Node &entry = syntax.nodes()[syntax.ownerOf(yy + 1) - 1];
    EXPECT_EQ(entry.kind, SyntaxTree::Node::Kind::DataEntry);
    EXPECT_EQ(syntax.nodes()[entry.parent - 1].name, "CUST-DATES");
    EXPECT_EQ(syntax.nodes()[syntax.nodes()[entry.parent - 1].parent - 1].name, "CUST");
}

TEST(SyntaxStructure, expandedSourceShowsEveryTokenWhereItStands)
{
    SourceTree tree;
    tree.write("CUSTREC.cpy", copybook);
    tree.write("NESTED.cpy", nested);
    const std::string path = tree.write("ROLES.cbl", program);
    const AnalysisData data = parseFile(path, tree.dir());
    const ExpandedSource expanded(data);
    EXPECT_TRUE(expanded.unreadableFiles().empty());

    // The copybook follows the line that ends its COPY statement, nested copybooks likewise;
    // a COPY over two lines is followed after its second line.
    std::string places;
    for (std::size_t l = 0; l < 18 && l < expanded.lines().size(); ++l) {
        const ExpandedSource::Line &line = expanded.lines()[l];
        places += std::to_string(line.include) + ":" + std::to_string(line.line)
                  + "CBDX"[static_cast<int>(line.kind)] + " ";
    }
    EXPECT_EQ(places,
              "0:1C 0:2C 0:3C 0:4C 0:5C 0:6C 1:1B 1:2C 1:3C 1:4C 1:5C 1:6C 2:1C 0:7C 0:8C 0:9C "
              "3:1B 3:2C ");

    // Every token the parser saw stands at its place in the expanded source.
    for (const Token &token : data.tokens) {
        const std::uint32_t line = expanded.expandedLine(token.place.include, token.place.line);
        ASSERT_NE(line, 0u) << token.text;
        if (token.replaced)
            continue;
        const std::string_view text = expanded.lines()[line - 1].text;
        EXPECT_EQ(text.substr(token.place.column - 1, token.length), token.text)
            << "token " << token.id;
    }

    // Comments, the debugging line and the words of the COPY statements are listed in order.
    std::string extras;
    for (const ExpandedSource::Extra &e : expanded.extras())
        extras += "CDY"[static_cast<int>(e.kind)] + std::string("[") + e.text + "] ";
    EXPECT_EQ(extras,
              "Y[COPY] Y[CUSTREC] Y[REPLACING] Y[==:P:==] Y[BY] Y[==CUST==.] C[* THE CUSTOMER "
              "RECORD] Y[COPY] Y[NESTED.] Y[COPY] Y[CUSTREC] Y[REPLACING] Y[==:P:==] Y[BY] "
              "Y[==OLD==.] C[* THE CUSTOMER RECORD] Y[COPY] Y[NESTED.] C[* THE MAIN LINE] "
              "C[*> KEEP THE YEAR] C[D    DISPLAY 'DEBUG'.] ");
}

TEST(SyntaxStructure, theQuickRemarkScanFindsWhatTheLexerSkips)
{
    auto viaLexer = [](const std::string &text, SourceFormat format) {
        std::vector<Diagnostic> diagnostics;
        std::vector<SourceRemark> remarks;
        Lexer lexer(text, 0, format, diagnostics);
        lexer.setRemarkSink(&remarks);
        lexer.tokenize();
        return remarks;
    };
    auto quick = [](const std::string &text, SourceFormat format) {
        std::vector<Diagnostic> diagnostics;
        return Lexer(text, 0, format, diagnostics).scanRemarks();
    };
    auto shown = [](const std::vector<SourceRemark> &remarks) {
        std::string out;
        for (const SourceRemark &r : remarks) {
            out += r.kind == SourceRemark::Kind::Comment ? 'C' : 'D';
            out += std::to_string(r.line) + ":" + std::to_string(r.column) + "+"
                   + std::to_string(r.length) + " ";
        }
        return out;
    };
    const struct
    {
        const char *label;
        std::string text;
        SourceFormat format;
        const char *expected;
    } cases[] = {
        {"the test program", program, SourceFormat::Fixed, "C17:7+15 C19:43+16 C26:7+21 "},
        {"the copybook", copybook, SourceFormat::Fixed, "C1:7+21 "},
        {"a comment sign inside a literal, then a real one",
         "           DISPLAY 'A *> B' *> REAL\n"
         "      /    PAGE\n"
         "      $SET SOURCEFORMAT\"FREE\"\n"
         "DISPLAY \"*>\" *> FREE COMMENT\n"
         "*> WHOLE LINE\n"
         ">>SOURCE FORMAT IS FIXED\n"
         "      * FIXED AGAIN\n",
         SourceFormat::Fixed,
         "C1:29+7 C2:7+9 D3:7+23 C4:14+15 C5:1+13 D6:1+24 C7:7+13 "},
        {"a literal continued past column 72",
         "           DISPLAY 'A LITERAL THAT GOES ON AND ON AND ON *> NOT A COMMEN\n"
         "      -    'T *> STILL NOT' *> NOW A COMMENT\n"
         "           DISPLAY 'X'. *> AND ANOTHER\n",
         SourceFormat::Fixed,
         "C2:29+16 C3:25+14 "},
        {"tabs count to the next multiple of 8",
         "\tDISPLAY 'X' *> AFTER A TAB\n",
         SourceFormat::Free,
         "C1:21+14 "},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(shown(viaLexer(c.text, c.format)), c.expected) << c.label;
        EXPECT_EQ(shown(quick(c.text, c.format)), c.expected) << c.label;
    }
}
