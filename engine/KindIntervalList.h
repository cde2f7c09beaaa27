#pragma once

#include "KindInterval.h"

#include <vector>

/// Checks and repairs the run lists that arrive from program-info files, so that the seed table
/// only ever holds ascending, non-overlapping runs.
namespace KindIntervalList {

/// True when every run has index > 0 and length > 0, ends at or before byte 0xFFFFFFFF, and every
/// run starts after the previous one ends.
bool isWellFormed(const std::vector<KindInterval> &runs);

/// Makes `runs` well formed, leaving a well-formed list exactly as it is:
/// - runs with index 0 or length 0 are dropped (they denote no bytes);
/// - a run reaching past byte 0xFFFFFFFF is cut off there;
/// - the runs are sorted by index;
/// - bytes covered by several runs get the kind that combining them in list order gives
///   (`combineKinds(later, earlier)`), as if each run had been reported on its own; the list is
///   then cut at every place where the set of covering runs changes.
/// Takes O(n log n) time for n runs.
void normalise(std::vector<KindInterval> &runs);

} // namespace KindIntervalList
