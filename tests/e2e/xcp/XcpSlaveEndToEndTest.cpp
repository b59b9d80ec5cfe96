#include <dlfcn.h>
#include <gtest/gtest.h>
#include <link.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "PellanRecord.h"
#include "XcpVecuOffsets.h"

namespace {

struct Message {
    std::string instanceName;
    std::string category;
    std::string text;
};

// What reaches the master's logger. The slave has no component environment
// to pass, so messages are kept here rather than by the environment.
std::vector<Message> messages;

void Logger(fmi2ComponentEnvironment, fmi2String instanceName, fmi2Status, fmi2String category,
            fmi2String message, ...) {
    char text[4096];
    va_list arguments;
    va_start(arguments, message);
    std::vsnprintf(text, sizeof text, message, arguments);
    va_end(arguments);
    messages.push_back({instanceName, category, text});
}

void* AllocateMemory(size_t count, size_t size) { return std::calloc(count, size); }
void FreeMemory(void* memory) { std::free(memory); }

const fmi2CallbackFunctions kCallbacks{&Logger, &AllocateMemory, &FreeMemory, nullptr, nullptr};

std::string Hex(uint64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "0x%llx", static_cast<unsigned long long>(value));
    return text;
}

// The vECU's variables as the configuration lists them: offset, size, type code.
struct Variable {
    const char* offset;
    const char* sizeAndType;
};
const Variable kVariables[] = {
    {XCP_VECU_periodicRuns, "4 5"},  // counted by the task
    {XCP_VECU_calibration, "2 4"},   // 0x1234
    {XCP_VECU_gain, "8 10"},         // 2.5
};

struct XcpSlaveEndToEnd : ::testing::Test {
    harness::FmuLibrary& fmu = harness::Fmu();
    harness::ResourceFolder folder;
    fmi2Component component = nullptr;

    ~XcpSlaveEndToEnd() override { Free(); }

    static std::string Configuration() {
        std::string text = "vEcuDll\n    ecu.so\nfmiVariables\n";
        for (const Variable& variable : kVariables)
            text += std::string("    ") + variable.offset + " " + variable.sizeAndType + " 0 0\n";
        // The fourth entry turns dynamic DAQ on, so the sixth may be empty.
        return text + "Tasks\n    " XCP_VECU_PeriodicBody " 160 0.25 0 1 -1\n" +
               "XcpConfig\n    XCP_ON_TCP\n    port 5555\n    intel\n    1\n    timeout 25\n    \n"
               "    seed none\n";
    }

    void Instantiate(const std::string& slave = STANDIN_PELLAN) {
        ASSERT_TRUE(fmu.loaded());
        messages.clear();
        folder.Copy(XCP_VECU, "ecu.so");
        folder.Copy(slave, "Pellan.so");
        folder.Write("resources.txt", Configuration());
        component = fmu.fmi2Instantiate("xcp", fmi2CoSimulation, "{xcp}", folder.uri().c_str(),
                                        &kCallbacks, fmi2False, fmi2True);
        ASSERT_NE(component, nullptr);
        ASSERT_EQ(fmu.fmi2SetupExperiment(component, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
        ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
        ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    }

    void Free() {
        if (component != nullptr) fmu.fmi2FreeInstance(component);
        component = nullptr;
    }

    // Where the process's loader put the vECU the runtime loaded.
    uint64_t VecuLoadAddress() const {
        void* handle = dlopen((folder.path() + "ecu.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle == nullptr) return 0;
        link_map* map = nullptr;
        const uint64_t address = dlinfo(handle, RTLD_DI_LINKMAP, &map) == 0 ? map->l_addr : 0;
        dlclose(handle);
        return address;
    }

    std::string Calls() const { return harness::PellanCallSequence(folder.Read(harness::kPellanRecordName)); }
};

}  // namespace

TEST_F(XcpSlaveEndToEnd, TheSlaveReadsTheEcuAfterEveryAcceptedStep) {
    Instantiate();
    if (HasFatalFailure()) return;
    const uint64_t base = VecuLoadAddress();
    ASSERT_NE(base, 0u);

    // The 250 ms task runs at 0, 0.25 and 0.5 in the first step, once in each
    // of the others; the refused step reaches neither tasks nor slave.
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.0, 0.5, fmi2True), fmi2OK);
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.5, 0.0, fmi2True), fmi2Error);
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.5, 0.25, fmi2True), fmi2OK);
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.75, 0.25, fmi2True), fmi2OK);
    ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
    Free();

    std::string expected = "InitPellan instanceName=xcp loggingOn=1 reserved=0 vEcuModule=" + Hex(base) + "\n";
    const char* initialValues[] = {"0", "4660", "2.5"};
    for (int i = 0; i < 3; ++i)
        expected += "range " + Hex(base + std::stoull(kVariables[i].offset, nullptr, 16)) + " " +
                    kVariables[i].sizeAndType + " 0 0 = " + initialValues[i] + "\n";
    expected +=
        "line XCP_ON_TCP\nline port 5555\nline intel\nline 1\nline timeout 25\nline \nline seed none\n"
        "StepPellan 0 0.5 = 3 4660 2.5\n"
        "StepPellan 0.5 0.25 = 4 4660 2.5\n"
        "StepPellan 0.75 0.25 = 5 4660 2.5\n"
        "TerminatePellan\n";
    EXPECT_EQ(folder.Read(harness::kPellanRecordName), expected);

    // The slave could log; the only error is the refused step's.
    int fromSlave = 0;
    int errors = 0;
    for (const Message& message : messages) {
        errors += message.category == "error" ? 1 : 0;
        if (message.text == "Pellan: 3 memory ranges, 7 configuration lines" && message.instanceName == "xcp")
            ++fromSlave;
    }
    EXPECT_EQ(fromSlave, 1);
    EXPECT_EQ(errors, 1);
}

TEST_F(XcpSlaveEndToEnd, ResetThenTerminateStopsEachStartedSlaveOnce) {
    Instantiate();
    if (HasFatalFailure()) return;
    ASSERT_EQ(fmu.fmi2DoStep(component, 0.0, 0.25, fmi2True), fmi2OK);
    ASSERT_EQ(fmu.fmi2Reset(component), fmi2OK);
    fmu.fmi2Terminate(component);
    Free();
    // Should reset start the slave anew, that one is stopped once too.
    const std::string calls = Calls();
    EXPECT_TRUE(std::regex_match(
        calls, std::regex("InitPellan StepPellan TerminatePellan( InitPellan( StepPellan)* TerminatePellan)*")))
        << calls;
}

TEST_F(XcpSlaveEndToEnd, ASlaveThatCannotServeSaysWhy) {
    const std::string slave = folder.path() + "Pellan.so";
    folder.Write("text.txt", std::string(100, 'x'));
    Instantiate(folder.path() + "text.txt");
    if (HasFatalFailure()) return;
    // After the symbol library's absence.
    EXPECT_EQ(messages.at(1).text, "Cannot load the XCP slave library '" + slave + "', so it does not run: " + slave +
                                       ": invalid ELF header");
    EXPECT_EQ(messages[1].category, "warning");
    Free();

    // Once loaded the stand-in never leaves the process, so its file must
    // not be written over afterwards: it goes last.
    Instantiate(STANDIN_PELLAN_WITHOUT_STEP);
    if (HasFatalFailure()) return;
    EXPECT_EQ(messages.at(1).text, "The XCP slave library '" + slave + "' lacks StepPellan; those calls are skipped.");
}
