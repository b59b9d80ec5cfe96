// FMI 2.0's call order: each of the ordered calls is accepted in one state
// only; in any other it is refused with one message and changes nothing.

#include <functional>
#include <tuple>
#include <vector>

#include "LifecycleFixture.h"

namespace {

enum State { kInstantiated, kInitializationMode, kStepMode, kTerminated };
const char* const kStateNames[] = {"instantiated", "initialization mode", "step mode", "terminated"};

struct OrderedCall {
    std::string name;
    State acceptedIn;
    std::function<fmi2Status(harness::FmuLibrary&, fmi2Component)> call;
};

struct CallOrderTest : LifecycleFixture {
    // A fresh instance brought into the state by the calls that lead there.
    fmi2Component InState(State state) {
        fmi2Component c = Instantiate(folder.uri(), fmi2False);
        EXPECT_NE(c, nullptr);
        if (state >= kInitializationMode) {
            EXPECT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
        }
        if (state >= kStepMode) {
            EXPECT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);
            EXPECT_EQ(fmu.fmi2DoStep(c, 0.0, 0.01, fmi2True), fmi2OK);
        }
        if (state == kTerminated) {
            EXPECT_EQ(fmu.fmi2Terminate(c), fmi2OK);
        }
        return c;
    }

    // What the tasks have done: step, enter-init and terminate runs.
    std::tuple<int, int, int> TaskRuns(fmi2Component c) {
        return {Integer(c, kStepCount), Integer(c, kInitCount), Integer(c, kTerminateCount)};
    }

    // The call that the state accepts next, to show the state stayed.
    fmi2Status Proceed(fmi2Component c, State state) {
        switch (state) {
            case kInstantiated: return fmu.fmi2EnterInitializationMode(c);
            case kInitializationMode: return fmu.fmi2ExitInitializationMode(c);
            case kStepMode: return fmu.fmi2DoStep(c, 0.01, 0.01, fmi2True);
            case kTerminated: return fmu.fmi2Reset(c);
        }
        return fmi2Fatal;
    }
};

}  // namespace

TEST_F(CallOrderTest, ACallOutOfOrderIsRefusedWithOneMessageAndChangesNothing) {
    LayOut();
    const std::vector<OrderedCall> calls = {
        {"fmi2SetupExperiment", kInstantiated,
         [](harness::FmuLibrary& f, fmi2Component c) {
             return f.fmi2SetupExperiment(c, fmi2False, 0.0, 0.0, fmi2False, 0.0);
         }},
        {"fmi2EnterInitializationMode", kInstantiated,
         [](harness::FmuLibrary& f, fmi2Component c) { return f.fmi2EnterInitializationMode(c); }},
        {"fmi2ExitInitializationMode", kInitializationMode,
         [](harness::FmuLibrary& f, fmi2Component c) { return f.fmi2ExitInitializationMode(c); }},
        {"fmi2DoStep", kStepMode,
         [](harness::FmuLibrary& f, fmi2Component c) { return f.fmi2DoStep(c, 0.01, 0.01, fmi2True); }},
        {"fmi2Terminate", kStepMode, [](harness::FmuLibrary& f, fmi2Component c) { return f.fmi2Terminate(c); }},
    };
    for (const State state : {kInstantiated, kInitializationMode, kStepMode, kTerminated}) {
        for (const OrderedCall& call : calls) {
            if (call.acceptedIn == state) continue;
            SCOPED_TRACE(call.name + " in " + kStateNames[state]);
            fmi2Component c = InState(state);
            const auto before = TaskRuns(c);
            log.clear();
            EXPECT_EQ(call.call(fmu, c), fmi2Error);
            EXPECT_EQ(log.text(), call.name + " called in the state '" + kStateNames[state] +
                                      "'; it is accepted only in the state '" + kStateNames[call.acceptedIn] +
                                      "', so nothing was done.\n");
            EXPECT_EQ(TaskRuns(c), before);
            EXPECT_EQ(Proceed(c, state), fmi2OK) << log.text();
            fmu.fmi2FreeInstance(c);
        }
    }
}
