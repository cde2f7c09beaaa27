#pragma once

#include "KindInterval.h"

#include <ostream>
#include <vector>

inline constexpr DateFieldKind AC = DateFieldKind::AlwaysConflict;
inline constexpr DateFieldKind AY = DateFieldKind::AlwaysYear;
inline constexpr DateFieldKind AN = DateFieldKind::AlwaysNonYear;
inline constexpr DateFieldKind UY = DateFieldKind::UsedAsYear;
inline constexpr DateFieldKind UN = DateFieldKind::UsedAsNonYear;
inline constexpr DateFieldKind UB = DateFieldKind::UsedAsYearAndNonYear;

using Runs = std::vector<KindInterval>;

inline std::ostream &operator<<(std::ostream &out, const KindInterval &run)
{
    return out << '[' << int(run.kind) << ' ' << run.index << '+' << run.length << ']';
}
