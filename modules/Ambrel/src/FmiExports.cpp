// The 34 functions of the FMI 2.0 co-simulation interface. Each one only
// guards the boundary and hands over to the runtime.

#include "fmi2/fmi2Functions.h"

#include "CoSimulationState.h"
#include "DirectLog.h"
#include "ExportGuard.h"
#include "InstanceLifecycle.h"
#include "InstanceSettings.h"
#include "UnsupportedFunctions.h"
#include "VariableExchange.h"

namespace {

// GuardedCall for every function but fmi2FreeInstance: an instance that a
// failed fmi2Reset left empty accepts nothing else.
template <typename Body>
fmi2Status InstanceCall(fmi2Component component, const char* function, Body body) noexcept {
    return GuardedCall(component, function, [&](FmiInternalState& instance) {
        if (instance.state != CoSimulationState::unusable) return body(instance);
        DirectLog(instance, LogCategory_error,
                  "%s: The instance could not be reset; only fmi2FreeInstance is accepted.", function);
        return fmi2Error;
    });
}

// InstanceCall for the calls whose order FMI 2.0 fixes: one that comes in
// another state than its own is refused and changes nothing; an accepted one
// moves the instance on before its body runs. A body that refuses its
// arguments changes nothing either: such calls lead to the state they are
// accepted in.
template <typename Body>
fmi2Status OrderedInstanceCall(fmi2Component component, const OrderedCall& call, Body body) noexcept {
    return InstanceCall(component, call.function, [&](FmiInternalState& instance) {
        return BeginOrderedCall(instance, call) ? body(instance) : fmi2Error;
    });
}

}  // namespace

extern "C" {

const char* fmi2GetTypesPlatform(void) { return fmi2TypesPlatform; }

const char* fmi2GetVersion(void) { return "2.0"; }

fmi2Status fmi2SetDebugLogging(fmi2Component c, fmi2Boolean loggingOn, size_t, const fmi2String[]) {
    return InstanceCall(c, "fmi2SetDebugLogging",
                        [&](FmiInternalState& instance) { return SetDebugLogging(instance, loggingOn); });
}

fmi2Component fmi2Instantiate(fmi2String instanceName, fmi2Type fmuType, fmi2String fmuGUID,
                              fmi2String fmuResourceLocation, const fmi2CallbackFunctions* functions,
                              fmi2Boolean, fmi2Boolean loggingOn) {
    fmi2Component instance = nullptr;
    if (const std::optional<std::string> failure = CatchFailure(
            [&] { instance = Instantiate(instanceName, fmuType, fmuGUID, fmuResourceLocation, functions, loggingOn); })) {
        ReportEscapedException(functions, instanceName, "fmi2Instantiate", failure->c_str());
        return nullptr;
    }
    return instance;
}

void fmi2FreeInstance(fmi2Component c) {
    GuardedCall(c, "fmi2FreeInstance", [&](FmiInternalState& instance) {
        FreeInstance(&instance);
        return fmi2OK;
    });
}

fmi2Status fmi2SetupExperiment(fmi2Component c, fmi2Boolean toleranceDefined, fmi2Real tolerance,
                               fmi2Real startTime, fmi2Boolean, fmi2Real) {
    return OrderedInstanceCall(c, kSetupExperimentCall, [&](FmiInternalState& instance) {
        return SetupExperiment(instance, toleranceDefined, tolerance, startTime);
    });
}

fmi2Status fmi2EnterInitializationMode(fmi2Component c) {
    return OrderedInstanceCall(c, kEnterInitializationModeCall, EnterInitializationMode);
}

fmi2Status fmi2ExitInitializationMode(fmi2Component c) {
    return OrderedInstanceCall(c, kExitInitializationModeCall, ExitInitializationMode);
}

fmi2Status fmi2Terminate(fmi2Component c) { return OrderedInstanceCall(c, kTerminateCall, Terminate); }

fmi2Status fmi2Reset(fmi2Component c) { return InstanceCall(c, "fmi2Reset", Reset); }

fmi2Status fmi2DoStep(fmi2Component c, fmi2Real currentCommunicationPoint,
                      fmi2Real communicationStepSize, fmi2Boolean) {
    return OrderedInstanceCall(c, kDoStepCall, [&](FmiInternalState& instance) {
        return DoStep(instance, currentCommunicationPoint, communicationStepSize);
    });
}

fmi2Status fmi2GetReal(fmi2Component c, const fmi2ValueReference vr[], size_t nvr, fmi2Real value[]) {
    return InstanceCall(c, "fmi2GetReal",
                        [&](FmiInternalState& instance) { return GetReal(instance, vr, nvr, value); });
}

fmi2Status fmi2GetInteger(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                          fmi2Integer value[]) {
    return InstanceCall(c, "fmi2GetInteger",
                        [&](FmiInternalState& instance) { return GetInteger(instance, vr, nvr, value); });
}

fmi2Status fmi2GetBoolean(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                          fmi2Boolean value[]) {
    return InstanceCall(c, "fmi2GetBoolean",
                        [&](FmiInternalState& instance) { return GetBoolean(instance, vr, nvr, value); });
}

fmi2Status fmi2SetReal(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                       const fmi2Real value[]) {
    return InstanceCall(c, "fmi2SetReal",
                        [&](FmiInternalState& instance) { return SetReal(instance, vr, nvr, value); });
}

fmi2Status fmi2SetInteger(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                          const fmi2Integer value[]) {
    return InstanceCall(c, "fmi2SetInteger",
                        [&](FmiInternalState& instance) { return SetInteger(instance, vr, nvr, value); });
}

fmi2Status fmi2SetBoolean(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                          const fmi2Boolean value[]) {
    return InstanceCall(c, "fmi2SetBoolean",
                        [&](FmiInternalState& instance) { return SetBoolean(instance, vr, nvr, value); });
}

fmi2Status fmi2GetString(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                         fmi2String value[]) {
    return InstanceCall(c, "fmi2GetString",
                        [&](FmiInternalState& instance) { return GetString(instance, vr, nvr, value); });
}

fmi2Status fmi2SetString(fmi2Component c, const fmi2ValueReference vr[], size_t nvr,
                         const fmi2String value[]) {
    return InstanceCall(c, "fmi2SetString",
                        [&](FmiInternalState& instance) { return SetString(instance, vr, nvr, value); });
}

fmi2Status fmi2GetFMUstate(fmi2Component c, fmi2FMUstate*) {
    return InstanceCall(c, "fmi2GetFMUstate", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2GetFMUstate not supported");
    });
}

fmi2Status fmi2SetFMUstate(fmi2Component c, fmi2FMUstate) {
    return InstanceCall(c, "fmi2SetFMUstate", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2SetFMUstate not supported");
    });
}

fmi2Status fmi2FreeFMUstate(fmi2Component c, fmi2FMUstate*) {
    return InstanceCall(c, "fmi2FreeFMUstate", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2FreeFMUstate not supported");
    });
}

fmi2Status fmi2SerializedFMUstateSize(fmi2Component c, fmi2FMUstate, size_t*) {
    return InstanceCall(c, "fmi2SerializedFMUstateSize", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2SerializedFMUstateSize not supported");
    });
}

fmi2Status fmi2SerializeFMUstate(fmi2Component c, fmi2FMUstate, fmi2Byte[], size_t) {
    return InstanceCall(c, "fmi2SerializeFMUstate", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2SerializeFMUstate not supported");
    });
}

fmi2Status fmi2DeSerializeFMUstate(fmi2Component c, const fmi2Byte[], size_t, fmi2FMUstate*) {
    return InstanceCall(c, "fmi2DeSerializeFMUstate", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2DeSerializeFMUstate not supported");
    });
}

fmi2Status fmi2GetDirectionalDerivative(fmi2Component c, const fmi2ValueReference[], size_t,
                                        const fmi2ValueReference[], size_t, const fmi2Real[],
                                        fmi2Real[]) {
    return InstanceCall(c, "fmi2GetDirectionalDerivative", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2GetDirectionalDerivative not supported");
    });
}

fmi2Status fmi2SetRealInputDerivatives(fmi2Component c, const fmi2ValueReference[], size_t,
                                       const fmi2Integer[], const fmi2Real[]) {
    return InstanceCall(c, "fmi2SetRealInputDerivatives", [](FmiInternalState& instance) {
        return ReportUnsupported(instance,
                                 "fmi2SetRealInputDerivatives not supported. Can not interpolate inputs.");
    });
}

fmi2Status fmi2GetRealOutputDerivatives(fmi2Component c, const fmi2ValueReference[], size_t,
                                        const fmi2Integer[], fmi2Real[]) {
    return InstanceCall(c, "fmi2GetRealOutputDerivatives", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2GetRealOutputDerivatives not supported");
    });
}

fmi2Status fmi2CancelStep(fmi2Component c) {
    return InstanceCall(c, "fmi2CancelStep", [](FmiInternalState& instance) {
        return ReportUnsupported(instance, "fmi2CancelStep not supported");
    });
}

fmi2Status fmi2GetStatus(fmi2Component c, const fmi2StatusKind s, fmi2Status*) {
    return InstanceCall(c, "fmi2GetStatus", [&](FmiInternalState& instance) {
        return ReportUnsupportedStatus(instance, "fmi2GetStatus", s);
    });
}

fmi2Status fmi2GetRealStatus(fmi2Component c, const fmi2StatusKind s, fmi2Real*) {
    return InstanceCall(c, "fmi2GetRealStatus", [&](FmiInternalState& instance) {
        return ReportUnsupportedStatus(instance, "fmi2GetRealStatus", s);
    });
}

fmi2Status fmi2GetIntegerStatus(fmi2Component c, const fmi2StatusKind s, fmi2Integer*) {
    return InstanceCall(c, "fmi2GetIntegerStatus", [&](FmiInternalState& instance) {
        return ReportUnsupportedStatus(instance, "fmi2GetIntegerStatus", s);
    });
}

fmi2Status fmi2GetBooleanStatus(fmi2Component c, const fmi2StatusKind s, fmi2Boolean*) {
    return InstanceCall(c, "fmi2GetBooleanStatus", [&](FmiInternalState& instance) {
        return ReportUnsupportedStatus(instance, "fmi2GetBooleanStatus", s);
    });
}

fmi2Status fmi2GetStringStatus(fmi2Component c, const fmi2StatusKind s, fmi2String*) {
    return InstanceCall(c, "fmi2GetStringStatus", [&](FmiInternalState& instance) {
        return ReportUnsupportedStatus(instance, "fmi2GetStringStatus", s);
    });
}

}  // extern "C"
