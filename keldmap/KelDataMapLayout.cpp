#include "KelDataMapLayout.h"

#include "KelDataMapItem.h"
#include "KelDataMapRecord.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <map>

namespace {

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return a > std::numeric_limits<std::uint64_t>::max() - b
               ? std::numeric_limits<std::uint64_t>::max()
               : a + b;
}

std::string byteOffsetText(std::uint64_t bits)
{
    char text[32];
    std::snprintf(text, sizeof text, "%8llu", static_cast<unsigned long long>(bits / 8));
    return text;
}

} // namespace

KelDataMapLayout::KelDataMapLayout(const KelDataMapRecord &record,
                                   const KelDataMapTextMeasure &measure)
{
    placeItems(record);
    this->measure(measure);
    arrange();
}

void KelDataMapLayout::placeItems(const KelDataMapRecord &record)
{
    const int count = static_cast<int>(record.size());
    std::vector<std::uint32_t> paneOf(static_cast<std::size_t>(count), 0);
    // The last position used in each pane and column, to keep two items out of one cell.
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::uint64_t> lastPosition;
    std::uint32_t panes = 1;
    m_placedOfIndex.assign(static_cast<std::size_t>(count), -1);
    for (int i = 0; i < count;) {
        KelDataMapItem *item = record.items()[static_cast<std::size_t>(i)].item();
        const int parent = record.parentOf(i);
        std::uint32_t pane = parent >= 0 ? paneOf[static_cast<std::size_t>(parent)] : 0;
        if (record.startsPane(i))
            pane = panes++;
        const std::uint64_t position = item->hasPosition() ? item->bitOffset() : 0;
        const auto cell = std::make_pair(pane, item->column());
        const auto used = lastPosition.find(cell);
        if (used != lastPosition.end() && used->second == position) {
            pane = panes++;
        }
        lastPosition[std::make_pair(pane, item->column())] = position;
        paneOf[static_cast<std::size_t>(i)] = pane;
        Placed placed;
        placed.item = item;
        placed.index = i;
        placed.pane = pane;
        placed.column = item->column();
        m_placed.push_back(placed);
        // A collapsed item hides the items below it: they follow it in declaration order.
        i += item->expanded() ? 1 : record.subtreeSize(i) + 1;
    }
    m_panes.assign(panes, Pane{});

    std::vector<std::uint64_t> keys;
    keys.reserve(m_placed.size());
    for (const Placed &placed : m_placed)
        keys.push_back(placed.item->hasPosition() ? placed.item->bitOffset() : 0);
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    m_rows.resize(keys.size());
    for (std::size_t r = 0; r < keys.size(); ++r)
        m_rows[r].bitOffset = keys[r];

    for (Placed &placed : m_placed) {
        const std::uint64_t start = placed.item->hasPosition() ? placed.item->bitOffset() : 0;
        const std::uint64_t end = saturatingAdd(start, placed.item->bitLength());
        m_endBitOffset = std::max(m_endBitOffset, end);
        placed.row = static_cast<std::uint32_t>(std::lower_bound(keys.begin(), keys.end(), start)
                                                - keys.begin());
        placed.endRow = static_cast<std::uint32_t>(std::lower_bound(keys.begin(), keys.end(), end)
                                                   - keys.begin());
        placed.endRow = std::max(placed.endRow, placed.row + 1);
    }
    std::sort(m_placed.begin(), m_placed.end(), [](const Placed &a, const Placed &b) {
        return a.row != b.row ? a.row < b.row : a.index < b.index;
    });
    std::vector<bool> paneSeen(m_panes.size(), false);
    for (std::size_t p = 0; p < m_placed.size(); ++p) {
        const Placed &placed = m_placed[p];
        m_placedOfIndex[static_cast<std::size_t>(placed.index)] = static_cast<int>(p);
        Row &row = m_rows[placed.row];
        if (row.count == 0)
            row.first = static_cast<std::uint32_t>(p);
        ++row.count;
        Pane &pane = m_panes[placed.pane];
        if (!paneSeen[placed.pane]) {
            paneSeen[placed.pane] = true;
            pane.firstColumn = pane.lastColumn = placed.column;
        }
        pane.firstColumn = std::min(pane.firstColumn, placed.column);
        pane.lastColumn = std::max(pane.lastColumn, placed.column);
    }
}

void KelDataMapLayout::measure(const KelDataMapTextMeasure &measure)
{
    std::size_t longestName = 0;
    double widest = 0;
    for (Placed &placed : m_placed) {
        const std::string &name = placed.item->name();
        longestName = std::max(longestName, name.size());
        placed.nameWidth = measure.width(name);
        double needed = nameInset + placed.nameWidth;
        const std::string caption = placed.item->occursCaption();
        if (!caption.empty())
            needed += measure.width(" " + caption);
        widest = std::max(widest, needed + cellPadding);
    }
    m_spaceWidth = measure.width(" ");
    const double characters = static_cast<double>(
        std::max<std::size_t>(longestName, minimumColumnCharacters));
    m_columnWidth = std::ceil(std::max(measure.averageCharWidth() * characters, widest));

    // The ruler shows up to eight digits; longer offsets widen it, keeping the room to spare
    // that eight digits leave in the width of ten.
    const double tenDigits = measure.width("0000000000");
    const double spare = std::max(0.0, tenDigits - offsetInset - measure.width("00000000"));
    const std::string endLabel = byteOffsetText(m_endBitOffset);
    const std::string digits = endLabel.substr(endLabel.find_first_not_of(' '));
    m_rulerWidth = std::ceil(
        std::max(tenDigits, offsetInset + measure.width(std::string(digits.size(), '0')) + spare));
    m_offsetLabelRight = m_rulerWidth - spare;
}

void KelDataMapLayout::arrange()
{
    double x = m_rulerWidth + gutterWidth;
    std::vector<std::uint32_t> firstLane(m_panes.size(), 0);
    for (std::size_t p = 0; p < m_panes.size(); ++p) {
        Pane &pane = m_panes[p];
        const std::uint32_t columns = pane.lastColumn - pane.firstColumn + 1;
        pane.x = x;
        pane.width = columns * m_columnWidth;
        x += pane.width + gutterWidth;
        firstLane[p] = static_cast<std::uint32_t>(m_lanes.size());
        for (std::uint32_t c = pane.firstColumn; c <= pane.lastColumn; ++c)
            m_lanes.push_back({static_cast<std::uint32_t>(p),
                               c,
                               pane.x + (c - pane.firstColumn) * m_columnWidth,
                               {}});
    }
    m_width = x - gutterWidth + rightMargin;
    for (std::size_t p = 0; p < m_placed.size(); ++p) {
        Placed &placed = m_placed[p];
        Lane &lane
            = m_lanes[firstLane[placed.pane] + placed.column - m_panes[placed.pane].firstColumn];
        // Boxes of one lane never overlap: an item that starts inside the previous one (damaged
        // offsets) ends the previous box there.
        if (!lane.placed.empty()) {
            Placed &previous = m_placed[lane.placed.back()];
            if (previous.endRow > placed.row)
                previous.endRow = std::max(placed.row, previous.row + 1);
        }
        lane.placed.push_back(static_cast<std::uint32_t>(p));
    }
}

double KelDataMapLayout::cellLeft(const Placed &placed) const
{
    const Pane &pane = m_panes[placed.pane];
    return pane.x + (placed.column - pane.firstColumn) * m_columnWidth;
}

double KelDataMapLayout::captionAnchorX(const Placed &placed) const
{
    return cellLeft(placed) + placed.nameWidth + m_spaceWidth;
}

std::uint64_t KelDataMapLayout::byteOffsetOfLine(std::uint32_t row) const
{
    return (row < m_rows.size() ? m_rows[row].bitOffset : m_endBitOffset) / 8;
}

int KelDataMapLayout::placedAt(double x, double y) const
{
    if (m_rows.empty() || y < topMargin)
        return -1;
    const auto row = static_cast<std::uint32_t>((y - topMargin) / rowHeight);
    const auto lane = std::upper_bound(m_lanes.begin(),
                                       m_lanes.end(),
                                       x,
                                       [](double value, const Lane &l) { return value < l.x; });
    if (lane == m_lanes.begin())
        return -1;
    const Lane &hit = *(lane - 1);
    if (x >= hit.x + m_columnWidth)
        return -1;
    const auto found = std::upper_bound(hit.placed.begin(),
                                        hit.placed.end(),
                                        row,
                                        [this](std::uint32_t r, std::uint32_t p) {
                                            return r < m_placed[p].row;
                                        });
    if (found == hit.placed.begin())
        return -1;
    const std::uint32_t candidate = *(found - 1);
    return row < m_placed[candidate].endRow ? static_cast<int>(candidate) : -1;
}

int KelDataMapLayout::placedOfRecordIndex(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_placedOfIndex.size())
        return -1;
    return m_placedOfIndex[static_cast<std::size_t>(index)];
}

std::pair<std::uint32_t, std::uint32_t> KelDataMapLayout::rowsBetween(double y0, double y1) const
{
    const auto clampRow = [this](double y) {
        const double r = std::floor((y - topMargin) / rowHeight);
        return static_cast<std::uint32_t>(std::clamp(r, 0.0, static_cast<double>(m_rows.size())));
    };
    return {clampRow(y0), std::min<std::uint32_t>(clampRow(y1) + 1, m_rows.size())};
}

std::string KelDataMapLayout::text() const
{
    std::string out;
    for (const Row &row : m_rows) {
        out += byteOffsetText(row.bitOffset);
        for (std::uint32_t p = row.first; p < row.first + row.count; ++p) {
            const KelDataMapItem &item = *m_placed[p].item;
            out += "  " + std::to_string(m_placed[p].column) + " " + item.name();
            const std::string caption = item.occursCaption();
            if (!caption.empty())
                out += " " + caption;
        }
        out += '\n';
    }
    return out;
}
