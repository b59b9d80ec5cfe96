#ifndef AMBREL_PLUGIN_VERSION1_H
#define AMBREL_PLUGIN_VERSION1_H

#include "Plugin.h"

// A plug-in of interface version 1; an entry the library lacks stays null
// and its phase passes the plug-in by.
class PluginVersion1 final : public Plugin {
public:
    void Accept(Operation& operation, OperationArguments& arguments) override;

    QorvPhaseEntry1* instantiate = nullptr;
    QorvPhaseEntry1* enterInit = nullptr;
    QorvPhaseEntry1* exitInit = nullptr;
    QorvStepEntry1* preDoStep = nullptr;
    QorvTaskEntry1* preRunTask = nullptr;
    QorvTaskEntry1* postRunTask = nullptr;
    QorvStepEntry1* postDoStep = nullptr;
    QorvPhaseEntry1* terminate = nullptr;
};

#endif
