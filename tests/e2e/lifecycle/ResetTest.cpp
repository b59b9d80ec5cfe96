// fmi2Reset as masters use it for parameter sweeps: the same component runs
// again from the state fmi2Instantiate left, with the vECU's globals fresh.

#include <dlfcn.h>

#include <cstdio>

#include "LifecycleFixture.h"

namespace {

struct ResetTest : LifecycleFixture {};

}  // namespace

TEST_F(ResetTest, ARunAfterResetRepeatsTheFirstOneStepByStep) {
    LayOut();
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    const StepOutputs first = Run(c, 0.0, 10);
    // Activations at 0, 0.01, ... 0.1; one enter-init run.
    ASSERT_EQ(first.back(), std::make_tuple(25.5, 11, 1));

    // From the middle of a run: the terminate task still runs in the old
    // image, then the vECU, the schedule and the time start afresh.
    ASSERT_EQ(fmu.fmi2DoStep(c, 0.1, 0.01, fmi2True), fmi2OK);
    ASSERT_EQ(fmu.fmi2Reset(c), fmi2OK);
    EXPECT_EQ(folder.Read("vecu-stopped.txt"), "terminate runs: 1\n");
    EXPECT_EQ(Real(c, kVehicleSpeed), 12.5);
    EXPECT_EQ(Integer(c, kStepCount), 0);
    EXPECT_EQ(Integer(c, kInitCount), 0);
    EXPECT_EQ(Run(c, 0.0, 10), first);

    // After fmi2Terminate the reset runs the terminate task once more.
    ASSERT_EQ(fmu.fmi2Terminate(c), fmi2OK);
    ASSERT_EQ(fmu.fmi2Reset(c), fmi2OK);
    EXPECT_EQ(folder.Read("vecu-stopped.txt"), "terminate runs: 2\n");
    EXPECT_EQ(Run(c, 0.0, 10), first);
    ASSERT_EQ(fmu.fmi2Terminate(c), fmi2OK);
    fmu.fmi2FreeInstance(c);
    for (const harness::LoggedMessage& message : log.messages())
        EXPECT_NE(message.status, fmi2Error) << message.message;
}

TEST_F(ResetTest, AResetThatCannotStartAfreshFailsAndLeavesOnlyFreeInstance) {
    LayOut();
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    // Another reference keeps the vECU library, and so its globals, alive.
    void* held = dlopen((folder.path() + "ecu.so").c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(held, nullptr);
    log.clear();
    EXPECT_EQ(fmu.fmi2Reset(c), fmi2Error);
    EXPECT_EQ(log.text(), "fmi2Reset: The vECU library '" + folder.path() +
                              "ecu.so' cannot be unloaded (another reference holds it, or it is marked "
                              "not to unload), so its globals cannot start fresh.\n");

    log.clear();
    const fmi2ValueReference vr = kStepCount;
    fmi2Integer value = 7;
    EXPECT_EQ(fmu.fmi2GetInteger(c, &vr, 1, &value), fmi2Error);
    EXPECT_EQ(value, 7);
    EXPECT_EQ(fmu.fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2Error);
    EXPECT_EQ(fmu.fmi2Reset(c), fmi2Error);
    EXPECT_EQ(log.text(),
              "fmi2GetInteger: The instance could not be reset; only fmi2FreeInstance is accepted.\n"
              "fmi2DoStep: The instance could not be reset; only fmi2FreeInstance is accepted.\n"
              "fmi2Reset: The instance could not be reset; only fmi2FreeInstance is accepted.\n");
    fmu.fmi2FreeInstance(c);
    dlclose(held);

    // A re-instantiation that fails ends the same way.
    c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    std::remove((folder.path() + "resources.txt").c_str());
    log.clear();
    EXPECT_EQ(fmu.fmi2Reset(c), fmi2Error);
    EXPECT_EQ(log.text(), "fmi2Instantiate: Cannot open file '" + folder.path() +
                              "resources.txt': No such file or directory\n");
    EXPECT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2Error);
    fmu.fmi2FreeInstance(c);

    // Freeing it made room for the next instance.
    LayOut();
    c = Instantiate(folder.uri(), fmi2False);
    EXPECT_NE(c, nullptr);
    fmu.fmi2FreeInstance(c);
}
