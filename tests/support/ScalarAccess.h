#ifndef TESTS_SCALAR_ACCESS_H
#define TESTS_SCALAR_ACCESS_H

// One value at a time of one instance, the way end-to-end tests read and
// write variables: a fixture derives from ScalarAccess and keeps its
// instance in `component`. Each call is expected to return fmi2OK; a get
// that writes nothing returns a value no test expects, so the check on it
// fails as well.

#include <gtest/gtest.h>

#include "FmuHarness.h"

namespace harness {

class ScalarAccess {
protected:
    // Only the reference is kept: a fixture may pass a library member that
    // is built after its bases.
    explicit ScalarAccess(const FmuLibrary& fmu) : fmu_(fmu) {}

    fmi2Integer GetInteger(fmi2ValueReference vr) const {
        fmi2Integer value = 12345;
        EXPECT_EQ(fmu_.fmi2GetInteger(component, &vr, 1, &value), fmi2OK);
        return value;
    }
    fmi2Real GetReal(fmi2ValueReference vr) const {
        fmi2Real value = 12345.0;
        EXPECT_EQ(fmu_.fmi2GetReal(component, &vr, 1, &value), fmi2OK);
        return value;
    }
    fmi2Boolean GetBoolean(fmi2ValueReference vr) const {
        fmi2Boolean value = 7;
        EXPECT_EQ(fmu_.fmi2GetBoolean(component, &vr, 1, &value), fmi2OK);
        return value;
    }
    void SetInteger(fmi2ValueReference vr, fmi2Integer value) const {
        EXPECT_EQ(fmu_.fmi2SetInteger(component, &vr, 1, &value), fmi2OK);
    }
    void SetReal(fmi2ValueReference vr, fmi2Real value) const {
        EXPECT_EQ(fmu_.fmi2SetReal(component, &vr, 1, &value), fmi2OK);
    }
    void SetBoolean(fmi2ValueReference vr, fmi2Boolean value) const {
        EXPECT_EQ(fmu_.fmi2SetBoolean(component, &vr, 1, &value), fmi2OK);
    }

    fmi2Component component = nullptr;

private:
    const FmuLibrary& fmu_;
};

}  // namespace harness

#endif
