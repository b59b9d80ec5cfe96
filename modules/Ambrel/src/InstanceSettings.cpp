#include "InstanceSettings.h"

#include "DirectLog.h"

fmi2Status SetDebugLogging(FmiInternalState& instance, fmi2Boolean loggingOn) {
    DirectLog(instance, LogCategory_log, "fmi2SetDebugLogging: doLogging = %d",
              static_cast<int>(loggingOn));
    instance.loggingOn = loggingOn != fmi2False;
    return fmi2OK;
}

fmi2Status SetupExperiment(FmiInternalState& instance, fmi2Boolean toleranceDefined,
                           fmi2Real tolerance, fmi2Real startTime) {
    if (instance.loggingOn)
        DirectLog(instance, LogCategory_log,
                  "fmi2SetupExperiment: startTime = %g toleranceDefined=%d tolerance=%g", startTime,
                  static_cast<int>(toleranceDefined), tolerance);
    return fmi2OK;
}
