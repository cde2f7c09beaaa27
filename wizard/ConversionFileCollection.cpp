#include "ConversionFileCollection.h"

#include <algorithm>

bool ConversionFileCollection::add(const std::string &fullPath)
{
    if (contains(fullPath))
        return false;
    m_paths.push_back(fullPath);
    return true;
}

bool ConversionFileCollection::remove(const std::string &fullPath)
{
    const auto it = std::find(m_paths.begin(), m_paths.end(), fullPath);
    if (it == m_paths.end())
        return false;
    m_paths.erase(it);
    return true;
}

bool ConversionFileCollection::contains(const std::string &fullPath) const
{
    return std::find(m_paths.begin(), m_paths.end(), fullPath) != m_paths.end();
}
