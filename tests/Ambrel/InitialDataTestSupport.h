#ifndef TESTS_AMBREL_INITIAL_DATA_TEST_SUPPORT_H
#define TESTS_AMBREL_INITIAL_DATA_TEST_SUPPORT_H

// Process-wide settings that the dataset library reads (environment, current
// directory), changed for one test and restored afterwards.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/Environment.h"

namespace initial_data_test {

class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) platform::PutEnvironment(name + "=" + value.value_or(""));
    }
    void Set(const std::string& name, const std::string& value) {
        if (saved_.count(name) == 0) {
            const char* old = platform::GetEnvironment(name.c_str());
            saved_[name] = old != nullptr ? std::optional<std::string>(old) : std::nullopt;
        }
        platform::PutEnvironment(name + "=" + value);
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~ScopedCurrentDirectory() { std::filesystem::current_path(previous_); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    std::filesystem::path previous_;
};

}  // namespace initial_data_test

#endif
