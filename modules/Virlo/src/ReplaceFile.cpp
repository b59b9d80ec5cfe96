#include "ReplaceFile.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

void ReplaceFile(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::rename(from, to, error);
    if (error.value() == EXDEV) {
        error.clear();
        fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
        if (!error) {
            // The target is in place; a source that cannot be removed is only litter.
            std::error_code ignored;
            fs::remove(from, ignored);
            return;
        }
    }
    if (error) throw fs::filesystem_error("rename", from, to, error);
}
