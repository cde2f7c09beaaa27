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
    AdtReader(std::istream &in, std::string_view fileName)
        : m_in(in)
        , m_fileName(fileName)
    {}

    /// Throws IAccessError "<file>:<line>: expected <what>, found <what>".
    AnalysisData read();

private:
    bool nextRecord();
    [[noreturn]] void fail(std::string_view expected, std::string_view found) const;
    void need(std::size_t count, std::string_view what) const;
    const std::string &text(std::size_t index) const { return m_fields[index]; }
    std::uint64_t number(std::size_t index, std::string_view what) const;
    std::int64_t signedNumber(std::size_t index, std::string_view what) const;
    std::uint32_t id(std::size_t index, std::string_view what) const;
    bool flag(std::size_t index, std::string_view what) const;
    SourcePlace place(std::size_t index) const;
    template<typename Enum>
    Enum word(std::size_t index, std::string_view what, std::initializer_list<Enum> values) const;
    void check(const AnalysisData &data) const;

    std::istream &m_in;
    std::string m_fileName;
    std::string m_line;
    std::uint64_t m_lineNumber = 0;
    std::vector<std::string> m_fields; ///< reused; only the first m_fieldCount are this line's
    std::size_t m_fieldCount = 0;
};

} // namespace cobol
