#ifndef VIRLO_REPLACE_FILE_H
#define VIRLO_REPLACE_FILE_H

#include <string>

// Puts the file at from in the place of the file at to, replacing it; across
// file systems by copying. A failure raises std::filesystem::filesystem_error
// for the operation "rename"; the file at from then stays.
void ReplaceFile(const std::string& from, const std::string& to);

#endif
