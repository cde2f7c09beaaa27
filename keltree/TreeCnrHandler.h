#pragma once

#include <QObject>
#include <QPointer>

class QItemSelection;
class QModelIndex;
class TreeCnr;

/// The container handler of a tree control: it turns the control's selection, expansion and
/// collapse into the callbacks of the nodes concerned (TreeNode::handleSelectedChange,
/// handleTreeExpand, handleTreeCollapse). Deselections are delivered before selections, so a
/// node hidden by a collapse marks its selection as lost before the next selection is judged.
///
/// A collapse that hides the selected node moves the selection to the collapsed node, as a tree
/// control does.
class TreeCnrHandler final : public QObject
{
    Q_OBJECT

public:
    /// Attaches the handler to `control`, whose child it becomes.
    explicit TreeCnrHandler(TreeCnr &control);
    ~TreeCnrHandler() override;

    /// Stops handling the control's events (before the control goes).
    void detach();

private:
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected);
    void expanded(const QModelIndex &index);
    void collapsed(const QModelIndex &index);

    QPointer<TreeCnr> m_control;
};
