#ifndef TESTS_AMBREL_LOGGING_INSTANCE_H
#define TESTS_AMBREL_LOGGING_INSTANCE_H

// An instance record as fmi2Instantiate leaves it, minus everything the code
// under test does not touch, with a logger that formats each message as a
// master does and keeps it.

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

#include "FmiInternalState.h"

namespace ambrel_test {

struct Message {
    std::string instanceName;
    fmi2Status status;
    std::string category;
    std::string text;
};

class LoggingInstance {
public:
    explicit LoggingInstance(const char* instanceName) {
        instance.instanceName = instanceName;
        instance.callbackFunctions = &callbacks_;
    }
    LoggingInstance(const LoggingInstance&) = delete;
    LoggingInstance& operator=(const LoggingInstance&) = delete;

    FmiInternalState instance;
    std::vector<Message> messages;

private:
    static void Logger(fmi2ComponentEnvironment environment, fmi2String instanceName, fmi2Status status,
                       fmi2String category, fmi2String message, ...) {
        char text[8192];
        va_list arguments;
        va_start(arguments, message);
        std::vsnprintf(text, sizeof text, message, arguments);
        va_end(arguments);
        static_cast<LoggingInstance*>(environment)->messages.push_back({instanceName, status, category, text});
    }

    fmi2CallbackFunctions callbacks_{&Logger, nullptr, nullptr, nullptr, this};
};

}  // namespace ambrel_test

#endif
