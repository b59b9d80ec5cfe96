#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <map>
#include <random>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "CompuMethod.h"
#include "ScalingRecord.h"

namespace {

using Table = std::map<double, double>;

const char* const kDivisionByZero = " would result in a division by zero, no scaling will be applied.";
const char* const kNoUniqueSolution = " has no unique solution to return, no scaling will be applied.";
const char* const kOutOfRange = " results in value out of range, no scaling will be applied.";
const char* const kNoMatchingPair = " has no matching pair, no scaling will be applied.";

ScalingRecord Record(uint32_t kind, std::any data, const std::string& causality) {
    ScalingRecord record;
    record.symbol = "sym";
    record.cmName = "CM";
    record.causality = causality;
    record.kind = kind;
    record.conversionData = std::move(data);
    return record;
}

ScalingRecord Linear(double a, double b, const std::string& causality) {
    return Record(CompuMethodKind_LINEAR, std::vector<double>{a, b}, causality);
}

ScalingRecord RatFunc(std::vector<double> c, const std::string& causality) {
    return Record(CompuMethodKind_RAT_FUNC, std::move(c), causality);
}

ScalingRecord Tab(uint32_t kind, Table table, const std::string& causality) {
    return Record(kind, std::move(table), causality);
}

// The whole message the conversion throws, or "" when it does not throw.
template <typename Value>
std::string Failure(Value value, const ScalingRecord& record) {
    try {
        if constexpr (std::is_same_v<Value, double>) {
            ApplyCompuMethod(value, record);
        } else {
            ApplyCompuMethodInteger(value, record);
        }
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

std::string Message(const char* reason) { return std::string("COMPU_METHOD \"CM\" defined for symbol \"sym\"") + reason; }

TEST(CompuMethod, UnconvertingKindsReturnTheValueAsItIs) {
    const int64_t large = (int64_t{1} << 62) + 1;  // no double holds it
    for (uint32_t kind : {uint32_t{CompuMethodKind_IDENTICAL}, uint32_t{CompuMethodKind_NONE}, 0u, 7u, 99u}) {
        for (const char* causality : {"outputs", "inputs"}) {
            const ScalingRecord record = Record(kind, {}, causality);
            EXPECT_EQ(ApplyCompuMethod(-3.25, record), -3.25);
            EXPECT_EQ(ApplyCompuMethodInteger(large, record), large);
            EXPECT_EQ(ApplyCompuMethodInteger(INT64_MIN, record), INT64_MIN);
        }
    }
}

TEST(CompuMethod, OnlyInputsAndParametersConvertBackToRaw) {
    EXPECT_EQ(ApplyCompuMethod(3.0, Linear(2.0, 1.0, "outputs")), 7.0);
    EXPECT_EQ(ApplyCompuMethod(7.0, Linear(2.0, 1.0, "inputs")), 3.0);
    EXPECT_EQ(ApplyCompuMethod(7.0, Linear(2.0, 1.0, "parameters")), 3.0);
    // Other texts, letter case included, read in the forward direction.
    EXPECT_EQ(ApplyCompuMethod(3.0, Linear(2.0, 1.0, "Inputs")), 7.0);
    EXPECT_EQ(ApplyCompuMethod(3.0, Linear(2.0, 1.0, "local")), 7.0);
}

TEST(CompuMethod, LinearWithZeroSlopeGivesTheIeeeQuotient) {
    EXPECT_EQ(ApplyCompuMethod(5.0, Linear(0.0, 1.0, "inputs")), std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isnan(ApplyCompuMethod(1.0, Linear(0.0, 1.0, "inputs"))));
}

TEST(CompuMethod, IntegerResultsTruncateTowardZero) {
    const ScalingRecord half = Linear(0.5, 0.0, "outputs");
    EXPECT_EQ(ApplyCompuMethodInteger(3, half), 1);
    EXPECT_EQ(ApplyCompuMethodInteger(-3, half), -1);
    EXPECT_EQ(ApplyCompuMethodInteger(7, Linear(2.0, 1.0, "inputs")), 3);
}

TEST(CompuMethod, IntegerResultsOutsideTheRangeSaturateAndNanGivesZero) {
    EXPECT_EQ(ApplyCompuMethodInteger(5, Linear(0.0, 1.0, "inputs")), INT64_MAX);
    EXPECT_EQ(ApplyCompuMethodInteger(-5, Linear(0.0, 1.0, "inputs")), INT64_MIN);
    EXPECT_EQ(ApplyCompuMethodInteger(1, Linear(0.0, 1.0, "inputs")), 0);
    EXPECT_EQ(ApplyCompuMethodInteger(INT64_MAX, Linear(4.0, 0.0, "outputs")), INT64_MAX);
    EXPECT_EQ(ApplyCompuMethodInteger(INT64_MIN, Linear(4.0, 0.0, "outputs")), INT64_MIN);
    // -2^63 itself is in range; 2^63 is the first value above it.
    EXPECT_EQ(ApplyCompuMethodInteger(INT64_MIN, Linear(1.0, 0.0, "outputs")), INT64_MIN);
    EXPECT_EQ(ApplyCompuMethodInteger(INT64_MAX, Linear(1.0, 0.0, "outputs")), INT64_MAX);
}

TEST(CompuMethod, RatFuncStraightLineBothWays) {
    const std::vector<double> c{0.0, 2.0, 0.0, 0.0, 0.0, 1.0};
    EXPECT_EQ(ApplyCompuMethod(3.0, RatFunc(c, "inputs")), 6.0);
    EXPECT_EQ(ApplyCompuMethod(6.0, RatFunc(c, "outputs")), 3.0);
}

TEST(CompuMethod, RatFuncReciprocalBothWays) {
    const std::vector<double> c{0.0, 0.0, 8.0, 0.0, 2.0, 0.0};
    EXPECT_EQ(ApplyCompuMethod(2.0, RatFunc(c, "inputs")), 2.0);
    EXPECT_EQ(ApplyCompuMethod(2.0, RatFunc(c, "outputs")), 2.0);
    EXPECT_EQ(ApplyCompuMethod(1.0, RatFunc(c, "outputs")), 4.0);
}

TEST(CompuMethod, RatFuncOffsetLineReads) {
    // raw = (2p + 4) / 1, so p = (raw - 4) / 2.
    EXPECT_EQ(ApplyCompuMethod(10.0, RatFunc({0.0, 2.0, 4.0, 0.0, 0.0, 1.0}, "outputs")), 3.0);
}

TEST(CompuMethod, CoefficientsBelowTheZeroLimitCountAsZero) {
    // 9.9e-10 is zero, so the straight-line pattern applies; 1e-9 is not.
    EXPECT_EQ(ApplyCompuMethod(6.0, RatFunc({9.9e-10, 2.0, -9.9e-10, 9.9e-10, 0.0, 1.0}, "outputs")), 3.0);
    EXPECT_EQ(ApplyCompuMethod(6.0, RatFunc({1e-9, 2.0, 0.0, 0.0, 0.0, 1.0}, "outputs")), 6.0);
}

TEST(CompuMethod, RatFuncWriteTestsTheDenominatorAgainstTheZeroLimit) {
    // d = c5 at x = 0.
    EXPECT_EQ(Failure(0.0, RatFunc({0.0, 0.0, 1.0, 0.0, 0.0, 5e-10}, "inputs")), Message(kDivisionByZero));
    EXPECT_EQ(Failure(0.0, RatFunc({0.0, 0.0, 1.0, 0.0, 0.0, -5e-10}, "parameters")), Message(kDivisionByZero));
    EXPECT_EQ(ApplyCompuMethod(0.0, RatFunc({0.0, 0.0, 1.0, 0.0, 0.0, 1e-9}, "inputs")), 1.0 / 1e-9);
    EXPECT_EQ(Failure(int64_t{0}, RatFunc({0.0, 0.0, 1.0, 0.0, 0.0, 5e-10}, "inputs")), Message(kDivisionByZero));
}

TEST(CompuMethod, RatFuncReadReturnsOnlyADoubleRoot) {
    // At raw 0 the quadratic p² - 4p + 4 has the double root 2.
    const std::vector<double> doubleRoot{1.0, -4.0, 4.0, 1.0, 1.0, 1.0};
    EXPECT_EQ(ApplyCompuMethod(0.0, RatFunc(doubleRoot, "outputs")), 2.0);
    EXPECT_EQ(ApplyCompuMethodInteger(0, RatFunc(doubleRoot, "outputs")), 2);
    // At raw 0, p² - 5p + 4 has the roots 1 and 4; p² + 1 has none.
    EXPECT_EQ(Failure(0.0, RatFunc({1.0, -5.0, 4.0, 1.0, 1.0, 1.0}, "outputs")), Message(kNoUniqueSolution));
    EXPECT_EQ(Failure(0.0, RatFunc({1.0, 1e-3, 1.0, 1.0, 1.0, 1.0}, "outputs")), Message(kNoUniqueSolution));
}

TEST(CompuMethod, RatFuncReadWithVanishingSquareTermSolvesTheLine) {
    // At raw 1 the square terms cancel: (1 - 1)p² + (1·3 - 1)p = 5 - 1·1.
    EXPECT_EQ(ApplyCompuMethod(1.0, RatFunc({1.0, 1.0, 5.0, 1.0, 3.0, 1.0}, "outputs")), 2.0);
    // Both terms cancel: every p solves it.
    EXPECT_EQ(Failure(1.0, RatFunc({1.0, 3.0, 5.0, 1.0, 3.0, 1.0}, "outputs")), Message(kNoUniqueSolution));
}

TEST(CompuMethod, RatFuncReadWithAnUnsolvedPatternLeavesTheValue) {
    EXPECT_EQ(ApplyCompuMethod(6.0, RatFunc({0.0, 2.0, 0.0, 1.0, 0.0, 1.0}, "outputs")), 6.0);
    EXPECT_EQ(ApplyCompuMethod(6.0, RatFunc({0.0, 0.0, 0.0, 0.0, 0.0, 0.0}, "outputs")), 6.0);
    const int64_t large = (int64_t{1} << 62) + 1;
    EXPECT_EQ(ApplyCompuMethodInteger(large, RatFunc({0.0, 2.0, 0.0, 1.0, 0.0, 1.0}, "outputs")), large);
}

TEST(CompuMethod, TableWithoutInterpolationMatchesExactly) {
    const Table table{{0.0, 10.0}, {1.0, 20.0}};
    EXPECT_EQ(ApplyCompuMethod(1.0, Tab(CompuMethodKind_TAB_NOINTP, table, "outputs")), 20.0);
    EXPECT_EQ(ApplyCompuMethod(-0.0, Tab(CompuMethodKind_TAB_NOINTP, table, "outputs")), 10.0);
    EXPECT_EQ(ApplyCompuMethod(10.0, Tab(CompuMethodKind_TAB_NOINTP, table, "inputs")), 0.0);
    EXPECT_EQ(Failure(0.5, Tab(CompuMethodKind_TAB_NOINTP, table, "outputs")), Message(kNoMatchingPair));
    EXPECT_EQ(Failure(1.0, Tab(CompuMethodKind_TAB_NOINTP, table, "inputs")), Message(kNoMatchingPair));
    EXPECT_EQ(Failure(std::nan(""), Tab(CompuMethodKind_TAB_NOINTP, table, "outputs")), Message(kNoMatchingPair));
    EXPECT_EQ(Failure(0.0, Tab(CompuMethodKind_TAB_NOINTP, {}, "outputs")), Message(kNoMatchingPair));
}

TEST(CompuMethod, TableWithoutInterpolationWritesTheLowestRawOfEqualPhysicalValues) {
    const Table table{{5.0, 1.0}, {2.0, 1.0}, {9.0, 1.0}};
    EXPECT_EQ(ApplyCompuMethod(1.0, Tab(CompuMethodKind_TAB_NOINTP, table, "inputs")), 2.0);
    EXPECT_EQ(ApplyCompuMethodInteger(1, Tab(CompuMethodKind_TAB_NOINTP, table, "inputs")), 2);
}

TEST(CompuMethod, TableWithInterpolation) {
    const Table table{{0.0, 0.0}, {10.0, 100.0}};
    const ScalingRecord read = Tab(CompuMethodKind_TAB_INTP, table, "outputs");
    const ScalingRecord write = Tab(CompuMethodKind_TAB_INTP, table, "inputs");
    EXPECT_EQ(ApplyCompuMethod(2.5, read), 25.0);
    EXPECT_EQ(ApplyCompuMethod(10.0, read), 100.0);
    EXPECT_EQ(ApplyCompuMethod(50.0, write), 5.0);
    EXPECT_EQ(Failure(-1.0, read), Message(kOutOfRange));
    EXPECT_EQ(Failure(11.0, read), Message(kOutOfRange));
    EXPECT_EQ(Failure(100.5, write), Message(kOutOfRange));
    EXPECT_EQ(ApplyCompuMethodInteger(3, read), 30);
    EXPECT_EQ(ApplyCompuMethodInteger(55, write), 5);  // 5.5 truncated
}

TEST(CompuMethod, TableWithInterpolationAcrossSeveralSegments) {
    const ScalingRecord read =
        Tab(CompuMethodKind_TAB_INTP, {{0.0, 0.0}, {1.0, 10.0}, {3.0, 0.0}, {4.0, 40.0}}, "outputs");
    EXPECT_EQ(ApplyCompuMethod(0.5, read), 5.0);
    EXPECT_EQ(ApplyCompuMethod(2.0, read), 5.0);
    EXPECT_EQ(ApplyCompuMethod(3.5, read), 20.0);
    // Writing walks the segments in raw order; the first that encloses wins.
    const ScalingRecord write =
        Tab(CompuMethodKind_TAB_INTP, {{0.0, 0.0}, {1.0, 10.0}, {3.0, 0.0}, {4.0, 40.0}}, "inputs");
    EXPECT_EQ(ApplyCompuMethod(5.0, write), 0.5);
    EXPECT_EQ(ApplyCompuMethod(20.0, write), 3.5);
}

TEST(CompuMethod, TableWithInterpolationEdgeTables) {
    EXPECT_EQ(ApplyCompuMethod(7.0, Tab(CompuMethodKind_TAB_INTP, {}, "outputs")), 7.0);
    EXPECT_EQ(ApplyCompuMethodInteger(7, Tab(CompuMethodKind_TAB_INTP, {}, "inputs")), 7);
    const ScalingRecord one = Tab(CompuMethodKind_TAB_INTP, {{1.0, 2.0}}, "outputs");
    EXPECT_EQ(ApplyCompuMethod(1.0, one), 2.0);
    EXPECT_EQ(Failure(0.0, one), Message(kOutOfRange));
    EXPECT_EQ(Failure(5.0, one), Message(kOutOfRange));
    // NaN passes no comparison and stays as it is.
    EXPECT_TRUE(std::isnan(ApplyCompuMethod(std::nan(""), one)));
    EXPECT_TRUE(std::isnan(
        ApplyCompuMethod(std::nan(""), Tab(CompuMethodKind_TAB_INTP, {{0.0, 0.0}, {1.0, 1.0}}, "outputs"))));
}

TEST(CompuMethod, TableWithInterpolationRefusesSegmentsNarrowerThanTheZeroLimit) {
    const ScalingRecord read = Tab(CompuMethodKind_TAB_INTP, {{1.0, 0.0}, {1.0 + 5e-10, 1.0}}, "outputs");
    EXPECT_EQ(Failure(1.0 + 2e-10, read), Message(kDivisionByZero));
    // Writing compares the physical column.
    const ScalingRecord write = Tab(CompuMethodKind_TAB_INTP, {{0.0, 1.0}, {1.0, 1.0 + 5e-10}}, "inputs");
    EXPECT_EQ(Failure(1.0 + 2e-10, write), Message(kDivisionByZero));
    // A segment just as wide as the limit still divides.
    const ScalingRecord wide = Tab(CompuMethodKind_TAB_INTP, {{0.0, 0.0}, {1e-9, 1.0}}, "outputs");
    EXPECT_DOUBLE_EQ(ApplyCompuMethod(0.5e-9, wide), 0.5);
}

TEST(CompuMethod, FallingTableConvertsBothWays) {
    const Table falling{{0.0, 100.0}, {10.0, 0.0}, {20.0, -50.0}};
    const ScalingRecord write = Tab(CompuMethodKind_TAB_INTP, falling, "inputs");
    EXPECT_EQ(ApplyCompuMethod(50.0, write), 5.0);
    EXPECT_EQ(ApplyCompuMethod(-25.0, write), 15.0);
    EXPECT_EQ(ApplyCompuMethod(100.0, write), 0.0);
    EXPECT_EQ(ApplyCompuMethodInteger(55, write), 4);  // 4.5 truncated
    EXPECT_EQ(Failure(100.5, write), Message(kOutOfRange));
    EXPECT_EQ(Failure(-50.5, write), Message(kOutOfRange));
    EXPECT_EQ(ApplyCompuMethod(5.0, Tab(CompuMethodKind_TAB_INTP, falling, "outputs")), 50.0);
    // A physical column that falls closer than the zero limit divides by zero.
    const ScalingRecord narrow = Tab(CompuMethodKind_TAB_INTP, {{0.0, 1.0 + 5e-10}, {1.0, 1.0}}, "inputs");
    EXPECT_EQ(Failure(1.0 + 2e-10, narrow), Message(kDivisionByZero));
}

TEST(CompuMethod, MessageShowsAnEmptyCmNameAsTwoQuotes) {
    ScalingRecord record = Tab(CompuMethodKind_TAB_NOINTP, {}, "outputs");
    record.cmName = "";
    record.symbol = "a.b[2]";
    EXPECT_EQ(Failure(1.0, record),
              "COMPU_METHOD \"\" defined for symbol \"a.b[2]\" has no matching pair, no scaling will be applied.");
}

TEST(CompuMethod, WrittenValuesReadBackWithinRounding) {
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> values(-1e6, 1e6);
    std::uniform_real_distribution<double> coefficients(0.001, 100.0);
    for (int i = 0; i < 2000; ++i) {
        const double value = values(random);
        const double a = coefficients(random);
        const double b = values(random);
        const double c1 = coefficients(random);
        const double c2 = values(random);
        const double c4 = coefficients(random);
        const double c5 = coefficients(random);
        struct Pair {
            std::vector<double> coefficients;
            uint32_t kind;
        };
        const Pair pairs[] = {
            {{a, b}, CompuMethodKind_LINEAR},
            {{0.0, c1, 0.0, 0.0, 0.0, c5}, CompuMethodKind_RAT_FUNC},
            {{0.0, c1, c2, 0.0, 0.0, c5}, CompuMethodKind_RAT_FUNC},
        };
        for (const Pair& pair : pairs) {
            const double raw = ApplyCompuMethod(value, Record(pair.kind, pair.coefficients, "inputs"));
            const double back = ApplyCompuMethod(raw, Record(pair.kind, pair.coefficients, "outputs"));
            EXPECT_NEAR(back, value, 1e-9 * (std::fabs(value) + std::fabs(b) + std::fabs(c2)) + 1e-9)
                << "kind " << pair.kind;
        }
        // The reciprocal pattern, away from zero.
        const double positive = std::fabs(value) + 1.0;
        const std::vector<double> reciprocal{0.0, 0.0, c1, 0.0, c4, 0.0};
        const double raw = ApplyCompuMethod(positive, Record(CompuMethodKind_RAT_FUNC, reciprocal, "inputs"));
        EXPECT_NEAR(ApplyCompuMethod(raw, Record(CompuMethodKind_RAT_FUNC, reciprocal, "outputs")), positive,
                    1e-12 * positive);
    }
}

}  // namespace
