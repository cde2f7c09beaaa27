#include "StartWindowData.h"

#include <atomic>

namespace {

std::atomic<DbEu *> requestsEu{nullptr};

} // namespace

void StartWindowData::eu(DbEu &eu)
{
    requestsEu.store(&eu, std::memory_order_release);
}

DbEu *StartWindowData::eu()
{
    return requestsEu.load(std::memory_order_acquire);
}

void StartWindowData::clearEu()
{
    requestsEu.store(nullptr, std::memory_order_release);
}
