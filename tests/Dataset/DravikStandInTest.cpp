#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "Dataset.h"
#include "DatasetTestSupport.h"
#include "DravikLauncher.h"

namespace {

using namespace datasettest;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using Entry = DatasetEntry;

// One row of a SymbolDetails table in the writer's layout.
std::string Row(unsigned long long address, unsigned long long size, const char* type, unsigned bitOffset,
                unsigned bitLength, const char* name) {
    char text[256];
    char addressText[32];
    std::snprintf(addressText, sizeof addressText, "0x%016llx", address);
    std::snprintf(text, sizeof text, "%-18s;%-11llu;%-17s;%-6u;%-6u;%-24s;%s\n", addressText, size, type,
                  bitOffset, bitLength, "0", name);
    return text;
}

const std::string kSymbolTable =
    "12 symbol(s) found, 0 symbol(s) with non-unique name(s).\n"
    "Address           ;Size       ;Type             ;BF-Ofs;BF-Len;Value                   ;Symbol Name\n" +
    Row(0x4010, 4, "u32", 0, 0, "speed") + Row(0x4014, 1, "u8", 2, 3, "flags.mode") +
    Row(0x4018, 4, "float32", 0, 0, "gain") + Row(0x4020, 8, "float64", 0, 0, "ratio") +
    Row(0x4028, 2, "s16", 0, 0, "table[0]") + Row(0x402a, 2, "s16", 0, 0, "table[1]") +
    Row(0x402c, 2, "s16", 0, 0, "table[2]") + Row(0x4030, 4, "Enumeration", 0, 0, "gear") +
    Row(0x4034, 1, "bool", 0, 0, "enabled") + Row(0x4035, 1, "u8", 0, 0, "grid[0][0]") +
    Row(0x4036, 1, "u8", 0, 0, "grid[0][1]") + Row(0x4037, 1, "u8", 0, 0, "grid[1][0]") +
    Row(0x4038, 1, "u8", 0, 0, "grid[1][1]") + Row(0x4040, 16, "User-Defined Type", 0, 0, "record") +
    "\nThe following symbol names were non-unique (same name, various addresses).\n";

const char* const kDcm = R"(KONSERVIERUNG_FORMAT 2.0

FUNKTIONEN
   FKT Engine "1.0" "Engine control"
END

* calibration of the engine
FESTWERT speed
   LANGNAME "Speed limit"
   FUNKTION Engine
   EINHEIT_W "rpm"
   WERT 3000
END

FESTWERT flags.mode
   WERT 5
END

FESTWERT gain
   WERT 1.5
END

FESTWERT ratio
   WERT 0.1
END

FESTWERTEBLOCK table 3
   WERT -1 2
   WERT 300
END

KENNLINIE curve 2
   ST/X 0 1
   WERT 5 6
END

FESTWERT gear
   WERT 2
END

FESTWERT missing
   WERT 1
END

FESTWERT enabled
   WERT 1
END

FESTWERTEBLOCK grid 2 @ 2
   WERT 1 2
   WERT 3 4
END

FESTWERT record
   WERT 1
END
)";

// The stand-in converter installed as QUORVEL_HOME/bin/linux64/Dravik and
// started for real on a workspace with a symbol table.
class DravikStandInTest : public ::testing::Test {
protected:
    void SetUp() override {
        InstallConverter(home, DRAVIK_STAND_IN);
        environment.Set("QUORVEL_HOME", home.path());
        environment.Set("QUORVEL_WORKSPACE", workspace.path());
        workspace.Write("build/SymbolDetails.txt", kSymbolTable);
        workspace.Write("build/vEcuConf.json", R"({"patch_a2l_file": {"filename": "ecu.a2l"}})");
        currentDirectory = std::make_unique<ScopedCurrentDirectory>(work.path());
    }

    TempFolder home, workspace, work;
    ScopedEnvironment environment;
    std::unique_ptr<ScopedCurrentDirectory> currentDirectory;
};

TEST_F(DravikStandInTest, ConvertsValuesAndArrayElementsIntoSevenColumns) {
    workspace.Write("cal/engine.dcm", kDcm);
    testing::internal::CaptureStderr();
    const DatasetContent dataset = Dataset::Instance().GetDataset("UTF-8:cal/engine.dcm");
    const std::string diagnostics = testing::internal::GetCapturedStderr();
    EXPECT_THAT(dataset, ElementsAre(Entry{"0x0000000000004010 4 6 0 0", "3000"},
                                     Entry{"0x0000000000004014 1 2 2 3", "5"},
                                     Entry{"0x0000000000004018 4 9 0 0", "1.5"},
                                     Entry{"0x0000000000004020 8 10 0 0", "0.10000000000000001"},
                                     Entry{"0x0000000000004028 2 3 0 0", "-1"},
                                     Entry{"0x000000000000402a 2 3 0 0", "2"},
                                     Entry{"0x000000000000402c 2 3 0 0", "300"},
                                     Entry{"0x0000000000004030 4 14 0 0", "2"},
                                     Entry{"0x0000000000004034 1 17 0 0", "1"},
                                     Entry{"0x0000000000004035 1 2 0 0", "1"},
                                     Entry{"0x0000000000004036 1 2 0 0", "2"},
                                     Entry{"0x0000000000004037 1 2 0 0", "3"},
                                     Entry{"0x0000000000004038 1 2 0 0", "4"}));
    EXPECT_THAT(diagnostics, HasSubstr("missing is not in the symbol list"));
    EXPECT_THAT(diagnostics, HasSubstr("cannot convert record"));
    EXPECT_FALSE(fs::exists(fs::path(work.path()) / "output.varval"));
}

TEST_F(DravikStandInTest, AbsoluteDatasetPathIsReadWhereItIs) {
    work.Write("engine.dcm", "FESTWERT speed\n   WERT 12\nEND\n");
    EXPECT_THAT(Dataset::Instance().GetDataset("UTF-8:" + work.path() + "engine.dcm"),
                ElementsAre(Entry{"0x0000000000004010 4 6 0 0", "12"}));
}

TEST_F(DravikStandInTest, ValuesOutsideTheirTypeAreLeftOut) {
    work.Write("engine.dcm",
               "FESTWERT flags.mode\n WERT 256\nEND\nFESTWERT speed\n WERT -1\nEND\n"
               "FESTWERT gain\n WERT fast\nEND\nFESTWERT table[0]\n WERT 2.6\nEND\n");
    testing::internal::CaptureStderr();
    EXPECT_THAT(Dataset::Instance().GetDataset("UTF-8:" + work.path() + "engine.dcm"),
                ElementsAre(Entry{"0x0000000000004028 2 3 0 0", "3"}));
    testing::internal::GetCapturedStderr();
}

TEST_F(DravikStandInTest, MissingInputsFailTheConversion) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunDravik("UTF-8:missing.dcm"), 1);
    work.Write("engine.dcm", kDcm);
    fs::remove(workspace.path() + "build/SymbolDetails.txt");
    EXPECT_EQ(RunDravik("UTF-8:" + work.path() + "engine.dcm"), 1);
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("cannot read"));
    EXPECT_FALSE(fs::exists(fs::path(work.path()) / "output.varval"));
}

TEST_F(DravikStandInTest, WrongNumberOfArgumentsFailsTheConversion) {
    const std::string spaced = workspace.path() + "my workspace";
    WriteFile(fs::path(spaced) / "build" / "vEcuConf.json", "{}");
    environment.Set("QUORVEL_WORKSPACE", spaced);
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunDravik("UTF-8:engine.dcm"), 1);
    EXPECT_THAT(Dataset::Instance().GetDataset("UTF-8:engine.dcm"), IsEmpty());
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("expected 4 or 5 arguments"));
}

}  // namespace
