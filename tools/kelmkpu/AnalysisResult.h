#pragma once

#include "DateKind.h"
#include "ProgramModel.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kelmkpu {

/// One date field found: `length` bytes from byte `first` (1-based, inside the item) of an
/// elementary item carry `kind`.
struct FieldFinding
{
    std::uint32_t item = 0;
    DateKind kind = DateKind::UsedAsYear;
    std::uint32_t first = 1;
    std::uint32_t length = 0;
};

/// A run of a copybook's own layout, as the program-info file carries it.
struct KindRun
{
    DateKind kind = DateKind::UsedAsYear;
    std::uint32_t index = 1; ///< 1-based
    std::uint32_t length = 0;
};

/// The runs found for one (copybook, qualifier); several COPYs with the same key are joined.
struct IncludeResult
{
    std::string copybook;
    std::string qualifier;
    std::vector<KindRun> runs;
};

/// A statement that needs windowing by the conversion aid.
struct WindowSite
{
    std::uint32_t statement = 0;
    std::vector<std::uint32_t> yearItems; ///< the two-digit year items involved
    std::string reason;
};

/// One step of a conflict's explanation: a statement that joined two bytes, or the origin of a
/// piece of evidence.
struct ExplanationStep
{
    SourcePos pos;
    std::string text;
};

/// A class of bytes holding both year and non-year evidence.
struct Conflict
{
    std::uint32_t item = 0; ///< the first elementary item touching the class
    std::string yearWitness;
    std::string nonYearWitness;
    std::vector<ExplanationStep> chain; ///< from the year witness to the non-year witness
};

enum class Severity { Note, Warning };

struct Message
{
    Severity severity = Severity::Note;
    SourcePos pos;
    std::string text;
};

/// Everything one analysis found, in plain values that the writers (and later the analysis
/// database) consume. All lists are in a deterministic order.
struct AnalysisResult
{
    std::vector<FieldFinding> fields;
    std::vector<IncludeResult> includes;
    std::vector<WindowSite> windows;
    std::vector<Conflict> conflicts;
    std::vector<Message> messages;

    bool hasWarnings() const
    {
        if (!conflicts.empty())
            return true;
        for (const Message &message : messages)
            if (message.severity == Severity::Warning)
                return true;
        return false;
    }
};

} // namespace kelmkpu
