// The exported debug-help functions. None lets an exception out: a failure
// inside becomes the function's failure result.

#include "SymbolEnumeration.h"
#include "SymbolHandler.h"
#include "TypeInfoRequest.h"
#include "dbghelp/DbgHelp.h"

#define DBGHELP_EXPORT extern "C" __attribute__((visibility("default")))

using dbghelp::SymbolHandler;

DBGHELP_EXPORT BOOL SymInitialize(HANDLE hProcess, PCSTR, BOOL) {
    try {
        return SymbolHandler::Instance().Initialize(hProcess) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}

DBGHELP_EXPORT DWORD64 SymLoadModuleEx(HANDLE hProcess, HANDLE, PCSTR ImageName, PCSTR ModuleName,
                                       DWORD64 BaseOfDll, DWORD, PMODLOAD_DATA, DWORD) {
    if (ImageName == nullptr) return 0;
    try {
        return SymbolHandler::Instance().LoadModule(hProcess, ImageName, ModuleName, BaseOfDll);
    } catch (...) {
        return 0;
    }
}

DBGHELP_EXPORT BOOL SymEnumSymbols(HANDLE hProcess, ULONG64 BaseOfDll, PCSTR Mask,
                                   PSYM_ENUMERATESYMBOLS_CALLBACK EnumSymbolsCallback, PVOID UserContext) {
    if (EnumSymbolsCallback == nullptr) return FALSE;
    try {
        SymbolHandler& handler = SymbolHandler::Instance();
        dbghelp::LoadedModule* module = handler.FindModule(hProcess, BaseOfDll);
        if (module == nullptr) return FALSE;
        const bool ignoreCase = (handler.Options() & SYMOPT_CASE_INSENSITIVE) != 0;
        dbghelp::EnumerateModuleSymbols(*module, Mask != nullptr ? Mask : "*", ignoreCase, EnumSymbolsCallback,
                                        UserContext);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

DBGHELP_EXPORT BOOL SymGetTypeInfo(HANDLE hProcess, DWORD64 ModBase, ULONG TypeId,
                                   IMAGEHLP_SYMBOL_TYPE_INFO GetType, PVOID pInfo) {
    try {
        dbghelp::LoadedModule* module = SymbolHandler::Instance().FindModule(hProcess, ModBase);
        if (module == nullptr) return FALSE;
        return dbghelp::AnswerTypeInfo(*module, TypeId, GetType, pInfo);
    } catch (...) {
        return FALSE;
    }
}

DBGHELP_EXPORT DWORD SymGetOptions(void) { return SymbolHandler::Instance().Options(); }

DBGHELP_EXPORT DWORD SymSetOptions(DWORD SymOptions) {
    SymbolHandler::Instance().SetOptions(SymOptions);
    return SymbolHandler::Instance().Options();
}

DBGHELP_EXPORT BOOL SymCleanup(HANDLE hProcess) {
    try {
        return SymbolHandler::Instance().Cleanup(hProcess) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}
