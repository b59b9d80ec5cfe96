// A plug-in whose step entry fails with an exception.

#include <stdexcept>

#include "QorvPluginInterface.h"

int32_t qorvPluginVersion() { return 1; }
void qorvInstantiate1(const QorvCallbacks1*) {}
void qorvTerminate1(const QorvCallbacks1*) {}

void qorvPreDoStep1(const QorvCallbacks1*, double, double) {
    throw std::runtime_error("plugin refuses the step");
}
