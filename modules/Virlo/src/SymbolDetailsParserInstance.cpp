#include <memory>

#include "ParserInstances.h"
#include "VirloParserSymbolDetails.h"

uint32_t SymbolDetailsLineLimit = 10000;

VirloParser* SymbolDetailsParserInstance(bool raw) {
    static std::unique_ptr<VirloParserSymbolDetails> instance;
    if (!instance) {
        // Raw tables are read whole; the limit stays lifted for good.
        if (raw) SymbolDetailsLineLimit = 0xFFFFFFFFu;
        instance = std::make_unique<VirloParserSymbolDetails>();
    }
    return instance.get();
}
