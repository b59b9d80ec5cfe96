#ifndef VIRLO_WIDE_PATH_TO_UTF8_H
#define VIRLO_WIDE_PATH_TO_UTF8_H

#include <string>

// The UTF-8 text of a NUL-terminated wide path whose characters are whole
// code points; null gives the empty text. A character that is no Unicode
// scalar value (a surrogate, or above U+10FFFF) raises std::range_error
// "bad conversion".
std::string WidePathToUtf8(const wchar_t* path);

#endif
