#include "EAnimation.h"

EAnimation::EAnimation(QWidget *parent, unsigned long controlId)
    : QLabel(parent)
{
    if (controlId != 0)
        setObjectName(QStringLiteral("control%1").arg(controlId));
    setAlignment(Qt::AlignCenter);
    m_timer.setInterval(100);
    connect(&m_timer, &QTimer::timeout, this, &EAnimation::advance);
}

void EAnimation::addBitmapAsLast(const QPixmap &bitmap)
{
    m_bitmaps.append(bitmap);
    if (m_bitmaps.size() == 1)
        showCurrent();
}

void EAnimation::setSize(int width, int height)
{
    setFixedSize(width, height);
    showCurrent();
}

void EAnimation::setDelay(int milliseconds)
{
    m_timer.setInterval(qMax(1, milliseconds));
}

void EAnimation::begin()
{
    if (m_bitmaps.isEmpty())
        return;
    m_current = 0;
    showCurrent();
    m_timer.start();
}

void EAnimation::end()
{
    m_timer.stop();
}

void EAnimation::advance()
{
    if (m_bitmaps.isEmpty())
        return;
    m_current = (m_current + 1) % int(m_bitmaps.size());
    showCurrent();
}

void EAnimation::showCurrent()
{
    if (m_bitmaps.isEmpty())
        return;
    const QPixmap &bitmap = m_bitmaps.at(m_current);
    setPixmap(bitmap.isNull()
                  ? bitmap
                  : bitmap.scaled(size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}
