#ifndef TESTS_DATASET_TEST_SUPPORT_H
#define TESTS_DATASET_TEST_SUPPORT_H

// What the dataset tests share: the layout of a converter installation and a
// build workspace in temporary folders, files read and written whole, and the
// process-wide settings changed for one test (ScopedSettings.h).

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "FmuHarness.h"
#include "ScopedSettings.h"

namespace datasettest {

namespace fs = std::filesystem;

using TempFolder = harness::ResourceFolder;
using harness::ScopedCurrentDirectory;
using harness::ScopedEnvironment;

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
