#ifndef VIRLO_LIBRARY_TEST_SUPPORT_H
#define VIRLO_LIBRARY_TEST_SUPPORT_H

// The built Virlo.so, loaded and bound the way the FMU runtime does it, in a
// process of its own.

#include <gtest/gtest.h>

#include "VirloCoreTestSupport.h"
#include "VirloInterface.h"
#include "platform/Module.h"

namespace virlo_core_test {

// Virlo.so as its callers bind it: loaded at run time, entry points by name.
class VirloLibrary {
public:
    VirloLibrary() : module(platform::LoadModule(VIRLO_LIBRARY)) {
        Bind(InitVirlo, "InitVirlo");
        Bind(CacheVirlo, "CacheVirlo");
        Bind(GetVirlo, "GetVirlo");
        Bind(ClearVirloCache, "ClearVirloCache");
        Bind(WriteVirloToFile, "WriteVirloToFile");
        Bind(TerminateVirlo, "TerminateVirlo");
    }
    ~VirloLibrary() { platform::FreeModule(module); }
    VirloLibrary(const VirloLibrary&) = delete;
    VirloLibrary& operator=(const VirloLibrary&) = delete;

    bool Bound() const {
        return InitVirlo && CacheVirlo && GetVirlo && ClearVirloCache && WriteVirloToFile && TerminateVirlo;
    }

    InitVirloFn InitVirlo = nullptr;
    CacheVirloFn CacheVirlo = nullptr;
    GetVirloFn GetVirlo = nullptr;
    ClearVirloCacheFn ClearVirloCache = nullptr;
    WriteVirloToFileFn WriteVirloToFile = nullptr;
    TerminateVirloFn TerminateVirlo = nullptr;

private:
    template <typename Function>
    void Bind(Function& function, const char* name) {
        function = reinterpret_cast<Function>(platform::FindModuleSymbol(module, name));
    }

    platform::ModuleHandle module;
};

// Runs the scenario with Virlo.so freshly loaded into a process of its own:
// each needs the library's process-wide state as at load (no parser
// selected yet).
template <typename Scenario>
void RunWithFreshVirlo(Scenario scenario, const char* expectedStderr = "") {
    RunInFreshProcess(
        [&] {
            VirloLibrary virlo;
            ASSERT_TRUE(virlo.Bound()) << platform::LastModuleError();
            scenario(virlo);
        },
        expectedStderr);
}

}  // namespace virlo_core_test

#endif
