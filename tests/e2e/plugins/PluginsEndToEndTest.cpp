#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "PellanRecord.h"
#include "PluginVecuOffsets.h"
#include "ScalarAccess.h"

// A master's view of plug-ins: libraries beside the vECU that are told of
// every phase of the run, in the byte order of their file names, and that
// talk back through the callback table. The fixture plug-ins record what
// reaches them in plugin-calls.txt of the resource folder.

namespace {

// Value references, in the order of the fmiVariables section below.
enum : fmi2ValueReference {
    kSpeedRaw = 1,
    kWritten,
    kFastRuns,
    kSlowRuns,
    kInitRuns,
    kStopRuns,
};

// FastTask every 5 ms, SlowTask every 10 ms after it; InitTask and
// StopTask run at entering initialisation and at termination.
constexpr const char* kResources =
    "vEcuDll\n    plugins_vecu.so\n"
    "fmiVariables\n    speedRaw\n    written\n    fastRuns\n    slowRuns\n    initRuns\n    stopRuns\n"
    "Tasks\n"
    "    FastTask 160 0.005 0 0 -1\n"
    "    SlowTask 160 0.01 0 1 -1\n"
    "    InitTask 32 0 0 0 -1\n"
    "    StopTask 192 0 0 0 -1\n";

// speedRaw holds 3.0; the master sees 2 * 3.0 + 1.
const std::string kScaling = std::string(R"([{"symbol": "speedRaw", "causality": "outputs", )") +
                             R"("cm_name": "CM_speed", "address": ")" + PLUGIN_VECU_speedRaw +
                             R"(", "LINEAR": [2.0, 1.0]}])";

// Every event of one run, once per plug-in, the plug-ins in the order given.
std::vector<std::string> ForEach(const std::vector<std::string>& plugins,
                                 const std::vector<std::string>& events) {
    std::vector<std::string> lines;
    for (const std::string& event : events)
        for (const std::string& plugin : plugins) lines.push_back(plugin + " " + event);
    return lines;
}

class PluginsEndToEnd : public ::testing::Test, protected harness::ScalarAccess {
protected:
    PluginsEndToEnd() : ScalarAccess(fmu) {
        folder.Copy(PLUGINS_VECU, "plugins_vecu.so");
        folder.Copy(VIRLO_LIBRARY, "Virlo.so");
        folder.Copy(PLUGINS_SYMBOL_TABLE, "RawSymbolDetails.txt");
        folder.Write("resources.txt", kResources);
        folder.Write("fmi_scaling.json", kScaling);
    }
    ~PluginsEndToEnd() override {
        if (component != nullptr) fmu.fmi2FreeInstance(component);
    }

    // A fixture plug-in library under the file name the folder gives it.
    void AddPlugin(const std::string& fixture, const std::string& name) {
        folder.Copy(std::string(PLUGIN_FIXTURES) + fixture + ".so", name);
    }

    void Instantiate(const std::string& uri) {
        ASSERT_TRUE(fmu.loaded());
        component = fmu.fmi2Instantiate("plugins", fmi2CoSimulation, "{plugins}", uri.c_str(),
                                        log.callbacks(), fmi2False, fmi2False);
        ASSERT_NE(component, nullptr);
        ASSERT_EQ(fmu.fmi2SetupExperiment(component, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
    }
    void Instantiate() { Instantiate(folder.uri()); }

    // Contiguous steps of h seconds from the start.
    void Step(double h) {
        ASSERT_EQ(fmu.fmi2DoStep(component, time, h, fmi2True), fmi2OK);
        time += h;
    }

    std::vector<std::string> Calls() const {
        std::vector<std::string> lines;
        std::istringstream in(folder.Read("plugin-calls.txt"));
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    harness::MessageLog log;
    harness::ResourceFolder folder;
    double time = 0.0;
};

}  // namespace

TEST_F(PluginsEndToEnd, EveryPhaseReachesEveryPluginInByteOrderUntilTermination) {
    const std::vector<std::string> plugins = {"plugin1", "plugin10", "plugin2", "pluginB", "plugin_a"};
    for (const std::string& name : plugins) AddPlugin("recording_" + name, name + ".so");
    // Names the loader passes over, and a folder that looks like a plug-in.
    AddPlugin("recording_plugin_a", "Plugin_c.so");
    AddPlugin("recording_plugin_a", "myplugin.so");
    AddPlugin("recording_plugin_a", "plugin_d.so.bak");
    AddPlugin("recording_plugin_a", "plugin_dir.so/plugin_e.so");

    Instantiate();
    if (HasFatalFailure()) return;
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    Step(0.01);
    Step(0.01);
    ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
    EXPECT_EQ(GetInteger(kInitRuns), 1);
    EXPECT_EQ(GetInteger(kFastRuns), 5);
    EXPECT_EQ(GetInteger(kSlowRuns), 3);
    EXPECT_EQ(GetInteger(kStopRuns), 1);

    // Task runs in run order, each between its two notifications; the
    // initialisation and terminate tasks are not announced.
    const std::vector<std::string> expected = ForEach(
        plugins, {"version", "instantiate", "enterInit", "exitInit",
                  // [0, 0.01]: both at 0 (by priority), FastTask at 5 ms, both at 10 ms.
                  "preDoStep 0 0.01", "preTask FastTask 0", "postTask FastTask 1", "preTask SlowTask 0",
                  "postTask SlowTask 1", "preTask FastTask 1", "postTask FastTask 2", "preTask FastTask 2",
                  "postTask FastTask 3", "preTask SlowTask 1", "postTask SlowTask 2", "postDoStep 0 0.01",
                  // (0.01, 0.02]
                  "preDoStep 0.01 0.01", "preTask FastTask 3", "postTask FastTask 4", "preTask FastTask 4",
                  "postTask FastTask 5", "preTask SlowTask 2", "postTask SlowTask 3", "postDoStep 0.01 0.01",
                  "terminate", "unloaded"});
    EXPECT_EQ(Calls(), expected);
    std::string loaded;
    for (const std::string& name : plugins) loaded += "Loading plugin " + name + ".so\n";
    EXPECT_EQ(log.text(), loaded);

    // The libraries are gone: nothing may reach them any more.
    EXPECT_EQ(fmu.fmi2DoStep(component, time, 0.01, fmi2True), fmi2Error);
    EXPECT_EQ(fmu.fmi2Terminate(component), fmi2Error);
    EXPECT_EQ(Calls(), expected);

    // A reset starts a fresh run: the plug-ins are loaded and told again,
    // and the release of the instance ends that run for them.
    EXPECT_EQ(fmu.fmi2Reset(component), fmi2OK);
    EXPECT_EQ(GetInteger(kStopRuns), 0);
    fmu.fmi2FreeInstance(component);
    component = nullptr;
    std::vector<std::string> rerun = expected;
    for (const std::string& line : ForEach(plugins, {"version", "instantiate", "terminate", "unloaded"}))
        rerun.push_back(line);
    EXPECT_EQ(Calls(), rerun);
}

TEST_F(PluginsEndToEnd, OtherVersionsAreSkippedAndMissingEntriesPassed) {
    AddPlugin("recording_plugin1", "plugin1.so");
    AddPlugin("recording_partial", "plugin_partial.so");
    AddPlugin("recording_version2", "plugin_v2.so");

    testing::internal::CaptureStdout();
    Instantiate();
    const std::string output = testing::internal::GetCapturedStdout();
    if (HasFatalFailure()) return;
    EXPECT_EQ(output,
              "The mandatory method qorvInstantiate1() is missing from plugin interface!\n"
              "The mandatory method pQorvTerminate1() is missing from plugin interface!\n");
    // Sent although logging is off.
    ASSERT_EQ(log.messages().size(), 3u) << log.text();
    EXPECT_EQ(log.messages()[0].message, "Loading plugin plugin1.so");
    EXPECT_EQ(log.messages()[0].status, fmi2OK);
    EXPECT_EQ(log.messages()[0].category, "log");
    EXPECT_EQ(log.messages()[1].message, "Loading plugin plugin_partial.so");
    EXPECT_EQ(log.messages()[2].message, "Skipping plugin plugin_v2.so");
    EXPECT_EQ(log.messages()[2].status, fmi2Warning);
    EXPECT_EQ(log.messages()[2].category, "warning");

    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    Step(0.001);
    const std::vector<std::string> both = {"plugin1", "plugin_partial"};
    std::vector<std::string> expected = {"plugin1 version", "plugin_partial version", "plugin_v2 version",
                                         "plugin1 instantiate"};
    for (const std::string& line :
         ForEach(both, {"enterInit", "exitInit", "preDoStep 0 0.001", "preTask FastTask 0", "postTask FastTask 1",
                        "preTask SlowTask 0", "postTask SlowTask 1", "postDoStep 0 0.001"}))
        expected.push_back(line);
    EXPECT_EQ(Calls(), expected);

    // The skipped library stayed loaded until now.
    ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
    for (const char* line :
         {"plugin1 terminate", "plugin1 unloaded", "plugin_partial unloaded", "plugin_v2 unloaded"})
        expected.push_back(line);
    EXPECT_EQ(Calls(), expected);
}

TEST_F(PluginsEndToEnd, CallbacksReachVariablesTasksAndTheLogger) {
    AddPlugin("callback_plugin", "plugin_callbacks.so");
    testing::internal::CaptureStdout();
    Instantiate();
    const std::string output = testing::internal::GetCapturedStdout();
    if (HasFatalFailure()) return;

    // The message is never taken as a format, and logging is off.
    EXPECT_EQ(output, "\n=== Log1 === (plugin at 100% of its callbacks)\n");
    ASSERT_EQ(log.messages().size(), 2u) << log.text();
    EXPECT_EQ(log.messages()[0].message, "Loading plugin plugin_callbacks.so");
    EXPECT_EQ(log.messages()[1].message, "THIS IS A PLUGIN MESSAGE: plugin at 100% of its callbacks\n");
    EXPECT_EQ(log.messages()[1].status, fmi2Warning);
    EXPECT_EQ(log.messages()[1].category, "warning");

    EXPECT_EQ(Calls(), (std::vector<std::string>{
                           "symbol speedRaw size 8 type 10",
                           "symbol NoSuchSymbol null",
                           "read speedRaw 3",
                           "access speedRaw kind 0 value 3",
                           "access written kind 1 value 0",
                           "access written kind 1 value 42",
                           "read hiddenValue 0",
                           "access hiddenValue kind 2 value 0",
                           "access NoSuchSymbol kind 2 value 0",
                           "findTask FastTask 1 task",
                           "findTask SlowTask 1 task",
                           "findTask NoSuchSymbol 0 untouched",
                           "findTask written 0 untouched",
                           "task FastTask kind 160 period 0.005 offset 0 priority 0 max -1 count 0 next nan",
                           "set offset 1 period -1 max -1 count -1",
                           "set offset 0 period 0 max 0 count 0 priority 0",
                           "task SlowTask kind 160 period 0.01 offset 0 priority 1 max -1 count 0 next nan",
                       }));
    // The plug-in read raw what the master reads scaled, and wrote for it.
    EXPECT_EQ(GetReal(kSpeedRaw), 7.0);
    EXPECT_EQ(GetInteger(kWritten), 42);

    // The first step moves SlowTask from 20 to 30 ms: the second step does
    // not run it, the third does.
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    const size_t before = Calls().size();
    Step(0.01);
    const std::vector<std::string> calls = Calls();
    EXPECT_EQ(std::vector<std::string>(calls.begin() + before, calls.end()), (std::vector<std::string>{
                        "preTask FastTask (as found)",
                        "preTask SlowTask (as found)",
                        "preTask FastTask (as found)",
                        "preTask FastTask (as found)",
                        "preTask SlowTask (as found)",
                        "move 0",
                        "task SlowTask kind 160 period 0.01 offset 0 priority 1 max -1 count 2 next 0.03",
                    }));
    EXPECT_EQ(GetInteger(kSlowRuns), 2);
    Step(0.01);
    EXPECT_EQ(GetInteger(kSlowRuns), 2);
    EXPECT_EQ(GetInteger(kFastRuns), 5);
    Step(0.01);
    EXPECT_EQ(GetInteger(kSlowRuns), 3);

    // The symbol library still answers in the terminate notification.
    ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
    EXPECT_EQ(Calls().back(), "symbol speedRaw size 8 type 10");
}

TEST_F(PluginsEndToEnd, FailingPluginsAndSlavesCostNoEepromAndNoLaterInstance) {
    // The failing plug-in is told first; the one after it must still hear
    // of termination.
    AddPlugin("throwing_plugin", "plugin_throws.so");
    AddPlugin("recording_plugin1", "plugin_x.so");
    folder.Copy(STANDIN_PELLAN_FAILING_STOP, "Pellan.so");
    folder.Write("nvm.txt", "00 00 00 00\n");
    folder.Write("resources.txt", std::string(kResources) + "Eeprom\n    nvm.txt\n        stopRuns\n");
    Instantiate();
    if (HasFatalFailure()) return;
    // Each failing call still moves the instance on, so the master can go on.
    log.clear();
    EXPECT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2Error);
    EXPECT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2Error);
    EXPECT_EQ(fmu.fmi2DoStep(component, 0.0, 0.01, fmi2True), fmi2Error);
    EXPECT_EQ(log.text(), "fmi2EnterInitializationMode failed: plugin refuses to initialise\n"
                          "fmi2ExitInitializationMode failed: plugin refuses to leave initialisation\n"
                          "fmi2DoStep failed: plugin refuses the step\n");
    EXPECT_EQ(GetInteger(kFastRuns), 0);

    // Every step of the teardown runs, and the run's EEPROM is written back.
    log.clear();
    EXPECT_EQ(fmu.fmi2Terminate(component), fmi2Error);
    const std::string terminateFailure =
        ": the terminate notification of the plugin plugin_throws.so failed: plugin refuses to terminate";
    const std::string stopFailure =
        ": stopping the XCP slave failed: the XCP slave's TerminatePellan failed: the slave cannot stop";
    EXPECT_EQ(log.text(), "fmi2Terminate" + terminateFailure + "\nfmi2Terminate" + stopFailure + "\n");
    EXPECT_EQ(GetInteger(kStopRuns), 1);
    EXPECT_EQ(folder.Read("nvm.txt"), "01 00 00 00\n");
    const std::vector<std::string> run = {"plugin1 version", "plugin1 instantiate", "plugin1 terminate",
                                          "plugin1 unloaded"};
    EXPECT_EQ(Calls(), run);
    fmu.fmi2FreeInstance(component);
    component = nullptr;

    // Released after a failed step, as FMI 2.0 leaves a master no other
    // way: the run still ends for every plug-in (and the release after
    // fmi2Terminate above told them nothing more); the slave fails again.
    log.clear();
    Instantiate();
    if (HasFatalFailure()) return;
    fmu.fmi2EnterInitializationMode(component);
    fmu.fmi2ExitInitializationMode(component);
    fmu.fmi2DoStep(component, 0.0, 0.01, fmi2True);
    fmu.fmi2FreeInstance(component);
    component = nullptr;
    EXPECT_EQ(log.count("fmi2FreeInstance" + terminateFailure), 1) << log.text();
    EXPECT_EQ(log.count("fmi2FreeInstance" + stopFailure), 1) << log.text();
    std::vector<std::string> twice = run;
    twice.insert(twice.end(), run.begin(), run.end());
    EXPECT_EQ(Calls(), twice);
    EXPECT_EQ(harness::PellanCallSequence(folder.Read(harness::kPellanRecordName)),
              "InitPellan TerminatePellan InitPellan TerminatePellan");

    // A reset whose old run fails to end but whose new instance works only
    // warns. Nothing of the failing libraries stayed behind: the instance
    // resolves its variables and tasks and starts from the saved EEPROM.
    Instantiate();
    if (HasFatalFailure()) return;
    std::filesystem::remove(folder.path() + "plugin_throws.so");
    std::filesystem::remove(folder.path() + "Pellan.so");
    log.clear();
    EXPECT_EQ(fmu.fmi2Reset(component), fmi2Warning);
    EXPECT_EQ(log.text(), "fmi2Reset" + terminateFailure + "\nfmi2Reset" + stopFailure +
                              "\nLoading plugin plugin_x.so\n");
    EXPECT_EQ(GetReal(kSpeedRaw), 7.0);
    EXPECT_EQ(GetInteger(kStopRuns), 1);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    Step(0.01);
    EXPECT_EQ(GetInteger(kFastRuns), 3);
    EXPECT_EQ(GetInteger(kInitRuns), 1);
}

TEST_F(PluginsEndToEnd, AResetEndsARunningRunForThePluginsOnce) {
    AddPlugin("recording_plugin1", "plugin1.so");
    Instantiate();
    if (HasFatalFailure()) return;
    const auto tail = [this](size_t n) {
        const std::vector<std::string> calls = Calls();
        return std::vector<std::string>(calls.end() - std::min(n, calls.size()), calls.end());
    };
    const std::vector<std::string> rerun = {"plugin1 terminate", "plugin1 unloaded", "plugin1 version",
                                            "plugin1 instantiate"};
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    Step(0.01);
    ASSERT_EQ(fmu.fmi2Reset(component), fmi2OK);
    EXPECT_EQ(tail(5), (std::vector<std::string>{"plugin1 postDoStep 0 0.01", rerun[0], rerun[1], rerun[2],
                                                 rerun[3]}));
    // A run that was terminated is not ended twice.
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2Reset(component), fmi2OK);
    EXPECT_EQ(tail(5), (std::vector<std::string>{"plugin1 exitInit", rerun[0], rerun[1], rerun[2], rerun[3]}));
}

TEST_F(PluginsEndToEnd, EntriesThatCannotServeAreNamedAndTheOthersStillLoad) {
    // A link to itself has no status to take; text is no library. Links
    // whose names no plug-in has are none of the search's business.
    AddPlugin("recording_plugin1", "plugin1.so");
    std::filesystem::create_symlink("plugin_loop.so", folder.path() + "plugin_loop.so");
    std::filesystem::create_symlink("loop", folder.path() + "loop");
    std::filesystem::create_symlink("nowhere", folder.path() + "notes.txt");
    folder.Write("plugin_text.so", std::string(100, 'x'));
    Instantiate();
    if (HasFatalFailure()) return;
    EXPECT_EQ(log.text(), "Skipping 'plugin_loop.so' while looking for plugins: Too many levels of symbolic "
                          "links\n"
                          "Skipping plugin plugin_text.so, which cannot be loaded: " +
                              folder.path() + "plugin_text.so: invalid ELF header\nLoading plugin plugin1.so\n");
    EXPECT_EQ(log.messages()[0].status, fmi2Warning);
    ASSERT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
    ASSERT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
    Step(0.01);
    EXPECT_EQ(Calls().back(), "plugin1 postDoStep 0 0.01");
}
