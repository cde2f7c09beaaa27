#pragma once

#include <cstdint>
#include <string>
#include <vector>

class KelDataMapItem;
class KelDataMapRecord;

/// How the layout measures text: the system font's average character width and the width of a
/// text, in layout units (one unit is one device-independent pixel at zoom 1).
class KelDataMapTextMeasure
{
public:
    virtual ~KelDataMapTextMeasure() = default;
    virtual double averageCharWidth() const = 0;
    virtual double width(const std::string &text) const = 0;
};

/// The grid of a data map: where each visible item of a record is drawn, in layout units.
///
/// - Rows: one per distinct position of the visible items (their display texts, bit offsets),
///   in ascending order. Row r's line lies at y = topMargin + r * rowHeight; the rows are 30
///   units high and the canvas is 30 x (rows + 1) high: half a row above the first line, and
///   half a row below the last line, which marks the record's end.
/// - Left canvas (the ruler): as wide as "0000000000"; per row the byte offset (key / 8), right
///   aligned in the width of eight digits starting 10 units from the left, centred on the row
///   line. Then a gutter of 15 units. An offset of more than eight digits (huge OCCURS counts)
///   widens the ruler instead of being cut.
/// - Panes: the record's own items in the first pane; each REDEFINES or RENAMES item below the
///   record starts a pane of its own to the right (so a REDEFINES of a REDEFINES gets a third),
///   with 15 units between panes. A pane has a column per depth it holds (the record is depth 1)
///   and is (number of its columns) x W wide.
/// - Column width W: the average character width times the length of the longest name, never
///   fewer than 16 characters; widened when the font's real glyphs, or a name followed by its
///   "OCCURS n TIMES" caption, need more, so that nothing is cut.
/// - An item's name is drawn 20 units in from its cell's left edge and 20 units down from its
///   row line (the text's baseline). An item that occurs gets the caption "OCCURS n TIMES" at the
///   same offsets from its own anchor point: the end of the name plus a blank, on the row line.
/// - Each item's box spans its cell from its row line down to the line of the first row at or
///   beyond its end (its length times its occurrences), at least one row.
/// - Two items of one pane at one depth and one position (an item of length 0 and its next
///   sibling) cannot share a cell: the later one starts a pane of its own.
///
/// Std-only; built in one pass (sorting the visible items), so a record of tens of thousands of
/// items lays out in milliseconds. Lanes (one per pane and column, the items of that column in
/// row order) let a painter find the items of any visible area by binary search.
class KelDataMapLayout final
{
public:
    static constexpr double rowHeight = 30;
    static constexpr double topMargin = rowHeight / 2;
    static constexpr double gutterWidth = 15;
    static constexpr double nameInset = 20;
    static constexpr double nameDrop = 20;
    static constexpr double offsetInset = 10;
    static constexpr unsigned minimumColumnCharacters = 16;
    /// Room kept after the longest text of a cell.
    static constexpr double cellPadding = 10;
    static constexpr double rightMargin = 15;

    struct Placed
    {
        KelDataMapItem *item = nullptr;
        int index = 0;            ///< position in the record's items()
        std::uint32_t row = 0;    ///< the row of its position
        std::uint32_t endRow = 0; ///< the row whose line ends its box (rows() for the end line)
        std::uint32_t pane = 0;
        std::uint32_t column = 1; ///< its depth in the record
        double nameWidth = 0;
    };
    struct Row
    {
        std::uint64_t bitOffset = 0;
        std::uint32_t first = 0; ///< first placed item of the row (placed() is in row order)
        std::uint32_t count = 0;
    };
    struct Pane
    {
        std::uint32_t firstColumn = 1;
        std::uint32_t lastColumn = 1;
        double x = 0;
        double width = 0;
    };
    struct Lane
    {
        std::uint32_t pane = 0;
        std::uint32_t column = 1;
        double x = 0;
        std::vector<std::uint32_t> placed; ///< in row order; boxes never overlap
    };

    KelDataMapLayout(const KelDataMapRecord &record, const KelDataMapTextMeasure &measure);

    const std::vector<Placed> &placed() const { return m_placed; }
    const std::vector<Row> &rows() const { return m_rows; }
    const std::vector<Pane> &panes() const { return m_panes; }
    const std::vector<Lane> &lanes() const { return m_lanes; }

    double columnWidth() const { return m_columnWidth; }
    double rulerWidth() const { return m_rulerWidth; }
    /// The right edge of the ruler's offset texts (they are right aligned against it).
    double offsetLabelRight() const { return m_offsetLabelRight; }
    double width() const { return m_width; }
    double height() const { return rowHeight * (static_cast<double>(m_rows.size()) + 1); }
    /// The bit offset of the record's end, shown at the last line.
    std::uint64_t endBitOffset() const { return m_endBitOffset; }

    /// The y of row `row`'s line; rowLine(rows().size()) is the end line.
    static double rowLine(std::uint32_t row) { return topMargin + rowHeight * row; }
    /// The left edge of the cell of `placed`.
    double cellLeft(const Placed &placed) const;
    /// Where the name's baseline starts.
    double nameX(const Placed &placed) const { return cellLeft(placed) + nameInset; }
    double nameBaseline(const Placed &placed) const { return rowLine(placed.row) + nameDrop; }
    /// The x of the caption's anchor point: the end of the name and a blank, on the row line;
    /// the caption's baseline starts 20 units right of and 20 units below the anchor point.
    double captionAnchorX(const Placed &placed) const;
    double captionX(const Placed &placed) const { return captionAnchorX(placed) + nameInset; }
    /// The byte offset shown for row `row` (rows().size(): the record's end).
    std::uint64_t byteOffsetOfLine(std::uint32_t row) const;

    /// The index in placed() of the item whose cell holds the point, or -1.
    int placedAt(double x, double y) const;
    /// The index in placed() of the record's item at `index` (KelDataMapRecord::indexOf), or -1
    /// when it is hidden.
    int placedOfRecordIndex(int index) const;
    /// The rows whose band [line, next line) meets [y0, y1]: first and one past the last.
    std::pair<std::uint32_t, std::uint32_t> rowsBetween(double y0, double y1) const;

    /// The map as text, one line per row: the byte offset right-aligned in 8 characters, then per
    /// item two blanks, its column, a blank, its name and " OCCURS n TIMES" when it occurs.
    std::string text() const;

private:
    void placeItems(const KelDataMapRecord &record);
    void measure(const KelDataMapTextMeasure &measure);
    void arrange();

    std::vector<Placed> m_placed;
    std::vector<Row> m_rows;
    std::vector<Pane> m_panes;
    std::vector<Lane> m_lanes;
    std::vector<int> m_placedOfIndex; ///< record item index -> placed index, -1 when hidden
    double m_columnWidth = 0;
    double m_rulerWidth = 0;
    double m_offsetLabelRight = 0;
    double m_width = 0;
    double m_spaceWidth = 0;
    std::uint64_t m_endBitOffset = 0;
};
