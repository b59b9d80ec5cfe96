// Writes the symbol table of a vECU library as the symbol library makes it
// from the library's .die dump: InitVirlo on the library's path,
// CacheVirlo, WriteVirloToFile.
//   MakeDwarfSymbolTable <Virlo.so> <vECU library> <table to write>
// A failure leaves an empty table and is reported; the end-to-end test
// then fails on it, while the rest of the tree still builds and tests.

#include <cstdio>
#include <fstream>
#include <string>

#include "VirloInterface.h"
#include "platform/Module.h"

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s <Virlo.so> <vECU library> <table>\n", argv[0]);
        return 2;
    }
    std::ofstream(argv[3], std::ios::trunc);  // empty until written
    platform::ModuleHandle virlo = platform::LoadModule(argv[1]);
    if (virlo == nullptr) {
        std::fprintf(stderr, "%s\n", platform::LastModuleError().c_str());
        return 0;
    }
    const auto init = reinterpret_cast<InitVirloFn>(platform::FindModuleSymbol(virlo, "InitVirlo"));
    const auto cache = reinterpret_cast<CacheVirloFn>(platform::FindModuleSymbol(virlo, "CacheVirlo"));
    const auto write =
        reinterpret_cast<WriteVirloToFileFn>(platform::FindModuleSymbol(virlo, "WriteVirloToFile"));
    const auto terminate =
        reinterpret_cast<TerminateVirloFn>(platform::FindModuleSymbol(virlo, "TerminateVirlo"));
    if (init == nullptr || cache == nullptr || write == nullptr || terminate == nullptr) {
        std::fprintf(stderr, "Virlo.so lacks an export\n");
        platform::FreeModule(virlo);
        return 0;
    }

    if (init(argv[2], "") != 0) {
        std::fprintf(stderr, "InitVirlo failed for %s\n", argv[2]);
    } else {
        cache("*");
        const std::string table = argv[3];
        const std::wstring widePath(table.begin(), table.end());
        // No image: values are not wanted, addresses with 16 digits.
        if (write(widePath.c_str(), 0, 0, 1, 0) != 0) std::fprintf(stderr, "WriteVirloToFile failed\n");
    }
    terminate(false);
    platform::FreeModule(virlo);
    return 0;
}
