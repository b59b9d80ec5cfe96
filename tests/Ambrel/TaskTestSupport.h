#ifndef TESTS_AMBREL_TASK_TEST_SUPPORT_H
#define TESTS_AMBREL_TASK_TEST_SUPPORT_H

// What the task tests share: the names of a schedule in order.

#include <string>
#include <vector>

#include "Task.h"

namespace task_test {

inline std::vector<std::string> Names(const TaskList& schedule) {
    std::vector<std::string> names;
    for (const Task& task : schedule) names.push_back(task.name);
    return names;
}

}  // namespace task_test

#endif
