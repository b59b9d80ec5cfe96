#include "Teardown.h"

#include "DirectLog.h"

void Teardown::Report(const std::string& step, const std::string& reason) noexcept {
    DirectLog(instance_, LogCategory_error, "%s: %s failed: %s", function_, step.c_str(), reason.c_str());
}
