#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "LibraryLock.h"
#include "VirloCoreTestSupport.h"

namespace {

using namespace std::chrono_literals;
using virlo_core_test::RunInFreshProcess;

// Waits until the flag is set; a lock that is never handed over would leave
// the waiting thread stuck, so the process ends at once instead.
void AwaitOrExit(const std::atomic<bool>& flag, const char* what) {
    for (int i = 0; i < 500 && !flag; ++i) std::this_thread::sleep_for(10ms);
    if (!flag) {
        std::fprintf(stderr, "never happened: %s\n", what);
        std::_Exit(2);
    }
}

TEST(LibraryLock, OtherThreadWaitsUntilEveryLevelIsReleased) {
    RunInFreshProcess([] {
        ASSERT_EQ(EnterLibraryLock(), 0);
        ASSERT_EQ(EnterLibraryLock(), 0);  // recursive for its owner
        EXPECT_TRUE(HoldsLibraryLock());

        std::atomic<bool> entered{false};
        std::atomic<bool> holds{false};
        std::thread other([&] {
            EXPECT_FALSE(HoldsLibraryLock());
            EXPECT_EQ(EnterLibraryLock(), 0);
            holds = HoldsLibraryLock();
            entered = true;
            ReleaseLibraryLock();
        });
        std::this_thread::sleep_for(50ms);
        EXPECT_FALSE(entered);

        ReleaseLibraryLock();  // both levels at once
        EXPECT_FALSE(HoldsLibraryLock());
        AwaitOrExit(entered, "the other thread entered");
        other.join();
        EXPECT_TRUE(holds);
    });
}

TEST(LibraryLock, ReleaseWithoutHoldingDoesNothing) {
    RunInFreshProcess([] {
        ReleaseLibraryLock();  // no lock exists
        EXPECT_FALSE(HoldsLibraryLock());

        ASSERT_EQ(EnterLibraryLock(), 0);
        std::thread([] { ReleaseLibraryLock(); }).join();  // not the owner
        EXPECT_TRUE(HoldsLibraryLock());
        ReleaseLibraryLock();
        EXPECT_FALSE(HoldsLibraryLock());
        ReleaseLibraryLock();

        // Created anew by the next entry.
        ASSERT_EQ(EnterLibraryLock(), 0);
        EXPECT_TRUE(HoldsLibraryLock());
        ReleaseLibraryLock();
    });
}

// A thread already waiting for the lock when its owner releases it takes it
// over; the lock must not be destroyed under it.
TEST(LibraryLock, WaitingThreadTakesTheLockOver) {
    RunInFreshProcess([] {
        ASSERT_EQ(EnterLibraryLock(), 0);
        std::atomic<bool> entered{false};
        std::atomic<bool> released{false};
        std::thread other([&] {
            EXPECT_EQ(EnterLibraryLock(), 0);
            entered = true;
            AwaitOrExit(released, "the first owner released");
            std::this_thread::sleep_for(20ms);
            ReleaseLibraryLock();
        });
        std::this_thread::sleep_for(50ms);
        ReleaseLibraryLock();
        released = true;
        AwaitOrExit(entered, "the waiting thread entered");

        // The first owner waits in turn now.
        EXPECT_EQ(EnterLibraryLock(), 0);
        EXPECT_TRUE(HoldsLibraryLock());
        ReleaseLibraryLock();
        other.join();
    });
}

}  // namespace
