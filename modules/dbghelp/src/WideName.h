#ifndef DBGHELP_WIDE_NAME_H
#define DBGHELP_WIDE_NAME_H

#include <string>

#include "dbghelp/DbgHelp.h"

namespace dbghelp {

// The UTF-16 form of a UTF-8 name, NUL-terminated, in a block from malloc:
// the caller of TI_GET_SYMNAME releases it with free(). Malformed UTF-8 bytes
// become U+FFFD. Null when memory runs out.
WCHAR* AllocateWideName(const std::string& utf8);

}  // namespace dbghelp

#endif
