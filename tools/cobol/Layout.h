#pragma once

#include "AnalysisData.h"
#include "DataDivisionParser.h"
#include "Dialect.h"

#include <vector>

namespace cobol {

/// Lays out the data items byte by byte as GnuCOBOL does for a dialect: sizes of elementary items
/// from PICTURE and USAGE, groups as the sum of their children (REDEFINES at the redefined
/// item's offset, a larger REDEFINES growing the group when the dialect allows it), OCCURS at
/// its maximum, SYNCHRONIZED slack relative to the record start, and the padding GnuCOBOL gives a
/// group that OCCURS when its children are synchronized. Then the canonical copybook
/// coordinates: every copybook's entries laid out on their own from offset 0.
class Layout final
{
public:
    Layout(AnalysisData &data, const std::vector<DataEntryInfo> &info, const Dialect &dialect)
        : m_data(data)
        , m_info(info)
        , m_dialect(dialect)
    {}

    void run();

    /// Bytes of an elementary item with this usage and picture under `dialect`.
    static std::uint64_t elementarySize(const DataItem &item,
                                        const DataEntryInfo &info,
                                        const Dialect &dialect);

private:
    void elementary(DataItem &item, const DataEntryInfo &info);
    std::uint64_t computeSize(std::vector<DataItem> &items, std::uint32_t id);
    std::uint64_t layoutChildren(std::vector<DataItem> &items,
                                 const std::vector<std::uint32_t> &children,
                                 std::uint64_t base,
                                 std::uint32_t occurs);
    std::uint32_t lastDescendant(std::uint32_t id) const;
    void canonical();

    AnalysisData &m_data;
    const std::vector<DataEntryInfo> &m_info;
    const Dialect &m_dialect;
    std::uint64_t m_occurAlign = 1;
};

} // namespace cobol
