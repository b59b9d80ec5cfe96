#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "ResourcesFile.h"

namespace {

using Entries = std::vector<std::pair<std::string, int>>;

Entries ReadSection(const std::string& text, const std::string& section) {
    std::istringstream in(text);
    Entries entries;
    ReadSectionEntries(in, section, [&](std::string& entry, int32_t line) {
        entries.emplace_back(entry, line);
        return true;
    });
    return entries;
}

}  // namespace

TEST(ResourcesFile, EntriesKeepTheirBlanksAndCountLinesFromZero) {
    const std::string text = "vEcuDll\n    ecu.so\nfmiVariables\n    a\n    \n    b  \n";
    EXPECT_EQ(ReadSection(text, "fmiVariables"),
              (Entries{{"a", 3}, {"", 4}, {"b  ", 5}}));
}

TEST(ResourcesFile, SectionEndsAtTheFirstLineThatIsNoEntry) {
    EXPECT_EQ(ReadSection("fmiVariables\n    a\n\n    b\n", "fmiVariables"), (Entries{{"a", 1}}));
    EXPECT_EQ(ReadSection("fmiVariables\n    a\n\tb\n", "fmiVariables"), (Entries{{"a", 1}}));
    EXPECT_EQ(ReadSection("fmiVariables\n    a\n   b\n", "fmiVariables"), (Entries{{"a", 1}}));
    EXPECT_EQ(ReadSection("fmiVariables\n    a\nTasks\n    t\n", "fmiVariables"), (Entries{{"a", 1}}));
}

TEST(ResourcesFile, HeaderMustMatchWholeLineAndOnlyTheFirstOccurrenceCounts) {
    EXPECT_TRUE(ReadSection("fmiVariables \n    a\n", "fmiVariables").empty());
    EXPECT_TRUE(ReadSection("FmiVariables\n    a\n", "fmiVariables").empty());
    EXPECT_EQ(ReadSection("fmiVariables\n    a\nfmiVariables\n    b\n", "fmiVariables"),
              (Entries{{"a", 1}}));
}

TEST(ResourcesFile, CrLfLinesReadLikeLfLines) {
    EXPECT_EQ(ReadSection("fmiVariables\r\n    a\r\n    b\r\n", "fmiVariables"),
              (Entries{{"a", 1}, {"b", 2}}));
}

TEST(ResourcesFile, HandlerCanStopTheSection) {
    std::istringstream in("s\n    a\n    b\n");
    int seen = 0;
    ReadSectionEntries(in, "s", [&](std::string&, int32_t) { return ++seen < 1; });
    EXPECT_EQ(seen, 1);
}

TEST(ResourcesFile, ClassifyCountsOnlyWhileSearching) {
    bool searching = true;
    int32_t counter = 0;
    EXPECT_EQ(ClassifySectionLine("s", searching, "x", counter), SectionLine_Skip);
    EXPECT_EQ(ClassifySectionLine("s", searching, "s", counter), SectionLine_Skip);
    EXPECT_FALSE(searching);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(ClassifySectionLine("s", searching, "    e", counter), SectionLine_Entry);
    EXPECT_EQ(ClassifySectionLine("s", searching, "  e", counter), SectionLine_End);
    EXPECT_EQ(counter, 2);
}
