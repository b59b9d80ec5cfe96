#ifndef BENCH_VIRLO_READ_EXPORTS_H
#define BENCH_VIRLO_READ_EXPORTS_H

// The exports of a loaded Virlo.so that one symbol read goes through:
// InitVirlo, CacheVirlo, GetVirlo and TerminateVirlo.

#include <stdexcept>
#include <string>

#include "VirloInterface.h"
#include "platform/Module.h"

struct VirloReadExports {
    // Throws std::runtime_error naming the first export that is missing.
    explicit VirloReadExports(platform::ModuleHandle module)
        : initVirlo(Bind<InitVirloFn>(module, "InitVirlo")),
          cacheVirlo(Bind<CacheVirloFn>(module, "CacheVirlo")),
          getVirlo(Bind<GetVirloFn>(module, "GetVirlo")),
          terminateVirlo(Bind<TerminateVirloFn>(module, "TerminateVirlo")) {}

    const InitVirloFn initVirlo;
    const CacheVirloFn cacheVirlo;
    const GetVirloFn getVirlo;
    const TerminateVirloFn terminateVirlo;

private:
    template <typename Function>
    static Function Bind(platform::ModuleHandle module, const char* name) {
        auto function = reinterpret_cast<Function>(platform::FindModuleSymbol(module, name));
        if (function == nullptr) throw std::runtime_error(std::string("Virlo.so lacks ") + name);
        return function;
    }
};

#endif
