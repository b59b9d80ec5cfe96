#ifndef VIRLO_CORE_TEST_SUPPORT_H
#define VIRLO_CORE_TEST_SUPPORT_H

// Helpers of the symbol library's core tests: temporary folders, whole-file
// text, a parser that only holds a cache, and fresh processes for scenarios
// that depend on the library's process-wide state.

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "VirloParser.h"

namespace virlo_core_test {

namespace fs = std::filesystem;

// A folder of its own under the system's temporary folder, removed with its
// content at the end.
class TempFolder {
public:
    TempFolder() {
        std::random_device random;
        for (;;) {
            path_ = fs::temp_directory_path() / ("virlo-core-" + std::to_string(random()));
            if (fs::create_directory(path_)) break;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder as the library's callers give it: ending in a separator.
    std::string Path() const { return path_.string() + "/"; }
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    fs::path path_;
};

inline void WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
}

inline std::string ReadText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

inline std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

// A parser that only holds what a test puts into its cache, to drive the
// writer of complete tables.
class CacheOnlyParser : public VirloParser {
public:
    int Init(std::string, std::string) override { return 0; }
    int Cache(const std::string&) override { return 0; }
    int ClearCache() override {
        SymbolCache.clear();
        return 0;
    }
    void Terminate(bool) override {}

    void Add(const std::string& name, uint64_t address, uint64_t size, uint32_t type,
             uint8_t bitOffset = 0, uint8_t bitLength = 0) {
        SymbolCache[name] = std::make_unique<SymbolRecord>(address, size, type, bitOffset, bitLength);
    }
};

// Runs the scenario, shows its failed assertions on standard error and ends
// the process: with 0 when none failed.
template <typename Scenario>
[[noreturn]] void RunScenarioAndExit(Scenario& scenario) {
    ::testing::TestPartResultArray results;
    {
        ::testing::ScopedFakeTestPartResultReporter reporter(
            ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ALL_THREADS, &results);
        scenario();
    }
    int failures = 0;
    for (int i = 0; i < results.size(); ++i) {
        const ::testing::TestPartResult& result = results.GetTestPartResult(i);
        if (!result.failed()) continue;
        ++failures;
        std::fprintf(stderr, "%s:%d: %s\n", result.file_name() ? result.file_name() : "?",
                     result.line_number(), result.message());
    }
    std::exit(failures == 0 ? 0 : 1);
}

// Runs the scenario in a process of its own, started afresh from this test
// program, so that it meets the library's process-wide state (the active
// parser, the parser instances, the row limit) as at load. The scenario uses
// the usual assertions; the test fails when any of them did. expectedStderr
// is a regular expression that the process's standard error must match.
template <typename Scenario>
void RunInFreshProcess(Scenario scenario, const char* expectedStderr = "") {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(RunScenarioAndExit(scenario), ::testing::ExitedWithCode(0), expectedStderr);
}

}  // namespace virlo_core_test

#endif
