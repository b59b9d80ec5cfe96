// The PDB reader's own rules on paths that compiled programs do not take,
// through a scripted stand-in of the debug-help library, and the binding of
// the library itself.

#include "DbghelpWrapper.h"
#include "PdbTestSupport.h"
#include "platform/Environment.h"

using namespace pdb_test;

namespace {

const char* kMissingLibrary = "/nonexistent/dbghelp.so";

}  // namespace

TEST(PdbStub, SymbolsBelowTheBaseAreNotEntered) {
    testing::internal::CaptureStderr();
    PdbRead read(VIRLO_STUB_DBGHELP);
    testing::internal::GetCapturedStderr();
    ASSERT_EQ(read.InitResult(), 0);
    EXPECT_EQ(read.Parser().moduleBase, 0x10000u);
    EXPECT_EQ(read.Get("low"), nullptr);
    ExpectRecord(read, "high", 0x10, 4, SymbolType_s32);
    // A static member whose storage lies below the base.
    EXPECT_EQ(read.Get("rec.lowstatic"), nullptr);
}

TEST(PdbStub, StructureInsideItselfIsEnteredButNotExpandedAgain) {
    testing::internal::CaptureStderr();
    PdbRead read(VIRLO_STUB_DBGHELP);
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    ExpectRecord(read, "rec", 0x20, 16, SymbolType_UserDefinedType);
    ExpectRecord(read, "rec.self", 0x28, 16, SymbolType_UserDefinedType);
    EXPECT_EQ(read.Get("rec.self.self"), nullptr);
    EXPECT_EQ(read.Get("rec.self.wide"), nullptr);
    // A member without a name is skipped; one of a basic type outside the
    // table is entered as Unknown, with a line on standard error.
    EXPECT_EQ(read.Get("rec."), nullptr);
    ExpectRecord(read, "rec.wide", 0x24, 2, SymbolType_Unknown);
    EXPECT_EQ(diagnostics, "Unhandled base type 32\n");
}

TEST(PdbStub, ArrayOfZeroLengthElementsIsEnteredAlone) {
    testing::internal::CaptureStderr();
    PdbRead read(VIRLO_STUB_DBGHELP);
    testing::internal::GetCapturedStderr();
    ExpectRecord(read, "empty", 0x40, 8, SymbolType_Array);
    EXPECT_EQ(read.Get("empty[0]"), nullptr);
    EXPECT_TRUE(read.Parser().arrayDimensions.empty());
}

TEST(PdbStub, HandlerThatDoesNotStartFailsInit) {
    platform::PutEnvironment("PDB_STUB_REFUSE_INIT=1");
    PdbRead read(VIRLO_STUB_DBGHELP);
    platform::PutEnvironment("PDB_STUB_REFUSE_INIT=");
    EXPECT_EQ(read.InitResult(), 1);
    EXPECT_TRUE(read.Parser().SymbolCache.empty());
}

TEST(PdbStub, MissingLibraryFailsInitWithOneLineAndNothingCallsThroughNull) {
    testing::internal::CaptureStderr();
    PdbRead read(kMissingLibrary);
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_EQ(read.InitResult(), 1);
    EXPECT_NE(diagnostics.find(kMissingLibrary), std::string::npos) << diagnostics;
    EXPECT_EQ(std::count(diagnostics.begin(), diagnostics.end(), '\n'), 1) << diagnostics;
    // The uses that may follow a failed Init find no library and do nothing.
    EXPECT_EQ(read.Parser().Cache("*"), 0);
    EXPECT_TRUE(read.Parser().SymbolCache.empty());
}

TEST(PdbStub, LibraryWithoutAFunctionFailsInitNamingIt) {
    testing::internal::CaptureStderr();
    PdbRead read(VIRLO_STUB_DBGHELP_PARTIAL);
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_EQ(read.InitResult(), 1);
    EXPECT_NE(diagnostics.find("SymSetOptions"), std::string::npos) << diagnostics;
    EXPECT_EQ(std::count(diagnostics.begin(), diagnostics.end(), '\n'), 1) << diagnostics;
    // The library is released again: none of its functions stays bound.
    EXPECT_EQ(read.Parser().dbghelpModule, nullptr);
    EXPECT_STREQ(FirstUnboundDbghelpFunction(), "SymCleanup");
    EXPECT_EQ(read.Parser().Cache("*"), 0);
}

TEST(DbghelpWrapper, BindsAllSevenAndReleasesThemWithTheModule) {
    const platform::ModuleHandle module = InitDbghelpWrapper(VIRLO_DBGHELP_LIBRARY);
    ASSERT_NE(module, nullptr);
    EXPECT_TRUE(DbghelpBound());
    const DWORD saved = SymGetOptions();
    EXPECT_EQ(SymSetOptions(saved | SYMOPT_CASE_INSENSITIVE), saved | SYMOPT_CASE_INSENSITIVE);
    SymSetOptions(saved);

    // A failed load binds nothing: the bound functions stay.
    EXPECT_EQ(InitDbghelpWrapper(kMissingLibrary), nullptr);
    EXPECT_TRUE(DbghelpBound());

    ReleaseDbghelpWrapper(module);
    EXPECT_STREQ(FirstUnboundDbghelpFunction(), "SymCleanup");
    // Unbound functions fail instead of reaching the unloaded library.
    const HANDLE process = reinterpret_cast<HANDLE>(0x42);
    EXPECT_FALSE(SymInitialize(process, nullptr, FALSE));
    EXPECT_EQ(SymLoadModuleEx(process, nullptr, "x.dll", nullptr, 0, 0, nullptr, 0), 0u);
    EXPECT_FALSE(SymEnumSymbols(process, 1, "*", EnumSymbolsCallback, nullptr));
    ULONG64 length = 0;
    EXPECT_FALSE(SymGetTypeInfo(process, 1, 1, TI_GET_LENGTH, &length));
    EXPECT_EQ(SymGetOptions(), 0u);
    EXPECT_EQ(SymSetOptions(1), 0u);
    EXPECT_FALSE(SymCleanup(process));
}

TEST(DbghelpWrapper, LibraryWithoutAFunctionLeavesItUnbound) {
    const platform::ModuleHandle module = InitDbghelpWrapper(VIRLO_STUB_DBGHELP_PARTIAL);
    ASSERT_NE(module, nullptr);
    EXPECT_STREQ(FirstUnboundDbghelpFunction(), "SymSetOptions");
    EXPECT_EQ(SymSetOptions(5), 0u);
    ReleaseDbghelpWrapper(module);
}
