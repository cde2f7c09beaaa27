// The structure tree over units recorded from real COBOL in a real analysis database: which
// records each kind of tree shows, shared nodes, following tokens into collapsed branches, the
// acquired-selection rules, the consistency messages, and the tree's actions.
#include "DSFont.h"
#include "DbEu.h"
#include "DbPu.h"
#include "DbTreeInfo.h"
#include "ExpandAllAction.h"
#include "ICommandEvent.h"
#include "InitialViewAction.h"
#include "KelMsgIds.h"
#include "PuPropertiesAction.h"
#include "RecordedUnits.h"
#include "TemporaryHome.h"
#include "TreeTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

/// A tree whose selection hook only records what it is called with, as a derived tree may do;
/// it leaves ignoreAcquiredSelections() to the test.
class RecordingTree : public TreeCnr
{
public:
    using TreeCnr::TreeCnr;
    QStringList selected;

protected:
    void nodeSelected(TreeNode &node) override { selected << node.displayText(); }
};

/// Every node of the tree is expanded (nodes without children count as expanded).
bool everythingExpanded(const TreeCnr &tree, const QModelIndex &parent = {})
{
    const TreeCnrModel *model = tree.treeModel();
    for (int row = 0; row < model->rowCount(parent); ++row) {
        const QModelIndex index = model->index(row, 0, parent);
        if (model->rowCount(index) > 0
            && (!tree.isExpanded(index) || !everythingExpanded(tree, index)))
            return false;
    }
    return true;
}

QString textOf(const TreeNode *node)
{
    return node ? node->displayText() : QStringLiteral("<none>");
}

void clickOn(TreeCnr &tree, TreeNode *node)
{
    const QRect rect = tree.visualRect(tree.indexOf(node));
    QVERIFY(rect.isValid());
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, rect.center());
}

} // namespace

class TreeCnrTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        m_units.recordText("TREEONE.cbl", treeProgram);
        m_units.recordText("TREETWO.cbl", otherProgram);
        m_eu = &m_units.open();
        m_one = m_eu->puNamed("TREEONE");
        m_two = m_eu->puNamed("TREETWO");
        QVERIFY(m_one && m_two);
    }

    void init()
    {
        TreeCnr::setIgnoreAcquiredSelections(0);
        TreeCnr::ignoreAcquiredSelections(); // clears a collapse flag an earlier case left
    }

    void programUnitTreeShowsEveryRecord()
    {
        TreeCnr tree(*m_one);
        QCOMPARE(outline(tree),
                 QStringList({"TREEONE",
                              "  IDENTIFICATION DIVISION",
                              "  DATA DIVISION",
                              "    WORKING-STORAGE SECTION",
                              "      01 WS-REC",
                              "      77 WS-COUNT",
                              "  PROCEDURE DIVISION",
                              "    MAIN SECTION",
                              "      MAIN-PARA",
                              "    SUB SECTION",
                              "      SUB-PARA"}));
        QCOMPARE(textOf(tree.root()), QStringLiteral("TREEONE"));
        QCOMPARE(tree.currentNode(), tree.root());
        QVERIFY(tree.isExpanded(tree.indexOf(tree.root())));
        QCOMPARE(tree.font(), DSFont::systemFont());
    }

    void executionUnitTreeLeavesOutDataDivisionEntries()
    {
        TreeCnr tree(*m_eu);
        QCOMPARE(outline(tree),
                 QStringList({"TESTRUN",
                              "  TREEONE",
                              "    IDENTIFICATION DIVISION",
                              "    DATA DIVISION",
                              "    PROCEDURE DIVISION",
                              "      MAIN SECTION",
                              "        MAIN-PARA",
                              "      SUB SECTION",
                              "        SUB-PARA",
                              "  TREETWO",
                              "    IDENTIFICATION DIVISION",
                              "    DATA DIVISION",
                              "    PROCEDURE DIVISION",
                              "      ONLY-PARA"}));
        QVERIFY(tree.root()->treeInfo()->isEuRoot());
    }

    void treesShareOneNodePerRecordUntilTheLastGoes()
    {
        auto unitTree = std::make_unique<TreeCnr>(*m_one);
        auto euTree = std::make_unique<TreeCnr>(*m_eu);
        TreeNode *para = nodeNamed(*unitTree, "MAIN-PARA");
        QVERIFY(para);
        QCOMPARE(nodeNamed(*euTree, "MAIN-PARA"), para);
        DbTreeInfo *record = para->treeInfo();
        QCOMPARE(record->treeNode(), para);
        QCOMPARE(para->useCount(), 2);
        QCOMPARE(para->text(), std::string("MAIN-PARA"));

        // A record only the unit's tree shows loses its node with that tree.
        DbTreeInfo *dataRecord = nodeNamed(*unitTree, "01 WS-REC")->treeInfo();
        unitTree.reset();
        QCOMPARE(dataRecord->treeNode(), nullptr);
        QCOMPARE(record->treeNode(), para);
        QCOMPARE(para->useCount(), 1);
        euTree.reset();
        QCOMPARE(record->treeNode(), nullptr);

        // A new tree makes new nodes for the records.
        TreeCnr again(*m_one);
        QVERIFY(nodeNamed(again, "MAIN-PARA"));
        QCOMPARE(record->treeNode(), nodeNamed(again, "MAIN-PARA"));
    }

    void scrollToTokenInCollapsedBranch_data()
    {
        QTest::addColumn<QStringList>("expandedFirst");
        QTest::addColumn<QString>("cursor");
        QTest::addColumn<QStringList>("expandLater");
        QTest::addColumn<QStringList>("cursorsAfter");

        QTest::newRow("branch collapsed at the division")
            << QStringList() << "PROCEDURE DIVISION"
            << QStringList({"PROCEDURE DIVISION", "SUB SECTION"})
            << QStringList({"SUB SECTION", "SUB-PARA"});
        QTest::newRow("section expanded below a collapsed division")
            << QStringList({"SUB SECTION"}) << "PROCEDURE DIVISION"
            << QStringList({"PROCEDURE DIVISION"}) << QStringList({"SUB-PARA"});
        QTest::newRow("division expanded, section collapsed")
            << QStringList({"PROCEDURE DIVISION"}) << "SUB SECTION" << QStringList({"SUB SECTION"})
            << QStringList({"SUB-PARA"});
        QTest::newRow("everything expanded") << QStringList({"PROCEDURE DIVISION", "SUB SECTION"})
                                             << "SUB-PARA" << QStringList() << QStringList();
    }

    void scrollToTokenInCollapsedBranch()
    {
        QFETCH(QStringList, expandedFirst);
        QFETCH(QString, cursor);
        QFETCH(QStringList, expandLater);
        QFETCH(QStringList, cursorsAfter);

        TreeCnr tree(*m_one);
        tree.initialView();
        for (const QString &text : expandedFirst)
            tree.expand(tree.indexOf(nodeNamed(tree, text)));
        DbToken *display = tokenNamed(*m_one, "DISPLAY");
        QVERIFY(display);
        tree.scrollTo(*display);
        QCOMPARE(textOf(tree.cursorNode()), cursor);
        QCOMPARE(textOf(tree.currentNode()), QStringLiteral("SUB-PARA"));
        QVERIFY(tree.selectionModel()->isSelected(tree.currentIndex()));
        // The branch stays as it was: showing the token expands nothing.
        QVERIFY(!tree.isExpanded(tree.indexOf(nodeNamed(tree, "MAIN SECTION"))));

        for (int i = 0; i < expandLater.size(); ++i) {
            tree.expand(tree.indexOf(nodeNamed(tree, expandLater[i])));
            QCOMPARE(textOf(tree.cursorNode()), cursorsAfter[i]);
            QCOMPARE(textOf(tree.currentNode()), QStringLiteral("SUB-PARA"));
        }
    }

    void tokenOfADataRecordShowsItsDivisionInTheExecutionUnitTree()
    {
        TreeCnr tree(*m_eu);
        tree.expandAll();
        DbToken *declaration = tokenNamed(*m_one, "WS-A");
        QVERIFY(declaration);
        tree.scrollTo(*declaration);
        QCOMPARE(textOf(tree.currentNode()), QStringLiteral("DATA DIVISION"));
        QCOMPARE(tree.currentNode(), tree.cursorNode());
        QCOMPARE(tree.currentNode()->treeInfo()->pPu(), m_one);

        TreeCnr unitTree(*m_one);
        unitTree.expandAll();
        unitTree.scrollTo(*declaration);
        QCOMPARE(textOf(unitTree.currentNode()), QStringLiteral("01 WS-REC"));
    }

    void scrollToNullShowsTheRoot()
    {
        TreeCnr tree(*m_one);
        tree.expandAll();
        tree.scrollToTreeNodeOrAncestor(nodeNamed(tree, "SUB-PARA"));
        QCOMPARE(textOf(tree.cursorNode()), QStringLiteral("SUB-PARA"));
        tree.scrollToTreeNodeOrAncestor(nullptr);
        QCOMPARE(tree.cursorNode(), tree.root());
        QCOMPARE(tree.currentNode(), tree.root());
    }

    void expandAllAndInitialViewKeepTheCurrentNodeShown()
    {
        TreeCnr tree(*m_one);
        tree.expandAll();
        QVERIFY(everythingExpanded(tree));
        QCOMPARE(tree.updateEnabled(), 1);
        tree.scrollToTreeNodeOrAncestor(nodeNamed(tree, "MAIN-PARA"));
        tree.initialView();
        QVERIFY(tree.isExpanded(tree.indexOf(tree.root())));
        QVERIFY(!tree.isExpanded(tree.indexOf(nodeNamed(tree, "PROCEDURE DIVISION"))));
        QCOMPARE(textOf(tree.cursorNode()), QStringLiteral("PROCEDURE DIVISION"));
        QCOMPARE(textOf(tree.currentNode()), QStringLiteral("MAIN-PARA"));
        tree.expandAll();
        QCOMPARE(textOf(tree.cursorNode()), QStringLiteral("MAIN-PARA"));

        // Repainting off stays off through expandAll.
        tree.enableUpdate(0);
        tree.expandAll();
        QCOMPARE(tree.updateEnabled(), 0);
        QVERIFY(!tree.updatesEnabled());
        tree.enableUpdate(1);
        QVERIFY(tree.updatesEnabled());
    }

    void initialSelectionSelectsTheRootAlone()
    {
        RecordingTree tree(*m_one);
        tree.expandAll();
        tree.scrollToTreeNodeOrAncestor(nodeNamed(tree, "SUB-PARA"));
        tree.selected.clear();
        tree.setInitialSelection();
        QCOMPARE(tree.selectionModel()->selectedIndexes(),
                 QModelIndexList({tree.indexOf(tree.root())}));
        QVERIFY(!tree.isExpanded(tree.indexOf(tree.root())));
        QCOMPARE(tree.selected, QStringList({"TREEONE"}));
        // The selected node was hidden by the collapse: the next answer is true once.
        QVERIFY(TreeCnr::ignoreAcquiredSelections());
        QVERIFY(!TreeCnr::ignoreAcquiredSelections());
    }

    void collapsingAnAncestorMakesTheNextAnswerTrueOnce()
    {
        RecordingTree tree(*m_one);
        tree.show();
        tree.expandAll();
        clickOn(tree, nodeNamed(tree, "SUB-PARA"));
        QCOMPARE(tree.selected, QStringList({"SUB-PARA"}));
        QVERIFY(!TreeCnr::ignoreAcquiredSelections());

        tree.collapse(tree.indexOf(nodeNamed(tree, "PROCEDURE DIVISION")));
        // The selection moved to the collapsed node, as a tree control moves it.
        QCOMPARE(tree.selected, QStringList({"SUB-PARA", "PROCEDURE DIVISION"}));
        QVERIFY(TreeCnr::ignoreAcquiredSelections());
        QVERIFY(!TreeCnr::ignoreAcquiredSelections());
        TreeCnr::setIgnoreAcquiredSelections(1);
        QVERIFY(TreeCnr::ignoreAcquiredSelections());
    }

    void onlyTheUsersSelectionsAreSignalled()
    {
        TreeCnr tree(*m_one);
        tree.show();
        tree.expandAll();
        QSignalSpy selections(&tree, &TreeCnr::userSelectedRecord);

        tree.scrollTo(*tokenNamed(*m_one, "DISPLAY"));
        QCOMPARE(selections.count(), 0);

        clickOn(tree, nodeNamed(tree, "MAIN-PARA"));
        QCOMPARE(selections.count(), 1);
        auto *record = selections.takeFirst().at(0).value<DbTreeInfo *>();
        QCOMPARE(record, nodeNamed(tree, "MAIN-PARA")->treeInfo());
        DbToken *start = TreeCnr::sourceToken(*record);
        QVERIFY(start);
        QCOMPARE(start->text(), std::string("MAIN-PARA"));

        // Collapsing moves the selection without telling the host, and the user's next click
        // is the user's again.
        tree.collapse(tree.indexOf(nodeNamed(tree, "MAIN SECTION")));
        QCOMPARE(textOf(tree.cursorNode()), QStringLiteral("MAIN SECTION"));
        QCOMPARE(selections.count(), 0);
        clickOn(tree, nodeNamed(tree, "SUB-PARA"));
        QCOMPARE(selections.count(), 1);
        QVERIFY(!TreeCnr::ignoreAcquiredSelections());
    }

    void tokensTheTreeCannotShowAreReported()
    {
        TreeCnr tree(*m_one);
        tree.expandAll();
        tree.scrollToTreeNodeOrAncestor(nodeNamed(tree, "MAIN-PARA"));
        MessageCatcher catcher;

        DbToken orphan;
        tree.scrollTo(orphan);
        tree.scrollTo(*tokenNamed(*m_two, "DISPLAY"));

        QCOMPARE(catcher.lines(),
                 QStringList(
                     {"Token should have owning node.  tokId=0 (keltree:477)",
                      "DbTreeInfo should have TreeNode.  treeInfoId=Eu root (keltree:443)"}));
        for (const KelMessage &message : catcher.messages())
            QCOMPARE(message.number, KelMsgId::consistencyCheck);
        QCOMPARE(textOf(tree.cursorNode()), QStringLiteral("MAIN-PARA"));
        QCOMPARE(textOf(tree.currentNode()), QStringLiteral("MAIN-PARA"));
    }

    void actionsFollowTheLatestTree()
    {
        auto first = std::make_unique<TreeCnr>(*m_one);
        QPointer<ExpandAllAction> oldExpand = ExpandAllAction::singleton(*first);
        auto second = std::make_unique<TreeCnr>(*m_eu);
        ExpandAllAction *expand = ExpandAllAction::singleton(*second);
        InitialViewAction *initial = InitialViewAction::singleton(*second);
        PuPropertiesAction *properties = PuPropertiesAction::singleton(*second);
        QVERIFY(!oldExpand);
        QCOMPARE(ExpandAllAction::instance(), expand);
        QCOMPARE(expand->tree(), second.get());
        QCOMPARE(expand->text(), QStringLiteral("E&xpand All"));

        // Commands sent to the tree run the registered actions.
        QVERIFY(ICommandEvent::send(second.get(), ExpandAllAction::actionId));
        QVERIFY(everythingExpanded(*second));
        QVERIFY(!everythingExpanded(*first));
        QVERIFY(ICommandEvent::send(second.get(), InitialViewAction::actionId));
        QVERIFY(!everythingExpanded(*second));
        QVERIFY(second->isExpanded(second->indexOf(second->root())));
        QVERIFY(properties->performAction());
        QVERIFY(!ICommandEvent::send(second.get(), 0x7FFF));

        // Expand All triggered from a menu expands; the current node, hidden before, is shown.
        second->scrollToTreeNodeOrAncestor(nodeNamed(*second, "SUB-PARA"));
        QCOMPARE(textOf(second->cursorNode()), QStringLiteral("TREEONE"));
        expand->trigger();
        QVERIFY(everythingExpanded(*second));
        QCOMPARE(textOf(second->cursorNode()), QStringLiteral("SUB-PARA"));

        QPointer<InitialViewAction> gone = initial;
        second.reset();
        QVERIFY(!gone);
        QCOMPARE(ExpandAllAction::instance(), nullptr);
    }

private:
    TemporaryHome m_home;
    RecordedUnits m_units;
    DbEu *m_eu = nullptr;
    DbPu *m_one = nullptr;
    DbPu *m_two = nullptr;
};

QTEST_MAIN(TreeCnrTest)
#include "TreeCnrTest.moc"
