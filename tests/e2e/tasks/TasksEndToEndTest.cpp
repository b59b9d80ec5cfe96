#include <gtest/gtest.h>

#include <string>

#include "FmuHarness.h"
#include "ScalarAccess.h"
#include "TasksVecuOffsets.h"

namespace {

// Value references, in the order of the fmiVariables section below.
enum : fmi2ValueReference {
    kEnterInitRuns = 1,
    kExitInitRuns,
    kFirstStepRuns,
    kPeriodicRunsBeforeFirstStep,
    kPeriodicRuns,
    kLimitedRuns,
    kTriggeredRuns,
    kTriggerCalls,
    kTerminateOnceRuns,
    kTerminateRuns,
    kTriggerEnable,
    kTriggerSawNext,
    kTriggerSawEnd,
};

// How the configuration names the vECU's symbols.
enum class Naming { TextForm, SymbolName };

struct TasksEndToEnd : ::testing::TestWithParam<Naming>, harness::ScalarAccess {
    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    harness::MessageLog log;
    harness::ResourceFolder folder;

    TasksEndToEnd() : ScalarAccess(fmu) {}
    ~TasksEndToEnd() override {
        if (component != nullptr) fmu.fmi2FreeInstance(component);
    }

    bool byName() const { return GetParam() == Naming::SymbolName; }

    // A symbol as the configuration names it; variables carry their size
    // and type code in the text form.
    std::string Function(const char* name, const char* offset) const {
        return byName() ? name : offset;
    }
    std::string Variable(const char* name, const char* offset, const char* sizeAndType) const {
        return byName() ? name : std::string(offset) + " " + sizeAndType + " 0 0";
    }

    std::string Configuration() const {
#define S32(symbol) "    " + Variable(#symbol, TASKS_VECU_##symbol, "4 5") + "\n"
#define F64(symbol) "    " + Variable(#symbol, TASKS_VECU_##symbol, "8 10") + "\n"
#define TASK(symbol, line) "    " + Function(#symbol, TASKS_VECU_##symbol) + " " line "\n"
        return std::string("vEcuDll\n    tasks_vecu.so\n") + "fmiVariables\n" + S32(enterInitRuns) +
               S32(exitInitRuns) + S32(firstStepRuns) + S32(periodicRunsBeforeFirstStep) +
               S32(periodicRuns) + S32(limitedRuns) + S32(triggeredRuns) + S32(triggerCalls) +
               S32(terminateOnceRuns) + S32(terminateRuns) + S32(triggerEnable) +
               F64(triggerSawNext) + F64(triggerSawEnd) + "Tasks\n" +
               TASK(TerminateOnceBody, "192 0 0 0 1") + TASK(TerminateBody, "192 0 0 0 -1") +
               TASK(PeriodicBody, "160 0.01 0 1 -1") + TASK(LimitedBody, "160 0.01 0 2 3") +
               TASK(TriggeredBody, "128 0 0.005 0 -1") + "        " +
               Function("EventTrigger", TASKS_VECU_EventTrigger) + "\n            " +
               Variable("triggerEnable", TASKS_VECU_triggerEnable, "4 5") + "\n" +
               TASK(FirstStepBody, "96 0 0 0 -1") + TASK(EnterInitBody, "32 0 0 0 -1") +
               TASK(ExitInitBody, "64 0 0 0 -1") +
               // Names nothing that can run: never called.
               "    " + (byName() ? "NoSuchFunction" : "0x10") + " 160 0.001 0 0 -1\n";
#undef S32
#undef F64
#undef TASK
    }

    void Instantiate() {
        ASSERT_TRUE(fmu.loaded());
        folder.Copy(TASKS_VECU, "tasks_vecu.so");
        if (byName()) {
            folder.Copy(VIRLO_LIBRARY, "Virlo.so");
            folder.Copy(TASKS_SYMBOL_TABLE, "RawSymbolDetails.txt");
        }
        folder.Write("resources.txt", Configuration());
        component = fmu.fmi2Instantiate("tasks", fmi2CoSimulation, "{tasks}", folder.uri().c_str(),
                                        log.callbacks(), fmi2False, fmi2False);
        ASSERT_NE(component, nullptr);
    }
};

}  // namespace

TEST_P(TasksEndToEnd, EachKindRunsWhenTheMasterSaysSo) {
    Instantiate();
    if (HasFatalFailure()) return;
    EXPECT_EQ(GetInteger(kPeriodicRuns), 0);
    EXPECT_EQ(GetInteger(kPeriodicRunsBeforeFirstStep), -1);

    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    EXPECT_EQ(GetInteger(kEnterInitRuns), 1);
    EXPECT_EQ(GetInteger(kExitInitRuns), 0);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    EXPECT_EQ(GetInteger(kExitInitRuns), 1);
    // Initialisation is entered once per run.
    const std::string refusal =
        "fmi2EnterInitializationMode called in the state 'step mode'; it is accepted only in the state "
        "'instantiated', so nothing was done.";
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2Error);
    EXPECT_EQ(GetInteger(kEnterInitRuns), 1);
    EXPECT_EQ(log.count(refusal), 1) << log.text();

    // [0, 0.01]: the first-step task before the periodic ones, which run at
    // both ends of the step; the trigger, due at 5 ms, says no.
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.0, 0.01, fmi2True), fmi2OK);
    EXPECT_EQ(GetInteger(kFirstStepRuns), 1);
    EXPECT_EQ(GetInteger(kPeriodicRunsBeforeFirstStep), 0);
    EXPECT_EQ(GetInteger(kPeriodicRuns), 2);
    EXPECT_EQ(GetInteger(kLimitedRuns), 2);
    EXPECT_EQ(GetInteger(kTriggerCalls), 1);
    EXPECT_EQ(GetInteger(kTriggeredRuns), 0);
    EXPECT_DOUBLE_EQ(GetReal(kTriggerSawNext), 0.005);
    EXPECT_DOUBLE_EQ(GetReal(kTriggerSawEnd), 0.01);

    // (0.01, 0.06]: five more periodic runs, the limited task stops at 3,
    // the trigger (now enabled) is due at 25 and 45 ms.
    const fmi2ValueReference enable = kTriggerEnable;
    const fmi2Integer one = 1;
    ASSERT_EQ(fmu.fmi2SetInteger(component, &enable, 1, &one), fmi2OK);
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.01, 0.05, fmi2True), fmi2OK);
    EXPECT_EQ(GetInteger(kFirstStepRuns), 1);
    EXPECT_EQ(GetInteger(kPeriodicRuns), 7);
    EXPECT_EQ(GetInteger(kLimitedRuns), 3);
    EXPECT_EQ(GetInteger(kTriggerCalls), 3);
    EXPECT_EQ(GetInteger(kTriggeredRuns), 2);
    EXPECT_DOUBLE_EQ(GetReal(kTriggerSawNext), 0.045);
    EXPECT_DOUBLE_EQ(GetReal(kTriggerSawEnd), 0.06);
    EXPECT_EQ(GetInteger(kTerminateRuns), 0);

    ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
    EXPECT_EQ(GetInteger(kTerminateOnceRuns), 1);
    EXPECT_EQ(GetInteger(kTerminateRuns), 1);
    // A reset starts the vECU and its schedule afresh.
    ASSERT_EQ(fmu.fmi2Reset(component), fmi2OK);
    EXPECT_EQ(GetInteger(kPeriodicRunsBeforeFirstStep), -1);
    EXPECT_EQ(GetInteger(kPeriodicRuns), 0);
    EXPECT_EQ(GetInteger(kTerminateRuns), 0);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    EXPECT_EQ(GetInteger(kEnterInitRuns), 1);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.0, 0.01, fmi2True), fmi2OK);
    EXPECT_EQ(GetInteger(kFirstStepRuns), 1);
    EXPECT_EQ(GetInteger(kPeriodicRuns), 2);

    // Nothing about the tasks was reported.
    for (const harness::LoggedMessage& message : log.messages()) {
        if (message.message == refusal) continue;
        EXPECT_NE(message.category, "error") << message.message;
        EXPECT_EQ(message.message.find("resources.txt"), std::string::npos) << message.message;
    }
}

INSTANTIATE_TEST_SUITE_P(Naming, TasksEndToEnd,
                         ::testing::Values(Naming::TextForm, Naming::SymbolName),
                         [](const ::testing::TestParamInfo<Naming>& info) {
                             return info.param == Naming::TextForm ? "TextForm" : "SymbolName";
                         });
