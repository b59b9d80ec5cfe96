#include "TasksSection.h"

#include <gtest/gtest.h>

#include <cmath>

#include "FmuHarness.h"
#include "LoggingInstance.h"
#include "TaskTestSupport.h"

namespace {

using task_test::Names;
using Strings = std::vector<std::string>;

class TasksSection : public ::testing::Test {
protected:
    int32_t Read(const std::string& text) {
        folder.Write("resources.txt", text);
        return ReadTasksSection(logging.instance, folder.path(), "vecu");
    }
    TaskList& Tasks() { return logging.instance.tasks; }
    const Task& Named(const std::string& name) {
        for (const Task& task : Tasks())
            if (task.name == name) return task;
        throw std::runtime_error("no task " + name);
    }
    Strings Texts() {
        Strings texts;
        for (const auto& message : logging.messages) texts.push_back(message.text);
        return texts;
    }

    harness::ResourceFolder folder;
    ambrel_test::LoggingInstance logging{"vecu"};
};

const std::string kInputLimit = "Cannot add more trigger inputs! The limit supported is 16.";

}  // namespace

TEST_F(TasksSection, TaskLinesWithTriggerAndInputsBuildASortedSchedule) {
    ASSERT_EQ(Read("vEcuDll\n    ecu.so\nTasks\n"
                   "    cyclic 160 0.01 0.005 2 -1\n"
                   "    onEvent 128 0 0.5 1 10 trailing words\n"
                   "        eventTrigger unused\n"
                   "            speed\n"
                   "            0x20\n"
                   "    start 96 0 0 0 1\n"
                   "    stop 192 0 0 0 -1\n"
                   "    init 32 0 0 0 -1\n"
                   "fmiVariables\n    cyclic 160 0 0 0 0\n"),
              0);
    EXPECT_EQ(Names(Tasks()), (Strings{"init", "start", "cyclic", "onEvent", "stop"}));
    const Task& cyclic = Named("cyclic");
    EXPECT_EQ(cyclic.kind, TaskKind_periodic);
    EXPECT_EQ(cyclic.period, 0.01);
    EXPECT_EQ(cyclic.offset, 0.005);
    EXPECT_EQ(cyclic.priority, 2u);
    EXPECT_EQ(cyclic.maxActivations, -1);
    EXPECT_TRUE(std::isnan(cyclic.nextActivation));
    const Task& onEvent = Named("onEvent");
    EXPECT_EQ(onEvent.maxActivations, 10);
    EXPECT_EQ(onEvent.record->GetFunctionTrigger(), "eventTrigger");
    EXPECT_EQ(onEvent.record->GetTriggerInputs(), (Strings{"speed", "0x20"}));
    EXPECT_TRUE(Named("start").record->GetTriggerInputs().empty());
    EXPECT_TRUE(logging.messages.empty());
}

TEST_F(TasksSection, IndentDecidesTheKindOfLine) {
    ASSERT_EQ(Read("Tasks\n"
                   "     five 160 0.01 0 0 -1\n"
                   "      six 160 0.01 0 0 -1\n"
                   "       seven 160 0.01 0 0 -1\n"
                   "         nineBlanksTrigger x\n"
                   "             thirteen\n"
                   "            tab\tand  blanks \n"),
              0);
    EXPECT_EQ(Names(Tasks()), (Strings{"five", "six", "seven"}));
    EXPECT_EQ(Named("seven").record->GetFunctionTrigger(), "nineBlanksTrigger");
    EXPECT_EQ(Named("seven").record->GetTriggerInputs(),
              (Strings{" thirteen", "tab\tand  blanks "}));
}

TEST_F(TasksSection, PriorityKeepsItsLowBitsAndAnyNegativeLimitStays) {
    ASSERT_EQ(Read("Tasks\n    a 160 0.01 0 -1 -5\n    b 160 0.01 0 4294967298 0\n"), 0);
    EXPECT_EQ(Named("a").priority, 4294967295u);
    EXPECT_EQ(Named("a").maxActivations, -5);
    EXPECT_EQ(Named("b").priority, 2u);
}

TEST_F(TasksSection, EmptyEntriesAreReportedWithTheLinesBeforeThem) {
    EXPECT_EQ(Read("x\nTasks\n"
                   "    a 128 0 0 0 -1\n"
                   "        \n"
                   "    \n"
                   "    b 160 0.01 0 0 -1\n"),
              0);
    EXPECT_EQ(Texts(),
              (Strings{"'resources/resources.txt' line 3 is empty! Function trigger expected.",
                       "'resources/resources.txt' line 4 is empty! Task(s) expected."}));
    for (const auto& message : logging.messages) {
        EXPECT_EQ(message.status, fmi2Warning);
        EXPECT_EQ(message.category, "warning");
    }
    EXPECT_EQ(Names(Tasks()), (Strings{"a", "b"}));
    EXPECT_EQ(Named("a").record->GetFunctionTrigger(), "");
}

TEST_F(TasksSection, EmptyTriggerInputIsAlsoRefused) {
    EXPECT_EQ(Read("Tasks\n    a 128 0 0 0 -1\n            \n"), 2);
    EXPECT_EQ(Texts(),
              (Strings{"'resources/resources.txt' line 2 is empty! Trigger input(s) expected.",
                       kInputLimit}));
    EXPECT_EQ(logging.messages[1].status, fmi2Error);
    EXPECT_EQ(logging.messages[1].category, "error");
}

TEST_F(TasksSection, SixteenInputsFitTheSeventeenthFailsButReadingGoesOn) {
    std::string text = "Tasks\n    a 128 0 0 0 -1\n        trig\n";
    for (int i = 0; i < 17; ++i) text += "            in" + std::to_string(i) + "\n";
    text += "    b 160 0.01 0 0 -1\n";
    EXPECT_EQ(Read(text), 2);
    EXPECT_EQ(Texts(), Strings{kInputLimit});
    ASSERT_EQ(Named("a").record->GetTriggerInputs().size(), 16u);
    EXPECT_EQ(Named("a").record->GetTriggerInputs()[15], "in15");
    EXPECT_EQ(Names(Tasks()), (Strings{"a", "b"}));

    logging.messages.clear();
    Tasks().clear();
    text = "Tasks\n    a 128 0 0 0 -1\n";
    for (int i = 0; i < 16; ++i) text += "            in" + std::to_string(i) + "\n";
    EXPECT_EQ(Read(text), 0);
    EXPECT_TRUE(logging.messages.empty());
}

TEST_F(TasksSection, TriggerLinesBeforeTheFirstTaskAreReportedAndIgnored) {
    EXPECT_EQ(Read("Tasks\n        trig\n            in\n    a 128 0 0 0 -1\n"), 0);
    EXPECT_EQ(Texts(),
              (Strings{"'resources/resources.txt' line 1 belongs to no task! Line ignored.",
                       "'resources/resources.txt' line 2 belongs to no task! Line ignored."}));
    ASSERT_EQ(Tasks().size(), 1u);
    EXPECT_EQ(Tasks().front().record->GetFunctionTrigger(), "");
    EXPECT_TRUE(Tasks().front().record->GetTriggerInputs().empty());
}

TEST_F(TasksSection, UnreadableTaskLinesAreReportedAndSkippedWithTheirTriggerLines) {
    const Strings lines = {"missing 160 0.01 0 0",          "badKind 16x 0.01 0 0 -1",
                           "badPeriod 160 nan 0 0 -1",      "badOffset 160 0.01 inf 0 -1",
                           "bigKind 160000000000 0 0 0 -1", "badLimit 160 0.01 0 0 1.5",
                           "badPriority 160 0.01 0 p -1"};
    std::string text = "Tasks\n    good 128 0 0 0 -1\n        goodTrigger\n";
    for (const std::string& line : lines)
        text += "    " + line + "\n        otherTrigger\n            in\n";
    EXPECT_EQ(Read(text), 0);
    EXPECT_EQ(Names(Tasks()), Strings{"good"});
    // The trigger lines of a skipped task do not reach the task before it.
    EXPECT_EQ(Tasks().front().record->GetFunctionTrigger(), "goodTrigger");
    EXPECT_TRUE(Tasks().front().record->GetTriggerInputs().empty());
    Strings expected;
    for (size_t i = 0; i < lines.size(); ++i)
        expected.push_back("'resources/resources.txt' line " + std::to_string(3 + 3 * i) +
                           " cannot be read as a task! Name, kind, period, offset, priority and "
                           "maximum activations expected.");
    EXPECT_EQ(Texts(), expected);
}

TEST_F(TasksSection, UnknownKindsAreRefusedAtReading) {
    EXPECT_EQ(Read("Tasks\n    odd 100 0.01 0 0 -1\n            in\n    zero 0 0 0 0 -1\n"
                   "    ok 160 0.01 0 0 -1\n"),
              0);
    EXPECT_EQ(Names(Tasks()), Strings{"ok"});
    EXPECT_EQ(
        Texts(),
        (Strings{"'resources/resources.txt' line 1 names the unknown task kind 100! Task ignored.",
                 "'resources/resources.txt' line 3 names the unknown task kind 0! Task ignored."}));
}

TEST_F(TasksSection, UnscheduledTasksSortByClassOffsetSecondsAndPriority) {
    ASSERT_EQ(Read("Tasks\r\n"
                   "    p3 160 0.01 0.2 0 -1\r\n"
                   "    p1 160 0.01 0.1 5 -1\r\n"
                   "    t2 128 0 0.1 6 -1\r\n"
                   "    p2 160 0.01 0.1 5 -1\r\n"
                   "    s 96 0 9 0 1\r\n"
                   "    x 64 0 0 0 -1\r\n"),
              0);
    EXPECT_EQ(Names(Tasks()), (Strings{"x", "s", "p1", "p2", "t2", "p3"}));
}

TEST_F(TasksSection, MissingFileOrSectionGivesAnEmptySchedule) {
    EXPECT_EQ(ReadTasksSection(logging.instance, folder.path() + "missing/", "vecu"), 0);
    EXPECT_EQ(Texts(), Strings{"Cannot open file 'resources/resources.txt'"});
    EXPECT_TRUE(Tasks().empty());
    logging.messages.clear();
    EXPECT_EQ(Read("fmiVariables\n    a\n"), 0);
    EXPECT_TRUE(Tasks().empty());
    EXPECT_TRUE(logging.messages.empty());
}
