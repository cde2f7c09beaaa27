#include "XIInfoArea.h"

#include <QLabel>
#include <QMainWindow>

XIInfoArea::XIInfoArea(QMainWindow *frame)
    : QStatusBar(frame)
    , m_inactive(new QLabel(this))
{
    setObjectName(QStringLiteral("infoArea"));
    m_inactive->setObjectName(QStringLiteral("inactiveText"));
    m_inactive->setTextFormat(Qt::PlainText);
    addWidget(m_inactive, 1);
    frame->setStatusBar(this);
}

XIInfoArea::~XIInfoArea() = default;

void XIInfoArea::setInactiveText(const QString &text)
{
    m_inactive->setText(text);
}

QString XIInfoArea::inactiveText() const
{
    return m_inactive->text();
}

QString XIInfoArea::currentText() const
{
    const QString message = currentMessage();
    return message.isEmpty() ? m_inactive->text() : message;
}

void XIInfoArea::setBackgroundColor(const QColor &color)
{
    QPalette colours = palette();
    colours.setColor(QPalette::Window, color);
    setPalette(colours);
    setAutoFillBackground(true);
}
