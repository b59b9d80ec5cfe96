#ifndef AMBREL_PELLAN_BINDING_H
#define AMBREL_PELLAN_BINDING_H

// The runtime's side of the outside XCP slave library: loading it, its
// bound entry points and one wrapper per entry point. The slave is optional:
// a library that cannot be loaded binds nothing, and a wrapper whose entry
// point is not bound does nothing.

#include <string>

#include "PellanConfig.h"
#include "PellanInterface.h"
#include "platform/Module.h"

// The bound exports of the slave library; all null while none is bound.
struct PellanEntryPoints {
    InitPellanFn InitPellan = nullptr;
    StepPellanFn StepPellan = nullptr;
    TerminatePellanFn TerminatePellan = nullptr;
};

// Process-wide: one slave per process.
extern PellanEntryPoints pellanEntryPoints;
extern platform::ModuleHandle pellanModule;

// Loads the library and binds the exports it has; null when it cannot be
// loaded, and then nothing is bound. When failure is given it receives the
// loader's reason, unless no file is there at all.
platform::ModuleHandle BindPellanLibrary(std::string path, std::string* failure = nullptr);

// The names of the entry points the bound library lacks, comma-separated;
// empty when it has all of them.
std::string MissingPellanEntryPoints();

// Unloads the library when one is loaded; from then on nothing is bound.
void UnloadPellanLibrary();

// The library receives its own copy of the record; this one goes with the call.
void CallInitPellan(PellanConfig config);
void CallStepPellan(double currentCommunicationPoint, double communicationStepSize);
void CallTerminatePellan();

#endif
