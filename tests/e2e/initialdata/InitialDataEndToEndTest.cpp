// Calibration values written at instantiation, end to end: the built
// Ambrel.so loads the built Dataset.so from the resource folder, reads a
// seven-column varval dataset, a dcm dataset through the stand-in converter
// (found through QUORVEL_HOME set in the EnvironmentVariables section) and a
// name/value dataset whose names the built Virlo.so resolves. The master
// then reads the calibrated values through the fmi2 functions, and the
// vECU's own getters show that the compiler's bit fields got them.

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "ScalarAccess.h"
#include "ScopedSettings.h"
#include "platform/Module.h"

namespace {

namespace fs = std::filesystem;

using harness::Fmu;

// A row of the symbol table made from the vECU with nm.
struct SymbolRow {
    uint64_t offset = 0;
    uint64_t size = 0;
    std::string type;
    unsigned bitOffset = 0;  // counted from the least significant bit
    unsigned bitLength = 0;
};

const std::map<std::string, SymbolRow>& Rows() {
    static const std::map<std::string, SymbolRow> rows = [] {
        std::map<std::string, SymbolRow> result;
        std::ifstream table(INITIALDATA_SYMBOL_ROWS);
        for (std::string line; std::getline(table, line);) {
            std::vector<std::string> columns;
            std::string::size_type start = 0;
            for (std::string::size_type end; (end = line.find(';', start)) != std::string::npos; start = end + 1)
                columns.push_back(line.substr(start, end - start));
            columns.push_back(line.substr(start));
            SymbolRow row;
            row.offset = std::stoull(columns.at(0), nullptr, 16);
            row.size = std::stoull(columns.at(1));
            row.type = columns.at(2);
            row.bitOffset = static_cast<unsigned>(std::stoul(columns.at(3)));
            row.bitLength = static_cast<unsigned>(std::stoul(columns.at(4)));
            result[columns.at(6)] = row;
        }
        return result;
    }();
    return rows;
}

unsigned TypeCode(const std::string& type) {
    static const std::map<std::string, unsigned> codes = {{"u8", 2},      {"s16", 3},      {"u16", 4},
                                                          {"u32", 6},     {"float32", 9},  {"float64", 10},
                                                          {"Enumeration", 14}};
    return codes.at(type);
}

// The bit offset as the packing order counts it.
unsigned BitOffset(const SymbolRow& row, bool leftToRight) {
    if (!leftToRight || row.bitLength == 0) return row.bitOffset;
    return static_cast<unsigned>(8 * row.size) - row.bitOffset - row.bitLength;
}

// A symbol as record text "address size type bitOffset bitLength".
std::string Record(const std::string& name, bool leftToRight) {
    const SymbolRow& row = Rows().at(name);
    char text[128];
    std::snprintf(text, sizeof text, "0x%" PRIx64 " %" PRIu64 " %u %u %u", row.offset, row.size, TypeCode(row.type),
                  BitOffset(row, leftToRight), row.bitLength);
    return text;
}

// The symbol table rows in the writer's layout, bit offsets in the
// packing order of the FMU.
std::string TableRows(bool leftToRight) {
    std::string rows;
    for (const auto& [name, row] : Rows()) {
        char text[256];
        std::snprintf(text, sizeof text, "0x%016" PRIx64 ";%-11" PRIu64 ";%-17s;%-6u;%-6u;%-24s;%s\n", row.offset,
                      row.size, row.type.c_str(), BitOffset(row, leftToRight), row.bitLength, "0", name.c_str());
        rows += text;
    }
    return rows;
}

const char* const kVariables[] = {"speedLimit", "trim",        "gain",       "ratio",      "gear",
                                  "maxTorque",  "flags.enable", "flags.mode", "flags.level"};

class InitialDataEndToEnd : public ::testing::Test, protected harness::ScalarAccess {
protected:
    InitialDataEndToEnd() : ScalarAccess(Fmu()) {
        // The runtime sets these from the EnvironmentVariables section.
        environment.Keep("QUORVEL_HOME");
        environment.Keep("QUORVEL_WORKSPACE");
    }

    void SetUp() override {
        ASSERT_TRUE(Fmu().loaded());
        ASSERT_EQ(Rows().size(), 9u);
        resources.Copy(INITIALDATA_VECU, "vecu.so");
        resources.Copy(DATASET_LIBRARY, "Dataset.so");
        resources.Copy(VIRLO_LIBRARY, "Virlo.so");
        home.Copy(DRAVIK_STAND_IN, "bin/linux64/Dravik");
        fs::permissions(home.path() + "bin/linux64/Dravik", fs::perms::owner_all);
        workspace.Write("build/vEcuConf.json", "{}");
    }

    void TearDown() override {
        platform::FreeModule(vecu);
        if (component != nullptr) {
            Fmu().fmi2Terminate(component);
            Fmu().fmi2FreeInstance(component);
        }
    }

    // Lays out the FMU with its three datasets and the workspace for the
    // packing order, and instantiates it.
    fmi2Component Instantiate(bool leftToRight) {
        LayOut(leftToRight);
        return Start();
    }

    void LayOut(bool leftToRight) {
        std::string text = "vEcuDll\n    vecu.so\n\nfmiVariables\n";
        for (const char* name : kVariables)
            text += "    " + (std::string(name) == "maxTorque" ? std::string(name) : Record(name, leftToRight)) + "\n";
        text += "\nInitialData\n    UTF-8:calibration.varval\n    UTF-8:engine.dcm\n    names.varval\n";
        text += "\nEnvironmentVariables\n    QUORVEL_HOME=" + home.path() + "\n    QUORVEL_WORKSPACE=" +
                workspace.path() + "\n";
        if (leftToRight) text += "\nbitfield_packing_order\n    left_to_right\n";
        resources.Write("resources.txt", text);
        resources.Write("fmi_scaling.json", "[]");
        resources.Write("RawSymbolDetails.txt", TableRows(leftToRight));
        workspace.Write("build/SymbolDetails.txt",
                        std::to_string(Rows().size()) + " symbol(s) found, 0 symbol(s) with non-unique name(s).\n"
                            "Address           ;Size       ;Type             ;BF-Ofs;BF-Len;Value          "
                            "         ;Symbol Name\n" +
                            TableRows(leftToRight) +
                            "\nThe following symbol names were non-unique (same name, various addresses).\n");

        resources.Write("calibration.varval", Record("speedLimit", leftToRight) + " 120000 speedLimit\n" +
                                                  Record("gain", leftToRight) + " 2.5 gain\n" +
                                                  Record("gear", leftToRight) + " 3 gear\n" +
                                                  Record("flags.mode", leftToRight) + " 5 flags.mode\n");
        resources.Write("engine.dcm",
                        "KONSERVIERUNG_FORMAT 2.0\n\n"
                        "FESTWERT trim\n   EINHEIT_W \"Nm\"\n   WERT -300\nEND\n\n"
                        "FESTWERT ratio\n   WERT 0.125\nEND\n\n"
                        "FESTWERT flags.level\n   WERT 9\nEND\n\n"
                        "FESTWERT flags.enable\n   WERT 1\nEND\n");
        resources.Write("names.varval", "maxTorque 450\n");
    }

    fmi2Component Start() {
        component = Fmu().fmi2Instantiate("ecu", fmi2CoSimulation, "{guid}", resources.uri().c_str(),
                                          log.callbacks(), fmi2False, fmi2False);
        return component;
    }

    // A getter of the vECU, which the runtime has loaded from the resource folder.
    template <typename T>
    T Getter(const char* name) {
        if (vecu == nullptr) vecu = platform::LoadModule(resources.path() + "vecu.so");
        auto* getter = reinterpret_cast<T (*)()>(platform::FindModuleSymbol(vecu, name));
        EXPECT_NE(getter, nullptr) << name;
        return getter != nullptr ? getter() : T();
    }

    void ExpectCalibrated() {
        EXPECT_EQ(GetInteger(1), 120000);
        EXPECT_EQ(GetInteger(2), -300);
        EXPECT_EQ(GetReal(3), 2.5);
        EXPECT_EQ(GetReal(4), 0.125);
        EXPECT_EQ(GetInteger(5), 3);
        EXPECT_EQ(GetInteger(6), 450);
        EXPECT_EQ(GetInteger(7), 1);
        EXPECT_EQ(GetInteger(8), 5);
        EXPECT_EQ(GetInteger(9), 9);

        EXPECT_EQ(Getter<uint32_t>("GetSpeedLimit"), 120000u);
        EXPECT_EQ(Getter<int32_t>("GetTrim"), -300);
        EXPECT_EQ(Getter<float>("GetGain"), 2.5f);
        EXPECT_EQ(Getter<double>("GetRatio"), 0.125);
        EXPECT_EQ(Getter<int32_t>("GetGear"), 3);
        EXPECT_EQ(Getter<uint32_t>("GetMaxTorque"), 450u);
        EXPECT_EQ(Getter<uint32_t>("GetEnable"), 1u);
        EXPECT_EQ(Getter<uint32_t>("GetMode"), 5u);
        EXPECT_EQ(Getter<uint32_t>("GetLevel"), 9u);
        EXPECT_FALSE(fs::exists(fs::path(work.path()) / "output.varval"));
    }

    harness::ResourceFolder resources, home, workspace, work;
    // The converter leaves its output in the current directory.
    harness::ScopedCurrentDirectory workDirectory{work.path()};
    harness::MessageLog log;
    harness::ScopedEnvironment environment;
    platform::ModuleHandle vecu = nullptr;
};

TEST_F(InitialDataEndToEnd, DatasetsCalibrateTheVecuRightToLeft) {
    ASSERT_NE(Instantiate(false), nullptr) << log.text();
    ExpectCalibrated();
    EXPECT_EQ(log.text(), "");
}

TEST_F(InitialDataEndToEnd, DatasetsCalibrateTheVecuLeftToRight) {
    ASSERT_NE(Instantiate(true), nullptr) << log.text();
    ExpectCalibrated();
    EXPECT_EQ(log.text(), "");
}

TEST_F(InitialDataEndToEnd, ConverterThatCannotStartFailsInstantiation) {
    fs::remove(home.path() + "bin/linux64/Dravik");
    EXPECT_EQ(Instantiate(false), nullptr);
    bool reported = false;
    for (const harness::LoggedMessage& message : log.messages())
        reported |= message.status == fmi2Error && message.category == "error" &&
                    message.message.rfind("fmi2Instantiate: Cannot read the dataset 'UTF-8:" + resources.path() +
                                              "engine.dcm': ",
                                          0) == 0;
    EXPECT_TRUE(reported) << log.text();
}

TEST_F(InitialDataEndToEnd, FailingConverterGivesAnEmptyDatasetAndTheOthersApply) {
    LayOut(false);
    // Without the workspace's symbol list the converter fails.
    fs::remove(workspace.path() + "build/SymbolDetails.txt");
    ASSERT_NE(Start(), nullptr) << log.text();
    EXPECT_EQ(GetInteger(1), 120000);
    EXPECT_EQ(GetInteger(6), 450);
    EXPECT_EQ(GetInteger(2), 1);  // the vECU's own initial value
    EXPECT_EQ(Getter<uint32_t>("GetLevel"), 15u);
}

}  // namespace
