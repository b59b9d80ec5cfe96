#include "VirloParser.h"

const SymbolRecord* VirloParser::FindSymbol(const std::string& name) const {
    const auto found = SymbolCache.find(name);
    return found != SymbolCache.end() ? found->second.get() : nullptr;
}
