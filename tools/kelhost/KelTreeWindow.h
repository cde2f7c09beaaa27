#pragma once

#include "HostView.h"

#include <QPointer>

class TreeCnr;

/// The structure tree (keltree's TreeCnr) in a window of its own: the divisions, sections,
/// paragraphs and records of a program unit, or of every unit of the execution unit.
///
/// It follows the other views: a token another view selects (or a find) puts the tree's cursor
/// on the token's record, or on its nearest visible ancestor. It starts with "scroll on
/// request" on, since following is what it is for. A record the user selects is passed on as
/// its first token while "request scrolling" is on, so a browser that follows shows it; a double
/// click finds it in the source.
class KelTreeWindow : public HostView
{
    Q_OBJECT

public:
    /// The tree of the request's unit, or of the execution unit when the request names none.
    explicit KelTreeWindow(const StartWindowData &request);
    ~KelTreeWindow() override;

    TreeCnr *tree() const { return m_tree; }
    QString grabName() const override;
    void reveal(const StartWindowData &request) override;

    bool b1DblClick(const QPoint &position) override;

protected:
    bool canShow(std::uint32_t tokenNumber, std::uint32_t unitNumber) const override;
    void followToken(DbPu &pu, std::uint32_t tokenNumber) override;

private:
    void showToken(DbToken *token);

    TreeCnr *m_tree = nullptr;
    /// Set while the tree moves for another view: what it selects then is not passed on.
    bool m_following = false;
};
