#include "VariableScalings.h"

void VariableScalings::Resolve(const std::vector<SymbolAccessPtr>& variables,
                               const std::map<uint64_t, ScalingRecord>& scalings) {
    entries_.assign(variables.size(), nullptr);
    for (size_t index = 0; index < variables.size(); ++index) {
        const auto found = scalings.find(variables[index]->Address());
        if (found != scalings.end()) entries_[index] = &found->second;
    }
}
