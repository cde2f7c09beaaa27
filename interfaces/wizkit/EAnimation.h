#pragma once

#include <QLabel>
#include <QList>
#include <QPixmap>
#include <QTimer>

/// A sequence of bitmaps shown one after another in a fixed-size area, repeating while running.
class EAnimation : public QLabel
{
    Q_OBJECT

public:
    explicit EAnimation(QWidget *parent = nullptr, unsigned long controlId = 0);

    void addBitmapAsLast(const QPixmap &bitmap);
    /// Fixes the size of the area; bitmaps are scaled into it keeping their aspect ratio.
    void setSize(int width, int height);
    /// Milliseconds each bitmap stays (at least 1).
    void setDelay(int milliseconds);
    /// Starts (or restarts) from the first bitmap. Nothing happens without bitmaps.
    void begin();
    /// Stops on the bitmap now shown.
    void end();

    bool isRunning() const { return m_timer.isActive(); }
    int bitmapCount() const { return int(m_bitmaps.size()); }
    int currentIndex() const { return m_current; }
    /// Shows the next bitmap; called by the timer, public so that tests can step it.
    void advance();

private:
    void showCurrent();

    QList<QPixmap> m_bitmaps;
    QTimer m_timer;
    int m_current = 0;
};
