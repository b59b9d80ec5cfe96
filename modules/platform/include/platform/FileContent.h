#ifndef PLATFORM_FILE_CONTENT_H
#define PLATFORM_FILE_CONTENT_H

#include <string>
#include <vector>

namespace platform {

// Reads the whole file, byte for byte. Returns 0, or the errno of the
// failure (content is then left empty).
int ReadFileContent(const std::string& path, std::string& content);

// Makes the file at path hold content, so that at every moment the path
// names either the former file whole or the new one whole: the content goes
// into a new file in the same folder, ".<file>.ambrel-new-<pid>-<counter>"
// (hidden, marked as this runtime's, with the writer's process id), is
// flushed to the disk and then renamed over the path. A symbolic link is
// followed, the former file's permission bits are kept. Returns 0, or the
// errno of the failure; the former file is then untouched and the new one
// removed.
// New files of exactly that name left beside the same file by processes
// that have ended since are removed first: plain files only (a link or a
// folder of such a name stays), and none that is one of the files the paths
// in kept name now (compared as files, so a link to one or another spelling
// of its path is kept as well). Files under any other name are never
// touched.
int ReplaceFileContent(const std::string& path, const std::string& content,
                       const std::vector<std::string>& kept);

}  // namespace platform

#endif
