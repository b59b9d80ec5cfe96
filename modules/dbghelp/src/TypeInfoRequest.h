#ifndef DBGHELP_TYPE_INFO_REQUEST_H
#define DBGHELP_TYPE_INFO_REQUEST_H

#include "SymbolHandler.h"
#include "dbghelp/DbgHelp.h"

namespace dbghelp {

// Answers one SymGetTypeInfo request about a type or member id of the
// module, writing the value the request defines into info. FALSE when the id
// has no such property (info is then left alone).
BOOL AnswerTypeInfo(LoadedModule& module, ULONG id, IMAGEHLP_SYMBOL_TYPE_INFO request, PVOID info);

}  // namespace dbghelp

#endif
