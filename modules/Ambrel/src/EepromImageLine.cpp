#include "EepromImageLine.h"

#include <algorithm>
#include <cstdlib>

uint64_t StoreEepromBytes(const std::string& line, uint64_t address, uint64_t size) {
    uint8_t* const memory = reinterpret_cast<uint8_t*>(address);
    const std::string::size_type end = std::min(line.find_first_of("\r\n"), line.size());
    std::string token;
    uint64_t stored = 0;
    std::string::size_type start = line.find_first_not_of(' ');
    while (start < end && stored < size) {
        const std::string::size_type stop = std::min(line.find(' ', start), end);
        // Each token on its own: strtoul on the rest of the line would skip
        // the blank after a token of other white space and read the next one.
        token.assign(line, start, stop - start);
        memory[stored++] = static_cast<uint8_t>(std::strtoul(token.c_str(), nullptr, 16));
        start = line.find_first_not_of(' ', stop);
    }
    return stored;
}

void AppendEepromBytes(std::string& text, uint64_t address, uint64_t size) {
    static const char kDigits[] = "0123456789abcdef";
    const uint8_t* const memory = reinterpret_cast<const uint8_t*>(address);
    text.reserve(text.size() + size * 3 + 1);
    for (uint64_t i = 0; i < size; ++i) {
        if (i > 0) text += ' ';
        text += kDigits[memory[i] >> 4];
        text += kDigits[memory[i] & 0x0f];
    }
    text += '\n';
}
