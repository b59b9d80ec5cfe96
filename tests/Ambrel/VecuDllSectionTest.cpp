#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "DebugHook.h"
#include "FmuHarness.h"
#include "VecuDllPath.h"

namespace {

struct VecuDllSectionTest : ::testing::Test {
    harness::MessageLog log;
    harness::ResourceFolder folder;

    bool DebugHook() { return ReadDebugHookSetting(folder.path(), log.callbacks(), "ecu"); }
    std::optional<std::string> DllPath() { return ReadVecuDllPath(folder.path(), log.callbacks(), "ecu"); }
};

}  // namespace

TEST_F(VecuDllSectionTest, FirstEntryNamesTheLibraryUnderTheResourceFolder) {
    folder.Write("resources.txt", "vEcuDll\n    bin/ecu.so\n    DebugHookEnabled\n");
    EXPECT_EQ(DllPath(), folder.path() + "bin/ecu.so");
    EXPECT_TRUE(DebugHook());
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(VecuDllSectionTest, HookKeyMustStandAloneAndMayBeAnyEntry) {
    folder.Write("resources.txt", "vEcuDll\n    DebugHookEnabled \n    ecu.so\n");
    EXPECT_FALSE(DebugHook());
    folder.Write("resources.txt", "vEcuDll\n    DebugHookEnabled\n");
    EXPECT_TRUE(DebugHook());
    EXPECT_EQ(DllPath(), folder.path() + "DebugHookEnabled");
}

TEST_F(VecuDllSectionTest, EmptyEntryIsReportedOnceWithItsLineNumber) {
    folder.Write("resources.txt", "fmiVariables\n    a\nvEcuDll\n    \n    DebugHookEnabled\n");
    EXPECT_EQ(DllPath(), std::nullopt);
    EXPECT_FALSE(DebugHook());
    ASSERT_EQ(log.messages().size(), 1u);
    for (const harness::LoggedMessage& message : log.messages()) {
        EXPECT_EQ(message.message, "'resources/resources.txt' line 3 is empty! Dll name expected.");
        EXPECT_EQ(message.status, fmi2Error);
        EXPECT_EQ(message.category, "error");
        EXPECT_EQ(message.instanceName, "ecu");
    }
}

TEST_F(VecuDllSectionTest, MissingSectionGivesNothing) {
    folder.Write("resources.txt", "vEcuDll\nfmiVariables\n    a\n");
    EXPECT_EQ(DllPath(), "");
    EXPECT_FALSE(DebugHook());
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(VecuDllSectionTest, MissingFileIsReportedByEachReader) {
    EXPECT_EQ(DllPath(), "");
    EXPECT_FALSE(DebugHook());
    EXPECT_EQ(log.count("Cannot open file 'resources/resources.txt'"), 2);
}

TEST(DebugHook, WaitsUntilADebuggerIsPresent) {
    int asked = 0;
    std::vector<unsigned> sleeps;
    WaitForDebugger([&] { return ++asked == 3; }, [&](unsigned ms) { sleeps.push_back(ms); });
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(sleeps, (std::vector<unsigned>{100, 100}));
}
