#pragma once

#include "SourceStyle.h"

#include <QAbstractScrollArea>

#include <cstdint>
#include <vector>

class SourceDocument;

/// The source browser's client: the expanded source of a program unit drawn line by line, only
/// the lines in sight, so a unit of any size opens at once and scrolls within a frame.
///
/// Left to right: a margin with the Year-2000 findings of each line (amber: a date field
/// declared there, red: a statement to window), the line number in the expanded source (blue on
/// a copybook's lines), a bar per COPY level for lines that come from copybooks, then the text.
/// Tokens take their colours and styles from the style (SourceStyle); a copybook's first line
/// is marked with a rule and "COPY name (file)", the line after it with "end of COPY name".
///
/// One selection: a token, or a range of a line (a find). Selections made by the user (clicks
/// through the browser, keys here) say so, so that the browser passes only those on.
class SourceView : public QAbstractScrollArea
{
    Q_OBJECT

public:
    struct Selection
    {
        std::uint32_t line = 0; ///< 0: nothing selected
        std::uint32_t column = 0;
        std::uint32_t length = 0;
        std::uint32_t token = 0; ///< the token selected, 0 for a range
        bool isEmpty() const { return line == 0; }
    };
    enum class Area { none, margin, lineNumber, copyBars, text };
    struct Hit
    {
        std::uint32_t line = 0;
        std::uint32_t column = 0; ///< 1-based; past the end for the space after a line
        Area area = Area::none;
    };
    /// Where a line is put when the view moves to it.
    enum class Placement { ifHidden, centre };
    /// Who made a selection.
    enum class Origin { user, program };

    SourceView(const SourceDocument &document, QWidget *parent = nullptr);
    ~SourceView() override;

    const SourceDocument &document() const { return m_document; }
    void setSourceStyle(const SourceStyle &style);
    const SourceStyle &sourceStyle() const { return m_style; }

    Hit hitTest(const QPoint &viewportPosition) const;

    /// Selects `selection` and brings its line into sight as `placement` says.
    void select(const Selection &selection, Placement placement, Origin origin);
    /// Selects token `token` (a number of the unit); false when it has no line.
    bool selectToken(std::uint32_t token, Placement placement, Origin origin);
    void clearSelection();
    const Selection &selection() const { return m_selection; }

    void scrollToLine(std::uint32_t line, Placement placement);
    /// The first line in sight (1-based).
    std::uint32_t topLine() const;
    std::uint32_t visibleLineCount() const;
    int gutterWidth() const { return m_marginWidth + m_numberWidth + m_barsWidth; }
    /// The text of `hit`'s place for a tool tip: findings, where the line comes from, the token.
    QString toolTipText(const Hit &hit) const;

signals:
    void selectionChanged(SourceView::Origin origin);
    void topLineChanged(std::uint32_t line);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    /// Where each column of a line starts, relative to the text's left edge (proportional fonts
    /// only; a fixed-pitch font needs no table).
    std::vector<int> columnPositions(std::uint32_t line, const QString &text) const;
    int xOfColumn(const std::vector<int> &positions, std::uint32_t column) const;
    void updateGeometryValues();
    void updateScrollBars();
    int textLeft() const;
    void paintLine(QPainter &painter, std::uint32_t line, int y);
    void paintBoundary(QPainter &painter, std::uint32_t line, int y, int textEnd);
    void paintGutter(QPainter &painter, std::uint32_t first, std::uint32_t last);
    void moveSelection(int lines, int tokens);

    const SourceDocument &m_document;
    SourceStyle m_style;
    Selection m_selection;
    int m_marginWidth = 16;
    int m_numberWidth = 40;
    int m_barsWidth = 4;
    int m_contentWidth = 0;
    std::uint32_t m_lastTopLine = 0;
};
