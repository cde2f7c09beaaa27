#include "KelSettingsPage.h"

#include "DbPu.h"
#include "KelPropertyRows.h"
#include "KeldtlsResourceIds.h"

#include <QDateTime>
#include <QLocale>
#include <QWidget>

KelSettingsPage::KelSettingsPage(const DbPu &pu, QWidget *parent)
    : XISettingsPage(QString::fromStdString(pu.puName()), parent)
    , m_pu(pu)
{
    setObjectName(QStringLiteral("settings-%1").arg(QString::fromStdString(pu.puName())));
    setToolTip(QString::fromStdString(pu.sourceFileName()));
}

void KelSettingsPage::populatePage()
{
    using namespace KelPropertyRows;
    const DbPu &pu = m_pu;
    add(*this, KelRes::languageCodeLabel, number(pu.languageCode()));
    add(*this, KelRes::expandedSourceLabel, QString::fromStdString(pu.expandedSourceFileName()));
    add(*this, KelRes::versionLabel, number(pu.version()));
    add(*this, KelRes::releaseLabel, number(pu.release()));
    add(*this, KelRes::analyzedLabel, number(pu.isAnalyzed() ? 1 : 0));
    add(*this, KelRes::linkableLabel, number(pu.isLinkable() ? 1 : 0));
    add(*this, KelRes::stateLabel, QString::fromStdString(DbPu::toIString(pu.state())));
    add(*this, KelRes::timeStampLabel, QString::number(pu.timeStamp()));
    if (auto *stamp = findChild<QWidget *>(
            QStringLiteral("value-0x%1").arg(KelRes::timeStampLabel, 0, 16)))
        stamp->setToolTip(
            QLocale().toString(QDateTime::fromSecsSinceEpoch(pu.timeStamp()), QLocale::LongFormat));
    add(*this, KelRes::codePageLabel, number(pu.codePage()));
}
