#pragma once

#include "DbCursor.h"
#include "DbPu.h"
#include "DbSymbol.h"

/// Walks every symbol of a loaded program unit in declaration order (symbol numbers 1..S).
/// On a unit that is not loaded it is never valid.
class KelPuSmCursor final : public DbCursor<DbSymbol>
{
public:
    explicit KelPuSmCursor(DbPu &pu)
        : DbCursor<DbSymbol>(std::span<DbSymbol>(pu.m_symbols))
    {}
};
