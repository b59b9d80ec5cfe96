#include "ArrayExpansionLimit.h"

#include <cstdio>
#include <limits>

namespace {

constexpr uint64_t kSaturated = std::numeric_limits<uint64_t>::max();

uint64_t SaturatingMultiply(uint64_t a, uint64_t b) {
    return a != 0 && b > kSaturated / a ? kSaturated : a * b;
}

uint64_t SaturatingAdd(uint64_t a, uint64_t b) { return b > kSaturated - a ? kSaturated : a + b; }

}  // namespace

uint64_t ArrayExpansionRecords(const std::vector<uint64_t>& counts, uint64_t recordsPerElement) {
    uint64_t records = 0;
    uint64_t level = 1;
    for (size_t i = 0; i < counts.size(); ++i) {
        level = SaturatingMultiply(level, counts[i]);
        const bool elements = i + 1 == counts.size();
        records = SaturatingAdd(records, elements ? SaturatingMultiply(level, recordsPerElement) : level);
    }
    return records;
}

bool FitsElementLimit(uint64_t used, uint64_t more) {
    return used <= kMaxElementRecords && more <= kMaxElementRecords - used;
}

void ReportElementLimit(const std::string& name) {
    std::fprintf(stderr, "The array %s takes more than %llu element records; its elements are left out.\n",
                 name.c_str(), static_cast<unsigned long long>(kMaxElementRecords));
}

void ReportCyclicArray(const std::string& name) {
    std::fprintf(stderr, "The element type of the array %s leads back to the array; its elements are left out.\n",
                 name.c_str());
}
