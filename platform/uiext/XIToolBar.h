#pragma once

#include <QToolBar>

class QMainWindow;
class XIAction;

/// A tool bar of a frame. Items are actions; an item without an icon takes the image with its
/// command id from the user resource library when there is one, and shows its text otherwise.
/// The items' fly-over texts appear as tool tips only while hover help is on
/// (XIHoverHelpSelector) and always in the frame's info area.
class XIToolBar : public QToolBar
{
    Q_OBJECT

public:
    /// A tool bar added to the top of `frame`; `id` names it ("toolbar-<id>") so that Qt can
    /// save and restore the frame's layout.
    explicit XIToolBar(QMainWindow *frame, unsigned long id = 0);
    ~XIToolBar() override;

    XIToolBar &addItem(XIAction *action);
    XIToolBar &addSeparatorItem();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};
