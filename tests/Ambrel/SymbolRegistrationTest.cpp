#include "SymbolRegistration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <typeinfo>

#include "LoggingInstance.h"
#include "SymbolAccessTypes.h"
#include "VariableTestSupport.h"
#include "VirloBinding.h"
#include "platform/MemoryProtection.h"

namespace {

using ambrel_test::LoggingInstance;
using variable_test::StubVirlo;

const char* const kCountMessage = "fmi2Instantiate: The number of symbols deviates from the expected number.";

bool SameRecord(const SymbolRecord& a, const SymbolRecord& b) {
    return a.address == b.address && a.size == b.size && a.typeCode == b.typeCode &&
           a.bitOffset == b.bitOffset && a.bitLength == b.bitLength;
}

// Registration against the fixture vECU, with the stand-in symbol library
// bound as the runtime binds the real one.
class SymbolRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stub.loaded());
        vecu = platform::LoadModule(REGISTRATION_FIXTURE_VECU);
        ASSERT_NE(vecu, nullptr);
        base = platform::ModuleBaseAddress(vecu);
        logging.instance.vEcuModule = vecu;
        library = BindVirloLibrary(REGISTRATION_STUB_VIRLO);
        ASSERT_NE(library, nullptr);
    }
    void TearDown() override {
        FreeVirloLibrary(library);
        platform::FreeModule(vecu);
    }

    uint64_t Offset(const char* symbol) {
        return reinterpret_cast<uint64_t>(platform::FindModuleSymbol(vecu, symbol)) - base;
    }
    void Entries(std::vector<std::string> entries) {
        logging.instance.variableLines.assign(entries.size(), 7);
        logging.instance.variableNames = std::move(entries);
    }
    const std::vector<SymbolRecord>& Ranges() { return logging.instance.memoryRanges; }

    StubVirlo stub{REGISTRATION_STUB_VIRLO};
    platform::ModuleHandle vecu = nullptr;
    platform::ModuleHandle library = nullptr;
    uint64_t base = 0;
    LoggingInstance logging{"vecu"};
};

TEST_F(SymbolRegistration, NamesAndTextFormsBecomeAbsoluteRecords) {
    stub.Add("fixtureU16", SymbolRecord(Offset("fixtureU16"), 2, SymbolType_u16, 0, 0));
    Entries({"fixtureU16", "0x1000 2 4 0 0"});
    RegisterSymbols(logging.instance);
    ASSERT_EQ(Ranges().size(), 2u);
    EXPECT_TRUE(SameRecord(Ranges()[0], SymbolRecord(base + Offset("fixtureU16"), 2, SymbolType_u16, 0, 0)));
    EXPECT_TRUE(SameRecord(Ranges()[1], SymbolRecord(base + 0x1000, 2, SymbolType_u16, 0, 0)));
}

TEST_F(SymbolRegistration, TextAfterTheFirstBlankIsNeverUsed) {
    stub.Add("fixtureS32", SymbolRecord(Offset("fixtureS32"), 4, SymbolType_s32, 0, 0));
    Entries({"fixtureS32 7", "fixtureS32 abc", "fixtureS32 ", "fixtureS32 99999999999999999999 x"});
    RegisterVariableSymbols(logging.instance);
    ASSERT_EQ(Ranges().size(), 4u);
    for (const SymbolRecord& record : Ranges()) EXPECT_EQ(record.address, base + Offset("fixtureS32"));
    EXPECT_EQ(stub.calls().getName, "fixtureS32");
}

TEST_F(SymbolRegistration, UnresolvedNamesAreSkippedAndLaterEntriesMoveUp) {
    stub.Add("fixtureS8", SymbolRecord(Offset("fixtureS8"), 1, SymbolType_s8, 0, 0));
    stub.Add("fixtureS32", SymbolRecord(Offset("fixtureS32"), 4, SymbolType_s32, 0, 0));
    Entries({"fixtureS8", "notThere", "", "fixtureS32"});
    RegisterVariableSymbols(logging.instance);
    ASSERT_EQ(Ranges().size(), 2u);
    ASSERT_EQ(CreateSymbolAccessors(logging.instance, "vecu"), 0);
    ASSERT_EQ(logging.instance.variables.size(), 2u);
    EXPECT_EQ(logging.instance.variables[0]->Read().integer, -5);
    EXPECT_EQ(logging.instance.variables[1]->Read().integer, -123456);  // value reference 2
    // One warning for the entry that names something; the empty one was
    // reported by the section reader.
    EXPECT_EQ(logging.messages.size(), 1u);
}

TEST_F(SymbolRegistration, MissingFieldsOfATextFormAreZero) {
    Entries({"0x20", "0x20 4", "0x1a0 4 6 0 0", "030 1 0x11 010 2"});
    RegisterVariableSymbols(logging.instance);
    ASSERT_EQ(Ranges().size(), 4u);
    EXPECT_TRUE(SameRecord(Ranges()[0], SymbolRecord(base + 0x20, 0, 0, 0, 0)));
    EXPECT_TRUE(SameRecord(Ranges()[1], SymbolRecord(base + 0x20, 4, 0, 0, 0)));
    EXPECT_TRUE(SameRecord(Ranges()[2], SymbolRecord(base + 0x1a0, 4, SymbolType_u32, 0, 0)));
    EXPECT_TRUE(SameRecord(Ranges()[3], SymbolRecord(base + 0x30, 1, SymbolType_bool, 8, 2)));
}

TEST_F(SymbolRegistration, WithoutAVecuTextAddressesAreAbsolute) {
    logging.instance.vEcuModule = nullptr;
    Entries({"0x1000 2 4 0 0"});
    RegisterVariableSymbols(logging.instance);
    ASSERT_EQ(Ranges().size(), 1u);
    EXPECT_EQ(Ranges()[0].address, 0x1000u);
}

TEST_F(SymbolRegistration, NamesStayUnresolvedWhileNoSymbolLibraryIsBound) {
    stub.Add("fixtureU16", SymbolRecord(Offset("fixtureU16"), 2, SymbolType_u16, 0, 0));
    FreeVirloLibrary(library);
    library = nullptr;
    Entries({"fixtureU16", "0x10 1 2 0 0"});
    RegisterVariableSymbols(logging.instance);
    ASSERT_EQ(Ranges().size(), 1u);
    EXPECT_EQ(Ranges()[0].address, base + 0x10);
    EXPECT_EQ(stub.calls().get, 0);
}

TEST_F(SymbolRegistration, EepromRangesTakeTheirLocationsAndAnUnknownOneIsReported) {
    stub.Add("fixtureU16", SymbolRecord(Offset("fixtureU16"), 2, SymbolType_u16, 0, 0));
    EepromFile file;
    file.fileName = "nvm.txt";
    for (const char* name : {"fixtureU16", "0x4000 128", "notThere"}) file.ranges.push_back({name, {}});
    logging.instance.eepromFiles.push_back(file);
    RegisterSymbols(logging.instance);
    const std::vector<EepromRange>& ranges = logging.instance.eepromFiles[0].ranges;
    EXPECT_TRUE(SameRecord(ranges[0].location, SymbolRecord(base + Offset("fixtureU16"), 2, SymbolType_u16, 0, 0)));
    EXPECT_TRUE(SameRecord(ranges[1].location, SymbolRecord(base + 0x4000, 128, 0, 0, 0)));
    EXPECT_TRUE(SameRecord(ranges[2].location, SymbolRecord()));
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_EQ(logging.messages[0].text,
              "fmi2Instantiate: EEPROM range 'notThere' of 'nvm.txt' names no known symbol; its data line is "
              "kept as it is.");
    EXPECT_THAT(Ranges(), ::testing::IsEmpty());  // EEPROM ranges are no FMI variables
}

TEST_F(SymbolRegistration, UnprotectMakesEachRangeWritable) {
    const uint64_t constant = base + Offset("fixtureConstant");
    int protection = 0;
    ASSERT_EQ(platform::QueryMemoryProtection(constant, &protection), 0);
    ASSERT_EQ(protection & platform::ProtectionWrite, 0);  // starts read-only

    logging.instance.memoryRanges = {SymbolRecord(constant, 4, SymbolType_u32, 0, 0)};
    EXPECT_EQ(UnprotectMemoryRanges(logging.instance), 0u);
    ASSERT_EQ(platform::QueryMemoryProtection(constant, &protection), 0);
    EXPECT_EQ(protection, platform::ProtectionReadWriteExecute);

    ASSERT_EQ(CreateSymbolAccessors(logging.instance, "vecu"), 0);
    SymbolValue value;
    value.integer = 0xA5A5A5A5;
    logging.instance.variables[0]->Write(value);
    EXPECT_EQ(logging.instance.variables[0]->Read().integer, 0xA5A5A5A5);
}

TEST_F(SymbolRegistration, UnprotectSkipsEmptyRangesAndGoesOnAfterAFailure) {
    const uint64_t constant = base + Offset("fixtureConstant");
    logging.instance.memoryRanges = {
        SymbolRecord(0x1000, 4, SymbolType_u32, 0, 0),  // not mapped
        SymbolRecord(0x2000, 0, SymbolType_u32, 0, 0),  // empty: not touched
        SymbolRecord(constant, 4, SymbolType_u32, 0, 0),
    };
    EXPECT_EQ(UnprotectMemoryRanges(logging.instance), static_cast<uint32_t>(ENOMEM));
    int protection = 0;
    ASSERT_EQ(platform::QueryMemoryProtection(constant, &protection), 0);
    EXPECT_EQ(protection, platform::ProtectionReadWriteExecute);

    logging.instance.memoryRanges = {SymbolRecord(0x2000, 0, SymbolType_u32, 0, 0)};
    EXPECT_EQ(UnprotectMemoryRanges(logging.instance), 0u);
}

// Accessor creation needs no memory behind the addresses.
class CreateAccessors : public ::testing::Test {
protected:
    int32_t Create(std::vector<SymbolRecord> records) {
        logging.instance.memoryRanges = std::move(records);
        return CreateSymbolAccessors(logging.instance, "creator");
    }
    const SymbolAccess& Accessor(size_t index) { return *logging.instance.variables.at(index); }

    LoggingInstance logging{"vecu"};
};

TEST_F(CreateAccessors, EveryStorageTypeGetsItsClass) {
    logging.instance.bitfieldPackingOrder = 1;
    std::vector<SymbolRecord> records;
    for (uint32_t type = SymbolType_s8; type <= SymbolType_float64; ++type)
        records.emplace_back(0x100 * type, 8, type, 1, 2);
    records.emplace_back(0x1100, 1, SymbolType_bool, 0, 0);
    for (uint64_t size : {1, 2, 4, 8}) records.emplace_back(0x2000 + size, size, SymbolType_Enumeration, 0, 0);
    ASSERT_EQ(Create(records), 0);
    EXPECT_TRUE(logging.messages.empty());

    const std::type_info* expected[] = {
        &typeid(SymbolAccess_s8),  &typeid(SymbolAccess_u8),  &typeid(SymbolAccess_s16), &typeid(SymbolAccess_u16),
        &typeid(SymbolAccess_s32), &typeid(SymbolAccess_u32), &typeid(SymbolAccess_s64), &typeid(SymbolAccess_u64),
        &typeid(SymbolAccess_f32), &typeid(SymbolAccess_f64), &typeid(SymbolAccess_bool), &typeid(SymbolAccess_s8),
        &typeid(SymbolAccess_s16), &typeid(SymbolAccess_s32), &typeid(SymbolAccess_s64)};
    ASSERT_EQ(logging.instance.variables.size(), std::size(expected));
    for (size_t i = 0; i < std::size(expected); ++i) {
        EXPECT_EQ(typeid(Accessor(i)), *expected[i]) << i;
        EXPECT_EQ(Accessor(i).Address(), records[i].address) << i;
    }
    // Integer accessors carry the record's bit field and the configured order.
    EXPECT_EQ(Accessor(2).bitOffset, 1);
    EXPECT_EQ(Accessor(2).bitWidth, 2);
    EXPECT_EQ(Accessor(2).packingOrder, 1u);
    // Float records drop their bit field.
    EXPECT_EQ(Accessor(8).bitOffset, 0);
    EXPECT_EQ(Accessor(8).bitWidth, 0);

    ASSERT_NE(logging.instance.nullAccess, nullptr);
    EXPECT_EQ(logging.instance.nullAccess->Address(), 0u);
    EXPECT_EQ(logging.instance.nullAccess->ValueKind(), SymbolValueKind_none);
}

TEST_F(CreateAccessors, EnumerationKeepsItsBitField) {
    logging.instance.bitfieldPackingOrder = 1;
    ASSERT_EQ(Create({SymbolRecord(0x40, 2, SymbolType_Enumeration, 4, 3)}), 0);
    EXPECT_EQ(typeid(Accessor(0)), typeid(SymbolAccess_s16));
    EXPECT_EQ(Accessor(0).bitOffset, 4);
    EXPECT_EQ(Accessor(0).bitWidth, 3);
    EXPECT_EQ(Accessor(0).packingOrder, 1u);
}

TEST_F(CreateAccessors, TypesWithoutValueFailOnlyByTheCount) {
    for (uint32_t type : {SymbolType_Unknown, SymbolType_Void, SymbolType_Pointer, SymbolType_Array,
                          SymbolType_UserDefinedType, SymbolType_Function}) {
        logging.messages.clear();
        logging.instance.variables.clear();
        EXPECT_EQ(Create({SymbolRecord(0x40, 8, type, 0, 0)}), 3) << type;
        ASSERT_EQ(logging.messages.size(), 1u) << type;
        EXPECT_EQ(logging.messages[0].text, kCountMessage);
        EXPECT_EQ(logging.messages[0].status, fmi2Error);
        EXPECT_EQ(logging.messages[0].category, "error");
        EXPECT_EQ(logging.messages[0].instanceName, "creator");
    }
}

TEST_F(CreateAccessors, UnknownTypesNameTheWholeAddress) {
    logging.instance.loggingOn = false;
    EXPECT_EQ(Create({SymbolRecord(0x7f123456789aULL, 4, 18, 0, 0), SymbolRecord(0x10, 1, SymbolType_u8, 0, 0),
                      SymbolRecord(0x1234567890ULL, 3, SymbolType_Enumeration, 0, 0)}),
              3);
    ASSERT_EQ(logging.messages.size(), 3u);
    EXPECT_EQ(logging.messages[0].text, "fmi2Instantiate: Unknown symbol type for index 7f123456789a.");
    EXPECT_EQ(logging.messages[1].text, "fmi2Instantiate: Unknown symbol type for index 1234567890.");
    EXPECT_EQ(logging.messages[2].text, kCountMessage);
    // The loop went on past the failure; what was built stays.
    ASSERT_EQ(logging.instance.variables.size(), 1u);
    EXPECT_EQ(typeid(Accessor(0)), typeid(SymbolAccess_u8));
    EXPECT_NE(logging.instance.nullAccess, nullptr);
}

}  // namespace
