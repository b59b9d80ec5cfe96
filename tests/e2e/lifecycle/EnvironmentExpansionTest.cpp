#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "FmuHarness.h"

// A resources.txt whose nine lines each put a variable in eight times: a
// 2 GiB value unbounded. Every setting beyond the longest one is refused
// and the variable keeps the value it had.
TEST(EnvironmentExpansion, SettingsBeyondTheLongestValueAreRefusedAndTheOldValueStays) {
    harness::FmuLibrary fmu{AMBREL_LIBRARY};
    ASSERT_TRUE(fmu.loaded());
    harness::MessageLog log;
    harness::ResourceFolder folder;
    std::ifstream in(FUZZ_REGRESSIONS_DIR "/env_expansion_blowup.txt");
    const std::string blowup((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(blowup.empty());
    folder.Write("resources.txt", blowup + "vEcuDll\n    ecu.so\n");
    folder.Copy(LIFECYCLE_VECU, "ecu.so");
    unsetenv("AMBREL_X");

    fmi2Component c = fmu.fmi2Instantiate("ecu", fmi2CoSimulation, "{lifecycle}", folder.uri().c_str(),
                                          log.callbacks(), fmi2False, fmi2False);
    ASSERT_NE(c, nullptr) << log.text();
    const char* value = std::getenv("AMBREL_X");
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(std::strlen(value), 8192u);  // line 4: 16 characters, eight times put in three times

    int refusals = 0;
    for (int line = 5; line <= 10; ++line) {
        refusals += log.count("'resources/resources.txt' line " + std::to_string(line) +
                              ": the setting expands to more than 32767 characters and is not applied.");
    }
    EXPECT_EQ(refusals, 6) << log.text();
    for (const auto& message : log.messages()) {
        if (message.message.find("32767") != std::string::npos) {
            EXPECT_EQ(message.status, fmi2Warning);
        }
    }
    fmu.fmi2FreeInstance(c);
}
