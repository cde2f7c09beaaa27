#pragma once

#include <QList>
#include <QString>

class EWizardPanel;

/// A group of panels of a wizard. The chapter refers to its panels; it does not own them.
class EWizardChapter final
{
public:
    /// How a panel ends: `lastPanel` (0) gives it Finish instead of Next.
    static constexpr unsigned short lastPanel = 0;
    static constexpr unsigned short morePanels = 1;

    explicit EWizardChapter(const QString &title = {});

    /// Appends `panel` (not owned; it must outlive the wizard run). `flag` is morePanels (1) or
    /// lastPanel (0).
    void addPanel(unsigned short flag, EWizardPanel &panel);
    void addPanel(unsigned short flag, EWizardPanel *panel) { addPanel(flag, *panel); }

    struct Entry
    {
        EWizardPanel *panel = nullptr;
        unsigned short flag = morePanels;
    };
    const QList<Entry> &panels() const { return m_panels; }
    const QString &title() const { return m_title; }

private:
    QString m_title;
    QList<Entry> m_panels;
};
