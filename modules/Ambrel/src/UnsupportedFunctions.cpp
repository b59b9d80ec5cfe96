#include "UnsupportedFunctions.h"

#include "DirectLog.h"

fmi2Status ReportUnsupported(const FmiInternalState& instance, const char* message) {
    DirectLog(instance, LogCategory_error, "%s", message);
    return fmi2Error;
}

fmi2Status ReportUnsupportedStatus(const FmiInternalState& instance, const char* function,
                                   fmi2StatusKind kind) {
    DirectLog(instance, LogCategory_error, "%s: fmi2StatusKind = %d", function, static_cast<int>(kind));
    return fmi2Error;
}
