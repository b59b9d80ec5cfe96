#ifndef TESTS_SCOPED_SETTINGS_H
#define TESTS_SCOPED_SETTINGS_H

// Process-wide settings that the libraries read (environment, current
// directory), changed for one test and restored afterwards. Header-only; a
// test program that includes it links the platform library.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "platform/Environment.h"

namespace harness {

// Sets or removes environment variables; the old values come back with the
// object.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment() {
        for (const auto& [name, value] : saved_) platform::PutEnvironment(name + "=" + value.value_or(""));
    }
    void Set(const std::string& name, const std::string& value) {
        Keep(name);
        platform::PutEnvironment(name + "=" + value);
    }
    void Unset(const std::string& name) {
        Keep(name);
        platform::PutEnvironment(name + "=");
    }
    // Leaves the variable as it is now, to be restored with the object:
    // for variables that the code under test sets.
    void Keep(const std::string& name) {
        if (saved_.count(name) != 0) return;
        const char* value = platform::GetEnvironment(name.c_str());
        saved_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// Makes a folder the current directory for the object's lifetime.
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

}  // namespace harness

#endif
