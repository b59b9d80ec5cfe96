#include "LiveInstance.h"

#include <atomic>

namespace {

std::atomic<bool> instanceAlive{false};

}  // namespace

bool ClaimLiveInstance() {
    bool expected = false;
    // Acquire: the new instance sees everything the freed one released.
    return instanceAlive.compare_exchange_strong(expected, true, std::memory_order_acquire);
}

void ReleaseLiveInstance() { instanceAlive.store(false, std::memory_order_release); }
