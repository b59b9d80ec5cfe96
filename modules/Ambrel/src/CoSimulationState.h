#ifndef AMBREL_CO_SIMULATION_STATE_H
#define AMBREL_CO_SIMULATION_STATE_H

// The states of a co-simulation instance and the calls whose order FMI 2.0
// fixes. Each of these calls is accepted in one state only and leads to one
// state; the master's other calls (variable access, logging settings,
// fmi2Reset, fmi2FreeInstance) are accepted in every state of a live
// instance.

#include <cstdint>

class FmiInternalState;

enum class CoSimulationState : uint8_t {
    instantiated,        // after fmi2Instantiate and fmi2Reset
    initializationMode,  // from fmi2EnterInitializationMode to fmi2ExitInitializationMode
    stepMode,            // from fmi2ExitInitializationMode to fmi2Terminate
    terminated,          // plug-ins and the symbol library are unloaded
    unusable,            // a failed fmi2Reset left nothing: only fmi2FreeInstance is accepted
};

const char* CoSimulationStateName(CoSimulationState state);

struct OrderedCall {
    const char* function;
    CoSimulationState acceptedIn;
    CoSimulationState leadsTo;
};

inline constexpr OrderedCall kSetupExperimentCall{"fmi2SetupExperiment", CoSimulationState::instantiated,
                                                  CoSimulationState::instantiated};
inline constexpr OrderedCall kEnterInitializationModeCall{
    "fmi2EnterInitializationMode", CoSimulationState::instantiated, CoSimulationState::initializationMode};
inline constexpr OrderedCall kExitInitializationModeCall{
    "fmi2ExitInitializationMode", CoSimulationState::initializationMode, CoSimulationState::stepMode};
inline constexpr OrderedCall kDoStepCall{"fmi2DoStep", CoSimulationState::stepMode,
                                         CoSimulationState::stepMode};
inline constexpr OrderedCall kTerminateCall{"fmi2Terminate", CoSimulationState::stepMode,
                                            CoSimulationState::terminated};

// True when the instance stands where the call is accepted: it is then in
// the state the call leads to before the call does any work, so that
// whatever fails in it, the master can go on from there (to fmi2Terminate,
// above all, which writes the EEPROM back). Otherwise tells the master which
// call came in which state, and nothing changes.
bool BeginOrderedCall(FmiInternalState& instance, const OrderedCall& call);

#endif
