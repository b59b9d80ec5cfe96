#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "DatasetBinding.h"
#include "FmuHarness.h"
#include "InitialData.h"
#include "LoggingInstance.h"
#include "ScopedSettings.h"
#include "VariableTestSupport.h"
#include "VirloBinding.h"
#include "platform/MemoryProtection.h"

namespace {

using ambrel_test::LoggingInstance;
using variable_test::StubVirlo;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::StartsWith;

// The ECU memory of these tests: without a vECU library the base is 0, so
// dataset records name absolute addresses.
alignas(4096) uint8_t ecu[4096];
alignas(4096) uint8_t readOnlyPage[4096];

uint64_t AddressOf(std::size_t offset) { return reinterpret_cast<uint64_t>(ecu + offset); }

// A seven-column varval line for an absolute address.
std::string LineAt(uint64_t address, uint64_t size, uint32_t type, const std::string& value,
                 unsigned bitOffset = 0, unsigned bitLength = 0) {
    char text[160];
    std::snprintf(text, sizeof text, "0x%" PRIx64 " %" PRIu64 " %u %u %u ", address, size, type, bitOffset,
                  bitLength);
    return text + value + " label\n";
}

// The same for an offset into the test's ECU memory.
std::string Line(std::size_t offset, uint64_t size, uint32_t type, const std::string& value,
                 unsigned bitOffset = 0, unsigned bitLength = 0) {
    return LineAt(AddressOf(offset), size, type, value, bitOffset, bitLength);
}

template <typename T>
T At(std::size_t offset) {
    T value;
    std::memcpy(&value, ecu + offset, sizeof value);
    return value;
}

class InitialDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(ecu, 0, sizeof ecu);
        folder.Copy(INITIAL_DATA_DATASET_LIBRARY, "Dataset.so");
    }

    int32_t Apply(const std::vector<std::string>& entries) {
        logging.instance.initialDataEntries = entries;
        return ApplyInitialData(logging.instance, folder.path(), "vecu");
    }
    int32_t ApplyVarval(const std::string& content) {
        folder.Write("cal.varval", content);
        return Apply({"UTF-8:cal.varval"});
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const auto& message : logging.messages) texts.push_back(message.text);
        return texts;
    }

    LoggingInstance logging{"vecu"};
    harness::ResourceFolder folder;
};

TEST_F(InitialDataTest, SectionGivesTheFirstWordOfEachEntry) {
    folder.Write("resources.txt",
                 "vEcuDll\n    vecu.so\nInitialData\n    UTF-8:cal.varval comment\n    \n    cal.dcm\nEeprom\n");
    EXPECT_EQ(ReadInitialDataSection(logging.instance, folder.path(), "vecu"), 0);
    EXPECT_THAT(logging.instance.initialDataEntries, ElementsAre("UTF-8:cal.varval", "", "cal.dcm"));
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_EQ(logging.messages[0].text, "'resources/resources.txt' line 4 is empty! File name(s) expected.");
    EXPECT_EQ(logging.messages[0].status, fmi2Warning);
    EXPECT_EQ(logging.messages[0].category, "warning");
}

TEST_F(InitialDataTest, SectionWithoutResourcesFileAddsNothing) {
    EXPECT_EQ(ReadInitialDataSection(logging.instance, folder.path(), "vecu"), 0);
    EXPECT_THAT(logging.instance.initialDataEntries, IsEmpty());
}

TEST_F(InitialDataTest, WithoutEntriesNothingIsWrittenOrSaid) {
    EXPECT_EQ(Apply({}), 0);
    EXPECT_THAT(Texts(), IsEmpty());
    EXPECT_EQ(datasetEntryPoints.GetDataset, nullptr);
}

TEST_F(InitialDataTest, EntryWithoutColonNamesAFileOfTheFolder) {
    folder.Write("cal.varval", Line(0, 1, 2, "42"));
    EXPECT_EQ(Apply({"cal.varval"}), 0);
    EXPECT_EQ(At<uint8_t>(0), 42);
}

TEST_F(InitialDataTest, IntegersAndEnumerationsAreStoredWhole) {
    EXPECT_EQ(ApplyVarval(Line(0, 1, 1, "-5") + Line(1, 1, 2, "200") + Line(2, 2, 3, "-300") +
                          Line(4, 2, 4, "60000") + Line(8, 4, 5, "-70000") + Line(12, 4, 6, "4000000000") +
                          Line(16, 8, 7, "-5000000000000") + Line(24, 8, 8, "18000000000000000000") +
                          Line(32, 1, 14, "-1") + Line(34, 2, 14, "-2") + Line(36, 4, 14, "-3") +
                          Line(40, 8, 14, "-4")),
              0);
    EXPECT_EQ(At<int8_t>(0), -5);
    EXPECT_EQ(At<uint8_t>(1), 200);
    EXPECT_EQ(At<int16_t>(2), -300);
    EXPECT_EQ(At<uint16_t>(4), 60000);
    EXPECT_EQ(At<int32_t>(8), -70000);
    EXPECT_EQ(At<uint32_t>(12), 4000000000u);
    EXPECT_EQ(At<int64_t>(16), -5000000000000);
    EXPECT_EQ(At<uint64_t>(24), 18000000000000000000u);
    EXPECT_EQ(At<int8_t>(32), -1);
    EXPECT_EQ(At<int16_t>(34), -2);
    EXPECT_EQ(At<int32_t>(36), -3);
    EXPECT_EQ(At<int64_t>(40), -4);
    EXPECT_THAT(Texts(), IsEmpty());
}

TEST_F(InitialDataTest, FloatsIgnoreBitFieldsAndBoolsStoreTheirTruth) {
    EXPECT_EQ(ApplyVarval(Line(0, 4, 9, "1.5", 3, 4) + Line(8, 8, 10, "0.1") + Line(16, 1, 17, "1")), 0);
    EXPECT_EQ(At<float>(0), 1.5f);
    EXPECT_EQ(At<double>(8), 0.1);
    EXPECT_EQ(At<uint8_t>(16), 1);

    std::memset(ecu, 0xFF, 8);
    EXPECT_EQ(ApplyVarval(Line(0, 1, 17, "0") + Line(1, 1, 17, "2") + Line(2, 1, 17, "false") +
                          Line(3, 1, 17, "TRUE") + Line(4, 1, 17, "0.0") + Line(5, 1, 17, "x")),
              0);
    EXPECT_EQ(At<uint8_t>(0), 0);
    EXPECT_EQ(At<uint8_t>(1), 1);
    EXPECT_EQ(At<uint8_t>(2), 0);
    EXPECT_EQ(At<uint8_t>(3), 1);
    EXPECT_EQ(At<uint8_t>(4), 0);
    EXPECT_EQ(At<uint8_t>(5), 'x');  // no truth value: the character's code, as before
}

TEST_F(InitialDataTest, BitFieldsAreInsertedInTheConfiguredPackingOrder) {
    std::memset(ecu, 0xFF, 16);
    const std::string dataset = Line(0, 1, 2, "5", 3, 4) + Line(2, 2, 3, "-2", 4, 3) + Line(4, 4, 14, "1", 0, 2);
    EXPECT_EQ(ApplyVarval(dataset), 0);
    EXPECT_EQ(At<uint8_t>(0), 0xAF);      // bits 3..6 hold 0101
    EXPECT_EQ(At<uint16_t>(2), 0xFFEF);   // bits 4..6 hold 110
    EXPECT_EQ(At<uint32_t>(4), 0xFFFFFFFDu);

    std::memset(ecu, 0xFF, 16);
    logging.instance.bitfieldPackingOrder = BitfieldPackingOrder_LeftToRight;
    EXPECT_EQ(ApplyVarval(dataset), 0);
    EXPECT_EQ(At<uint8_t>(0), 0xEB);      // bits 1..4 hold 0101
    EXPECT_EQ(At<uint16_t>(2), 0xFDFF);   // bits 9..11 hold 110
    EXPECT_EQ(At<uint32_t>(4), 0x7FFFFFFFu);
}

TEST_F(InitialDataTest, LaterEntryForTheSameAddressStays) {
    EXPECT_EQ(ApplyVarval(Line(0, 2, 4, "1") + Line(0, 2, 4, "2")), 0);
    EXPECT_EQ(At<uint16_t>(0), 2);
}

TEST_F(InitialDataTest, UnknownEnumerationSizeIsReportedAndTheRestWritten) {
    char expected[96];
    std::snprintf(expected, sizeof expected, "fmi2Instantiate: Unknown symbol type for index %" PRIx64 ".",
                  AddressOf(0));
    EXPECT_EQ(ApplyVarval(Line(0, 3, 14, "7") + Line(8, 1, 2, "9")), 1);
    EXPECT_THAT(Texts(), ElementsAre(expected));
    EXPECT_EQ(logging.messages[0].status, fmi2Error);
    EXPECT_EQ(logging.messages[0].category, "error");
    EXPECT_EQ(At<uint32_t>(0), 0u);
    EXPECT_EQ(At<uint8_t>(8), 9);
}

TEST_F(InitialDataTest, TypeCodeAbove17IsReportedAndTheLastFailureIsTheResult) {
    char expected[96];
    std::snprintf(expected, sizeof expected, "fmi2Instantiate: Unknown symbol type for index %p.",
                  static_cast<void*>(ecu + 4));
    EXPECT_EQ(ApplyVarval(Line(0, 3, 14, "7") + Line(4, 4, 18, "7") + Line(8, 1, 2, "9")), 2);
    EXPECT_EQ(Texts().at(1), expected);
    EXPECT_EQ(At<uint32_t>(4), 0u);
    EXPECT_EQ(At<uint8_t>(8), 9);
}

TEST_F(InitialDataTest, TypesWithoutValuesWriteNothing) {
    std::string dataset;
    for (uint32_t type : {0u, 11u, 12u, 13u, 15u, 16u}) dataset += Line(0, 8, type, "7");
    EXPECT_EQ(ApplyVarval(dataset), 0);
    EXPECT_EQ(At<uint64_t>(0), 0u);
    EXPECT_THAT(Texts(), IsEmpty());
}

TEST_F(InitialDataTest, SymbolNamesAreResolvedThroughTheSymbolLibrary) {
    StubVirlo stub(REGISTRATION_STUB_VIRLO);
    ASSERT_TRUE(stub.loaded());
    stub.Add("speed", SymbolRecord(AddressOf(4), 2, SymbolType_u16, 0, 0));
    stub.Add("mode", SymbolRecord(AddressOf(8), 1, SymbolType_u8, 2, 3));
    platform::ModuleHandle library = BindVirloLibrary(stub.path());
    EXPECT_EQ(ApplyVarval("speed 1234\nunknown 5\nmode 3\n"), 0);
    FreeVirloLibrary(library);
    EXPECT_EQ(At<uint16_t>(4), 1234);
    EXPECT_EQ(At<uint8_t>(8), 3 << 2);
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: Dataset entry 'unknown' names no known symbol; not written."));
}

TEST_F(InitialDataTest, WithoutSymbolLibraryNamesAreReportedAndSkipped) {
    EXPECT_EQ(ApplyVarval("speed 1234\n"), 0);
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: Dataset entry 'speed' names no known symbol; not written."));
    EXPECT_EQ(logging.messages[0].status, fmi2Warning);
}

TEST_F(InitialDataTest, IncompleteRecordIsReportedAndNothingOfTheEntryBeforeIsReused) {
    char incomplete[64];
    std::snprintf(incomplete, sizeof incomplete, "0x%" PRIx64 " 1 2", AddressOf(0));
    EXPECT_EQ(ApplyVarval(Line(0, 1, 2, "7") + incomplete + " 5 label\n"), 0);
    EXPECT_EQ(At<uint8_t>(0), 7);
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: Dataset entry '" + std::string(incomplete) +
                                     "' is no valid symbol record; not written."));
}

TEST_F(InitialDataTest, ValuesThatDoNotParseCompletelyAreNotWritten) {
    std::memset(ecu, 0xAA, 64);
    EXPECT_EQ(ApplyVarval(Line(0, 1, 2, "1.5") + Line(4, 4, 5, "abc") + Line(8, 2, 4, "") +
                          Line(16, 4, 9, "x") + Line(24, 1, 17, "") + Line(32, 1, 2, "7")),
              0);
    EXPECT_EQ(At<uint64_t>(0), 0xAAAAAAAAAAAAAAAAu);
    EXPECT_EQ(At<uint64_t>(8), 0xAAAAAAAAAAAAAAAAu);
    EXPECT_EQ(At<uint64_t>(16), 0xAAAAAAAAAAAAAAAAu);
    EXPECT_EQ(At<uint64_t>(24), 0xAAAAAAAAAAAAAAAAu);
    EXPECT_EQ(At<uint8_t>(32), 7);
    ASSERT_EQ(logging.messages.size(), 5u);
    EXPECT_THAT(logging.messages[0].text, StartsWith("fmi2Instantiate: Value '1.5' of dataset entry '0x"));
}

TEST_F(InitialDataTest, MemoryThatCannotBeOpenedFailsTheStepAndIsNotWritten) {
    // The first pages of the address space are never mapped.
    EXPECT_EQ(ApplyVarval(LineAt(0x1000, 4, 6, "7") + Line(0, 1, 2, "9")), ENOMEM);
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: Cannot make dataset entry '0x1000 4 6 0 0' writable "
                                     "(error " + std::to_string(ENOMEM) + ")."));
    EXPECT_EQ(At<uint8_t>(0), 9);
}

TEST_F(InitialDataTest, RecordOfSizeZeroIsWrittenWhereMemoryAllowsIt) {
    ASSERT_EQ(platform::SetMemoryProtection(reinterpret_cast<uint64_t>(readOnlyPage), sizeof readOnlyPage,
                                            platform::ProtectionRead),
              0);
    EXPECT_EQ(ApplyVarval(Line(0, 0, 4, "513") + LineAt(reinterpret_cast<uint64_t>(readOnlyPage), 0, 4, "513")), 0);
    platform::SetMemoryProtection(reinterpret_cast<uint64_t>(readOnlyPage), sizeof readOnlyPage,
                                  platform::ProtectionRead | platform::ProtectionWrite);
    EXPECT_EQ(At<uint16_t>(0), 513);
    EXPECT_EQ(readOnlyPage[0], 0);
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_THAT(logging.messages[0].text, testing::HasSubstr("lies in memory that cannot be written"));
}

TEST_F(InitialDataTest, MissingLibraryIsReportedOnce) {
    std::filesystem::remove(folder.path() + "Dataset.so");
    folder.Write("cal.varval", Line(0, 1, 2, "42"));
    EXPECT_EQ(Apply({"cal.varval", "UTF-8:cal.varval"}), 0);
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: '" + folder.path() +
                                     "Dataset.so' cannot be loaded; no initial data written."));
    EXPECT_EQ(logging.messages[0].status, fmi2Error);
    EXPECT_EQ(At<uint8_t>(0), 0);
    logging.messages.clear();
    EXPECT_EQ(Apply({}), 0);
    EXPECT_THAT(Texts(), IsEmpty());
}

TEST_F(InitialDataTest, LibraryWithoutGetDatasetIsReportedOnce) {
    folder.Copy(INITIAL_DATA_PARTIAL_DATASET_LIBRARY, "Dataset.so");
    folder.Write("cal.varval", Line(0, 1, 2, "42"));
    EXPECT_EQ(Apply({"cal.varval", "cal.varval"}), 0);
    EXPECT_THAT(Texts(), ElementsAre("fmi2Instantiate: '" + folder.path() +
                                     "Dataset.so' exports no GetDataset; no initial data written."));
    EXPECT_EQ(At<uint8_t>(0), 0);
}

TEST_F(InitialDataTest, ConverterFailureIsLoggedAndFailsTheStep) {
    harness::ResourceFolder home, workspace;
    workspace.Write("build/vEcuConf.json", "{}");
    harness::ScopedEnvironment environment;
    environment.Set("QUORVEL_HOME", home.path());
    environment.Set("QUORVEL_WORKSPACE", workspace.path());
    harness::ScopedCurrentDirectory currentDirectory(workspace.path());
    folder.Write("cal.varval", Line(0, 1, 2, "42"));
    EXPECT_NE(Apply({"UTF-8:cal.dcm", "UTF-8:cal.varval"}), 0);
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_THAT(logging.messages[0].text,
                StartsWith("fmi2Instantiate: Cannot read the dataset 'UTF-8:" + folder.path() + "cal.dcm': "));
    EXPECT_EQ(logging.messages[0].status, fmi2Error);
    EXPECT_EQ(logging.messages[0].category, "error");
    EXPECT_EQ(At<uint8_t>(0), 42);
}

}  // namespace
