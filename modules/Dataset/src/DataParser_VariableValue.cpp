#include "DataParser_VariableValue.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string_view>

#include "DatasetLocator.h"
#include "VarvalLineBuffer.h"

namespace {

// The value column of a seven-column line is copied into a 100-byte buffer
// in the file format's definition: at most 99 characters of it are kept.
constexpr std::size_t kValueColumnCapacity = 99;

// The number of blanks kept in 8 bits: a line with 256 blanks counts 0 and
// leaves the form to a later line.
uint8_t CountBlanks(std::string_view line) {
    uint8_t count = 0;
    for (const char c : line)
        if (c == ' ') ++count;
    return count;
}

// Position of the blank that ends the name: the last blank of the line, or
// in the seven-column form the second-last (the symbol column is passed over).
std::optional<std::size_t> FindCuttingBlank(std::string_view line, VarvalLineMode mode) {
    int blanksToPass = mode == VarvalLineMode::sevenColumns ? 1 : 0;
    for (std::size_t i = line.size(); i-- > 0;) {
        if (line[i] != ' ') continue;
        if (blanksToPass == 0) return i;
        --blanksToPass;
    }
    return std::nullopt;
}

// The entry of one line, or nothing for a line that lacks its cutting blank
// (an empty line, a name without value): such a line names no value, and
// guessing one would write garbage into the ECU.
std::optional<DatasetEntry> SplitVarvalLine(std::string_view line, VarvalLineMode mode) {
    const std::optional<std::size_t> cut = FindCuttingBlank(line, mode);
    if (!cut) return std::nullopt;
    std::string_view value = line.substr(*cut + 1);
    if (mode == VarvalLineMode::sevenColumns) {
        value = value.substr(0, value.find(' '));
        value = value.substr(0, kValueColumnCapacity);
    }
    return DatasetEntry{std::string(line.substr(0, *cut)), std::string(value)};
}

}  // namespace

DatasetContent DataParser_VariableValue::Parse(std::string locator) {
    const std::string path = SplitDatasetLocator(locator).path;
    std::FILE* file = std::fopen(path.c_str(), "r");
    if (file == nullptr) return {};

    DatasetContent entries;
    uint8_t blankCount = 0;
    VarvalLineMode mode = VarvalLineMode::nameValue;
    // A line longer than the buffer arrives in pieces, each read as a line.
    while (std::fgets(varvalLineBuffer, static_cast<int>(kVarvalLineBufferSize), file) != nullptr) {
        std::size_t length = std::strlen(varvalLineBuffer);
        while (length > 0 &&
               (varvalLineBuffer[length - 1] == '\r' || varvalLineBuffer[length - 1] == '\n'))
            --length;
        const std::string_view line(varvalLineBuffer, length);
        if (blankCount == 0) {
            blankCount = CountBlanks(line);
            if (blankCount == 6) mode = VarvalLineMode::sevenColumns;
        }
        if (std::optional<DatasetEntry> entry = SplitVarvalLine(line, mode))
            entries.push_back(std::move(*entry));
    }
    std::fclose(file);
    return entries;
}
