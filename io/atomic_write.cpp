#include "io/atomic_write.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

WriteResult Failure(const std::string& path, int error) {
    return {"cannot write " + path + ": " + std::strerror(error), std::strerror(error)};
}

WriteResult Failure(const std::string& path, const char* reason) {
    return {"cannot write " + path + ": " + reason, reason};
}

// The folder part of path with its slash ("" for a bare name).
std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Mode for a new file, as open(2) with 0666 would give it under the umask.
mode_t NewFileMode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The temporaries of a write of that name that a killed process left behind:
// ".NAME.XXXXXX" (mkstemp's six letters) beside it, regular files of this user,
// untouched for an hour (a write still in progress changes its file every moment).
void RemoveStaleTemporaries(const std::string& folder, const std::string& name) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return;
    const std::string prefix = "." + name + ".";
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = readdir(dir)) {
        const std::string file = entry->d_name;
        if (file.size() != prefix.size() + 6 || file.compare(0, prefix.size(), prefix) != 0)
            continue;
        const bool letters = std::all_of(file.end() - 6, file.end(), [](char c) {
            return std::isalnum(static_cast<unsigned char>(c)) != 0;
        });
        struct stat st {};
        const std::string full = folder + file;
        if (letters && lstat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
            st.st_uid == getuid() && now - st.st_mtime > 3600)
            unlink(full.c_str());
    }
    closedir(dir);
}

} // namespace

int CreateTemporaryBeside(const std::string& path, std::string& temporary) {
    const std::string folder = FolderOf(path);
    RemoveStaleTemporaries(folder, path.substr(folder.size()));
    const std::string pattern = folder + "." + path.substr(folder.size()) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd < 0)
        return -1;
    // mkstemp makes the file 0600; a new file gets the usual mode, a replaced one
    // keeps its own.
    struct stat existing {};
    const mode_t mode = stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)
                            ? existing.st_mode & 07777
                            : NewFileMode();
    if (fchmod(fd, mode) != 0) {
        const int error = errno;
        close(fd);
        unlink(name.data());
        errno = error;
        return -1;
    }
    temporary = name.data();
    return fd;
}

WriteResult CheckWriteTarget(const std::string& path) {
    if (path.empty())
        return {"cannot write a file without a name", "the file has no name"};
    if (path.back() == '/')
        return Failure(path, "it is a folder");
    struct stat st {};
    if (stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? WriteResult{} : Failure(path, errno);
    if (S_ISDIR(st.st_mode))
        return Failure(path, "it is a folder");
    if (!S_ISREG(st.st_mode))
        return Failure(path, "it is not a regular file");
    return {};
}

WriteResult CommitTemporaryFile(const std::string& temporary, const std::string& path) {
    const int fd = open(temporary.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return Failure(path, error);
    }
    const bool synced = fsync(fd) == 0;
    const int syncError = errno;
    const bool closed = close(fd) == 0;
    const int closeError = errno;
    if (!synced || !closed) {
        unlink(temporary.c_str());
        return Failure(path, !synced ? syncError : closeError);
    }
    if (rename(temporary.c_str(), path.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        return Failure(path, error);
    }
    return {};
}

WriteResult WriteFileAtomically(const std::string& path, std::string_view contents) {
    if (WriteResult target = CheckWriteTarget(path); !target.ok())
        return target;
    std::string temporary;
    const int fd = CreateTemporaryBeside(path, temporary);
    if (fd < 0)
        return Failure(path, errno);
    bool ok = WriteAll(fd, contents) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temporary.c_str(), path.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temporary.c_str());
        return Failure(path, error);
    }
    return {};
}
