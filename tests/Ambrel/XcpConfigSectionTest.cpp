#include <gtest/gtest.h>

#include "FmiInternalState.h"
#include "FmuHarness.h"
#include "XcpConfigSection.h"

namespace {

using Lines = std::vector<std::string>;

// Six entries (the header on line 2, so the entries on lines 3 to 8) and a
// seventh, with the fourth and sixth given.
std::string XcpConfig(const std::string& fourth, const std::string& sixth) {
    return "vEcuDll\n    ecu.so\nXcpConfig\n    XCP_ON_TCP\n    port 5555\n    intel\n    " + fourth +
           "\n    timeout 25\n    " + sixth + "\n    seed none\nfmiVariables\n    x\n";
}

struct XcpConfigSectionTest : ::testing::Test {
    harness::MessageLog log;
    harness::ResourceFolder folder;
    FmiInternalState instance;

    XcpConfigSectionTest() {
        instance.instanceName = "ecu";
        instance.callbackFunctions = log.callbacks();
    }

    int32_t Read(const std::string& content) {
        folder.Write("resources.txt", content);
        return ReadXcpConfigSection(instance, folder.path(), "ecu");
    }

    void ExpectOneError(const std::string& text) {
        ASSERT_EQ(log.messages().size(), 1u) << log.text();
        EXPECT_EQ(log.messages()[0].message, text);
        EXPECT_EQ(log.messages()[0].status, fmi2Error);
        EXPECT_EQ(log.messages()[0].category, "error");
    }
};

}  // namespace

TEST_F(XcpConfigSectionTest, DynamicDaqNeedsNoDaqList) {
    EXPECT_EQ(Read(XcpConfig("1", "")), 0);
    EXPECT_EQ(instance.xcpConfigLines,
              (Lines{"XCP_ON_TCP", "port 5555", "intel", "1", "timeout 25", "", "seed none"}));
    EXPECT_TRUE(log.messages().empty()) << log.text();
}

TEST_F(XcpConfigSectionTest, StaticDaqNeedsItsDaqList) {
    EXPECT_EQ(Read(XcpConfig("0", "")), 1);
    ExpectOneError(
        "'resources/resources.txt' line 8 is empty! Xcp DAQ_LIST configuration expected for STATIC "
        "DAQ configuration.");
}

TEST_F(XcpConfigSectionTest, AnyOtherEmptyEntryFailsWhateverTheDaqMode) {
    EXPECT_EQ(Read("XcpConfig\n    XCP_ON_TCP\n    \n    intel\n    1\n"), 1);
    ExpectOneError("'resources/resources.txt' line 2 is empty! Xcp configuration data expected.");

    // An empty fourth entry is not dynamic DAQ either.
    log.clear();
    EXPECT_EQ(Read(XcpConfig("", "")), 1);
    ExpectOneError("'resources/resources.txt' line 6 is empty! Xcp configuration data expected.");
}
