// The .die reader on dumps of real compiler output: every record is checked
// against the layout the compiler itself reports, in each DWARF form, and
// bit fields are read back by value from the loaded fixture.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "ecu_c.h"
#include "ecu_cpp.h"
#include "platform/Module.h"
#include "VirloParserDwarf.h"

namespace {

struct LayoutLine {
    std::string kind;  // data, bits, func, none
    std::string path;
    std::string symbol;
    uint64_t offset = 0;  // bytes; for bits the first bit
    uint64_t width = 0;
    uint64_t size = 0;
    uint32_t code = 0;
};

const std::vector<LayoutLine>& Layout() {
    static const std::vector<LayoutLine> lines = [] {
        std::vector<LayoutLine> read;
        std::ifstream file(DWARF_LAYOUT_FILE);
        std::string text;
        while (std::getline(file, text)) {
            std::istringstream fields(text);
            LayoutLine line;
            std::getline(fields, line.kind, '\t');
            std::getline(fields, line.path, '\t');
            std::getline(fields, line.symbol, '\t');
            if (line.kind == "data") {
                fields >> line.offset >> line.size >> line.code;
            } else if (line.kind == "bits") {
                fields >> line.offset >> line.width >> line.size >> line.code;
            } else if (line.kind == "func") {
                fields >> line.offset;
            }
            read.push_back(line);
        }
        return read;
    }();
    return lines;
}

// The symbol list at the head of a .die file, read without the reader.
std::map<std::string, uint64_t> ListedAddresses(const std::string& diePath) {
    std::map<std::string, uint64_t> listed;
    std::ifstream file(diePath);
    std::string line;
    while (std::getline(file, line) && line.find("file format") == std::string::npos) {
        unsigned long long address = 0;
        char letter = 0;
        int consumed = 0;
        if (std::sscanf(line.c_str(), "%llx %c %n", &address, &letter, &consumed) >= 2 &&
            consumed > 0) {
            listed[line.substr(static_cast<size_t>(consumed))] = address;
        }
    }
    return listed;
}

struct Fixture {
    std::string name;  // dwarf_<language>_<variant>
    bool leftToRight;  // bit offsets counted from the most significant bit
    bool hasNamespaces;
};

void PrintTo(const Fixture& fixture, std::ostream* os) { *os << fixture.name; }

std::string LibraryPath(const Fixture& fixture) {
    return std::string(DWARF_FIXTURE_DIR) + "/" + fixture.name + ".so";
}

class DwarfFixtureTest : public testing::TestWithParam<Fixture> {
protected:
    void SetUp() override {
        const std::string library = LibraryPath(GetParam());
        listed_ = ListedAddresses(std::string(DWARF_FIXTURE_DIR) + "/" + GetParam().name + ".die");
        ASSERT_FALSE(listed_.empty());
        ASSERT_EQ(parser_.Init(library, ""), 0);
        ASSERT_EQ(parser_.Cache("*"), 0);
    }

    // Layout lines of the symbols this fixture lists.
    std::vector<LayoutLine> Lines() const {
        std::vector<LayoutLine> lines;
        for (const LayoutLine& line : Layout()) {
            if (listed_.count(line.symbol) != 0) lines.push_back(line);
        }
        return lines;
    }

    bool Resolvable(const LayoutLine& line) const {
        return GetParam().hasNamespaces || line.symbol.rfind("ns::", 0) != 0;
    }

    uint64_t FirstBit(const SymbolRecord& record, uint64_t symbolAddress) const {
        const uint64_t inUnit = GetParam().leftToRight
                                    ? 8 * record.size - record.bitOffset - record.bitLength
                                    : record.bitOffset;
        return 8 * (record.address - symbolAddress) + inUnit;
    }

    VirloParserDwarf parser_;
    std::map<std::string, uint64_t> listed_;
};

TEST_P(DwarfFixtureTest, RecordsMatchTheCompilersLayout) {
    const std::vector<LayoutLine> lines = Lines();
    ASSERT_GT(lines.size(), 20u);
    for (const LayoutLine& line : lines) {
        SCOPED_TRACE(line.path);
        const SymbolRecord* record = parser_.FindSymbol(line.path);
        if (line.kind == "none" || !Resolvable(line)) {
            EXPECT_EQ(record, nullptr);
            continue;
        }
        ASSERT_NE(record, nullptr);
        const uint64_t symbolAddress = listed_.at(line.symbol);
        if (line.kind == "data") {
            EXPECT_EQ(record->address, symbolAddress + line.offset);
            EXPECT_EQ(record->size, line.size);
            EXPECT_EQ(record->typeCode, line.code);
            EXPECT_EQ(record->bitLength, 0);
            EXPECT_EQ(record->bitOffset, 0);
        } else if (line.kind == "bits") {
            EXPECT_EQ(record->size, line.size);
            EXPECT_EQ(record->typeCode, line.code);
            EXPECT_EQ(record->bitLength, line.width);
            EXPECT_EQ(FirstBit(*record, symbolAddress), line.offset);
        } else if (line.kind == "func") {
            EXPECT_EQ(record->address, symbolAddress + line.offset);
            EXPECT_EQ(record->size, 0u);
            EXPECT_EQ(record->typeCode, SymbolType_Function);
        }
    }
}

TEST_P(DwarfFixtureTest, NoRecordsBeyondTheLayout) {
    std::set<std::string> expected;
    std::set<std::string> symbols;
    for (const LayoutLine& line : Lines()) {
        if (line.kind != "none" && Resolvable(line)) expected.insert(line.path);
        symbols.insert(line.symbol);
    }
    for (const auto& [name, record] : parser_.SymbolCache) {
        for (const std::string& symbol : symbols) {
            if (name == symbol || name.rfind(symbol + ".", 0) == 0 ||
                name.rfind(symbol + "[", 0) == 0) {
                EXPECT_EQ(expected.count(name), 1u) << name;
            }
        }
    }
}

TEST_P(DwarfFixtureTest, FunctionsAndStaticVariables) {
    const auto expectAt = [this](const std::string& name, const std::string& listedName,
                                 uint64_t size, uint32_t code) {
        SCOPED_TRACE(name);
        const SymbolRecord* record = parser_.FindSymbol(name);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->address, listed_.at(listedName));
        EXPECT_EQ(record->size, size);
        EXPECT_EQ(record->typeCode, code);
    };
    if (GetParam().name.find("_cpp_") == std::string::npos) {
        expectAt("function", "function", 0, SymbolType_Function);
        expectAt("file_static", "file_static", 4, SymbolType_s32);
        // A static variable of a function, listed as calls.0.
        expectAt("calls", "calls.0", 4, SymbolType_s32);
        EXPECT_EQ(parser_.FindSymbol("calls.0"), nullptr);
        return;
    }
    expectAt("tick", "tick(int)", 0, SymbolType_Function);
    expectAt("counted", "tick(int)::counted", 4, SymbolType_s32);
    expectAt("hidden", "(anonymous namespace)::hidden", 4, SymbolType_s32);
    if (GetParam().hasNamespaces) {
        expectAt("ns::Engine::Get", "ns::Engine::Get() const", 0, SymbolType_Function);
        expectAt("ns::Engine::reset", "ns::Engine::reset()", 0, SymbolType_Function);
    }
}

// Sets bit fields in the loaded fixture and reads them back through the
// records: the storage unit at the record's address, the record's bits in
// the order the DWARF form counts them.
TEST_P(DwarfFixtureTest, BitFieldsReadBackByValue) {
    platform::ModuleHandle module = platform::LoadModule(LibraryPath(GetParam()));
    ASSERT_NE(module, nullptr) << platform::LastModuleError();
    const uint64_t base = platform::ModuleBaseAddress(module);

    struct Case {
        std::string path;
        uint64_t value;
    };
    std::vector<Case> cases;
    if (GetParam().name.find("_cpp_") == std::string::npos) {
        auto* outerInLibrary = static_cast<Outer*>(platform::FindModuleSymbol(module, "outer"));
        auto* outersInLibrary = static_cast<Outer*>(platform::FindModuleSymbol(module, "outers"));
        ASSERT_NE(outerInLibrary, nullptr);
        ASSERT_NE(outersInLibrary, nullptr);
        outerInLibrary->bf = 93;
        outerInLibrary->wide = 0xABCDE;
        outerInLibrary->neg = -7;
        outerInLibrary->big = 0x12345678ABull;
        outerInLibrary->inner.b = 5;
        outerInLibrary->inner.c = 19;
        outersInLibrary[1].inners[1].c = 27;
        outersInLibrary[1].neg = 3;
        cases = {{"outer.bf", 93},          {"outer.wide", 0xABCDE},
                 {"outer.neg", (-7) & 0x1f}, {"outer.big", 0x12345678AB},
                 {"outer.inner.b", 5},       {"outer.inner.c", 19},
                 {"outers[1].inners[1].c", 27}, {"outers[1].neg", 3}};
    } else {
        auto* engine = static_cast<ns::Engine*>(platform::FindModuleSymbol(module, "_ZN2ns6engineE"));
        auto* plainsInLibrary = static_cast<Plain*>(platform::FindModuleSymbol(module, "plains"));
        ASSERT_NE(engine, nullptr);
        ASSERT_NE(plainsInLibrary, nullptr);
        engine->flags = 21;
        engine->level = 6;
        plainsInLibrary[2].bits = 300;
        cases = {{"plains[2].bits", 300}};
        if (GetParam().hasNamespaces) {
            cases.push_back({"ns::engine.flags", 21});
            cases.push_back({"ns::engine.level", 6});
        }
    }

    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const SymbolRecord* record = parser_.FindSymbol(c.path);
        ASSERT_NE(record, nullptr);
        ASSERT_LE(record->size, 8u);
        uint64_t unit = 0;
        std::memcpy(&unit, reinterpret_cast<const void*>(base + record->address), record->size);
        const unsigned shift = GetParam().leftToRight
                                   ? 8 * record->size - record->bitOffset - record->bitLength
                                   : record->bitOffset;
        const uint64_t mask = record->bitLength >= 64 ? ~0ull : (1ull << record->bitLength) - 1;
        EXPECT_EQ((unit >> shift) & mask, c.value);
    }
    platform::FreeModule(module);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, DwarfFixtureTest,
    testing::Values(Fixture{"dwarf_c_v5", false, true}, Fixture{"dwarf_c_v4", true, true},
                    Fixture{"dwarf_c_v2", true, true}, Fixture{"dwarf_cpp_v5", false, true},
                    Fixture{"dwarf_cpp_v4", true, true}, Fixture{"dwarf_cpp_v2", true, false}),
    [](const testing::TestParamInfo<Fixture>& info) { return info.param.name; });

}  // namespace
