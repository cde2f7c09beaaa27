#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace cobol {

class AnalysisData;

/// Writes an AnalysisData as the binary analysis data file (ADT_FORMAT.md, "Binary file"): a
/// header, a table of sections and the sections, each a run of LEB128 numbers and texts, so that
/// a reader can take the statements and the tokens one by one without parsing anything else.
class AdtBinaryWriter final
{
public:
    /// Receives consecutive pieces of the file; returns false when a piece could not be written.
    using Sink = std::function<bool(std::string_view)>;

    /// Writes the whole file; false when the sink refused a piece (the rest is then not written).
    static bool write(const AnalysisData &data, const Sink &sink);

    /// The whole file in memory.
    static std::string encode(const AnalysisData &data);
};

} // namespace cobol
