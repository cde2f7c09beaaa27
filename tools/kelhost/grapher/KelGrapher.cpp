#include "KelGrapher.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbToken.h"
#include "ExecutionUnitFlowBuilder.h"
#include "GrapherArcItem.h"
#include "GrapherNodeItem.h"
#include "GrapherOverview.h"
#include "GrapherScene.h"
#include "ICurrentApplication.h"
#include "KelGrapherPreferences.h"
#include "KelMouseClickHandler.h"
#include "KelPreferencesView.h"
#include "KelgraphResourceIds.h"
#include "KelresrcResourceIds.h"
#include "ProgramFlowBuilder.h"
#include "SectionCollapse.h"
#include "StartWindowData.h"
#include "XIAction.h"

#include <QEvent>
#include <QFontMetricsF>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr int minimumZoom = 5; ///< percent
constexpr int maximumZoom = 400;
constexpr int overviewWidth = 220;
constexpr int overviewHeight = 160;

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

} // namespace

KelGrapher::KelGrapher(const StartWindowData &request)
    : KelWindow(KelRes::grapherView,
                *StartWindowData::eu(),
                request.puName.empty() ? nullptr : request.pu,
                KelRes::grapherView)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (isUnitGraph()) {
        setWindowTitle(text(KelRes::graphUnitTitle).arg(QString::fromStdString(pu()->puName())));
        if (pu()->load())
            m_full = ProgramFlowBuilder::build(*pu());
        else
            m_loadError = QString::fromStdString(pu()->loadError());
        if (SectionCollapse::foldsWhenOpened(m_full))
            m_folded = SectionCollapse::allSections(m_full);
    } else {
        setWindowTitle(text(KelRes::graphEuTitle).arg(QString::fromStdString(eu()->euName())));
        m_full = ExecutionUnitFlowBuilder::build(*eu());
    }
    buildClient();
    buildActions();
    resize(900, 640);
    registerWindow();
    applyPreferences();
    rebuild();
    if (isUnitGraph() && request.token)
        selectNode(shownIndexOf(m_full.nodeForToken(pu()->tokenToNumber(request.token))),
                   Selection::byRequest);
}

KelGrapher::~KelGrapher() = default;

void KelGrapher::buildClient()
{
    auto *client = new QWidget(this);
    client->setObjectName(QStringLiteral("grapherClient"));
    m_scene = new GrapherScene(this);
    m_view = new QGraphicsView(m_scene, client);
    m_view->setObjectName(QStringLiteral("grapherView"));
    m_view->setDragMode(QGraphicsView::ScrollHandDrag);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setViewportUpdateMode(QGraphicsView::SmartViewportUpdate);
    m_view->setOptimizationFlags(QGraphicsView::DontSavePainterState);
    m_view->setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
    m_view->setMinimumSize(240, 160);
    m_view->viewport()->installEventFilter(this);
    m_view->installEventFilter(this);
    m_overview = new GrapherOverview(m_scene, m_view, m_view);
    m_overview->setObjectName(QStringLiteral("grapherOverview"));
    m_overview->setToolTip(text(KelRes::graphOverviewTip));
    m_overview->resize(overviewWidth, overviewHeight);

    auto slider = [client](int low, int high) {
        auto *s = new QSlider(Qt::Horizontal, client);
        s->setRange(low, high);
        s->setMinimumWidth(140);
        return s;
    };
    m_zoomRow = new QWidget(client);
    m_zoom = slider(minimumZoom, maximumZoom);
    m_zoom->setValue(100);
    m_zoomValue = new QLabel(QStringLiteral("400%"), m_zoomRow);
    m_zoomValue->setMinimumWidth(m_zoomValue->sizeHint().width());
    m_zoomValue->setText(QStringLiteral("100%"));
    auto *zoomLayout = new QHBoxLayout(m_zoomRow);
    zoomLayout->setContentsMargins(6, 2, 6, 2);
    zoomLayout->addWidget(new QLabel(text(KelRes::graphZoomLabel), m_zoomRow));
    zoomLayout->addWidget(m_zoom, 1);
    zoomLayout->addWidget(m_zoomValue);
    connect(m_zoom, &QSlider::valueChanged, this, [this](int percent) { applyZoom(percent); });

    m_progressRow = new QWidget(client);
    m_progress = slider(0, 0);
    m_progressValue = new QLabel(m_progressRow);
    m_progressValue->setMinimumWidth(160);
    auto *progressLayout = new QHBoxLayout(m_progressRow);
    progressLayout->setContentsMargins(6, 2, 6, 2);
    progressLayout->addWidget(new QLabel(text(KelRes::graphProgressLabel), m_progressRow));
    progressLayout->addWidget(m_progress, 1);
    progressLayout->addWidget(m_progressValue);
    connect(m_progress, &QSlider::valueChanged, this, [this](int step) { showStep(step); });

    auto *sliders = new QHBoxLayout;
    sliders->setContentsMargins(0, 0, 0, 0);
    sliders->addWidget(m_zoomRow, 1);
    sliders->addWidget(m_progressRow, 2);
    auto *legend = new QLabel(legendText(), client);
    legend->setObjectName(QStringLiteral("grapherLegend"));
    legend->setContentsMargins(6, 2, 6, 2);
    legend->setWordWrap(true);
    auto *layout = new QVBoxLayout(client);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addLayout(sliders);
    layout->addWidget(m_view, 1);
    layout->addWidget(legend);
    setClient(client);
    mouseClickHandler()->handleEventsFor(m_view->viewport());
}

QString KelGrapher::legendText() const
{
    using Kind = FlowGraph::ArcKind;
    // Each entry stays on one line; the legend wraps only between entries.
    auto unbroken = [](QString entry) { return entry.replace(u' ', QStringLiteral("&nbsp;")); };
    auto line = [&unbroken](Kind kind, bool dashed) {
        return QStringLiteral("<span style=\"color:%1\">%2</span>&nbsp;%3")
            .arg(GrapherArcItem::colourOf(kind).name(),
                 dashed ? QStringLiteral("\u254C\u254C\u25B6")
                        : QStringLiteral("\u2501\u2501\u25B6"),
                 unbroken(QString::fromLatin1(FlowGraph::kindName(kind))));
    };
    QStringList parts;
    if (isUnitGraph())
        parts << line(Kind::perform, false) << line(Kind::performReturn, true)
              << line(Kind::goTo, false) << line(Kind::goToDepending, true)
              << line(Kind::alter, true) << line(Kind::fallThrough, false);
    else
        parts << line(Kind::staticCall, false) << line(Kind::dynamicCall, true)
              << line(Kind::copies, true);
    parts << QStringLiteral("<span style=\"color:#2e8b3e\">\u25A2</span>&nbsp;%1")
                 .arg(unbroken(text(KelRes::graphEntryNote)))
          << QStringLiteral("<span style=\"color:#b03a2e\">\u2582</span>&nbsp;%1")
                 .arg(unbroken(text(KelRes::graphEndNote)))
          << QStringLiteral("<span style=\"color:#a0a0a0\">\u25A0</span>&nbsp;%1")
                 .arg(unbroken(text(KelRes::graphUnreachableNote)));
    return parts.join(QStringLiteral(" &nbsp;&nbsp; "));
}

void KelGrapher::buildActions()
{
    auto add = [this](unsigned long id, unsigned long menuId, auto work) {
        auto *action = new XIAction(id, {}, {}, this);
        action->setTextsFromResources(id, id + 0x10000);
        action->setCategory(simpleCategory());
        connect(action, &XIAction::performed, this, work);
        if (QMenu *m = menu(menuId))
            m->addAction(action);
        return action;
    };
    add(KelRes::graphExportSvgCommand, KelRes::fileMenu, [this] {
        exportGraph(ExportFormat::svg);
    });
    add(KelRes::graphExportDotCommand, KelRes::fileMenu, [this] {
        exportGraph(ExportFormat::dot);
    });
    add(KelRes::graphFitCommand, KelRes::viewMenu, [this] {
        const QRectF all = m_scene->sceneRect();
        const QSize room = m_view->viewport()->size();
        if (all.isEmpty() || room.isEmpty())
            return;
        const double scale = std::min(room.width() / all.width(), room.height() / all.height());
        m_zoom->setValue(std::clamp(static_cast<int>(scale * 100), minimumZoom, maximumZoom));
    });
    if (isUnitGraph()) {
        add(KelRes::graphFoldSectionsCommand, KelRes::viewMenu, [this] {
            setFolded(SectionCollapse::allSections(m_full));
        });
        add(KelRes::graphUnfoldSectionsCommand, KelRes::viewMenu, [this] { setFolded({}); });
    } else {
        m_copybooksAction = add(KelRes::graphCopybooksCommand, KelRes::viewMenu, [this] {
            setCopybooksShown(!m_copybooks);
        });
        m_copybooksAction->enableLatching();
    }
    add(KelRes::graphPreferencesCommand, KelRes::optionsMenu, [] {
        KelPreferencesView::getCurrentPreferences(KelRes::grapherViewName)->performAction();
    });
}

void KelGrapher::rebuild()
{
    m_shown = SectionCollapse::collapse(m_full, m_folded, &m_origin);
    const QFont font = m_view->font();
    const QFontMetricsF metrics(font);
    std::vector<double> widths;
    widths.reserve(m_shown.nodes.size());
    for (const FlowGraph::Node &node : m_shown.nodes)
        widths.push_back(metrics.horizontalAdvance(QString::fromStdString(node.name)));
    LayoutOptions options;
    options.nodeHeight = std::max(30.0, metrics.height() + 16);
    m_layout = LayeredLayout::layout(m_shown, options, widths);
    m_scene->show(m_shown, m_layout, font, nodeHelp(), arcHelp());
    m_scene->setReturnArcsVisible(m_showReturnArcs);
    m_scene->setHoverHelp(m_showHoverHelp);
    m_selected = -1;
    const QSignalBlocker block(m_progress);
    m_progress->setRange(0, std::max(0, static_cast<int>(m_shown.executionOrder.size()) - 1));
    m_progress->setValue(0);
    m_progressValue->clear();
    int unreachable = 0;
    for (const FlowGraph::Node &node : m_shown.nodes)
        unreachable += node.reachable ? 0 : 1;
    if (!m_loadError.isEmpty())
        setStatusText(m_loadError);
    else if (m_shown.nodes.empty() && isUnitGraph())
        setStatusText(text(KelRes::graphEmpty).arg(QString::fromStdString(pu()->puName())));
    else
        setStatusText(text(KelRes::graphSummary)
                          .arg(m_shown.nodes.size())
                          .arg(m_shown.arcs.size())
                          .arg(unreachable));
    m_overview->refit();
}

void KelGrapher::setFolded(const std::set<int> &sections)
{
    const int selectedFull = m_selected >= 0 ? m_origin[m_selected] : -1;
    m_folded = sections;
    rebuild();
    if (selectedFull >= 0)
        selectNode(shownIndexOf(selectedFull), Selection::byRequest);
}

void KelGrapher::setCopybooksShown(bool shown)
{
    if (isUnitGraph() || shown == m_copybooks)
        return;
    m_copybooks = shown;
    if (m_copybooksAction)
        m_copybooksAction->setLatched(shown);
    m_full = ExecutionUnitFlowBuilder::build(*eu(),
                                             shown ? ExecutionUnitFlowBuilder::Copybooks::shown
                                                   : ExecutionUnitFlowBuilder::Copybooks::hidden);
    rebuild();
}

int KelGrapher::shownIndexOf(int fullIndex) const
{
    if (fullIndex < 0 || fullIndex >= static_cast<int>(m_full.nodes.size()))
        return -1;
    const int section = m_full.nodes[fullIndex].section;
    const int wanted = section >= 0 && m_folded.contains(section) ? section : fullIndex;
    const auto found = std::find(m_origin.begin(), m_origin.end(), wanted);
    return found == m_origin.end() ? -1 : static_cast<int>(found - m_origin.begin());
}

void KelGrapher::applyPreferences()
{
    const KelGrapherPreferences preferences(this);
    setRequestScroll(preferences.requestScroll);
    setScrollOnRequest(preferences.scrollOnRequest);
    setSurfOnScroll(preferences.surfOnScrollRequest);
    m_showReturnArcs = preferences.showReturnArcs;
    m_showHoverHelp = preferences.showHoverHelp;
    m_overview->setVisible(preferences.overview);
    m_zoomRow->setVisible(preferences.showZoomSlider);
    m_progressRow->setVisible(preferences.showProgressSlider);
    m_scene->setReturnArcsVisible(m_showReturnArcs);
    m_scene->setHoverHelp(m_showHoverHelp);
    placeOverview();
}

void KelGrapher::preferencesChanged()
{
    applyPreferences();
}

void KelGrapher::applyZoom(int percent)
{
    const double scale = percent / 100.0;
    m_view->setTransform(QTransform::fromScale(scale, scale));
    m_zoomValue->setText(QStringLiteral("%1%").arg(percent));
    m_overview->viewport()->update();
}

void KelGrapher::showStep(int step)
{
    if (step < 0 || step >= static_cast<int>(m_shown.executionOrder.size())) {
        m_scene->setCurrentStep(-1);
        return;
    }
    const int node = m_shown.executionOrder[step];
    m_scene->setCurrentStep(node);
    if (GrapherNodeItem *item = m_scene->nodeItem(node))
        m_view->centerOn(item);
    m_progressValue->setText(text(KelRes::graphProgressStep)
                                 .arg(step + 1)
                                 .arg(m_shown.executionOrder.size())
                                 .arg(QString::fromStdString(m_shown.nodes[node].name)));
}

void KelGrapher::showEvent(QShowEvent *event)
{
    KelWindow::showEvent(event);
    if (!m_fitPending)
        return;
    m_fitPending = false;
    // Once the view has its size: a graph larger than the view opens zoomed out to fit (not
    // below a quarter, where names are still legible), on its first entry.
    QTimer::singleShot(0, this, [this] {
        const QRectF all = m_scene->sceneRect();
        const QSize room = m_view->viewport()->size();
        if (all.isEmpty() || room.isEmpty())
            return;
        const double fit = std::min(room.width() / all.width(), room.height() / all.height());
        if (fit < 1)
            m_zoom->setValue(std::max(25, static_cast<int>(fit * 100)));
        if (m_selected >= 0)
            m_view->centerOn(m_scene->nodeItem(m_selected));
        else if (!m_shown.executionOrder.empty())
            m_view->centerOn(m_scene->nodeItem(m_shown.executionOrder.front()));
    });
}

void KelGrapher::placeOverview()
{
    const QRect room = m_view->viewport()->geometry();
    const int width = std::min(overviewWidth, room.width() / 3);
    const int height = std::min(overviewHeight, room.height() / 3);
    m_overview->setGeometry(room.right() - width - 8, room.bottom() - height - 8, width, height);
    m_overview->raise();
}

bool KelGrapher::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_view && event->type() == QEvent::Resize)
        placeOverview();
    if (watched == m_view->viewport() && event->type() == QEvent::Wheel) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // Ctrl+wheel zooms by steps of a tenth, through the slider so it shows the zoom.
            const double factor = wheel->angleDelta().y() > 0 ? 1.1 : 1 / 1.1;
            m_zoom->setValue(std::clamp(static_cast<int>(std::lround(m_zoom->value() * factor)),
                                        minimumZoom,
                                        maximumZoom));
            return true;
        }
    }
    return KelWindow::eventFilter(watched, event);
}
