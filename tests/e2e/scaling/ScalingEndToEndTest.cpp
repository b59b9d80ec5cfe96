#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>

#include "FmuHarness.h"
#include "ScalarAccess.h"
#include "platform/Module.h"

// A master's view of scaling: the FMU reads fmi_scaling.json at
// instantiation and from then on exchanges physical values, while the
// vECU's memory holds raw ones.

namespace {

struct Symbol {
    uint64_t offset;
    uint64_t size;
};

// The fixture's data symbols as nm listed them at build time.
std::map<std::string, Symbol> FixtureSymbols() {
    std::map<std::string, Symbol> symbols;
    std::ifstream in(SCALING_VECU_SYMBOLS);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string value, size, type, name;
        if (fields >> value >> size >> type >> name) {
            symbols[name] = {std::stoull(value, nullptr, 16), std::stoull(size, nullptr, 16)};
        }
    }
    return symbols;
}

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%llx", static_cast<unsigned long long>(value));
    return text;
}

// Value references, in the order of the fmiVariables entries.
enum : fmi2ValueReference {
    kSpeedOut = 1,
    kTorqueIn,
    kPressureParam,
    kCountOut,
    kGearOut,
    kLevelIn,
    kPlainValue,
    kTempIn,
};

class ScalingEndToEnd : public ::testing::Test, protected harness::ScalarAccess {
protected:
    ScalingEndToEnd() : ScalarAccess(fmu) {}

    void SetUp() override {
        ASSERT_TRUE(fmu.loaded());
        symbols = FixtureSymbols();
        ASSERT_EQ(symbols.count("speedOut"), 1u) << "no nm listing at " << SCALING_VECU_SYMBOLS;
        folder.Copy(SCALING_VECU_LIBRARY, "scaling_vecu.so");

        std::string resources = "vEcuDll\n    scaling_vecu.so\nfmiVariables\n";
        const std::pair<const char*, int> variables[] = {
            {"speedOut", 10}, {"torqueIn", 10}, {"pressureParam", 9}, {"countOut", 5},
            {"gearOut", 2},   {"levelIn", 3},   {"plainValue", 10}, {"tempIn", 10},
        };
        for (const auto& [name, type] : variables) {
            const Symbol& symbol = symbols.at(name);
            resources += "    0x" + Hex(symbol.offset) + " " + std::to_string(symbol.size) + " " +
                         std::to_string(type) + " 0 0\n";
        }
        folder.Write("resources.txt", resources);
    }

    void TearDown() override {
        if (module != nullptr) platform::FreeModule(module);
        if (component != nullptr) {
            fmu.fmi2Terminate(component);
            fmu.fmi2FreeInstance(component);
        }
    }

    // One scaling entry for the named fixture variable; the address is its
    // offset, written with or without the 0x prefix.
    std::string Entry(const std::string& name, const std::string& causality, const std::string& conversion,
                      bool prefixed = true) {
        return R"({"symbol": ")" + name + R"(", "causality": ")" + causality + R"(", "cm_name": "CM_)" + name +
               R"(", "address": ")" + (prefixed ? "0x" : "") + Hex(symbols.at(name).offset) + R"(", )" +
               conversion + "}";
    }

    void WriteScalingFile() {
        folder.Write("fmi_scaling.json",
                     "[\n" + Entry("speedOut", "outputs", R"("LINEAR": [2.0, 1.0])") + ",\n" +
                         Entry("torqueIn", "inputs", R"("LINEAR": [2.0, 1.0])", false) + ",\n" +
                         Entry("pressureParam", "parameters", R"("RAT_FUNC": [0.0, 2.0, 0.0, 0.0, 0.0, 1.0])") +
                         ",\n" + Entry("countOut", "outputs", R"("LINEAR": [0.5, 0.0])") + ",\n" +
                         Entry("gearOut", "outputs", R"("TAB_NOINTP": [[0.0, 10.0], [1.0, 20.0]])") + ",\n" +
                         Entry("levelIn", "inputs", R"("TAB_INTP": [[0.0, 0.0], [10.0, 100.0]])") + "\n]\n");
    }

    void Instantiate() {
        component = fmu.fmi2Instantiate("scaled", fmi2CoSimulation, "{scaling}", folder.uri().c_str(),
                                        log.callbacks(), fmi2False, fmi2False);
        ASSERT_NE(component, nullptr);
        // The same file is the same loaded module: this reaches the vECU's
        // memory as the runtime sees it.
        module = platform::LoadModule(folder.path() + "scaling_vecu.so");
        ASSERT_NE(module, nullptr);
    }

    template <typename T>
    T& Raw(const char* name) {
        return *static_cast<T*>(platform::FindModuleSymbol(module, name));
    }

    // The warnings about scaling; the FMU carries no symbol library, which
    // is reported as well.
    int Warnings() const {
        int count = 0;
        for (const auto& message : log.messages())
            count += message.status == fmi2Warning && message.message.rfind(folder.path() + "Virlo.so", 0) != 0;
        return count;
    }

    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    harness::MessageLog log;
    harness::ResourceFolder folder;
    std::map<std::string, Symbol> symbols;
    platform::ModuleHandle module = nullptr;
};

TEST_F(ScalingEndToEnd, OutputsAreReadAsPhysicalValues) {
    WriteScalingFile();
    Instantiate();
    EXPECT_EQ(Warnings(), 0);
    EXPECT_EQ(GetReal(kSpeedOut), 7.0);
    EXPECT_EQ(GetInteger(kCountOut), -1);  // -1.5 truncated
    EXPECT_EQ(GetInteger(kGearOut), 20);
    EXPECT_EQ(GetReal(kPlainValue), 2.5);

    // Several references in one call, each with its own conversion.
    const fmi2ValueReference references[] = {kPlainValue, kSpeedOut};
    fmi2Real values[2] = {0.0, 0.0};
    EXPECT_EQ(fmu.fmi2GetReal(component, references, 2, values), fmi2OK);
    EXPECT_EQ(values[0], 2.5);
    EXPECT_EQ(values[1], 7.0);

    // Writing an output stores the value as it is given.
    SetReal(kSpeedOut, 5.0);
    EXPECT_EQ(Raw<double>("speedOut"), 5.0);
    EXPECT_EQ(GetReal(kSpeedOut), 11.0);
}

TEST_F(ScalingEndToEnd, InputsAndParametersAreWrittenAsRawValues) {
    WriteScalingFile();
    Instantiate();
    SetReal(kTorqueIn, 7.0);
    EXPECT_EQ(Raw<double>("torqueIn"), 3.0);
    EXPECT_EQ(GetReal(kTorqueIn), 3.0);  // inputs read back raw

    SetReal(kPressureParam, 3.0);
    EXPECT_EQ(Raw<float>("pressureParam"), 6.0f);

    SetInteger(kLevelIn, 55);
    EXPECT_EQ(Raw<int16_t>("levelIn"), 5);  // 5.5 truncated
    EXPECT_EQ(Warnings(), 0);
}

TEST_F(ScalingEndToEnd, FailedConversionWarnsAndPassesNoScaledValue) {
    WriteScalingFile();
    Instantiate();
    Raw<uint8_t>("gearOut") = 5;
    const fmi2ValueReference gear = kGearOut;
    fmi2Integer gearValue = 0;
    EXPECT_EQ(fmu.fmi2GetInteger(component, &gear, 1, &gearValue), fmi2Warning);
    EXPECT_EQ(gearValue, 5);
    EXPECT_EQ(log.count("COMPU_METHOD \"CM_gearOut\" defined for symbol \"gearOut\" has no matching pair, "
                        "no scaling will be applied."),
              1);

    // A value outside the rising table: the input keeps its old value and
    // the setter warns; the other value of the same call is written.
    Raw<int16_t>("levelIn") = 4;
    const fmi2ValueReference inputs[] = {kTorqueIn, kLevelIn};
    const fmi2Real values[] = {7.0, 1000.0};
    EXPECT_EQ(fmu.fmi2SetReal(component, inputs, 2, values), fmi2Warning);
    EXPECT_EQ(Raw<int16_t>("levelIn"), 4);
    EXPECT_EQ(Raw<double>("torqueIn"), 3.0);
    EXPECT_EQ(log.count("COMPU_METHOD \"CM_levelIn\" defined for symbol \"levelIn\" results in value out of "
                        "range, no scaling will be applied."),
              1);
    EXPECT_EQ(Warnings(), 2);
    for (const auto& message : log.messages()) {
        if (message.status == fmi2Warning) {
            EXPECT_EQ(message.category, "warning");
        }
    }
}

TEST_F(ScalingEndToEnd, FallingTableConvertsWritesInsideAndRefusesOutside) {
    // The input that once refused every value between the rows, pointed at
    // this fixture's variable.
    std::ifstream in(FUZZ_REGRESSIONS_DIR "/decreasing_tab_intp_inputs.json");
    std::string scaling((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string::size_type address = scaling.find("\"0x40\"");
    ASSERT_NE(address, std::string::npos);
    scaling.replace(address, 6, "\"0x" + Hex(symbols.at("tempIn").offset) + "\"");
    folder.Write("fmi_scaling.json", scaling);
    Instantiate();

    SetReal(kTempIn, 50.0);
    EXPECT_EQ(Raw<double>("tempIn"), 5.0);
    SetReal(kTempIn, 25.0);
    EXPECT_EQ(Raw<double>("tempIn"), 7.5);
    EXPECT_EQ(Warnings(), 0);

    const fmi2ValueReference vr = kTempIn;
    const fmi2Real outside = 120.0;
    fmu.fmi2SetReal(component, &vr, 1, &outside);
    EXPECT_EQ(Raw<double>("tempIn"), 7.5);
    EXPECT_EQ(log.count("COMPU_METHOD \"CM_TEMP\" defined for symbol \"tempIn\" results in value out of "
                        "range, no scaling will be applied."),
              1);
}

TEST_F(ScalingEndToEnd, WithoutScalingFileValuesPassUnconverted) {
    Instantiate();
    EXPECT_EQ(log.count("Cannot open file 'resources/fmi_scaling.json'"), 1);
    EXPECT_EQ(GetReal(kSpeedOut), 3.0);
    SetReal(kTorqueIn, 7.0);
    EXPECT_EQ(Raw<double>("torqueIn"), 7.0);
}

TEST_F(ScalingEndToEnd, BrokenScalingFileStillInstantiates) {
    folder.Write("fmi_scaling.json", "[" + Entry("speedOut", "outputs", R"("LINEAR": [2.0, 1.0])") + ",");
    Instantiate();
    int parseFailures = 0;
    for (const auto& message : log.messages()) {
        parseFailures += message.message.rfind("Failed to parse 'resources/fmi_scaling.json'.\nerror: ", 0) == 0;
    }
    EXPECT_EQ(parseFailures, 1);
    EXPECT_EQ(GetReal(kSpeedOut), 3.0);
}

}  // namespace
