#include "XcpSlaveBinding.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <utility>

#include "CaughtFailure.h"
#include "FmiInternalState.h"
#include "PellanBinding.h"

void StartPellan(FmiInternalState& instance, const std::string& folder, fmi2CallbackLogger logger) {
    // Binding anew over a live slave would leave it running unterminated and
    // keep its library loaded for good.
    StopPellan();
    const std::string path = folder + "Pellan" + platform::kSharedLibrarySuffix;
    std::string failure;
    if (BindPellanLibrary(path, &failure) == nullptr) {
        if (!failure.empty())
            instance.Log(instance.instanceName, LogCategory_warning, "warning",
                         "Cannot load the XCP slave library '%s', so it does not run: %s", path.c_str(),
                         failure.c_str());
    } else if (const std::string missing = MissingPellanEntryPoints(); !missing.empty()) {
        instance.Log(instance.instanceName, LogCategory_warning, "warning",
                     "The XCP slave library '%s' lacks %s; those calls are skipped.", path.c_str(),
                     missing.c_str());
    }

    PellanConfig config;
    config.loggingOn = instance.loggingOn;
    config.memoryRanges = instance.memoryRanges;
    config.xcpConfigLines = instance.xcpConfigLines;
    config.logger = logger;
    config.instanceName = instance.instanceName.c_str();
    // The slave reaches ECU memory from the load address; the module handle
    // is a different thing on this platform.
    config.vEcuModule = reinterpret_cast<void*>(static_cast<uintptr_t>(VecuModuleBase(instance)));
    CallInitPellan(std::move(config));
}

void AdvancePellan(double currentCommunicationPoint, double communicationStepSize) {
    CallStepPellan(currentCommunicationPoint, communicationStepSize);
}

void StopPellan() {
    // The library goes even when its stop fails: left loaded, it would be
    // bound again over itself by the next instance.
    const std::optional<std::string> failure = CatchFailure(CallTerminatePellan);
    UnloadPellanLibrary();
    if (failure) throw std::runtime_error("the XCP slave's TerminatePellan failed: " + *failure);
}
