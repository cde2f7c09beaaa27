#pragma once

#include "FlowGraph.h"
#include "KelWindow.h"
#include "LayeredLayout.h"

#include <QPointer>

#include <set>
#include <vector>

class GrapherOverview;
class GrapherScene;
class QGraphicsView;
class QLabel;
class QSlider;
class QWidget;
struct StartWindowData;
class XIAction;

/// The grapher (view 593): the control flow of a program unit (its sections and paragraphs
/// with PERFORM, GO TO, ALTER, fall-through and return arcs) or, for a request without a unit,
/// the programs of the execution unit with their calls and, on demand, the copybooks they
/// share. Drawn by a layered layout on a QGraphicsView with an overview pane, hover help, a zoom
/// slider and a progress slider that walks the nodes in execution order; the grapher
/// preferences switch those on and off while the window is open.
///
/// Links: answers the query 0x4011 for the tokens of its unit (the execution unit's graph: for
/// every unit), selects the node holding the token of 0x4012, and finds a node the user selects
/// in the source (findInSource) while "request scrolling" is on; a double click always does.
/// A double click on a section folds or unfolds it; units of more than 400 nodes open folded.
class KelGrapher final : public KelWindow
{
    Q_OBJECT

public:
    enum class ExportFormat { svg, dot };
    /// Why a node is selected: the user (the other views hear of it) or another view (they
    /// do not, so two views never chase each other).
    enum class Selection { byUser, byRequest };

    /// The grapher for `request` (in the requests' execution unit): the unit's control flow, or
    /// the execution unit's programs when `request.puName` is empty. Registers itself.
    explicit KelGrapher(const StartWindowData &request);
    ~KelGrapher() override;

    /// The graph as drawn now (sections folded or not) and its layout.
    const FlowGraph &shownGraph() const { return m_shown; }
    const GraphLayout &shownLayout() const { return m_layout; }
    /// The graph with every paragraph.
    const FlowGraph &fullGraph() const { return m_full; }
    /// The selected node of the shown graph; -1 when none.
    int selectedNode() const { return m_selected; }
    /// Selects node `index` of the shown graph and brings it into view.
    void selectNode(int index, Selection why);
    /// The shown node standing for node `fullIndex` of the full graph (its section when folded).
    int shownIndexOf(int fullIndex) const;

    /// Folds (or unfolds) the sections in `sections` (indices into the full graph).
    void setFolded(const std::set<int> &sections);
    const std::set<int> &folded() const { return m_folded; }
    /// The execution unit's graph: whether copybooks are drawn.
    void setCopybooksShown(bool shown);

    /// Writes the graph to `path`; false with `error` set when the file cannot be written.
    bool exportTo(const QString &path, ExportFormat format, QString &error) const;

    GrapherScene *scene() const { return m_scene; }
    QGraphicsView *graphView() const { return m_view; }
    GrapherOverview *overview() const { return m_overview; }
    QSlider *zoomSlider() const { return m_zoom; }
    QSlider *progressSlider() const { return m_progress; }
    QWidget *zoomRow() const { return m_zoomRow; }
    QWidget *progressRow() const { return m_progressRow; }
    bool returnArcsShown() const { return m_showReturnArcs; }
    bool hoverHelpShown() const { return m_showHoverHelp; }

    void preferencesChanged() override;
    bool b1Click(const QPoint &position) override;
    bool b1DblClick(const QPoint &position) override;

protected:
    bool userEvent(IUserEvent &event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildClient();
    void buildActions();
    void rebuild();
    void applyPreferences();
    void applyZoom(int percent);
    void showStep(int step);
    void exportGraph(ExportFormat format);
    void placeOverview();
    /// The node under `position` of the view's viewport; -1 when none.
    int nodeAtViewport(const QPoint &position) const;
    /// Tells the browser about shown node `index` (its first token).
    void findNodeInSource(int index);
    QStringList nodeHelp() const;
    QString legendText() const;
    QStringList arcHelp() const;
    bool isUnitGraph() const { return pu() != nullptr; }

    FlowGraph m_full;
    FlowGraph m_shown;
    GraphLayout m_layout;
    std::vector<int> m_origin; ///< shown node -> full node
    std::set<int> m_folded;
    bool m_copybooks = false;
    int m_selected = -1;
    bool m_fitPending = true;
    QString m_loadError; ///< why the unit could not be loaded

    bool m_showReturnArcs = true;
    bool m_showHoverHelp = true;

    GrapherScene *m_scene = nullptr;
    QGraphicsView *m_view = nullptr;
    GrapherOverview *m_overview = nullptr;
    QWidget *m_zoomRow = nullptr;
    QWidget *m_progressRow = nullptr;
    QSlider *m_zoom = nullptr;
    QSlider *m_progress = nullptr;
    QLabel *m_zoomValue = nullptr;
    QLabel *m_progressValue = nullptr;
    XIAction *m_copybooksAction = nullptr;
};
