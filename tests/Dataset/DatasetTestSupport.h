#ifndef TESTS_DATASET_TEST_SUPPORT_H
#define TESTS_DATASET_TEST_SUPPORT_H

// Process-wide settings that the dataset library reads (environment, current
// directory) changed for one test and restored afterwards, and the layout of
// a converter installation and a build workspace in temporary folders.

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "platform/Environment.h"

namespace datasettest {

namespace fs = std::filesystem;

using TempFolder = harness::ResourceFolder;

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
        Save(name);
        platform::PutEnvironment(name + "=" + value);
    }
    void Unset(const std::string& name) {
        Save(name);
        platform::PutEnvironment(name + "=");
    }

private:
    void Save(const std::string& name) {
        if (saved_.count(name) != 0) return;
        const char* value = platform::GetEnvironment(name.c_str());
        saved_[name] = value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    }
    std::map<std::string, std::optional<std::string>> saved_;
};

// Makes a folder the current directory for the object's lifetime.
class ScopedCurrentDirectory {
public:
    explicit ScopedCurrentDirectory(const fs::path& folder) : previous_(fs::current_path()) {
        fs::current_path(folder);
    }
    ~ScopedCurrentDirectory() { fs::current_path(previous_); }
    ScopedCurrentDirectory(const ScopedCurrentDirectory&) = delete;
    ScopedCurrentDirectory& operator=(const ScopedCurrentDirectory&) = delete;

private:
    fs::path previous_;
};

// Places a program as <home>/bin/linux64/Dravik.
inline void InstallConverter(const TempFolder& home, const std::string& program) {
    home.Copy(program, "bin/linux64/Dravik");
    fs::permissions(home.path() + "bin/linux64/Dravik", fs::perms::owner_all);
}

inline void WriteFile(const fs::path& path, const std::string& content) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << content;
}

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

inline std::vector<std::string> ReadLines(const fs::path& path) {
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace datasettest

#endif
