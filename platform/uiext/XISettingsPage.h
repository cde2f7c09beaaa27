#pragma once

#include <QWidget>

class QFormLayout;
class XISettingsView;

/// One page of a settings notebook (XISettingsView). A page is filled lazily: populatePage runs
/// once, the first time the page is shown, so a page that is never turned to never builds its
/// controls. Derive and override populatePage; build the controls as children of the page (or
/// with addRow).
class XISettingsPage : public QWidget
{
    Q_OBJECT

public:
    explicit XISettingsPage(const QString &tabText, QWidget *parent = nullptr);
    ~XISettingsPage() override;

    QString tabText() const { return m_tabText; }
    /// Changes the tab text, also on the notebook the page is in.
    void setTabText(const QString &text);

    /// The notebook the page is in, or nullptr.
    XISettingsView *settingsView() const;

    bool isPopulated() const { return m_populated; }
    /// Runs populatePage unless it ran already.
    void ensurePopulated();

    /// Adds a label and value row to the page's two-column grid (made on first use); the value
    /// can be selected and copied. Returns the value label.
    QWidget *addRow(const QString &label, const QString &value);

signals:
    void tabTextChanged(const QString &text);

protected:
    /// Builds the page's controls. Called once, on first display.
    virtual void populatePage();

private:
    QString m_tabText;
    bool m_populated = false;
    QFormLayout *m_rows = nullptr;
};
