#ifndef DBGHELP_SYMBOL_ENUMERATION_H
#define DBGHELP_SYMBOL_ENUMERATION_H

#include <string>

#include "SymbolHandler.h"
#include "dbghelp/DbgHelp.h"

namespace dbghelp {

// Calls back once per global-scope symbol of the module whose name matches
// the mask, in the order the PDB keeps them, until the callback returns
// FALSE. Address is the module base plus the symbol's relative address.
void EnumerateModuleSymbols(LoadedModule& module, const std::string& mask, bool ignoreCase,
                            PSYM_ENUMERATESYMBOLS_CALLBACK callback, PVOID context);

}  // namespace dbghelp

#endif
