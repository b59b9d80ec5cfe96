#include "RedirectFunctionCall.h"

#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/MemoryProtection.h"

namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint64_t kTarget = 0x1122334455667788;

// Two pages of stand-in code: the first read-only and executable as code
// is, the second only readable, so that a patch across the boundary shows
// that each page gets its own protection back.
class RedirectPatch : public ::testing::Test {
protected:
    void SetUp() override {
        page = sysconf(_SC_PAGESIZE);
        void* mapped = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        ASSERT_NE(mapped, MAP_FAILED);
        code = static_cast<uint8_t*>(mapped);
        for (size_t i = 0; i < 2 * page; ++i) code[i] = static_cast<uint8_t>(i);
        ASSERT_EQ(mprotect(code, page, PROT_READ | PROT_EXEC), 0);
        ASSERT_EQ(mprotect(code + page, page, PROT_READ), 0);
    }
    void TearDown() override { munmap(code, 2 * page); }

    uint64_t At(size_t offset) const { return reinterpret_cast<uint64_t>(code + offset); }
    Bytes Read(size_t offset, size_t length) const { return Bytes(code + offset, code + offset + length); }
    int Protection(size_t offset) const {
        int protection = platform::ProtectionNone;
        EXPECT_EQ(platform::QueryMemoryProtection(At(offset), &protection), 0);
        return protection;
    }
    void ExpectProtectionsPutBack() const {
        EXPECT_EQ(Protection(0), platform::ProtectionRead | platform::ProtectionExecute);
        EXPECT_EQ(Protection(page), platform::ProtectionRead);
    }

    size_t page = 0;
    uint8_t* code = nullptr;
};

}  // namespace

TEST_F(RedirectPatch, EachVariantWritesItsJumpAndWritesTheCodeBack) {
    const size_t across = page - 5;
    const Bytes original = Read(across, 12);
    RedirectFunctionCallWin64 wide;
    wide.SetSource(At(across), RedirectAddress_AsGiven);
    wide.SetTarget(kTarget, RedirectAddress_AsGiven);
    ASSERT_EQ(wide.Apply(), 0);
    EXPECT_EQ(Read(across, 12), (Bytes{0x48, 0xB8, 0x88, 0x77, 0x66, 0x55, 0x44, 0x33, 0x22, 0x11, 0xFF, 0xE0}));
    ExpectProtectionsPutBack();
    ASSERT_EQ(wide.Restore(), 0);
    EXPECT_EQ(Read(across, 12), original);
    ExpectProtectionsPutBack();

    const Bytes narrowOriginal = Read(100, 12);
    RedirectFunctionCallWin32 narrow;
    narrow.SetSource(At(100), RedirectAddress_AsGiven);
    narrow.SetTarget(kTarget, RedirectAddress_AsGiven);
    ASSERT_EQ(narrow.Apply(), 0);
    EXPECT_EQ(Read(100, 12), (Bytes{0x48, 0xC7, 0xC0, 0x88, 0x77, 0x66, 0x55, 0xFF, 0xE0, 109, 110, 111}));
    ASSERT_EQ(narrow.Restore(), 0);
    EXPECT_EQ(Read(100, 12), narrowOriginal);
}

TEST_F(RedirectPatch, OneRelativeJumpIsFollowedWhenAsked) {
    // At 16: jmp 64 (rel32 = 64 - 21); at 64: jmp back to 16, not followed.
    ASSERT_EQ(mprotect(code, page, PROT_READ | PROT_WRITE), 0);
    const uint8_t forward[] = {0xE9, 43, 0, 0, 0};
    const uint8_t backward[] = {0xE9, 0xCB, 0xFF, 0xFF, 0xFF};  // 16 - 69 = -53
    std::memcpy(code + 16, forward, sizeof forward);
    std::memcpy(code + 64, backward, sizeof backward);
    RedirectFunctionCallWin64 patch;
    patch.SetSource(At(16), RedirectAddress_FollowJump);
    patch.SetTarget(At(64), RedirectAddress_FollowJump);
    EXPECT_EQ(patch.source, At(64));
    EXPECT_EQ(patch.target, At(16));
    patch.SetSource(At(16), RedirectAddress_AsGiven);
    EXPECT_EQ(patch.source, At(16));
    EXPECT_EQ(patch.ResolveJump(At(17)), At(17));
}
