#ifndef AMBREL_VARIABLE_SCALINGS_H
#define AMBREL_VARIABLE_SCALINGS_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "ScalingRecord.h"
#include "SymbolAccess.h"

// Reads convert "outputs" variables, writes "inputs" and "parameters".
inline bool ConvertsOnRead(const ScalingRecord* record) {
    return record != nullptr && std::string_view(record->causality) == "outputs";
}
inline bool ConvertsOnWrite(const ScalingRecord* record) {
    if (record == nullptr) return false;
    const std::string_view causality = record->causality;
    return causality == "inputs" || causality == "parameters";
}

// The scaling record of every variable (null where none applies), so that a
// value access costs an index instead of a search of the map. Resolved once
// at instantiation, after the scaling file is read; from then on accesses
// only read it, so concurrent readers never write shared state. The
// records are those of the map, valid while it keeps its entries.
class VariableScalings {
public:
    void Resolve(const std::vector<SymbolAccessPtr>& variables,
                 const std::map<uint64_t, ScalingRecord>& scalings);

    // The record of the variable at index; null for none, and for every
    // variable while nothing is resolved.
    const ScalingRecord* Of(size_t index) const {
        return index < entries_.size() ? entries_[index] : nullptr;
    }

private:
    std::vector<const ScalingRecord*> entries_;
};

#endif
