#include "NmSymbolList.h"

#include <cstdlib>

#include "DieFile.h"
#include "DieLinePattern.h"
#include "VirloParserDwarf.h"

namespace {

// gcc lists a function's static variable under its name with a number
// appended (calls.0), a name no entry of the dump carries.
std::string WithoutLocalNumber(const std::string& name) {
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0 || dot + 1 == name.size()) return name;
    if (name.find_first_not_of("0123456789", dot + 1) != std::string::npos) return name;
    return name.substr(0, dot);
}

}  // namespace

std::string CutListedName(const std::string& listed) {
    const std::string name = WithoutLocalNumber(listed);
    const size_t open = name.rfind('(');
    const size_t close = name.rfind(')');
    if (open == std::string::npos || close == std::string::npos) return name;
    if (close + 1 >= name.size() || name[close + 1] != ':') return name.substr(0, open);
    const size_t scope = name.find("::");
    // A single ':' after the ')' and no "::" anywhere: nothing says where a
    // name would begin, so the name stays as listed.
    if (scope == std::string::npos) return name;
    return name.substr(scope + 2);
}

SymbolCacheMap VirloParserDwarf::ReadNmSymbolLines() {
    DieLinePattern row(kNmRowPattern);
    DieLinePattern dieStart(kDieStartPattern);
    SymbolCacheMap symbols;
    for (const LineView& line : lines) {
        if (!row.Match(line.text, line.length)) {
            if (dieStart.Match(line.text, line.length)) break;
            continue;
        }
        const uint64_t address = std::strtoull(row.Group(1).c_str(), nullptr, 16);
        const std::string name = CutListedName(row.Group(3));
        if (AdmitSymbolName(nonUniqueNames, symbols, name, address,
                            [](const std::unique_ptr<SymbolRecord>& record) {
                                return record->address;
                            })) {
            symbols[name] = std::make_unique<SymbolRecord>(address, 0, 0, 0, 0);
        }
    }

    const auto addressOf = [&symbols](const char* name) { return symbols.at(name)->address; };
    if (symbols.count("__image_base__") != 0) {
        imageBase = addressOf("__image_base__");
    } else if (symbols.count("__ImageBase") != 0) {
        imageBase = addressOf("__ImageBase");
    } else if (symbols.count("pre_c_init") != 0 && symbols.count("__section_alignment__") != 0) {
        imageBase = addressOf("pre_c_init") - addressOf("__section_alignment__");
    }
    return symbols;
}
