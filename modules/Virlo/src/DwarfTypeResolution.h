#ifndef VIRLO_DWARF_TYPE_RESOLUTION_H
#define VIRLO_DWARF_TYPE_RESOLUTION_H

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "SymbolRecord.h"

// One element or sub-array of an array being expanded; offset from the
// array's start.
struct ArrayElement {
    std::string name;
    uint64_t offset = 0;
    uint64_t size = 0;
};

// Names and places every sub-array and element of a row-major array: for
// counts {2, 3} the intermediates a, a[0], a[1] and the leaves a[0][0] to
// a[1][2]. Without counts the array itself is the only leaf.
void ExpandArrayElements(const std::vector<uint64_t>& counts, const SymbolRecord& record,
                         const std::string& name, uint64_t elementSize,
                         std::vector<ArrayElement>& intermediates,
                         std::vector<ArrayElement>& leaves);

// Offsets of the structure and class entries whose members are being walked
// at the moment; a member that leads back to one of them is not walked into
// again.
extern std::set<uint64_t> structuresInProgress;

// Limit of nested steps in one walk; deeper chains are cycles or damage.
constexpr unsigned kMaxWalkDepth = 512;

#endif
