// The object model built from plain unit records (no database file): numbering, links,
// cursors, and the validation that keeps damaged data out.
#include "DbEu.h"
#include "DbPu.h"
#include "KelMkSmR.h"
#include "KelPuSmCursor.h"
#include "UnitFixture.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<DbEu> euWith(std::vector<DbUnitHeader> headers)
{
    return std::make_unique<DbEu>("", "Sample run", std::move(headers));
}

} // namespace

TEST(DbModel, tokenAndNodeNumbersConvertBackToTheSameObjects)
{
    const DbUnitData data = smallUnit();
    auto eu = euWith({data.header, data.header});
    DbPu &pu = *eu->numberToPu(1);
    std::string error;
    ASSERT_TRUE(pu.loadData(data, error)) << error;

    EXPECT_EQ(pu.numberOfTokens(), 16u);
    for (std::uint32_t n = 1; n <= pu.numberOfTokens(); ++n) {
        const DbToken *token = pu.numberToToken(n);
        ASSERT_NE(token, nullptr);
        EXPECT_EQ(pu.tokenToNumber(token), n);
        EXPECT_EQ(token->pPu(), &pu);
        const DbNode *node = pu.tokenToNode(token);
        ASSERT_NE(node, nullptr) << "token " << n;
        EXPECT_EQ(pu.numberToNode(pu.nodeToNumber(node)), node);
    }
    // Numbers out of range, null and objects of another unit give nothing.
    EXPECT_EQ(pu.numberToToken(0), nullptr);
    EXPECT_EQ(pu.numberToToken(17), nullptr);
    EXPECT_EQ(pu.tokenToNumber(nullptr), 0u);
    DbPu &other = *eu->numberToPu(2);
    ASSERT_TRUE(other.loadData(data, error)) << error;
    EXPECT_EQ(pu.tokenToNumber(other.numberToToken(3)), 0u);
    EXPECT_EQ(pu.nodeToNumber(other.rootNode()), 0u);
    EXPECT_EQ(eu->puToNumber(&other), 2u);
    EXPECT_EQ(eu->puToNumber(nullptr), 0u);
    // A unit is loaded once: its objects never move.
    EXPECT_FALSE(pu.loadData(data, error));
    EXPECT_EQ(pu.numberToToken(5)->text(), "A");
}

TEST(DbModel, tokensSymbolsNodesAndTreeRecordsAreLinked)
{
    const DbUnitData data = smallUnit();
    auto eu = euWith({data.header});
    DbPu &pu = *eu->numberToPu(1);
    std::string error;
    ASSERT_TRUE(pu.loadData(data, error)) << error;

    const DbToken *reference = pu.numberToToken(11);
    ASSERT_TRUE(reference->hasDataSymbol());
    const DbSymbol *a = reference->dataSymbol();
    EXPECT_EQ(a->longName(), "A OF REC");
    EXPECT_EQ(a->declaringToken(), pu.numberToToken(5));
    EXPECT_EQ(a->parent()->name(), "REC");
    EXPECT_EQ(a->record()->name(), "REC");
    EXPECT_EQ(a->sNumber(), "2");
    EXPECT_EQ(pu.symbolForSNumber("2"), a);
    EXPECT_EQ(pu.symbolForSNumber("x2"), nullptr);
    EXPECT_FALSE(pu.numberToToken(15)->hasDataSymbol()); // an undefined name
    EXPECT_EQ(pu.numberToToken(9)->type(), DbToken::comment);

    EXPECT_EQ(reference->owningSyntaxNode()->name(), "MOVE");
    EXPECT_EQ(reference->owningSyntaxNode()->parent()->kind(), DbNode::sentence);
    EXPECT_EQ(pu.numberToToken(9)->owningSyntaxNode(), pu.rootNode());

    // Tree: record 1 under the execution unit's root, "01 REC" its only child; the data entry
    // of A has no record, its group REC has.
    DbTreeInfo *root = pu.treeRoot();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->pParent(), &eu->treeRoot());
    EXPECT_TRUE(root->pParent()->isEuRoot());
    EXPECT_EQ(eu->treeRoot().text(), "Sample run");
    ASSERT_NE(root->pLChild(), nullptr);
    EXPECT_EQ(root->pLChild()->text(), "01 REC");
    EXPECT_EQ(root->pLChild()->kind(), DbTreeInfo::dataDivisionEntry);
    EXPECT_EQ(root->pLChild()->pRSibling(), nullptr);
    EXPECT_EQ(pu.treeInfoTable().toId(root->pLChild()), 2u);
    EXPECT_EQ(pu.treeInfoTable().toId(&eu->treeRoot()), 0u);
    EXPECT_EQ(pu.numberToNode(3)->treeInfo(), nullptr);
    EXPECT_EQ(pu.numberToNode(3)->parent()->treeInfo(), root->pLChild());

    // The browser's look-ups on the expanded source.
    EXPECT_EQ(pu.firstTokenOnLine(4), pu.numberToToken(10));
    EXPECT_EQ(pu.tokenAt(4, 19), pu.numberToToken(13));
    EXPECT_EQ(pu.tokenAt(4, 17), nullptr);
    EXPECT_EQ(pu.expandedLine(3)->kind, DbLineRecord::comment);
    EXPECT_EQ(pu.includeFile(0)->inputFile(pu), "/src/SMALL.cbl");
}

TEST(DbModel, cursorsFollowTheProtocolAlsoOnEmptyOwners)
{
    const DbUnitData data = smallUnit();
    auto eu = euWith({data.header});
    DbPu &pu = *eu->numberToPu(1);

    // Before loading every table of the unit is empty: cursors are never valid.
    KelPuSmCursor noSymbols(pu);
    EXPECT_FALSE(noSymbols.setToFirst());
    EXPECT_FALSE(noSymbols.isValid());
    EXPECT_THROW(noSymbols.element(), IInvalidRequest);
    EXPECT_FALSE(KelMkSmR(pu).isValid());
    EXPECT_FALSE(DbTreeInfoTable::Cursor(pu.treeInfoTable()).isValid());
    EXPECT_FALSE(DbInputFileTable::Cursor(pu.inputFileTable()).isValid());
    auto empty = euWith({});
    EXPECT_FALSE(DbPuEntryTable::Cursor(empty->puEntryTable()).setToFirst());

    std::string error;
    ASSERT_TRUE(pu.loadData(data, error)) << error;
    std::vector<std::string> names;
    KelPuSmCursor symbols(pu);
    for (symbols.setToFirst(); symbols.isValid(); symbols.setToNext())
        names.push_back(symbols.element().name());
    EXPECT_EQ(names, (std::vector<std::string>{"REC", "A"}));
    EXPECT_FALSE(symbols.setToNext());
    EXPECT_TRUE(symbols.setToFirst());

    DbSymbol::ChildCursor children(*pu.symbol(1));
    ASSERT_TRUE(children.isValid());
    EXPECT_EQ(&children.element(), pu.symbol(2));
    EXPECT_FALSE(children.setToNext());
    EXPECT_FALSE(DbSymbol::ChildCursor(*pu.symbol(2)).isValid());

    KelMkSmR marks(pu);
    ASSERT_TRUE(marks.isValid());
    EXPECT_EQ(marks.element().tokenNumber(), 11u);
    EXPECT_EQ(marks.element().kind(), DbMark::windowSite);

    DbPuEntryTable::Cursor units(eu->puEntryTable());
    ASSERT_TRUE(units.setToFirst());
    EXPECT_EQ(units.element().puName(), "SMALL");
    EXPECT_EQ(units.element().number(), 1u);
    EXPECT_FALSE(units.setToNext());
    EXPECT_THROW(eu->puEntryTable()[2], IInvalidRequest);
}

TEST(DbModel, inconsistentRecordsAreRejectedWithTheReference)
{
    const struct
    {
        const char *label;
        void (*damage)(DbUnitData &);
        const char *expected;
    } cases[] = {
        {"token without node",
         [](DbUnitData &u) { u.tokens[2].node = 0; },
         "token 3 refers to node 0 of 5"},
        {"token naming a missing symbol",
         [](DbUnitData &u) { u.tokens[4].symbol = 9; },
         "token 5 refers to symbol 9 of 2"},
        {"token type beyond the ten",
         [](DbUnitData &u) { u.tokens[0].type = 10; },
         "token 1 refers to type 10 of 9"},
        {"node whose parent follows it",
         [](DbUnitData &u) { u.nodes[1].parent = 3; },
         "node 2 has the parent 3, which does not come before it"},
        {"no unit node",
         [](DbUnitData &u) { u.nodes.clear(); },
         "node 1 is not the unit's root node"},
        {"symbol whose parent follows it",
         [](DbUnitData &u) { u.symbols[0].parent = 2; },
         "symbol 1 has the parent 2, which does not come before it"},
        {"tree record pointing past the nodes",
         [](DbUnitData &u) { u.treeRecords[1].node = 6; },
         "tree record 2 refers to node 6 of 5"},
        {"tree kind beyond 3",
         [](DbUnitData &u) { u.treeRecords[1].kind = 4; },
         "tree record 2 refers to kind 4 of 3"},
        {"mark without token",
         [](DbUnitData &u) { u.marks[0].token = 0; },
         "mark 1 refers to token 0 of 16"},
        {"line of a missing include",
         [](DbUnitData &u) { u.lines[0].include = 1; },
         "line 1 refers to include 1 of 0"},
    };
    for (const auto &c : cases) {
        DbUnitData data = smallUnit();
        EXPECT_EQ(data.validate(), "") << c.label;
        c.damage(data);
        EXPECT_EQ(data.validate(), c.expected) << c.label;
        auto eu = euWith({data.header});
        std::string error;
        EXPECT_FALSE(eu->numberToPu(1)->loadData(data, error)) << c.label;
        EXPECT_EQ(error, c.expected);
        EXPECT_FALSE(eu->numberToPu(1)->isLoaded());
    }
}
