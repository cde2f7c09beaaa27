#pragma once

#include <cstdint>
#include <memory>
#include <string>

class DbPu;

/// An entry of the execution unit's program-unit table: one program unit with its number.
class DbPuEntry final
{
public:
    /// The unit's name, as `DbPu::puName()`.
    const std::string &puName() const;
    /// The unit; never null. It may not be loaded yet (`DbPu::isLoaded`).
    DbPu *pu() const { return m_pu.get(); }
    /// The unit's number in its execution unit (1..M).
    std::uint32_t number() const { return m_number; }

    DbPuEntry(std::unique_ptr<DbPu> pu, std::uint32_t number);
    DbPuEntry(DbPuEntry &&) noexcept;
    DbPuEntry &operator=(DbPuEntry &&) noexcept;
    ~DbPuEntry();

private:
    std::unique_ptr<DbPu> m_pu;
    std::uint32_t m_number = 0;
};
