#ifndef AMBREL_PLUGIN_CALLBACKS_H
#define AMBREL_PLUGIN_CALLBACKS_H

#include "QorvCallbacks.h"

// Fills the table of functions through which plug-ins reach the runtime.
QorvCallbacks1& BuildPluginCallbacks(QorvCallbacks1& table);

#endif
