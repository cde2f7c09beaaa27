#pragma once

#include <cstdint>
#include <string>

class DbSymbol;
class DbToken;

/// A token the date-field analysis marked: the declaration of a date field, or a statement the
/// conversion must window.
class DbMark final
{
public:
    enum Kind : std::uint8_t {
        dateField = 0, ///< the declaring token of an item that holds a year (text: its kind)
        windowSite = 1 ///< the first token of a statement to window (text: why)
    };

    Kind kind() const { return m_kind; }
    /// The marked token's number in its unit.
    std::uint32_t tokenNumber() const { return m_tokenNumber; }
    DbToken *token() const { return m_token; }
    /// The item concerned (the date field, or the two-digit year being windowed); may be null.
    DbSymbol *symbol() const { return m_symbol; }
    /// For a date field its kind and bytes ("USED-AS-YEAR bytes 1-2"); for a window site the
    /// reason.
    const std::string &text() const { return m_text; }

private:
    friend class DbPu;

    std::string m_text;
    DbToken *m_token = nullptr;
    DbSymbol *m_symbol = nullptr;
    std::uint32_t m_tokenNumber = 0;
    Kind m_kind = dateField;
};
