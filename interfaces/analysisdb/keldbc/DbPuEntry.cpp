#include "DbPuEntry.h"

#include "DbPu.h"

DbPuEntry::DbPuEntry(std::unique_ptr<DbPu> pu, std::uint32_t number)
    : m_pu(std::move(pu))
    , m_number(number)
{}

DbPuEntry::DbPuEntry(DbPuEntry &&) noexcept = default;
DbPuEntry &DbPuEntry::operator=(DbPuEntry &&) noexcept = default;
DbPuEntry::~DbPuEntry() = default;

const std::string &DbPuEntry::puName() const
{
    return m_pu->puName();
}
