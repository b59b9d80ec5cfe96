#ifndef AMBREL_OPERATION_H
#define AMBREL_OPERATION_H

// The phases that plug-ins are told of. A plug-in hands itself back to the
// operation (Plugin::Accept), which picks the entry of that plug-in's
// interface version, takes the entry's values out of the arguments and
// calls it. A value that is missing or of another type skips the entry
// with "Bad any_cast" on standard output; any other exception passes on.

#include "OperationArguments.h"

class PluginVersion1;
class PluginVersion2;

class Operation {
public:
    virtual void VisitVersion2(PluginVersion2& plugin, OperationArguments& arguments) = 0;
    virtual void VisitVersion1(PluginVersion1& plugin, OperationArguments& arguments) = 0;
    virtual ~Operation() = default;
};

#define AMBREL_PLUGIN_OPERATION(Name)                                                      \
    class Name final : public Operation {                                                 \
    public:                                                                               \
        void VisitVersion2(PluginVersion2& plugin, OperationArguments& arguments) override; \
        void VisitVersion1(PluginVersion1& plugin, OperationArguments& arguments) override; \
    };

// Take the callback table.
AMBREL_PLUGIN_OPERATION(InstantiateOperation)
AMBREL_PLUGIN_OPERATION(EnterInitOperation)
AMBREL_PLUGIN_OPERATION(ExitInitOperation)
AMBREL_PLUGIN_OPERATION(TerminateOperation)
// Take the callback table, "time" and "timeIncr".
AMBREL_PLUGIN_OPERATION(PreDoStepOperation)
AMBREL_PLUGIN_OPERATION(PostDoStepOperation)
// Take the callback table and "Task".
AMBREL_PLUGIN_OPERATION(PreRunTaskOperation)
AMBREL_PLUGIN_OPERATION(PostRunTaskOperation)
#undef AMBREL_PLUGIN_OPERATION

#endif
