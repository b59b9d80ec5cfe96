// The master's time is the schedule's time: startTime is its origin, and
// each step must begin where the previous one ended.

#include "LifecycleFixture.h"

namespace {

struct SimulationTimeTest : LifecycleFixture {
    // Exactly one message, an error with the given text; then the log is
    // cleared for the next call.
    void ExpectRefused(fmi2Status status, const std::string& message) {
        EXPECT_EQ(status, fmi2Error) << message;
        ASSERT_EQ(log.messages().size(), 1u) << log.text();
        EXPECT_EQ(log.messages()[0].status, fmi2Error);
        EXPECT_EQ(log.messages()[0].message, message);
        log.clear();
    }
};

}  // namespace

TEST_F(SimulationTimeTest, ALateStartRunsTheScheduleAsARunFromZero) {
    LayOut();
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    const StepOutputs fromZero = Run(c, 0.0, 20);
    fmu.fmi2FreeInstance(c);

    c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(Run(c, 86400.0, 20), fromZero);
    fmu.fmi2FreeInstance(c);
}

TEST_F(SimulationTimeTest, StepsThatSkipRepeatOrOverflowAreRefusedAndRunNothing) {
    LayOut();
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    log.clear();
    ExpectRefused(fmu.fmi2SetupExperiment(c, fmi2False, 0.0, -1.0, fmi2False, 0.0),
                  "fmi2SetupExperiment: startTime = -1 lies outside the scheduler's time range (0 s to "
                  "1.84467e+10 s).");
    ASSERT_EQ(fmu.fmi2SetupExperiment(c, fmi2False, 0.0, 1.0, fmi2False, 0.0), fmi2OK);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);

    ExpectRefused(fmu.fmi2DoStep(c, 0.0, 0.01, fmi2True),
                  "fmi2DoStep: The step starts at 0.000000000 s, but the simulation stands at 1.000000000 "
                  "s; each step must begin where the previous one ended.");
    ASSERT_EQ(fmu.fmi2DoStep(c, 1.0, 0.01, fmi2True), fmi2OK);
    EXPECT_EQ(Integer(c, kStepCount), 2);

    ExpectRefused(fmu.fmi2DoStep(c, 1.02, 0.01, fmi2True),
                  "fmi2DoStep: The step starts at 1.020000000 s, but the simulation stands at 1.010000000 "
                  "s; each step must begin where the previous one ended.");
    ExpectRefused(fmu.fmi2DoStep(c, 1.0, 0.01, fmi2True),
                  "fmi2DoStep: The step starts at 1.000000000 s, but the simulation stands at 1.010000000 "
                  "s; each step must begin where the previous one ended.");
    ExpectRefused(fmu.fmi2DoStep(c, 1.01, 1e300, fmi2True),
                  "fmi2DoStep: The step from 1.01 s to 1e+300 s lies outside the scheduler's time range (0 "
                  "s to 1.84467e+10 s).");
    ExpectRefused(fmu.fmi2DoStep(c, 1e300, 0.01, fmi2True),
                  "fmi2DoStep: The step from 1e+300 s to 1e+300 s lies outside the scheduler's time range "
                  "(0 s to 1.84467e+10 s).");
    EXPECT_EQ(Integer(c, kStepCount), 2);

    ASSERT_EQ(fmu.fmi2DoStep(c, 1.01, 0.01, fmi2True), fmi2OK);
    EXPECT_EQ(Integer(c, kStepCount), 3);
    ExpectRefused(fmu.fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0),
                  "fmi2SetupExperiment called in the state 'step mode'; it is accepted only in the state "
                  "'instantiated', so nothing was done.");
    fmu.fmi2FreeInstance(c);
}

TEST_F(SimulationTimeTest, PointsThatAMasterComputesAsStartPlusStepsAreContinuous) {
    LayOut();
    fmi2Component c = Instantiate(folder.uri(), fmi2False);
    ASSERT_NE(c, nullptr);
    // Late in a long run start + n * h and a running sum part by more than
    // a nanosecond, as the double's own rounding.
    const double start = 1e7;
    const double h = 0.01;
    ASSERT_EQ(fmu.fmi2SetupExperiment(c, fmi2False, 0.0, start, fmi2False, 0.0), fmi2OK);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);
    for (int n = 0; n < 200; ++n)
        ASSERT_EQ(fmu.fmi2DoStep(c, start + n * h, h, fmi2True), fmi2OK) << "step " << n;
    log.clear();
    ExpectRefused(fmu.fmi2DoStep(c, start + 201 * h, h, fmi2True),
                  "fmi2DoStep: The step starts at 10000002.010000000 s, but the simulation stands at "
                  "10000002.000000000 s; each step must begin where the previous one ended.");
    fmu.fmi2FreeInstance(c);
}
