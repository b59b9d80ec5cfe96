#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "platform/Process.h"

using namespace platform;

TEST(Process, CurrentProcessIsStableAndNamesThisProcessOnly) {
    const ProcessHandle self = CurrentProcess();
    EXPECT_NE(self, nullptr);
    EXPECT_EQ(CurrentProcess(), self);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) _exit(CurrentProcess() != self && CurrentProcess() != nullptr ? 0 : 1);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
