#pragma once

// Files the Qt programs write, so that a write cannot half-happen: the bytes are made
// in memory and written by WriteFileAtomically (io/atomic_write.h: a temporary file
// beside the target, every write, the flush and the close checked, then renamed over
// it); the PDF printer, which writes by name, writes a temporary file that is checked
// whole before the rename. On failure the target is left as it was and no temporary
// file stays.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <functional>

// Each returns the reason for a failure ("cannot write out.png: No space left on
// device"), or an empty string when the file was written.

// The image in format (e.g. "PNG").
QString SaveImageAtomically(const QImage& image, const QString& path, const char* format);

// The bytes as they are.
QString SaveBytesAtomically(const QByteArray& bytes, const QString& path);

// A PDF made by write(temporaryPath), which returns false when it failed. The file is
// checked to be a whole PDF (its cross-reference table where the trailer says) before
// it replaces path.
QString SavePdfAtomically(const std::function<bool(const QString& temporaryPath)>& write,
                          const QString& path);

// Whether bytes end as a whole PDF: "%%EOF" after a startxref whose offset points at
// the cross-reference table. A file cut short by a full disk fails this.
bool IsCompletePdf(const QByteArray& bytes);

// Whether path is a regular file (symbolic links followed) of at most maxBytes, so
// that reading it neither blocks (FIFO, device) nor reads without end.
bool IsReadableRegularFile(const QString& path, qint64 maxBytes);
