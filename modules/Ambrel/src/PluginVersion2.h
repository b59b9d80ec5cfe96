#ifndef AMBREL_PLUGIN_VERSION2_H
#define AMBREL_PLUGIN_VERSION2_H

#include "Plugin.h"

// A plug-in of interface version 2; an entry the library lacks stays null.
// The loader makes none (it takes version 1 only), and no notification
// carries a version-2 table, so each visit of one ends in a failed cast.
class PluginVersion2 final : public Plugin {
public:
    void Accept(Operation& operation, OperationArguments& arguments) override;

    QorvPhaseEntry2* instantiate = nullptr;
    QorvPhaseEntry2* enterInit = nullptr;
    QorvPhaseEntry2* exitInit = nullptr;
    QorvStepEntry2* preDoStep = nullptr;
    QorvTaskEntry2* preRunTask = nullptr;
    QorvTaskEntry2* postRunTask = nullptr;
    QorvStepEntry2* postDoStep = nullptr;
    QorvPhaseEntry2* terminate = nullptr;
};

#endif
