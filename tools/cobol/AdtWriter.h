#pragma once

#include <cstdint>
#include <iosfwd>
#include <string_view>

namespace cobol {

class AnalysisData;
struct SourcePlace;

/// Writes an AnalysisData as ".adt" text (ADT_FORMAT.md): one tab-separated record per line.
class AdtWriter final
{
public:
    explicit AdtWriter(std::ostream &out)
        : m_out(out)
    {}

    /// Writes every record and the END trailer; check the stream afterwards.
    void write(const AnalysisData &data);

    /// `text` with backslash, tab, newline and carriage return escaped.
    static std::string escape(std::string_view text);

private:
    void field(std::string_view text);
    void field(std::uint64_t number);
    void signedField(std::int64_t number);
    void flag(bool value);
    void place(const SourcePlace &place);
    void begin(std::string_view tag);
    void end();

    std::ostream &m_out;
};

} // namespace cobol
