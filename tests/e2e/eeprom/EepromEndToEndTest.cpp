#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "EepromVecuOffsets.h"
#include "FmuHarness.h"
#include "ScalarAccess.h"

namespace {

// Value references, in the order of the fmiVariables section below.
enum : fmi2ValueReference { kNvmWord = 1, kTaskRuns, kFirstCounter };

const char* const kBuildImage =
    "# NVM image of the build\n"
    "01 02 03 04\n"
    "# word, low byte first\n"
    "34 12\n"
    "# spare, no range of its own\n"
    "5a a5\n";
const char* const kSpareImage = "# a file without ranges\nde ad\n";

// The image file after a write-back: the ranges' lines hold their bytes,
// every other line stays.
std::string WrittenImage(unsigned totalRuns) {
    char text[160];
    const unsigned word = (0x1234u + 0x0101u * totalRuns) & 0xffffu;
    std::snprintf(text, sizeof text,
                  "# NVM image of the build\n%02x %02x %02x %02x\n# word, low byte first\n%02x %02x\n"
                  "# spare, no range of its own\n5a a5\n",
                  (1 + totalRuns) & 0xffu, (2 * (1 + totalRuns)) & 0xffu, (3 * (1 + totalRuns)) & 0xffu,
                  (4 * (1 + totalRuns)) & 0xffu, word & 0xffu, word >> 8);
    return text;
}

struct EepromEndToEnd : ::testing::Test, harness::ScalarAccess {
    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    harness::MessageLog log;
    // Where the sync file lives: outside every resource folder, as a
    // workspace that outlives the unpacked FMU.
    harness::ResourceFolder outside;

    EepromEndToEnd() : ScalarAccess(fmu) {}
    ~EepromEndToEnd() override {
        if (component != nullptr) fmu.fmi2FreeInstance(component);
    }

    std::string SyncFile() const { return outside.path() + "nvm-sync.txt"; }

    // A freshly unpacked FMU; the counters are named by symbol, the word by
    // its text form.
    void LayOut(const harness::ResourceFolder& folder) const {
        folder.Copy(EEPROM_VECU, "eeprom_vecu.so");
        folder.Copy(VIRLO_LIBRARY, "Virlo.so");
        folder.Copy(EEPROM_SYMBOL_TABLE, "RawSymbolDetails.txt");
        folder.Write("nvm.txt", kBuildImage);
        folder.Write("spare.txt", kSpareImage);
        folder.Write("fmi_scaling.json", "[]");
        folder.Write("resources.txt", std::string("vEcuDll\n    eeprom_vecu.so\n") +
                                          "fmiVariables\n    nvmWord\n    taskRuns\n    " +
                                          EEPROM_VECU_nvmCounters + " 1 2 0 0\n" +
                                          "Tasks\n    Task10ms 160 0.01 0 1 -1\n" +
                                          "Eeprom\n    nvm.txt\n        nvmCounters\n        " +
                                          EEPROM_VECU_nvmWord + " 2\n        " + SyncFile() + "\n    spare.txt\n");
    }

    fmi2Component Instantiate(const harness::ResourceFolder& folder) {
        component = fmu.fmi2Instantiate("eeprom", fmi2CoSimulation, "{eeprom}", folder.uri().c_str(),
                                        log.callbacks(), fmi2False, fmi2False);
        return component;
    }

    // Initialisation at 0 and the given number of 10 ms steps; the task's
    // run count at the end.
    unsigned Simulate(int steps) {
        EXPECT_EQ(fmu.fmi2SetupExperiment(component, fmi2False, 0.0, 0.0, fmi2False, 0.0), fmi2OK);
        EXPECT_EQ(fmu.fmi2EnterInitializationMode(component), fmi2OK);
        EXPECT_EQ(fmu.fmi2ExitInitializationMode(component), fmi2OK);
        for (int i = 0; i < steps; ++i) EXPECT_EQ(fmu.fmi2DoStep(component, i * 0.01, 0.01, fmi2True), fmi2OK);
        return static_cast<unsigned>(GetInteger(kTaskRuns));
    }

    void Free() {
        fmu.fmi2FreeInstance(component);
        component = nullptr;
    }

    void ExpectNothingReported() const {
        for (const harness::LoggedMessage& message : log.messages())
            EXPECT_EQ(message.status, fmi2OK) << message.message;
    }
};

}  // namespace

TEST_F(EepromEndToEnd, TwoSimulationsInARowCarryTheEepromThroughTheSyncFile) {
    ASSERT_TRUE(fmu.loaded());
    unsigned runs = 0;
    {
        harness::ResourceFolder first;
        LayOut(first);
        ASSERT_NE(Instantiate(first), nullptr) << log.text();
        EXPECT_EQ(GetInteger(kNvmWord), 0x1234);
        EXPECT_EQ(GetInteger(kFirstCounter), 1);
        runs = Simulate(3);
        ASSERT_GT(runs, 0u);
        ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
        Free();
        EXPECT_EQ(first.Read("nvm.txt"), WrittenImage(runs));
        EXPECT_EQ(first.Read("spare.txt"), kSpareImage);
    }
    EXPECT_EQ(outside.Read("nvm-sync.txt"), WrittenImage(runs));

    // A fresh FMU with the build's image again: the sync file wins. Beside
    // the image and the sync file, the new files of write-backs killed in a
    // process that has ended and of one still running in this process, and
    // a person's dated copies.
    const pid_t ended = fork();
    if (ended == 0) _exit(0);
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    const std::string left = ".nvm.txt.ambrel-new-" + std::to_string(ended) + "-0";
    const std::string leftSync = ".nvm-sync.txt.ambrel-new-" + std::to_string(ended) + "-0";
    const std::string running = ".nvm.txt.ambrel-new-" + std::to_string(getpid()) + "-99";
    const std::string copy = "nvm.txt.new-" + std::to_string(ended) + "-1";
    const std::string syncCopy = "nvm-sync.txt.new-" + std::to_string(ended) + "-1";
    harness::ResourceFolder second;
    LayOut(second);
    for (const std::string& name : {left, running, copy}) second.Write(name, "torn");
    for (const std::string& name : {leftSync, syncCopy}) outside.Write(name, "torn");
    ASSERT_NE(Instantiate(second), nullptr) << log.text();
    EXPECT_EQ(GetInteger(kNvmWord), (0x1234 + 0x0101 * static_cast<int>(runs)) & 0xffff);
    EXPECT_EQ(GetInteger(kFirstCounter), static_cast<int>((1 + runs) & 0xff));
    runs += Simulate(2);
    ASSERT_EQ(fmu.fmi2Terminate(component), fmi2OK);
    Free();
    EXPECT_EQ(second.Read("nvm.txt"), WrittenImage(runs));
    EXPECT_FALSE(second.Exists(left));
    EXPECT_FALSE(outside.Exists(leftSync));
    EXPECT_TRUE(second.Exists(running));
    EXPECT_EQ(second.Read(copy), "torn");
    EXPECT_EQ(outside.Read(syncCopy), "torn");
    EXPECT_EQ(outside.Read("nvm-sync.txt"), WrittenImage(runs));
    ExpectNothingReported();
}

// A full disk at termination, played by a file-size limit, which stops
// writes whoever runs the test.
TEST_F(EepromEndToEnd, AWriteBackThatFailsKeepsTheFormerImageAndSyncFileWhole) {
    ASSERT_TRUE(fmu.loaded());
    const std::string former = WrittenImage(7);
    outside.Write("nvm-sync.txt", former);
    harness::ResourceFolder folder;
    LayOut(folder);
    ASSERT_NE(Instantiate(folder), nullptr) << log.text();
    EXPECT_EQ(GetInteger(kFirstCounter), 8);
    Simulate(2);

    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit previous;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit tight = previous;
    tight.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tight), 0);
    const fmi2Status terminated = fmu.fmi2Terminate(component);
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);
    Free();
    EXPECT_EQ(terminated, fmi2Error);

    EXPECT_EQ(folder.Read("nvm.txt"), former);
    EXPECT_EQ(outside.Read("nvm-sync.txt"), former);
    for (const harness::ResourceFolder* place : {&folder, &outside})
        for (const auto& entry : std::filesystem::directory_iterator(place->path()))
            EXPECT_EQ(entry.path().filename().string().find("ambrel-new-"), std::string::npos) << entry.path();
    EXPECT_EQ(log.count("fmi2Terminate: Cannot write the EEPROM file '" + folder.path() +
                        "nvm.txt': File too large; it keeps its former content."),
              1)
        << log.text();
}

// A folder in the sync file's place stops its replacement, whoever runs the
// test.
TEST_F(EepromEndToEnd, ASyncFileThatCannotBeWrittenFailsTerminationAndSaysWhy) {
    ASSERT_TRUE(fmu.loaded());
    outside.Write("nvm-sync.txt/in-the-way", "");
    harness::ResourceFolder folder;
    LayOut(folder);
    ASSERT_NE(Instantiate(folder), nullptr) << log.text();
    Simulate(2);
    EXPECT_EQ(fmu.fmi2Terminate(component), fmi2Error);
    EXPECT_TRUE(log.contains("fmi2Terminate: Couldn't copy eeprom data to sync file; the next simulation will "
                             "start from its older content.\nerror: '" + SyncFile() + "': Is a directory"))
        << log.text();
}

TEST_F(EepromEndToEnd, AMissingImageFailsInstantiationAndSaysWhy) {
    ASSERT_TRUE(fmu.loaded());
    harness::ResourceFolder folder;
    LayOut(folder);
    std::filesystem::remove(folder.path() + "nvm.txt");
    EXPECT_EQ(Instantiate(folder), nullptr);
    ASSERT_EQ(log.messages().size(), 1u) << log.text();
    EXPECT_EQ(log.messages()[0].status, fmi2Error);
    EXPECT_EQ(log.messages()[0].category, "error");
    EXPECT_EQ(log.messages()[0].message,
              "fmi2Instantiate: Cannot read the EEPROM file '" + folder.path() +
                  "nvm.txt': No such file or directory");
}
