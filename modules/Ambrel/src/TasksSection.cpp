#include "TasksSection.h"

#include "FmiInternalState.h"

int32_t ReadTasksSection(FmiInternalState&, const std::string&, const std::string&) { return 0; }
