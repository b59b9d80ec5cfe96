#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "Dataset.h"
#include "DatasetTestSupport.h"
#include "VarvalLineBuffer.h"

namespace {

using datasettest::ReadFile;
using datasettest::TempFolder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Entry = DatasetEntry;

// The store is process-wide: every test starts from an empty one.
class DatasetStoreTest : public ::testing::Test {
protected:
    void SetUp() override { store.ClearDatasets(); }
    void TearDown() override { store.ClearDatasets(); }
    std::string Merge() {
        EXPECT_EQ(store.WriteResultingDataset(folder.path() + "merged.varval"), 0);
        return folder.Read("merged.varval");
    }
    Dataset& store = Dataset::Instance();
    TempFolder folder;
};

TEST_F(DatasetStoreTest, OtherExtensionsGiveEmptyDatasets) {
    folder.Write("cal.txt", "a 1\n");
    EXPECT_THAT(store.GetDataset("UTF-8:" + folder.path() + "cal.txt"), IsEmpty());
    // The only '.' in the encoding prefix: the extension is "b:<path>".
    EXPECT_THAT(store.GetDataset("a.b:cal"), IsEmpty());
    EXPECT_THAT(store.GetDataset("nodot"), IsEmpty());
    EXPECT_THAT(store.GetDataset("x."), IsEmpty());
}

TEST_F(DatasetStoreTest, MergeWithoutDatasetsTruncatesTheFile) {
    folder.Write("merged.varval", "old 1\n");
    EXPECT_EQ(Merge(), "");
}

TEST_F(DatasetStoreTest, MergeWritesNamesInByteOrderAndTheLastValueWins) {
    store.AddDataset({{"N", "1"}, {"a", "2"}, {"0x9 1 2 0 0", "3"}, {"N", "4"}});
    store.AddDataset({{"B", "5"}, {"0x10 1 2 0 0", "6"}, {"N", "7"}});
    EXPECT_EQ(Merge(), "0x10 1 2 0 0 6\n0x9 1 2 0 0 3\nB 5\nN 7\na 2\n");
}

TEST_F(DatasetStoreTest, ClearDatasetsEmptiesTheMerge) {
    store.AddDataset({{"a", "1"}});
    store.ClearDatasets();
    EXPECT_EQ(Merge(), "");
}

TEST_F(DatasetStoreTest, MergedFileReadsBackAsTheMergedPairs) {
    store.AddDataset({{"speed", "1"}, {"gain", "2.5"}});
    store.AddDataset({{"speed", "3"}, {"flag", ""}});
    Merge();
    EXPECT_THAT(store.GetDataset("UTF-8:" + folder.path() + "merged.varval"),
                ElementsAre(Entry{"flag", ""}, Entry{"gain", "2.5"}, Entry{"speed", "3"}));
}

TEST_F(DatasetStoreTest, UnopenablePathWritesNothing) {
    store.AddDataset({{"a", "1"}});
    EXPECT_EQ(store.WriteResultingDataset(folder.path() + "missing/merged.varval"), 0);
    EXPECT_FALSE(folder.Exists("missing/merged.varval"));
}

TEST_F(DatasetStoreTest, MergedLineLongerThanTheBufferIsWrittenWhole) {
    const std::string value(kVarvalLineBufferSize, 'v');
    store.AddDataset({{"a", "1"}, {"long", value}, {"z", "2"}});
    EXPECT_EQ(Merge(), "a 1\nlong " + value + "\nz 2\n");
}

}  // namespace
