// A SymbolDetails table read batch by batch, as the symbol library caches it.

#include "FuzzInput.h"
#include "VirloParserSymbolDetails.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string table = fuzz::WriteInput("SymbolDetails.txt", data, size);
    fuzz::Folder().Write("SymbolDetails.txt.tmp", "");
    VirloParserSymbolDetails parser;
    if (parser.Init(table, "") == ParserStatus_Success) {
        // Each batch is at most the row limit; the input's lines bound the
        // number of batches.
        while (parser.Cache("*") == 1) {
        }
        parser.ClearCache();
    }
    parser.Terminate(false);
    return 0;
}
