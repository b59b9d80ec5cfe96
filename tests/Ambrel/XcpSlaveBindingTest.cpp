#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>

#include "FmiInternalState.h"
#include "FmuHarness.h"
#include "PellanBinding.h"
#include "PellanRecord.h"
#include "XcpSlaveBinding.h"

namespace {

// Messages the slave sends; it passes no component environment, so they
// are kept here rather than by a master's log.
std::vector<std::string> slaveMessages;

void SlaveLogger(fmi2ComponentEnvironment, fmi2String, fmi2Status, fmi2String, fmi2String message, ...) {
    char text[1024];
    va_list arguments;
    va_start(arguments, message);
    std::vsnprintf(text, sizeof text, message, arguments);
    va_end(arguments);
    slaveMessages.push_back(text);
}

struct XcpSlaveBindingTest : ::testing::Test {
    harness::MessageLog log;
    harness::ResourceFolder folder;
    FmiInternalState instance;

    XcpSlaveBindingTest() {
        instance.instanceName = "ecu";
        instance.callbackFunctions = log.callbacks();
        slaveMessages.clear();
    }
    ~XcpSlaveBindingTest() override { StopPellan(); }

    void Start() { StartPellan(instance, folder.path(), &SlaveLogger); }
    std::string Calls() const { return harness::PellanCallSequence(folder.Read(harness::kPellanRecordName)); }
};

}  // namespace

TEST_F(XcpSlaveBindingTest, WithoutTheLibraryEveryStepIsSkippedSilently) {
    Start();
    EXPECT_EQ(pellanModule, nullptr);
    AdvancePellan(0.0, 0.01);
    StopPellan();
    EXPECT_TRUE(log.messages().empty()) << log.text();
    EXPECT_TRUE(slaveMessages.empty());
}

TEST_F(XcpSlaveBindingTest, AMissingExportSkipsOnlyItsCalls) {
    folder.Copy(STANDIN_PELLAN_WITHOUT_STEP, "Pellan.so");
    Start();
    ASSERT_NE(pellanModule, nullptr);
    EXPECT_EQ(pellanEntryPoints.StepPellan, nullptr);
    AdvancePellan(0.0, 0.01);
    StopPellan();
    StopPellan();  // finds the slave unbound
    EXPECT_EQ(Calls(), "InitPellan TerminatePellan");
    EXPECT_EQ(pellanModule, nullptr);
    EXPECT_EQ(slaveMessages, (std::vector<std::string>{"Pellan: 0 memory ranges, 0 configuration lines"}));
}

TEST_F(XcpSlaveBindingTest, StartingAgainFirstStopsTheRunningSlave) {
    folder.Copy(STANDIN_PELLAN, "Pellan.so");
    Start();
    Start();
    AdvancePellan(0.0, 0.01);
    StopPellan();
    EXPECT_EQ(Calls(), "InitPellan TerminatePellan InitPellan StepPellan TerminatePellan");
}
