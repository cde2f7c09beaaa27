#pragma once

#include <QLabel>

/// A static text that shows the kit's mark-up (see KitMarkup): "<b>", "<i>", "<u>",
/// "<color=NAME>", "<size=N>" and their closing tags. Any other character, including "<", "&" and
/// unknown tags, is shown as written.
class EStaticText : public QLabel
{
    Q_OBJECT

public:
    explicit EStaticText(QWidget *parent = nullptr, unsigned long controlId = 0);
    EStaticText(const QString &markup, QWidget *parent, unsigned long controlId = 0);

    /// Replaces the text; `markup` is the kit's mark-up, never HTML.
    void setText(const QString &markup);
    /// The text as it was given, mark-up included.
    QString markup() const { return m_markup; }

    unsigned long controlId() const { return m_controlId; }

private:
    QString m_markup;
    unsigned long m_controlId = 0;
};
