#include "SourceDocument.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbToken.h"
#include "MemberRows.h"
#include "RecordedUnits.h"

#include <gtest/gtest.h>

namespace {

/// The browser's model of the sample PAYRUN (three copybooks, date fields) against the unit it
/// was built from: every token is on the line it says, copybooks begin and end where their
/// lines do, and the findings are on their lines.
TEST(SourceDocument, linesTokensCopybooksAndFindingsOfASample)
{
    RecordedUnits units("SAMPLES");
    units.recordSample("PAYRUN.cbl");
    DbPu *pu = units.open().puNamed("PAYRUN");
    ASSERT_TRUE(pu && pu->load()) << (pu ? pu->loadError() : "no PAYRUN");
    const SourceDocument document(*pu);

    ASSERT_EQ(document.lineCount(), pu->numberOfExpandedLines());
    std::uint32_t placed = 0;
    for (std::uint32_t line = 1; line <= document.lineCount(); ++line) {
        for (const SourceDocument::Span &span : document.spans(line)) {
            const DbToken *token = pu->numberToToken(span.token);
            ASSERT_NE(token, nullptr);
            EXPECT_EQ(token->expandedLine(), line);
            EXPECT_EQ(document.lineOfToken(span.token), line);
            EXPECT_EQ(document.tokenAt(line, span.column), span.token);
            EXPECT_EQ(document.tokenAt(line, span.column + span.length - 1), span.token);
            EXPECT_EQ(document.text(line).substr(span.column - 1, span.length).size(), span.length);
            ++placed;
        }
    }
    EXPECT_GT(placed, 500u);

    // Each include's first line enters it, and the line after its last leaves it.
    const MemberRows members(*pu);
    ASSERT_EQ(members.rows().size(), 4u);
    for (std::size_t row = 1; row < members.rows().size(); ++row) {
        const MemberRows::Row &member = members.rows()[row];
        SCOPED_TRACE(member.copybook);
        ASSERT_GT(member.firstLine, 1u);
        const SourceDocument::Line &first = document.line(member.firstLine);
        EXPECT_EQ(first.boundary, SourceDocument::Boundary::enter);
        EXPECT_EQ(first.include, member.include);
        EXPECT_EQ(document.copybookName(member.include), member.copybook);
        EXPECT_EQ(document.line(member.firstLine - 1).include, 0u);
        EXPECT_EQ(document.placeOf(member.firstLine), member.copybook + ".cpy line 1");
    }

    // Findings: marked lines cycle forward and backward, wrapping round.
    ASSERT_GT(document.markedLineCount(), 1u);
    const std::uint32_t first = document.nextMarkedLine(0, true);
    ASSERT_GT(first, 0u);
    EXPECT_FALSE(document.marks(first).empty());
    const std::uint32_t last = document.nextMarkedLine(first, false);
    EXPECT_GT(last, first);
    EXPECT_EQ(document.nextMarkedLine(last, true), first);
}

} // namespace
