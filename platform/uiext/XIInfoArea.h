#pragma once

#include <QStatusBar>

class QLabel;
class QMainWindow;

/// The info area at the foot of a frame: it shows the fly-over text of the menu item or tool
/// bar button under the pointer, and an inactive text (a hint, or what the view shows) the rest
/// of the time.
class XIInfoArea : public QStatusBar
{
    Q_OBJECT

public:
    /// Becomes the status bar of `frame`.
    explicit XIInfoArea(QMainWindow *frame);
    ~XIInfoArea() override;

    void setInactiveText(const QString &text);
    QString inactiveText() const;
    /// What the area shows now: the fly-over text under the pointer, else the inactive text.
    QString currentText() const;

    void setBackgroundColor(const QColor &color);

private:
    QLabel *m_inactive;
};
