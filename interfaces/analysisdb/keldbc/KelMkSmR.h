#pragma once

#include "DbCursor.h"
#include "DbMark.h"
#include "DbPu.h"

/// Walks the mark records of a loaded program unit (the date fields and windowing sites the
/// analysis found), in token order; each gives the marked token's number (`tokenNumber()`).
class KelMkSmR final : public DbCursor<const DbMark>
{
public:
    explicit KelMkSmR(DbPu &pu)
        : DbCursor<const DbMark>(std::span<const DbMark>(pu.m_marks))
    {}
};
