#include <gtest/gtest.h>

#include <cstdint>

#include "platform/Module.h"

using namespace platform;

TEST(Module, SymbolAddressIsBasePlusItsOffsetInTheFile) {
    ModuleHandle module = LoadModule(TEST_MODULE_PATH);
    ASSERT_NE(module, nullptr) << LastModuleError();
    auto* function = reinterpret_cast<int (*)()>(FindModuleSymbol(module, "ModuleFunction"));
    ASSERT_NE(function, nullptr);
    EXPECT_EQ(function(), 43);

    // The base is the load address, not the handle: it lies below the
    // library's own data and is page aligned.
    const uint64_t base = ModuleBaseAddress(module);
    const auto value = reinterpret_cast<uint64_t>(FindModuleSymbol(module, "moduleValue"));
    EXPECT_NE(base, reinterpret_cast<uint64_t>(module));
    EXPECT_EQ(base % 4096, 0u);
    EXPECT_GT(value, base);
    EXPECT_LT(value - base, 1u << 24);
    FreeModule(module);
}

TEST(Module, FailuresGiveNull) {
    EXPECT_EQ(LoadModule(""), nullptr);
    EXPECT_EQ(LoadModule("/nonexistent/library.so"), nullptr);
    EXPECT_EQ(FindModuleSymbol(nullptr, "x"), nullptr);
    EXPECT_EQ(ModuleBaseAddress(nullptr), 0u);
    FreeModule(nullptr);
}

TEST(Module, ALibraryLeavesTheProcessWithItsLastReference) {
    ModuleHandle first = LoadModule(TEST_MODULE_PATH);
    ModuleHandle second = LoadModule(TEST_MODULE_PATH);
    ASSERT_NE(first, nullptr);
    const std::string path = ModulePath(first);
    EXPECT_EQ(path, TEST_MODULE_PATH);
    FreeModule(first);
    EXPECT_TRUE(IsModuleLoaded(path));
    FreeModule(second);
    EXPECT_FALSE(IsModuleLoaded(path));
    EXPECT_EQ(ModulePath(nullptr), "");
}
