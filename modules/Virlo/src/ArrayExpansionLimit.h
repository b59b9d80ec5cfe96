#ifndef VIRLO_ARRAY_EXPANSION_LIMIT_H
#define VIRLO_ARRAY_EXPANSION_LIMIT_H

// How far the readers expand the arrays of one symbol into records of their
// own (sub-arrays, elements and what each element holds), and the reports
// of arrays that are left unexpanded.

#include <cstdint>
#include <string>
#include <vector>

// An ECU's memory holds no array that comes near this many element records;
// a damaged or hostile file that declares one would otherwise exhaust the
// process one record at a time.
constexpr uint64_t kMaxElementRecords = 4194304;

// The records that expanding an array with these element counts (outermost
// first) stores: every sub-array, and every element with recordsPerElement
// records. Saturates at the largest 64-bit value.
uint64_t ArrayExpansionRecords(const std::vector<uint64_t>& counts, uint64_t recordsPerElement);

// Whether a symbol that has stored used element records may store more.
bool FitsElementLimit(uint64_t used, uint64_t more);

// One line on standard error each: the array keeps its own record and its
// elements are left out.
void ReportElementLimit(const std::string& name);
void ReportCyclicArray(const std::string& name);

#endif
