#include "KelPropertyRows.h"

#include "ICurrentApplication.h"
#include "XISettingsPage.h"

#include <QWidget>

QString KelPropertyRows::flagText(bool set)
{
    return set ? QStringLiteral(" X ") : QStringLiteral("   ");
}

bool KelPropertyRows::add(XISettingsPage &page, unsigned long labelId, const QString &value)
{
    if (value.isEmpty())
        return false;
    QWidget *valueLabel = page.addRow(ICurrentApplication::loadString(labelId), value);
    valueLabel->setObjectName(QStringLiteral("value-0x%1").arg(labelId, 0, 16));
    return true;
}

QString KelPropertyRows::number(std::uint64_t value)
{
    return QString::number(value);
}
