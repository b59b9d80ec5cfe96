#ifndef VIRLO_ARRAY_EXPANSION_H
#define VIRLO_ARRAY_EXPANSION_H

// What expanding an array into records of its own (sub-arrays, elements and
// what each element holds) costs, and the reports of arrays that are left
// unexpanded.

#include <cstdint>
#include <string>
#include <vector>

#include "ExpansionBudget.h"

// What expanding an array named with nameLength characters, with these
// element counts (outermost first), stores: every sub-array, and every
// element with what the walk of the first element stored. An upper bound;
// saturates at the largest 64-bit value.
ExpansionCost ArrayExpansionCost(const std::vector<uint64_t>& counts, uint64_t nameLength,
                                 const ExpansionCost& firstElement);

// One line on standard error each: the array keeps its own record and its
// elements are left out.
void ReportElementsLeftOut(const std::string& name, const std::string& bound);
void ReportCyclicArray(const std::string& name);

#endif
