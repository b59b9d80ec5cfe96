#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "DatasetInterface.h"
#include "DatasetTestSupport.h"
#include "platform/Module.h"

namespace {

using namespace datasettest;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Entry = DatasetEntry;

// The built library, loaded and bound by name as the runtime binds it.
class DatasetExportsTest : public ::testing::Test {
protected:
    void SetUp() override { Load(); }
    void TearDown() override { platform::FreeModule(module); }

    void Load() {
        module = platform::LoadModule(DATASET_LIBRARY);
        ASSERT_NE(module, nullptr) << platform::LastModuleError();
        getDataset = reinterpret_cast<GetDatasetFn>(platform::FindModuleSymbol(module, "GetDataset"));
        addDataset = reinterpret_cast<AddDatasetFn>(platform::FindModuleSymbol(module, "AddDataset"));
        clearDatasets = reinterpret_cast<ClearDatasetsFn>(platform::FindModuleSymbol(module, "ClearDatasets"));
        writeResultingDataset = reinterpret_cast<WriteResultingDatasetFn>(
            platform::FindModuleSymbol(module, "WriteResultingDataset"));
        ASSERT_TRUE(getDataset && addDataset && clearDatasets && writeResultingDataset);
    }

    platform::ModuleHandle module = nullptr;
    GetDatasetFn getDataset = nullptr;
    AddDatasetFn addDataset = nullptr;
    ClearDatasetsFn clearDatasets = nullptr;
    WriteResultingDatasetFn writeResultingDataset = nullptr;
    TempFolder folder;
};

TEST_F(DatasetExportsTest, GetDatasetReplacesTheCallersContent) {
    folder.Write("one.varval", "a 1\n");
    folder.Write("two.varval", "b 2\nc 3\n");
    DatasetContent out{{"old", "0"}};
    EXPECT_EQ(getDataset("UTF-8:" + folder.path() + "one.varval", out), 0);
    EXPECT_THAT(out, ElementsAre(Entry{"a", "1"}));
    EXPECT_EQ(getDataset("UTF-8:" + folder.path() + "two.varval", out), 0);
    EXPECT_THAT(out, ElementsAre(Entry{"b", "2"}, Entry{"c", "3"}));
    EXPECT_EQ(getDataset("UTF-8:" + folder.path() + "two.txt", out), 0);
    EXPECT_THAT(out, IsEmpty());
}

TEST_F(DatasetExportsTest, DatasetsAreMergedThroughTheExports) {
    EXPECT_EQ(clearDatasets(), 0);
    EXPECT_EQ(addDataset({{"b", "2"}}), 0);
    EXPECT_EQ(addDataset({{"a", "1"}, {"b", "3"}}), 0);
    EXPECT_EQ(writeResultingDataset(folder.path() + "merged.varval"), 0);
    EXPECT_EQ(folder.Read("merged.varval"), "a 1\nb 3\n");
    EXPECT_EQ(clearDatasets(), 0);
    EXPECT_EQ(writeResultingDataset(folder.path() + "merged.varval"), 0);
    EXPECT_EQ(folder.Read("merged.varval"), "");
}

TEST_F(DatasetExportsTest, StoreEndsWithTheLibrary) {
    addDataset({{"a", "1"}});
    platform::FreeModule(module);
    Load();
    writeResultingDataset(folder.path() + "merged.varval");
    EXPECT_EQ(folder.Read("merged.varval"), "");
}

TEST_F(DatasetExportsTest, ConverterFailurePassesOutOfGetDataset) {
    TempFolder home, workspace;
    ScopedEnvironment environment;
    environment.Set("QUORVEL_HOME", home.path());
    environment.Set("QUORVEL_WORKSPACE", workspace.path());
    workspace.Write("build/vEcuConf.json", "{}");
    ScopedCurrentDirectory currentDirectory(folder.path());
    DatasetContent out;
    EXPECT_THROW(getDataset("UTF-8:cal.dcm", out), std::exception);
    workspace.Write("build/vEcuConf.json", "{");
    EXPECT_THROW(getDataset("UTF-8:cal.dcm", out), std::exception);
}

}  // namespace
