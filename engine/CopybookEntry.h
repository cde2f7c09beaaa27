#pragma once

#include "IncludeEntry.h"

#include <map>
#include <string>

/// A copybook that at least one analysed program includes, with one entry per include
/// qualifier, ordered by qualifier. Shared by the seed table and the programs that include it.
class CopybookEntry final
{
public:
    explicit CopybookEntry(std::string name)
        : m_name(std::move(name))
    {}
    CopybookEntry(const CopybookEntry &) = delete;
    CopybookEntry &operator=(const CopybookEntry &) = delete;

    const std::string &name() const { return m_name; }

    /// The entry for `qualifier`, or null.
    IncludeEntry *includeEntry(const std::string &qualifier);
    const IncludeEntry *includeEntry(const std::string &qualifier) const;

    /// Inserts an empty entry for `qualifier`; the qualifier must not be present yet.
    IncludeEntry &addIncludeEntry(const std::string &qualifier);

    const std::map<std::string, IncludeEntry> &includeEntries() const { return m_includes; }
    std::map<std::string, IncludeEntry> &includeEntries() { return m_includes; }

private:
    std::string m_name;
    std::map<std::string, IncludeEntry> m_includes;
};
