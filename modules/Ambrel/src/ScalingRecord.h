#ifndef AMBREL_SCALING_RECORD_H
#define AMBREL_SCALING_RECORD_H

#include <any>
#include <cstdint>
#include <string>

// The COMPU_METHOD kinds a scaling entry can name.
enum CompuMethodKind : uint32_t {
    CompuMethodKind_IDENTICAL = 1,
    CompuMethodKind_LINEAR = 2,
    CompuMethodKind_RAT_FUNC = 3,
    CompuMethodKind_TAB_INTP = 4,
    CompuMethodKind_TAB_NOINTP = 5,
    CompuMethodKind_NONE = 6,
};

// One conversion of one variable, read from the scaling file.
struct ScalingRecord {
    std::string symbol;
    std::string causality;
    std::string cmName;
    uint32_t kind = CompuMethodKind_NONE;
    // std::vector<double> for LINEAR and RAT_FUNC, std::map<double, double>
    // for the tables, empty for IDENTICAL.
    std::any conversionData;
    bool enlargeType = false;
};

#endif
