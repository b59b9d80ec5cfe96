// Stand-in for the outside dcm converter: converts the scalar calibration
// values of a dcm file (FESTWERT values and the elements of FESTWERTEBLOCK
// arrays) into output.varval in the current directory, in the seven-column
// form "address size type bitOffset bitLength value label", taking each
// label's location from the workspace's SymbolDetails table.
//
//   Dravik <dcm file> <encoding> <SymbolDetails.txt> <label mapping> [<A2L file>]
//
// The mapping and the A2L file are accepted and not read. Exit code 0 on
// success; 1 when the arguments, the dcm file or the symbol list are unusable
// or the output can't be written. Labels that can't be converted are named
// on standard error and left out.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// The type names of the symbol table, indexed by type code.
const char* const kTypeNames[] = {"Unknown", "s8",      "u8",      "s16",   "u16",
                                  "s32",     "u32",     "s64",     "u64",   "float32",
                                  "float64", "Void",    "Pointer", "Array", "Enumeration",
                                  "User-Defined Type", "Function", "bool"};

struct SymbolRow {
    std::string address;  // as the table writes it: "0x" and hexadecimal digits
    unsigned long long size = 0;
    unsigned typeCode = 0;
    unsigned bitOffset = 0;
    unsigned bitLength = 0;
};

std::string TrimRight(std::string text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
    return text;
}

unsigned TypeCodeOf(const std::string& name) {
    for (unsigned code = 0; code < sizeof kTypeNames / sizeof kTypeNames[0]; ++code)
        if (name == kTypeNames[code]) return code;
    return 0;
}

// Rows of the table: "Address;Size;Type;BF-Ofs;BF-Len;Value;Symbol Name",
// recognised by their first character '0'; the name follows the last ';'.
bool ReadSymbolTable(const std::string& path, std::map<std::string, SymbolRow>& rows) {
    std::ifstream in(path);
    if (!in.is_open()) return false;
    std::string line;
    while (std::getline(in, line)) {
        line = TrimRight(line);
        if (line.empty() || line[0] != '0') continue;
        std::vector<std::string> columns;
        std::istringstream split(line);
        for (std::string column; std::getline(split, column, ';');) columns.push_back(column);
        if (columns.size() < 7) continue;
        SymbolRow row;
        row.address = TrimRight(columns[0]);
        row.size = std::strtoull(columns[1].c_str(), nullptr, 10);
        row.typeCode = TypeCodeOf(TrimRight(columns[2]));
        row.bitOffset = static_cast<unsigned>(std::strtoul(columns[3].c_str(), nullptr, 10));
        row.bitLength = static_cast<unsigned>(std::strtoul(columns[4].c_str(), nullptr, 10));
        rows[line.substr(line.rfind(';') + 1)] = row;
    }
    return true;
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

struct Calibration {
    std::string label;
    std::string value;
};

// A value block under construction: a FESTWERT (one value) or a
// FESTWERTEBLOCK of `columns` values per row, `rows` rows given after '@'.
struct ValueBlock {
    std::string name;
    bool isArray = false;
    unsigned long columns = 0;
    bool twoDimensional = false;
    std::vector<std::string> values;
};

void EmitBlock(const ValueBlock& block, std::vector<Calibration>& out) {
    if (!block.isArray) {
        if (!block.values.empty()) out.push_back({block.name, block.values.front()});
        return;
    }
    for (std::size_t i = 0; i < block.values.size(); ++i) {
        std::string label = block.name;
        if (block.twoDimensional && block.columns > 0)
            label += "[" + std::to_string(i / block.columns) + "][" + std::to_string(i % block.columns) + "]";
        else
            label += "[" + std::to_string(i) + "]";
        out.push_back({label, block.values[i]});
    }
}

// Reads FESTWERT and FESTWERTEBLOCK blocks; every other block (curves, maps,
// axis distributions, function lists) is passed over up to its END.
bool ReadDcm(const std::string& path, std::vector<Calibration>& out) {
    std::ifstream in(path);
    if (!in.is_open()) return false;
    enum class State { outside, valueBlock, otherBlock } state = State::outside;
    ValueBlock block;
    std::string line;
    while (std::getline(in, line)) {
        const std::vector<std::string> words = Words(line);
        if (words.empty() || words[0][0] == '*' || words[0][0] == '!') continue;
        const std::string& keyword = words[0];
        if (state != State::outside) {
            if (keyword == "END") {
                if (state == State::valueBlock) EmitBlock(block, out);
                state = State::outside;
            } else if (state == State::valueBlock && keyword == "WERT") {
                block.values.insert(block.values.end(), words.begin() + 1, words.end());
            }
            continue;
        }
        if ((keyword == "FESTWERT" || keyword == "FESTWERTEBLOCK") && words.size() >= 2) {
            block = ValueBlock();
            block.name = words[1];
            block.isArray = keyword == "FESTWERTEBLOCK";
            if (block.isArray && words.size() >= 3) block.columns = std::strtoul(words[2].c_str(), nullptr, 10);
            block.twoDimensional = block.isArray && words.size() >= 5 && words[3] == "@";
            state = State::valueBlock;
        } else if (keyword == "FUNKTIONEN" || keyword == "VARIANTENKODIERUNG" || keyword == "KENNLINIE" ||
                   keyword == "KENNFELD" || keyword == "FESTKENNLINIE" || keyword == "FESTKENNFELD" ||
                   keyword == "GRUPPENKENNLINIE" || keyword == "GRUPPENKENNFELD" ||
                   keyword == "STUETZSTELLENVERTEILUNG") {
            state = State::otherBlock;
        }
    }
    return true;
}

bool ParseNumber(const std::string& text, double& number) {
    errno = 0;
    char* end = nullptr;
    number = std::strtod(text.c_str(), &end);
    return end != text.c_str() && *end == '\0' && errno == 0 && std::isfinite(number);
}

// The value in the form the runtime reads for the symbol's type, or false
// when the type has no such form or the value does not fit it.
bool FormatValue(const SymbolRow& row, const std::string& text, std::string& formatted) {
    double number = 0;
    if (!ParseNumber(text, number)) return false;
    char buffer[64];
    auto integer = [&](double low, double high) {
        const double rounded = std::nearbyint(number);
        if (rounded < low || rounded > high) return false;
        if (rounded < 0)
            std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(rounded));
        else
            std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(rounded));
        formatted = buffer;
        return true;
    };
    switch (row.typeCode) {
        case 1: return integer(-128, 127);
        case 2: return integer(0, 255);
        case 3: return integer(-32768, 32767);
        case 4: return integer(0, 65535);
        case 5: return integer(-2147483648.0, 2147483647.0);
        case 6: return integer(0, 4294967295.0);
        case 7: return integer(-9223372036854775808.0, 9223372036854774784.0);
        case 8: return integer(0, 18446744073709549568.0);
        case 14: {
            const double bits = 8.0 * static_cast<double>(row.size);
            if (row.size != 1 && row.size != 2 && row.size != 4 && row.size != 8) return false;
            const double high = row.size == 8 ? 9223372036854774784.0 : std::ldexp(1.0, static_cast<int>(bits) - 1) - 1;
            return integer(-high - 1, high);
        }
        case 9:
            std::snprintf(buffer, sizeof buffer, "%.9g", number);
            formatted = buffer;
            return true;
        case 10:
            std::snprintf(buffer, sizeof buffer, "%.17g", number);
            formatted = buffer;
            return true;
        case 17:
            formatted = number != 0.0 ? "1" : "0";
            return true;
        default:
            return false;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::cerr << "Dravik: expected 4 or 5 arguments (dcm file, encoding, symbol list, label mapping"
                     "[, A2L file]), got "
                  << argc - 1 << std::endl;
        return 1;
    }
    const std::string dcmPath = argv[1];
    const std::string symbolListPath = argv[3];

    std::map<std::string, SymbolRow> symbols;
    if (!ReadSymbolTable(symbolListPath, symbols)) {
        std::cerr << "Dravik: cannot read the symbol list " << symbolListPath << std::endl;
        return 1;
    }
    std::vector<Calibration> calibrations;
    if (!ReadDcm(dcmPath, calibrations)) {
        std::cerr << "Dravik: cannot read " << dcmPath << std::endl;
        return 1;
    }

    std::ofstream out("output.varval");
    if (!out.is_open()) {
        std::cerr << "Dravik: cannot write output.varval" << std::endl;
        return 1;
    }
    for (const Calibration& calibration : calibrations) {
        const auto symbol = symbols.find(calibration.label);
        if (symbol == symbols.end()) {
            std::cerr << "Dravik: " << calibration.label << " is not in the symbol list" << std::endl;
            continue;
        }
        const SymbolRow& row = symbol->second;
        std::string value;
        if (!FormatValue(row, calibration.value, value)) {
            std::cerr << "Dravik: cannot convert " << calibration.label << " = " << calibration.value
                      << " (" << kTypeNames[row.typeCode] << ")" << std::endl;
            continue;
        }
        out << row.address << ' ' << row.size << ' ' << row.typeCode << ' ' << row.bitOffset << ' '
            << row.bitLength << ' ' << value << ' ' << calibration.label << '\n';
    }
    out.close();
    return out.fail() ? 1 : 0;
}
