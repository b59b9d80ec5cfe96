#ifndef VIRLO_PARSER_DWARF_H
#define VIRLO_PARSER_DWARF_H

// The parser for .die files: an nm-style symbol list and a textual DWARF
// dump of the program, read into entries whose types are walked to give a
// record for every symbol, member and array element.

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "DieFile.h"
#include "DwarfEntry.h"
#include "ExpansionBudget.h"
#include "QualifiedNameSplitter.h"
#include "VirloParser.h"

class VirloParserDwarf : public VirloParser {
public:
    std::string diePath;
    uint64_t imageBase = 0;
    std::vector<std::unique_ptr<char[]>> chunks;
    std::vector<LineView> lines;
    std::map<uint64_t, DwarfEntry*> entriesByOffset;
    std::map<uint64_t, DwarfEntry*> entriesBySpecification;
    std::multimap<std::string, DwarfEntry*> entriesByName;
    std::vector<uint64_t> arrayDimensions;

    VirloParserDwarf() : lastStored_(pending_.end()) {}
    ~VirloParserDwarf() override = default;

    int Init(std::string path, std::string second) override;
    int Cache(const std::string& argument) override;
    int ClearCache() override;
    void Terminate(bool replaceFile) override;

    // Reading the file (DieFile.cpp).
    void ReadDieFile(const std::string& path);
    std::vector<DieBlock> SplitDieBlocks() const;

    // Entries of the dump (DwarfEntries.cpp).
    void ParseDwarfEntries();

    // The symbol list at the head of the file (NmSymbolList.cpp): name to a
    // record holding the listed address. Sets imageBase.
    SymbolCacheMap ReadNmSymbolLines();

    // Type resolution (DwarfTypeResolution.cpp).
    void ResolveDwarfSymbols();
    void ResolveDie(const DwarfEntry* entry, std::string name, SymbolRecord record,
                    QualifiedNameSplitter& splitter);
    // The size and type code stored under the name by the walk of the
    // current symbol; type code 0 and the size untouched when there is none.
    void FindType(const std::string& name, uint64_t& size, uint32_t& typeCode) const;

    // Number of entries the parser owns (also those displaced from
    // entriesByOffset by a later entry of the same offset).
    size_t ownedEntryCount() const { return ownedEntries_.size(); }

private:
    void ReleaseText();
    void ReleaseEntries();
    void ReleaseSymbols();

    void WalkType(const DwarfEntry* entry, std::string name, const SymbolRecord& record,
                  QualifiedNameSplitter& splitter);
    void Store(const std::string& name, const SymbolRecord& record);
    // Moves the walked symbol's records into the SymbolCache, each replacing
    // a record of its name.
    void CommitPending();
    void ResolveMember(const DwarfEntry* entry, std::string name, SymbolRecord record,
                       QualifiedNameSplitter& splitter);
    void ResolveStructure(const DwarfEntry* entry, const std::string& name, SymbolRecord record,
                          QualifiedNameSplitter& splitter);
    void ResolveArray(const DwarfEntry* entry, const std::string& name, SymbolRecord record,
                      QualifiedNameSplitter& splitter);
    void ResolveNamespace(const DwarfEntry* entry, const SymbolRecord& record,
                          QualifiedNameSplitter& splitter);
    // Stores the array's own record and drops what its first element stored.
    void KeepArrayWithoutElements(const std::string& name, const std::string& firstElement,
                                  const SymbolRecord& array);
    // The records stored under the names below an element (its members and
    // elements), keyed by what follows the element's name.
    std::vector<std::pair<std::string, SymbolRecord>> RecordsBelow(const std::string& element) const;

    // The records of the symbol being walked; they enter the SymbolCache
    // when its walk ends within the budget.
    SymbolCacheMap pending_;
    // Where the walk stored its last record; valid while it runs.
    SymbolCacheMap::iterator lastStored_;
    // What the walks of this file's symbols may still store.
    ExpansionBudget budget_;
    // Every entry made and kept; a deque never moves what it holds.
    std::deque<DwarfEntry> ownedEntries_;
    // Steps of the current walk; a walk that goes deeper is a cycle or a
    // type chain no program declares, and stops there.
    unsigned walkDepth_ = 0;
    // Offsets of the array entries whose element type is being walked, each
    // with whether that walk led back to the array.
    std::map<uint64_t, bool> arraysInProgress_;
};

// Set by the first parse that merges a structure's definition into an
// earlier declaration; stays set for the rest of the process.
extern bool definitionsMerged;

#endif
