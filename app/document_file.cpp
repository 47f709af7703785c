#include "app/document_file.h"

#include "io/atomic_write.h"

#include <QFile>

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SystemError(int error) {
    return std::strerror(error);
}

std::string TypeProblem(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "it is a folder, not a file";
    }
    if (S_ISFIFO(mode)) {
        return "it is a pipe, not a file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device, not a file";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket, not a file";
    }
    return "it is not a regular file";
}

std::string TooLarge(std::size_t maxBytes) {
    return "it is larger than " + std::to_string(maxBytes / 1024) +
           " KiB, too large for a Kestrova document";
}

// Closes a descriptor when it goes out of scope.
struct FileDescriptor {
    explicit FileDescriptor(int descriptor) : fd(descriptor) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    int fd;
};

} // namespace

FileBytes ReadRegularFile(const std::string& path, std::size_t maxBytes) {
    FileBytes result;
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) {
        result.error = SystemError(errno);
        return result;
    }
    if (!S_ISREG(before.st_mode)) {
        result.error = TypeProblem(before.st_mode);
        return result;
    }
    // Non-blocking, so that a file swapped for a FIFO after the check cannot make the
    // program wait; the type is checked again on what was actually opened.
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.fd < 0) {
        result.error = SystemError(errno);
        return result;
    }
    struct stat opened {};
    if (::fstat(file.fd, &opened) != 0) {
        result.error = SystemError(errno);
        return result;
    }
    if (!S_ISREG(opened.st_mode)) {
        result.error = TypeProblem(opened.st_mode);
        return result;
    }
    if (opened.st_size < 0 || static_cast<unsigned long long>(opened.st_size) > maxBytes) {
        result.error = TooLarge(maxBytes);
        return result;
    }
    // Read to the end, but never more than maxBytes + 1: the file may grow meanwhile.
    std::string bytes;
    char buffer[4096];
    while (true) {
        const ssize_t n = ::read(file.fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            result.error = SystemError(errno);
            return result;
        }
        if (n == 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        if (bytes.size() > maxBytes) {
            result.error = TooLarge(maxBytes);
            return result;
        }
    }
    result.bytes = std::move(bytes);
    return result;
}

std::string WriteFileAtomically(const QString& path, const std::string& bytes) {
    return WriteFileAtomically(QFile::encodeName(path).toStdString(), std::string_view(bytes))
        .reason;
}
