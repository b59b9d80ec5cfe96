#include "PellanBinding.h"

#include <filesystem>
#include <system_error>

PellanEntryPoints pellanEntryPoints;
platform::ModuleHandle pellanModule = nullptr;

namespace {

template <typename Function>
Function Bind(platform::ModuleHandle module, const char* name) {
    return reinterpret_cast<Function>(platform::FindModuleSymbol(module, name));
}

// True when the folder holds an entry of that name, whatever it is or
// leads to.
bool IsThere(const std::string& path) {
    std::error_code error;
    return std::filesystem::symlink_status(path, error).type() != std::filesystem::file_type::not_found;
}

}  // namespace

platform::ModuleHandle BindPellanLibrary(std::string path, std::string* failure) {
    pellanModule = platform::LoadModule(path);
    pellanEntryPoints = PellanEntryPoints();
    if (pellanModule == nullptr) {
        const std::string reason = platform::LastModuleError();
        // The slave's absence is no fault, so it goes without a reason.
        if (failure != nullptr && IsThere(path)) *failure = reason;
        return nullptr;
    }
    pellanEntryPoints.InitPellan = Bind<InitPellanFn>(pellanModule, "InitPellan");
    pellanEntryPoints.StepPellan = Bind<StepPellanFn>(pellanModule, "StepPellan");
    pellanEntryPoints.TerminatePellan = Bind<TerminatePellanFn>(pellanModule, "TerminatePellan");
    return pellanModule;
}

std::string MissingPellanEntryPoints() {
    std::string missing;
    const auto note = [&missing](bool bound, const char* name) {
        if (bound) return;
        if (!missing.empty()) missing += ", ";
        missing += name;
    };
    note(pellanEntryPoints.InitPellan != nullptr, "InitPellan");
    note(pellanEntryPoints.StepPellan != nullptr, "StepPellan");
    note(pellanEntryPoints.TerminatePellan != nullptr, "TerminatePellan");
    return missing;
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
