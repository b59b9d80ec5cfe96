#include "ArrayExpansion.h"

#include <cstdio>
#include <limits>

namespace {

constexpr uint64_t kSaturated = std::numeric_limits<uint64_t>::max();

uint64_t SaturatingMultiply(uint64_t a, uint64_t b) {
    return a != 0 && b > kSaturated / a ? kSaturated : a * b;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return b > kSaturated - a ? kSaturated : a + b; }

uint64_t Digits(uint64_t value) {
    uint64_t digits = 1;
    for (; value >= 10; value /= 10) ++digits;
    return digits;
}

}  // namespace

ExpansionCost ArrayExpansionCost(const std::vector<uint64_t>& counts, uint64_t nameLength,
                                 const ExpansionCost& firstElement) {
    ExpansionCost cost;
    uint64_t names = 1;           // names on the current level
    uint64_t longest = nameLength;  // the longest name on it
    uint64_t firstLength = nameLength;  // the first element's name on it ("[0]" each level)
    for (size_t i = 0; i < counts.size(); ++i) {
        // The level above: sub-arrays (the array itself first).
        cost.records = SaturatingAdd(cost.records, names);
        cost.characters = SaturatingAdd(cost.characters, SaturatingMultiply(names, longest));
        names = SaturatingMultiply(names, counts[i]);
        longest += 2 + Digits(counts[i] == 0 ? 0 : counts[i] - 1);
        firstLength += 3;
    }
    // Every element stores what the first one did, each name longer by its
    // index digits beyond the first's "[0]"s; an element that stored
    // nothing below still gets its own record.
    const uint64_t perElement = firstElement.records == 0 ? 1 : firstElement.records;
    const uint64_t perElementCharacters = SaturatingAdd(
        firstElement.characters < firstLength ? firstLength : firstElement.characters,
        SaturatingMultiply(perElement, longest - firstLength));
    cost.records = SaturatingAdd(cost.records, SaturatingMultiply(names, perElement));
    cost.characters = SaturatingAdd(cost.characters, SaturatingMultiply(names, perElementCharacters));
    return cost;
}

void ReportElementsLeftOut(const std::string& name, const std::string& bound) {
    std::fprintf(stderr, "The elements of the array %s would take the file past %s; they are left out.\n",
                 name.c_str(), bound.c_str());
}

void ReportCyclicArray(const std::string& name) {
    std::fprintf(stderr, "The element type of the array %s leads back to the array; its elements are left out.\n",
                 name.c_str());
}
