#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <elf.h>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "VirloCoreTestSupport.h"
#include "VirloLibrary.h"

namespace {

using namespace virlo_core_test;
using namespace std::chrono_literals;

std::string Row(uint64_t address, const std::string& name) {
    char text[160];
    std::snprintf(text, sizeof text, "0x%016llx;4          ;s32              ;0     ;0     ;%-24s;%s\n",
                  static_cast<unsigned long long>(address), "0", name.c_str());
    return text;
}

std::string Rows(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += Row(0x100 + 4 * i, "row" + std::to_string(i));
    return text;
}

// The names that a shared library's dynamic symbol table defines.
std::set<std::string> DefinedDynamicSymbols(const std::string& path) {
    const std::string image = ReadText(path);
    std::set<std::string> names;
    if (image.size() < sizeof(Elf64_Ehdr)) return names;
    const auto* header = reinterpret_cast<const Elf64_Ehdr*>(image.data());
    const auto* sections = reinterpret_cast<const Elf64_Shdr*>(image.data() + header->e_shoff);
    for (int i = 0; i < header->e_shnum; ++i) {
        if (sections[i].sh_type != SHT_DYNSYM) continue;
        const char* strings = image.data() + sections[sections[i].sh_link].sh_offset;
        const auto* symbols = reinterpret_cast<const Elf64_Sym*>(image.data() + sections[i].sh_offset);
        for (size_t s = 0; s < sections[i].sh_size / sizeof(Elf64_Sym); ++s) {
            const unsigned binding = ELF64_ST_BIND(symbols[s].st_info);
            if (symbols[s].st_shndx == SHN_UNDEF || binding == STB_LOCAL) continue;
            names.insert(strings + symbols[s].st_name);
        }
    }
    return names;
}

TEST(VirloExports, ExactlyTheSevenNames) {
    const std::set<std::string> expected = {"InitVirlo",        "CacheVirlo",      "GetVirlo",
                                            "ClearVirloCache",  "WriteVirloToFile", "TerminateVirlo",
                                            "InitDbghelpWrapper"};
    EXPECT_EQ(DefinedDynamicSymbols(VIRLO_LIBRARY), expected);
}

// The FMU runtime's use: the resource folder, CacheVirlo once, names.
TEST(VirloExports, ResourceFolderAsTheRuntimeUsesIt) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        WriteText(folder.File("SymbolDetails.txt"), Row(0x3a0, "counter") + Row(0x3a0, "alias") + "\n");
        EXPECT_EQ(virlo.InitVirlo(folder.Path(), folder.Path() + "dbghelp.so"), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 1u);
        const SymbolRecord* counter = virlo.GetVirlo("counter");
        ASSERT_NE(counter, nullptr);
        EXPECT_EQ(counter->address, 0x3a0u);
        EXPECT_EQ(counter->size, 4u);
        EXPECT_EQ(counter->typeCode, SymbolType_s32);
        EXPECT_NE(virlo.GetVirlo("alias"), nullptr);  // two names at one address
        EXPECT_EQ(virlo.GetVirlo("Counter"), nullptr);
        virlo.ClearVirloCache();
        EXPECT_EQ(virlo.GetVirlo("counter"), nullptr);
        virlo.TerminateVirlo(false);
        EXPECT_EQ(ReadText(folder.File("SymbolDetails.txt")),
                  Row(0x3a0, "counter") + Row(0x3a0, "alias") + "\n");
    });
}

TEST(VirloExports, NothingSelected) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        EXPECT_EQ(virlo.WriteVirloToFile(L"/tmp/never", 0, 0, 1, 0), 4u);
        TempFolder folder;
        EXPECT_EQ(virlo.InitVirlo(folder.File("missing"), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        EXPECT_EQ(virlo.GetVirlo("anything"), nullptr);
        virlo.ClearVirloCache();
        EXPECT_EQ(virlo.WriteVirloToFile(L"/tmp/never", 0, 0, 1, 0), 4u);
        virlo.TerminateVirlo(true);
        EXPECT_FALSE(std::filesystem::exists("/tmp/never.tmp"));
    });
}

TEST(VirloExports, SelectionStatuses) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        EXPECT_EQ(virlo.InitVirlo(folder.Path(), ""), 2u);
        WriteText(folder.File("SymbolDetails.txt"), Rows(1));
        std::string withoutSeparator = folder.Path();
        withoutSeparator.pop_back();
        EXPECT_EQ(virlo.InitVirlo(withoutSeparator, ""), 2u);
        WriteText(folder.File("app.dll"), "");
        EXPECT_EQ(virlo.InitVirlo(folder.File("app.dll"), ""), 1u);
        EXPECT_EQ(virlo.InitVirlo("", ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        // Every InitVirlo entered the lock; TerminateVirlo leaves all of it.
        virlo.TerminateVirlo(false);
        // Now a table is found.
        EXPECT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        EXPECT_NE(virlo.GetVirlo("row0"), nullptr);
        virlo.TerminateVirlo(false);
    });
}

TEST(VirloExports, SecondInitVirloIsRefusedAndKeepsTheCache) {
    RunWithFreshVirlo(
        [](VirloLibrary& virlo) {
            TempFolder folder;
            WriteText(folder.File("SymbolDetails.txt"), Rows(3));
            ASSERT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
            EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
            EXPECT_EQ(virlo.InitVirlo(folder.Path(), ""), 5u);
            EXPECT_NE(virlo.GetVirlo("row2"), nullptr);
            virlo.TerminateVirlo(false);
        },
        "Could not initialize VirloParser\\.");
}

TEST(VirloExports, MissingTableFileIsReported) {
    RunWithFreshVirlo(
        [](VirloLibrary& virlo) {
            TempFolder folder;
            const std::string table = folder.File("SymbolDetails.txt");
            WriteText(table, Rows(1));
            std::filesystem::create_directory(table + ".tmp");  // the companion cannot be opened
            EXPECT_EQ(virlo.InitVirlo(table, ""), 5u);
            virlo.TerminateVirlo(false);
        },
        "Fail to open the file .*SymbolDetails\\.txt\\.tmp\nCould not initialize VirloParser\\.\n");
}

TEST(VirloExports, LaterUseOfTheLibrary) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder first;
        TempFolder second;
        WriteText(first.File("SymbolDetails.txt"), Rows(2));
        WriteText(second.File("SymbolDetails.txt"), Row(0x10, "elsewhere"));
        ASSERT_EQ(virlo.InitVirlo(first.Path(), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        virlo.TerminateVirlo(false);
        EXPECT_EQ(virlo.GetVirlo("row0"), nullptr);

        // The parser stays selected for its folder: another selects nothing.
        EXPECT_EQ(virlo.InitVirlo(second.Path(), ""), 0u);
        virlo.CacheVirlo("*");
        EXPECT_EQ(virlo.GetVirlo("elsewhere"), nullptr);
        virlo.TerminateVirlo(false);

        // The same folder again: read afresh from its top.
        ASSERT_EQ(virlo.InitVirlo(first.Path(), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        EXPECT_NE(virlo.GetVirlo("row1"), nullptr);
        virlo.TerminateVirlo(false);
    });
}

// Names met at two addresses belong to the table of their session: the next
// session, on the table as rewritten since, sees only its own.
TEST(VirloExports, EachSessionSeesOnlyItsOwnNonUniqueNames) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        WriteText(folder.File("SymbolDetails.txt"),
                  Row(0x10, "first") + Row(0x20, "first") + Row(0x30, "second"));
        ASSERT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        EXPECT_EQ(virlo.GetVirlo("first"), nullptr);
        EXPECT_NE(virlo.GetVirlo("second"), nullptr);
        virlo.TerminateVirlo(false);

        WriteText(folder.File("SymbolDetails.txt"),
                  Row(0x10, "first") + Row(0x30, "second") + Row(0x40, "second"));
        ASSERT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        EXPECT_NE(virlo.GetVirlo("first"), nullptr);
        EXPECT_EQ(virlo.GetVirlo("second"), nullptr);
        virlo.TerminateVirlo(false);
    });
}

TEST(VirloExports, RawTableIsReadWithoutRowLimit) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        WriteText(folder.File("SymbolDetails.txt"), Row(0x10, "plain"));
        WriteText(folder.File("RawSymbolDetails.txt"), Rows(12000));
        ASSERT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        EXPECT_NE(virlo.GetVirlo("row0"), nullptr);
        EXPECT_NE(virlo.GetVirlo("row11999"), nullptr);
        EXPECT_EQ(virlo.GetVirlo("plain"), nullptr);
        virlo.TerminateVirlo(false);
    });
}

TEST(VirloExports, TableFileWithTheLimit) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        WriteText(folder.File("SymbolDetails.txt"), Rows(10001));
        ASSERT_EQ(virlo.InitVirlo(folder.File("SymbolDetails.txt"), ""), 0u);
        EXPECT_EQ(virlo.CacheVirlo("*"), 1u);
        EXPECT_NE(virlo.GetVirlo("row9999"), nullptr);
        EXPECT_EQ(virlo.GetVirlo("row10000"), nullptr);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);
        EXPECT_EQ(virlo.GetVirlo("row9999"), nullptr);  // the cache holds the new batch only
        EXPECT_NE(virlo.GetVirlo("row10000"), nullptr);
        virlo.TerminateVirlo(false);
    });
}

TEST(VirloExports, PathThatIsNoCharacterTextRaisesBadConversion) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        WriteText(folder.File("SymbolDetails.txt"), Rows(1));
        ASSERT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
        const wchar_t path[] = {L'/', wchar_t(0xD83D), wchar_t(0xDE00), 0};
        try {
            virlo.WriteVirloToFile(path, 0, 0, 1, 0);
            ADD_FAILURE() << "no error raised";
        } catch (const std::range_error& error) {
            EXPECT_STREQ(error.what(), "bad conversion");
        }
        // The override ignores the path; a null path is no path.
        EXPECT_EQ(virlo.WriteVirloToFile(nullptr, 0, 0, 1, 0), 0u);
        virlo.TerminateVirlo(false);
    });
}

TEST(VirloExports, FailingFileSystemQueryRaisesFromInitVirlo) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        EXPECT_THROW(virlo.InitVirlo(folder.Path() + std::string(300, 'x') + "/", ""),
                     std::filesystem::filesystem_error);
        // The lock was taken; TerminateVirlo leaves it.
        virlo.TerminateVirlo(false);
        std::atomic<bool> done{false};
        std::thread other([&] {
            virlo.InitVirlo("", "");
            virlo.TerminateVirlo(false);
            done = true;
        });
        for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(10ms);
        if (!done) std::_Exit(3);  // the lock was never left
        other.join();
    });
}

// One use of the library at a time: a second thread's InitVirlo waits for
// the first thread's TerminateVirlo.
TEST(VirloExports, SecondThreadWaitsForTerminateVirlo) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        TempFolder folder;
        WriteText(folder.File("SymbolDetails.txt"), Rows(1));
        ASSERT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
        ASSERT_EQ(virlo.InitVirlo(folder.Path(), ""), 5u);  // entered twice
        std::atomic<bool> entered{false};
        std::thread other([&] {
            // Not the lock's holder: ends nothing.
            virlo.TerminateVirlo(false);
            EXPECT_EQ(virlo.InitVirlo(folder.Path(), ""), 0u);
            entered = true;
            virlo.TerminateVirlo(false);
        });
        std::this_thread::sleep_for(50ms);
        EXPECT_FALSE(entered);
        EXPECT_EQ(virlo.CacheVirlo("*"), 0u);  // the first use goes on undisturbed
        EXPECT_NE(virlo.GetVirlo("row0"), nullptr);
        virlo.TerminateVirlo(false);
        for (int i = 0; i < 500 && !entered; ++i) std::this_thread::sleep_for(10ms);
        if (!entered) std::_Exit(3);
        other.join();
    });
}

// A TerminateVirlo whose rename fails raises the error and still leaves the
// lock; a TerminateVirlo without the lock does nothing at all.
TEST(VirloExports, TerminateVirloWithoutTheLockOrWithAFailedRename) {
    RunWithFreshVirlo([](VirloLibrary& virlo) {
        virlo.TerminateVirlo(true);  // no lock exists yet
        TempFolder folder;
        const std::string table = folder.File("SymbolDetails.txt");
        WriteText(table, Rows(1));
        ASSERT_EQ(virlo.InitVirlo(table, ""), 0u);
        std::filesystem::remove(table + ".tmp");
        EXPECT_THROW(virlo.TerminateVirlo(true), std::filesystem::filesystem_error);
        EXPECT_EQ(ReadText(table), Rows(1));
        virlo.TerminateVirlo(true);  // the lock is gone: nothing happens

        std::atomic<bool> done{false};
        std::thread other([&] {
            EXPECT_EQ(virlo.InitVirlo(table, ""), 0u);
            virlo.TerminateVirlo(true);
            done = true;
        });
        for (int i = 0; i < 500 && !done; ++i) std::this_thread::sleep_for(10ms);
        if (!done) std::_Exit(3);
        other.join();
        EXPECT_EQ(ReadText(table), "");  // replaced by the empty companion
    });
}

}  // namespace
