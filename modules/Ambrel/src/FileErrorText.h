#ifndef AMBREL_FILE_ERROR_TEXT_H
#define AMBREL_FILE_ERROR_TEXT_H

#include <cstring>
#include <string>

// "'path': reason" for a failed file operation and its errno.
inline std::string FileErrorText(const std::string& path, int error) {
    return "'" + path + "': " + std::strerror(error);
}

#endif
