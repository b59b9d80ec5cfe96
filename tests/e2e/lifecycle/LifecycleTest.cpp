#include <gtest/gtest.h>

#include "LifecycleFixture.h"

namespace {

struct LifecycleTest : LifecycleFixture {};

}  // namespace

TEST_F(LifecycleTest, AMasterRunsTheVecuThroughTheFmiFunctions) {
    ASSERT_TRUE(fmu.loaded());
    LayOut();
    fmi2Component c = Instantiate(folder.uri());
    ASSERT_NE(c, nullptr);
    // The vECU's start-up saw the resource folder and the configured setting.
    EXPECT_EQ(folder.Read("vecu-started.txt"), folder.path() + "\n" + folder.path() + "data\n");
    EXPECT_TRUE(log.contains("fmi2InstantiateSlave: GUID = {lifecycle}"));

    ASSERT_EQ(fmu.fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
    EXPECT_EQ(Integer(c, 4), 1);
    const fmi2ValueReference speed[] = {1};
    const fmi2Real start[] = {20.0};
    ASSERT_EQ(fmu.fmi2SetReal(c, speed, 1, start), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);
    for (int step = 0; step < 10; ++step) ASSERT_EQ(fmu.fmi2DoStep(c, step * 0.01, 0.01, fmi2True), fmi2OK);

    const fmi2ValueReference all[] = {1, 2, 3};
    fmi2Real reals[3] = {};
    fmi2Integer integers[3] = {};
    fmi2Boolean booleans[3] = {};
    ASSERT_EQ(fmu.fmi2GetReal(c, all, 3, reals), fmi2OK);
    ASSERT_EQ(fmu.fmi2GetInteger(c, all, 3, integers), fmi2OK);
    ASSERT_EQ(fmu.fmi2GetBoolean(c, all, 3, booleans), fmi2OK);
    // Activations at 0, 0.01, ... 0.1: a step runs what is due up to its end.
    EXPECT_EQ(reals[0], 25.5);
    EXPECT_EQ(integers[1], 11);
    EXPECT_EQ(booleans[2], fmi2True);

    EXPECT_EQ(Integer(c, 5), 0);
    ASSERT_EQ(fmu.fmi2Terminate(c), fmi2OK);
    EXPECT_EQ(Integer(c, 5), 1);
    // Final values can still be read; the schedule no longer runs.
    EXPECT_EQ(fmu.fmi2DoStep(c, 0.1, 0.01, fmi2True), fmi2Error);
    EXPECT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2Error);
    EXPECT_EQ(fmu.fmi2Terminate(c), fmi2Error);
    EXPECT_EQ(Integer(c, 2), 11);
    EXPECT_EQ(Integer(c, 4), 1);
    EXPECT_EQ(Integer(c, 5), 1);
    EXPECT_FALSE(folder.Exists("vecu-stopped.txt"));
    fmu.fmi2FreeInstance(c);
    EXPECT_TRUE(folder.Exists("vecu-stopped.txt"));
    EXPECT_EQ(log.messages().back().message, "fmi2FreeInstance");
}

TEST_F(LifecycleTest, EscapedUrisOfRealMastersReachTheFolder) {
    LayOut("my fmu/");
    fmi2Component c = Instantiate(folder.uri() + "my%20fmu");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(folder.Read("my fmu/vecu-started.txt"),
              folder.path() + "my fmu/\n" + folder.path() + "my fmu/data\n");
    fmu.fmi2FreeInstance(c);
}

TEST_F(LifecycleTest, AFailedInstantiationUnloadsTheVecu) {
    folder.Copy(LIFECYCLE_VECU, "ecu.so");
    // An array variable has no accessor: instantiation fails after the
    // vECU was loaded.
    folder.Write("resources.txt", "vEcuDll\n    ecu.so\nfmiVariables\n    0x1000 0 13 0 0\n");
    EXPECT_EQ(Instantiate(folder.uri()), nullptr);
    EXPECT_TRUE(folder.Exists("vecu-started.txt"));
    EXPECT_TRUE(folder.Exists("vecu-stopped.txt"));
}

TEST_F(LifecycleTest, FreeingWithoutTerminateReleasesEverything) {
    LayOut();
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);
    ASSERT_EQ(fmu.fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
    fmu.fmi2FreeInstance(c);
    EXPECT_TRUE(folder.Exists("vecu-stopped.txt"));
}

TEST_F(LifecycleTest, BrokenArgumentsGiveNullAndNoCrash) {
    LayOut();
    EXPECT_EQ(fmu.fmi2Instantiate("ecu", fmi2CoSimulation, "{g}", folder.uri().c_str(), nullptr,
                                  fmi2False, fmi2True),
              nullptr);
    EXPECT_EQ(fmu.fmi2Instantiate("ecu", fmi2CoSimulation, "{g}", nullptr, log.callbacks(),
                                  fmi2False, fmi2True),
              nullptr);
    EXPECT_EQ(fmu.fmi2Instantiate("ecu", fmi2CoSimulation, nullptr, folder.uri().c_str(),
                                  log.callbacks(), fmi2False, fmi2True),
              nullptr);
    EXPECT_TRUE(log.contains("fmi2Instantiate: Missing resource location."));
    EXPECT_TRUE(log.contains("fmi2Instantiate: Missing guid"));
    EXPECT_FALSE(folder.Exists("vecu-started.txt"));
}
