#pragma once

// Writing a file so that it cannot half-happen: the bytes go to a temporary file in
// the target's folder, which is flushed to disk, closed (each step checked) and then
// renamed over the target. On any failure the temporary file is removed and the
// target, if it existed, is left as it was. No Qt here: kestrova-cli's text exports
// use it, and the Qt programs use the same checks through SaveFileAtomically's
// sibling in platform/ (QSaveFile).

#include <string>
#include <string_view>

// Why a write failed: empty when it succeeded.
struct WriteResult {
    std::string error;  // "cannot write out.kml: No space left on device"
    std::string reason; // the same without the file: "No space left on device"
    bool ok() const { return error.empty(); }
};

// Writes contents to path. An existing path that is not a regular file (a device,
// a FIFO, a folder) is refused, never written through.
WriteResult WriteFileAtomically(const std::string& path, std::string_view contents);

// Renames an already written temporary file over path after flushing it to disk:
// the last step of WriteFileAtomically, for writers (a PDF printer) that make the
// temporary file themselves. The temporary file is removed on failure.
WriteResult CommitTemporaryFile(const std::string& temporary, const std::string& path);

// Whether path can be the target of such a write: it does not exist, or it is a
// regular file (symbolic links followed). Otherwise the reason, as in WriteResult.
WriteResult CheckWriteTarget(const std::string& path);

// Creates an empty temporary file beside path ("dir/.name.XXXXXX"), with the mode of
// the file it replaces (or the mode a new file gets under the umask), and sets
// temporary to its name; temporaries of that name left by a killed writer (untouched
// for an hour) are removed first. Returns its open descriptor, or -1 with errno set.
int CreateTemporaryBeside(const std::string& path, std::string& temporary);
