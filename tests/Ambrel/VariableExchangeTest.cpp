#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "FmiInternalState.h"
#include "VariableExchange.h"

namespace {

// A variable held in the test itself, of a chosen value kind.
struct SlotVariable : SymbolAccess {
    SymbolValue stored;
    SymbolValueKind kind;

    explicit SlotVariable(SymbolValueKind kind_) : SymbolAccess(0, 0, 0, 0), kind(kind_) {
        stored.word = 0;
    }
    void Write(SymbolValue& value) override { stored = value; }
    SymbolValue Read() override { return stored; }
    SymbolValueKind ValueKind() override { return kind; }
};

struct VariableExchangeTest : ::testing::Test {
    FmiInternalState instance;
    SlotVariable* real = Add(SymbolValueKind_real);        // value reference 1
    SlotVariable* integer = Add(SymbolValueKind_integer);  // value reference 2

    SlotVariable* Add(SymbolValueKind kind) {
        instance.variables.push_back(std::make_unique<SlotVariable>(kind));
        return static_cast<SlotVariable*>(instance.variables.back().get());
    }
};

}  // namespace

TEST(ValueSlot, IntegersAreTheLowWordAndBooleansTheTruthOfTheValue) {
    SymbolValue slot;
    slot.integer = 0x1234567880000001LL;
    EXPECT_EQ(IntegerFromSlot(slot), static_cast<fmi2Integer>(0x80000001u));
    EXPECT_EQ(SlotFromInteger(-5).integer, -5);
    EXPECT_EQ(SlotFromBoolean(7).integer, 1);
    EXPECT_EQ(SlotFromBoolean(fmi2False).integer, 0);
    EXPECT_EQ(BooleanFromSlot(SlotFromReal(-0.0)), fmi2False);
    EXPECT_EQ(BooleanFromSlot(SlotFromReal(0.25)), fmi2True);
    EXPECT_EQ(BooleanFromSlot(SlotFromReal(std::nan(""))), fmi2True);
}

TEST_F(VariableExchangeTest, ValuesTravelByValueReferenceInArrayOrder) {
    const fmi2ValueReference refs[] = {2, 1};
    const fmi2Integer integers[] = {-7, 3};
    ASSERT_EQ(SetInteger(instance, refs, 2, integers), fmi2OK);
    EXPECT_EQ(integer->stored.integer, -7);
    EXPECT_EQ(real->stored.real, 3.0);

    const fmi2Real reals[] = {2.5};
    ASSERT_EQ(SetReal(instance, refs + 1, 1, reals), fmi2OK);
    fmi2Real readReals[2] = {};
    ASSERT_EQ(GetReal(instance, refs, 2, readReals), fmi2OK);
    EXPECT_EQ(readReals[0], -7.0);
    EXPECT_EQ(readReals[1], 2.5);
}

TEST_F(VariableExchangeTest, BooleansReadTheValueNotItsBits) {
    const fmi2ValueReference refs[] = {1, 2};
    real->stored.real = -0.0;
    integer->stored.integer = 1LL << 40;
    fmi2Boolean flags[2] = {7, 7};
    ASSERT_EQ(GetBoolean(instance, refs, 2, flags), fmi2OK);
    EXPECT_EQ(flags[0], fmi2False);
    EXPECT_EQ(flags[1], fmi2True);

    const fmi2Boolean set[] = {5, 0};
    ASSERT_EQ(SetBoolean(instance, refs, 2, set), fmi2OK);
    EXPECT_EQ(real->stored.real, 1.0);
    EXPECT_EQ(integer->stored.integer, 0);
}

TEST_F(VariableExchangeTest, AnUnknownReferenceFailsTheWholeCallBeforeAnythingIsTouched) {
    real->stored.real = 1.5;
    const fmi2ValueReference refs[] = {1, 3};
    fmi2Real values[2] = {9.0, 9.0};
    EXPECT_EQ(GetReal(instance, refs, 2, values), fmi2Error);
    EXPECT_EQ(values[0], 9.0);
    const fmi2ValueReference writes[] = {2, 0};
    const fmi2Integer integers[] = {4, 4};
    EXPECT_EQ(SetInteger(instance, writes, 2, integers), fmi2Error);
    EXPECT_EQ(integer->stored.word, 0u);
    const fmi2ValueReference huge[] = {0x80000001u};
    EXPECT_EQ(SetReal(instance, huge, 1, values), fmi2Error);
    EXPECT_EQ(real->stored.real, 1.5);
}

TEST_F(VariableExchangeTest, MissingArraysAreRefusedUnlessNothingIsAsked) {
    const fmi2ValueReference refs[] = {1};
    fmi2Real value = 4.0;
    EXPECT_EQ(GetReal(instance, nullptr, 1, &value), fmi2Error);
    EXPECT_EQ(GetReal(instance, refs, 1, nullptr), fmi2Error);
    EXPECT_EQ(SetInteger(instance, refs, 1, nullptr), fmi2Error);
    EXPECT_EQ(GetReal(instance, nullptr, 0, nullptr), fmi2OK);
    EXPECT_EQ(value, 4.0);
}
