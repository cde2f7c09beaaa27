#include "KelImpactWindow.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "IException.h"
#include "KelImpactModel.h"
#include "KelMsgException.h"
#include "KelresrcResourceIds.h"

#include <QHeaderView>
#include <QTreeView>

KelImpactWindow::KelImpactWindow(DbEu &eu,
                                 DbPu *pu,
                                 std::shared_ptr<const DbImpact> impact,
                                 DbImpact::Result result,
                                 const QString &subject)
    : KelWindow(KelRes::symbolsView, eu, pu, KelRes::symbolsView)
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_model = new KelImpactModel(std::move(impact), std::move(result), this);
    setWindowTitle(tr("Impact of %1 - %2").arg(subject, QString::fromStdString(eu.euName())));
    m_list = new QTreeView(this);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true); // large lists scroll without measuring every row
    m_list->setAlternatingRowColors(true);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setModel(m_model);
    m_list->header()->setStretchLastSection(true);
    for (int column :
         {KelImpactModel::programColumn, KelImpactModel::placeColumn, KelImpactModel::accessColumn})
        m_list->resizeColumnToContents(column);
    m_list->setColumnWidth(KelImpactModel::statementColumn,
                           m_list->fontMetrics().averageCharWidth() * 48);
    setClient(m_list);
    connect(m_list, &QTreeView::activated, this, [this](const QModelIndex &index) {
        openRow(index.row());
    });
    setStatusText(tr("%n statement(s)", nullptr, static_cast<int>(m_model->hitCount()))
                  + (m_model->notFollowedCount() ? tr(", %n flow(s) not followed",
                                                      nullptr,
                                                      static_cast<int>(m_model->notFollowedCount()))
                                                 : QString()));
    resize(900, 420);
    registerWindow();
}

KelImpactWindow::~KelImpactWindow()
{
    waitForCommand();
}

DbToken *KelImpactWindow::tokenAt(int row, DbPu **pu) const
{
    const DbImpact::Place *place = m_model->placeAt(row);
    DbPu *unit = place ? eu()->numberToPu(static_cast<std::uint32_t>(place->unit + 1)) : nullptr;
    if (pu)
        *pu = unit;
    if (!unit || !unit->load())
        return nullptr;
    return DbImpact::tokenOf(*unit, *place);
}

void KelImpactWindow::openRow(int row)
{
    // A slot: nothing may leave it by an exception.
    try {
        DbPu *pu = nullptr;
        DbToken *token = tokenAt(row, &pu);
        if (!pu)
            return;
        if (!token) {
            setStatusText(pu->isLoaded() ? tr("The statement is not in %1's source.")
                                               .arg(QString::fromStdString(pu->puName()))
                                         : QString::fromStdString(pu->loadError()));
            return;
        }
        findInSource(pu, token);
        emit statementOpened(pu, token);
    } catch (const IException &e) {
        setStatusText(QString::fromStdString(e.text()));
    } catch (const std::exception &e) {
        setStatusText(QString::fromLocal8Bit(e.what()));
    }
}

namespace {

std::shared_ptr<const DbImpact> loadImpact(DbEu &eu, QString &error)
{
    try {
        return DbImpact::load(eu.fileName());
    } catch (const KelMsgException &e) {
        KelMsg::clearPending(); // reported through `error`
        error = QString::fromStdString(e.text());
    }
    return nullptr;
}

} // namespace

KelImpactWindow *openImpactOfItem(DbEu &eu, DbPu &pu, const DbSymbol &item, QString &error)
{
    const std::shared_ptr<const DbImpact> impact = loadImpact(eu, error);
    if (!impact)
        return nullptr;
    DbImpact::Result result = impact->ofItem(eu.puToNumber(&pu) - 1, item.number());
    if (!result.error.empty()) {
        error = QString::fromStdString(result.error);
        return nullptr;
    }
    auto *window = new KelImpactWindow(eu,
                                       &pu,
                                       impact,
                                       std::move(result),
                                       QString::fromStdString(item.longName()));
    window->show();
    return window;
}

KelImpactWindow *openImpactOfCopybook(DbEu &eu,
                                      const std::string &copybook,
                                      std::uint32_t firstByte,
                                      std::uint32_t lastByte,
                                      QString &error)
{
    const std::shared_ptr<const DbImpact> impact = loadImpact(eu, error);
    if (!impact)
        return nullptr;
    DbImpact::Result result = impact->ofCopybook(copybook, firstByte, lastByte);
    if (!result.error.empty()) {
        error = QString::fromStdString(result.error);
        return nullptr;
    }
    auto *window = new KelImpactWindow(eu,
                                       nullptr,
                                       impact,
                                       std::move(result),
                                       QObject::tr("copybook %1 bytes %2-%3")
                                           .arg(QString::fromStdString(copybook))
                                           .arg(firstByte)
                                           .arg(lastByte));
    window->show();
    return window;
}
