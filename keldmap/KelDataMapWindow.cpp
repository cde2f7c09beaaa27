#include "KelDataMapWindow.h"

#include "DSFont.h"
#include "DbEu.h"
#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"
#include "ICurrentApplication.h"
#include "IException.h"
#include "IProfile.h"
#include "KelDataMapActions.h"
#include "KelDataMapCanvas.h"
#include "KelDataMapExport.h"
#include "KelDataMapFontMeasure.h"
#include "KelDataMapItem.h"
#include "KelDataMapLayout.h"
#include "KelDataMapLegend.h"
#include "KelDataMapPreferences.h"
#include "KelDataMapRecord.h"
#include "KelDataMapUnitItems.h"
#include "KelDetailsView.h"
#include "KelMkSmR.h"
#include "KelMsg.h"
#include "KelMsgIds.h"
#include "KelPreferencesView.h"
#include "KelSettingsView.h"
#include "KeldmapResourceIds.h"
#include "KelresrcResourceIds.h"
#include "OpenWindowHandler.h"
#include "RegisterInstance.h"
#include "XIAction.h"
#include "XIDialogAction.h"
#include "XIFindAndReplaceDialog.h"
#include "XIInfoArea.h"
#include "XIMenuDefinition.h"
#include "XIToolBar.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QVBoxLayout>

namespace {

// Source lines the map's messages name.
constexpr unsigned long registryFullLine = 210;
constexpr unsigned long unitNotLoadedLine = 215;

/// Brings the map forward on the registry's show request.
class MapNotifications final : public OpenWindowDispatcher
{
public:
    using OpenWindowDispatcher::OpenWindowDispatcher;

    bool showRequest(OpenWindowEvent &) override
    {
        if (auto *window = qobject_cast<QWidget *>(parent())) {
            if (window->isMinimized())
                window->showNormal();
            window->raise();
            window->activateWindow();
        }
        return true;
    }
};

QString recordLabel(const DbSymbol &record)
{
    return QStringLiteral("%1 %2")
        .arg(record.level(), 2, 10, QLatin1Char('0'))
        .arg(QString::fromStdString(record.name()));
}

} // namespace

KelDataMapWindow::KelDataMapWindow(
    QWidget *parent, QWidget *owner, DbEu &eu, DbPu &pu, DbToken *token)
    : IFrameWindow(KelRes::dataMapViewName, parent, Qt::Window)
    , m_eu(&eu)
    , m_pu(&pu)
    , m_owner(owner)
    , m_measure(std::make_unique<KelDataMapFontMeasure>(DSFont::systemFont()))
{
    setAttribute(Qt::WA_DeleteOnClose);
    m_puNumber = eu.puToNumber(&pu);
    m_objectText = QStringLiteral("%1 %2").arg(QString::fromStdString(eu.euName()),
                                               QString::fromStdString(pu.puName()));
    m_titleText = ICurrentApplication::loadString(KelRes::dataMapTitle);
    XIDialogAction::setDialogObjectText(m_objectText);

    const bool loaded = pu.load();
    if (!loaded)
        KelMsg::msg(sourceTag,
                    unitNotLoadedLine,
                    KelMsgId::unitNotLoaded,
                    pu.puName(),
                    pu.loadError());
    m_unitItems = std::make_unique<KelDataMapUnitItems>(pu, this);
    for (KelMkSmR marks(pu); marks.isValid(); marks.setToNext())
        if (marks.element().kind() == DbMark::dateField)
            m_marks.emplace(marks.element().tokenNumber(), marks.element().text());

    buildWindow();
    registerMap();
    preferencesChanged();

    if (!loaded)
        m_canvas->setEmptyText(
            ICurrentApplication::loadString(KelRes::mapUnitNotLoaded)
                .arg(QString::fromStdString(pu.puName()), QString::fromStdString(pu.loadError())));
    else if (m_recordChooser->count() == 0)
        m_canvas->setEmptyText(ICurrentApplication::loadString(KelRes::mapNoRecords)
                                   .arg(QString::fromStdString(pu.puName())));
    const bool shown = token && token->hasDataSymbol() && selectSymbol(*token->dataSymbol());
    if (!shown && m_recordChooser->count() > 0)
        showRecord(*m_recordChooser->itemData(0).value<DbSymbol *>());
    updateTitle();
    updateStates();
    updateInfoText();
    show();
    m_canvas->setFocus();
}

KelDataMapWindow::~KelDataMapWindow()
{
    // The canvas must not draw a layout that is going.
    if (m_canvas)
        m_canvas->setMapLayout(nullptr);
    if (m_findDialog)
        delete m_findDialog.data();
    // Leaving the registry tells the other windows; this window still exists now.
    m_registration.reset();
}

KelDetailsView *KelDataMapWindow::detailsView() const
{
    return m_detailsView;
}

KelSettingsView *KelDataMapWindow::settingsView() const
{
    return m_settingsView;
}

XIFindAndReplaceDialog *KelDataMapWindow::findDialog() const
{
    return m_findDialog;
}

void KelDataMapWindow::buildWindow()
{
    setObjectName(QStringLiteral("dataMap"));
    m_actions = new KelDataMapActions(*this);
    m_preferencesNotebook = new KelPreferencesView(KelRes::dataMapViewName, this);

    auto *client = new QWidget(this);
    auto *column = new QVBoxLayout(client);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_canvas = new KelDataMapCanvas(client);
    m_legend = new KelDataMapLegend(client);
    column->addWidget(m_canvas, 1);
    column->addWidget(m_legend);
    setCentralWidget(client);

    auto *tools = new XIToolBar(this, KelRes::dataMapViewName);
    auto *label = new QLabel(ICurrentApplication::loadString(KelRes::mapRecordLabel), tools);
    m_recordChooser = new QComboBox(tools);
    m_recordChooser->setObjectName(QStringLiteral("recordChooser"));
    m_recordChooser->setToolTip(ICurrentApplication::loadString(KelRes::mapRecordChooserTip));
    m_recordChooser->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_recordChooser->setMaxVisibleItems(25);
    label->setBuddy(m_recordChooser);
    tools->addWidget(label);
    tools->addWidget(m_recordChooser);
    tools->addSeparatorItem();
    tools->addItem(m_actions->action(KelRes::mapExpandAllCommand))
        .addItem(m_actions->action(KelRes::mapCollapseAllCommand))
        .addSeparatorItem()
        .addItem(m_actions->action(KelRes::findCommand))
        .addItem(m_actions->action(KelRes::detailsCommand))
        .addSeparatorItem()
        .addItem(m_actions->action(KelRes::mapZoomOutCommand))
        .addItem(m_actions->action(KelRes::mapZoomInCommand));
    m_infoArea = new XIInfoArea(this);
    fillRecordChooser();

    connect(m_recordChooser, &QComboBox::activated, this, [this](int index) {
        if (auto *record = m_recordChooser->itemData(index).value<DbSymbol *>()) {
            m_currentSymbolNumber = record->sNumber();
            showRecord(*record);
        }
    });
    connect(m_canvas, &KelDataMapCanvas::itemClicked, this, &KelDataMapWindow::userClicked);
    connect(m_canvas, &KelDataMapCanvas::itemActivated, this, &KelDataMapWindow::userActivated);
    connect(m_canvas, &KelDataMapCanvas::expandRequested, this, &KelDataMapWindow::userExpand);
    connect(m_canvas, &KelDataMapCanvas::popUpRequested, this, [this](int placed, QPoint at) {
        showPopUp(placedItem(placed), at);
    });
}

void KelDataMapWindow::registerMap()
{
    try {
        m_registration = std::make_unique<RegisterInstance>(handle(),
                                                            ICurrentApplication::loadString(
                                                                KelRes::dataMapViewName),
                                                            viewNumber,
                                                            m_eu,
                                                            m_pu,
                                                            this);
        const IProfile placements(ICurrentApplication::loadString(KelRes::placementProfileFile));
        m_registration->savePMPosition(placements);
        m_registration->restorePosition(placements);
    } catch (const IException &exception) {
        // A full registry: the map works, the other views just cannot find it.
        KelMsg::winIExcnSet1(sourceTag, registryFullLine, exception);
        KelMsg::winMsgShow1(sourceTag, registryFullLine);
    }
    m_notifications = new MapNotifications(this);
    m_notifications->handleEventsFor(this);
}

void KelDataMapWindow::fillRecordChooser()
{
    // Every record of the unit, also one that redefines another: each is a map of its own.
    for (std::uint32_t n = 1; n <= m_pu->numberOfSymbols(); ++n) {
        DbSymbol *symbol = m_pu->symbol(n);
        if (symbol->isRecordStart())
            m_recordChooser->addItem(recordLabel(*symbol), QVariant::fromValue(symbol));
    }
    m_recordChooser->setEnabled(m_recordChooser->count() > 1);
}

void KelDataMapWindow::showRecord(DbSymbol &record)
{
    buildRecord(record);
}

void KelDataMapWindow::buildRecord(DbSymbol &record)
{
    // The per-record state goes with the record: the layout first, which points into it.
    m_canvas->setMapLayout(nullptr);
    m_layout.reset();
    m_selected = nullptr;
    m_popUpItem = nullptr;
    m_record = std::make_unique<KelDataMapRecord>(record, this);
    updateMarks();
    m_canvas->scrollToOrigin();
    const int chooser = m_recordChooser->findData(QVariant::fromValue(&record));
    if (chooser >= 0)
        m_recordChooser->setCurrentIndex(chooser);
    if (const DbSymbol *current = m_pu->symbolForSNumber(m_currentSymbolNumber)) {
        if (KelDataMapItem *item = m_record->itemFor(*current).item())
            select(item, false);
    }
    updateTitle();
    emit recordShown(&record);
}

void KelDataMapWindow::relayout()
{
    if (!m_record)
        return;
    // The new grid replaces the old one in the canvas before the old one goes, so the scroll
    // position stays where it was.
    auto layout = std::make_unique<KelDataMapLayout>(*m_record, *m_measure);
    m_canvas->setMapLayout(layout.get());
    m_layout = std::move(layout);
    KelDataMapPainter::Options options = m_canvas->paintOptions();
    options.selected = m_layout->placedOfRecordIndex(m_record->indexOf(m_selected));
    options.showMarks = m_showDateFields;
    options.hexOffsets = m_hexOffsets;
    m_canvas->setPaintOptions(options);
    updateStates();
}

void KelDataMapWindow::updateMarks()
{
    if (!m_record)
        return;
    for (const KelDataMapPItem &item : m_record->items()) {
        const auto mark = m_marks.find(item->key());
        item->setMarkText(mark != m_marks.end() && item->key() != 0 ? mark->second : std::string());
    }
    relayout();
}

void KelDataMapWindow::updateWindow(DbToken *token)
{
    if (!token)
        return;
    selectTokenNumber(m_pu->tokenToNumber(token));
    updateMarks();
    m_canvas->viewport()->update();
}

bool KelDataMapWindow::selectTokenNumber(std::uint32_t tokenNumber)
{
    const DbToken *token = m_pu->numberToToken(tokenNumber);
    if (!token || !token->hasDataSymbol())
        return false;
    return selectSymbol(*token->dataSymbol());
}

bool KelDataMapWindow::selectSymbol(const DbSymbol &symbol)
{
    // Condition names and constants take no storage: the item they belong to stands for them.
    const DbSymbol *target = &symbol;
    while (target
           && (target->level() == 88 || target->level() == 78
               || target->displayText().starts_with("0E")))
        target = target->parent();
    if (!target || target->pPu() != m_pu)
        return false;
    if (m_record) {
        if (KelDataMapItem *shown = m_record->itemFor(*target).item()) {
            m_currentSymbolNumber = target->sNumber();
            select(shown, false);
            return true;
        }
    }
    DbSymbol *record = target->record();
    if (!record || !record->isRecordStart())
        return false;
    m_currentSymbolNumber = target->sNumber();
    buildRecord(*record);
    return true;
}

void KelDataMapWindow::select(KelDataMapItem *item, bool byUser)
{
    const int index = m_record ? m_record->indexOf(item) : -1;
    if (index < 0)
        return;
    // An item asked for must be seen: the groups above it open.
    bool opened = false;
    for (int up = m_record->parentOf(index); up >= 0; up = m_record->parentOf(up)) {
        KelDataMapItem *group = m_record->items()[static_cast<std::size_t>(up)].item();
        if (!group->expanded()) {
            group->setExpanded(1);
            opened = true;
        }
    }
    m_selected = item;
    m_currentSymbolNumber = item->symbol().sNumber();
    if (opened || !m_layout)
        relayout();
    KelDataMapPainter::Options options = m_canvas->paintOptions();
    options.selected = m_layout->placedOfRecordIndex(index);
    m_canvas->setPaintOptions(options);
    m_canvas->ensurePlacedVisible(options.selected);
    updateStates();
    updateInfoText();
    if (byUser && m_requestScroll && item->symbol().declaringToken())
        emit itemSelected(m_pu, item->symbol().declaringToken());
}

KelDataMapItem *KelDataMapWindow::placedItem(int placedIndex) const
{
    if (!m_layout || placedIndex < 0
        || static_cast<std::size_t>(placedIndex) >= m_layout->placed().size())
        return nullptr;
    return m_layout->placed()[static_cast<std::size_t>(placedIndex)].item;
}

void KelDataMapWindow::userClicked(int placedIndex)
{
    if (KelDataMapItem *item = placedItem(placedIndex))
        select(item, true);
}

void KelDataMapWindow::userActivated(int placedIndex)
{
    KelDataMapItem *item = placedItem(placedIndex);
    if (!item)
        return;
    select(item, true);
    const int index = m_record->indexOf(item);
    if (m_record->isGroup(index))
        expandItem(item, !item->expanded());
    else
        openDetails(item);
}

void KelDataMapWindow::userExpand(int placedIndex, bool expand)
{
    KelDataMapItem *item = placedItem(placedIndex);
    if (!item)
        return;
    const int index = m_record->indexOf(item);
    if (m_record->isGroup(index) && item->expanded() != (expand ? 1 : 0)) {
        expandItem(item, expand);
        return;
    }
    // Left on a collapsed or elementary item goes to its group.
    if (!expand && m_record->parentOf(index) >= 0)
        select(m_record->items()[static_cast<std::size_t>(m_record->parentOf(index))].item(), true);
}

void KelDataMapWindow::expandItem(KelDataMapItem *item, bool expand)
{
    if (!item || !m_record || m_record->indexOf(item) < 0)
        return;
    item->setExpanded(expand ? 1 : 0);
    relayout();
    if (m_selected)
        select(m_selected, false);
}

void KelDataMapWindow::setAllExpanded(bool expand)
{
    if (!m_record)
        return;
    m_record->setAllExpanded(expand ? 1 : 0);
    // Collapsing everything leaves the record; a selection below it moves to the record.
    if (!expand && m_selected)
        m_selected = m_record->recordItem().item();
    relayout();
    if (m_selected)
        select(m_selected, false);
}

void KelDataMapWindow::resetItem(KelDataMapItem *item, bool collapse)
{
    const int index = m_record ? m_record->indexOf(item) : -1;
    if (index < 0)
        return;
    m_record->resetBelow(index);
    item->setExpanded(collapse ? 0 : 1);
    if (collapse && m_selected && m_record->indexOf(m_selected) > index
        && m_record->indexOf(m_selected) <= index + m_record->subtreeSize(index))
        m_selected = item;
    relayout();
    if (m_selected)
        select(m_selected, false);
}

void KelDataMapWindow::showDeclaration(KelDataMapItem *item)
{
    if (item && item->symbol().declaringToken())
        emit findInSourceRequested(m_pu, item->symbol().declaringToken());
}

void KelDataMapWindow::openDetails(KelDataMapItem *item)
{
    if (item)
        m_detailsView = new KelDetailsView(this, item->symbol());
}

void KelDataMapWindow::openSettings()
{
    m_settingsView = new KelSettingsView(this, *m_pu);
}

void KelDataMapWindow::setHexOffsets(bool on)
{
    m_hexOffsets = on;
    m_actions->action(KelRes::mapHexOffsetsCommand)->setLatched(on);
    KelDataMapPainter::Options options = m_canvas->paintOptions();
    options.hexOffsets = on;
    m_canvas->setPaintOptions(options);
}

void KelDataMapWindow::setShowDateFields(bool on)
{
    m_showDateFields = on;
    m_actions->action(KelRes::mapDateFieldsCommand)->setLatched(on);
    m_legend->setDateFieldsShown(on);
    KelDataMapPainter::Options options = m_canvas->paintOptions();
    options.showMarks = on;
    m_canvas->setPaintOptions(options);
}

void KelDataMapWindow::updateStates()
{
    KelDataMapActions::ItemState selected;
    const int index = m_record ? m_record->indexOf(m_selected) : -1;
    if (index >= 0) {
        selected.present = true;
        const bool group = m_record->isGroup(index);
        selected.canExpand = group && !m_selected->expanded();
        selected.canCollapse = group && m_selected->expanded();
    }
    m_actions->updateStates(selected,
                            m_record && m_record->anyGroupCollapsed(),
                            m_record && m_record->anyGroupExpanded());
}

void KelDataMapWindow::updateInfoText()
{
    if (!m_selected) {
        m_infoArea->setInactiveText(m_objectText);
        return;
    }
    const DbSymbol &symbol = m_selected->symbol();
    QString text = ICurrentApplication::loadString(KelRes::mapSelectedItem)
                       .arg(QString::fromStdString(symbol.longName()))
                       .arg(symbol.offset())
                       .arg(symbol.length());
    if (m_selected->isMarked())
        text += QStringLiteral("; ")
                + ICurrentApplication::loadString(KelRes::mapDateFieldText)
                      .arg(QString::fromStdString(m_selected->markText()));
    m_infoArea->setInactiveText(text);
}

void KelDataMapWindow::updateTitle()
{
    QString title = m_titleText + QStringLiteral(" - ") + m_objectText;
    if (m_record)
        title += QStringLiteral(" - ") + QString::fromStdString(m_record->symbol().name());
    setWindowTitle(title);
}

QString KelDataMapWindow::mapText() const
{
    if (!m_layout)
        return {};
    const KelDataMapExport out(*m_layout, m_canvas->font(), m_canvas->paintOptions());
    return out.text(m_objectText + QStringLiteral(" ") + recordLabel(m_record->symbol()));
}

void KelDataMapWindow::copyMapAsText()
{
    if (!m_layout)
        return;
    QApplication::clipboard()->setText(mapText());
    m_infoArea->showMessage(ICurrentApplication::loadString(KelRes::mapCopied)
                                .arg(QString::fromStdString(m_record->symbol().name())),
                            5000);
}

bool KelDataMapWindow::saveMap(const QString &fileName, QString *error)
{
    QString reason;
    bool saved = false;
    if (m_layout) {
        const KelDataMapExport out(*m_layout, m_canvas->font(), m_canvas->paintOptions());
        const QString suffix = QFileInfo(fileName).suffix().toLower();
        const QString title = m_objectText + QStringLiteral(" ") + recordLabel(m_record->symbol());
        if (suffix == QLatin1String("svg"))
            saved = out.saveSvg(fileName, title, reason);
        else if (suffix == QLatin1String("txt"))
            saved = out.saveText(fileName, title, reason);
        else if (!out.fitsImage())
            reason = ICurrentApplication::loadString(KelRes::mapTooLargeForPng)
                         .arg(QString::fromStdString(m_record->symbol().name()))
                         .arg(out.imageSize().width())
                         .arg(out.imageSize().height());
        else
            saved = out.savePng(fileName, reason);
    }
    if (!saved && error)
        *error = reason;
    return saved;
}

void KelDataMapWindow::saveMapAs()
{
    if (!m_record)
        return;
    QString filter;
    QString fileName
        = QFileDialog::getSaveFileName(this,
                                       XIDialogAction::dialogTitle(
                                           ICurrentApplication::loadString(KelRes::mapSaveTitle)),
                                       QString::fromStdString(m_record->symbol().name())
                                           + QStringLiteral(".png"),
                                       ICurrentApplication::loadString(KelRes::mapSaveFilters),
                                       &filter);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += filter.contains(QLatin1String("*.svg"))   ? QStringLiteral(".svg")
                    : filter.contains(QLatin1String("*.txt")) ? QStringLiteral(".txt")
                                                              : QStringLiteral(".png");
    QString error;
    if (saveMap(fileName, &error))
        m_infoArea->showMessage(ICurrentApplication::loadString(KelRes::mapSaved).arg(fileName),
                                5000);
    else
        showMessage(KelRes::mapSaveFailed, QDir::toNativeSeparators(fileName), error);
}

void KelDataMapWindow::showMessage(unsigned long textId,
                                   const QString &first,
                                   const QString &second)
{
    QString text = ICurrentApplication::loadString(textId).arg(first);
    if (!second.isEmpty())
        text = text.arg(second);
    QMessageBox::warning(this, ICurrentApplication::loadString(KelRes::mapMessageTitle), text);
}

void KelDataMapWindow::showPopUp(KelDataMapItem *item, const QPoint &globalPosition)
{
    m_popUpItem = item;
    KelDataMapActions::ItemState state;
    const int index = m_record ? m_record->indexOf(item) : -1;
    if (index >= 0) {
        state.present = true;
        const bool group = m_record->isGroup(index);
        state.canExpand = group && !item->expanded();
        state.canCollapse = group && item->expanded();
    }
    m_actions->updatePopUpStates(state);
    m_actions->itemPopUp()->popUp(this, globalPosition);
}

void KelDataMapWindow::preferencesChanged()
{
    const KelDataMapPreferences preferences(this);
    m_requestScroll = preferences.requestScroll;
    m_scrollOnRequest = preferences.scrollOnRequest;
}

void KelDataMapWindow::comeToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void KelDataMapWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        XIDialogAction::setDialogObjectText(m_objectText);
    IFrameWindow::changeEvent(event);
}
