#ifndef TESTS_VIRLO_DWARF_TEST_SUPPORT_H
#define TESTS_VIRLO_DWARF_TEST_SUPPORT_H

// Helpers of the .die reader's tests: temporary .die files and the lines a
// parser made of them.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "VirloParserDwarf.h"

namespace dwarftest {

// A file in a fresh temporary folder, removed with the object.
class TempDieFile {
public:
    explicit TempDieFile(const std::string& content, const std::string& name = "ecu.die") {
        char folder[] = "/tmp/virlo_dwarf_XXXXXX";
        folder_ = mkdtemp(folder);
        path_ = folder_ + "/" + name;
        std::ofstream(path_, std::ios::binary) << content;
    }
    ~TempDieFile() {
        std::remove(path_.c_str());
        rmdir(folder_.c_str());
    }
    TempDieFile(const TempDieFile&) = delete;
    TempDieFile& operator=(const TempDieFile&) = delete;

    const std::string& path() const { return path_; }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::string path_;
};

inline std::vector<std::string> LineTexts(const VirloParserDwarf& parser) {
    std::vector<std::string> texts;
    for (const LineView& line : parser.lines) texts.emplace_back(line.text, line.length);
    return texts;
}

// A parser that has read, parsed and resolved the given .die text.
struct CachedDie {
    explicit CachedDie(const std::string& content) : file(content) {
        parser.Init(file.path(), "");
        parser.Cache("*");
    }
    const SymbolRecord* operator[](const std::string& name) const {
        return parser.FindSymbol(name);
    }
    TempDieFile file;
    VirloParserDwarf parser;
};

}  // namespace dwarftest

#endif
