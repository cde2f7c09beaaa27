#include "CopybookEntry.h"

IncludeEntry *CopybookEntry::includeEntry(const std::string &qualifier)
{
    const auto found = m_includes.find(qualifier);
    return found == m_includes.end() ? nullptr : &found->second;
}

const IncludeEntry *CopybookEntry::includeEntry(const std::string &qualifier) const
{
    const auto found = m_includes.find(qualifier);
    return found == m_includes.end() ? nullptr : &found->second;
}

IncludeEntry &CopybookEntry::addIncludeEntry(const std::string &qualifier)
{
    return m_includes.try_emplace(qualifier, *this, qualifier).first->second;
}
