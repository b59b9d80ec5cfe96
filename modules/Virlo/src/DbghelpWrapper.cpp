#include "DbghelpWrapper.h"

namespace {

// The process-wide entry points of the loaded library.
decltype(&::SymCleanup) symCleanupEntry = nullptr;
decltype(&::SymEnumSymbols) symEnumSymbolsEntry = nullptr;
decltype(&::SymGetOptions) symGetOptionsEntry = nullptr;
decltype(&::SymGetTypeInfo) symGetTypeInfoEntry = nullptr;
decltype(&::SymInitialize) symInitializeEntry = nullptr;
decltype(&::SymLoadModuleEx) symLoadModuleExEntry = nullptr;
decltype(&::SymSetOptions) symSetOptionsEntry = nullptr;

template <typename Entry>
void Bind(platform::ModuleHandle module, const char* name, Entry& entry) {
    entry = reinterpret_cast<Entry>(platform::FindModuleSymbol(module, name));
}

struct NamedEntry {
    const char* name;
    const void* bound;
};

}  // namespace

platform::ModuleHandle InitDbghelpWrapper(std::string path) {
    const platform::ModuleHandle module = platform::LoadModule(path);
    if (module == nullptr) return nullptr;
    Bind(module, "SymCleanup", symCleanupEntry);
    Bind(module, "SymEnumSymbols", symEnumSymbolsEntry);
    Bind(module, "SymGetOptions", symGetOptionsEntry);
    Bind(module, "SymGetTypeInfo", symGetTypeInfoEntry);
    Bind(module, "SymInitialize", symInitializeEntry);
    Bind(module, "SymLoadModuleEx", symLoadModuleExEntry);
    Bind(module, "SymSetOptions", symSetOptionsEntry);
    return module;
}

const char* FirstUnboundDbghelpFunction() {
    const NamedEntry entries[] = {
        {"SymCleanup", reinterpret_cast<const void*>(symCleanupEntry)},
        {"SymEnumSymbols", reinterpret_cast<const void*>(symEnumSymbolsEntry)},
        {"SymGetOptions", reinterpret_cast<const void*>(symGetOptionsEntry)},
        {"SymGetTypeInfo", reinterpret_cast<const void*>(symGetTypeInfoEntry)},
        {"SymInitialize", reinterpret_cast<const void*>(symInitializeEntry)},
        {"SymLoadModuleEx", reinterpret_cast<const void*>(symLoadModuleExEntry)},
        {"SymSetOptions", reinterpret_cast<const void*>(symSetOptionsEntry)},
    };
    for (const NamedEntry& entry : entries)
        if (entry.bound == nullptr) return entry.name;
    return nullptr;
}

bool DbghelpBound() { return FirstUnboundDbghelpFunction() == nullptr; }

void ReleaseDbghelpWrapper(platform::ModuleHandle module) {
    symCleanupEntry = nullptr;
    symEnumSymbolsEntry = nullptr;
    symGetOptionsEntry = nullptr;
    symGetTypeInfoEntry = nullptr;
    symInitializeEntry = nullptr;
    symLoadModuleExEntry = nullptr;
    symSetOptionsEntry = nullptr;
    platform::FreeModule(module);
}

// The library's own functions of the interface: the same arguments and
// result as the bound ones.

BOOL SymCleanup(HANDLE hProcess) { return symCleanupEntry != nullptr ? symCleanupEntry(hProcess) : FALSE; }

BOOL SymEnumSymbols(HANDLE hProcess, ULONG64 BaseOfDll, PCSTR Mask, PSYM_ENUMERATESYMBOLS_CALLBACK EnumSymbolsCallback,
                    PVOID UserContext) {
    return symEnumSymbolsEntry != nullptr
               ? symEnumSymbolsEntry(hProcess, BaseOfDll, Mask, EnumSymbolsCallback, UserContext)
               : FALSE;
}

DWORD SymGetOptions(void) { return symGetOptionsEntry != nullptr ? symGetOptionsEntry() : 0; }

BOOL SymGetTypeInfo(HANDLE hProcess, DWORD64 ModBase, ULONG TypeId, IMAGEHLP_SYMBOL_TYPE_INFO GetType, PVOID pInfo) {
    return symGetTypeInfoEntry != nullptr ? symGetTypeInfoEntry(hProcess, ModBase, TypeId, GetType, pInfo) : FALSE;
}

BOOL SymInitialize(HANDLE hProcess, PCSTR UserSearchPath, BOOL fInvadeProcess) {
    return symInitializeEntry != nullptr ? symInitializeEntry(hProcess, UserSearchPath, fInvadeProcess) : FALSE;
}

DWORD64 SymLoadModuleEx(HANDLE hProcess, HANDLE hFile, PCSTR ImageName, PCSTR ModuleName, DWORD64 BaseOfDll,
                        DWORD DllSize, PMODLOAD_DATA Data, DWORD Flags) {
    return symLoadModuleExEntry != nullptr
               ? symLoadModuleExEntry(hProcess, hFile, ImageName, ModuleName, BaseOfDll, DllSize, Data, Flags)
               : 0;
}

DWORD SymSetOptions(DWORD SymOptions) { return symSetOptionsEntry != nullptr ? symSetOptionsEntry(SymOptions) : 0; }
