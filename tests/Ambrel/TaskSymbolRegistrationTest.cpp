#include <gtest/gtest.h>

#include <cstdio>

#include "LoggingInstance.h"
#include "SymbolRegistration.h"
#include "TaskExecution.h"
#include "VariableTestSupport.h"
#include "VirloBinding.h"

namespace {

using ambrel_test::LoggingInstance;
using variable_test::StubVirlo;

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// Task registration against the fixture vECU, with the stand-in symbol
// library bound as the runtime binds the real one.
class TaskSymbolRegistration : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(stub.loaded());
        vecu = platform::LoadModule(TASK_FIXTURE_VECU);
        ASSERT_NE(vecu, nullptr);
        base = platform::ModuleBaseAddress(vecu);
        logging.instance.vEcuModule = vecu;
        library = BindVirloLibrary(REGISTRATION_STUB_VIRLO);
        ASSERT_NE(library, nullptr);
        for (const char* counter : {"periodicRuns", "triggeredRuns", "terminateRuns"})
            Variable<int>(counter) = 0;
    }
    void TearDown() override {
        logging.instance.tasks.clear();
        FreeVirloLibrary(library);
        platform::FreeModule(vecu);
    }

    uint64_t Offset(const char* symbol) {
        return reinterpret_cast<uint64_t>(platform::FindModuleSymbol(vecu, symbol)) - base;
    }
    template <typename T>
    T& Variable(const char* symbol) {
        return *static_cast<T*>(platform::FindModuleSymbol(vecu, symbol));
    }
    void Know(const char* symbol) {
        stub.Add(symbol, SymbolRecord(Offset(symbol), 4, SymbolType_Function, 0, 0));
    }
    Task& Add(const std::string& name, int32_t kind, const std::string& trigger = "",
              const std::vector<std::string>& inputs = {}) {
        logging.instance.tasks.push_back(Task(name, kind, 0.01, 0.0, 0, -1));
        Task& task = logging.instance.tasks.back();
        task.record->SetFunctionTrigger(trigger);
        for (const std::string& input : inputs) task.record->AddTriggerInput(input);
        return task;
    }
    static uint64_t BodyAddress(const Task& task) { return task.record->bodySymbol.address; }
    static uint64_t TriggerAddress(const Task& task) { return task.record->triggerSymbol.address; }

    StubVirlo stub{REGISTRATION_STUB_VIRLO};
    platform::ModuleHandle vecu = nullptr;
    platform::ModuleHandle library = nullptr;
    uint64_t base = 0;
    LoggingInstance logging{"vecu"};
};

}  // namespace

TEST_F(TaskSymbolRegistration, TextFormsBecomeAbsoluteAddressesAndTheTasksRun) {
    Task& periodic = Add(Hex(Offset("PeriodicBody")), TaskKind_periodic);
    Task& triggered =
        Add(Hex(Offset("TriggeredBody")), TaskKind_triggered, Hex(Offset("EventTrigger")).substr(2),
            {Hex(Offset("triggerInput")), "0x20"});
    RegisterTaskSymbols(logging.instance);
    EXPECT_EQ(BodyAddress(periodic), base + Offset("PeriodicBody"));
    EXPECT_EQ(BodyAddress(triggered), base + Offset("TriggeredBody"));
    EXPECT_EQ(TriggerAddress(triggered), base + Offset("EventTrigger"));  // without "0x" as well
    EXPECT_EQ(triggered.record->TriggerInputAddresses()[0], base + Offset("triggerInput"));
    EXPECT_EQ(triggered.record->TriggerInputAddresses()[1], base + 0x20);

    RunStepTasks(logging.instance, 0.0, 0.02);
    EXPECT_EQ(Variable<int>("periodicRuns"), 3);
    EXPECT_EQ(Variable<int>("triggeredRuns"), 3);
    EXPECT_DOUBLE_EQ(Variable<double>("triggerSawNext"), 0.02);
    EXPECT_EQ(Variable<double>("triggerSawEnd"), 0.02);
    EXPECT_EQ(Variable<int>("triggerSawInput"), 42);
    EXPECT_EQ(Variable<uint64_t>("triggerSawSecondInput"), base + 0x20);
    EXPECT_TRUE(logging.messages.empty());
}

TEST_F(TaskSymbolRegistration, NamesResolveThroughTheSymbolLibrary) {
    Know("TriggeredBody");
    Know("EventTrigger");
    stub.Add("a", SymbolRecord(Offset("triggerInput"), 4, SymbolType_s32, 0, 0));
    Task& task = Add("TriggeredBody", TaskKind_triggered, "EventTrigger", {"a", "b", "0x20"});
    RegisterTaskSymbols(logging.instance);
    EXPECT_EQ(BodyAddress(task), base + Offset("TriggeredBody"));
    EXPECT_EQ(task.record->bodySymbol.size, 4u);  // the library's whole record
    EXPECT_EQ(TriggerAddress(task), base + Offset("EventTrigger"));
    // b is unknown: the found inputs fill the slots without a gap.
    EXPECT_EQ(task.record->TriggerInputAddresses()[0], base + Offset("triggerInput"));
    EXPECT_EQ(task.record->TriggerInputAddresses()[1], base + 0x20);
    EXPECT_EQ(task.record->TriggerInputAddresses()[2], 0u);
}

TEST_F(TaskSymbolRegistration, EachNameMayUseItsOwnForm) {
    Know("EventTrigger");
    Know("TriggeredBody");
    Task& textBody = Add(Hex(Offset("TriggeredBody")), TaskKind_triggered, "EventTrigger");
    Task& namedBody = Add("TriggeredBody", TaskKind_triggered, Hex(Offset("EventTrigger")));
    RegisterTaskSymbols(logging.instance);
    EXPECT_EQ(TriggerAddress(textBody), base + Offset("EventTrigger"));
    EXPECT_EQ(TriggerAddress(namedBody), base + Offset("EventTrigger"));
}

TEST_F(TaskSymbolRegistration, UnresolvedBodyOrTriggerLeavesTheTaskUnbound) {
    Know("PeriodicBody");
    Know("TriggeredBody");
    Task& unknownBody = Add("NoSuchBody", TaskKind_periodic, "", {"0x20"});
    Task& unknownTrigger = Add("TriggeredBody", TaskKind_triggered, "NoSuchTrigger", {"0x20"});
    Task& noTrigger = Add(Hex(Offset("TriggeredBody")), TaskKind_triggered, "", {"0x20"});
    Task& untriggered = Add("PeriodicBody", TaskKind_periodic, "NoSuchTrigger");
    RegisterTaskSymbols(logging.instance);
    for (const Task* task : {&unknownBody, &unknownTrigger, &noTrigger}) {
        EXPECT_EQ(BodyAddress(*task), 0u) << task->name;
        EXPECT_EQ(TriggerAddress(*task), 0u) << task->name;
        EXPECT_EQ(task->record->TriggerInputAddresses()[0], 0u) << task->name;
        EXPECT_FALSE(IsTaskBound(*task));
    }
    // Only triggered tasks need their trigger.
    EXPECT_EQ(BodyAddress(untriggered), base + Offset("PeriodicBody"));
    EXPECT_TRUE(IsTaskBound(untriggered));
    EXPECT_TRUE(logging.messages.empty());
}

TEST_F(TaskSymbolRegistration, AddressesOutsideCodeAreNeverBound) {
    Know("PeriodicBody");
    Task& data = Add(Hex(Offset("notCode")), TaskKind_periodic);
    Task& zero = Add("0", TaskKind_periodic);
    Task& garbage = Add("0zz", TaskKind_terminate);
    RegisterTaskSymbols(logging.instance);
    for (const Task* task : {&data, &zero, &garbage})
        EXPECT_EQ(BodyAddress(*task), 0u) << task->name;

    // A name resolved while the vECU is not loaded is only an offset.
    logging.instance.tasks.clear();
    logging.instance.vEcuModule = nullptr;
    Task& offsetOnly = Add("PeriodicBody", TaskKind_periodic);
    RegisterTaskSymbols(logging.instance);
    EXPECT_EQ(BodyAddress(offsetOnly), 0u);
    RunStepTasks(logging.instance, 0.0, 1.0);
    RunTerminationTasks(logging.instance);
    EXPECT_EQ(Variable<int>("periodicRuns"), 0);
}

TEST_F(TaskSymbolRegistration, NamesStayUnresolvedWhileNoSymbolLibraryIsBound) {
    Know("PeriodicBody");
    FreeVirloLibrary(library);
    library = nullptr;
    Task& named = Add("PeriodicBody", TaskKind_periodic);
    Task& text = Add(Hex(Offset("TerminateBody")), TaskKind_terminate);
    RegisterTaskSymbols(logging.instance);
    EXPECT_EQ(BodyAddress(named), 0u);
    EXPECT_EQ(BodyAddress(text), base + Offset("TerminateBody"));
    RunTerminationTasks(logging.instance);
    EXPECT_EQ(Variable<int>("terminateRuns"), 1);
}
