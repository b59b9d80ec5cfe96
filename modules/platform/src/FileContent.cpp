#include "platform/FileContent.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
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

const char kTemporaryMark[] = ".new-";

// A new file beside the target, under a name no other file has; created
// with the usual permissions (umask applied).
int CreateTemporary(const std::string& target, std::string& name, int& descriptor) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = target + kTemporaryMark + std::to_string(getpid()) + "-" + std::to_string(attempt);
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

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The process id in the name of a temporary of the file named base
// ("<base>.new-<pid>-<attempt>"); 0 when the name is no such temporary.
pid_t TemporaryOwner(const std::string& name, const std::string& base) {
    static const char kDigits[] = "0123456789";
    const std::string prefix = base + kTemporaryMark;
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const std::string numbers = name.substr(prefix.size());
    const std::string::size_type dash = numbers.find_first_not_of(kDigits);
    // Process ids have at most 7 digits; a longer number names none.
    if (dash == 0 || dash > 7 || dash == std::string::npos || numbers[dash] != '-') return 0;
    if (dash + 1 == numbers.size() || numbers.find_first_not_of(kDigits, dash + 1) != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::stoi(numbers.substr(0, dash)));
}

bool HasEnded(pid_t process) { return kill(process, 0) != 0 && errno == ESRCH; }

// A process killed while replacing the target leaves its temporary behind;
// removing those of ended processes keeps them from piling up. A running
// process's temporary may be in the middle of its own replacement.
void RemoveLeftTemporaries(const std::string& target) {
    const std::string folder = FolderOf(target) + "/";
    const std::string base = BaseName(target);
    DIR* const listing = opendir(folder.c_str());
    if (listing == nullptr) return;  // the replacement itself will say what is wrong
    while (const dirent* const entry = readdir(listing)) {
        const pid_t owner = TemporaryOwner(entry->d_name, base);
        if (owner > 0 && HasEnded(owner)) unlink((folder + entry->d_name).c_str());
    }
    closedir(listing);
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
    RemoveLeftTemporaries(target);
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
