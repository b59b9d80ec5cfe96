#include "VirloParserPdb.h"

#include <cstdio>

#include "DbghelpWrapper.h"
#include "ParserInstances.h"
#include "platform/Process.h"

int VirloParserPdb::Init(std::string path, std::string dbghelpPath) {
    if (initialised) return ParserStatus_NoParserForFile;
    initialised = true;
    dbghelpModule = InitDbghelpWrapper(dbghelpPath);
    process = platform::CurrentProcess();

    // Without the library, or with one of its functions missing, nothing
    // could be read: say why instead of reading nothing in silence.
    if (dbghelpModule == nullptr) {
        std::fprintf(stderr, "Cannot load the debug-help library %s: %s\n", dbghelpPath.c_str(),
                     platform::LastModuleError().c_str());
        return ParserStatus_NoParserForFile;
    }
    if (const char* missing = FirstUnboundDbghelpFunction()) {
        std::fprintf(stderr, "The debug-help library %s has no function %s\n", dbghelpPath.c_str(), missing);
        // Half a library is none: nothing may call into it.
        ReleaseDbghelpWrapper(dbghelpModule);
        dbghelpModule = nullptr;
        return ParserStatus_NoParserForFile;
    }

    SymSetOptions(SymGetOptions() | SYMOPT_DEBUG);
    if (!SymInitialize(process, nullptr, FALSE)) return ParserStatus_NoParserForFile;
    // A module that cannot be loaded shows as an enumeration that finds nothing.
    moduleBase = SymLoadModuleEx(process, nullptr, path.c_str(), nullptr, 0, 0, nullptr, 0);
    return ParserStatus_Success;
}

int VirloParserPdb::Cache(const std::string& mask) {
    budget = ExpansionBudget();
    SymEnumSymbols(process, moduleBase, mask.c_str(), EnumSymbolsCallback, &moduleBase);
    // Every type was read during the enumeration; the handler is not needed
    // any more.
    SymCleanup(process);
    process = nullptr;
    return ParserStatus_Success;
}

int VirloParserPdb::ClearCache() {
    SymbolCache.clear();
    arrayDimensions.clear();
    nonUniqueNames.clear();
    return ParserStatus_Success;
}

void VirloParserPdb::Terminate(bool) {
    // A handler that no Cache released is released here, so that the next
    // use of the library can open one again.
    if (process != nullptr) {
        SymCleanup(process);
        process = nullptr;
    }
    ReleaseDbghelpWrapper(dbghelpModule);
    dbghelpModule = nullptr;
    moduleBase = 0;
    SymbolCache.clear();
    arrayDimensions.clear();
    nonUniqueNames.clear();
    ReleasePdbParserInstance();  // destroys this object: nothing may follow
}

void VirloParserPdb::Enter(const std::string& name, uint64_t address, uint64_t size, uint32_t typeCode,
                           uint8_t bitOffset, uint8_t bitLength) {
    currentRecord = SymbolRecord(address, size, typeCode, bitOffset, bitLength);
    if (budget.TakeRecord(name.size())) SymbolCache[name] = std::make_unique<SymbolRecord>(currentRecord);
}

void VirloParserPdb::RemoveWithMembers(const std::string& name) {
    SymbolCache.erase(name);
    // Member entries begin with "name." and element entries with "name[".
    // Other names may sort between the two groups (name2 lies between name.x
    // and name[0]), so each group is removed as a range of its own.
    RemovePrefixed(name + ".");
    RemoveElements(name);
}

void VirloParserPdb::RemoveElements(const std::string& name) { RemovePrefixed(name + "["); }

void VirloParserPdb::RemovePrefixed(const std::string& prefix) {
    auto entry = SymbolCache.lower_bound(prefix);
    while (entry != SymbolCache.end() && entry->first.compare(0, prefix.size(), prefix) == 0)
        entry = SymbolCache.erase(entry);
}

BOOL CALLBACK EnumSymbolsCallback(PSYMBOL_INFO symbolInfo, ULONG, PVOID userContext) {
    return AddPdbSymbol(*static_cast<VirloParserPdb*>(PdbParserInstance()), symbolInfo, userContext);
}

BOOL AddPdbSymbol(VirloParserPdb& parser, PSYMBOL_INFO symbolInfo, PVOID) {
    const std::string name = symbolInfo->Name;
    if (parser.nonUniqueNames.count(name) != 0) return TRUE;
    parser.currentRecord.bitOffset = 0;
    parser.currentRecord.bitLength = 0;

    const bool newName = AdmitSymbolName(
        parser.nonUniqueNames, parser.SymbolCache, name, symbolInfo->Address,
        [&parser](const std::unique_ptr<SymbolRecord>& record) { return record->address + parser.moduleBase; });
    if (!newName && parser.nonUniqueNames.count(name) != 0) {
        // Met at a second address: the name is ambiguous, and so are its
        // members and elements.
        parser.RemoveWithMembers(name);
        return TRUE;
    }

    // A new name, or the same symbol again: walk its type.
    DWORD tag = 0;
    SymGetTypeInfo(parser.process, parser.moduleBase, symbolInfo->TypeIndex, TI_GET_SYMTAG, &tag);
    WalkPdbType(parser, symbolInfo->Address, name, symbolInfo->TypeIndex, tag);
    if (!parser.budget.Passed().empty()) {
        parser.RemoveWithMembers(name);
        ReportSymbolsLeftOut(name, parser.budget.Passed());
        return FALSE;
    }
    return TRUE;
}

std::string MakePdbPath(const std::string& path) {
    const size_t dot = path.rfind('.');
    return (dot == std::string::npos ? path : path.substr(0, dot)) + ".pdb";
}
