#include "SymbolEnumeration.h"

#include <cstring>
#include <vector>

#include "NameMask.h"

namespace dbghelp {

void EnumerateModuleSymbols(LoadedModule& module, const std::string& mask, bool ignoreCase,
                            PSYM_ENUMERATESYMBOLS_CALLBACK callback, PVOID context) {
    if (!module.pdb) return;
    PdbTypes& types = module.pdb->Types();
    std::vector<uint64_t> block;  // 8-byte units keep SYMBOL_INFO aligned
    for (const GlobalSymbol& symbol : module.pdb->Symbols()) {
        if (!MatchesMask(symbol.name, mask, ignoreCase)) continue;

        const size_t bytes = sizeof(SYMBOL_INFO) + symbol.name.size();
        block.assign((bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t), 0);
        auto* info = reinterpret_cast<SYMBOL_INFO*>(block.data());
        info->SizeOfStruct = sizeof(SYMBOL_INFO);
        info->TypeIndex = symbol.typeIndex;
        uint64_t size = symbol.codeSize;
        if (symbol.tag == SymTagData && !types.Length(symbol.typeIndex, size)) size = 0;
        info->Size = static_cast<ULONG>(size);
        info->ModBase = module.base;
        info->Address = module.base + symbol.rva;
        info->Tag = symbol.tag;
        info->NameLen = static_cast<ULONG>(symbol.name.size());
        info->MaxNameLen = static_cast<ULONG>(symbol.name.size() + 1);
        std::memcpy(info->Name, symbol.name.c_str(), symbol.name.size() + 1);

        if (!callback(info, info->Size, context)) return;
    }
}

}  // namespace dbghelp
