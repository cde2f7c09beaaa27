#include "KelDataMapLegend.h"

#include "DSFont.h"
#include "ICurrentApplication.h"
#include "KelDataMapStyle.h"
#include "KeldmapResourceIds.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

namespace {

using Box = KelDataMapStyle::Box;

constexpr int margin = 6;
constexpr int spacing = 18;

/// A small box drawn as the map draws an item of the kind.
class Swatch : public QWidget
{
public:
    Swatch(Box box, bool dateBar, QWidget *parent)
        : QWidget(parent)
        , m_box(box)
        , m_dateBar(dateBar)
    {
        setFixedSize(28, 16);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
        painter.setPen(QPen(KelDataMapStyle::border(m_box), m_box == Box::selected ? 2 : 1));
        painter.setBrush(KelDataMapStyle::fill(m_box));
        painter.drawRoundedRect(box, 3, 3);
        if (m_dateBar)
            painter.fillRect(QRectF(box.left(), box.top(), 5, box.height()),
                             KelDataMapStyle::dateFieldBar());
    }

private:
    Box m_box;
    bool m_dateBar;
};

QWidget *entry(Box box, bool dateBar, unsigned long textId, QWidget *parent)
{
    auto *widget = new QWidget(parent);
    auto *row = new QHBoxLayout(widget);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);
    row->addWidget(new Swatch(box, dateBar, widget));
    auto *label = new QLabel(ICurrentApplication::loadString(textId), widget);
    label->setFont(DSFont::systemFont());
    row->addWidget(label);
    widget->adjustSize();
    return widget;
}

} // namespace

KelDataMapLegend::KelDataMapLegend(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("dataMapLegend"));
    m_dateEntry = entry(Box::dateField, true, KelRes::mapLegendDateField, this);
    m_entries << m_dateEntry << entry(Box::otherView, false, KelRes::mapLegendOtherView, this)
              << entry(Box::record, false, KelRes::mapLegendGroup, this)
              << entry(Box::selected, false, KelRes::mapLegendSelected, this);
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

KelDataMapLegend::~KelDataMapLegend() = default;

void KelDataMapLegend::setDateFieldsShown(bool shown)
{
    m_dateEntry->setVisible(shown);
    arrange(width());
    updateGeometry();
}

int KelDataMapLegend::heightForWidth(int width) const
{
    // Entries flow left to right and wrap; the height is that of the lines they need.
    int x = margin;
    int lines = 1;
    int lineHeight = 0;
    for (QWidget *e : m_entries) {
        if (e->isHidden())
            continue;
        const QSize size = e->sizeHint();
        lineHeight = std::max(lineHeight, size.height());
        if (x > margin && x + size.width() > width - margin) {
            ++lines;
            x = margin;
        }
        x += size.width() + spacing;
    }
    return 2 * margin + lines * lineHeight + (lines - 1) * 4;
}

QSize KelDataMapLegend::sizeHint() const
{
    int width = margin;
    for (QWidget *e : m_entries)
        if (!e->isHidden())
            width += e->sizeHint().width() + spacing;
    return {width, heightForWidth(width)};
}

QSize KelDataMapLegend::minimumSizeHint() const
{
    int widest = 0;
    for (QWidget *e : m_entries)
        widest = std::max(widest, e->sizeHint().width());
    return {widest + 2 * margin, heightForWidth(widest + 2 * margin)};
}

void KelDataMapLegend::arrange(int width)
{
    int x = margin;
    int y = margin;
    int lineHeight = 0;
    for (QWidget *e : m_entries) {
        if (e->isHidden())
            continue;
        const QSize size = e->sizeHint();
        if (x > margin && x + size.width() > width - margin) {
            x = margin;
            y += lineHeight + 4;
            lineHeight = 0;
        }
        e->setGeometry(x, y, size.width(), size.height());
        x += size.width() + spacing;
        lineHeight = std::max(lineHeight, size.height());
    }
}

void KelDataMapLegend::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrange(width());
}
