#ifndef VIRLO_PARSER_H
#define VIRLO_PARSER_H

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>

#include "SymbolRecord.h"

// Results of the exports and of the parser operations.
enum ParserStatus : uint32_t {
    ParserStatus_Success = 0,
    ParserStatus_NoParserForFile = 1,   // also: parser already initialised, SymInitialize failed
    ParserStatus_NoTableInFolder = 2,
    ParserStatus_CannotCreateOutput = 3,
    ParserStatus_NoActiveParser = 4,
    ParserStatus_CannotOpenTable = 5,   // also: SymbolDetails parser already initialised
};

// How the writer shows addresses: "0x" and 8 hexadecimal digits padded with
// 8 blanks, or "0x" and 16 digits.
enum AddressWidth : uint32_t {
    AddressWidth_Bits32 = 0,
    AddressWidth_Bits64 = 1,
};

// Symbol name to its record, ordered byte-wise; owns the records.
using SymbolCacheMap = std::map<std::string, std::unique_ptr<SymbolRecord>>;

// Base of the three parsers: a source of symbol information read into a
// cache of records by name.
class VirloParser {
public:
    std::string activePath;
    SymbolCacheMap SymbolCache;
    std::set<std::string> nonUniqueNames;
    bool initialised = false;

    virtual ~VirloParser() = default;
    virtual int Init(std::string path, std::string dbghelpPath) = 0;
    virtual int Cache(const std::string& mask) = 0;
    virtual int ClearCache() = 0;
    // Writes the cached symbols with their current values as a SymbolDetails
    // table; the image address is where the program lies in this process.
    virtual int WriteToFile(std::string path, uint64_t imageAddress, uint32_t addressWidth,
                            uint32_t bitOrder);
    virtual void Terminate(bool replaceFile) = 0;

    // The record of the name (exact, case-sensitive), or null.
    const SymbolRecord* FindSymbol(const std::string& name) const;
};

// The rule for names met at more than one address, shared by every parser:
// decides whether (name, address) may enter the map being filled. A name
// already known as non-unique is refused; a name already in the map at
// another address becomes non-unique and leaves the map; a name already in
// the map at the same address keeps its first entry. addressOf gives the
// address of a mapped value. When the name may enter and position is given,
// it receives the place where the name belongs, a hint for emplace_hint that
// spares a second search of a large map.
template <typename Map, typename AddressOf>
bool AdmitSymbolName(std::set<std::string>& nonUniqueNames, Map& map, const std::string& name,
                     uint64_t address, AddressOf addressOf,
                     typename Map::iterator* position = nullptr) {
    if (nonUniqueNames.count(name) != 0) return false;
    const auto found = map.lower_bound(name);
    if (found == map.end() || map.key_comp()(name, found->first)) {
        if (position != nullptr) *position = found;
        return true;
    }
    if (addressOf(found->second) != address) {
        nonUniqueNames.insert(name);
        map.erase(found);
    }
    return false;
}

#endif
