#ifndef DBGHELP_PDB_MODULE_H
#define DBGHELP_PDB_MODULE_H

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "PdbTypes.h"
#include "PeImage.h"

namespace dbghelp {

// A symbol at global scope: a global variable, a file-static variable or a
// function, at its address relative to the image's load base.
struct GlobalSymbol {
    std::string name;
    uint32_t rva = 0;
    uint32_t typeIndex = 0;  // resolved, as PdbTypes hands types out
    uint32_t tag = 0;        // SymTagData or SymTagFunction
    uint64_t codeSize = 0;   // functions only
};

// The debug information of one image read from its PDB: the global-scope
// symbols with their addresses, and the types.
class PdbModule {
public:
    // Null, with the reason, when the file is no readable PDB or belongs to
    // another build of the image (its signature differs from the image's).
    static std::unique_ptr<PdbModule> Open(const std::string& pdbPath, const PeImageFacts& image,
                                           std::string& reason);
    ~PdbModule();

    const std::vector<GlobalSymbol>& Symbols() const { return symbols_; }
    PdbTypes& Types() { return *types_; }
    // Relative address of a data symbol by its full name (static members
    // live in data symbols named "Owner::member").
    bool DataAddress(const std::string& name, uint32_t& rva);

private:
    PdbModule();
    bool Load(const std::string& pdbPath, const PeImageFacts& image, std::string& reason);
    bool ReadSymbols(std::string& reason);

    struct Storage;
    std::unique_ptr<Storage> storage_;
    std::unique_ptr<PdbTypes> types_;
    std::vector<GlobalSymbol> symbols_;
    bool dataAddressesIndexed_ = false;
    std::unordered_map<std::string, uint32_t> dataAddresses_;
};

}  // namespace dbghelp

#endif
