#include "DbAnalysisPageInfo.h"

#include "DbMark.h"
#include "DbPu.h"
#include "ICurrentApplication.h"
#include "KeldtlsResourceIds.h"

#include <QDateTime>
#include <QLocale>

namespace {

/// The text of a date-field mark ends with " bytes <from>-<to>" after its kind.
const QString bytesPart = QStringLiteral(" bytes ");

} // namespace

QList<QPair<QString, int>> DbAnalysisPageInfo::dateFieldKinds(const std::vector<DbMark> &marks)
{
    QList<QPair<QString, int>> kinds;
    for (const DbMark &mark : marks) {
        if (mark.kind() != DbMark::dateField)
            continue;
        QString kind = QString::fromStdString(mark.text());
        if (const qsizetype end = kind.indexOf(bytesPart); end >= 0)
            kind.truncate(end);
        kind = kind.trimmed();
        auto found = std::find_if(kinds.begin(), kinds.end(), [&](const auto &entry) {
            return entry.first == kind;
        });
        if (found == kinds.end())
            kinds.append({kind, 1});
        else
            ++found->second;
    }
    return kinds;
}

DbAnalysisPageInfo::DbAnalysisPageInfo(QWidget *parent, DbPu &pu)
    : DbPropertyPage(parent, pu)
{
    setObjectName(QStringLiteral("analysisPage"));
    addRow(KelRes::recordedLabel,
           QLocale().toString(QDateTime::fromSecsSinceEpoch(pu.timeStamp()), QLocale::ShortFormat));
    if (!unitLoaded())
        return;
    int records = 0;
    for (std::uint32_t number = 1; number <= pu.numberOfSymbols(); ++number)
        records += pu.symbol(number)->isRecordStart() ? 1 : 0;
    int dateFields = 0;
    int windowSites = 0;
    for (const DbMark &mark : pu.marks()) {
        dateFields += mark.kind() == DbMark::dateField ? 1 : 0;
        windowSites += mark.kind() == DbMark::windowSite ? 1 : 0;
    }
    addRow(KelRes::tokensLabel, QString::number(pu.numberOfTokens()));
    addRow(KelRes::expandedLinesLabel, QString::number(pu.numberOfExpandedLines()));
    addRow(KelRes::syntaxNodesLabel, QString::number(pu.numberOfNodes()));
    addRow(KelRes::dataItemsLabel, QString::number(pu.numberOfSymbols()));
    addRow(KelRes::recordsLabel, QString::number(records));
    addRow(KelRes::dateFieldsFoundLabel, QString::number(dateFields));
    addRow(KelRes::windowSitesLabel, QString::number(windowSites));
    QStringList kinds;
    for (const auto &[kind, count] : dateFieldKinds(pu.marks()))
        kinds.append(QStringLiteral("%1: %2").arg(kind).arg(count));
    if (!kinds.isEmpty())
        addRow(KelRes::dateFieldKindsLabel, kinds.join(u'\n'));
}
