#ifndef VIRLO_PARSER_PDB_H
#define VIRLO_PARSER_PDB_H

#include <cstdint>
#include <string>
#include <vector>

#include "ExpansionBudget.h"
#include "VirloParser.h"
#include "dbghelp/DbgHelp.h"
#include "platform/Module.h"

// One dimension of the array being expanded: its element count and the
// length of one element.
struct ArrayDimension {
    uint64_t count;
    uint64_t elementLength;
};

// Reads the PDB of a program image through the debug-help library: every
// global symbol becomes a cache entry, and so do structure members and array
// elements under composed names (s.member, a[3], a[1].x). Addresses are
// offsets from the module's load base.
class VirloParserPdb : public VirloParser {
public:
    platform::ModuleHandle dbghelpModule = nullptr;
    HANDLE process = nullptr;
    uint64_t moduleBase = 0;
    SymbolRecord currentRecord{};
    std::vector<ArrayDimension> arrayDimensions;
    // What the walks of this Cache's symbols may still store.
    ExpansionBudget budget;

    VirloParserPdb() = default;
    ~VirloParserPdb() override = default;

    int Init(std::string path, std::string dbghelpPath) override;
    int Cache(const std::string& mask) override;
    int ClearCache() override;
    // Destroys this instance (the next PdbParserInstance creates a fresh one).
    void Terminate(bool replaceFile) override;

    // Stores currentRecord, set to these values, under the name (replacing
    // an earlier record of that name), unless the budget is spent.
    void Enter(const std::string& name, uint64_t address, uint64_t size, uint32_t typeCode, uint8_t bitOffset,
               uint8_t bitLength);
    // Removes the name's entry and its member and element entries.
    void RemoveWithMembers(const std::string& name);
    // Removes the element entries of an array (name[...] and below).
    void RemoveElements(const std::string& name);

private:
    void RemovePrefixed(const std::string& prefix);
};

// Called by the enumeration of the module's symbols for each one.
BOOL CALLBACK EnumSymbolsCallback(PSYMBOL_INFO symbolInfo, ULONG symbolSize, PVOID userContext);

// Enters one enumerated symbol with its members and elements, unless its
// name is known at another address. TRUE while the enumeration goes on;
// FALSE when the symbol's walk ran past the budget, which leaves it and the
// symbols after it out.
BOOL AddPdbSymbol(VirloParserPdb& parser, PSYMBOL_INFO symbolInfo, PVOID context);

// Enters the symbol of the given type at an absolute address under the
// name, and walks into structures and arrays (recursive).
void WalkPdbType(VirloParserPdb& parser, uint64_t address, const std::string& name, uint32_t typeIndex,
                 uint32_t tag);

// The type code of a basic type of the given length; unknown basic types
// are reported on standard error and give Unknown.
SymbolType MapPdbBaseType(uint32_t basicType, uint64_t length);

// The PDB path of an image: the path up to its last '.' plus ".pdb" (a path
// without '.' gets ".pdb" appended).
std::string MakePdbPath(const std::string& path);

#endif
