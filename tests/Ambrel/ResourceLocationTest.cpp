#include <gtest/gtest.h>

#include "ResourceLocation.h"

TEST(ResourceLocation, FileUrisBecomeFoldersEndingInASlash) {
    EXPECT_EQ(ResourceLocationToPath("file:///tmp/fmu/resources"), "/tmp/fmu/resources/");
    EXPECT_EQ(ResourceLocationToPath("file:/tmp/x/"), "/tmp/x/");
    EXPECT_EQ(ResourceLocationToPath("file://localhost/tmp/x"), "/tmp/x/");
    EXPECT_EQ(ResourceLocationToPath("FILE:///tmp/x"), "/tmp/x/");
    EXPECT_EQ(ResourceLocationToPath("file:///"), "/");
}

TEST(ResourceLocation, EscapesOfUrisAreDecodedButPlainPathsStayAsTheyAre) {
    EXPECT_EQ(ResourceLocationToPath("file:///tmp/my%20fmu/res%25"), "/tmp/my fmu/res%/");
    EXPECT_EQ(ResourceLocationToPath("file:///tmp/bad%2/x%zz"), "/tmp/bad%2/x%zz/");
    EXPECT_EQ(ResourceLocationToPath("/tmp/my%20fmu"), "/tmp/my%20fmu/");
}

TEST(ResourceLocation, OnlyALeadingSchemeIsRemoved) {
    EXPECT_EQ(ResourceLocationToPath("/data/file:///x"), "/data/file:///x/");
    EXPECT_EQ(ResourceLocationToPath("relative/resources"), "relative/resources/");
}

TEST(ResourceLocation, AnotherHostStaysInThePath) {
    EXPECT_EQ(ResourceLocationToPath("file://server/share"), "//server/share/");
}

TEST(ResourceLocation, EmptyStaysEmptyAndSeparatorsStaySlashes) {
    EXPECT_EQ(ResourceLocationToPath(""), "");
    EXPECT_EQ(ResourceLocationToPath("/tmp/a\\b"), "/tmp/a\\b/");
}

TEST(ResourceLocation, OnlyFoldersOfThisMachineAreLocal) {
    for (const char* local : {"file:///tmp/x", "file://localhost/tmp/x", "FILE://LocalHost/tmp",
                              "file:/tmp/x", "/tmp/x", "relative/x", "/data/http://x", ""})
        EXPECT_TRUE(IsLocalResourceLocation(local)) << local;
    for (const char* remote : {"http://host/x", "https:///tmp/x", "ftp://h/x", "svn+ssh://h/x",
                               "file://server/share", "file:///tmp/a%00b", "file:///tmp/x%00"})
        EXPECT_FALSE(IsLocalResourceLocation(remote)) << remote;
}
