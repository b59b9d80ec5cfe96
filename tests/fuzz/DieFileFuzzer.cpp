// A .die file (an nm symbol list, then a textual DWARF dump) read, parsed
// and resolved by the DWARF parser.

#include "FuzzInput.h"
#include "VirloParserDwarf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteInput("ecu.die", data, size);
    VirloParserDwarf parser;
    parser.Init(fuzz::Folder().path() + "ecu.so", "");
    parser.Cache("*");
    parser.ClearCache();
    parser.Terminate(false);
    return 0;
}
