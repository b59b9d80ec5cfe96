#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "CommandOutput.h"
#include "FmuHarness.h"

namespace {

const std::set<std::string> kFmiFunctions = {
    "fmi2GetTypesPlatform", "fmi2GetVersion", "fmi2SetDebugLogging", "fmi2Instantiate",
    "fmi2FreeInstance", "fmi2SetupExperiment", "fmi2EnterInitializationMode",
    "fmi2ExitInitializationMode", "fmi2Terminate", "fmi2Reset", "fmi2GetReal", "fmi2GetInteger",
    "fmi2GetBoolean", "fmi2GetString", "fmi2SetReal", "fmi2SetInteger", "fmi2SetBoolean",
    "fmi2SetString", "fmi2GetFMUstate", "fmi2SetFMUstate", "fmi2FreeFMUstate",
    "fmi2SerializedFMUstateSize", "fmi2SerializeFMUstate", "fmi2DeSerializeFMUstate",
    "fmi2GetDirectionalDerivative", "fmi2SetRealInputDerivatives", "fmi2GetRealOutputDerivatives",
    "fmi2DoStep", "fmi2CancelStep", "fmi2GetStatus", "fmi2GetRealStatus", "fmi2GetIntegerStatus",
    "fmi2GetBooleanStatus", "fmi2GetStringStatus"};

struct ExportsTest : ::testing::Test {
    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    harness::MessageLog log;
    harness::ResourceFolder folder;
};

}  // namespace

TEST_F(ExportsTest, TheLibraryExportsTheFmiFunctionsAndNothingElse) {
    std::istringstream lines(
        CommandOutput(std::string(NM_PROGRAM) + " -D --defined-only " + AMBREL_LIBRARY));
    std::set<std::string> exported;
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string address, kind, name;
        if (fields >> address >> kind >> name) exported.insert(name);
    }
    EXPECT_EQ(exported, kFmiFunctions);
    ASSERT_TRUE(fmu.loaded());
    EXPECT_EQ(fmu.boundCount(), 34);
    EXPECT_STREQ(fmu.fmi2GetVersion(), "2.0");
    EXPECT_STREQ(fmu.fmi2GetTypesPlatform(), "default");
}

TEST_F(ExportsTest, ANullComponentIsRefusedByEveryFunction) {
    const fmi2ValueReference vr[] = {1};
    fmi2Real real = 0;
    fmi2Integer integer = 0;
    fmi2Boolean boolean = 0;
    fmi2String text = nullptr;
    fmi2Status status = fmi2OK;
    fmi2FMUstate state = nullptr;
    size_t size = 0;
    EXPECT_EQ(fmu.fmi2SetDebugLogging(nullptr, fmi2True, 0, nullptr), fmi2Error);
    EXPECT_EQ(fmu.fmi2SetupExperiment(nullptr, fmi2False, 0, 0, fmi2False, 0), fmi2Error);
    EXPECT_EQ(fmu.fmi2EnterInitializationMode(nullptr), fmi2Error);
    EXPECT_EQ(fmu.fmi2ExitInitializationMode(nullptr), fmi2Error);
    EXPECT_EQ(fmu.fmi2DoStep(nullptr, 0.0, 0.01, fmi2True), fmi2Error);
    EXPECT_EQ(fmu.fmi2Reset(nullptr), fmi2Error);
    EXPECT_EQ(fmu.fmi2Terminate(nullptr), fmi2Error);
    EXPECT_EQ(fmu.fmi2GetReal(nullptr, vr, 1, &real), fmi2Error);
    EXPECT_EQ(fmu.fmi2GetInteger(nullptr, vr, 1, &integer), fmi2Error);
    EXPECT_EQ(fmu.fmi2GetBoolean(nullptr, vr, 1, &boolean), fmi2Error);
    EXPECT_EQ(fmu.fmi2GetString(nullptr, vr, 1, &text), fmi2Error);
    EXPECT_EQ(fmu.fmi2SetReal(nullptr, vr, 1, &real), fmi2Error);
    EXPECT_EQ(fmu.fmi2SetInteger(nullptr, vr, 1, &integer), fmi2Error);
    EXPECT_EQ(fmu.fmi2SetBoolean(nullptr, vr, 1, &boolean), fmi2Error);
    EXPECT_EQ(fmu.fmi2SetString(nullptr, vr, 1, &text), fmi2Error);
    EXPECT_EQ(fmu.fmi2GetFMUstate(nullptr, &state), fmi2Error);
    EXPECT_EQ(fmu.fmi2SerializedFMUstateSize(nullptr, state, &size), fmi2Error);
    EXPECT_EQ(fmu.fmi2CancelStep(nullptr), fmi2Error);
    EXPECT_EQ(fmu.fmi2GetStatus(nullptr, fmi2DoStepStatus, &status), fmi2Error);
    fmu.fmi2FreeInstance(nullptr);
}

TEST_F(ExportsTest, UnsupportedFunctionsAnswerErrorAndSayWhyWhateverTheLoggingFlag) {
    folder.Write("resources.txt", "fmiVariables\n");
    fmi2Component c =
        fmu.fmi2Instantiate("ecu", fmi2CoSimulation, "{guid}", folder.uri().c_str(), log.callbacks(),
                            fmi2False, fmi2False);
    ASSERT_NE(c, nullptr);
    log.clear();
    fmi2FMUstate state = nullptr;
    size_t size = 99;
    fmi2Real real = 5.0;
    fmi2Integer integer = 5;
    fmi2Boolean boolean = 5;
    fmi2String text = "unchanged";
    fmi2Status status = fmi2Pending;
    fmi2Byte bytes[4] = {};
    const fmi2ValueReference vr[] = {1};
    const fmi2Integer order[] = {1};
    auto askAll = [&] {
        EXPECT_EQ(fmu.fmi2GetFMUstate(c, &state), fmi2Error);
        EXPECT_EQ(fmu.fmi2SetFMUstate(c, state), fmi2Error);
        EXPECT_EQ(fmu.fmi2FreeFMUstate(c, &state), fmi2Error);
        EXPECT_EQ(fmu.fmi2SerializedFMUstateSize(c, state, &size), fmi2Error);
        EXPECT_EQ(fmu.fmi2SerializeFMUstate(c, state, bytes, sizeof bytes), fmi2Error);
        EXPECT_EQ(fmu.fmi2DeSerializeFMUstate(c, bytes, sizeof bytes, &state), fmi2Error);
        EXPECT_EQ(fmu.fmi2GetDirectionalDerivative(c, vr, 1, vr, 1, &real, &real), fmi2Error);
        EXPECT_EQ(fmu.fmi2SetRealInputDerivatives(c, vr, 1, order, &real), fmi2Error);
        EXPECT_EQ(fmu.fmi2GetRealOutputDerivatives(c, vr, 1, order, &real), fmi2Error);
        EXPECT_EQ(fmu.fmi2CancelStep(c), fmi2Error);
        EXPECT_EQ(fmu.fmi2GetStatus(c, fmi2DoStepStatus, &status), fmi2Error);
        EXPECT_EQ(fmu.fmi2GetRealStatus(c, fmi2LastSuccessfulTime, &real), fmi2Error);
        EXPECT_EQ(fmu.fmi2GetIntegerStatus(c, fmi2PendingStatus, &integer), fmi2Error);
        EXPECT_EQ(fmu.fmi2GetBooleanStatus(c, fmi2Terminated, &boolean), fmi2Error);
        EXPECT_EQ(fmu.fmi2GetStringStatus(c, fmi2PendingStatus, &text), fmi2Error);
    };
    auto texts = [&] {
        std::vector<std::string> all;
        for (const harness::LoggedMessage& message : log.messages()) {
            EXPECT_EQ(message.status, fmi2Error);
            EXPECT_EQ(message.category, "error");
            all.push_back(message.message);
        }
        return all;
    };
    askAll();
    const std::vector<std::string> withoutLogging = texts();

    ASSERT_EQ(fmu.fmi2SetDebugLogging(c, fmi2True, 0, nullptr), fmi2OK);
    log.clear();
    askAll();
    EXPECT_EQ(texts(), withoutLogging);
    EXPECT_EQ(withoutLogging, (std::vector<std::string>{
                         "fmi2GetFMUstate not supported",
                         "fmi2SetFMUstate not supported",
                         "fmi2FreeFMUstate not supported",
                         "fmi2SerializedFMUstateSize not supported",
                         "fmi2SerializeFMUstate not supported",
                         "fmi2DeSerializeFMUstate not supported",
                         "fmi2GetDirectionalDerivative not supported",
                         "fmi2SetRealInputDerivatives not supported. Can not interpolate inputs.",
                         "fmi2GetRealOutputDerivatives not supported",
                         "fmi2CancelStep not supported",
                         "fmi2GetStatus: fmi2StatusKind = 0",
                         "fmi2GetRealStatus: fmi2StatusKind = 2",
                         "fmi2GetIntegerStatus: fmi2StatusKind = 1",
                         "fmi2GetBooleanStatus: fmi2StatusKind = 3",
                         "fmi2GetStringStatus: fmi2StatusKind = 1",
                     }));
    EXPECT_EQ(size, 99u);
    EXPECT_EQ(status, fmi2Pending);
    EXPECT_STREQ(text, "unchanged");
    EXPECT_EQ(fmu.fmi2GetString(c, vr, 1, &text), fmi2Error);
    EXPECT_STREQ(text, "unchanged");
    fmu.fmi2FreeInstance(c);
}
