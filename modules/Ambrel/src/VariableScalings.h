#ifndef AMBREL_VARIABLE_SCALINGS_H
#define AMBREL_VARIABLE_SCALINGS_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
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
// value access costs an index instead of a search of the map. The map is
// filled once at instantiation and entries are only ever added or replaced
// in place, never erased, so the resolved records stay valid; the lookups
// are redone whenever the number of variables or of map entries has changed.
class VariableScalings {
public:
    const ScalingRecord* Of(const std::vector<SymbolAccessPtr>& variables,
                              const std::map<uint64_t, ScalingRecord>& scalings, size_t index) {
        if (variables.size() != variableCount_ || scalings.size() != scalingCount_)
            Resolve(variables, scalings);
        return entries_[index];
    }

private:
    void Resolve(const std::vector<SymbolAccessPtr>& variables,
                 const std::map<uint64_t, ScalingRecord>& scalings);

    std::vector<const ScalingRecord*> entries_;
    size_t variableCount_ = 0;
    size_t scalingCount_ = 0;
};

#endif
