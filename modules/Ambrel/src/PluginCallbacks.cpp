#include "PluginCallbacks.h"

// No plug-in can call back yet: the table stays empty.
QorvCallbacks1& BuildPluginCallbacks(QorvCallbacks1& table) { return table; }
