#ifndef AMBREL_EEPROM_IMAGE_LINE_H
#define AMBREL_EEPROM_IMAGE_LINE_H

// The lines of an EEPROM image file: comments begin with '#', every other
// line holds the bytes of one range as blank-separated hexadecimal values.

#include <cstdint>
#include <string>

inline bool IsEepromComment(const std::string& line) { return !line.empty() && line[0] == '#'; }

// Stores the line's values one after another from address on, at most size
// of them, and returns how many were stored. Each value keeps the low 8 bits
// of its token read as hexadecimal ("1ff" gives 0xff, a token without hex
// digits 0); runs of blanks count as one, and a CR or LF ends the line.
uint64_t StoreEepromBytes(const std::string& line, uint64_t address, uint64_t size);

// Appends the data line of size bytes from address: two lowercase hex digits
// each, blank-separated, ended by a line feed.
void AppendEepromBytes(std::string& text, uint64_t address, uint64_t size);

#endif
