#include "VirloParserDwarf.h"

int VirloParserDwarf::Init(std::string path, std::string /*second*/) {
    if (initialised) return ParserStatus_NoParserForFile;
    initialised = true;
    diePath = MakeDiePath(path);
    return ParserStatus_Success;
}

int VirloParserDwarf::Cache(const std::string& /*argument*/) {
    // Reading again starts afresh: the text, the entries and the records of
    // an earlier Cache would otherwise be doubled or left stale.
    ReleaseText();
    ReleaseEntries();
    ReleaseSymbols();
    ReadDieFile(diePath);
    ParseDwarfEntries();
    ResolveDwarfSymbols();
    return ParserStatus_Success;
}

int VirloParserDwarf::ClearCache() {
    ReleaseSymbols();
    nonUniqueNames.clear();
    return ParserStatus_Success;
}

void VirloParserDwarf::Terminate(bool /*replaceFile*/) {
    ReleaseText();
    ReleaseEntries();
    ReleaseSymbols();
    initialised = false;
}

void VirloParserDwarf::ReleaseText() {
    lines.clear();
    lines.shrink_to_fit();
    chunks.clear();
    chunks.shrink_to_fit();
}

void VirloParserDwarf::ReleaseEntries() {
    entriesByOffset.clear();
    entriesBySpecification.clear();
    entriesByName.clear();
    ownedEntries_.clear();
    ownedEntries_.shrink_to_fit();
}

void VirloParserDwarf::ReleaseSymbols() {
    SymbolCache.clear();
    pending_.clear();
    lastStored_ = pending_.end();
    arrayDimensions.clear();
}
