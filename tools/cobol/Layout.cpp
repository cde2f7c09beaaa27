#include "Layout.h"

#include "Picture.h"

#include <algorithm>
#include <unordered_map>

namespace cobol {

namespace {

std::uint64_t binaryBytes(int digits, bool isSigned, bool realBinary, Dialect::BinarySize rule)
{
    switch (rule) {
    case Dialect::BinarySize::OneTwoFourEight:
        return digits <= 2 ? 1 : digits <= 4 ? 2 : digits <= 9 ? 4 : digits <= 18 ? 8 : 16;
    case Dialect::BinarySize::TwoFourEight:
        if (realBinary && digits <= 2)
            return 1;
        return digits <= 4 ? 2 : digits <= 9 ? 4 : digits <= 18 ? 8 : 16;
    case Dialect::BinarySize::MinimalBytes: {
        static const int signedLimits[] = {2, 4, 6, 9, 11, 14, 16, 18};
        static const int unsignedLimits[] = {2, 4, 7, 9, 12, 14, 16, 19};
        const int *limits = isSigned ? signedLimits : unsignedLimits;
        for (int bytes = 0; bytes < 8; ++bytes)
            if (digits <= limits[bytes])
                return static_cast<std::uint64_t>(bytes + 1);
        return 16;
    }
    }
    return 4;
}

std::uint64_t compXBytes(int digits)
{
    static const int limits[] = {2, 4, 7, 9, 12, 14, 16, 19, 21, 24, 26, 28, 31, 33, 36};
    for (int bytes = 0; bytes < 15; ++bytes)
        if (digits <= limits[bytes])
            return static_cast<std::uint64_t>(bytes + 1);
    return 16;
}

} // namespace

std::uint64_t Layout::elementarySize(const DataItem &item,
                                     const DataEntryInfo &info,
                                     const Dialect &dialect)
{
    const Picture pic = Picture::parse(item.picture);
    // GnuCOBOL sizes binary items by their digit positions without P.
    const int digits = std::min(pic.size, 18);
    switch (item.usage) {
    case Usage::Display:
        return static_cast<std::uint64_t>(pic.size) + (pic.isSigned && item.signSeparate ? 1 : 0);
    case Usage::National:
        return static_cast<std::uint64_t>(pic.size) * 2;
    case Usage::Binary:
        return binaryBytes(digits, pic.isSigned, false, dialect.binarySize);
    case Usage::Comp5:
        if (info.compX) {
            if (pic.category == Category::Numeric)
                return compXBytes(pic.size);
            static const int picDigits[] = {2, 4, 7, 9, 12, 14, 16, 18};
            return compXBytes(pic.size > 8 ? 36 : picDigits[std::max(pic.size, 1) - 1]);
        }
        return binaryBytes(digits, pic.isSigned, true, dialect.binarySize);
    case Usage::Packed:
        return static_cast<std::uint64_t>(pic.size) / 2 + 1;
    case Usage::Comp1:
        return 4;
    case Usage::Comp2:
        return 8;
    case Usage::Pointer:
        return 8;
    case Usage::Index:
        return 4;
    }
    return 0;
}

void Layout::elementary(DataItem &item, const DataEntryInfo &info)
{
    const Picture pic = Picture::parse(item.picture);
    item.digits = pic.digits;
    item.scale = pic.scale;
    item.isSigned = pic.isSigned;
    if (item.picture.empty()) {
        switch (item.usage) {
        case Usage::Comp1:
        case Usage::Comp2:
            item.category = Category::Float;
            break;
        case Usage::Pointer:
            item.category = Category::Pointer;
            break;
        case Usage::Index:
            item.category = Category::Index;
            break;
        default:
            item.category = Category::Group;
            break;
        }
    } else {
        item.category = pic.category;
        if (item.usage == Usage::National && pic.category == Category::Alphanumeric)
            item.category = Category::National;
    }
    item.length = (item.picture.empty() && item.category == Category::Group)
                      ? 0
                      : elementarySize(item, info, m_dialect);
    (void) info;
}

std::uint32_t Layout::lastDescendant(std::uint32_t id) const
{
    while (!m_info[id - 1].children.empty())
        id = m_info[id - 1].children.back();
    return id;
}

std::uint64_t Layout::layoutChildren(std::vector<DataItem> &items,
                                     const std::vector<std::uint32_t> &children,
                                     std::uint64_t base,
                                     std::uint32_t occurs)
{
    std::uint64_t size = 0;
    m_occurAlign = 1;
    auto extent = [&items](std::uint32_t id) {
        const DataItem &c = items[id - 1];
        return c.length * std::max<std::uint32_t>(c.occursMax, 1);
    };
    for (std::size_t k = 0; k < children.size(); ++k) {
        DataItem &c = items[children[k] - 1];
        const bool redefinesSibling = c.redefines != 0
                                      && std::find(children.begin(),
                                                   children.begin() + static_cast<long>(k),
                                                   c.redefines)
                                             != children.begin() + static_cast<long>(k);
        if (redefinesSibling) {
            c.offset = items[c.redefines - 1].offset;
            computeSize(items, c.id);
            const std::uint64_t own = extent(c.id);
            if (own > extent(c.redefines) && m_dialect.largerRedefinesOk) {
                // Grow by what exceeds the largest of the redefined item and the entries between.
                std::uint64_t largest = extent(c.redefines);
                const auto from = std::find(children.begin(), children.end(), c.redefines);
                for (auto it = from + 1; it != children.begin() + static_cast<long>(k); ++it)
                    largest = std::max(largest, extent(*it));
                if (own > largest)
                    size += own - largest;
            }
            continue;
        }
        c.offset = base + size;
        computeSize(items, c.id);
        size += extent(c.id);
        if (c.synchronized && m_dialect.syncAligns && m_info[c.id - 1].children.empty()) {
            std::uint64_t align = 1;
            switch (c.usage) {
            case Usage::Binary:
            case Usage::Comp5:
            case Usage::Comp1:
            case Usage::Comp2:
                if (c.length == 2 || c.length == 4 || c.length == 8 || c.length == 16)
                    align = c.length;
                break;
            case Usage::Index:
                align = 4;
                break;
            case Usage::Pointer:
                align = 8;
                break;
            case Usage::Display:
            case Usage::Packed:
            case Usage::National:
                break;
            }
            if (c.offset % align != 0) {
                const std::uint64_t pad = align - c.offset % align;
                c.offset += pad;
                size += pad;
            }
            m_occurAlign = std::max(m_occurAlign, align);
        }
    }
    if (occurs > 1 && size % m_occurAlign != 0) {
        // GnuCOBOL pads a repeated group to the alignment of its synchronized items and moves
        // its last elementary item by the padding.
        const std::uint64_t pad = m_occurAlign - size % m_occurAlign;
        size += pad;
        if (!children.empty())
            items[lastDescendant(children.back()) - 1].offset += pad;
    }
    return size;
}

std::uint64_t Layout::computeSize(std::vector<DataItem> &items, std::uint32_t id)
{
    DataItem &item = items[id - 1];
    const DataEntryInfo &info = m_info[id - 1];
    if (info.children.empty()) {
        elementary(item, info);
    } else {
        item.category = Category::Group;
        item.digits = 0;
        item.length = layoutChildren(items, info.children, item.offset, item.occursMax);
    }
    item.stride = item.occursMax ? item.length : 0;
    // Condition names and their variable share the bytes.
    for (std::uint32_t cond : info.conditions) {
        items[cond - 1].offset = item.offset;
        items[cond - 1].length = 0;
    }
    return item.length;
}

void Layout::run()
{
    std::vector<DataItem> &items = m_data.items;
    for (DataItem &item : items) {
        if (item.level == 1 || item.level == 77) {
            item.offset = 0;
            m_occurAlign = 1;
            computeSize(items, item.id);
        }
    }
    for (DataItem &item : items) {
        if (item.level == 78) {
            item.length = 0;
        } else if (item.level == 66 && item.renamesFrom) {
            const DataItem &from = items[item.renamesFrom - 1];
            item.offset = from.offset;
            item.usage = from.usage;
            if (item.renamesThru) {
                const DataItem &thru = items[item.renamesThru - 1];
                const std::uint64_t end = thru.offset + thru.length;
                item.length = end > from.offset ? end - from.offset : 0;
            } else {
                item.length = from.length;
                item.picture = from.picture;
                item.digits = from.digits;
                item.scale = from.scale;
                item.isSigned = from.isSigned;
            }
        }
    }
    canonical();
}

void Layout::canonical()
{
    std::vector<DataItem> &items = m_data.items;
    // Top entries of each include: storage entries it declares whose parent it did not declare.
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> tops;
    for (const DataItem &item : items) {
        if (item.declaredIn == 0 || item.level == 88 || item.level == 66 || item.level == 78)
            continue;
        if (item.parent == 0 || items[item.parent - 1].declaredIn != item.declaredIn)
            tops[item.declaredIn].push_back(item.id);
    }
    std::vector<std::uint32_t> topOf(items.size() + 1, 0);
    std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> members;
    for (const DataItem &item : items) {
        if (item.declaredIn != 0)
            members[item.declaredIn].push_back(item.id);
        if (item.declaredIn == 0 || item.level == 88 || item.level == 66 || item.level == 78)
            continue;
        std::uint32_t up = item.id;
        while (items[up - 1].parent
               && items[items[up - 1].parent - 1].declaredIn == item.declaredIn)
            up = items[up - 1].parent;
        topOf[item.id] = up;
    }
    // One scratch copy serves every include: a layout run rewrites the offsets and lengths of
    // exactly the entries it is about to compare.
    std::vector<DataItem> alone = items;
    for (auto &[include, list] : tops) {
        // Lay the copybook's entries out alone, as if under an 01 at offset 0. A REDEFINES of an
        // item outside the copybook is laid out as a plain entry there.
        std::vector<std::pair<std::uint32_t, std::uint32_t>> cut;
        for (std::uint32_t id : list) {
            DataItem &top = alone[id - 1];
            if (top.redefines && std::find(list.begin(), list.end(), top.redefines) == list.end()) {
                cut.emplace_back(id, top.redefines);
                top.redefines = 0;
            }
        }
        layoutChildren(alone, list, 0, 1);
        for (const auto &[id, redefines] : cut)
            alone[id - 1].redefines = redefines;
        // Offsets are compared relative to the first top entry of the same record: a copybook
        // may hold several records, each starting at 0 in the program.
        std::unordered_map<std::uint32_t, std::uint32_t> firstTopOfRecord;
        for (std::uint32_t id : list)
            firstTopOfRecord.emplace(items[id - 1].record, id);
        auto base = [&](std::uint32_t id) { return firstTopOfRecord[items[topOf[id] - 1].record]; };
        bool varies = false;
        for (std::uint32_t id : members[include]) {
            const DataItem &item = items[id - 1];
            if (topOf[item.id] == 0)
                continue;
            const std::uint32_t first = base(item.id);
            if (m_info[item.id - 1].sizeFromReplacing || alone[item.id - 1].length != item.length
                || alone[item.id - 1].offset - alone[first - 1].offset
                       != item.offset - items[first - 1].offset) {
                varies = true;
                break;
            }
        }
        for (std::uint32_t id : members[include]) {
            DataItem &item = items[id - 1];
            const std::uint32_t owner = item.level == 88 && item.parent ? item.parent : item.id;
            if (topOf[owner] == 0)
                continue;
            const std::uint32_t first = base(owner);
            item.hasCanonical = true;
            item.layoutVaries = varies;
            item.canonicalOffset = varies
                                       ? alone[first - 1].offset
                                             + (items[owner - 1].offset - items[first - 1].offset)
                                       : alone[owner - 1].offset;
            item.canonicalLength = item.level == 88 ? 0 : item.length;
        }
    }
}

} // namespace cobol
