#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

/// A bar across the top of a view that says something the user should act on ("PAYRUN was
/// analysed again ..."), with one button. Hidden while it has no text.
class HostBanner : public QFrame
{
    Q_OBJECT

public:
    HostBanner(const QString &buttonText, QWidget *parent);

    void setText(const QString &text);
    QString text() const;
    QPushButton *button() const { return m_button; }

signals:
    void buttonClicked();

private:
    QLabel *m_label;
    QPushButton *m_button;
};
