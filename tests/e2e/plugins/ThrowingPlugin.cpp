// A plug-in whose entries fail with an exception: at the step and at
// termination, or, built with THROWS_AT_INITIALISATION, at entering and
// leaving initialisation and at termination.

#include <stdexcept>

#include "QorvPluginInterface.h"

int32_t qorvPluginVersion() { return 1; }
void qorvInstantiate1(const QorvCallbacks1*) {}

void qorvTerminate1(const QorvCallbacks1*) { throw std::runtime_error("plugin refuses to terminate"); }

#ifdef THROWS_AT_INITIALISATION
void qorvFmi2EnterInit1(const QorvCallbacks1*) { throw std::runtime_error("plugin refuses to initialise"); }
void qorvFmi2ExitInit1(const QorvCallbacks1*) { throw std::runtime_error("plugin refuses to leave initialisation"); }
#else
void qorvPreDoStep1(const QorvCallbacks1*, double, double) {
    throw std::runtime_error("plugin refuses the step");
}
#endif
