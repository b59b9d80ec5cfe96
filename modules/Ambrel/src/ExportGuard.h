#ifndef AMBREL_EXPORT_GUARD_H
#define AMBREL_EXPORT_GUARD_H

// The boundary between the master and the runtime: no exception may cross
// it. An exception that reaches an FMI function is reported to the master
// as an error and the function answers fmi2Error (or null).

#include <optional>
#include <string>

#include "CaughtFailure.h"

#include "DirectLog.h"
#include "FmiInternalState.h"

// Tells the master which function failed and why; the text travels as an
// argument, never as a format.
inline void ReportEscapedException(const fmi2CallbackFunctions* functions, fmi2String instanceName,
                                   const char* function, const char* reason) noexcept {
    DirectLog(functions, instanceName, LogCategory_error, "%s failed: %s", function, reason);
}

// Runs body(instance) and answers its status. A null component is refused
// (there is no logger to tell), an escaping exception becomes fmi2Error.
template <typename Body>
fmi2Status GuardedCall(fmi2Component component, const char* function, Body body) noexcept {
    auto* instance = static_cast<FmiInternalState*>(component);
    if (instance == nullptr) return fmi2Error;
    fmi2Status status = fmi2Error;
    if (const std::optional<std::string> failure = CatchFailure([&] { status = body(*instance); })) {
        ReportEscapedException(instance->callbackFunctions, instance->instanceName.c_str(), function,
                               failure->c_str());
        return fmi2Error;
    }
    return status;
}

#endif
