#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "ParserInstances.h"
#include "VirloCoreTestSupport.h"
#include "VirloParserSymbolDetails.h"
#include "platform/Module.h"

namespace {

using namespace virlo_core_test;

// The stand-in vECU loaded into this process; its variables' offsets come
// from the loader.
class FixtureImage {
public:
    FixtureImage() : module(platform::LoadModule(VIRLO_VALUE_FIXTURE)) {}
    ~FixtureImage() { platform::FreeModule(module); }

    bool Loaded() const { return module != nullptr; }
    uint64_t Base() const { return platform::ModuleBaseAddress(module); }
    template <typename T>
    T* Variable(const char* name) const {
        return reinterpret_cast<T*>(platform::FindModuleSymbol(module, name));
    }
    uint64_t Offset(const char* name) const {
        return reinterpret_cast<uint64_t>(platform::FindModuleSymbol(module, name)) - Base();
    }

private:
    platform::ModuleHandle module;
};

struct Expected {
    SymbolRecord record;
    std::string value;
};

// Every symbol of the table with its record and the value the writer must
// show. Bit offsets are those of the given order: gcc allocates fields from
// the least significant bit of their unit.
std::map<std::string, Expected> ExpectedSymbols(const FixtureImage& image, uint32_t bitOrder) {
    const auto bits = [bitOrder](unsigned width, uint8_t offset, uint8_t length) {
        return static_cast<uint8_t>(bitOrder == BitfieldPackingOrder_LeftToRight ? width - offset - length
                                                                                  : offset);
    };
    const uint64_t flags = image.Offset("fixtureFlags");
    const uint64_t byteFlags = image.Offset("fixtureByteFlags");
    return {
        {"fixtureS8", {{image.Offset("fixtureS8"), 1, SymbolType_s8, 0, 0}, "-5"}},
        {"fixtureU8", {{image.Offset("fixtureU8"), 1, SymbolType_u8, 0, 0}, "200"}},
        {"fixtureS16", {{image.Offset("fixtureS16"), 2, SymbolType_s16, 0, 0}, "-1234"}},
        {"fixtureU16", {{image.Offset("fixtureU16"), 2, SymbolType_u16, 0, 0}, "60000"}},
        {"fixtureS32", {{image.Offset("fixtureS32"), 4, SymbolType_s32, 0, 0}, "42"}},
        {"fixtureU32", {{image.Offset("fixtureU32"), 4, SymbolType_u32, 0, 0}, "4000000000"}},
        {"fixtureS64", {{image.Offset("fixtureS64"), 8, SymbolType_s64, 0, 0}, "-1234567890123456789"}},
        {"fixtureU64", {{image.Offset("fixtureU64"), 8, SymbolType_u64, 0, 0}, "18000000000000000000"}},
        {"fixtureF32", {{image.Offset("fixtureF32"), 4, SymbolType_float32, 0, 0}, "0.100000001"}},
        {"fixtureF64", {{image.Offset("fixtureF64"), 8, SymbolType_float64, 0, 0}, "-2.5e-300"}},
        {"fixtureBool", {{image.Offset("fixtureBool"), 1, SymbolType_bool, 0, 0}, "1"}},
        {"fixtureSmallMode", {{image.Offset("fixtureSmallMode"), 1, SymbolType_Enumeration, 0, 0}, "-1"}},
        {"fixtureMode", {{image.Offset("fixtureMode"), 4, SymbolType_Enumeration, 0, 0}, "70000"}},
        {"fixtureFlags", {{flags, 4, SymbolType_UserDefinedType, 0, 0}, ""}},
        {"fixtureFlags.low", {{flags, 4, SymbolType_u32, bits(32, 0, 3), 3}, "6"}},
        {"fixtureFlags.mid", {{flags, 4, SymbolType_s32, bits(32, 3, 5), 5}, "-7"}},
        {"fixtureFlags.high", {{flags, 4, SymbolType_u32, bits(32, 8, 7), 7}, "99"}},
        {"fixtureByteFlags.a", {{byteFlags, 1, SymbolType_u8, bits(8, 0, 2), 2}, "2"}},
        {"fixtureByteFlags.b", {{byteFlags, 1, SymbolType_s8, bits(8, 2, 4), 4}, "-6"}},
        {"fixtureArray", {{image.Offset("fixtureArray"), 16, SymbolType_Array, 0, 0}, ""}},
        {"fixtureArray[2]", {{image.Offset("fixtureArray") + 8, 4, SymbolType_s32, 0, 0}, "3"}},
    };
}

std::string Trimmed(const std::string& text) {
    const size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

// The Value column of every row of a written table, by name.
std::map<std::string, std::string> ValueColumns(const std::string& table) {
    std::map<std::string, std::string> values;
    for (const std::string& line : SplitLines(ReadText(table))) {
        if (line.rfind("0x", 0) != 0) continue;
        const size_t nameStart = line.rfind(';') + 1;
        const size_t valueStart = line.rfind(';', nameStart - 2) + 1;
        values[line.substr(nameStart)] = Trimmed(line.substr(valueStart, nameStart - 1 - valueStart));
    }
    return values;
}

class ValueRoundTripTest : public ::testing::TestWithParam<uint32_t> {
protected:
    void SetUp() override {
        ASSERT_TRUE(image.Loaded()) << platform::LastModuleError();
        // Current values, set after loading: the writer must read memory, not the file.
        *image.Variable<int32_t>("fixtureS32") = 42;
        *image.Variable<double>("fixtureF64") = -2.5e-300;
        image.Variable<void(unsigned, int, unsigned)>("SetFixtureFlags")(6, -7, 99);
        SymbolDetailsLineLimit = 10000;
    }
    void TearDown() override { SymbolDetailsLineLimit = savedLimit; }

    const uint32_t savedLimit = SymbolDetailsLineLimit;
    FixtureImage image;
    TempFolder folder;
};

TEST_P(ValueRoundTripTest, TableOfCurrentValuesReadsBack) {
    const uint32_t bitOrder = GetParam();
    const std::map<std::string, Expected> expected = ExpectedSymbols(image, bitOrder);
    CacheOnlyParser writer;
    for (const auto& [name, symbol] : expected) {
        const SymbolRecord& r = symbol.record;
        writer.Add(name, r.address, r.size, r.typeCode, r.bitOffset, r.bitLength);
    }
    const std::string table = folder.File("SymbolDetails.txt");
    ASSERT_EQ(writer.WriteToFile(table, image.Base(), AddressWidth_Bits64, bitOrder), 0);

    std::map<std::string, std::string> values = ValueColumns(table);
    for (const auto& [name, symbol] : expected) EXPECT_EQ(values[name], symbol.value) << name;

    // The reader gives back every record as written: the count line and the
    // header end the first two batches, the rows make the third.
    VirloParserSymbolDetails reader;
    ASSERT_EQ(reader.Init(table, ""), 0);
    EXPECT_EQ(reader.Cache(""), 1);
    EXPECT_EQ(reader.Cache(""), 1);
    EXPECT_EQ(reader.Cache(""), 1);
    ASSERT_EQ(reader.SymbolCache.size(), expected.size());
    for (const auto& [name, symbol] : expected) {
        const SymbolRecord* read = reader.FindSymbol(name);
        ASSERT_NE(read, nullptr) << name;
        EXPECT_EQ(read->address, symbol.record.address) << name;
        EXPECT_EQ(read->size, symbol.record.size) << name;
        EXPECT_EQ(read->typeCode, symbol.record.typeCode) << name;
        EXPECT_EQ(read->bitOffset, symbol.record.bitOffset) << name;
        EXPECT_EQ(read->bitLength, symbol.record.bitLength) << name;
    }
    reader.Terminate(false);
}

INSTANTIATE_TEST_SUITE_P(BothBitOrders, ValueRoundTripTest,
                         ::testing::Values(uint32_t{BitfieldPackingOrder_RightToLeft},
                                           uint32_t{BitfieldPackingOrder_LeftToRight}));

// Rewriting a table that was written without an image, batch by batch, with
// the image's current values gives the table written with them at once.
TEST_F(ValueRoundTripTest, RewriteFillsInCurrentValues) {
    CacheOnlyParser writer;
    for (const auto& [name, symbol] : ExpectedSymbols(image, BitfieldPackingOrder_RightToLeft)) {
        const SymbolRecord& r = symbol.record;
        writer.Add(name, r.address, r.size, r.typeCode, r.bitOffset, r.bitLength);
    }
    writer.nonUniqueNames = {"twice"};
    const std::string table = folder.File("SymbolDetails.txt");
    const std::string reference = folder.File("Reference.txt");
    ASSERT_EQ(writer.WriteToFile(table, 0, AddressWidth_Bits32, 0), 0);
    ASSERT_EQ(writer.WriteToFile(reference, image.Base(), AddressWidth_Bits32, 0), 0);
    ASSERT_NE(ReadText(table), ReadText(reference));

    SymbolDetailsLineLimit = 5;  // several batches of rows
    VirloParserSymbolDetails reader;
    ASSERT_EQ(reader.Init(table, ""), 0);
    for (int calls = 0; calls < 100; ++calls) {
        const int more = reader.Cache("");
        EXPECT_EQ(reader.WriteToFile("", image.Base(), AddressWidth_Bits32, 0), 0);
        if (more == 0) break;
    }
    reader.Terminate(true);
    EXPECT_EQ(ReadText(table), ReadText(reference));
}

}  // namespace
