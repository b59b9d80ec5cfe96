#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Eeprom.h"
#include "FmuHarness.h"
#include "LoggingInstance.h"
#include "SymbolRegistration.h"
#include "platform/MemoryProtection.h"

namespace {

using ambrel_test::LoggingInstance;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// ECU memory: without a vECU library the base is 0, so the ranges are
// written as text forms with absolute addresses.
alignas(4096) uint8_t nvm[4096];
alignas(4096) uint8_t lockedPage[4096];
// One range whose data line is longer than 10,000,000 characters.
constexpr std::size_t kLargeSize = 855 * 4096;
alignas(4096) uint8_t largeNvm[kLargeSize];

std::string Range(const void* address, uint64_t size) {
    char text[64];
    std::snprintf(text, sizeof text, "0x%" PRIxPTR " %" PRIu64, reinterpret_cast<uintptr_t>(address), size);
    return text;
}

class Eeprom : public ::testing::Test {
protected:
    void SetUp() override { std::memset(nvm, 0xee, sizeof nvm); }

    FmiInternalState& instance() { return logging.instance; }

    // The Eeprom section as the resources.txt of the folder.
    void Section(const std::string& entries) {
        folder.Write("resources.txt", "vEcuDll\n    ecu.so\nEeprom\n" + entries);
        ReadEepromSection(instance(), folder.path(), "vecu");
    }
    // Read and registered as fmi2Instantiate does, then loaded.
    uint32_t Load(const std::string& entries) {
        Section(entries);
        RegisterEepromSymbols(instance());
        return LoadEepromFiles(instance(), folder.path(), "vecu");
    }
    uint32_t Save() { return SaveEepromFiles(instance(), folder.path(), "vecu"); }

    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : logging.messages) texts.push_back(message.text);
        return texts;
    }

    LoggingInstance logging{"vecu"};
    harness::ResourceFolder folder;
    harness::ResourceFolder outside;  // where sync files live
};

TEST_F(Eeprom, TheSectionNamesFilesRangesAndSyncFilesAndReportsLinesWithNothingToSay) {
    Section("        strayRange\n"                          // line 3: before any file
            "    nvm.txt the image of the build\n"
            "        0x10 4\n"
            "        /no/such/folder/nvm-sync.txt\n"        // not counted in line numbers
            "        \n"                                     // line 7, reported as 6
            "    second.txt\n"
            "        C:\\sync\\second.txt\n"
            "    \n"                                         // line 10, reported as 8
            "\n"
            "    notRead.txt\n");
    const std::vector<EepromFile>& files = instance().eepromFiles;
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].fileName, "nvm.txt");
    EXPECT_EQ(files[0].syncFilePath, "/no/such/folder/nvm-sync.txt");
    ASSERT_EQ(files[0].ranges.size(), 2u);
    EXPECT_EQ(files[0].ranges[0].symbolName, "0x10 4");
    EXPECT_EQ(files[0].ranges[1].symbolName, "");
    EXPECT_EQ(files[0].ranges[0].location.address, 0u);
    EXPECT_EQ(files[1].fileName, "second.txt");
    EXPECT_EQ(files[1].syncFilePath, "C:\\sync\\second.txt");
    EXPECT_THAT(files[1].ranges, IsEmpty());
    EXPECT_EQ(files[2].fileName, "");
    EXPECT_THAT(Texts(), ElementsAre("'resources/resources.txt' line 3 names no EEPROM file before it; ignored.",
                                     "'resources/resources.txt' line 6 is empty! File name(s) expected.",
                                     "'resources/resources.txt' line 8 is empty! File name(s) expected."));
}

TEST_F(Eeprom, ANonEmptySyncFileReplacesTheImageAnyOtherLeavesIt) {
    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt"}) folder.Write(name, "01\n");
    outside.Write("a-sync.txt", "# left by the last run\n7f\n");
    outside.Write("b-sync.txt", "");
    outside.Write("d-sync.txt/unreadable", "");  // a folder where the sync file should be
    // Images named like leftovers of a.txt's replacement by a process that
    // cannot run (beyond the largest Linux process id), and named after
    // a.txt's sync file: its refresh leaves them.
    const std::string lookalikes[] = {"a.txt.new-9999999-0", ".a.txt.ambrel-new-9999999-0"};
    for (const std::string& name : lookalikes) folder.Write(name, "02\n");
    Section("    a.txt\n        " + outside.path() + "a-sync.txt\n" +
            "    b.txt\n        " + outside.path() + "b-sync.txt\n" +
            "    c.txt\n        " + outside.path() + "c-sync.txt\n" +
            "    d.txt\n        " + outside.path() + "d-sync.txt\n" +
            "    " + lookalikes[0] + "\n    " + lookalikes[1] + "\n");
    for (const std::string& name : lookalikes) EXPECT_EQ(folder.Read(name), "02\n") << name;
    EXPECT_EQ(folder.Read("a.txt"), "# left by the last run\n7f\n");
    EXPECT_EQ(folder.Read("b.txt"), "01\n");
    EXPECT_EQ(folder.Read("c.txt"), "01\n");
    EXPECT_EQ(folder.Read("d.txt"), "01\n");
    EXPECT_THAT(Texts(), ElementsAre("Couldn't copy eeprom data from sync file, using data provided during "
                                     "build.\nerror: '" + outside.path() + "d-sync.txt': Is a directory"));
}

TEST_F(Eeprom, BytesLoadIntoTheirRangesAndWriteBackInPlaceOfTheirLines) {
    folder.Write("one.txt",
                 "# version 1\r\n"
                 "01 02 03\r\n"         // four bytes wide: the fourth stays, the range shrinks to 3
                 "0a  0b 1ff\r\n"       // two wide: further tokens are not stored
                 "# before three\n"
                 " 1ff 0x1f zz\n"
                 "# after the last data line, before a range without one\n");
    folder.Write("two.txt", "ab\ncd\n# after the last range's line\n");
    ASSERT_EQ(Load("    one.txt\n"
                   "        " + Range(nvm, 4) + "\n"
                   "        " + Range(nvm + 16, 2) + "\n"
                   "        " + Range(nvm + 32, 3) + "\n"
                   "        " + Range(nvm + 48, 4) + "\n"
                   "    two.txt\n"
                   "        " + Range(nvm + 64, 1) + "\n"),
              0u);
    EXPECT_THAT(std::vector<uint8_t>(nvm, nvm + 4), ElementsAre(0x01, 0x02, 0x03, 0xee));
    EXPECT_THAT(std::vector<uint8_t>(nvm + 16, nvm + 19), ElementsAre(0x0a, 0x0b, 0xee));
    EXPECT_THAT(std::vector<uint8_t>(nvm + 32, nvm + 35), ElementsAre(0xff, 0x1f, 0x00));
    EXPECT_THAT(std::vector<uint8_t>(nvm + 48, nvm + 52), ElementsAre(0xee, 0xee, 0xee, 0xee));
    EXPECT_EQ(nvm[64], 0xab);  // the second file starts from its own first line
    const std::vector<EepromRange>& ranges = instance().eepromFiles[0].ranges;
    EXPECT_EQ(ranges[0].location.size, 3u);
    EXPECT_EQ(ranges[3].location.size, 4u);

    nvm[0] = 0xAB;
    nvm[1] = 0x05;
    nvm[64] = 0x7f;
    ASSERT_EQ(Save(), 0u);
    EXPECT_EQ(folder.Read("one.txt"),
              "# version 1\nab 05 03\n0a 0b\n# before three\nff 1f 00\n"
              "# after the last data line, before a range without one\n");
    EXPECT_EQ(folder.Read("two.txt"), "7f\ncd\n# after the last range's line\n");
    EXPECT_THAT(Texts(), IsEmpty());
}

TEST_F(Eeprom, RangesWithNothingToReadKeepTheirLines) {
    folder.Write("nvm.txt", "01 02\nde ad be ef\n03\n");
    ASSERT_EQ(Load("    nvm.txt\n"
                   "        " + Range(nvm, 2) + "\n"
                   "        NotAVecuSymbol\n"
                   "        " + Range(lockedPage, 1) + "\n"),
              0u);
    EXPECT_EQ(lockedPage[0], 0x03);
    nvm[0] = 0x11;
    ASSERT_EQ(platform::SetMemoryProtection(reinterpret_cast<uint64_t>(lockedPage), sizeof lockedPage,
                                            platform::ProtectionNone),
              0);
    const uint32_t saved = Save();
    platform::SetMemoryProtection(reinterpret_cast<uint64_t>(lockedPage), sizeof lockedPage,
                                  platform::ProtectionRead | platform::ProtectionWrite);
    EXPECT_EQ(saved, 0u);
    EXPECT_EQ(folder.Read("nvm.txt"), "11 02\nde ad be ef\n03\n");
    // The unknown symbol is reported once, at registration.
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: EEPROM range 'NotAVecuSymbol' of 'nvm.txt' names no "
                                     "known symbol; its data line is kept as it is.",
                                     "fmi2Terminate: EEPROM range '" + Range(lockedPage, 1) +
                                         "' of 'nvm.txt' lies in memory that cannot be read; its line is "
                                         "kept."));
}

TEST_F(Eeprom, LinesLongerThanTenMillionCharactersAreReadAndWrittenWhole) {
    std::string line;
    for (std::size_t i = 0; i < kLargeSize; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, i == 0 ? "%02zx" : " %02zx", (i * 7) & 0xff);
        line += byte;
    }
    ASSERT_GT(line.size(), 10000000u);
    folder.Write("large.txt", line + "\n5a\n");
    ASSERT_EQ(Load("    large.txt\n"
                   "        " + Range(largeNvm, kLargeSize) + "\n"
                   "        " + Range(nvm, 1) + "\n"),
              0u);
    std::size_t wrong = 0;
    for (std::size_t i = 0; i < kLargeSize; ++i) wrong += largeNvm[i] != ((i * 7) & 0xff);
    EXPECT_EQ(wrong, 0u);
    EXPECT_EQ(nvm[0], 0x5a);  // the next line, not the rest of the long one
    EXPECT_EQ(instance().eepromFiles[0].ranges[0].location.size, kLargeSize);

    ASSERT_EQ(Save(), 0u);
    EXPECT_TRUE(folder.Read("large.txt") == line + "\n5a\n");
}

TEST_F(Eeprom, ARangeThatCannotBeOpenedIsReportedAndNotStoredInto) {
    folder.Write("nvm.txt", "01 02\n03\n");
    EXPECT_EQ(Load("    nvm.txt\n"
                   "        0x10 2\n"  // the first page is never mapped
                   "        " + Range(nvm, 1) + "\n"),
              static_cast<uint32_t>(ENOMEM));
    EXPECT_EQ(nvm[0], 0x03);  // the ranges after it still load
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: Cannot make EEPROM range '0x10 2' of 'nvm.txt' "
                                     "writable: Cannot allocate memory"));
}

TEST_F(Eeprom, AFailedWriteBackIsReportedAndTheOtherFilesAreStillWritten) {
    outside.Write("plain", "a file, not a folder");
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) folder.Write(name, "01\n");
    ASSERT_EQ(Load("    a.txt\n        " + Range(nvm, 1) + "\n        " + outside.path() + "plain/a-sync.txt\n" +
                   "    b.txt\n        " + Range(nvm + 1, 1) + "\n" +
                   "    c.txt\n        " + Range(nvm + 2, 1) + "\n"),
              0u);
    nvm[0] = 0x0a;
    nvm[2] = 0x0c;
    std::remove((folder.path() + "b.txt").c_str());

    EXPECT_EQ(Save(), static_cast<uint32_t>(ENOENT));
    EXPECT_EQ(folder.Read("a.txt"), "0a\n");
    EXPECT_FALSE(folder.Exists("b.txt"));
    EXPECT_EQ(folder.Read("c.txt"), "0c\n");
    EXPECT_THAT(Texts(),
                ElementsAre("fmi2Terminate: Couldn't copy eeprom data to sync file; the next simulation "
                            "will start from its older content.\nerror: '" + outside.path() +
                                "plain/a-sync.txt': Not a directory",
                            "fmi2Terminate: Cannot read the EEPROM file '" + folder.path() +
                                "b.txt': No such file or directory; its ranges are not written back."));
}

}  // namespace
