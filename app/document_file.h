#pragma once

// The file side of documents: reading a small regular file without ever blocking on a
// FIFO or a device, and replacing a file atomically (a temporary file renamed over it,
// so an interrupted save leaves the old file or the new one, never a part).

#include <QString>

#include <cstddef>
#include <optional>
#include <string>

struct FileBytes {
    std::optional<std::string> bytes;
    std::string error; // when !bytes: a phrase for "Cannot open FILE: <error>."
};

// The whole content of path if it is a regular file (symbolic links followed) of at most
// maxBytes; otherwise why not. FIFOs, devices, sockets and folders are refused without
// being opened for reading.
FileBytes ReadRegularFile(const std::string& path, std::size_t maxBytes);

// Replaces path by bytes atomically. Empty on success, otherwise why it failed (the file
// at path is then unchanged).
std::string WriteFileAtomically(const QString& path, const std::string& bytes);
