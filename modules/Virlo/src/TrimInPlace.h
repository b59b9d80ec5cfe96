#ifndef VIRLO_TRIM_IN_PLACE_H
#define VIRLO_TRIM_IN_PLACE_H

#include <string>

// Removes the given characters from both ends of a NUL-terminated text: a
// NUL is written after the last kept character and the first kept one is
// returned. A text made only of such characters becomes empty; null stays
// null.
char* TrimInPlace(char* text, const std::string& characters);

// The character sets the .die reader trims with.
extern const std::string kBlankCharacters;  // " \t\n\r\v\f"

#endif
