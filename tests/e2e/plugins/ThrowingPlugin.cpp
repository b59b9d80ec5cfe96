// A plug-in whose initialisation, step and terminate entries fail with an
// exception.

#include <stdexcept>

#include "QorvPluginInterface.h"

int32_t qorvPluginVersion() { return 1; }
void qorvInstantiate1(const QorvCallbacks1*) {}

void qorvFmi2EnterInit1(const QorvCallbacks1*) { throw std::runtime_error("plugin refuses to initialise"); }
void qorvFmi2ExitInit1(const QorvCallbacks1*) { throw std::runtime_error("plugin refuses to leave initialisation"); }

void qorvPreDoStep1(const QorvCallbacks1*, double, double) {
    throw std::runtime_error("plugin refuses the step");
}

void qorvTerminate1(const QorvCallbacks1*) { throw std::runtime_error("plugin refuses to terminate"); }
