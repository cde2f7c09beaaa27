#pragma once

#include <cstddef>
#include <string>
#include <vector>

/// The sources chosen for a conversion, in the order they were added. Two entries for the same
/// full path count as one: adding a path that is already held reports false and changes nothing.
class ConversionFileCollection final
{
public:
    /// Adds the source `fullPath`; true when it was newly added.
    bool add(const std::string &fullPath);
    /// Removes the source `fullPath`; true when it was held.
    bool remove(const std::string &fullPath);
    bool contains(const std::string &fullPath) const;

    std::size_t size() const { return m_paths.size(); }
    bool isEmpty() const { return m_paths.empty(); }
    const std::vector<std::string> &paths() const { return m_paths; }

private:
    std::vector<std::string> m_paths;
};
