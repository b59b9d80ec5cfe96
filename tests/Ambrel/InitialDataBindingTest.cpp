#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "DatasetBinding.h"
#include "FmuHarness.h"

namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

TEST(InitialDataBindingTest, BindsTheFourExportsAndForwardsToThem) {
    harness::ResourceFolder folder;
    folder.Write("cal.varval", "a 1\n");
    platform::ModuleHandle library = BindDatasetLibrary(INITIAL_DATA_DATASET_LIBRARY);
    ASSERT_NE(library, nullptr);
    EXPECT_TRUE(datasetEntryPoints.GetDataset && datasetEntryPoints.AddDataset &&
                datasetEntryPoints.ClearDatasets && datasetEntryPoints.WriteResultingDataset);

    DatasetContent dataset{{"old", "0"}};
    EXPECT_TRUE(CallGetDataset("UTF-8:" + folder.path() + "cal.varval", dataset));
    EXPECT_THAT(dataset, ElementsAre(DatasetEntry{"a", "1"}));
    CallClearDatasets();
    CallAddDataset({{"b", "2"}});
    CallWriteResultingDataset(folder.path() + "merged.varval");
    EXPECT_EQ(folder.Read("merged.varval"), "b 2\n");

    FreeDatasetLibrary(library);
    EXPECT_EQ(datasetEntryPoints.GetDataset, nullptr);
    EXPECT_EQ(datasetEntryPoints.WriteResultingDataset, nullptr);
    EXPECT_FALSE(CallGetDataset("UTF-8:" + folder.path() + "cal.varval", dataset));
    CallAddDataset({{"c", "3"}});
}

TEST(InitialDataBindingTest, MissingExportStaysUnbound) {
    platform::ModuleHandle library = BindDatasetLibrary(INITIAL_DATA_PARTIAL_DATASET_LIBRARY);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(datasetEntryPoints.GetDataset, nullptr);
    EXPECT_NE(datasetEntryPoints.AddDataset, nullptr);
    DatasetContent dataset{{"old", "0"}};
    EXPECT_FALSE(CallGetDataset("cal.varval", dataset));
    EXPECT_THAT(dataset, ElementsAre(DatasetEntry{"old", "0"}));
    FreeDatasetLibrary(library);
}

TEST(InitialDataBindingTest, MissingLibraryGivesNull) {
    EXPECT_EQ(BindDatasetLibrary("/nonexistent-folder/Dataset.so"), nullptr);
    FreeDatasetLibrary(nullptr);
    DatasetContent dataset;
    EXPECT_FALSE(CallGetDataset("cal.varval", dataset));
    EXPECT_THAT(dataset, IsEmpty());
}

}  // namespace
