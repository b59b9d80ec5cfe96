#ifndef DBGHELP_NAME_MASK_H
#define DBGHELP_NAME_MASK_H

#include <string>

namespace dbghelp {

// Whether a symbol name matches an enumeration mask: '*' stands for any run
// of characters (also none), '?' for exactly one, every other character for
// itself (ignoring ASCII letter case when asked to).
bool MatchesMask(const std::string& name, const std::string& mask, bool ignoreCase);

}  // namespace dbghelp

#endif
