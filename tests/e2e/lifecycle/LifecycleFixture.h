#ifndef TESTS_E2E_LIFECYCLE_FIXTURE_H
#define TESTS_E2E_LIFECYCLE_FIXTURE_H

// A master driving the lifecycle vECU through the exports of the built
// Ambrel.so: the resource folder, the configuration and a whole run.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "CommandOutput.h"
#include "FmuHarness.h"

// Value references of the configuration below.
enum : fmi2ValueReference {
    kVehicleSpeed = 1,
    kStepCount,
    kEngineOn,
    kInitCount,
    kTerminateCount,
};

// What a run shows after each step: vehicleSpeed, stepCount, initCount.
using StepOutputs = std::vector<std::tuple<double, int, int>>;

// The record text of a vECU variable, as the configuration writes it.
inline std::string RecordText(const SymbolPlace& place, int typeCode) {
    char text[128];
    std::snprintf(text, sizeof text, "0x%llx %llu %d 0 0", static_cast<unsigned long long>(place.offset),
                  static_cast<unsigned long long>(place.size), typeCode);
    return text;
}

struct LifecycleFixture : ::testing::Test {
    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    harness::MessageLog log;
    harness::ResourceFolder folder;
    const std::map<std::string, SymbolPlace> places = SymbolPlaces(LIFECYCLE_VECU);

    std::string Address(const char* function) const {
        char text[64];
        std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(places.at(function).offset));
        return text;
    }

    // A 10 ms task counting stepCount, an enter-init task counting
    // initCount and a terminate task counting terminateCount.
    std::string Configuration() const {
        return "vEcuDll\n    ecu.so\n"
               "fmiVariables\n    " +
               RecordText(places.at("vehicleSpeed"), 10) + "\n    " + RecordText(places.at("stepCount"), 5) +
               "\n    " + RecordText(places.at("engineOn"), 17) + "\n    " +
               RecordText(places.at("initCount"), 5) + "\n    " + RecordText(places.at("terminateCount"), 5) +
               "\n" + "Tasks\n    " + Address("Task10ms") + " 160 0.01 0 1 -1\n    " + Address("OnEnterInit") +
               " 32 0 0 1 -1\n    " + Address("OnTerminate") + " 192 0 0 1 -1\n" +
               "EnvironmentVariables\n    LIFECYCLE_SETTING=${QUORVEL_FMURESOURCES}data\n";
    }

    fmi2Integer Integer(fmi2Component c, fmi2ValueReference vr) {
        fmi2Integer value = -1;
        EXPECT_EQ(fmu.fmi2GetInteger(c, &vr, 1, &value), fmi2OK);
        return value;
    }

    fmi2Real Real(fmi2Component c, fmi2ValueReference vr) {
        fmi2Real value = -1.0;
        EXPECT_EQ(fmu.fmi2GetReal(c, &vr, 1, &value), fmi2OK);
        return value;
    }

    void LayOut(const std::string& subfolder = "") const {
        folder.Copy(LIFECYCLE_VECU, subfolder + "ecu.so");
        folder.Write(subfolder + "resources.txt", Configuration());
    }

    fmi2Component Instantiate(const std::string& uri, fmi2Boolean loggingOn = fmi2True) {
        return fmu.fmi2Instantiate("ecu", fmi2CoSimulation, "{lifecycle}", uri.c_str(), log.callbacks(), fmi2False,
                                   loggingOn);
    }

    // A whole run as a master makes it: the start time, initialisation with
    // a speed set, then contiguous 10 ms steps.
    StepOutputs Run(fmi2Component c, double startTime, int steps) {
        StepOutputs outputs;
        EXPECT_EQ(fmu.fmi2SetupExperiment(c, fmi2False, 0.0, startTime, fmi2False, 0.0), fmi2OK);
        EXPECT_EQ(fmu.fmi2EnterInitializationMode(c), fmi2OK);
        const fmi2ValueReference speed = kVehicleSpeed;
        const fmi2Real start = 20.0;
        EXPECT_EQ(fmu.fmi2SetReal(c, &speed, 1, &start), fmi2OK);
        EXPECT_EQ(fmu.fmi2ExitInitializationMode(c), fmi2OK);
        for (int step = 0; step < steps; ++step) {
            EXPECT_EQ(fmu.fmi2DoStep(c, startTime + step * 0.01, 0.01, fmi2True), fmi2OK) << step;
            outputs.emplace_back(Real(c, kVehicleSpeed), Integer(c, kStepCount), Integer(c, kInitCount));
        }
        return outputs;
    }
};

#endif
