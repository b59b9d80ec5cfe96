#ifndef AMBREL_NOTIFY_PLUGINS_H
#define AMBREL_NOTIFY_PLUGINS_H

#include <cstdint>
#include <map>
#include <memory>

#include "Operation.h"
#include "Plugin.h"

// Tells every plug-in of the operation, in the map's order (interface
// version, then load order). An exception out of a plug-in, other than a
// failed cast, ends the walk and passes on to the caller.
void NotifyPlugins(const std::multimap<int32_t, std::unique_ptr<Plugin>>& plugins,
                   Operation& operation, OperationArguments& arguments);

#endif
