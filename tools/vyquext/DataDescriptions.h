#pragma once

#include "CodeTokenizer.h"

#include <map>
#include <string>
#include <vector>

namespace vyquext {

/// What the conversion needs to know of one data description entry.
struct DataEntry
{
    std::string name; ///< upper case
    int level = 0;
    std::string picture; ///< upper case, as written
    int digits = 0;      ///< numeric digit positions (9 and P)
    int size = 0;        ///< character positions of a DISPLAY item (S, V and P take none)
    bool numeric = false;
    bool alphanumeric = false; ///< X or A positions, no editing
    std::string usage = "DISPLAY";
    std::string section;     ///< FILE, WORKING-STORAGE, LOCAL-STORAGE, LINKAGE; empty when unknown
    bool redefined = false;  ///< REDEFINES on the entry or an enclosing group, or redefined later
    std::string conditionOf; ///< level 88: its conditional variable
    std::string values;      ///< level 88: the VALUE clause's operands, blank-separated
    std::string file;        ///< the file that declares it
    std::size_t line = 0;    ///< 1-based
};

/// One REPLACING pair of a COPY statement, for single words: `from` (upper case) becomes `to`.
/// A tag such as ":PFX:" is replaced inside words too, as the compilers do.
struct Replacement
{
    enum class Mode { Whole, Leading, Trailing };
    Mode mode = Mode::Whole;
    std::string from;
    std::string to;
};

/// A COPY statement of the source.
struct CopyStatement
{
    std::string copybook; ///< as written, without quotes
    std::size_t line = 0; ///< 1-based
    std::vector<Replacement> replacements;
    bool replacingUnsupported = false; ///< a pair of several words: not applied
};

/// The data description entries of a program and of the copybooks it names, read from their
/// tokens. Not a full parser: it reads levels, names, PICTURE, USAGE and REDEFINES, which is what
/// deciding how to window an item needs.
class DataDescriptions final
{
public:
    /// Adds the entries found in `tokens` (all of a copybook, or the source's data division).
    void scan(const std::vector<Token> &tokens, const SourceFile &source);

    /// The COPY statements seen by `scan`, in order.
    const std::vector<CopyStatement> &copyStatements() const { return m_copies; }

    /// Every entry named `name` (upper case).
    std::vector<const DataEntry *> find(const std::string &name) const;
    /// True when `name` is declared as a condition name (level 88).
    bool isConditionName(const std::string &name) const;
    /// The condition names (level 88) declared under the item `name`.
    std::vector<const DataEntry *> conditionsOf(const std::string &name) const;

    /// Applies the single-word REPLACING pairs of `copy` to the words of `tokens`.
    static void applyReplacing(std::vector<Token> &tokens, const CopyStatement &copy);

    /// Digits and category of a picture string ("S9(4)V99", "XX", "99/99/99").
    static void describePicture(const std::string &picture, DataEntry &entry);

private:
    std::vector<DataEntry> m_entries;
    std::multimap<std::string, std::size_t> m_byName;
    std::vector<CopyStatement> m_copies;
};

} // namespace vyquext
