#include "DbEu.h"

#include "DbPu.h"
#include "PathNames.h"

std::string DbEu::databasePathIn(const std::string &directory)
{
    return PathNames::join(directory, databaseFileName);
}

DbEu::DbEu(std::string fileName,
           std::string euName,
           std::vector<DbUnitHeader> units,
           std::vector<std::int64_t> databaseIds)
    : m_fileName(std::move(fileName))
    , m_name(std::move(euName))
{
    m_treeRoot.m_text = m_name;
    m_treeRoot.m_kind = DbTreeInfo::root;
    m_units.m_entries.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const std::int64_t id = i < databaseIds.size() ? databaseIds[i] : 0;
        std::unique_ptr<DbPu> pu(new DbPu(*this, std::move(units[i]), id));
        m_units.m_entries.emplace_back(std::move(pu), static_cast<std::uint32_t>(i + 1));
    }
}

DbEu::~DbEu() = default;

std::uint32_t DbEu::puToNumber(const DbPu *pu) const
{
    if (!pu || pu->pEu() != this)
        return 0;
    for (const DbPuEntry &entry : m_units.m_entries)
        if (entry.pu() == pu)
            return entry.number();
    return 0;
}

DbPu *DbEu::numberToPu(std::uint32_t number)
{
    DbPuEntry *entry = m_units.entry(number);
    return entry ? entry->pu() : nullptr;
}

DbPu *DbEu::puNamed(const std::string &name)
{
    for (DbPuEntry &entry : m_units.m_entries)
        if (entry.puName() == name)
            return entry.pu();
    return nullptr;
}
