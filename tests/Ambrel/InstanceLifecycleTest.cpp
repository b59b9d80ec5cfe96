#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "FmuHarness.h"
#include "InstanceLifecycle.h"
#include "InstanceSettings.h"
#include "UnsupportedFunctions.h"
#include "VariableExchange.h"
#include "VirloBinding.h"

namespace {

struct InstanceLifecycleTest : ::testing::Test {
    harness::MessageLog log;
    harness::ResourceFolder folder;

    InstanceLifecycleTest() { folder.Write("resources.txt", "fmiVariables\n"); }
    ~InstanceLifecycleTest() override { currentInstance = nullptr; }

    FmiInternalState* Instantiate(fmi2Boolean loggingOn = fmi2True) {
        return ::Instantiate("ecu", fmi2CoSimulation, "{guid}", folder.uri().c_str(), log.callbacks(),
                             loggingOn);
    }
};

}  // namespace

TEST_F(InstanceLifecycleTest, InstantiationMakesTheCurrentInstanceAndFreeingForgetsIt) {
    FmiInternalState* instance = Instantiate();
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(currentInstance, instance);
    EXPECT_EQ(instance->resourceDirectory, folder.path());
    EXPECT_STREQ(std::getenv("QUORVEL_FMURESOURCES"), folder.path().c_str());
    EXPECT_EQ(instance->currentTime, 0.0);
    EXPECT_EQ(instance->stepSize, 0.0);
    EXPECT_NE(instance->pluginCallbacks, nullptr);
    EXPECT_TRUE(log.contains("fmi2InstantiateSlave: GUID = {guid}"));

    FreeInstance(instance);
    EXPECT_EQ(currentInstance, nullptr);
    EXPECT_EQ(log.messages().back().message, "fmi2FreeInstance");
    FreeInstance(nullptr);
}

TEST_F(InstanceLifecycleTest, TheLoggingFlagGatesOnlyTheFunctionsOkNotes) {
    FmiInternalState* instance = Instantiate(fmi2False);
    ASSERT_NE(instance, nullptr);
    log.clear();
    EXPECT_EQ(SetupExperiment(*instance, fmi2True, 1e-4, 0.5), fmi2OK);
    EXPECT_EQ(ReportUnsupported(*instance, "fmi2CancelStep not supported"), fmi2Error);
    EXPECT_EQ(DoStep(*instance, 0.5, 0.0), fmi2Error);

    EXPECT_EQ(SetDebugLogging(*instance, fmi2True), fmi2OK);
    EXPECT_EQ(SetupExperiment(*instance, fmi2True, 1e-4, 0.5), fmi2OK);
    EXPECT_EQ(ReportUnsupportedStatus(*instance, "fmi2GetRealStatus", fmi2LastSuccessfulTime),
              fmi2Error);
    EXPECT_EQ(SetDebugLogging(*instance, fmi2False), fmi2OK);
    EXPECT_EQ(DoStep(*instance, 0.5, -1.0), fmi2Error);
    FreeInstance(instance);

    std::vector<std::string> texts;
    for (const harness::LoggedMessage& message : log.messages()) texts.push_back(message.message);
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "fmi2CancelStep not supported",
                         "fmi2DoStep communicationStepSize must be > 0",
                         "fmi2SetDebugLogging: doLogging = 1",
                         "fmi2SetupExperiment: startTime = 0.5 toleranceDefined=1 tolerance=0.0001",
                         "fmi2GetRealStatus: fmi2StatusKind = 2",
                         "fmi2SetDebugLogging: doLogging = 0",
                         "fmi2DoStep communicationStepSize must be > 0",
                     }));
}

TEST_F(InstanceLifecycleTest, OnlyFiniteForwardStepsAreTaken) {
    FmiInternalState* instance = Instantiate();
    ASSERT_NE(instance, nullptr);
    const double inf = std::numeric_limits<double>::infinity();
    for (double step : {0.0, -0.0, -1.0, std::nan(""), inf})
        EXPECT_EQ(DoStep(*instance, 0.0, step), fmi2Error) << step;
    EXPECT_EQ(DoStep(*instance, inf, 1e-3), fmi2Error);
    EXPECT_EQ(instance->stepSize, 0.0);
    EXPECT_EQ(log.count("fmi2DoStep communicationStepSize must be > 0"), 4);

    ASSERT_EQ(SetupExperiment(*instance, fmi2False, 0.0, 0.25), fmi2OK);
    EXPECT_EQ(DoStep(*instance, 0.25, 1e-3), fmi2OK);
    EXPECT_EQ(instance->currentTime, 0.25);
    EXPECT_EQ(instance->stepSize, 1e-3);
    FreeInstance(instance);
}

TEST_F(InstanceLifecycleTest, AfterTerminateVariablesSettingsResetAndReleaseAct) {
    FmiInternalState* instance = Instantiate();
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(EnterInitializationMode(*instance), fmi2OK);
    EXPECT_EQ(ExitInitializationMode(*instance), fmi2OK);
    EXPECT_EQ(DoStep(*instance, 0.0, 0.01), fmi2OK);
    EXPECT_EQ(Terminate(*instance), fmi2OK);
    EXPECT_EQ(virloModule, nullptr);

    const fmi2ValueReference vr[] = {1};
    fmi2Real value = 1.0;
    EXPECT_EQ(GetReal(*instance, vr, 0, &value), fmi2OK);
    EXPECT_EQ(SetDebugLogging(*instance, fmi2False), fmi2OK);
    // A reset brings the instance back as fmi2Instantiate left it.
    EXPECT_EQ(Reset(*instance), fmi2OK);
    EXPECT_EQ(currentInstance, instance);
    EXPECT_EQ(instance->state, CoSimulationState::instantiated);
    EXPECT_TRUE(instance->loggingOn);
    FreeInstance(instance);
    EXPECT_EQ(currentInstance, nullptr);
}

TEST_F(InstanceLifecycleTest, MissingCallbacksOrLocationGiveNullWithoutCrashing) {
    EXPECT_EQ(::Instantiate("ecu", fmi2CoSimulation, "{guid}", folder.uri().c_str(), nullptr, 1),
              nullptr);
    EXPECT_EQ(::Instantiate("ecu", fmi2CoSimulation, "{guid}", nullptr, log.callbacks(), 1), nullptr);
    EXPECT_TRUE(log.contains("fmi2Instantiate: Missing resource location."));
    EXPECT_EQ(::Instantiate("ecu", fmi2CoSimulation, "", folder.uri().c_str(), log.callbacks(), 1),
              nullptr);
    EXPECT_EQ(currentInstance, nullptr);
}

TEST_F(InstanceLifecycleTest, OneInstanceLivesAtATimeAndAFailedOneLeavesNoneBehind) {
    FmiInternalState* previous = Instantiate();
    ASSERT_NE(previous, nullptr);
    EXPECT_EQ(Instantiate(), nullptr);
    EXPECT_EQ(currentInstance, previous);
    EXPECT_EQ(log.messages().back().status, fmi2Error);
    FreeInstance(previous);

    // An array has no accessor, so the accessors cannot all be made.
    folder.Write("resources.txt", "fmiVariables\n    0x1000 0 13 0 0\n");
    EXPECT_EQ(Instantiate(), nullptr);
    EXPECT_EQ(currentInstance, nullptr);
    EXPECT_EQ(log.count("fmi2InstantiateSlave: GUID = {guid}"), 1);

    folder.Write("resources.txt", "fmiVariables\n");
    FmiInternalState* next = Instantiate();
    EXPECT_NE(next, nullptr);
    FreeInstance(next);
}

TEST_F(InstanceLifecycleTest, AFailingSectionReaderFailsInstantiation) {
    std::string tasks = "Tasks\n    0x10 160 0.01 0 1 -1\n";
    for (int input = 0; input < 17; ++input) tasks += "            0x20\n";
    folder.Write("resources.txt", tasks);
    EXPECT_EQ(Instantiate(), nullptr);
    EXPECT_EQ(currentInstance, nullptr);
    EXPECT_FALSE(log.contains("fmi2InstantiateSlave: GUID = {guid}"));
}

TEST_F(InstanceLifecycleTest, ANamedVecuLibraryThatCannotBeLoadedFailsInstantiation) {
    folder.Write("resources.txt", "vEcuDll\n    missing.so\n");
    EXPECT_EQ(Instantiate(), nullptr);
    EXPECT_EQ(currentInstance, nullptr);
    ASSERT_FALSE(log.messages().empty());
    const harness::LoggedMessage& message = log.messages().back();
    EXPECT_EQ(message.status, fmi2Error);
    EXPECT_EQ(message.message.rfind("Cannot load vECU library '" + folder.path() + "missing.so': ", 0),
              0u)
        << message.message;
}

TEST_F(InstanceLifecycleTest, NamesHoldingPercentSignsReachTheMasterUnformatted) {
    FmiInternalState* instance = ::Instantiate("ecu%s%n", fmi2CoSimulation, "{%s%d%n}",
                                               folder.uri().c_str(), log.callbacks(), fmi2True);
    ASSERT_NE(instance, nullptr);
    EXPECT_TRUE(log.contains("fmi2InstantiateSlave: GUID = {%s%d%n}"));
    EXPECT_EQ(log.messages().back().instanceName, "ecu%s%n");
    FreeInstance(instance);
}
