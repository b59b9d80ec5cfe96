#ifndef AMBREL_EEPROM_IMAGE_LINE_H
#define AMBREL_EEPROM_IMAGE_LINE_H

// The lines of an EEPROM image file: comments begin with '#', every other
// line holds the bytes of one range as blank-separated hexadecimal values.

#include <cstdint>
#include <string>

inline bool IsEepromComment(const std::string& line) { return !line.empty() && line[0] == '#'; }

// Stores the line's values one after another from address on, at most size
// of them, and returns how many were stored; runs of blanks count as one, and
// a CR or LF ends the line. A value is the low 8 bits of what strtoul reads
// from its token in base 16: the hex digits up to the first other character,
// after an optional sign and "0x" ("123" gives 0x23, "1ff" 0xff, "7fzz" 0x7f,
// "-1" 0xff, a token without hex digits 0); a token beyond 64 bits reads as
// the largest unsigned long and so gives 0xff whatever its low digits.
uint64_t StoreEepromBytes(const std::string& line, uint64_t address, uint64_t size);

// Appends the data line of size bytes from address: two lowercase hex digits
// each, blank-separated, ended by a line feed.
void AppendEepromBytes(std::string& text, uint64_t address, uint64_t size);

#endif
