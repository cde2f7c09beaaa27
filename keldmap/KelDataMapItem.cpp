#include "KelDataMapItem.h"

#include "DbPu.h"
#include "DbSymbol.h"
#include "DbToken.h"

#include <charconv>
#include <limits>

namespace {

constexpr const char *zeroPosition = "00000000";

std::uint32_t keyOf(const DbSymbol *symbol)
{
    if (!symbol || !symbol->declaringToken() || !symbol->pPu())
        return 0;
    return symbol->pPu()->tokenToNumber(symbol->declaringToken());
}

/// The display text of the first subordinate item that has storage (condition names and
/// constants have none); null when there is none.
const std::string *firstSubordinatePosition(const DbSymbol &group)
{
    for (DbSymbol::ChildCursor cursor(group); cursor.isValid(); cursor.setToNext()) {
        const DbSymbol &child = cursor.element();
        std::uint64_t bits = 0;
        if (child.level() != 88 && child.level() != 78
            && KelDataMapItem::parsePosition(child.displayText(), bits))
            return &child.displayText();
    }
    return nullptr;
}

} // namespace

KelDataMapItem::KelDataMapItem(DbSymbol &symbol, KelDataMapWindow *window)
    : m_symbol(&symbol)
    , m_displayText(&symbol.displayText())
    , m_window(window)
    , m_key(keyOf(&symbol))
    , m_attribute(symbol.level())
{
    if (*m_displayText == zeroPosition && symbol.isGroup()) {
        if (const std::string *first = firstSubordinatePosition(symbol))
            m_displayText = first;
    }
    for (unsigned r = 0; r < relatedCount; ++r)
        if (symbol.hasRelatedSymbol(static_cast<DbSymbol::Relation>(r)))
            m_related[r] = keyOf(symbol.relatedSymbol(static_cast<DbSymbol::Relation>(r)));
    if (symbol.record() && symbol.record() != &symbol)
        m_ownerRecord = symbol.record();
    m_hasPosition = parsePosition(*m_displayText, m_bitOffset);
}

const std::string &KelDataMapItem::name() const
{
    return m_symbol->name();
}

bool KelDataMapItem::parsePosition(const std::string &text, std::uint64_t &bits)
{
    if (text.size() != 8 || text.starts_with("0E"))
        return false;
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || end != text.data() + text.size())
        return false;
    bits = value;
    return true;
}

std::uint64_t KelDataMapItem::bitLength() const
{
    // Saturates: a huge OCCURS count times a long entry must not wrap round to a small extent.
    const unsigned __int128 times = m_symbol->hasOccurrences() ? m_symbol->occurrences() : 1;
    const unsigned __int128 bits = static_cast<unsigned __int128>(m_symbol->length()) * times * 8;
    const unsigned __int128 limit = std::numeric_limits<std::uint64_t>::max();
    return static_cast<std::uint64_t>(bits > limit ? limit : bits);
}

bool KelDataMapItem::takesStorage() const
{
    return m_hasPosition && m_attribute != 88 && m_attribute != 78;
}

std::string KelDataMapItem::occursCaption() const
{
    if (!m_symbol->hasOccurrences())
        return {};
    return "OCCURS " + std::to_string(m_symbol->occurrences()) + " TIMES";
}
