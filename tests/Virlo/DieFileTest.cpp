#include <gtest/gtest.h>

#include <cstring>

#include "DieFile.h"
#include "DieLinePattern.h"
#include "DwarfTestSupport.h"
#include "VirloParserDwarf.h"

namespace {

using dwarftest::LineTexts;
using dwarftest::TempDieFile;

std::vector<std::string> ReadLines(const std::string& content, size_t* pieces = nullptr) {
    TempDieFile file(content);
    VirloParserDwarf parser;
    parser.ReadDieFile(file.path());
    if (pieces != nullptr) *pieces = parser.chunks.size();
    return LineTexts(parser);
}

// What the lines of a text are when it is split in one go.
std::vector<std::string> SplitWhole(const std::string& content) {
    std::vector<std::string> lines;
    std::string current;
    for (const char c : content) {
        if (c == '\n' || c == '\r') {
            if (!current.empty()) lines.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) lines.push_back(current);
    return lines;
}

TEST(MakeDiePath, ReplacesTheTextAfterTheLastDot) {
    EXPECT_EQ(MakeDiePath("C:/ecu/app.dll"), "C:/ecu/app.die");
    EXPECT_EQ(MakeDiePath("C:/ecu/app"), "C:/ecu/app.die");
    EXPECT_EQ(MakeDiePath("C:/ecu.old/app"), "C:/ecu.die");
    EXPECT_EQ(MakeDiePath("/build/libecu.so"), "/build/libecu.die");
}

TEST(ReadDieFile, LastLineWithoutLineEndKeepsItsBytes) {
    TempDieFile file("first\nlast");
    VirloParserDwarf parser;
    parser.ReadDieFile(file.path());
    ASSERT_EQ(parser.lines.size(), 2u);
    EXPECT_EQ(parser.lines[1].length, 4u);
    EXPECT_STREQ(parser.lines[1].text, "last");
}

TEST(ReadDieFile, CrLfAndEmptyLinesGiveTheSameViewsAsLf) {
    const std::vector<std::string> expected = {"<1><2d>: Abbrev Number: 5", "  x", "y"};
    EXPECT_EQ(ReadLines("<1><2d>: Abbrev Number: 5\n  x\ny\n"), expected);
    EXPECT_EQ(ReadLines("<1><2d>: Abbrev Number: 5\r\n  x\r\n\r\n\r\ny\r\n"), expected);
    EXPECT_EQ(ReadLines("\n\n<1><2d>: Abbrev Number: 5\n\n  x\ny"), expected);
}

TEST(ReadDieFile, PiecesOfALargeFileEndAtLineEnds) {
    std::string content;
    for (int i = 0; content.size() < 3000000; ++i) {
        content += "    <" + std::to_string(i) + ">   DW_AT_name        : symbol_" +
                   std::string(static_cast<size_t>(i % 97), 'n') + "\n";
    }
    content.resize(3000000);  // the last line has no line end
    size_t pieces = 0;
    EXPECT_EQ(ReadLines(content, &pieces), SplitWhole(content));
    EXPECT_GE(pieces, 3u);
    EXPECT_LE(pieces, 4u);
}

TEST(ReadDieFile, NulEndsTheUsableTextOfItsPiece) {
    const std::string content("alpha\nbe\0ta\ngamma\n", 18);
    EXPECT_EQ(ReadLines(content), (std::vector<std::string>{"alpha", "be"}));

    // A NUL in the first piece hides the rest of that piece only.
    std::string large = "head\n";
    large += std::string("hidden\0", 7);
    while (large.size() < kDiePieceSize + 100) large += "filler line\n";
    large += "tail\n";
    const std::vector<std::string> lines = ReadLines(large);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[0], "head");
    EXPECT_EQ(lines[1], "hidden");
    EXPECT_EQ(lines.back(), "tail");
    EXPECT_LT(lines.size(), 100u);
}

TEST(ReadDieFile, LineLongerThanAPieceEnds) {
    const std::string longLine(kDiePieceSize + kDiePieceSize / 2, 'x');
    const std::vector<std::string> lines = ReadLines(longLine + "\nshort\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size() + lines[1].size(), longLine.size());
    EXPECT_EQ(lines[2], "short");

    // A file without any line end at all.
    const std::vector<std::string> only = ReadLines(std::string(2 * kDiePieceSize + 5, 'y'));
    size_t total = 0;
    for (const std::string& line : only) total += line.size();
    EXPECT_EQ(total, 2 * kDiePieceSize + 5);
}

TEST(ReadDieFile, CrOnlyLineEndsAreNotSplitAcrossPieces) {
    std::string content;
    for (int i = 0; content.size() < 2 * kDiePieceSize + 1000; ++i) {
        content += "line number " + std::to_string(i) + "\r";
    }
    EXPECT_EQ(ReadLines(content), SplitWhole(content));
}

TEST(ReadDieFile, MissingFileReadsNothing) {
    VirloParserDwarf parser;
    parser.ReadDieFile("/nonexistent/folder/ecu.die");
    EXPECT_TRUE(parser.chunks.empty());
    EXPECT_TRUE(parser.lines.empty());
}

TEST(SplitDieBlocks, GroupsHeaderAndAttributeLinesUntilTheNextStartOrEnd) {
    TempDieFile file(
        "0000000000004008 D counter\n"
        "  Compilation Unit @ offset 0:\n"
        " <0><c>: Abbrev Number: 11 (DW_TAG_compile_unit)\n"
        "    <d>   DW_AT_name        : a.c\n"
        " <1><2e>: Abbrev Number: 1 (DW_TAG_base_type)\n"
        "    <2f>   DW_AT_byte_size   : 4\n"
        " <1><0x35>: Abbrev Number: 12 (DW_TAG_variable)\n"
        " <2><40>: Abbrev Number: 0\n"
        "    <41>   outside any block\n"
        " <1><42>: Abbrev Number:  3 (DW_TAG_variable)\n"
        " <1><50>: Abbrev Number: 7 (DW_TAG_variable)\n"
        "    <51>   DW_AT_name        : unfinished\n");
    VirloParserDwarf parser;
    parser.ReadDieFile(file.path());
    const std::vector<DieBlock> blocks = parser.SplitDieBlocks();
    ASSERT_EQ(blocks.size(), 3u);
    ASSERT_EQ(blocks[0].size(), 2u);
    EXPECT_STREQ(blocks[0][0].text, " <0><c>: Abbrev Number: 11 (DW_TAG_compile_unit)");
    EXPECT_STREQ(blocks[0][1].text, "    <d>   DW_AT_name        : a.c");
    EXPECT_EQ(blocks[1].size(), 2u);
    // The end line closes the variable's block and belongs to none; the
    // line with two blanks after the colon starts nothing; the last block
    // never ends and is dropped.
    ASSERT_EQ(blocks[2].size(), 1u);
    EXPECT_STREQ(blocks[2][0].text, " <1><0x35>: Abbrev Number: 12 (DW_TAG_variable)");
}

TEST(DieLinePattern, PatternThatDoesNotCompileIsReportedAndMatchesNothing) {
    testing::internal::CaptureStdout();
    DieLinePattern broken("(unclosed");
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(broken.compiled());
    EXPECT_EQ(output.rfind("PCRE2 compilation failed at offset 9: ", 0), 0u) << output;
    EXPECT_FALSE(broken.Match("(unclosed", 9));
    EXPECT_EQ(broken.Group(1), "");
}

TEST(DieLinePattern, GroupsAreReadByNumber) {
    DieLinePattern header(kDieHeaderPattern);
    const char line[] = " <1><2d>: Abbrev Number: 5 (DW_TAG_variable)";
    ASSERT_TRUE(header.Match(line, sizeof(line) - 1));
    EXPECT_EQ(header.Group(1), "1");
    EXPECT_EQ(header.Group(2), "2d");
    EXPECT_EQ(header.Group(3), "DW_TAG_variable");
    EXPECT_EQ(header.Group(4), "");
}

}  // namespace
