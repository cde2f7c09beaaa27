#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace cobol {

class AnalysisData;
struct SourcePlace;

/// Reads ".adt" text (ADT_FORMAT.md) into an AnalysisData, checking every record: field counts,
/// numbers, enum words, ids in sequence, references in range, the END trailer's counts. Fields
/// beyond those this version knows are ignored, so later writers may append fields.
class AdtReader final
{
public:
    /// Reads the whole of `in` at once; `fileName` names it in messages.
    AdtReader(std::istream &in, std::string_view fileName);
    /// Parses `text`, the whole file's contents.
    AdtReader(std::string text, std::string_view fileName)
        : m_text(std::move(text))
        , m_fileName(fileName)
    {}

    /// Throws IAccessError "<file>:<line>: expected <what>, found <what>".
    AnalysisData read();

private:
    bool nextRecord();
    [[noreturn]] void fail(std::string_view expected, std::string_view found) const;
    void need(std::size_t count, std::string_view what) const;
    std::string_view text(std::size_t index) const { return m_fields[index]; }
    std::uint64_t number(std::size_t index, std::string_view what) const;
    std::int64_t signedNumber(std::size_t index, std::string_view what) const;
    std::uint32_t id(std::size_t index, std::string_view what) const;
    bool flag(std::size_t index, std::string_view what) const;
    SourcePlace place(std::size_t index) const;
    template<typename Enum>
    Enum word(std::size_t index, std::string_view what, std::initializer_list<Enum> values) const;
    void check(const AnalysisData &data) const;

    std::string m_text;         ///< the whole file
    std::size_t m_position = 0; ///< start of the next line in m_text
    std::string m_fileName;
    std::string_view m_line;
    std::uint64_t m_lineNumber = 0;
    /// This line's fields: views into m_text, or into m_unescaped for fields with escapes. Both
    /// vectors are reused; only the first m_fieldCount entries are this line's.
    std::vector<std::string_view> m_fields;
    std::vector<std::string> m_unescaped;
    std::size_t m_fieldCount = 0;
};

} // namespace cobol
