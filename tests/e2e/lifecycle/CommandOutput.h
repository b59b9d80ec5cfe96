#ifndef TESTS_E2E_LIFECYCLE_COMMAND_OUTPUT_H
#define TESTS_E2E_LIFECYCLE_COMMAND_OUTPUT_H

#include <cstdint>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

// What a command prints on standard output.
inline std::string CommandOutput(const std::string& command) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return output;
    char buffer[4096];
    size_t read = 0;
    while ((read = fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, read);
    pclose(pipe);
    return output;
}

// Offset from the load address and size of every defined symbol of a
// shared library, as nm lists them.
struct SymbolPlace {
    uint64_t offset = 0;
    uint64_t size = 0;
};

inline std::map<std::string, SymbolPlace> SymbolPlaces(const std::string& library) {
    std::map<std::string, SymbolPlace> places;
    std::istringstream lines(CommandOutput(std::string(NM_PROGRAM) + " -S --defined-only " + library));
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream fields(line);
        std::string offset, size, kind, name;
        if (!(fields >> offset >> size >> kind >> name)) continue;
        places[name] = {std::stoull(offset, nullptr, 16), std::stoull(size, nullptr, 16)};
    }
    return places;
}

#endif
