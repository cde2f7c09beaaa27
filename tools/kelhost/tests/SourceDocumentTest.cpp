#include "SourceDocument.h"

#include "DbEu.h"
#include "DbNode.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "MemberRows.h"
#include "RecordedUnits.h"
#include "SymbolRows.h"

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

namespace {

/// The symbols list's rows of the sample PAYRUN: depth in the record, references beside the
/// declaration, what the date-field analysis found, and the paragraphs when asked for.
TEST(SymbolRows, depthReferencesDateFieldsAndParagraphs)
{
    RecordedUnits units("SAMPLES");
    units.recordSample("PAYRUN.cbl");
    DbPu *pu = units.open().puNamed("PAYRUN");
    ASSERT_TRUE(pu && pu->load());
    const SymbolRows rows(*pu, SymbolRows::Procedures::listed);
    ASSERT_EQ(rows.symbolCount(), pu->numberOfSymbols());
    const auto row = [&](const std::string &name) -> const SymbolRows::Row * {
        for (const SymbolRows::Row &r : rows.rows())
            if ((r.symbol && r.symbol->name() == name)
                || (r.procedure && r.procedure->name() == name))
                return &r;
        return nullptr;
    };
    struct Expected
    {
        const char *name;
        std::uint32_t depth;
        std::uint32_t references;
        bool dateField;
    };
    // WS-CUR-YY: IF TAX-YEAR < WS-CUR-YY and COMPUTE WS-SERVICE = WS-CUR-YY - EMP-START-YY;
    // READ-EMPLOYEE is performed twice. Level numbers and headers declare, they do not refer.
    const std::vector<Expected> expected = {{"EMP-FILE-REC", 0, 0, false},
                                            {"EMP-NAME", 1, 1, false},
                                            {"EMP-START-YY", 2, 1, true},
                                            {"WS-CUR-YY", 2, 2, true},
                                            {"READ-EMPLOYEE", 0, 2, false},
                                            {"PAY-EMPLOYEE", 0, 1, false}};
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.name);
        const SymbolRows::Row *found = row(e.name);
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->depth, e.depth);
        EXPECT_EQ(found->references, e.references);
        EXPECT_EQ(!found->dateField.empty(), e.dateField) << found->dateField;
    }
    EXPECT_NE(row("EMP-START-YY")->dateField.find("YEAR"), std::string::npos);
    EXPECT_GT(rows.dateFieldCount(), 5u);
    // The paragraphs follow the data items.
    EXPECT_GT(rows.rows().size(), rows.symbolCount());
    EXPECT_EQ(rows.rows()[rows.symbolCount()].symbol, nullptr);
    EXPECT_EQ(SymbolRows(*pu).rows().size(), rows.symbolCount());
}

} // namespace
