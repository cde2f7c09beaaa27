#include "KelDetailsPage.h"

#include "DbMark.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "KelPropertyRows.h"
#include "KeldtlsResourceIds.h"
#include "KelresrcResourceIds.h"

#include <QFileInfo>

namespace {

QString text(const std::string &value)
{
    return QString::fromStdString(value);
}

/// Items without storage (level 88 and 78 entries) have display texts beginning "0E".
bool hasStorage(const DbSymbol &symbol)
{
    return symbol.displayText().rfind("0E", 0) != 0;
}

/// The date-field mark of `symbol`; null when the analysis found none.
const DbMark *dateFieldMark(const DbSymbol &symbol)
{
    const DbPu *pu = symbol.pPu();
    if (!pu)
        return nullptr;
    for (const DbMark &mark : pu->marks()) {
        if (mark.kind() == DbMark::dateField && mark.symbol() == &symbol)
            return &mark;
    }
    return nullptr;
}

QString levelText(std::uint32_t level)
{
    return QStringLiteral("%1").arg(level, 2, 10, QLatin1Char('0'));
}

QString occursText(const DbSymbol &symbol)
{
    if (!symbol.hasOccurrences())
        return {};
    if (symbol.occursMinimum() != 0 && symbol.occursMinimum() != symbol.occurrences())
        return QStringLiteral("%1 - %2").arg(symbol.occursMinimum()).arg(symbol.occurrences());
    return QString::number(symbol.occurrences());
}

/// "EMPREC.cpy:12": the file of the include that declares the item, and the line.
QString declaredIn(const DbSymbol &symbol, QString &fullPath)
{
    const DbPu *pu = symbol.pPu();
    const DbInputFile *file = pu ? pu->includeFile(symbol.include()) : nullptr;
    if (!file || symbol.line() == 0)
        return {};
    fullPath = text(file->path());
    return QFileInfo(fullPath).fileName() + u':' + QString::number(symbol.line());
}

} // namespace

KelDetailsPage::KelDetailsPage(DbSymbol &symbol, int pageNumber, QWidget *parent)
    : XISettingsPage(QString::fromStdString(symbol.name()), parent)
    , m_symbol(symbol)
    , m_pageNumber(pageNumber)
{
    setObjectName(QStringLiteral("details-%1").arg(symbol.number()));
}

void KelDetailsPage::populatePage()
{
    using namespace KelPropertyRows;
    const DbSymbol &s = m_symbol;
    const bool storage = hasStorage(s);
    add(*this, KelRes::levelLabel, levelText(s.level()));
    add(*this, KelRes::longNameLabel, text(s.longName()));
    add(*this, KelRes::lengthLabel, storage ? number(s.length()) : QString());
    add(*this, KelRes::pictureLabel, text(s.picture()));
    add(*this, KelRes::groupLabel, flagText(s.isGroup()));
    add(*this, KelRes::redefinesLabel, flagText(s.hasBaseSymbol()));
    const DbMark *dateField = dateFieldMark(s);
    add(*this, KelRes::dateFieldLabel, flagText(dateField != nullptr));
    if (dateField) {
        if (QWidget *flag = findChild<QWidget *>(
                QStringLiteral("value-0x%1").arg(KelRes::dateFieldLabel, 0, 16)))
            flag->setToolTip(text(dateField->text()));
    }
    add(*this, KelRes::usageLabel, storage ? text(s.usage()) : QString());
    add(*this, KelRes::offsetLabel, storage ? number(s.offset()) : QString());
    add(*this, KelRes::occursLabel, occursText(s));
    add(*this, KelRes::valueLabel, text(s.value()));
    add(*this, KelRes::storageAreaLabel, text(s.storageArea()));
    QString path;
    if (add(*this, KelRes::declaredInLabel, declaredIn(s, path))) {
        if (QWidget *where = findChild<QWidget *>(
                QStringLiteral("value-0x%1").arg(KelRes::declaredInLabel, 0, 16)))
            where->setToolTip(path);
    }
}
