#include "ParserInstances.h"
#include "VirloParserDwarf.h"

VirloParser* DwarfParserInstance() {
    // Made on first use, destroyed with the library's other statics when it
    // is unloaded.
    static VirloParserDwarf instance;
    return &instance;
}
