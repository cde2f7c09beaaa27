#include "SymbolsUsedModel.h"

#include "DbNode.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "ICurrentApplication.h"
#include "KelhostResourceIds.h"

#include <QColor>
#include <QFont>

namespace {

const QColor dateFieldColour(0xa0, 0x60, 0x00);

} // namespace

SymbolsUsedModel::SymbolsUsedModel(DbPu &pu, SymbolRows::Procedures procedures, QObject *parent)
    : HostListModel(parent)
    , m_pu(&pu)
    , m_rows(pu, procedures)
    , m_headings(headings(KelRes::hostSymbolsColumns))
{
    const std::size_t includes = std::max<std::size_t>(pu.includes().size(), 1);
    m_declaredIn.resize(includes);
    for (std::uint32_t include = 0; include < includes; ++include) {
        const DbInputFile *file = pu.includeFile(include);
        m_declaredIn[include] = file ? QString::fromStdString(file->path()).section(u'/', -1)
                                     : QString::fromStdString(pu.puName());
    }
}

int SymbolsUsedModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.rows().size());
}

int SymbolsUsedModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : Column::numberOfColumns;
}

QVariant SymbolsUsedModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return m_headings.value(section);
}

QVariant SymbolsUsedModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const SymbolRows::Row &row = m_rows.rows()[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return display(row, index.column());
    case sortRole:
        return sortKey(row, index.row(), index.column());
    case Qt::ForegroundRole:
        if (!row.dateField.empty() && (index.column() == name || index.column() == dateField))
            return dateFieldColour;
        return {};
    case Qt::FontRole:
        if (row.symbol && row.symbol->isRecordStart() && index.column() == name) {
            QFont bold;
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == offset || index.column() == length || index.column() == references
            || index.column() == level)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case Qt::ToolTipRole:
        if (row.symbol)
            return QString::fromStdString(row.symbol->longName());
        return {};
    default:
        return {};
    }
}

QVariant SymbolsUsedModel::display(const SymbolRows::Row &row, int column) const
{
    const QString indent(static_cast<qsizetype>(row.depth) * 2, u' ');
    if (!row.symbol) {
        const DbNode *node = row.procedure;
        switch (column) {
        case level:
            return node->kind() == DbNode::section ? QStringLiteral("SECTION")
                                                   : QStringLiteral("PARAGRAPH");
        case name:
            return indent + QString::fromStdString(node->name());
        case references:
            return row.references;
        case declaredIn: {
            const DbToken *first = node->firstToken();
            if (!first)
                return {};
            const std::size_t include = first->include();
            return (include < m_declaredIn.size() ? m_declaredIn[include] : QString())
                   + QLatin1Char(':') + QString::number(first->line());
        }
        default:
            return {};
        }
    }
    const DbSymbol &symbol = *row.symbol;
    const bool storage = symbol.level() != 88 && symbol.level() != 78;
    switch (column) {
    case level:
        return QStringLiteral("%1").arg(symbol.level(), 2, 10, QLatin1Char('0'));
    case name:
        return indent + QString::fromStdString(symbol.name());
    case offset:
        return storage ? QVariant(static_cast<qulonglong>(symbol.offset())) : QVariant();
    case length:
        return storage ? QVariant(static_cast<qulonglong>(symbol.length())) : QVariant();
    case picture:
        return QString::fromStdString(symbol.picture());
    case usage:
        return storage && !symbol.isGroup() ? QString::fromStdString(symbol.usage()) : QString();
    case dateField:
        return QString::fromStdString(row.dateField);
    case references:
        return row.references;
    case declaredIn: {
        const std::size_t include = symbol.include();
        return (include < m_declaredIn.size() ? m_declaredIn[include] : QString())
               + QLatin1Char(':') + QString::number(symbol.line());
    }
    default:
        return {};
    }
}

QVariant SymbolsUsedModel::sortKey(const SymbolRows::Row &row, int rowNumber, int column) const
{
    switch (column) {
    case level:
        return row.symbol ? static_cast<int>(row.symbol->level()) : 100;
    case name:
        return row.symbol ? QString::fromStdString(row.symbol->name())
                          : QString::fromStdString(row.procedure->name());
    case offset:
        // Within a record by offset; records in declaration order.
        return row.symbol ? static_cast<qulonglong>(row.symbol->offset()) : ~0ull;
    case length:
        return row.symbol ? static_cast<qulonglong>(row.symbol->length()) : 0ull;
    case references:
        return row.references;
    case declaredIn:
        return rowNumber;
    default:
        return display(row, column);
    }
}

std::uint32_t SymbolsUsedModel::tokenOfRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    const SymbolRows::Row &entry = m_rows.rows()[static_cast<std::size_t>(row)];
    if (entry.symbol)
        return m_pu->tokenToNumber(entry.symbol->declaringToken());
    return m_pu->tokenToNumber(entry.procedure->firstToken());
}

DbSymbol *SymbolsUsedModel::symbolOfRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    return const_cast<DbSymbol *>(m_rows.rows()[static_cast<std::size_t>(row)].symbol);
}

int SymbolsUsedModel::rowOfToken(const DbPu &pu, std::uint32_t token) const
{
    if (&pu != m_pu)
        return -1;
    const DbToken *found = pu.numberToToken(token);
    if (!found)
        return -1;
    if (const DbSymbol *symbol = found->dataSymbol())
        return m_rows.rowOfSymbol(symbol->number());
    if (found->type() == DbToken::procedureName) {
        const QString wanted = QString::fromStdString(found->text());
        for (std::size_t row = m_rows.symbolCount(); row < m_rows.rows().size(); ++row)
            if (wanted.compare(QString::fromStdString(m_rows.rows()[row].procedure->name()),
                               Qt::CaseInsensitive)
                == 0)
                return static_cast<int>(row);
    }
    return -1;
}

QString SymbolsUsedModel::summary() const
{
    return ICurrentApplication::loadString(KelRes::hostSymbolsSummary)
        .arg(m_rows.symbolCount())
        .arg(m_rows.dateFieldCount())
        .arg(QString::fromStdString(m_pu->puName()));
}
