#pragma once

#include <QAction>
#include <QList>
#include <QPointer>

class QWidget;

/// An action of the views: a QAction with a command id, a category, a fly-over text and an
/// optional latching (on/off) state, listed in the registry of all actions.
///
/// Triggering (a menu item, a tool bar button, a shortcut) sends an ICommandEvent with the
/// command id to the action's command target, the window it belongs to (by default the nearest
/// widget among its parents). When the target handles the command (an IFrameWindow::command
/// override or an ICommandHandler), the target decides how and when to perform the action;
/// otherwise the action performs itself at once (performAction). So a window can run its
/// commands on a worker thread, refuse them while busy, and so on, while a stand-alone action
/// still works.
///
/// Latching: a latching action shows a check mark for its state. The state changes only through
/// setLatched, never by the click itself, so a command that a busy window drops leaves it as it
/// was; whoever performs the action sets the new state.
///
/// Fly-over text: the tool tip (shown while hover help is on, see XIHoverHelpSelector) and the
/// status tip that the frame's info area shows while the pointer rests on the item.
///
/// Registry: every action is listed from construction to destruction; find() looks one up by
/// command id, category and owner from any thread. The owner is the action's parent at
/// construction. Several windows have actions with the same command id, so a window looks up
/// with itself as the owner.
class XIAction : public QAction
{
    Q_OBJECT

public:
    /// An action with `commandId`, menu text `text` and fly-over text `flyOverText`, owned by
    /// `parent` (the window whose command it is; may be null).
    explicit XIAction(unsigned long commandId,
                      const QString &text = {},
                      const QString &flyOverText = {},
                      QObject *parent = nullptr);
    ~XIAction() override;

    unsigned long commandId() const { return m_commandId; }
    /// The owner it was registered with (its parent at construction).
    const QObject *owner() const { return m_owner; }

    /// A text chosen by the owner that says how the command is run ("basic", "simple", "exit"
    /// for the view windows); empty when made.
    QString category() const;
    void setCategory(const QString &category);

    QString flyOverText() const { return m_flyOverText; }
    void setFlyOverText(const QString &text);
    /// The menu text and the fly-over text from the user resource library (ICurrentApplication);
    /// a missing text shows its library and id.
    void setTextsFromResources(unsigned long textId, unsigned long flyOverId);
    void setFlyOverTextFromResource(unsigned long flyOverId);

    /// Makes the action an on/off action (or a plain one again), starting off.
    void enableLatching(bool latching = true);
    bool isLatching() const { return isCheckable(); }
    bool isLatched() const { return isChecked(); }
    void setLatched(bool latched);

    /// Performs the action. The base emits performed() and returns true; actions with
    /// behaviour override it. Returns whether the action was carried out.
    virtual bool performAction();

    /// The window that receives the action's command; the nearest widget among the parents
    /// unless set.
    QWidget *commandTarget() const;
    void setCommandTarget(QWidget *target);

    /// The newest action with `commandId` and `category` (empty: any category) whose owner is
    /// `owner` (nullptr: any owner), or nullptr. Thread-safe; the action may be destroyed on the
    /// GUI thread afterwards, so keep the owner alive while using it from another thread.
    static XIAction *find(unsigned long commandId,
                          const QString &category = {},
                          const QObject *owner = nullptr);
    /// Every action of `category` (empty: all), oldest first.
    static QList<XIAction *> allActions(const QString &category = {});

signals:
    /// Emitted by the base performAction.
    void performed();

private:
    void dispatch(bool checkedByClick);

    unsigned long m_commandId;
    const QObject *m_owner;
    QString m_flyOverText;
    QPointer<QWidget> m_commandTarget;
};
