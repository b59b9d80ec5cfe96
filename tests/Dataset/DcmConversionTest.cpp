#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "A2lPatchFile.h"
#include "DataParser_DCM.h"
#include "Dataset.h"
#include "DatasetTestSupport.h"
#include "DravikLauncher.h"

namespace {

using namespace datasettest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::SizeIs;
using ::testing::StartsWith;
using Entry = DatasetEntry;

std::vector<std::string> SplitWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// The converter is the recording script: it writes down its arguments and
// working directory, leaves a prepared output.varval and exits as told.
class DcmConversionTest : public ::testing::Test {
protected:
    void SetUp() override {
        environment.Set("QUORVEL_HOME", home.path());
        environment.Set("QUORVEL_WORKSPACE", workspace.path());
        environment.Set("DRAVIK_RECORD", RecordPath());
        environment.Unset("DRAVIK_OUTPUT");
        environment.Unset("DRAVIK_EXIT");
        InstallConverter(home, RECORDING_DRAVIK);
        currentDirectory = std::make_unique<ScopedCurrentDirectory>(work.path());
    }

    std::string RecordPath() const { return scratch.path() + "arguments"; }
    std::vector<std::string> RecordedArguments() const { return ReadLines(RecordPath()); }
    bool ConverterRan() const { return fs::exists(RecordPath()); }

    void ConverterExits(int code) { environment.Set("DRAVIK_EXIT", std::to_string(code)); }
    void ConverterWrites(const std::string& varval) {
        scratch.Write("prepared.varval", varval);
        environment.Set("DRAVIK_OUTPUT", scratch.path() + "prepared.varval");
    }
    void Configure(const std::string& json) const { workspace.Write("build/vEcuConf.json", json); }

    fs::path Build() const { return fs::path(workspace.path()) / "build"; }
    std::string SymbolList() const { return (Build() / "SymbolDetails.txt").string(); }
    std::string Mapping() const {
        return (Build() / "fmu" / "resources" / "mappings" / "DCM_Labels-Symbols_mapping.json").string();
    }
    std::string ConfigPath() const { return (Build() / "vEcuConf.json").string(); }
    bool OutputExists() const { return fs::exists(fs::path(work.path()) / "output.varval"); }

    TempFolder home, workspace, work, scratch;
    ScopedEnvironment environment;
    std::unique_ptr<ScopedCurrentDirectory> currentDirectory;
};

TEST_F(DcmConversionTest, AbsoluteDatasetPathIsNotJoinedToTheWorkspace) {
    Configure(R"({"patch_a2l_file": {"filename": "ecu.a2l"}})");
    EXPECT_EQ(BuildDravikArguments("UTF-8:/fmu/resources/cal.dcm"),
              " /fmu/resources/cal.dcm UTF-8 " + SymbolList() + " " + Mapping() + " " +
                  (Build() / "fmu" / "resources" / "ecu.a2l").string());
}

TEST_F(DcmConversionTest, LocatorWithoutColonIsPathAndEncoding) {
    Configure("{}");
    EXPECT_EQ(BuildDravikArguments("cal.dcm"), " " + (fs::path(workspace.path()) / "cal.dcm").string() +
                                                   " cal.dcm " + SymbolList() + " " + Mapping() + " ");
}

TEST_F(DcmConversionTest, ConverterGetsFiveArgumentsInTheCurrentDirectory) {
    Configure(R"({"patch_a2l_file": {"filename": "ecu.a2l"}, "other": 1})");
    EXPECT_EQ(RunDravik("UTF-8:cal.dcm"), 0);
    EXPECT_THAT(RecordedArguments(),
                ElementsAre((fs::path(workspace.path()) / "cal.dcm").string(), "UTF-8", SymbolList(),
                            Mapping(), (Build() / "fmu" / "resources" / "ecu.a2l").string()));
    EXPECT_TRUE(fs::equivalent(ReadLines(RecordPath() + ".cwd").at(0), work.path()));
}

TEST_F(DcmConversionTest, WithoutA2lKeyTheConverterGetsFourArguments) {
    Configure(R"({"name": "ecu"})");
    testing::internal::CaptureStdout();
    RunDravik("UTF-8:cal.dcm");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_THAT(RecordedArguments(), ElementsAre(testing::_, "UTF-8", SymbolList(), Mapping()));
}

TEST_F(DcmConversionTest, MissingConfigurationIsReportedAndGivesFourArguments) {
    testing::internal::CaptureStdout();
    RunDravik("UTF-8:cal.dcm");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to open " + ConfigPath() + "\n");
    EXPECT_THAT(RecordedArguments(), SizeIs(4));
}

TEST_F(DcmConversionTest, EmptyConfigurationGivesFourArgumentsSilently) {
    Configure("");
    testing::internal::CaptureStdout();
    RunDravik("UTF-8:cal.dcm");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_THAT(RecordedArguments(), SizeIs(4));
}

TEST_F(DcmConversionTest, ConfigurationThatIsNoObjectIsReported) {
    Configure("[1, 2]");
    testing::internal::CaptureStdout();
    RunDravik("UTF-8:cal.dcm");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Failed to parse " + ConfigPath() + "\n");
    EXPECT_THAT(RecordedArguments(), SizeIs(4));
}

TEST_F(DcmConversionTest, MalformedConfigurationPassesOutOfGetDataset) {
    Dataset& store = Dataset::Instance();
    Configure("{\"patch_a2l_file\": ");
    EXPECT_THROW(store.GetDataset("UTF-8:cal.dcm"), nlohmann::json::parse_error);
    Configure(R"({"patch_a2l_file": {"name": "ecu.a2l"}})");
    EXPECT_THROW(store.GetDataset("UTF-8:cal.dcm"), nlohmann::json::out_of_range);
    Configure(R"({"patch_a2l_file": "ecu.a2l"})");
    EXPECT_THROW(store.GetDataset("UTF-8:cal.dcm"), nlohmann::json::type_error);
    Configure(R"({"patch_a2l_file": {"filename": 5}})");
    EXPECT_THROW(store.GetDataset("UTF-8:cal.dcm"), nlohmann::json::type_error);
    EXPECT_FALSE(ConverterRan());
}

TEST_F(DcmConversionTest, WorkspaceWithABlankSplitsItsArguments) {
    const std::string spaced = scratch.path() + "my workspace";
    fs::create_directories(spaced);
    environment.Set("QUORVEL_WORKSPACE", spaced);
    WriteFile(fs::path(spaced) / "build" / "vEcuConf.json", "{}");
    RunDravik("UTF-8:cal.dcm");
    const std::vector<std::string> arguments = RecordedArguments();
    EXPECT_THAT(arguments, SizeIs(4 + 3));
    EXPECT_EQ(arguments, SplitWords(BuildDravikArguments("UTF-8:cal.dcm")));
    EXPECT_EQ(arguments.at(0), scratch.path() + "my");
}

TEST_F(DcmConversionTest, SuccessfulRunIsReadAndItsOutputRemoved) {
    ConverterWrites("0x10 4 6 0 0 42 speed\n0x14 1 2 3 4 5 mode\n");
    EXPECT_THAT(Dataset::Instance().GetDataset("UTF-8:cal.dcm"),
                ElementsAre(Entry{"0x10 4 6 0 0", "42"}, Entry{"0x14 1 2 3 4", "5"}));
    EXPECT_TRUE(ConverterRan());
    EXPECT_FALSE(OutputExists());
}

TEST_F(DcmConversionTest, FailedRunGivesAnEmptyDatasetAndLeavesTheOutput) {
    ConverterWrites("0x10 4 6 0 0 42 speed\n");
    ConverterExits(1);
    EXPECT_THAT(Dataset::Instance().GetDataset("UTF-8:cal.dcm"), IsEmpty());
    EXPECT_TRUE(OutputExists());
    ConverterExits(3);
    EXPECT_EQ(RunDravik("UTF-8:cal.dcm"), 3);
}

TEST_F(DcmConversionTest, SuccessfulRunWithoutOutputGivesAnEmptyDataset) {
    testing::internal::CaptureStderr();
    EXPECT_THAT(DataParser_DCM().Parse("UTF-8:cal.dcm"), IsEmpty());
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(DcmConversionTest, OutputThatCannotBeRemovedIsReported) {
    WriteFile(fs::path(work.path()) / "output.varval" / "blocker", "x");
    testing::internal::CaptureStderr();
    EXPECT_THAT(DataParser_DCM::ConvertAndRead("UTF-8:cal.dcm"), IsEmpty());
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_THAT(error, StartsWith("Couldn't delete output.varval. Filesystem error: "));
    EXPECT_EQ(error.find('\n'), error.size() - 1);
}

TEST_F(DcmConversionTest, UnsetLocationsGiveAnEmptyDatasetAndOneLine) {
    for (const std::string name : {"QUORVEL_HOME", "QUORVEL_WORKSPACE"}) {
        ScopedEnvironment unset;
        unset.Unset(name);
        testing::internal::CaptureStderr();
        EXPECT_THAT(Dataset::Instance().GetDataset("UTF-8:cal.dcm"), IsEmpty());
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "Cannot convert UTF-8:cal.dcm: " + name + " is not set\n");
        EXPECT_NE(RunDravik("UTF-8:cal.dcm"), 0);
    }
    EXPECT_FALSE(ConverterRan());
}

TEST_F(DcmConversionTest, ConverterThatCannotBeStartedPassesOutOfGetDataset) {
    fs::remove(home.path() + "bin/linux64/Dravik");
    EXPECT_THROW(Dataset::Instance().GetDataset("UTF-8:cal.dcm"), std::system_error);
}

}  // namespace
