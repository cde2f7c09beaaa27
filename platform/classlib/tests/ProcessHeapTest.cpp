#include "ProcessHeap.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

/// The process's resident memory in KiB, from /proc/self/status.
long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.starts_with("VmRSS:"))
            return std::stol(line.substr(6));
    return -1;
}

/// Exits 0 when a large block freed and handed back leaves the resident memory where it was and
/// the heap still serves blocks, zeroed where calloc promises it; otherwise 1. Runs in a child
/// process: the heap's settings are the whole process's.
[[noreturn]] void checkHeapRoundTrip()
{
    ProcessHeap::keepFreedMemory();
    const long before = residentKiB();
    constexpr std::size_t blockBytes = 64 * 1024 * 1024;
    {
        std::vector<char> block(blockBytes, 'x');
        if (residentKiB() < before + 60 * 1024)
            std::_Exit(1);
    }
    ProcessHeap::returnFreeMemory();
    if (residentKiB() > before + 8 * 1024)
        std::_Exit(1);
    auto *again = static_cast<unsigned char *>(std::calloc(blockBytes, 1));
    if (again == nullptr)
        std::_Exit(1);
    for (std::size_t i = 0; i < blockBytes; i += 4096)
        if (again[i] != 0)
            std::_Exit(1);
    std::free(again);
    std::_Exit(0);
}

} // namespace

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
TEST(ProcessHeapTest, FreedMemoryGoesBackAndTheHeapServesBlocksAfterwards)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(checkHeapRoundTrip(), testing::ExitedWithCode(0), "");
}
#endif
