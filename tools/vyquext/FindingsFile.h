#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace vyquext {

/// The date-field kind codes shared with the engine and the analyser.
enum class FieldKind {
    AlwaysConflict = 0,
    AlwaysYear,
    AlwaysNonYear,
    UsedAsYear,
    UsedAsNonYear,
    UsedAsYearAndNonYear
};

/// A date field found by the analyser: bytes `first` to `first + length - 1` (1-based) of the
/// item carry `kind`. `copybook` names the copybook that declares the item (empty: the program).
struct FieldFinding
{
    std::string file;
    std::size_t line = 0;
    std::string name; ///< upper case
    FieldKind kind = FieldKind::UsedAsYear;
    std::size_t first = 1;
    std::size_t length = 0;
    std::string copybook;
};

/// A statement the analyser says needs windowing, or a conflict it could not resolve.
struct SiteFinding
{
    enum class Type { Window, Conflict };
    Type type = Type::Window;
    std::string file;
    std::size_t line = 0;
    std::string subject; ///< item names (WINDOW) or the item (CONFLICT)
    std::string reason;  ///< explanation; for a conflict its witnesses and steps
};

/// The findings file (".xca") that kelmkpu writes for vyquext. See README.md for the records.
class FindingsFile final
{
public:
    std::vector<FieldFinding> fields;
    std::vector<SiteFinding> sites;
    std::size_t ignoredLines = 0; ///< records with tags this reader does not know

    /// Reads `path`. Throws IAccessError when the file cannot be read, holds an ERROR record
    /// (the analysis did not run), or "<file>:<line>: expected <what>, found <text>" for a
    /// malformed known record or an unknown format version.
    static FindingsFile load(const std::string &path);
    static FindingsFile parse(const std::string &text, const std::string &fileName);

    /// The kind for a code ("3") or a name ("USED-AS-YEAR"); false when unknown.
    static bool parseKind(const std::string &text, FieldKind &kind);
    static bool isYear(FieldKind kind);
    static bool isConflict(FieldKind kind);
};

} // namespace vyquext
