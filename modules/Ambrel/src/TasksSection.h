#ifndef AMBREL_TASKS_SECTION_H
#define AMBREL_TASKS_SECTION_H

// The Tasks section of resources.txt. Each entry is a task line
//     name kind period offset priority maxActivations
// optionally followed by one function-trigger line (8 leading blanks) and
// up to 16 trigger-input lines (12 or more leading blanks) that belong to
// the task line above them.

#include <cstdint>
#include <string>

class FmiInternalState;

// Builds the schedule from the Tasks section and sorts it; 0, or 2 when a
// task was given more trigger inputs than it can hold (or an empty one).
int32_t ReadTasksSection(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

#endif
