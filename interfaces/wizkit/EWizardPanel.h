#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

class EWizard;
class QWidget;

/// One page of a wizard. The wizard builds a panel each time it is shown and destroys it when
/// the user leaves it, so a panel always shows the current state of the data it edits.
///
/// Lifecycle, as the wizard drives it:
/// - showing: buildPanel(parent, controlId) fills `parent` with the panel's controls;
/// - Next/Finish: gather() copies what the user typed into the panel's data, then nextCheck()
///   decides: `stayOnPanel` keeps the user here (the panel stays built), anything else leaves;
/// - Back: gather() (so typed text is not lost), then leave without a check;
/// - leaving, Cancel or close: destroyPanel(), then the wizard deletes `parent` with whatever
///   the panel left in it.
class EWizardPanel : public QObject
{
    Q_OBJECT

public:
    /// nextCheck results: go to the panel that follows, or stay on this one. Any other value is
    /// the id of the panel to go to (panels are numbered from 1 in the order they were added).
    static constexpr unsigned short nextPanel = 0;
    static constexpr unsigned short stayOnPanel = 0xFFFF;

    explicit EWizardPanel(const QString &name);
    ~EWizardPanel() override;

    const QString &name() const { return m_name; }

    /// The wizard's window while the wizard runs, the owner for the panel's dialogs; nullptr
    /// before the panel has been added to a wizard.
    QWidget *frame() const;
    EWizard *wizard() const;
    /// The id the wizard gave the panel (1-based order of adding); 0 before that.
    unsigned short panelId() const { return m_panelId; }
    /// True while the panel is built (shown).
    bool isBuilt() const { return m_built; }

    void setHelpId(unsigned long helpId) { m_helpId = helpId; }
    unsigned long helpId() const { return m_helpId; }
    void setHelpLibrary(const QString &library) { m_helpLibrary = library; }
    const QString &helpLibrary() const { return m_helpLibrary; }
    void setHelpWindowTitle(const QString &title) { m_helpWindowTitle = title; }
    const QString &helpWindowTitle() const { return m_helpWindowTitle; }

    /// Creates the panel's controls as children of `parent` (direct children are laid out top to
    /// bottom, filling the page). `controlId` is the base of the ids of the panel's controls.
    virtual void buildPanel(QWidget *parent, unsigned long controlId);
    /// Releases what buildPanel made; the controls themselves go with the page afterwards.
    virtual void destroyPanel();
    /// Checks the gathered values: nextPanel, a panel id, or stayOnPanel.
    virtual unsigned short nextCheck();
    /// Copies the values shown in the controls into the panel's data.
    virtual void gather();

private:
    friend class EWizard;

    QString m_name;
    QString m_helpLibrary;
    QString m_helpWindowTitle;
    unsigned long m_helpId = 0;
    QPointer<EWizard> m_wizard;
    unsigned short m_panelId = 0;
    bool m_built = false;
};
