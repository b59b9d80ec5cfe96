#ifndef DBGHELP_SYMBOL_HANDLER_H
#define DBGHELP_SYMBOL_HANDLER_H

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "PdbModule.h"
#include "dbghelp/DbgHelp.h"

namespace dbghelp {

// One image loaded into a symbol handler. Without a usable PDB it is still
// loaded (as the image is there), but it has no symbols.
struct LoadedModule {
    std::string imagePath;
    std::string name;
    uint64_t base = 0;
    uint64_t size = 0;
    std::unique_ptr<PdbModule> pdb;
};

// The symbol handlers of this library: one per handle given to
// SymInitialize, each with the modules loaded into it, plus the options,
// which are shared by all of them.
class SymbolHandler {
public:
    static SymbolHandler& Instance();

    bool Initialize(HANDLE process);
    bool Cleanup(HANDLE process);
    // The base the module was loaded at; 0 when it cannot be loaded.
    uint64_t LoadModule(HANDLE process, const std::string& imagePath, const char* moduleName,
                        uint64_t requestedBase);
    // The module loaded at exactly this base, or null.
    LoadedModule* FindModule(HANDLE process, uint64_t base);

    uint32_t Options() const { return options_; }
    void SetOptions(uint32_t options) { options_ = options; }
    // A diagnostic line on standard error, written while SYMOPT_DEBUG is set.
    void Debug(const std::string& line) const;

private:
    using ModuleMap = std::map<uint64_t, std::unique_ptr<LoadedModule>>;
    std::map<HANDLE, ModuleMap> processes_;
    uint32_t options_ = SYMOPT_UNDNAME | SYMOPT_DEFERRED_LOADS;
};

// Where the PDB of an image is looked for: beside it, under the image's file
// name with its extension replaced by ".pdb".
std::string PdbPathBeside(const std::string& imagePath);

}  // namespace dbghelp

#endif
