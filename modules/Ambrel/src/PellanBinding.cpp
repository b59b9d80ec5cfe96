#include "PellanBinding.h"

PellanEntryPoints pellanEntryPoints;
platform::ModuleHandle pellanModule = nullptr;

namespace {

template <typename Function>
Function Bind(platform::ModuleHandle module, const char* name) {
    return reinterpret_cast<Function>(platform::FindModuleSymbol(module, name));
}

}  // namespace

platform::ModuleHandle BindPellanLibrary(std::string path) {
    pellanModule = platform::LoadModule(path);
    pellanEntryPoints = PellanEntryPoints();
    if (pellanModule == nullptr) return nullptr;
    pellanEntryPoints.InitPellan = Bind<InitPellanFn>(pellanModule, "InitPellan");
    pellanEntryPoints.StepPellan = Bind<StepPellanFn>(pellanModule, "StepPellan");
    pellanEntryPoints.TerminatePellan = Bind<TerminatePellanFn>(pellanModule, "TerminatePellan");
    return pellanModule;
}

void UnloadPellanLibrary() {
    // Once the library may be gone nothing must call into it any more.
    pellanEntryPoints = PellanEntryPoints();
    if (pellanModule == nullptr) return;
    platform::FreeModule(pellanModule);
    pellanModule = nullptr;
}

void CallInitPellan(PellanConfig config) {
    if (pellanEntryPoints.InitPellan != nullptr) pellanEntryPoints.InitPellan(config);
}

void CallStepPellan(double currentCommunicationPoint, double communicationStepSize) {
    if (pellanEntryPoints.StepPellan != nullptr)
        pellanEntryPoints.StepPellan(currentCommunicationPoint, communicationStepSize);
}

void CallTerminatePellan() {
    if (pellanEntryPoints.TerminatePellan != nullptr) pellanEntryPoints.TerminatePellan();
}
