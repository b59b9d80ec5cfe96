#include "LibraryLock.h"

#include <cerrno>
#include <memory>
#include <mutex>
#include <new>
#include <system_error>
#include <thread>

namespace {

// The bookkeeping around the library lock, guarded by its own short-held
// mutex: the library lock itself is held across calls into the library.
struct LockState {
    std::mutex guard;
    std::unique_ptr<std::recursive_mutex> lock;
    std::thread::id owner;
    unsigned depth = 0;    // how often the owner entered
    unsigned waiting = 0;  // threads between looking the lock up and holding it
};

LockState& State() {
    static LockState state;
    return state;
}

}  // namespace

int EnterLibraryLock() {
    LockState& state = State();
    std::recursive_mutex* lock = nullptr;
    {
        std::lock_guard<std::mutex> guard(state.guard);
        if (!state.lock) {
            try {
                state.lock = std::make_unique<std::recursive_mutex>();
            } catch (const std::system_error& error) {
                return error.code().value();
            } catch (const std::bad_alloc&) {
                return ENOMEM;
            }
        }
        lock = state.lock.get();
        ++state.waiting;
    }
    lock->lock();
    std::lock_guard<std::mutex> guard(state.guard);
    --state.waiting;
    state.owner = std::this_thread::get_id();
    ++state.depth;
    return 0;
}

bool HoldsLibraryLock() {
    LockState& state = State();
    std::lock_guard<std::mutex> guard(state.guard);
    return state.depth > 0 && state.owner == std::this_thread::get_id();
}

void ReleaseLibraryLock() {
    LockState& state = State();
    std::lock_guard<std::mutex> guard(state.guard);
    if (state.depth == 0 || state.owner != std::this_thread::get_id()) return;
    for (; state.depth > 0; --state.depth) state.lock->unlock();
    state.owner = std::thread::id();
    // A waiting thread has looked the lock up already and takes it over; it
    // is destroyed when that thread releases it.
    if (state.waiting == 0) state.lock.reset();
}
