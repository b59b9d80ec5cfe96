#include "WidePathToUtf8.h"

#include <cstdint>
#include <stdexcept>

static_assert(sizeof(wchar_t) == 4, "a wide character holds a whole code point here");

std::string WidePathToUtf8(const wchar_t* path) {
    std::string text;
    if (path == nullptr) return text;
    for (; *path != L'\0'; ++path) {
        const auto c = static_cast<uint32_t>(*path);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) throw std::range_error("bad conversion");
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else if (c < 0x800) {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            text += static_cast<char>(0xE0 | (c >> 12));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            text += static_cast<char>(0xF0 | (c >> 18));
            text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}
