// resources.txt through instantiation: every section reader, the
// environment settings and whatever instantiation does with what they read,
// in a resource folder that holds nothing else.

#include <cstdlib>
#include <string>
#include <vector>

#include "DebugHook.h"
#include "FuzzInput.h"
#include "InstanceLifecycle.h"

extern char** environ;

namespace {

// The environment as the process started: an input's settings must not
// pile up over millions of runs or reach the next input.
class EnvironmentSnapshot {
public:
    EnvironmentSnapshot() {
        for (char** entry = environ; *entry != nullptr; ++entry) settings_.emplace_back(*entry);
    }
    void Restore() const {
        clearenv();
        for (const std::string& setting : settings_) {
            const std::string::size_type equals = setting.find('=');
            setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
        }
    }

private:
    std::vector<std::string> settings_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const EnvironmentSnapshot environment;
    static harness::MessageLog log;
    fuzz::WriteInput("resources.txt", data, size);
    const std::string& folder = fuzz::Folder().path();
    // The debug hook waits for a debugger by design; such an input is no
    // finding, and not worth keeping.
    if (ReadDebugHookSetting(folder, log.callbacks(), "fuzz")) return -1;

    const std::string location = "file://" + folder;
    FreeInstance(Instantiate("fuzz", fmi2CoSimulation, "{fuzz}", location.c_str(), log.callbacks(), fmi2True));
    log.clear();
    environment.Restore();
    return 0;
}
