#include "platform/FileContent.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {

int WriteAll(int descriptor, const std::string& content) {
    const char* data = content.data();
    std::string::size_type left = content.size();
    while (left > 0) {
        const ssize_t written = write(descriptor, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        data += written;
        left -= static_cast<std::string::size_type>(written);
    }
    return 0;
}

// The file a path stands for: the target of a symbolic link, so that the
// link survives the replacement. A path that does not resolve is used as
// given.
std::string ResolvedTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) != nullptr) return resolved;
    return path;
}

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// A new file beside the target, under a name no other file has; created
// with the usual permissions (umask applied).
int CreateTemporary(const std::string& target, std::string& name, int& descriptor) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + ".new-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
        descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) return 0;
        if (errno != EEXIST) return errno;  // a leftover of a crash takes the next name
    }
    return EEXIST;
}

int FillTemporary(int descriptor, const std::string& target, const std::string& content) {
    struct stat former;
    if (stat(target.c_str(), &former) == 0 && fchmod(descriptor, former.st_mode & 07777) != 0)
        return errno;
    if (const int error = WriteAll(descriptor, content)) return error;
    if (fsync(descriptor) != 0) return errno;
    return 0;
}

// Makes the rename itself durable. The content is safe either way, so a
// folder that cannot be flushed is no failure.
void FlushFolder(const std::string& folder) {
    const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

}  // namespace

int ReadFileContent(const std::string& path, std::string& content) {
    content.clear();
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return errno;
    char buffer[65536];
    int error = 0;
    for (;;) {
        const ssize_t count = read(descriptor, buffer, sizeof buffer);
        if (count == 0) break;
        if (count < 0) {
            if (errno == EINTR) continue;
            error = errno;
            content.clear();
            break;
        }
        content.append(buffer, static_cast<std::string::size_type>(count));
    }
    close(descriptor);
    return error;
}

int ReplaceFileContent(const std::string& path, const std::string& content) {
    const std::string target = ResolvedTarget(path);
    std::string temporary;
    int descriptor = -1;
    if (const int error = CreateTemporary(target, temporary, descriptor)) return error;
    int error = FillTemporary(descriptor, target, content);
    if (close(descriptor) != 0 && error == 0) error = errno;
    if (error == 0 && std::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        unlink(temporary.c_str());
        return error;
    }
    FlushFolder(FolderOf(target));
    return 0;
}

}  // namespace platform
