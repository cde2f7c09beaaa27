#include "LineLayout.h"
#include "TestPrograms.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vyquext;
using namespace vyquext::test;

namespace {

std::vector<std::string> linesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        lines.push_back(line);
    return lines;
}

/// The code areas of `lines` joined by single blanks: what the compiler reads.
std::string codeOf(const std::vector<std::string> &lines)
{
    std::string code;
    for (const std::string &line : lines) {
        std::string area = line.size() > 7 ? line.substr(7, 65) : "";
        std::istringstream words(area);
        std::string word;
        while (words >> word)
            code += (code.empty() ? "" : " ") + word;
    }
    return code;
}

TEST(FixedLayout, LongLineContinuesInAreaBAndKeepsSequenceAndIdentification)
{
    std::string text = fixedProgram({});
    const std::string line = "000250     IF A-YY < B-YY AND B-YY < C-YY DISPLAY 'X' END-IF";
    text.insert(text.find("           STOP RUN."),
                line + std::string(72 - line.size(), ' ') + "IDENT001\n");
    const ConversionResult result = convertProgram(text);
    ASSERT_EQ(result.log.changes.size(), 2u); // two conditions
    std::vector<std::string> out = linesOf(result.text);
    std::size_t first = 0;
    while (first < out.size() && out[first].rfind("000250", 0) != 0)
        ++first;
    ASSERT_LT(first, out.size());
    EXPECT_EQ(out[first].substr(72), "IDENT001");
    std::vector<std::string> piece{out[first]};
    for (std::size_t i = first + 1; i < out.size() && out[i].find("STOP RUN") == std::string::npos;
         ++i) {
        EXPECT_LE(out[i].size(), 72u) << out[i];
        EXPECT_EQ(out[i].substr(0, 11), std::string(11, ' ')) << "continuation in Area B";
        piece.push_back(out[i]);
    }
    ASSERT_GE(piece.size(), 2u);
    EXPECT_EQ(codeOf(piece),
              "IF FUNCTION MOD(A-YY - 50, 100) < FUNCTION MOD(B-YY - 50, 100) AND FUNCTION "
              "MOD(B-YY - 50, 100) < FUNCTION MOD(C-YY - 50, 100) DISPLAY 'X' END-IF");
}

TEST(FixedLayout, LiteralsAreNeverSplitAndDebugLinesStayDebugLines)
{
    std::string text = fixedProgram({});
    text.insert(text.find("           STOP RUN."),
                "      D    IF A-YY < B-YY DISPLAY 'ONE TWO THREE FOUR' END-IF\n");
    const ConversionResult result = convertProgram(text);
    ASSERT_EQ(result.log.changes.size(), 1u);
    bool literalWhole = false;
    for (const std::string &line : linesOf(result.text)) {
        if (line.find("MOD(") != std::string::npos || line.find("END-IF") != std::string::npos) {
            EXPECT_EQ(line[6], 'D') << line;
        }
        literalWhole = literalWhole || line.find("'ONE TWO THREE FOUR'") != std::string::npos;
    }
    EXPECT_TRUE(literalWhole) << result.text;
}

TEST(FixedLayout, AFloatingCommentStaysAfterTheCode)
{
    std::string text = fixedProgram({});
    text.insert(text.find("           STOP RUN."),
                "           IF A-YY < B-YY AND B-YY < C-YY CONTINUE *> keep me\n"
                "           END-IF\n");
    const ConversionResult result = convertProgram(text);
    ASSERT_EQ(result.log.changes.size(), 2u);
    const std::vector<std::string> out = linesOf(result.text);
    std::size_t commentLine = 0;
    std::size_t lastCodeLine = 0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_LE(out[i].size(), 72u) << out[i];
        if (out[i].find("*> keep me") != std::string::npos)
            commentLine = i;
        if (out[i].find("CONTINUE") != std::string::npos)
            lastCodeLine = i;
    }
    EXPECT_GE(commentLine, lastCodeLine);
    EXPECT_GT(commentLine, 0u);
}

TEST(FixedLayout, ALineWithAContinuedLiteralIsNotReflowedButReported)
{
    std::string text = fixedProgram({});
    text.insert(text.find("           STOP RUN."),
                "           IF A-YY < B-YY DISPLAY '" + std::string(37, 'X')
                    + "\n"
                      "      -    'DEF' END-IF\n");
    const ConversionResult result = convertProgram(text);
    ASSERT_EQ(result.log.changes.size(), 1u);
    EXPECT_TRUE(result.log.changes[0].undone);
    EXPECT_EQ(result.text, text);
    bool reported = false;
    for (const Remark &remark : result.log.remarks)
        reported = reported || remark.reason.find("cannot be laid out") != std::string::npos;
    EXPECT_TRUE(reported);
}

TEST(FreeLayout, NoColumnRulesUntilTheLineLimit)
{
    std::string text = "       >>SOURCE FORMAT FREE\n" + fixedProgram({});
    text.insert(text.find("           STOP RUN."),
                "IF A-YY < B-YY AND B-YY < C-YY DISPLAY 'X' END-IF\n");
    const ConversionResult result = convertProgram(text);
    ASSERT_EQ(result.log.changes.size(), 2u);
    EXPECT_NE(result.text.find("\nIF FUNCTION MOD(A-YY - 50, 100) < FUNCTION MOD(B-YY - 50, 100) "
                               "AND FUNCTION MOD(B-YY - 50, 100) < FUNCTION MOD(C-YY - 50, 100) "
                               "DISPLAY 'X' END-IF\n"),
              std::string::npos)
        << result.text;
}

TEST(FreeLayout, OverlongLinesAreSplitAtTheLimit)
{
    SourceFile source = SourceFile::fromText(">>SOURCE FORMAT FREE\n  DISPLAY X\n", "/src/F.cbl");
    ASSERT_EQ(source.format, SourceFormat::Free);
    std::string many;
    for (int i = 0; i < 60; ++i)
        many += " WORD" + std::to_string(i);
    const auto lines = LineLayout::layOut(source, 1, {Edit{1, 10, 11, "X" + many, 0}});
    ASSERT_TRUE(lines.has_value());
    ASSERT_GE(lines->size(), 2u);
    for (const std::string &line : *lines)
        EXPECT_LE(line.size(), LineLayout::freeLineLimit);
    EXPECT_EQ(lines->at(1).substr(0, 6), std::string(6, ' '));
}

TEST(SourceText, LineEndsAndAMissingFinalNewlineArePreserved)
{
    std::string text = fixedProgram({"IF A-YY < B-YY CONTINUE END-IF"});
    std::string crlf;
    for (char c : text) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    crlf.pop_back();
    crlf.pop_back(); // no line end after the last line
    const ConversionResult result = convertProgram(crlf);
    ASSERT_EQ(result.log.changes.size(), 1u);
    EXPECT_EQ(result.text.substr(result.text.size() - 9), "STOP RUN.");
    EXPECT_NE(result.text.back(), '\n');
    std::size_t bare = 0;
    for (std::size_t i = 0; i < result.text.size(); ++i)
        if (result.text[i] == '\n' && (i == 0 || result.text[i - 1] != '\r'))
            ++bare;
    EXPECT_EQ(bare, 0u);
}

} // namespace
