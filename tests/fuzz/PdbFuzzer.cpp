// A PDB read by the symbol library's PDB parser through our debug-help
// library, beside a PE image that names no PDB of its own (so that any PDB
// is taken as the image's).

#include "FuzzInput.h"
#include "ParserInstances.h"
#include "VirloParserPdb.h"
#include "platform/Module.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The parser loads and unloads the library on every input; a reference
    // held for the whole run keeps its code, and the coverage counters
    // that the fuzzer watches, in place.
    static const platform::ModuleHandle pinned = platform::LoadModule(FUZZ_DBGHELP_LIBRARY);
    fuzz::Folder().Copy(FUZZ_PE_IMAGE, "ecu.dll");
    return pinned != nullptr ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::WriteInput("ecu.pdb", data, size);
    auto* parser = static_cast<VirloParserPdb*>(PdbParserInstance());
    if (parser->Init(fuzz::Folder().path() + "ecu.dll", FUZZ_DBGHELP_LIBRARY) == ParserStatus_Success) {
        parser->Cache("*");
        parser->ClearCache();
    }
    parser->Terminate(false);  // destroys the parser
    return 0;
}
