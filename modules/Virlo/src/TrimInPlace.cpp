#include "TrimInPlace.h"

#include <cstring>

const std::string kBlankCharacters = " \t\n\r\v\f";

char* TrimInPlace(char* text, const std::string& characters) {
    if (text == nullptr) return nullptr;
    const char* set = characters.c_str();
    const auto isTrimmed = [set](char c) { return c != '\0' && std::strchr(set, c) != nullptr; };
    while (isTrimmed(*text)) ++text;
    char* end = text + std::strlen(text);
    while (end > text && isTrimmed(end[-1])) --end;
    *end = '\0';
    return text;
}
