#include "platform/Debugger.h"

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace platform {

bool IsDebuggerPresent() {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string key = "TracerPid:";
    while (std::getline(status, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        return std::stol(line.substr(key.size())) != 0;
    }
    return false;
}

void SleepMilliseconds(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace platform
