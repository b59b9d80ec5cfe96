#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "DataParser_VariableValue.h"
#include "DatasetTestSupport.h"
#include "VarvalLineBuffer.h"

namespace {

using datasettest::TempFolder;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Entry = DatasetEntry;

class VarvalReaderTest : public ::testing::Test {
protected:
    DatasetContent Read(const std::string& content) {
        folder.Write("cal.varval", content);
        return DataParser_VariableValue().Parse("UTF-8:" + folder.path() + "cal.varval");
    }
    // Words w0 .. w(count-1) separated by single blanks.
    static std::string Words(int count) {
        std::string line;
        for (int i = 0; i < count; ++i) line += (i > 0 ? " w" : "w") + std::to_string(i);
        return line;
    }
    TempFolder folder;
};

TEST_F(VarvalReaderTest, NameValueFormSplitsAtTheLastBlank) {
    EXPECT_THAT(Read("a b c\nx y\n"), ElementsAre(Entry{"a b", "c"}, Entry{"x", "y"}));
}

TEST_F(VarvalReaderTest, TrailingBlankGivesAnEmptyValue) {
    EXPECT_THAT(Read("a \n"), ElementsAre(Entry{"a", ""}));
}

TEST_F(VarvalReaderTest, TwoBlanksInARowKeepOneInTheName) {
    EXPECT_THAT(Read("a  b\n"), ElementsAre(Entry{"a ", "b"}));
}

TEST_F(VarvalReaderTest, TabsAreOrdinaryCharacters) {
    EXPECT_THAT(Read("a\tb c\td\n"), ElementsAre(Entry{"a\tb", "c\td"}));
}

TEST_F(VarvalReaderTest, SixBlanksOnTheFirstLineSelectTheSevenColumnForm) {
    EXPECT_THAT(Read("0x1000 4 5 0 0 42 Speed\n"
                     "0x2000 1 2 0 0 7 a b c\n"
                     "0x3 1 2 3\n"),
                ElementsAre(Entry{"0x1000 4 5 0 0", "42"},
                            // later lines are cut at their second-last blank
                            Entry{"0x2000 1 2 0 0 7 a", "b"}, Entry{"0x3 1", "2"}));
}

TEST_F(VarvalReaderTest, OtherBlankCountsKeepTheNameValueForm) {
    EXPECT_THAT(Read("0x1000 4 5 0 0 Speed\n0x1 2 3 4 5 6 n\n"),
                ElementsAre(Entry{"0x1000 4 5 0 0", "Speed"}, Entry{"0x1 2 3 4 5 6", "n"}));
}

TEST_F(VarvalReaderTest, LinesWithoutBlanksDoNotDecideTheForm) {
    EXPECT_THAT(Read("header\n0x1 2 3 4 5 6 n\n"), ElementsAre(Entry{"0x1 2 3 4 5", "6"}));
}

TEST_F(VarvalReaderTest, BlankCounterWrapsAfter255) {
    // 256 blanks count 0: the form stays open and the next line decides.
    EXPECT_THAT(Read(Words(257) + "\n0x1 2 3 4 5 6 n\n"),
                ElementsAre(Entry{Words(256), "w256"}, Entry{"0x1 2 3 4 5", "6"}));
    // 262 blanks count 6.
    EXPECT_THAT(Read(Words(263) + "\n"), ElementsAre(Entry{Words(261), "w261"}));
}

TEST_F(VarvalReaderTest, RepeatedNamesGiveEntriesInFileOrder) {
    EXPECT_THAT(Read("n 1\nm 2\nn 3\n"), ElementsAre(Entry{"n", "1"}, Entry{"m", "2"}, Entry{"n", "3"}));
}

TEST_F(VarvalReaderTest, CrLfLineEndsReadLikeLf) {
    EXPECT_EQ(Read("a 1\r\n0x1 2\r\r\n"), Read("a 1\n0x1 2\n"));
    EXPECT_THAT(Read("0x1 2 3 4 5 6 n\r\n"), ElementsAre(Entry{"0x1 2 3 4 5", "6"}));
}

TEST_F(VarvalReaderTest, LastLineWithoutLineFeedIsRead) {
    EXPECT_THAT(Read("a 1\nb 2"), ElementsAre(Entry{"a", "1"}, Entry{"b", "2"}));
}

TEST_F(VarvalReaderTest, LinesWithoutTheirCuttingBlankAreSkipped) {
    EXPECT_THAT(Read("a 1\n\nnovalue\nb 2\n"), ElementsAre(Entry{"a", "1"}, Entry{"b", "2"}));
    EXPECT_THAT(Read("0x1 2 3 4 5 6 n\n0x2 7\n\n0x3 1 2 3 4 8 m\n"),
                ElementsAre(Entry{"0x1 2 3 4 5", "6"}, Entry{"0x3 1 2 3 4", "8"}));
}

TEST_F(VarvalReaderTest, ValueColumnIsCutAt99Characters) {
    const std::string fits(99, '7');
    const std::string tooLong(150, '8');
    EXPECT_THAT(Read("0x1 1 2 0 0 " + fits + " a\n0x2 1 2 0 0 " + tooLong + " b\n"),
                ElementsAre(Entry{"0x1 1 2 0 0", fits}, Entry{"0x2 1 2 0 0", std::string(99, '8')}));
}

TEST_F(VarvalReaderTest, NameValueValueIsNotLimited) {
    const std::string value(500, 'v');
    EXPECT_THAT(Read("n " + value + "\n"), ElementsAre(Entry{"n", value}));
}

TEST_F(VarvalReaderTest, LineLongerThanTheBufferIsReadAsSeveralLines) {
    const std::size_t fitting = kVarvalLineBufferSize - 1;
    const std::string head = std::string(fitting - 9, 'n') + " " + std::string(8, 'v');
    ASSERT_EQ(head.size(), fitting);
    EXPECT_THAT(Read(head + "x y\n"),
                ElementsAre(Entry{std::string(fitting - 9, 'n'), std::string(8, 'v')}, Entry{"x", "y"}));
}

TEST_F(VarvalReaderTest, PathFollowsTheFirstColon) {
    folder.Write("cal.varval", "a 1\n");
    const std::string path = folder.path() + "cal.varval";
    const DatasetContent expected{{"a", "1"}};
    EXPECT_EQ(DataParser_VariableValue().Parse("XYZ:" + path), expected);
    // A drive letter without an encoding is taken as the encoding.
    EXPECT_EQ(DataParser_VariableValue().Parse("C:" + path), expected);
    EXPECT_EQ(DataParser_VariableValue().Parse(path), expected);
    EXPECT_THAT(DataParser_VariableValue().Parse("UTF-8:C:" + path), IsEmpty());
}

TEST_F(VarvalReaderTest, MissingFileGivesAnEmptyDataset) {
    EXPECT_THAT(DataParser_VariableValue().Parse("UTF-8:" + folder.path() + "missing.varval"), IsEmpty());
}

}  // namespace
