// The grapher's links to the other views, its gestures, its hover texts and its exports.
#include "KelGrapher.h"

#include "DbEu.h"
#include "DbPu.h"
#include "DbToken.h"
#include "GraphExport.h"
#include "GrapherNodeItem.h"
#include "GrapherScene.h"
#include "ICurrentApplication.h"
#include "IEventTypes.h"
#include "IUserEvent.h"
#include "KelDesktop.h"
#include "KelgraphResourceIds.h"
#include "StartWindowData.h"

#include <QFile>
#include <QFileDialog>
#include <QGraphicsView>
#include <QMessageBox>
#include <QSaveFile>

namespace {

QString text(unsigned long id)
{
    return ICurrentApplication::loadString(id);
}

QString qs(const std::string &s)
{
    return QString::fromStdString(s);
}

} // namespace

bool KelGrapher::userEvent(IUserEvent &event)
{
    const auto tokenNumber = static_cast<std::uint32_t>(event.parameter1());
    const auto unitNumber = static_cast<std::uint32_t>(event.parameter2());
    switch (event.eventId()) {
    case IEventTypes::canShowQuery: {
        // A unit's graph shows its own tokens. The execution unit's graph shows every unit as
        // a whole (token 0, or 1 from the desktop's list), but a particular token is left to
        // that unit's own graph, so a find from the source opens the unit's control flow.
        const bool can = isUnitGraph()
                             ? unitNumber == puNumber() && tokenNumber <= pu()->numberOfTokens()
                             : eu()->numberToPu(unitNumber) != nullptr && tokenNumber <= 1;
        event.setResult(can ? 1 : 0);
        event.setHandled();
        return true;
    }
    case IEventTypes::findInGraph:
        if (isUnitGraph() && unitNumber == puNumber()) {
            const int full = m_full.nodeForToken(tokenNumber);
            if (full >= 0)
                selectNode(shownIndexOf(full), Selection::byRequest);
        } else if (!isUnitGraph()) {
            selectNode(m_shown.nodeForUnit(unitNumber), Selection::byRequest);
        }
        event.setHandled();
        return true;
    case IEventTypes::activateView:
        show();
        if (isMinimized())
            showNormal();
        raise();
        activateWindow();
        event.setHandled();
        return true;
    default:
        return KelWindow::userEvent(event);
    }
}

void KelGrapher::selectNode(int index, Selection why)
{
    if (GrapherNodeItem *old = m_scene->nodeItem(m_selected))
        old->setChosen(false);
    m_selected = -1;
    GrapherNodeItem *item = m_scene->nodeItem(index);
    if (!item)
        return;
    m_selected = index;
    item->setChosen(true);
    m_view->centerOn(item);
    const FlowGraph::Node &node = m_shown.nodes[index];
    setStatusText(qs(node.name) + QStringLiteral(" - ") + qs(node.note));
    if (why == Selection::byUser && requestScroll())
        findNodeInSource(index);
}

void KelGrapher::findNodeInSource(int index)
{
    if (index < 0 || index >= static_cast<int>(m_shown.nodes.size()))
        return;
    const FlowGraph::Node &node = m_shown.nodes[index];
    if (isUnitGraph()) {
        findInSource(pu(), pu()->numberToToken(node.firstToken));
        return;
    }
    if (DbPu *unit = eu()->numberToPu(node.unitNumber))
        findInSource(unit, nullptr);
}

int KelGrapher::nodeAtViewport(const QPoint &position) const
{
    return m_scene->nodeAt(m_view->mapToScene(position));
}

bool KelGrapher::b1Click(const QPoint &position)
{
    const int node = nodeAtViewport(position);
    if (node < 0)
        return false;
    selectNode(node, Selection::byUser);
    return false; // the view still sees the click (dragging starts on it)
}

bool KelGrapher::b1DblClick(const QPoint &position)
{
    const int node = nodeAtViewport(position);
    if (node < 0)
        return false;
    const FlowGraph::Node &shown = m_shown.nodes[node];
    const int full = m_origin[node];
    if (shown.kind == FlowGraph::NodeKind::collapsedSection
        || shown.kind == FlowGraph::NodeKind::section) {
        std::set<int> folded = m_folded;
        if (!folded.erase(full))
            folded.insert(full);
        setFolded(folded);
        return true;
    }
    if (!isUnitGraph() && shown.kind == FlowGraph::NodeKind::program) {
        // A program of the execution unit: its own control flow.
        if (DbPu *unit = eu()->numberToPu(shown.unitNumber); unit && KelDesktop::current())
            KelDesktop::current()->newWindow(
                new StartWindowData(StartWindowData::grapher, unit, unit->puName()));
        return true;
    }
    findNodeInSource(node);
    return true;
}

QStringList KelGrapher::nodeHelp() const
{
    QStringList help;
    help.reserve(static_cast<int>(m_shown.nodes.size()));
    for (const FlowGraph::Node &node : m_shown.nodes) {
        QStringList lines{QStringLiteral("<b>%1</b>").arg(qs(node.name).toHtmlEscaped()),
                          qs(node.note).toHtmlEscaped().replace('\n', QStringLiteral("<br>"))};
        if (isUnitGraph() && node.firstToken)
            if (const DbToken *first = pu()->numberToToken(node.firstToken))
                lines << QStringLiteral("line %1").arg(first->expandedLine());
        if (node.entry)
            lines << text(KelRes::graphEntryNote);
        if (node.end != FlowGraph::EndKind::none)
            lines << qs(FlowGraph::endName(node.end));
        if (!node.reachable)
            lines << text(KelRes::graphUnreachableNote);
        if (node.kind == FlowGraph::NodeKind::collapsedSection)
            lines << text(KelRes::graphUnfoldHint);
        else if (node.kind == FlowGraph::NodeKind::section)
            lines << text(KelRes::graphFoldHint);
        help << lines.join(QStringLiteral("<br>"));
    }
    return help;
}

QStringList KelGrapher::arcHelp() const
{
    QStringList help;
    help.reserve(static_cast<int>(m_shown.arcs.size()));
    for (const FlowGraph::Arc &arc : m_shown.arcs) {
        QString line = qs(FlowGraph::kindName(arc.kind));
        if (!arc.label.empty())
            line += QLatin1Char(' ') + qs(arc.label);
        line += QStringLiteral(": %1 \u2192 %2")
                    .arg(qs(m_shown.nodes[arc.from].name), qs(m_shown.nodes[arc.to].name));
        if (isUnitGraph() && arc.token)
            if (const DbToken *token = pu()->numberToToken(arc.token))
                line += QStringLiteral(" (line %1)").arg(token->expandedLine());
        help << line;
    }
    return help;
}

bool KelGrapher::exportTo(const QString &path, ExportFormat format, QString &error) const
{
    const GraphExport::Returns returns = m_showReturnArcs ? GraphExport::Returns::shown
                                                          : GraphExport::Returns::hidden;
    const std::string content = format == ExportFormat::svg
                                    ? GraphExport::toSvg(m_shown, m_layout, returns)
                                    : GraphExport::toDot(m_shown, returns);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(content.data(), static_cast<qint64>(content.size()))
               != static_cast<qint64>(content.size())
        || !file.commit()) {
        error = text(KelRes::graphExportFailed).arg(path, file.errorString());
        return false;
    }
    return true;
}

void KelGrapher::exportGraph(ExportFormat format)
{
    const bool svg = format == ExportFormat::svg;
    const QString name = qs(m_shown.title)
                         + (svg ? QStringLiteral(".svg") : QStringLiteral(".dot"));
    const QString path = QFileDialog::getSaveFileName(this,
                                                      text(svg ? KelRes::graphExportSvgCommand
                                                               : KelRes::graphExportDotCommand)
                                                          .remove(QLatin1Char('&')),
                                                      name,
                                                      text(svg ? KelRes::graphExportSvgFilter
                                                               : KelRes::graphExportDotFilter));
    if (path.isEmpty())
        return;
    QString error;
    if (!exportTo(path, format, error))
        QMessageBox::warning(this, windowTitle(), error);
}
