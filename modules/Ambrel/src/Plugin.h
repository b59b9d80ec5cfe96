#ifndef AMBREL_PLUGIN_H
#define AMBREL_PLUGIN_H

#include "OperationArguments.h"
#include "QorvPluginInterface.h"
#include "platform/Module.h"

class Operation;

// One loaded plug-in library, bound to the entry points of its interface
// version. The object refers to its library but does not own it: the
// instance frees the libraries, and drops these objects before it does.
class Plugin {
public:
    // Hands the plug-in to the operation's visit for its interface version.
    virtual void Accept(Operation& operation, OperationArguments& arguments) = 0;
    virtual ~Plugin() = default;

    platform::ModuleHandle module = nullptr;
    QorvPluginVersionEntry* pluginVersion = nullptr;
};

#endif
