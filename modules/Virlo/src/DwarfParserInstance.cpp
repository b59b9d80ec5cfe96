#include "ParserInstances.h"

// No DWARF reader yet.
VirloParser* DwarfParserInstance() { return nullptr; }
