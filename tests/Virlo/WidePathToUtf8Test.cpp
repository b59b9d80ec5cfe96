#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "WidePathToUtf8.h"

namespace {

TEST(WidePathToUtf8, EveryCodePointBecomesItsUtf8Sequence) {
    EXPECT_EQ(WidePathToUtf8(L"/tmp/SymbolDetails.txt"), "/tmp/SymbolDetails.txt");
    EXPECT_EQ(WidePathToUtf8(L"/tmp/\u00e4\u20ac\U0001F600"), "/tmp/\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80");
    const wchar_t limits[] = {0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF, 0};
    EXPECT_EQ(WidePathToUtf8(limits),
              "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF");
    EXPECT_EQ(WidePathToUtf8(L""), "");
    EXPECT_EQ(WidePathToUtf8(nullptr), "");
}

TEST(WidePathToUtf8, ValuesThatAreNoCharactersRaiseBadConversion) {
    for (const wchar_t bad : {wchar_t(0xD800), wchar_t(0xDFFF), wchar_t(0x110000), wchar_t(-1)}) {
        const wchar_t path[] = {L'a', bad, L'b', 0};
        try {
            WidePathToUtf8(path);
            ADD_FAILURE() << "no error for " << static_cast<long>(bad);
        } catch (const std::range_error& error) {
            EXPECT_STREQ(error.what(), "bad conversion");
        }
    }
}

}  // namespace
