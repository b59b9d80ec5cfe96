#ifndef TESTS_AMBREL_SCALING_TEST_SUPPORT_H
#define TESTS_AMBREL_SCALING_TEST_SUPPORT_H

// What the scaling tests share: an instance whose master logger keeps every
// message, and a temporary resource folder.

#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "FmiInternalState.h"

namespace scaling_test {

struct Message {
    std::string instanceName;
    fmi2Status status;
    std::string category;
    std::string text;
};

// An instance record as fmi2Instantiate leaves it, minus everything the
// scaling code does not touch.
class LoggingInstance {
public:
    LoggingInstance() {
        instance.instanceName = "inst";
        instance.callbackFunctions = &callbacks_;
    }

    FmiInternalState instance;
    std::vector<Message> messages;

private:
    static void Logger(fmi2ComponentEnvironment environment, fmi2String instanceName,
                       fmi2Status status, fmi2String category, fmi2String message, ...) {
        char text[8192];
        va_list arguments;
        va_start(arguments, message);
        std::vsnprintf(text, sizeof text, message, arguments);
        va_end(arguments);
        static_cast<LoggingInstance*>(environment)->messages.push_back({instanceName, status, category, text});
    }

    fmi2CallbackFunctions callbacks_{&Logger, nullptr, nullptr, nullptr, this};
};

// A fresh folder under the system's temporary folder, removed afterwards.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("scaling-" + std::to_string(random()) + "-" + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as the runtime receives it, ending in a separator.
    std::string path() const { return path_.string() + "/"; }
    void Write(const std::string& name, const std::string& content) const {
        std::ofstream(path_ / name, std::ios::binary) << content;
    }

private:
    std::filesystem::path path_;
};

}  // namespace scaling_test

#endif
