#include <gtest/gtest.h>

#include "FmuHarness.h"
#include "InstantiateArguments.h"

namespace {

struct InstantiateArgumentsTest : ::testing::Test {
    harness::MessageLog log;
    const fmi2CallbackFunctions& master = *log.callbacks();
    const fmi2CallbackFunctions functions = *log.callbacks();

    // The master's record with some callbacks taken away.
    fmi2CallbackFunctions Without(bool logger, bool allocate, bool release) const {
        return {logger ? nullptr : master.logger, allocate ? nullptr : master.allocateMemory,
                release ? nullptr : master.freeMemory, nullptr, master.componentEnvironment};
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const harness::LoggedMessage& message : log.messages()) {
            EXPECT_EQ(message.status, fmi2Error);
            EXPECT_EQ(message.category, "error");
            texts.push_back(message.message);
        }
        return texts;
    }
};

using Texts = std::vector<std::string>;

}  // namespace

TEST_F(InstantiateArgumentsTest, CompleteArgumentsPass) {
    EXPECT_EQ(CheckInstantiateArguments(&functions, fmi2CoSimulation, "ecu", "{guid}"),
              InstantiateCheck_ok);
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(InstantiateArgumentsTest, WithoutLoggerNothingCanBeSaid) {
    const fmi2CallbackFunctions noLogger = Without(true, false, false);
    EXPECT_EQ(CheckInstantiateArguments(&noLogger, fmi2ModelExchange, nullptr, nullptr),
              InstantiateCheck_noLogger);
    EXPECT_EQ(CheckInstantiateArguments(nullptr, fmi2CoSimulation, "ecu", "{guid}"),
              InstantiateCheck_noLogger);
    EXPECT_TRUE(log.messages().empty());
}

TEST_F(InstantiateArgumentsTest, AnotherFmuTypeFailsAfterItsMessage) {
    EXPECT_EQ(CheckInstantiateArguments(&functions, fmi2ModelExchange, "ecu", "{guid}"),
              InstantiateCheck_notCoSimulation);
    EXPECT_EQ(Messages(),
              Texts{"fmi2Instantiate: Only FMU-type Co-Simulation is supported. Type = 0."});
}

TEST_F(InstantiateArgumentsTest, MissingMemoryCallbacksFail) {
    const fmi2CallbackFunctions noFree = Without(false, false, true);
    EXPECT_EQ(CheckInstantiateArguments(&noFree, fmi2CoSimulation, "ecu", "{guid}"),
              InstantiateCheck_missingCallback);
    const fmi2CallbackFunctions noAllocate = Without(false, true, false);
    EXPECT_EQ(CheckInstantiateArguments(&noAllocate, fmi2CoSimulation, "ecu", "{guid}"),
              InstantiateCheck_missingCallback);
    EXPECT_EQ(Messages(), (Texts{"fmi2Instantiate: Missing callback function.",
                                 "fmi2Instantiate: Missing callback function."}));
}

TEST_F(InstantiateArgumentsTest, MissingNameOrGuidFailAfterTheTypeNote) {
    EXPECT_EQ(CheckInstantiateArguments(&functions, fmi2ModelExchange, "", "{guid}"),
              InstantiateCheck_missingInstanceName);
    EXPECT_EQ(log.messages().back().instanceName, "");
    EXPECT_EQ(CheckInstantiateArguments(&functions, fmi2CoSimulation, nullptr, "{guid}"),
              InstantiateCheck_missingInstanceName);
    EXPECT_EQ(CheckInstantiateArguments(&functions, fmi2CoSimulation, "ecu", ""),
              InstantiateCheck_missingGuid);
    EXPECT_EQ(CheckInstantiateArguments(&functions, fmi2CoSimulation, "ecu", nullptr),
              InstantiateCheck_missingGuid);
    EXPECT_EQ(Messages(), (Texts{
                              "fmi2Instantiate: Only FMU-type Co-Simulation is supported. Type = 0.",
                              "fmi2Instantiate: Missing instance name",
                              "fmi2Instantiate: Missing instance name",
                              "fmi2Instantiate: Missing guid",
                              "fmi2Instantiate: Missing guid",
                          }));
}
