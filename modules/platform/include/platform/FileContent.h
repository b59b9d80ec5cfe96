#ifndef PLATFORM_FILE_CONTENT_H
#define PLATFORM_FILE_CONTENT_H

#include <string>

namespace platform {

// Reads the whole file, byte for byte. Returns 0, or the errno of the
// failure (content is then left empty).
int ReadFileContent(const std::string& path, std::string& content);

// Makes the file at path hold content, so that at every moment the path
// names either the former file whole or the new one whole: the content goes
// into a new file in the same folder, is flushed to the disk and then
// renamed over the path. A symbolic link is followed, the former file's
// permission bits are kept. Returns 0, or the errno of the failure; the
// former file is then untouched and the new one removed. New files of the
// same path left by processes that have ended since are removed first.
int ReplaceFileContent(const std::string& path, const std::string& content);

}  // namespace platform

#endif
