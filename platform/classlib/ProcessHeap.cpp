#include "ProcessHeap.h"

#include <malloc.h>

namespace ProcessHeap {

void keepFreedMemory()
{
    constexpr int large = 512 * 1024 * 1024;
    // Blocks of any size up to half a gigabyte come from the heap, and its top is never trimmed.
    mallopt(M_MMAP_THRESHOLD, large);
    mallopt(M_TRIM_THRESHOLD, large);
    // The heap grows in steps of 16 MiB: fewer system calls; pages never touched cost nothing.
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
}

} // namespace ProcessHeap
