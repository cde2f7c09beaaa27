#pragma once

#include <QDialog>
#include <QList>
#include <QPointer>

#include <functional>

class EStaticText;
class EWizardChapter;
class EWizardPanel;
class QLabel;
class QPushButton;
class QVBoxLayout;

/// A modal wizard: a title area, a side bitmap, the page of the current panel and the buttons
/// Help, Back, Next, Finish and Cancel (texts from "wizkitres").
///
/// Panels come in chapters; the user walks through them in the order the chapters and their
/// panels were added. A panel is built when shown and destroyed when left (see EWizardPanel).
/// The wizard refers to chapters and panels; it does not own them.
class EWizard : public QDialog
{
    Q_OBJECT

public:
    /// The size a wizard opens at, and the least it can be made.
    static constexpr int defaultWidth = 800;
    static constexpr int defaultHeight = 560;
    static constexpr int minimumWidth = 640;
    static constexpr int minimumHeight = 460;

    /// `owner` is the window the wizard belongs to (it stays on top of it); `parent`, when given,
    /// takes the place of the owner as the Qt parent.
    explicit EWizard(QWidget *owner = nullptr, QWidget *parent = nullptr);
    ~EWizard() override;

    /// Appends `chapter` (not owned) with its panels; panels get their ids in this order.
    void addChapterAsLast(EWizardChapter &chapter);
    void addChapterAsLast(EWizardChapter *chapter) { addChapterAsLast(*chapter); }

    /// The picture on the left of the pages. Without one the kit's own is shown.
    void setBitmap(const QPixmap &bitmap);
    /// The heading above the pages (kit mark-up) and a second line under it (may be empty).
    /// The window title shows the heading without mark-up.
    void setTitle(const QString &title, const QString &secondTitle = {});

    /// Shows the wizard modally from its first panel. Returns false when the user pressed Finish
    /// (the last panel's checks passed), true when the wizard was cancelled or closed.
    bool beginWizard();

    /// The panel shown now; nullptr when the wizard is not running.
    EWizardPanel *currentPanel() const;
    int panelCount() const { return int(m_panels.size()); }

    /// The buttons, for keyboard handling and tests.
    QPushButton *backButton() const { return m_back; }
    QPushButton *nextButton() const { return m_next; }
    QPushButton *finishButton() const { return m_finish; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *helpButton() const { return m_help; }

public slots:
    /// What the buttons do; callable directly while the wizard runs.
    void next();
    void back();
    void finish();
    void cancel();
    void showHelp();

protected:
    void reject() override;

private:
    struct Step
    {
        EWizardPanel *panel = nullptr;
        unsigned short flag = 1;
    };

    /// Runs a step that calls into a panel; an exception it raises is shown in an error box
    /// instead of leaving the button's slot. False when it failed.
    bool guarded(const std::function<void()> &step);
    void showPanel(int index);
    /// Gives the focus to the shown panel's first field (not a button), or to Finish on the last
    /// panel, or to Next when the panel has no field.
    void focusPanel();
    void leaveCurrentPanel();
    void updateButtons();
    bool isLastPanel(int index) const;
    /// Gathers and checks the current panel; the index to go to, -1 to stay, panelCount() to end.
    int checkedTarget();

    QList<Step> m_panels;
    QList<int> m_history; // indexes of the panels shown before the current one
    int m_current = -1;
    QPointer<QWidget> m_page;
    QVBoxLayout *m_pageArea = nullptr;
    QLabel *m_sideBitmap = nullptr;
    EStaticText *m_title = nullptr;
    EStaticText *m_secondTitle = nullptr;
    QPushButton *m_help = nullptr;
    QPushButton *m_back = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_finish = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_finished = false;
};
