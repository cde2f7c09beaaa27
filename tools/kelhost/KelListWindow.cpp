#include "KelListWindow.h"

#include "KelCopybookMap.h"
#include "KelImpactWindow.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "HostListModel.h"
#include "ICurrentApplication.h"
#include "KelDesktop.h"
#include "KelDetailsView.h"
#include "KelMouseClickHandler.h"
#include "KelSymbolsPreferences.h"
#include "KelSymbolsPreferencesPage.h"
#include "KelViewLink.h"
#include "KelWindowActions.h"
#include "KelhostResourceIds.h"
#include "KelresrcResourceIds.h"
#include "RelatedMembersModel.h"
#include "RelatedProgramsModel.h"
#include "StartWindowData.h"
#include "SymbolsUsedModel.h"
#include "XIMenuDefinition.h"
#include "XIOpenSettings.h"
#include "XIToolBar.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSortFilterProxyModel>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

/// The symbols view's preference page in a notebook of the list's own.
class ListPreferences : public XIOpenSettings
{
public:
    explicit ListPreferences(QWidget *owner)
        : XIOpenSettings(KelRes::hostListPreferencesCommand,
                         KelRes::symbolsView,
                         owner,
                         Modality::Modeless,
                         ::text(KelRes::hostListPreferencesTitle))
        , m_owner(owner)
    {}

protected:
    void populateSettingsView() override
    {
        settingsView()->addLastPage(new KelSymbolsPreferencesPage(m_owner));
        settingsView()->turnToPage(0);
    }

private:
    QWidget *m_owner;
};

constexpr int defaultWidth = 860;
constexpr int defaultHeight = 560;

} // namespace

KelListWindow::KelListWindow(const StartWindowData &request, ListKind kind)
    : HostView(KelRes::symbolsView, request.pu)
    , m_kind(kind == ListKind::defaultList ? ListKind::symbolsUsed : kind)
{
    const unsigned long title = m_kind == ListKind::relatedPrograms  ? KelRes::hostProgramsTitle
                                : m_kind == ListKind::relatedMembers ? KelRes::hostMembersTitle
                                                                     : KelRes::hostSymbolsTitle;
    setWindowTitle(text(title).arg(objectName()));
    buildList();
    buildCommands();
    resize(defaultWidth, defaultHeight);
    registerWindow();
    const KelSymbolsPreferences preferences(this);
    setRequestScroll(preferences.requestScroll);
    setScrollOnRequest(preferences.scrollOnRequest);
    setSurfOnScroll(preferences.surfOnScrollRequest);
    makeModel();
    reveal(request);
}

KelListWindow::~KelListWindow() = default;

KelListWindow::ListKind KelListWindow::kindFor(const StartWindowData &request,
                                               QWidget *preferencesOwner)
{
    const auto kind = static_cast<ListKind>(request.word1);
    if (kind == ListKind::symbolsUsed || kind == ListKind::relatedPrograms
        || kind == ListKind::relatedMembers)
        return kind;
    return KelSymbolsPreferences(preferencesOwner).relatedSource ? ListKind::relatedMembers
                                                                 : ListKind::symbolsUsed;
}

QString KelListWindow::grabName() const
{
    const char *kind = m_kind == ListKind::relatedPrograms  ? "programs-"
                       : m_kind == ListKind::relatedMembers ? "members-"
                                                            : "symbols-";
    return QLatin1String(kind) + objectName();
}

void KelListWindow::buildList()
{
    auto *client = new QWidget(this);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(6, 6, 6, 6);
    auto *filterRow = new QHBoxLayout;
    auto *label = new QLabel(text(KelRes::hostListFilterLabel), client);
    m_filter = new QLineEdit(client);
    m_filter->setPlaceholderText(text(KelRes::hostListFilterHint));
    m_filter->setClearButtonEnabled(true);
    label->setBuddy(m_filter);
    filterRow->addWidget(label);
    filterRow->addWidget(m_filter, 1);
    layout->addLayout(filterRow);

    m_list = new QTreeView(client);
    m_list->setObjectName(QStringLiteral("list"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAlternatingRowColors(true);
    m_list->setSortingEnabled(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->installEventFilter(this);
    layout->addWidget(m_list, 1);

    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSortRole(HostListModel::sortRole);
    m_proxy->setFilterCaseSensitivity(Qt::CaseInsensitive);
    connect(m_filter, &QLineEdit::textChanged, m_proxy, [this](const QString &wanted) {
        m_proxy->setFilterFixedString(wanted.trimmed());
    });
    m_list->setModel(m_proxy);
    setViewClient(client);
    // The rows' clicks arrive on the list's viewport.
    mouseClickHandler()->handleEventsFor(m_list->viewport());
}

void KelListWindow::makeModel()
{
    HostListModel *old = m_model;
    switch (m_kind) {
    case ListKind::relatedMembers:
        m_model = new RelatedMembersModel(*pu(), this);
        break;
    case ListKind::relatedPrograms:
        m_model = new RelatedProgramsModel(*eu(), *pu(), this);
        break;
    case ListKind::defaultList:
    case ListKind::symbolsUsed:
        m_model = new SymbolsUsedModel(*pu(),
                                       KelSymbolsPreferences(this).dataSymbols
                                           ? SymbolRows::Procedures::left
                                           : SymbolRows::Procedures::listed,
                                       this);
        break;
    }
    m_proxy->setSourceModel(m_model);
    m_proxy->setFilterKeyColumn(m_model->nameColumn());
    m_list->sortByColumn(-1, Qt::AscendingOrder);
    m_list->header()->setSortIndicatorShown(true);
    m_list->header()->setStretchLastSection(true);
    for (int column = 0; column < m_model->columnCount(); ++column)
        m_list->resizeColumnToContents(column);
    connect(m_list->selectionModel(),
            &QItemSelectionModel::currentRowChanged,
            this,
            &KelListWindow::rowChanged);
    delete old;
    setStatusText(m_model->summary());
}

void KelListWindow::buildCommands()
{
    const QString basic = basicCategory();
    m_findInSource = addCommand(KelRes::hostFindInSourceCommand, basic, [this] {
        findSelectedInSource();
    });
    m_showDataMap = addCommand(KelRes::hostShowDataMapCommand, basic, [this] {
        const int row = m_selectedRow.load();
        if (DbSymbol *symbol = m_model->symbolOfRow(row))
            showDataMap(pu(), symbol->declaringToken());
    });
    m_details = addCommand(KelRes::detailsCommand, simpleCategory(), [this] {
        if (DbSymbol *symbol = m_model->symbolOfRow(m_selectedRow.load()))
            m_detailsView = new KelDetailsView(this, *symbol);
    });
    m_showImpact = addCommand(KelRes::hostImpactCommand, simpleCategory(), [this] {
        const int row = m_selectedRow.load();
        DbSymbol *symbol = m_model->symbolOfRow(row);
        DbPu *unit = m_model->unitOfRow(row);
        QString error;
        if (symbol && unit && !openImpactOfItem(*eu(), *unit, *symbol, error))
            setStatusText(error);
    });
    m_copybookMap = addCommand(KelRes::hostCopybookMapCommand, simpleCategory(), [this] {
        const QString copybook = m_model->copybookOfRow(m_selectedRow.load());
        QString error;
        if (!copybook.isEmpty()
            && !openCopybookMap(KelDesktop::current(),
                                eu()->fileName(),
                                copybook.toStdString(),
                                error))
            setStatusText(error);
    });
    QMenu *selected = menu(KelRes::selectedMenu);
    selected->addAction(m_findInSource);
    selected->addAction(m_showDataMap);
    selected->addAction(m_showImpact);
    selected->addAction(m_copybookMap);
    selected->addAction(m_details);
    m_popUp = new XIMenuDefinition(this);
    m_popUp->addItem(m_findInSource)
        .addItem(m_showDataMap)
        .addItem(m_showImpact)
        .addItem(m_copybookMap)
        .addItem(m_details);

    auto *relatedPrograms = new KelRelatedP(this);
    relatedPrograms->setPointer(this);
    relatedPrograms->setTextsFromResources(KelRes::relatedProgramsCommand,
                                           KelRes::flyOverFor(KelRes::relatedProgramsCommand));
    QMenu *view = menu(KelRes::viewMenu);
    view->addAction(relatedPrograms);
    view->addSeparator();
    view->addAction(addCommand(KelRes::hostDataMapCommand, basic, [this] {
        const DbSymbol *symbol = m_model->symbolOfRow(m_selectedRow.load());
        showDataMap(pu(), symbol ? symbol->declaringToken() : nullptr);
    }));
    view->addAction(addCommand(KelRes::hostStructureTreeCommand, basic, [this] {
        openStructureTree(m_model->unitOfRow(m_selectedRow.load()) == pu()
                              ? pu()->numberToToken(m_model->tokenOfRow(m_selectedRow.load()))
                              : nullptr);
    }));
    addStandardCommands(KelRes::symbolsViewName);
    toolBar()->addSeparatorItem().addItem(m_findInSource).addItem(m_showDataMap);
    for (XIAction *action : {m_findInSource, m_showDataMap, m_showImpact, m_copybookMap, m_details})
        action->setEnabled(false);
}

int KelListWindow::selectedRow() const
{
    const QModelIndex current = m_list->selectionModel() ? m_list->selectionModel()->currentIndex()
                                                         : QModelIndex();
    return current.isValid() ? m_proxy->mapToSource(current).row() : -1;
}

bool KelListWindow::selectRow(int row)
{
    const QModelIndex index = m_proxy->mapFromSource(m_model->index(row, 0));
    if (!index.isValid())
        return false;
    m_list->selectionModel()->setCurrentIndex(index,
                                              QItemSelectionModel::ClearAndSelect
                                                  | QItemSelectionModel::Rows);
    m_list->scrollTo(index, QAbstractItemView::EnsureVisible);
    return true;
}

void KelListWindow::rowChanged()
{
    const int row = selectedRow();
    m_selectedRow = row;
    const bool symbol = m_model->symbolOfRow(row) != nullptr;
    m_findInSource->setEnabled(m_model->tokenOfRow(row) != 0);
    m_showDataMap->setEnabled(symbol);
    m_showImpact->setEnabled(symbol);
    m_copybookMap->setEnabled(!m_model->copybookOfRow(row).isEmpty());
    m_details->setEnabled(symbol);
    if (!m_following && m_model->unitOfRow(row) == pu())
        passOn(m_model->tokenOfRow(row), Coupling::selection);
}

bool KelListWindow::findSelectedInSource()
{
    const int row = m_selectedRow.load();
    DbPu *unit = m_model->unitOfRow(row);
    const std::uint32_t token = m_model->tokenOfRow(row);
    if (!unit || token == 0)
        return false;
    if (!unit->isLoaded() && !unit->load())
        return false;
    return findInSource(unit, unit->numberToToken(token));
}

void KelListWindow::selectTokenRow(const DbPu &unit, std::uint32_t token)
{
    const int row = m_model->rowOfToken(unit, token);
    if (row < 0)
        return;
    m_following = true;
    selectRow(row);
    m_following = false;
}

void KelListWindow::followToken(DbPu &unit, std::uint32_t tokenNumber)
{
    selectTokenRow(unit, tokenNumber);
}

void KelListWindow::reveal(const StartWindowData &request)
{
    if (request.token)
        selectTokenRow(*pu(), pu()->tokenToNumber(request.token));
    else if (request.word2 != 0)
        if (const DbToken *first = pu()->firstTokenOnLine(request.word2))
            selectTokenRow(*pu(), pu()->tokenToNumber(first));
    bringToFront();
}

void KelListWindow::preferencesChanged()
{
    if (m_kind == ListKind::symbolsUsed)
        makeModel();
}

void KelListWindow::openPreferences()
{
    if (!m_preferences)
        m_preferences = new ListPreferences(this);
    m_preferences->performAction();
}

bool KelListWindow::b1DblClick(const QPoint &position)
{
    const QModelIndex index = m_list->indexAt(position);
    if (!index.isValid())
        return false;
    m_list->selectionModel()->setCurrentIndex(index,
                                              QItemSelectionModel::ClearAndSelect
                                                  | QItemSelectionModel::Rows);
    // The command runs after the gesture: the window is busy while it lasts.
    QTimer::singleShot(0, m_findInSource, &QAction::trigger);
    return true;
}

bool KelListWindow::b2Click(const QPoint &position)
{
    const QModelIndex index = m_list->indexAt(position);
    if (index.isValid())
        m_list->selectionModel()->setCurrentIndex(index,
                                                  QItemSelectionModel::ClearAndSelect
                                                      | QItemSelectionModel::Rows);
    const QPoint global = m_list->viewport()->mapToGlobal(position);
    QTimer::singleShot(0, this, [this, global] { m_popUp->popUp(this, global); });
    return true;
}

bool KelListWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_findInSource->trigger();
            return true;
        }
    }
    return HostView::eventFilter(watched, event);
}
