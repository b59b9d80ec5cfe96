// Variables named by symbol, found through a symbol table that the built
// symbol library wrote from the vECU's .die dump, read and written through
// the fmi2 exports of the built runtime: in DWARF 5, whose bit offsets count
// from the least significant bit, and in DWARF 4, whose count from the most
// significant bit (the FMU says so in bitfield_packing_order).

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "ScalarAccess.h"
#include "platform/Module.h"

namespace {

using harness::Fmu;

struct Form {
    int version;
    const char* packingSection;
};

void PrintTo(const Form& form, std::ostream* os) { *os << "DWARF " << form.version; }

std::string FixturePath(const Form& form, const std::string& suffix) {
    return std::string(DWARF_E2E_DIR) + "/dwarf_vecu_v" + std::to_string(form.version) + suffix;
}

// The written table without its count and header lines: the runtime caches
// only the rows at the top of the list.
std::string RowsFirst(const std::string& table) {
    std::ifstream file(table);
    std::string line;
    std::string rows;
    for (int number = 0; std::getline(file, line); ++number) {
        if (number >= 2) rows += line + "\n";
    }
    return rows;
}

const std::vector<std::string> kVariables = {
    "engineSpeed",              // 1
    "odometer",                 // 2
    "gear",                     // 3
    "ignition",                 // 4
    "controller.speed",         // 5
    "controller.flags.enabled", // 6
    "controller.flags.level",   // 7
    "controller.flags.trim",    // 8
    "controller.flags.counter", // 9
    "controller.history[2]",    // 10
    "controller.filter.gain",   // 11
    "controller.filter.window", // 12
    "table[1][2]",              // 13
};

class DwarfEndToEnd : public testing::TestWithParam<Form>, protected harness::ScalarAccess {
protected:
    DwarfEndToEnd() : ScalarAccess(Fmu()) {}

    void SetUp() override {
        ASSERT_TRUE(Fmu().loaded());
        const std::string table = FixturePath(GetParam(), ".SymbolDetails.txt");
        const std::string rows = RowsFirst(table);
        ASSERT_FALSE(rows.empty()) << table;
        resources.Copy(FixturePath(GetParam(), ".so"), "vecu.so");
        resources.Copy(VIRLO_LIBRARY, "Virlo.so");
        resources.Write("SymbolDetails.txt", rows);
        resources.Write("fmi_scaling.json", "[]");

        std::string text = "vEcuDll\n    vecu.so\n\nfmiVariables\n";
        for (const std::string& variable : kVariables) text += "    " + variable + "\n";
        text += "\n";
        text += GetParam().packingSection;
        resources.Write("resources.txt", text);
        component = Fmu().fmi2Instantiate("dwarf", fmi2CoSimulation, "{dwarf}", resources.uri().c_str(),
                                          log.callbacks(), fmi2False, fmi2False);
        ASSERT_NE(component, nullptr) << log.text();
    }

    void TearDown() override {
        if (component != nullptr) {
            Fmu().fmi2Terminate(component);
            Fmu().fmi2FreeInstance(component);
        }
        platform::FreeModule(vecu);
    }

    // The ECU's own view: the runtime loaded the vECU from the resource
    // folder, so opening the same file finds the same image.
    void* EcuSymbol(const char* name) {
        if (vecu == nullptr) vecu = platform::LoadModule(resources.path() + "vecu.so");
        return platform::FindModuleSymbol(vecu, name);
    }
    template <typename T>
    T& Ecu(const char* name) {
        return *static_cast<T*>(EcuSymbol(name));
    }
    template <typename R>
    R Call(const char* name) {
        return reinterpret_cast<R (*)()>(EcuSymbol(name))();
    }

    harness::ResourceFolder resources;
    harness::MessageLog log;
    platform::ModuleHandle vecu = nullptr;
};

TEST_P(DwarfEndToEnd, EveryNamedVariableIsResolvedAndRead) {
    EXPECT_EQ(GetReal(1), 812.5);
    EXPECT_EQ(GetReal(2), 5000000000.0);  // all 8 bytes of the long
    EXPECT_EQ(GetInteger(3), 2);
    EXPECT_EQ(GetBoolean(4), fmi2True);
    EXPECT_EQ(GetReal(5), 1.25);
    EXPECT_EQ(GetInteger(6), 1);
    EXPECT_EQ(GetInteger(7), 5);
    EXPECT_EQ(GetInteger(8), -3);
    EXPECT_EQ(GetInteger(9), 700);
    EXPECT_EQ(GetInteger(10), 30);
    EXPECT_EQ(GetReal(11), 0.75);
    EXPECT_EQ(GetInteger(12), 3000);
    EXPECT_EQ(GetInteger(13), 6);
    EXPECT_TRUE(log.messages().empty()) << log.text();
}

TEST_P(DwarfEndToEnd, WritesReachTheEcuVariables) {
    SetReal(1, -3.5);
    EXPECT_EQ(Ecu<double>("engineSpeed"), -3.5);
    SetReal(2, 6000000001.0);
    EXPECT_EQ(Ecu<long>("odometer"), 6000000001L);
    SetInteger(7, 6);
    EXPECT_EQ(Call<unsigned>("ControllerLevel"), 6u);
    SetInteger(8, -5);
    EXPECT_EQ(Call<int>("ControllerTrim"), -5);
    EXPECT_EQ(Call<unsigned>("ControllerLevel"), 6u);  // the neighbour keeps its bits
    SetInteger(12, 4000);
    EXPECT_EQ(Call<unsigned>("FilterWindow"), 4000u);
    SetInteger(13, 66);
    EXPECT_EQ((Ecu<uint16_t[2][3]>("table")[1][2]), 66);
    EXPECT_EQ((Ecu<uint16_t[2][3]>("table")[1][1]), 5);
}

INSTANTIATE_TEST_SUITE_P(Forms, DwarfEndToEnd,
                         testing::Values(Form{5, ""},
                                         Form{4, "bitfield_packing_order\n    left_to_right\n"}),
                         [](const testing::TestParamInfo<Form>& info) {
                             return "Dwarf" + std::to_string(info.param.version);
                         });

}  // namespace
