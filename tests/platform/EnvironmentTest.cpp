#include <gtest/gtest.h>

#include <string>

#include "platform/Environment.h"

using platform::GetEnvironment;
using platform::PutEnvironment;

TEST(Environment, SettingWithValueSetsAndEmptyValueRemoves) {
    ASSERT_EQ(PutEnvironment("PLATFORM_TEST_VAR=some value=with equals"), 0);
    ASSERT_NE(GetEnvironment("PLATFORM_TEST_VAR"), nullptr);
    EXPECT_EQ(std::string(GetEnvironment("PLATFORM_TEST_VAR")), "some value=with equals");

    ASSERT_EQ(PutEnvironment("PLATFORM_TEST_VAR="), 0);
    EXPECT_EQ(GetEnvironment("PLATFORM_TEST_VAR"), nullptr);
}

TEST(Environment, MalformedSettingsAreRefused) {
    EXPECT_EQ(PutEnvironment("NO_EQUALS_SIGN"), -1);
    EXPECT_EQ(PutEnvironment("=value"), -1);
    EXPECT_EQ(PutEnvironment(""), -1);
    EXPECT_EQ(GetEnvironment(nullptr), nullptr);
}
