#include "InstanceSettings.h"

#include "DirectLog.h"
#include "TaskTime.h"

fmi2Status SetDebugLogging(FmiInternalState& instance, fmi2Boolean loggingOn) {
    DirectLog(instance, LogCategory_log, "fmi2SetDebugLogging: doLogging = %d",
              static_cast<int>(loggingOn));
    instance.loggingOn = loggingOn != fmi2False;
    return fmi2OK;
}

fmi2Status SetupExperiment(FmiInternalState& instance, fmi2Boolean toleranceDefined,
                           fmi2Real tolerance, fmi2Real startTime) {
    if (!IsWithinTaskTimeRange(startTime)) {
        DirectLog(instance, LogCategory_error,
                  "fmi2SetupExperiment: startTime = %g lies outside the scheduler's time range (0 s "
                  "to %g s).",
                  startTime, kLatestTaskTime / 1e9);
        return fmi2Error;
    }
    if (instance.loggingOn)
        DirectLog(instance, LogCategory_log,
                  "fmi2SetupExperiment: startTime = %g toleranceDefined=%d tolerance=%g", startTime,
                  static_cast<int>(toleranceDefined), tolerance);
    instance.startTime = startTime;
    // The first step begins here.
    instance.currentTime = startTime;
    instance.stepSize = 0.0;
    return fmi2OK;
}
