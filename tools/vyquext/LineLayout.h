#pragma once

#include "ConversionLog.h"
#include "SourceFile.h"

#include <optional>
#include <string>
#include <vector>

namespace vyquext {

/// Puts edited lines back into the source's format. Fixed format: columns 1-7 and 73-80 of an
/// edited line stay; code that no longer fits columns 8-72 is split at a blank outside literals
/// and continued on new lines in Area B (no continuation indicator is needed between separate
/// words). Free format: the same split at 255 columns. A change whose line cannot be laid out is
/// taken back whole.
class LineLayout final
{
public:
    static constexpr std::size_t freeLineLimit = 255;

    /// The lines that replace source line `line` once `edits` (all on that line) are applied;
    /// empty when the result cannot be laid out.
    static std::optional<std::vector<std::string>> layOut(const SourceFile &source,
                                                          std::size_t line,
                                                          std::vector<Edit> edits);

    /// The whole converted text. Changes whose lines cannot be laid out are marked undone in
    /// `log` and their edits dropped.
    static std::string apply(const SourceFile &source, ConversionLog &log);
};

} // namespace vyquext
