#include "ConversionFileCollection.h"

#include "ConversionFile.h"

#include <algorithm>

ConversionFileCollection::ConversionFileCollection() = default;
ConversionFileCollection::~ConversionFileCollection() = default;

ConversionFile *ConversionFileCollection::add(std::unique_ptr<ConversionFile> record)
{
    if (!record || contains(record->fullPath()))
        return nullptr;
    m_records.push_back(std::move(record));
    return m_records.back().get();
}

bool ConversionFileCollection::add(const std::string &fullPath)
{
    if (contains(fullPath))
        return false;
    return add(std::make_unique<ConversionFile>(fullPath)) != nullptr;
}

bool ConversionFileCollection::remove(const std::string &fullPath)
{
    const auto it = std::find_if(m_records.begin(), m_records.end(), [&](const auto &record) {
        return record->fullPath() == fullPath;
    });
    if (it == m_records.end())
        return false;
    m_records.erase(it);
    return true;
}

bool ConversionFileCollection::contains(const std::string &fullPath) const
{
    return find(fullPath) != nullptr;
}

ConversionFile *ConversionFileCollection::find(const std::string &fullPath) const
{
    for (const auto &record : m_records) {
        if (record->fullPath() == fullPath)
            return record.get();
    }
    return nullptr;
}

std::vector<ConversionFile *> ConversionFileCollection::records() const
{
    std::vector<ConversionFile *> result;
    result.reserve(m_records.size());
    for (const auto &record : m_records)
        result.push_back(record.get());
    return result;
}

std::vector<std::string> ConversionFileCollection::paths() const
{
    std::vector<std::string> result;
    result.reserve(m_records.size());
    for (const auto &record : m_records)
        result.push_back(record->fullPath());
    return result;
}
