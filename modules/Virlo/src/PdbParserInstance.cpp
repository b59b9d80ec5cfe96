#include <memory>

#include "ParserInstances.h"
#include "VirloParserPdb.h"

namespace {

// The PDB parser destroys itself when it terminates, so it lives in a slot
// that can be emptied and filled again.
std::unique_ptr<VirloParserPdb>& PdbInstanceSlot() {
    static std::unique_ptr<VirloParserPdb> instance;
    return instance;
}

}  // namespace

VirloParser* PdbParserInstance() {
    auto& slot = PdbInstanceSlot();
    if (!slot) slot = std::make_unique<VirloParserPdb>();
    return slot.get();
}

void ReleasePdbParserInstance() { PdbInstanceSlot().reset(); }
