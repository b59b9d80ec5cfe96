#include "DravikLauncher.h"

#include <filesystem>
#include <iostream>
#include <sstream>
#include <vector>

#include <boost/process.hpp>

#include "A2lPatchFile.h"
#include "DatasetLocator.h"
#include "WorkspaceFolder.h"
#include "platform/Environment.h"

namespace {

constexpr const char* kConverterProgram = "/bin/linux64/Dravik";

// The words of the argument text as formatted extraction from a stream
// yields them: runs of white space separate, none stays as an empty word.
std::vector<std::string> SplitIntoWords(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

bool IsSet(const char* name) {
    const char* value = platform::GetEnvironment(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

int RunDravik(std::string locator) {
    // Without both locations every path would be built from nothing; the
    // dataset then stays empty instead of starting some other program.
    for (const char* name : {kQuorvelHome, kQuorvelWorkspace}) {
        if (!IsSet(name)) {
            std::cerr << "Cannot convert " << locator << ": " << name << " is not set" << std::endl;
            return kDravikNotConfigured;
        }
    }
    const std::string arguments = BuildDravikArguments(locator);
    const std::string program = std::string(platform::GetEnvironment(kQuorvelHome)) + kConverterProgram;

    boost::process::child converter(boost::process::exe = program,
                                    boost::process::args = SplitIntoWords(arguments));
    converter.wait();
    return converter.exit_code();
}

std::string BuildDravikArguments(std::string locator) {
    const DatasetLocatorParts parts = SplitDatasetLocator(locator);
    const std::filesystem::path workspace = WorkspaceFolder();
    const std::filesystem::path build = workspace / "build";
    const std::filesystem::path mapping =
        build / "fmu" / "resources" / "mappings" / "DCM_Labels-Symbols_mapping.json";

    std::string text;
    text += " " + (workspace / parts.path).string();
    text += " " + parts.encoding;
    text += " " + (build / "SymbolDetails.txt").string();
    text += " " + mapping.string();
    text += " " + GetA2lPatchFile((build / "vEcuConf.json").string()).string();
    return text;
}
