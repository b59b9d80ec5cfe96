#include "CoSimulationState.h"

#include "DirectLog.h"

const char* CoSimulationStateName(CoSimulationState state) {
    switch (state) {
        case CoSimulationState::instantiated: return "instantiated";
        case CoSimulationState::initializationMode: return "initialization mode";
        case CoSimulationState::stepMode: return "step mode";
        case CoSimulationState::terminated: return "terminated";
        case CoSimulationState::unusable: return "unusable";
    }
    return "unknown";
}

bool BeginOrderedCall(FmiInternalState& instance, const OrderedCall& call) {
    if (instance.state == call.acceptedIn) {
        instance.state = call.leadsTo;
        return true;
    }
    DirectLog(instance, LogCategory_error,
              "%s called in the state '%s'; it is accepted only in the state '%s', so nothing was done.",
              call.function, CoSimulationStateName(instance.state), CoSimulationStateName(call.acceptedIn));
    return false;
}
