#include "HostBanner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>

HostBanner::HostBanner(const QString &buttonText, QWidget *parent)
    : QFrame(parent)
    , m_label(new QLabel(this))
    , m_button(new QPushButton(buttonText, this))
{
    setObjectName(QStringLiteral("banner"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(0xff, 0xf4, 0xce));
    colours.setColor(QPalette::WindowText, QColor(0x4d, 0x3b, 0x00));
    setPalette(colours);

    auto *icon = new QLabel(this);
    const int size = style()->pixelMetric(QStyle::PM_SmallIconSize);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(size, size));
    m_label->setWordWrap(true);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->addWidget(icon, 0, Qt::AlignTop);
    layout->addWidget(m_label, 1);
    layout->addWidget(m_button, 0, Qt::AlignVCenter);
    connect(m_button, &QPushButton::clicked, this, &HostBanner::buttonClicked);
    hide();
}

void HostBanner::setText(const QString &text)
{
    m_label->setText(text);
    setVisible(!text.isEmpty());
}

QString HostBanner::text() const
{
    return m_label->text();
}
