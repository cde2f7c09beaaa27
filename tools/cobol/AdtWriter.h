#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <string_view>

namespace cobol {

class AnalysisData;
struct SourcePlace;

/// Writes an AnalysisData as ".adt" text (ADT_FORMAT.md): one tab-separated record per line.
/// Records are built in one memory buffer and handed to the sink a few MiB at a time, so a large
/// program costs a handful of writes rather than a stream call per field.
class AdtWriter final
{
public:
    /// Receives consecutive pieces of the file; returns false when a piece could not be written.
    using Sink = std::function<bool(std::string_view)>;

    /// Writes to `out`; check the stream (or the result of write()) afterwards.
    explicit AdtWriter(std::ostream &out);
    explicit AdtWriter(Sink sink)
        : m_sink(std::move(sink))
    {}

    /// Writes every record and the END trailer; false when the sink refused a piece (the rest is
    /// then not written).
    bool write(const AnalysisData &data);

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
    void flush();

    Sink m_sink;
    std::string m_buffer;
    bool m_ok = true;
};

} // namespace cobol
