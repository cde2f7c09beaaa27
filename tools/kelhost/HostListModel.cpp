#include "HostListModel.h"

#include "ICurrentApplication.h"

QStringList HostListModel::headings(unsigned long id)
{
    return ICurrentApplication::loadString(id).split(QLatin1Char('|'));
}
