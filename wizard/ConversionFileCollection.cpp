#include "ConversionFileCollection.h"

#include "ConversionFile.h"
#include "ConversionInputs.h"

#include <algorithm>

ConversionFileCollection::ConversionFileCollection() = default;
ConversionFileCollection::~ConversionFileCollection() = default;

bool ConversionFileCollection::add(std::unique_ptr<ConversionFile> file)
{
    if (!file || find(file->fullPath()) || sameBaseName(file->fullPath()))
        return false;
    m_files.push_back(std::move(file));
    return true;
}

std::unique_ptr<ConversionFile> ConversionFileCollection::remove(const ConversionFile &file)
{
    const auto it = std::find_if(m_files.begin(), m_files.end(), [&file](const auto &held) {
        return held.get() == &file;
    });
    if (it == m_files.end())
        return nullptr;
    std::unique_ptr<ConversionFile> removed = std::move(*it);
    m_files.erase(it);
    return removed;
}

ConversionFile *ConversionFileCollection::find(const std::string &fullPath) const
{
    const auto it = std::find_if(m_files.begin(), m_files.end(), [&fullPath](const auto &held) {
        return held->fullPath() == fullPath;
    });
    return it == m_files.end() ? nullptr : it->get();
}

const ConversionFile *ConversionFileCollection::sameBaseName(const std::string &fullPath) const
{
    const std::string conflict = ConversionInputs::baseNameConflict(paths(), fullPath);
    return conflict.empty() ? nullptr : find(conflict);
}

std::vector<std::string> ConversionFileCollection::paths() const
{
    std::vector<std::string> result;
    result.reserve(m_files.size());
    for (const auto &file : m_files)
        result.push_back(file->fullPath());
    return result;
}
