#include "ProcessHeap.h"

#include <cstdint>
#include <cstdlib>
#include <limits>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace ProcessHeap {

namespace {

constexpr std::uintptr_t hugePageBytes = 2 * 1024 * 1024;
// A small run stays below this and keeps ordinary pages: a huge page is cleared whole on first
// touch, which would cost a run that needs a few hundred kilobytes more than it saves.
constexpr std::uintptr_t smallRunBytes = 8 * 1024 * 1024;
// The heap's first growth reserves this much address space. Pages never touched cost nothing.
constexpr std::size_t reservedBytes = 512 * 1024 * 1024;

// Whether keepFreedMemory has reserved the heap's top.
bool topReserved = false;

std::uintptr_t alignUp(std::uintptr_t value, std::uintptr_t alignment)
{
    return (value + alignment - 1) / alignment * alignment;
}

std::uintptr_t pageBytes()
{
    return static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
}

std::uintptr_t currentBreak()
{
    return reinterpret_cast<std::uintptr_t>(sbrk(0));
}

// Reserves the heap's address space now and asks the kernel to back it with huge pages above
// the first few megabytes, so that a large run takes one page fault per 2 MiB instead of one
// per 4 KiB. The kernel may refuse (huge pages off, or an allocator that is not glibc's, as
// under the sanitizers): then the heap just keeps ordinary pages.
bool reserveHugePageHeap()
{
    const std::uintptr_t before = currentBreak();
    mallopt(M_TOP_PAD, static_cast<int>(reservedBytes));
    // Larger than what is left at the top of the heap, so that malloc grows it now (through a
    // volatile pointer: a block that is never used may otherwise be left out by the compiler).
    void *volatile grow = std::malloc(mallinfo2().keepcost + 64 * 1024);
    std::free(grow);
    const std::uintptr_t after = currentBreak();
    const std::uintptr_t start = alignUp(before + smallRunBytes, hugePageBytes);
    const std::uintptr_t end = after / hugePageBytes * hugePageBytes;
    if (after > before && end > start)
        madvise(reinterpret_cast<void *>(start), end - start, MADV_HUGEPAGE);
    return after >= before + reservedBytes;
}

} // namespace

void keepFreedMemory()
{
    constexpr int large = 512 * 1024 * 1024;
    // Blocks of any size up to half a gigabyte come from the heap, and its top is never trimmed.
    mallopt(M_MMAP_THRESHOLD, large);
    mallopt(M_TRIM_THRESHOLD, std::numeric_limits<int>::max());
    topReserved = reserveHugePageHeap();
    // Later growth comes in steps of 16 MiB: fewer system calls.
    mallopt(M_TOP_PAD, 16 * 1024 * 1024);
}

void returnFreeMemory()
{
    if (!topReserved) {
        malloc_trim(0);
        return;
    }
    // The pages of free blocks go back. The heap's top is not shrunk, which would give up the
    // reserved address space and its huge pages; the pages of its free part go back instead.
    malloc_trim(reservedBytes);
    const std::uintptr_t end = currentBreak();
    const std::uintptr_t topStart = alignUp(end - mallinfo2().keepcost, pageBytes());
    if (end > topStart)
        madvise(reinterpret_cast<void *>(topStart), end - topStart, MADV_DONTNEED);
}

} // namespace ProcessHeap
