#include "VirloBinding.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "FmuHarness.h"
#include "VariableTestSupport.h"

namespace {

using variable_test::StubVirlo;

bool TableIsEmpty() {
    return virloEntryPoints.InitVirlo == nullptr && virloEntryPoints.CacheVirlo == nullptr &&
           virloEntryPoints.GetVirlo == nullptr && virloEntryPoints.ClearVirloCache == nullptr &&
           virloEntryPoints.TerminateVirlo == nullptr && virloEntryPoints.WriteVirloToFile == nullptr;
}

// A resource folder holding the stand-in as "Virlo.so".
class StubVirloFolder : public harness::ResourceFolder {
public:
    StubVirloFolder() { Copy(REGISTRATION_STUB_VIRLO, "Virlo.so"); }
};

TEST(VirloBinding, UnboundEntryPointsAreSkipped) {
    ASSERT_TRUE(TableIsEmpty());
    EXPECT_EQ(CallInitVirlo("a", "b"), 0u);
    EXPECT_EQ(CallCacheVirlo("*"), 0u);
    EXPECT_EQ(CallGetVirlo("name"), nullptr);
    CallClearVirloCache();
    CallTerminateVirlo(false);
    EXPECT_EQ(CallWriteVirloToFile(L"out.txt", 0, 0, 1, 0), 4u);  // nothing written
    UnloadVirlo(nullptr);
}

TEST(VirloBinding, MissingLibraryIsReportedWithErrno) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(BindVirloLibrary("/nonexistent-folder/Virlo.so"), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "/nonexistent-folder/Virlo.so - LoadLibrary error code: 2, description: No such file or directory\n");
    EXPECT_TRUE(TableIsEmpty());
}

TEST(VirloBinding, UnloadableFileIsReportedAsNoLibrary) {
    StubVirloFolder resources;
    const std::string path = resources.path() + "NotALibrary.so";
    std::FILE* file = std::fopen(path.c_str(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("text, not code\n", file);
    std::fclose(file);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(BindVirloLibrary(path), nullptr);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              path + " - LoadLibrary error code: 8, description: Exec format error\n");
}

TEST(VirloBinding, WrappersCallTheBoundLibraryAndHandResultsBack) {
    StubVirlo stub(REGISTRATION_STUB_VIRLO);
    ASSERT_TRUE(stub.loaded());
    stub.Add("engineSpeed", SymbolRecord(0x40, 2, 4, 0, 0));
    platform::ModuleHandle module = BindVirloLibrary(REGISTRATION_STUB_VIRLO);
    ASSERT_NE(module, nullptr);
    EXPECT_FALSE(TableIsEmpty());

    const SymbolRecord* record = CallGetVirlo("engineSpeed");
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->address, 0x40u);
    EXPECT_EQ(CallGetVirlo("other"), nullptr);
    CallInitVirlo("folder/", "folder/dbghelp.so");
    EXPECT_EQ(stub.calls().initPath, "folder/");
    EXPECT_EQ(stub.calls().initDbghelpPath, "folder/dbghelp.so");

    // A failed load leaves the table with the library that is still loaded.
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(BindVirloLibrary("/nonexistent-folder/Virlo.so"), nullptr);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(CallGetVirlo("engineSpeed"), record);

    FreeVirloLibrary(module);
    EXPECT_TRUE(TableIsEmpty());
}

TEST(VirloBinding, MissingExportStaysUnbound) {
    StubVirlo stub(REGISTRATION_STUB_VIRLO_PARTIAL);
    ASSERT_TRUE(stub.loaded());
    platform::ModuleHandle module = BindVirloLibrary(REGISTRATION_STUB_VIRLO_PARTIAL);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(virloEntryPoints.GetVirlo, nullptr);
    EXPECT_NE(virloEntryPoints.InitVirlo, nullptr);
    EXPECT_NE(virloEntryPoints.WriteVirloToFile, nullptr);
    EXPECT_EQ(CallGetVirlo("engineSpeed"), nullptr);
    FreeVirloLibrary(module);
}

TEST(VirloBinding, LoadAndUnloadFollowTheLibrarysLifecycle) {
    StubVirloFolder resources;
    StubVirlo stub(resources.path() + "Virlo.so");
    ASSERT_TRUE(stub.loaded());
    stub.Add("engineSpeed", SymbolRecord(0x40, 2, 4, 0, 0));

    platform::ModuleHandle module = LoadVirlo(resources.path(), resources.path());
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(stub.calls().init, 1);
    EXPECT_EQ(stub.calls().initPath, resources.path());
    EXPECT_EQ(stub.calls().initDbghelpPath, resources.path() + "dbghelp.so");
    EXPECT_EQ(stub.calls().cache, 1);
    EXPECT_EQ(stub.calls().cacheMask, "*");
    EXPECT_NE(CallGetVirlo("engineSpeed"), nullptr);

    UnloadVirlo(module);
    EXPECT_EQ(stub.calls().clear, 1);
    EXPECT_EQ(stub.calls().terminate, 1);
    EXPECT_FALSE(stub.calls().terminateFlag);
    // Nothing reaches the unloaded library any more.
    EXPECT_TRUE(TableIsEmpty());
    const int lookups = stub.calls().get;
    EXPECT_EQ(CallGetVirlo("engineSpeed"), nullptr);
    UnloadVirlo(nullptr);
    EXPECT_EQ(stub.calls().get, lookups);
    EXPECT_EQ(stub.calls().clear, 1);
    EXPECT_EQ(stub.calls().terminate, 1);
}

TEST(VirloBinding, FreeingAnotherLibraryKeepsTheTable) {
    StubVirlo stub(REGISTRATION_STUB_VIRLO);
    StubVirlo partial(REGISTRATION_STUB_VIRLO_PARTIAL);
    platform::ModuleHandle other = BindVirloLibrary(REGISTRATION_STUB_VIRLO_PARTIAL);
    platform::ModuleHandle module = BindVirloLibrary(REGISTRATION_STUB_VIRLO);
    ASSERT_NE(other, nullptr);
    ASSERT_NE(module, nullptr);
    FreeVirloLibrary(other);
    EXPECT_NE(virloEntryPoints.GetVirlo, nullptr);
    FreeVirloLibrary(module);
    EXPECT_TRUE(TableIsEmpty());
}

}  // namespace
