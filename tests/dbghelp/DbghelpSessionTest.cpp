// Symbol handlers, options and the loading of modules.

#include <fstream>

#include "DbghelpTestSupport.h"

using namespace dbghelp_test;
namespace fs = std::filesystem;

namespace {

constexpr uint64_t kPreferredDllBase = 0x180000000;  // lld-link's default for 64-bit DLLs

// Turns SYMOPT_DEBUG on for a scope, as the symbol reader does.
class DebugOutput {
public:
    DebugOutput() : saved_(SymGetOptions()) { SymSetOptions(saved_ | SYMOPT_DEBUG); }
    ~DebugOutput() { SymSetOptions(saved_); }

private:
    DWORD saved_;
};

}  // namespace

TEST(DbghelpSession, OptionsAreKeptAndSetReturnsTheNewOnes) {
    const DWORD saved = SymGetOptions();
    EXPECT_EQ(saved & (SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS), SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS);
    EXPECT_EQ(SymSetOptions(saved | SYMOPT_DEBUG), saved | SYMOPT_DEBUG);
    EXPECT_EQ(SymGetOptions(), saved | SYMOPT_DEBUG);
    SymSetOptions(saved);
    EXPECT_EQ(SymGetOptions(), saved);
}

TEST(DbghelpSession, AHandleIsInitialisedOnceAndCleanedUpOnce) {
    const HANDLE process = reinterpret_cast<HANDLE>(0x77);
    EXPECT_TRUE(SymInitialize(process, nullptr, FALSE));
    EXPECT_FALSE(SymInitialize(process, nullptr, FALSE));
    EXPECT_TRUE(SymCleanup(process));
    EXPECT_FALSE(SymCleanup(process));
    // Another use of the same handle after cleanup starts afresh.
    EXPECT_TRUE(SymInitialize(process, nullptr, FALSE));
    EXPECT_TRUE(SymCleanup(process));
}

TEST(DbghelpSession, ModuleLoadsAtThePreferredBaseOfTheImage) {
    Session session;
    EXPECT_EQ(session.Base(), kPreferredDllBase);
    const auto symbols = session.Enumerate();
    ASSERT_FALSE(symbols.empty());
    for (const Enumerated& symbol : symbols) EXPECT_EQ(symbol.modBase, kPreferredDllBase) << symbol.name;
    // The same image a second time is not loaded again.
    const std::string image = FixturePath("types.dll");
    EXPECT_EQ(SymLoadModuleEx(session.Process(), nullptr, image.c_str(), nullptr, 0, 0, nullptr, 0), 0u);
}

TEST(DbghelpSession, RequestedBaseMovesEveryAddress) {
    const HANDLE process = reinterpret_cast<HANDLE>(0x78);
    ASSERT_TRUE(SymInitialize(process, nullptr, FALSE));
    const std::string image = FixturePath("types.dll");
    const uint64_t base = SymLoadModuleEx(process, nullptr, image.c_str(), nullptr, 0x20000000, 0, nullptr, 0);
    EXPECT_EQ(base, 0x20000000u);

    std::vector<Enumerated> symbols;
    ASSERT_TRUE(SymEnumSymbols(
        process, base, "g_int",
        [](PSYMBOL_INFO info, ULONG, PVOID context) -> BOOL {
            static_cast<std::vector<Enumerated>*>(context)->push_back(
                {info->Name, info->Address, info->TypeIndex, info->Size, info->Tag, info->ModBase});
            return TRUE;
        },
        &symbols));
    const auto& dump = TypesDump();
    const auto* reference = dump.FindData("g_int");
    ASSERT_NE(reference, nullptr);
    ASSERT_EQ(symbols.size(), 1u);
    EXPECT_EQ(symbols[0].address, base + dump.Rva(reference->segment, reference->offset));

    // A module whose range overlaps a loaded one is refused.
    const std::string other = FixturePath("other.dll");
    EXPECT_EQ(SymLoadModuleEx(process, nullptr, other.c_str(), nullptr, base + 0x1000, 0, nullptr, 0), 0u);
    EXPECT_TRUE(SymCleanup(process));
}

TEST(DbghelpSession, NothingLoadsWithoutAnInitialisedHandleOrAnImage) {
    const std::string image = FixturePath("types.dll");
    EXPECT_EQ(SymLoadModuleEx(reinterpret_cast<HANDLE>(0x79), nullptr, image.c_str(), nullptr, 0, 0, nullptr, 0),
              0u);

    TempFolder folder;
    const std::string text = folder.File("notes.dll");
    std::ofstream(text) << "no image\n";
    Session noImage(text);
    EXPECT_EQ(noImage.Base(), 0u);
    Session missing(folder.File("missing.dll"));
    EXPECT_EQ(missing.Base(), 0u);
    Session nameless;
    EXPECT_EQ(SymLoadModuleEx(nameless.Process(), nullptr, nullptr, nullptr, 0, 0, nullptr, 0), 0u);
}

TEST(DbghelpSession, ImageWithoutItsPdbLoadsWithoutSymbols) {
    TempFolder folder;
    fs::copy_file(FixturePath("types.dll"), folder.File("types.dll"));
    DebugOutput debug;
    testing::internal::CaptureStderr();
    Session session(folder.File("types.dll"));
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_EQ(session.Base(), kPreferredDllBase);
    EXPECT_TRUE(session.Enumerate().empty());
    EXPECT_FALSE(session.Dword(0x74, TI_GET_SYMTAG).has_value());
    EXPECT_NE(diagnostics.find("types: no symbols"), std::string::npos) << diagnostics;
}

TEST(DbghelpSession, PdbOfAnotherBuildIsNotUsed) {
    TempFolder folder;
    fs::copy_file(FixturePath("types.dll"), folder.File("types.dll"));
    fs::copy_file(FixturePath("other.pdb"), folder.File("types.pdb"));
    DebugOutput debug;
    testing::internal::CaptureStderr();
    Session session(folder.File("types.dll"));
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_NE(session.Base(), 0u);
    EXPECT_TRUE(session.Enumerate().empty());
    EXPECT_NE(diagnostics.find("does not match the image"), std::string::npos) << diagnostics;
}

TEST(DbghelpSession, DamagedPdbGivesNoSymbolsAndNoCrash) {
    TempFolder folder;
    fs::copy_file(FixturePath("types.dll"), folder.File("types.dll"));
    std::ifstream whole(FixturePath("types.pdb"), std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(whole)), std::istreambuf_iterator<char>());
    for (const size_t kept : {size_t{0}, size_t{100}, bytes.size() / 2}) {
        std::ofstream(folder.File("types.pdb"), std::ios::binary | std::ios::trunc).write(bytes.data(), kept);
        Session session(folder.File("types.dll"));
        EXPECT_NE(session.Base(), 0u) << kept;
        EXPECT_TRUE(session.Enumerate().empty()) << kept;
    }
}

TEST(DbghelpSession, CleanupReleasesTheModules) {
    const HANDLE process = reinterpret_cast<HANDLE>(0x7A);
    ASSERT_TRUE(SymInitialize(process, nullptr, FALSE));
    const std::string image = FixturePath("types.dll");
    const uint64_t base = SymLoadModuleEx(process, nullptr, image.c_str(), nullptr, 0, 0, nullptr, 0);
    ASSERT_NE(base, 0u);
    ASSERT_TRUE(SymCleanup(process));
    DWORD tag = 0;
    EXPECT_FALSE(SymGetTypeInfo(process, base, 0x74, TI_GET_SYMTAG, &tag));
    EXPECT_FALSE(SymEnumSymbols(
        process, base, "*", [](PSYMBOL_INFO, ULONG, PVOID) -> BOOL { return TRUE; }, nullptr));
}
