#include "DbSourcePageInfo.h"

#include "DbPu.h"
#include "ICurrentApplication.h"
#include "KelresrcResourceIds.h"

#include <QFormLayout>
#include <QLabel>
#include <QListWidget>

DbSourcePageInfo::DbSourcePageInfo(QWidget *parent, DbPu &pu)
    : DbPropertyPage(parent, pu)
{
    setObjectName(QStringLiteral("sourcePage"));
    if (!unitLoaded())
        return;
    auto *heading = new QLabel(ICurrentApplication::loadString(KelRes::inputFilesHeading), this);
    m_files = new QListWidget(this);
    m_files->setObjectName(QStringLiteral("inputFiles"));
    heading->setBuddy(m_files);
    for (DbInputFileTable::Cursor cursor(pu.inputFileTable()); cursor.isValid();
         cursor.setToNext()) {
        const DbInputFile &file = cursor.element();
        auto *item = new QListWidgetItem(QString::fromStdString(file.inputFile(pu)), m_files);
        if (!file.copybook().empty())
            item->setToolTip(QStringLiteral("COPY ") + QString::fromStdString(file.copybook()));
    }
    rows()->addRow(heading);
    rows()->addRow(m_files);
}
