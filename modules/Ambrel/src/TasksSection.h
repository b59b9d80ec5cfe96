#ifndef AMBREL_TASKS_SECTION_H
#define AMBREL_TASKS_SECTION_H

#include <cstdint>
#include <string>

class FmiInternalState;

// Builds the schedule from the Tasks section; 0, or 2 when a task was given
// more trigger inputs than it can hold.
int32_t ReadTasksSection(FmiInternalState& instance, const std::string& folder,
                         const std::string& instanceName);

#endif
