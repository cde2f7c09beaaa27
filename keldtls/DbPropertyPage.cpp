#include "DbPropertyPage.h"

#include "DbPu.h"
#include "ICurrentApplication.h"
#include "KeldtlsResourceIds.h"

#include <QFormLayout>
#include <QLabel>

DbPropertyPage::DbPropertyPage(QWidget *parent, DbPu &pu)
    : QWidget(parent)
    , m_pu(pu)
{}

bool DbPropertyPage::unitLoaded()
{
    if (m_pu.load())
        return true;
    auto *reason = new QLabel(ICurrentApplication::loadString(KelRes::unitNotLoaded)
                                  + QString::fromStdString(m_pu.loadError()),
                              this);
    reason->setObjectName(QStringLiteral("loadError"));
    reason->setWordWrap(true);
    reason->setTextInteractionFlags(Qt::TextSelectableByMouse);
    rows()->addRow(reason);
    return false;
}

QFormLayout *DbPropertyPage::rows()
{
    if (!m_rows) {
        m_rows = new QFormLayout(this);
        m_rows->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
        m_rows->setLabelAlignment(Qt::AlignLeft);
    }
    return m_rows;
}

QWidget *DbPropertyPage::addRow(unsigned long labelId, const QString &value)
{
    auto *valueLabel = new QLabel(value, this);
    valueLabel->setObjectName(QStringLiteral("value-0x%1").arg(labelId, 0, 16));
    valueLabel->setTextFormat(Qt::PlainText);
    valueLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    rows()->addRow(ICurrentApplication::loadString(labelId), valueLabel);
    return valueLabel;
}
