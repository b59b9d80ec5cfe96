#include "platform/FileContent.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <utility>

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

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string FolderOf(const std::string& path) {
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// Temporaries are hidden and carry this runtime's mark, the writer's process
// id and a counter: ".<file>.ambrel-new-<pid>-<counter>". No person names a
// file like that, so the clean-up below cannot take one of theirs.
const char kTemporaryMark[] = ".ambrel-new-";

std::string TemporaryPrefix(const std::string& base) { return "." + base + kTemporaryMark; }

std::atomic<unsigned long> temporaryCounter{0};

// A new file beside the target, under a name no other file has; created
// with the usual permissions (umask applied).
int CreateTemporary(const std::string& target, std::string& name, int& descriptor) {
    const std::string prefix =
        FolderOf(target) + "/" + TemporaryPrefix(BaseName(target)) + std::to_string(getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = prefix + std::to_string(temporaryCounter++);
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

// Whether text is a number as std::to_string writes it: digits, no
// leading zero, at most maxDigits of them.
bool IsWrittenNumber(const std::string& text, std::string::size_type maxDigits) {
    if (text.empty() || text.size() > maxDigits) return false;
    if (text.find_first_not_of("0123456789") != std::string::npos) return false;
    return text[0] != '0' || text.size() == 1;
}

// The process id in the name of a temporary of the file named base; 0 when
// the name is no such temporary.
pid_t TemporaryOwner(const std::string& name, const std::string& base) {
    const std::string prefix = TemporaryPrefix(base);
    if (name.compare(0, prefix.size(), prefix) != 0) return 0;
    const std::string numbers = name.substr(prefix.size());
    const std::string::size_type dash = numbers.find('-');
    if (dash == std::string::npos) return 0;
    const std::string process = numbers.substr(0, dash);
    // Process ids have at most 7 digits; a longer number names none.
    if (!IsWrittenNumber(process, 7) || !IsWrittenNumber(numbers.substr(dash + 1), 20)) return 0;
    return static_cast<pid_t>(std::stoi(process));
}

bool HasEnded(pid_t process) { return kill(process, 0) != 0 && errno == ESRCH; }

using FileIdentity = std::pair<dev_t, ino_t>;

// The files the paths name now, links followed; paths naming nothing are
// left out.
std::set<FileIdentity> IdentitiesOf(const std::vector<std::string>& paths) {
    std::set<FileIdentity> identities;
    for (const std::string& path : paths) {
        struct stat status;
        if (stat(path.c_str(), &status) == 0) identities.insert({status.st_dev, status.st_ino});
    }
    return identities;
}

// A process killed while replacing the target leaves its temporary behind;
// removing those of ended processes keeps them from piling up. A running
// process's temporary may be in the middle of its own replacement. Only
// plain files go: a link or folder of such a name was put there by someone,
// and so was a file the caller keeps, whatever its name.
void RemoveLeftTemporaries(const std::string& target, const std::vector<std::string>& kept) {
    const std::string base = BaseName(target);
    DIR* const listing = opendir(FolderOf(target).c_str());
    if (listing == nullptr) return;  // the replacement itself will say what is wrong
    const std::set<FileIdentity> keep = IdentitiesOf(kept);
    while (const dirent* const entry = readdir(listing)) {
        const pid_t owner = TemporaryOwner(entry->d_name, base);
        if (owner <= 0) continue;
        struct stat status;
        if (fstatat(dirfd(listing), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(status.st_mode) || keep.count({status.st_dev, status.st_ino}) != 0) continue;
        if (HasEnded(owner)) unlinkat(dirfd(listing), entry->d_name, 0);
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

int ReplaceFileContent(const std::string& path, const std::string& content,
                       const std::vector<std::string>& kept) {
    const std::string target = ResolvedTarget(path);
    RemoveLeftTemporaries(target, kept);
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
