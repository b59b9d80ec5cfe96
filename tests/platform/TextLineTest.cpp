#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "platform/TextLine.h"

TEST(TextLine, CrLfAndLfReadAlike) {
    std::istringstream in("first\r\nsecond\nthird\r\n\r\nlast");
    std::string line;
    std::vector<std::string> lines;
    while (platform::GetTextLine(in, line)) lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"first", "second", "third", "", "last"}));
}

TEST(TextLine, OnlyTheCarriageReturnBeforeTheLineFeedIsDropped) {
    std::istringstream in("a\rb\r\r\n");
    std::string line;
    ASSERT_TRUE(platform::GetTextLine(in, line));
    EXPECT_EQ(line, "a\rb\r");
}
