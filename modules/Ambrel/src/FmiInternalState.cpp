#include "FmiInternalState.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

FmiInternalState* currentInstance = nullptr;

void FmiInternalState::Log(const std::string& name, uint32_t status, const char* category,
                           const char* format, ...) {
    char buffer[4096];
    std::memset(buffer, 0, sizeof buffer);
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    if (status == fmi2Error) ++errorsLogged;
    if (callbackFunctions == nullptr || callbackFunctions->logger == nullptr) return;
    // The text is already formatted: it goes to the master as the argument of
    // "%s" so that a '%' in a name or a path is never taken as a conversion.
    callbackFunctions->logger(callbackFunctions->componentEnvironment, name.c_str(),
                              static_cast<fmi2Status>(status), category, "%s", buffer);
}

uint64_t VecuModuleBase(const CommonFmiInternalState& instance) {
    return platform::ModuleBaseAddress(instance.vEcuModule);
}
