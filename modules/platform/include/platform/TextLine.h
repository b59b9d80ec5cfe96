#ifndef PLATFORM_TEXT_LINE_H
#define PLATFORM_TEXT_LINE_H

#include <istream>
#include <string>

namespace platform {

// Reads one line of a file opened in text mode: up to the next line feed,
// with a carriage return before it dropped, so CR LF and LF files read alike.
inline bool GetTextLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) return false;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return true;
}

}  // namespace platform

#endif
