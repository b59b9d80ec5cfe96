#include "platform/Environment.h"

#include <cstdlib>

namespace platform {

int PutEnvironment(const std::string& setting) {
    const std::string::size_type equals = setting.find('=');
    if (equals == std::string::npos || equals == 0) return -1;
    const std::string name = setting.substr(0, equals);
    const std::string value = setting.substr(equals + 1);
    if (value.empty()) return unsetenv(name.c_str()) == 0 ? 0 : -1;
    return setenv(name.c_str(), value.c_str(), 1) == 0 ? 0 : -1;
}

const char* GetEnvironment(const char* name) {
    return name != nullptr ? std::getenv(name) : nullptr;
}

}  // namespace platform
