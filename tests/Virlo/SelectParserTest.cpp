#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ParserInstances.h"
#include "SelectParser.h"
#include "VirloCoreTestSupport.h"
#include "VirloParser.h"

namespace {

using namespace virlo_core_test;

constexpr uint32_t kUntouched = 77;

// Selection on real files and folders, each with a record of its own (the
// process's record is left alone).
class SelectParserTest : public ::testing::Test {
protected:
    // Selecting a raw table may lift the process's row limit.
    void TearDown() override { SymbolDetailsLineLimit = savedLimit; }

    VirloParser* Select(const std::string& path) { return SelectParser(active, path, &status); }

    const uint32_t savedLimit = SymbolDetailsLineLimit;
    TempFolder folder;
    ActiveParser active;
    uint32_t status = kUntouched;
};

TEST_F(SelectParserTest, FolderWithBothTablesTakesTheRawOne) {
    WriteText(folder.File("RawSymbolDetails.txt"), "");
    WriteText(folder.File("SymbolDetails.txt"), "");
    VirloParser* parser = Select(folder.Path());
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(parser, SymbolDetailsParserInstance(false));
    EXPECT_EQ(parser->activePath, folder.Path() + "RawSymbolDetails.txt");
    EXPECT_EQ(active.parser, parser);
    EXPECT_EQ(active.kind, ParserKind::SymbolDetails);
    EXPECT_EQ(active.path, folder.Path());
    EXPECT_EQ(status, kUntouched);
}

TEST_F(SelectParserTest, FolderWithSymbolDetails) {
    WriteText(folder.File("SymbolDetails.txt"), "");
    VirloParser* parser = Select(folder.Path());
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(parser, SymbolDetailsParserInstance(false));
    EXPECT_EQ(parser->activePath, folder.Path() + "SymbolDetails.txt");
}

TEST_F(SelectParserTest, FolderWithoutTableGivesTwo) {
    WriteText(folder.File("symboldetails.txt"), "");  // letter case counts
    EXPECT_EQ(Select(folder.Path()), nullptr);
    EXPECT_EQ(status, ParserStatus_NoTableInFolder);
    EXPECT_EQ(active.parser, nullptr);
}

TEST_F(SelectParserTest, FolderWithoutTrailingSeparatorFindsNothing) {
    WriteText(folder.File("SymbolDetails.txt"), "");
    std::string path = folder.Path();
    path.pop_back();
    EXPECT_EQ(Select(path), nullptr);
    EXPECT_EQ(status, ParserStatus_NoTableInFolder);
}

TEST_F(SelectParserTest, FileNamedSymbolDetails) {
    const std::string table = folder.File("SymbolDetails.txt");
    WriteText(table, "");
    SymbolDetailsParserInstance(false)->activePath = "left from before";
    VirloParser* parser = Select(table);
    ASSERT_NE(parser, nullptr);
    EXPECT_EQ(parser, SymbolDetailsParserInstance(false));
    EXPECT_EQ(parser->activePath, "");  // its Init reads the path it is given
    EXPECT_EQ(status, kUntouched);
}

TEST_F(SelectParserTest, OtherFileNamesGoTheCompanionWay) {
    WriteText(folder.File("symboldetails.TXT"), "");
    WriteText(folder.File("symboldetails.die"), "");
    Select(folder.File("symboldetails.TXT"));
    EXPECT_EQ(active.kind, ParserKind::Dwarf);
    EXPECT_EQ(active.parser, DwarfParserInstance());
    EXPECT_EQ(status, kUntouched);
}

TEST_F(SelectParserTest, PdbWinsOverDie) {
    WriteText(folder.File("app.dll"), "");
    WriteText(folder.File("app.pdb"), "");
    WriteText(folder.File("app.die"), "");
    EXPECT_EQ(Select(folder.File("app.dll")), PdbParserInstance());
    EXPECT_EQ(active.kind, ParserKind::Pdb);
    EXPECT_EQ(status, kUntouched);
}

TEST_F(SelectParserTest, DieAlone) {
    WriteText(folder.File("app.dll"), "");
    WriteText(folder.File("app.die"), "");
    EXPECT_EQ(Select(folder.File("app.dll")), DwarfParserInstance());
    EXPECT_EQ(active.kind, ParserKind::Dwarf);
    EXPECT_EQ(status, kUntouched);
}

TEST_F(SelectParserTest, NoCompanionGivesOne) {
    WriteText(folder.File("app.dll"), "");
    WriteText(folder.File("app.dll.pdb"), "");  // not the companion
    std::filesystem::create_directory(folder.File("app.die"));  // a folder is no companion
    EXPECT_EQ(Select(folder.File("app.dll")), nullptr);
    EXPECT_EQ(status, ParserStatus_NoParserForFile);
    EXPECT_EQ(active.kind, ParserKind::None);
}

TEST_F(SelectParserTest, NameWithoutDotLooksForNamePlusExtension) {
    WriteText(folder.File("archive"), "");
    WriteText(folder.File("archive.die"), "");
    Select(folder.File("archive"));
    EXPECT_EQ(active.kind, ParserKind::Dwarf);
}

TEST_F(SelectParserTest, BaseIsCutAtTheLastDotOfTheWholePath) {
    std::filesystem::create_directory(folder.File("build.old"));
    WriteText(folder.File("build.old/archive"), "");
    WriteText(folder.File("build.old/archive.die"), "");
    Select(folder.File("build.old/archive"));
    EXPECT_EQ(status, ParserStatus_NoParserForFile);

    WriteText(folder.File("build.die"), "");
    status = kUntouched;
    Select(folder.File("build.old/archive"));
    EXPECT_EQ(active.kind, ParserKind::Dwarf);
    EXPECT_EQ(status, kUntouched);
}

TEST_F(SelectParserTest, NothingThereOrEmptyPathSelectsNothingWithoutStatus) {
    EXPECT_EQ(Select(folder.File("missing.dll")), nullptr);
    EXPECT_EQ(status, kUntouched);
    EXPECT_EQ(active.path, folder.File("missing.dll"));
    EXPECT_EQ(Select(""), nullptr);
    EXPECT_EQ(status, kUntouched);
    EXPECT_EQ(active.path, "");
}

TEST_F(SelectParserTest, ActiveParserStaysForItsPathAndTheEmptyOne) {
    WriteText(folder.File("SymbolDetails.txt"), "");
    VirloParser* parser = Select(folder.Path());
    ASSERT_NE(parser, nullptr);

    TempFolder other;
    WriteText(other.File("RawSymbolDetails.txt"), "");
    EXPECT_EQ(Select(other.Path()), nullptr);
    EXPECT_EQ(SelectParser(active, "", nullptr), parser);
    EXPECT_EQ(Select(folder.Path()), parser);
    EXPECT_EQ(active.path, folder.Path());
    EXPECT_EQ(parser->activePath, folder.Path() + "SymbolDetails.txt");
    EXPECT_EQ(status, kUntouched);
}

// A terminated PDB parser has destroyed itself; the record hands out the
// instance that exists now, never the destroyed one.
TEST_F(SelectParserTest, PdbParserIsAskedForAfresh) {
    WriteText(folder.File("app.dll"), "");
    WriteText(folder.File("app.pdb"), "");
    Select(folder.File("app.dll"));
    ASSERT_EQ(active.kind, ParserKind::Pdb);
    ReleasePdbParserInstance();
    VirloParser* fresh = PdbParserInstance();
    EXPECT_EQ(SelectParser(active, "", nullptr), fresh);
    EXPECT_EQ(active.parser, fresh);
}

TEST_F(SelectParserTest, FailingFileSystemQueryRaises) {
    const std::string overlong = folder.Path() + std::string(300, 'x') + "/app.dll";
    EXPECT_THROW(Select(overlong), std::filesystem::filesystem_error);
}

// The row limit is process-wide: these run in processes of their own.

TEST(SelectParserProcess, RawTableLiftsTheRowLimitForGood) {
    RunInFreshProcess([] {
        TempFolder folder;
        WriteText(folder.File("RawSymbolDetails.txt"), "");
        EXPECT_EQ(SymbolDetailsLineLimit, 10000u);
        ActiveParser active;
        ASSERT_NE(SelectParser(active, folder.Path(), nullptr), nullptr);
        EXPECT_EQ(SymbolDetailsLineLimit, 0xFFFFFFFFu);
    });
}

TEST(SelectParserProcess, SymbolDetailsKeepsTheRowLimit) {
    RunInFreshProcess([] {
        TempFolder folder;
        WriteText(folder.File("SymbolDetails.txt"), "");
        ActiveParser active;
        ASSERT_NE(SelectParser(active, folder.Path(), nullptr), nullptr);
        EXPECT_EQ(SymbolDetailsLineLimit, 10000u);
        // The instance exists now: a raw table found later changes nothing.
        EXPECT_EQ(SymbolDetailsParserInstance(true), SymbolDetailsParserInstance(false));
        EXPECT_EQ(SymbolDetailsLineLimit, 10000u);
    });
}

}  // namespace
