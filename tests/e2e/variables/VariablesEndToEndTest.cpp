// ECU variables through the exports of the built runtime: named by symbol
// (looked up in the symbol library from the table made with nm) or as text
// records, every storage type read and written as a master does it.

#include <gtest/gtest.h>

#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "ScalarAccess.h"
#include "platform/Module.h"

namespace {

using harness::Fmu;

const char* const kCountMessage = "fmi2Instantiate: The number of symbols deviates from the expected number.";

// Symbol offsets of the fixture vECU, from the table the symbol library reads.
const std::map<std::string, uint64_t>& TableOffsets() {
    static const std::map<std::string, uint64_t> offsets = [] {
        std::map<std::string, uint64_t> result;
        std::ifstream table(VARIABLES_SYMBOL_TABLE);
        std::string row;
        while (std::getline(table, row)) {
            const std::string name = row.substr(row.rfind(';') + 1);
            result[name] = std::stoull(row.substr(0, row.find(';')), nullptr, 16);
        }
        return result;
    }();
    return offsets;
}

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%" PRIx64, value);
    return text;
}

class VariablesEndToEnd : public ::testing::Test, protected harness::ScalarAccess {
protected:
    VariablesEndToEnd() : ScalarAccess(Fmu()) {}

    void SetUp() override {
        ASSERT_TRUE(Fmu().loaded());
        ASSERT_FALSE(TableOffsets().empty());
        resources.Copy(VARIABLES_VECU, "vecu.so");
        resources.Copy(VIRLO_LIBRARY, "Virlo.so");
        resources.Copy(VARIABLES_SYMBOL_TABLE, "RawSymbolDetails.txt");
    }

    void TearDown() override {
        if (component != nullptr) {
            Fmu().fmi2Terminate(component);
            Fmu().fmi2FreeInstance(component);
        }
        platform::FreeModule(vecu);
    }

    fmi2Component Instantiate(const std::vector<std::string>& variables, const std::string& more = "") {
        std::string text = "vEcuDll\n    vecu.so\n\nfmiVariables\n";
        for (const std::string& variable : variables) text += "    " + variable + "\n";
        text += "\n" + more;
        resources.Write("resources.txt", text);
        resources.Write("fmi_scaling.json", "[]");  // no conversions
        component = Fmu().fmi2Instantiate("variables", fmi2CoSimulation, "{variables}", resources.uri().c_str(),
                                          log.callbacks(), fmi2False, fmi2False);
        return component;
    }

    // The ECU's own view of a variable: the runtime loaded the vECU from the
    // resource folder, so opening the same file finds the same image.
    template <typename T>
    T& Ecu(const char* symbol) {
        if (vecu == nullptr) vecu = platform::LoadModule(resources.path() + "vecu.so");
        return *static_cast<T*>(platform::FindModuleSymbol(vecu, symbol));
    }
    template <typename F>
    F EcuFunction(const char* symbol) {
        if (vecu == nullptr) vecu = platform::LoadModule(resources.path() + "vecu.so");
        return reinterpret_cast<F>(platform::FindModuleSymbol(vecu, symbol));
    }

    // A text record for a symbol of the table, with the given type code.
    static std::string TextRecord(const char* symbol, int size, int typeCode, int bitOffset = 0, int bitLength = 0) {
        std::ostringstream text;
        text << Hex(TableOffsets().at(symbol)) << ' ' << size << ' ' << typeCode << ' ' << bitOffset << ' '
             << bitLength;
        return text.str();
    }

    harness::ResourceFolder resources;
    harness::MessageLog log;
    platform::ModuleHandle vecu = nullptr;
};

TEST_F(VariablesEndToEnd, EveryIntegerTypeIsReadByName) {
    ASSERT_NE(Instantiate({"vS8", "vU8", "vS16", "vU16", "vS32", "vU32", "vS64", "vU64", "vBool", "vEnum"}), nullptr);
    const std::vector<fmi2ValueReference> vrs = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    std::vector<fmi2Integer> values(vrs.size(), 0);
    ASSERT_EQ(Fmu().fmi2GetInteger(component, vrs.data(), vrs.size(), values.data()), fmi2OK);
    EXPECT_EQ(values, (std::vector<fmi2Integer>{-5, 200, -300, 60000, -70000,
                                                -1,            // all 32 bits of a u32
                                                -705032704,    // low 32 bits of -5000000000
                                                1,             // low 32 bits of 0x8000000000000001
                                                1, 2}));
    EXPECT_EQ(GetBoolean(9), fmi2True);
    EXPECT_TRUE(log.messages().empty()) << log.text();
}

TEST_F(VariablesEndToEnd, EveryIntegerTypeIsWrittenIntoEcuMemory) {
    ASSERT_NE(Instantiate({"vS8", "vU8", "vS16", "vU16", "vS32", "vU32", "vS64", "vU64", "vEnum"}), nullptr);
    SetInteger(1, -128);
    SetInteger(2, 0x1FF);  // the low 8 bits
    SetInteger(3, 32767);
    SetInteger(4, -1);
    SetInteger(5, 123456);
    SetInteger(6, -2);
    SetInteger(7, -1);
    SetInteger(8, 77);
    SetInteger(9, 3);
    EXPECT_EQ(Ecu<int8_t>("vS8"), -128);
    EXPECT_EQ(Ecu<uint8_t>("vU8"), 0xFF);
    EXPECT_EQ(Ecu<int16_t>("vS16"), 32767);
    EXPECT_EQ(Ecu<uint16_t>("vU16"), 0xFFFF);
    EXPECT_EQ(EcuFunction<int32_t (*)()>("GetS32")(), 123456);
    EXPECT_EQ(Ecu<uint32_t>("vU32"), 0xFFFFFFFEu);
    EXPECT_EQ(Ecu<int64_t>("vS64"), -1);
    EXPECT_EQ(Ecu<uint64_t>("vU64"), 77u);
    EXPECT_EQ(Ecu<int32_t>("vEnum"), 3);
    EXPECT_EQ(GetInteger(4), 65535);
}

TEST_F(VariablesEndToEnd, BoolBytesAreReadAsStoredAndWrittenAsOneOrZero) {
    ASSERT_NE(Instantiate({"vBool"}), nullptr);
    Ecu<uint8_t>("vBool") = 2;
    EXPECT_EQ(GetInteger(1), 2);
    EXPECT_EQ(GetBoolean(1), fmi2True);
    SetBoolean(1, fmi2False);
    EXPECT_EQ(Ecu<uint8_t>("vBool"), 0);
    EXPECT_EQ(GetBoolean(1), fmi2False);
    SetInteger(1, 40);
    EXPECT_EQ(Ecu<uint8_t>("vBool"), 1);
}

TEST_F(VariablesEndToEnd, RealVariablesAreReadAndWritten) {
    ASSERT_NE(Instantiate({"vF32", "vF64"}), nullptr);
    EXPECT_EQ(GetReal(1), 0.5);
    EXPECT_EQ(GetReal(2), 2.25);
    SetReal(1, 0.1);
    EXPECT_EQ(EcuFunction<float (*)()>("GetF32")(), 0.1f);
    EXPECT_EQ(GetReal(1), static_cast<double>(0.1f));
    SetReal(2, -1e-300);
    EXPECT_EQ(Ecu<double>("vF64"), -1e-300);
}

TEST_F(VariablesEndToEnd, CallsOfTheOtherKindExchangeValuesNotBytes) {
    ASSERT_NE(Instantiate({"vS32", "vF64"}), nullptr);
    EXPECT_EQ(GetReal(1), -70000.0);
    EXPECT_EQ(GetInteger(2), 2);  // 2.25 truncated
    SetReal(1, -3.7);
    EXPECT_EQ(Ecu<int32_t>("vS32"), -3);
    SetInteger(2, 6);
    EXPECT_EQ(Ecu<double>("vF64"), 6.0);
    SetBoolean(2, fmi2True);
    EXPECT_EQ(Ecu<double>("vF64"), 1.0);
    EXPECT_EQ(GetBoolean(2), fmi2True);
}

TEST_F(VariablesEndToEnd, ReadOnlyDataIsMadeWritable) {
    ASSERT_NE(Instantiate({"vConstant"}), nullptr);
    EXPECT_EQ(GetReal(1), 1.5);
    SetReal(1, 3.25);
    EXPECT_EQ(EcuFunction<double (*)()>("GetConstant")(), 3.25);
}

TEST_F(VariablesEndToEnd, BitFieldsFollowThePackingOrder) {
    ASSERT_NE(Instantiate({"flagsField", "flagsSigned", "vFlags"}), nullptr);
    EXPECT_EQ(GetInteger(1), 5);   // 0b10110100: bits 2..4
    EXPECT_EQ(GetInteger(2), -3);  // the same bits, signed
    SetInteger(1, 9);              // only 0b001 fits
    EXPECT_EQ(Ecu<uint8_t>("vFlags"), 0xA4);
    EXPECT_EQ(GetInteger(3), 0xA4);
}

TEST_F(VariablesEndToEnd, LeftToRightPackingCountsFromTheTop) {
    ASSERT_NE(Instantiate({"flagsField"}, "bitfield_packing_order\n    left_to_right\n"), nullptr);
    EXPECT_EQ(GetInteger(1), 6);  // 0b10110100: bits 5..3
    SetInteger(1, 0);
    EXPECT_EQ(Ecu<uint8_t>("vFlags"), 0x84);
}

TEST_F(VariablesEndToEnd, TextRecordsNameVariablesWithoutTheSymbolLibrary) {
    ASSERT_NE(Instantiate({TextRecord("vS32", 4, 5), TextRecord("vF64", 8, 10), TextRecord("vFlags", 1, 2, 2, 3),
                           Hex(TableOffsets().at("vU16")) + " 2 0x4"}),
              nullptr);
    EXPECT_EQ(GetInteger(1), -70000);
    EXPECT_EQ(GetReal(2), 2.25);
    EXPECT_EQ(GetInteger(3), 5);
    EXPECT_EQ(GetInteger(4), 60000);  // type code in hexadecimal
    SetReal(2, 8.5);
    EXPECT_EQ(Ecu<double>("vF64"), 8.5);
}

// The warning of an fmiVariables entry on the given line that names nothing.
std::string Unresolved(const std::string& name, int line) {
    return "fmi2Instantiate: Variable '" + name + "' of 'resources/resources.txt' line " + std::to_string(line) +
           " names no known symbol and is skipped; the variables after it moved down one value reference.\n";
}

TEST_F(VariablesEndToEnd, UnresolvedNamesAreNamedAndTheEntriesAfterThemMoveDown) {
    // An empty entry is named once, as empty.
    ASSERT_NE(Instantiate({"vS32", "noSuchSymbol", "", "vF64 7", "vU8"}), nullptr);
    EXPECT_EQ(log.text(), "'resources/resources.txt' line 6 is empty! Variable name(s) expected.\n" +
                              Unresolved("noSuchSymbol", 5));
    EXPECT_EQ(log.messages()[0].status, fmi2Warning);
    log.clear();
    EXPECT_EQ(GetInteger(1), -70000);
    EXPECT_EQ(GetReal(2), 2.25);  // the entry after the unresolved one
    EXPECT_EQ(GetInteger(3), 200);

    // Beyond the list: refused, and nothing is read or written.
    const fmi2ValueReference beyond[] = {4, 0};
    fmi2Integer value = 9;
    EXPECT_EQ(Fmu().fmi2GetInteger(component, beyond, 1, &value), fmi2Error);
    EXPECT_EQ(value, 9);
    const fmi2ValueReference firstAndZero[] = {1, 0};
    const fmi2Integer values[] = {5, 5};
    EXPECT_EQ(Fmu().fmi2SetInteger(component, firstAndZero, 2, values), fmi2Error);
    EXPECT_EQ(Ecu<int32_t>("vS32"), -70000);
    EXPECT_EQ(log.text(), "fmi2GetInteger: Unknown value reference 4.\nfmi2SetInteger: Unknown value reference 0.\n");
}

// A pointer, an array or a function has no accessor: instantiation fails
// with the count message alone.
class RecordsWithoutValue : public VariablesEndToEnd, public ::testing::WithParamInterface<const char*> {};

TEST_P(RecordsWithoutValue, FailInstantiationByTheCountAlone) {
    EXPECT_EQ(Instantiate({"vS32", GetParam()}), nullptr);
    ASSERT_EQ(log.messages().size(), 1u);
    EXPECT_EQ(log.messages()[0].message, kCountMessage);
    EXPECT_EQ(log.messages()[0].status, fmi2Error);
    EXPECT_EQ(log.messages()[0].category, "error");
}

INSTANTIATE_TEST_SUITE_P(VariablesEndToEnd, RecordsWithoutValue,
                         ::testing::Values("vPointer", "vArray", "vFunction"));

TEST_F(VariablesEndToEnd, UnknownTypesNameTheFullAbsoluteAddress) {
    EXPECT_EQ(Instantiate({"0x10 3 14 0 0"}), nullptr);  // an enumeration of 3 bytes
    ASSERT_EQ(log.messages().size(), 2u);
    const std::string prefix = "fmi2Instantiate: Unknown symbol type for index ";
    const std::string& first = log.messages()[0].message;
    ASSERT_EQ(first.compare(0, prefix.size(), prefix), 0) << first;
    const uint64_t address = std::stoull(first.substr(prefix.size()), nullptr, 16);
    EXPECT_EQ(address & 0xFFF, 0x10u);
    EXPECT_GT(address, 0xFFFFFFFFull) << "the vECU's load address must not be cut to 32 bits";
    EXPECT_EQ(first.back(), '.');
    EXPECT_EQ(log.messages()[1].message, kCountMessage);
}

TEST_F(VariablesEndToEnd, WithoutTheSymbolLibraryOnlyTextRecordsResolve) {
    std::remove((resources.path() + "Virlo.so").c_str());
    ::testing::internal::CaptureStderr();
    ASSERT_NE(Instantiate({"vS32", TextRecord("vU8", 1, 2)}), nullptr);
    const std::string error = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(error,
              resources.path() + "Virlo.so - LoadLibrary error code: 2, description: No such file or directory\n");
    // The master hears it too, and which name is left unresolved.
    EXPECT_EQ(log.text(), error + Unresolved("vS32", 4));
    EXPECT_EQ(log.messages()[0].status, fmi2Warning);
    EXPECT_EQ(GetInteger(1), 200);
}

TEST_F(VariablesEndToEnd, VariablesStayReachableAfterTerminate) {
    ASSERT_NE(Instantiate({"vS32"}), nullptr);
    ASSERT_EQ(Fmu().fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(Fmu().fmi2ExitInitializationMode(component), fmi2OK);
    ASSERT_EQ(Fmu().fmi2Terminate(component), fmi2OK);
    EXPECT_EQ(GetInteger(1), -70000);
    SetInteger(1, 4);
    EXPECT_EQ(Ecu<int32_t>("vS32"), 4);
    Fmu().fmi2FreeInstance(component);
    component = nullptr;
}

}  // namespace
