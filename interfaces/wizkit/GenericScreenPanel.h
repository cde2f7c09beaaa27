#pragma once

#include "EWizardPanel.h"

#include <QList>
#include <QPointer>

#include <string>
#include <variant>

class QLineEdit;

/// A panel made of lines: texts, bullet lines, blank lines and entry fields bound to strings the
/// panel's owner keeps. Entry fields show their string when the panel is built and write the
/// typed text back when the panel is gathered. An entry field may carry a button, which calls
/// buttonPressed with the button's 1-based number among the panel's buttons.
class GenericScreenPanel : public EWizardPanel
{
    Q_OBJECT

public:
    explicit GenericScreenPanel(const QString &name);
    ~GenericScreenPanel() override;

    /// A line of text (kit mark-up); no argument gives a blank line.
    void addLine(const QString &markup = {});
    /// A line with a bullet in front.
    void addBulletLine(const QString &markup);
    /// An entry field with a label in front, bound to `value` (which must outlive the panel).
    void addEntryField(const QString &label, std::string &value);
    void addEntryField(const QString &label, QString &value);
    /// The same with a push button after the field.
    void addEntryFieldWithButton(const QString &label,
                                 std::string &value,
                                 const QString &buttonText);
    void addEntryFieldWithButton(const QString &label, QString &value, const QString &buttonText);

    /// Writes the texts of the built entry fields into their bound strings.
    void gatherWindow();
    /// Shows the bound strings in the built entry fields again.
    void refreshPanel();
    /// Gives the keyboard focus to entry field `fieldNumber` (1-based, in panel order).
    void setFocusToControl(int fieldNumber);

    /// The built entry field `fieldNumber` (1-based); nullptr when not built or out of range.
    QLineEdit *entryField(int fieldNumber) const;

    void buildPanel(QWidget *parent, unsigned long controlId) override;
    void destroyPanel() override;
    void gather() override;

protected:
    /// Called when the user edits entry field `fieldNumber` (1-based). Does nothing by default.
    virtual void selectEvent(int fieldNumber);
    /// Called when the button `buttonNumber` (1-based) is pressed. Does nothing by default.
    virtual void buttonPressed(int buttonNumber);

private:
    using Binding = std::variant<std::string *, QString *>;
    enum class LineKind { Text, Bullet, Entry };
    struct Line
    {
        LineKind kind = LineKind::Text;
        QString text; // the text, or the entry field's label
        Binding binding = static_cast<std::string *>(nullptr);
        QString buttonText; // empty: no button
    };

    void addEntry(const QString &label, Binding binding, const QString &buttonText);

    QList<Line> m_lines;
    QList<QPointer<QLineEdit>> m_fields; // one per entry line while built
};
