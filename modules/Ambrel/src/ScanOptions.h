#ifndef AMBREL_SCAN_OPTIONS_H
#define AMBREL_SCAN_OPTIONS_H

#include <cstdint>

// Reads command-line style options from a null-terminated argument list,
// starting at firstIndex: "--no-dialogs" sets noDialogs to 1,
// "--right_to_left" / "--left_to_right" set packingOrder to 0 / 1,
// "--32bit" / "--64bit" set addressWidth to 0 / 1. Arguments are compared
// whole and case-sensitively; a later option overrides an earlier one, and
// an output is written only when its option occurs (and is not null).
void ScanOptions(const char* const* arguments, uint16_t firstIndex, uint32_t* addressWidth,
                 uint8_t* noDialogs, uint32_t* packingOrder);

#endif
