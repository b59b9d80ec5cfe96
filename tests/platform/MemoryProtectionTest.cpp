#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "platform/MemoryProtection.h"

using namespace platform;

namespace {

// Two fresh read-only pages, unmapped again at the end of the test.
class TwoPages : public ::testing::Test {
protected:
    void SetUp() override {
        page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
        void* memory = mmap(nullptr, 2 * page, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(memory, MAP_FAILED);
        base = reinterpret_cast<uint64_t>(memory);
    }
    void TearDown() override { munmap(reinterpret_cast<void*>(base), 2 * page); }

    uint64_t page = 0;
    uint64_t base = 0;
};

}  // namespace

TEST_F(TwoPages, RangeAcrossAPageBoundaryChangesBothPages) {
    // Three bytes straddling the boundary: both pages must become writable.
    ASSERT_EQ(SetMemoryProtection(base + page - 1, 3, ProtectionReadWriteExecute), 0);
    int first = 0, second = 0;
    ASSERT_EQ(QueryMemoryProtection(base, &first), 0);
    ASSERT_EQ(QueryMemoryProtection(base + page, &second), 0);
    EXPECT_EQ(first, ProtectionReadWriteExecute);
    EXPECT_EQ(second, ProtectionReadWriteExecute);
    reinterpret_cast<volatile char*>(base)[page - 1] = 1;
    reinterpret_cast<volatile char*>(base)[page + 1] = 1;
}

TEST_F(TwoPages, QueryReportsTheOriginalProtectionForRestoring) {
    int before = 0;
    ASSERT_EQ(QueryMemoryProtection(base + 10, &before), 0);
    EXPECT_EQ(before, ProtectionRead);
    ASSERT_EQ(SetMemoryProtection(base, 1, ProtectionReadWriteExecute), 0);
    ASSERT_EQ(SetMemoryProtection(base, 1, before), 0);
    int after = 0;
    ASSERT_EQ(QueryMemoryProtection(base, &after), 0);
    EXPECT_EQ(after, ProtectionRead);
}

TEST_F(TwoPages, ZeroSizeTouchesNothing) {
    EXPECT_EQ(SetMemoryProtection(base, 0, ProtectionNone), 0);
    int protection = 0;
    ASSERT_EQ(QueryMemoryProtection(base, &protection), 0);
    EXPECT_EQ(protection, ProtectionRead);
}

TEST_F(TwoPages, ReadabilityFollowsTheMappings) {
    EXPECT_TRUE(IsMemoryReadable(base, 2 * page));
    ASSERT_EQ(SetMemoryProtection(base + page, 1, ProtectionNone), 0);
    EXPECT_TRUE(IsMemoryReadable(base, page));
    EXPECT_FALSE(IsMemoryReadable(base + page - 4, 8));
    EXPECT_FALSE(IsMemoryReadable(UINT64_MAX - 2, 8));  // wraps around
}

TEST(MemoryProtection, FailuresReturnErrno) {
    int protection = 0;
    EXPECT_EQ(QueryMemoryProtection(0, &protection), ENOMEM);
    EXPECT_FALSE(IsMemoryReadable(0, 1));
    EXPECT_NE(SetMemoryProtection(8, 1, ProtectionRead), 0);
}
