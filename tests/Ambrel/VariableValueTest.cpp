#include "VariableValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <vector>

#include "LoggingInstance.h"
#include "SymbolAccessTypes.h"

namespace {

template <typename T>
uint64_t AddressOf(T& variable) {
    return reinterpret_cast<uint64_t>(&variable);
}

// raw = (physical - 1) / 2 on the way in, physical = 2 raw + 1 on the way out.
ScalingRecord Linear(const std::string& causality) {
    ScalingRecord scaling;
    scaling.symbol = "speed";
    scaling.causality = causality;
    scaling.cmName = "CM_Linear";
    scaling.kind = CompuMethodKind_LINEAR;
    scaling.conversionData = std::vector<double>{2.0, 1.0};
    return scaling;
}

// A table without the value asked for: every conversion fails.
ScalingRecord Failing(const std::string& causality) {
    ScalingRecord scaling;
    scaling.symbol = "speed";
    scaling.causality = causality;
    scaling.cmName = "CM_100%d";
    scaling.kind = CompuMethodKind_TAB_NOINTP;
    scaling.conversionData = std::map<double, double>{{1000.0, 2000.0}};
    return scaling;
}

class VariableValue : public ::testing::Test {
protected:
    void SetUp() override {
        auto& variables = logging.instance.variables;
        variables.push_back(MakeSymbolAccess_f64(AddressOf(f64)));
        variables.push_back(MakeSymbolAccess_s32(AddressOf(s32), 0, 0, 0));
        variables.push_back(MakeSymbolAccess_bool(AddressOf(flag)));
        variables.push_back(MakeSymbolAccess_null(0));
    }

    // As instantiation does: the scalings are resolved once the file is read.
    void Scale(uint64_t address, const ScalingRecord& scaling) {
        logging.instance.scalings[address] = scaling;
        logging.instance.variableScalings.Resolve(logging.instance.variables, logging.instance.scalings);
    }
    SymbolValue Get(int32_t index, SymbolValueKind kind = SymbolValueKind_none) {
        return GetVariableValue(logging.instance, index, kind, &status);
    }
    void Set(int32_t index, SymbolValue value, SymbolValueKind kind = SymbolValueKind_none) {
        const fmi2Status written = SetVariableValue(logging.instance, index, value, kind);
        if (written != fmi2OK) status = written;
    }

    // fmi2Warning once a conversion has failed.
    fmi2Status status = fmi2OK;

    double f64 = 4.0;
    int32_t s32 = 7;
    uint8_t flag = 0;
    ambrel_test::LoggingInstance logging{"vecu"};
};

TEST_F(VariableValue, IndexesOutsideTheListReadZeroAndIgnoreWrites) {
    for (int32_t index : {-1, 4, std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min()}) {
        EXPECT_EQ(Get(index).word, 0u) << index;
        Set(index, IntegerSlot(99));
    }
    EXPECT_EQ(f64, 4.0);
    EXPECT_EQ(s32, 7);
    EXPECT_TRUE(logging.messages.empty());
}

TEST_F(VariableValue, WithoutScalingValuesPassAsTheAccessorHasThem) {
    EXPECT_EQ(Get(0).real, 4.0);
    EXPECT_EQ(Get(1).integer, 7);
    Set(0, RealSlot(0.25));
    Set(1, IntegerSlot(-3));
    EXPECT_EQ(f64, 0.25);
    EXPECT_EQ(s32, -3);
    EXPECT_EQ(Get(3).word, 0u);
}

TEST_F(VariableValue, OutputsAreConvertedOnReadOnly) {
    Scale(AddressOf(f64), Linear("outputs"));
    Scale(AddressOf(s32), Linear("outputs"));
    EXPECT_EQ(Get(0).real, 9.0);
    EXPECT_EQ(Get(1).integer, 15);
    Set(0, RealSlot(5.0));
    Set(1, IntegerSlot(5));
    EXPECT_EQ(f64, 5.0);
    EXPECT_EQ(s32, 5);
}

TEST_F(VariableValue, InputsAndParametersAreConvertedOnWriteOnly) {
    Scale(AddressOf(f64), Linear("inputs"));
    Scale(AddressOf(s32), Linear("parameters"));
    EXPECT_EQ(Get(0).real, 4.0);
    EXPECT_EQ(Get(1).integer, 7);
    Set(0, RealSlot(8.0));
    Set(1, IntegerSlot(9));
    EXPECT_EQ(f64, 3.5);
    EXPECT_EQ(s32, 4);
}

TEST_F(VariableValue, CausalityIsComparedExactly) {
    Scale(AddressOf(f64), Linear("Outputs"));
    Scale(AddressOf(s32), Linear("input"));
    EXPECT_EQ(Get(0).real, 4.0);
    Set(1, IntegerSlot(9));
    EXPECT_EQ(s32, 9);
}

TEST_F(VariableValue, FailedReadConversionDeliversTheRawValueAndWarnsOnce) {
    Scale(AddressOf(f64), Failing("outputs"));
    logging.instance.loggingOn = false;
    EXPECT_EQ(Get(0).real, 4.0);
    EXPECT_EQ(status, fmi2Warning);
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_EQ(logging.messages[0].status, fmi2Warning);
    EXPECT_EQ(logging.messages[0].category, "warning");
    EXPECT_EQ(logging.messages[0].instanceName, "vecu");
    // The exception's text arrives as it is, '%' included.
    EXPECT_NE(logging.messages[0].text.find("CM_100%d"), std::string::npos) << logging.messages[0].text;
}

TEST_F(VariableValue, FailedWriteConversionLeavesTheVariableAndWarnsOnce) {
    Scale(AddressOf(s32), Failing("inputs"));
    logging.instance.loggingOn = false;
    Set(1, IntegerSlot(12));
    EXPECT_EQ(s32, 7);
    EXPECT_EQ(status, fmi2Warning);
    ASSERT_EQ(logging.messages.size(), 1u);
    EXPECT_EQ(logging.messages[0].status, fmi2Warning);
    EXPECT_NE(logging.messages[0].text.find("CM_100%d"), std::string::npos);
}

TEST_F(VariableValue, NullAccessorIsNeitherConvertedNorWritten) {
    Scale(0, Failing("inputs"));
    Set(3, IntegerSlot(5));
    EXPECT_EQ(Get(3).word, 0u);
    EXPECT_TRUE(logging.messages.empty());
}

TEST_F(VariableValue, OtherKindCallersGetValuesNotBytes) {
    // An integer variable asked for as Real, a real one as Integer.
    EXPECT_EQ(Get(1, SymbolValueKind_real).real, 7.0);
    f64 = -2.9;
    EXPECT_EQ(Get(0, SymbolValueKind_integer).integer, -2);
    EXPECT_EQ(Get(0, SymbolValueKind_real).real, -2.9);
    EXPECT_EQ(Get(1, SymbolValueKind_integer).integer, 7);

    Set(1, RealSlot(3.7), SymbolValueKind_real);
    EXPECT_EQ(s32, 3);
    Set(0, IntegerSlot(-4), SymbolValueKind_integer);
    EXPECT_EQ(f64, -4.0);
    Set(2, RealSlot(0.5), SymbolValueKind_real);  // truncated to 0
    EXPECT_EQ(flag, 0);
    Set(2, RealSlot(2.0), SymbolValueKind_real);
    EXPECT_EQ(flag, 1);
}

TEST_F(VariableValue, OtherKindConversionSaturatesAndMapsNanToZero) {
    int64_t wide = 0;
    logging.instance.variables.push_back(MakeSymbolAccess_s64(AddressOf(wide), 0, 0, 0));
    Set(4, RealSlot(1e300), SymbolValueKind_real);
    EXPECT_EQ(wide, std::numeric_limits<int64_t>::max());
    Set(4, RealSlot(-1e300), SymbolValueKind_real);
    EXPECT_EQ(wide, std::numeric_limits<int64_t>::min());
    Set(4, RealSlot(std::nan("")), SymbolValueKind_real);
    EXPECT_EQ(wide, 0);
    f64 = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Get(0, SymbolValueKind_integer).integer, std::numeric_limits<int64_t>::max());
}

TEST_F(VariableValue, OtherKindConversionWrapsTheScaling) {
    // Read: raw 7 scaled to 15, then handed to a Real caller as 15.0.
    Scale(AddressOf(s32), Linear("outputs"));
    EXPECT_EQ(Get(1, SymbolValueKind_real).real, 15.0);
    // Write: 8.9 from a Real caller becomes the integer 8, scaled back to 3.
    Scale(AddressOf(s32), Linear("inputs"));
    Set(1, RealSlot(8.9), SymbolValueKind_real);
    EXPECT_EQ(s32, 3);
}

}  // namespace
