#pragma once

#include <map>
#include <memory>
#include <string>

class CopybookEntry;

/// What the seed table knows about one analysed program: its name and the copybooks it
/// includes, keyed by copybook name. Owned by the program's file record; the copybook entries are
/// shared with the seed table that created them, so either may go away first.
class ProgramInfo final
{
public:
    explicit ProgramInfo(std::string name)
        : m_name(std::move(name))
    {}
    ProgramInfo(const ProgramInfo &) = delete;
    ProgramInfo &operator=(const ProgramInfo &) = delete;

    const std::string &name() const { return m_name; }

    /// The included copybooks, ordered by name.
    const std::map<std::string, std::shared_ptr<CopybookEntry>> &copybooks() const
    {
        return m_copybooks;
    }
    bool includes(const std::string &copybookName) const
    {
        return m_copybooks.contains(copybookName);
    }

    /// Identifies this program in the change marks of include entries; it expires with the
    /// program, so a mark never points at a program that has gone.
    const std::shared_ptr<const int> &identity() const { return m_identity; }

private:
    friend class SeedTable; // adds copybooks

    std::string m_name;
    std::map<std::string, std::shared_ptr<CopybookEntry>> m_copybooks;
    std::shared_ptr<const int> m_identity = std::make_shared<const int>(0);
};
