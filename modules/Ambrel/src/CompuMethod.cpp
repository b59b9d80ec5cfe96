#include "CompuMethod.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "ScalingRecord.h"

namespace {

using Table = std::map<double, double>;

// Magnitudes below this count as zero in every zero test.
constexpr double kZeroLimit = 1e-9;

bool IsZero(double value) { return std::fabs(value) < kZeroLimit; }

constexpr const char* kDivisionByZero = " would result in a division by zero, no scaling will be applied.";
constexpr const char* kNoUniqueSolution = " has no unique solution to return, no scaling will be applied.";
constexpr const char* kOutOfRange = " results in value out of range, no scaling will be applied.";
constexpr const char* kNoMatchingPair = " has no matching pair, no scaling will be applied.";

[[noreturn]] void Fail(const ScalingRecord& scaling, const char* reason) {
    throw std::runtime_error("COMPU_METHOD \"" + scaling.cmName + "\" defined for symbol \"" +
                             scaling.symbol + "\"" + reason);
}

// The physical value is what the master sees; "inputs" and "parameters"
// come from the master and go back to raw values. Compared as views, so
// that no strlen runs on every scaled access.
bool IsWriteDirection(const ScalingRecord& scaling) {
    const std::string_view causality = scaling.causality;
    return causality == std::string_view("inputs") || causality == std::string_view("parameters");
}

// The coefficients of LINEAR and RAT_FUNC; the scaling file admits only
// lists of the length their kind needs.
const std::vector<double>& Coefficients(const ScalingRecord& scaling) {
    return std::any_cast<const std::vector<double>&>(scaling.conversionData);
}

double Linear(double x, const ScalingRecord& scaling, bool write) {
    const auto& c = Coefficients(scaling);
    const double a = c[0];
    const double b = c[1];
    if (write) return (x - b) / a;  // a zero slope gives the IEEE quotient
    return a * x + b;
}

// raw = (c0 p² + c1 p + c2) / (c3 p² + c4 p + c5), p the physical value.
double RationalToRaw(double x, const ScalingRecord& scaling, const std::vector<double>& c) {
    const double denominator = ((c[3] * x) * x + c[4] * x) + c[5];
    if (IsZero(denominator)) Fail(scaling, kDivisionByZero);
    return (((c[0] * x) * x + c[1] * x) + c[2]) / denominator;
}

// Solves the rational function for the physical value where the zero
// pattern of the coefficients allows a unique answer; false where the
// pattern is none of the solvable ones.
bool RationalToPhysical(double x, const ScalingRecord& scaling, const std::vector<double>& c, double& result) {
    const bool z0 = IsZero(c[0]), z1 = IsZero(c[1]), z2 = IsZero(c[2]);
    const bool z3 = IsZero(c[3]), z4 = IsZero(c[4]), z5 = IsZero(c[5]);

    if (z0 && z2 && z3 && z4 && !z1 && !z5) {
        result = x * c[5] / c[1];
    } else if (z0 && z1 && z3 && z5 && !z2 && !z4) {
        result = c[2] / (c[4] * x);
    } else if (z0 && z3 && z4 && !z1 && !z2 && !z5) {
        result = (c[5] * x - c[2]) / c[1];
    } else if (z0 || z1 || z2 || z3 || z4 || z5) {
        return false;
    } else {
        // A p² + B p = c2 - x c5: linear when A vanishes, else only a
        // double root is a unique answer.
        const double a = x * c[3] - c[0];
        const double b = x * c[4] - c[1];
        if (a == 0.0) {
            if (b == 0.0) Fail(scaling, kNoUniqueSolution);
            result = (c[2] - x * c[5]) / b;
        } else {
            const double t = (c[2] - x * c[5]) / a;
            const double half = b / (a * 2);
            const double s = half * half;
            if (t + s != 0.0) Fail(scaling, kNoUniqueSolution);
            result = (c[1] - x * c[4]) / (a * 2);
        }
    }
    return true;
}

bool RationalFunction(double x, const ScalingRecord& scaling, bool write, double& result) {
    const auto& c = Coefficients(scaling);
    if (!write) return RationalToPhysical(x, scaling, c, result);
    result = RationalToRaw(x, scaling, c);
    return true;
}

// One row of the table seen from the compared column ("in") to the
// delivered one ("out"): raw to physical when reading, the reverse when
// writing. Rows stay in ascending raw order either way.
struct Row {
    double in;
    double out;
};

Row Oriented(const Table::value_type& row, bool write) {
    return write ? Row{row.second, row.first} : Row{row.first, row.second};
}

double TableWithoutInterpolation(double x, const ScalingRecord& scaling, bool write) {
    const auto& table = std::any_cast<const Table&>(scaling.conversionData);
    for (const auto& entry : table) {
        const Row row = Oriented(entry, write);
        if (row.in == x) return row.out;
    }
    Fail(scaling, kNoMatchingPair);
}

bool TableWithInterpolation(double x, const ScalingRecord& scaling, bool write, double& result) {
    const auto& table = std::any_cast<const Table&>(scaling.conversionData);
    for (const auto& entry : table) {
        const Row row = Oriented(entry, write);
        if (row.in == x) {
            result = row.out;
            return true;
        }
    }
    if (table.empty()) return false;

    // Rows stay in raw order, so when writing the compared (physical)
    // column may fall as well as rise: a segment encloses x between its two
    // ends in either order, and the range runs between the first and the
    // last row's values in either order.
    const double first = Oriented(*table.begin(), write).in;
    const double last = Oriented(*table.rbegin(), write).in;
    const double lowest = std::min(first, last);
    const double highest = std::max(first, last);
    for (auto it = table.begin(); it != table.end(); ++it) {
        const auto next = std::next(it);
        const Row r = Oriented(*it, write);
        if (next != table.end()) {
            const Row n = Oriented(*next, write);
            if (std::min(r.in, n.in) <= x && x <= std::max(r.in, n.in)) {
                if (IsZero(n.in - r.in)) Fail(scaling, kDivisionByZero);
                result = r.out + ((x - r.in) * (n.out - r.out)) / (n.in - r.in);
                return true;
            }
        }
        // The last row has no segment of its own, so a one-row table that
        // did not match exactly ends here for every comparable value.
        if (x < lowest || x > highest) Fail(scaling, kOutOfRange);
    }
    return false;  // no comparison accepts the value (NaN)
}

// Stores the converted value in result; false where the rule leaves the
// value as it is. (A flag beside the double, rather than an optional
// result, keeps every scaled access clear of a store-forwarding stall.)
bool Convert(double x, const ScalingRecord& scaling, double& result) {
    const bool write = IsWriteDirection(scaling);
    switch (scaling.kind) {
        case CompuMethodKind_LINEAR:
            result = Linear(x, scaling, write);
            return true;
        case CompuMethodKind_RAT_FUNC:
            return RationalFunction(x, scaling, write, result);
        case CompuMethodKind_TAB_INTP:
            return TableWithInterpolation(x, scaling, write, result);
        case CompuMethodKind_TAB_NOINTP:
            result = TableWithoutInterpolation(x, scaling, write);
            return true;
        default:
            return false;
    }
}

// Truncation toward zero where the result fits; beyond the range the
// nearest limit, and 0 for NaN, so that no conversion is undefined.
int64_t TruncateToInt64(double value) {
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (std::isnan(value)) return 0;
    if (value >= kTwoTo63) return std::numeric_limits<int64_t>::max();
    if (value < -kTwoTo63) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}

}  // namespace

double ApplyCompuMethod(double value, const ScalingRecord& scaling) {
    double converted;
    return Convert(value, scaling, converted) ? converted : value;
}

int64_t ApplyCompuMethodInteger(int64_t value, const ScalingRecord& scaling) {
    double converted;
    return Convert(static_cast<double>(value), scaling, converted) ? TruncateToInt64(converted) : value;
}
