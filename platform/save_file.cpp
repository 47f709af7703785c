#include "platform/save_file.h"

#include "io/atomic_write.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace {

QString Reason(const QString& path, const QString& why) {
    return QStringLiteral("cannot write %1: %2").arg(path, why);
}

// The target check of the Qt-free writer: no devices, FIFOs or folders.
QString CheckTarget(const QString& path) {
    const WriteResult check = CheckWriteTarget(path.toStdString());
    return QString::fromStdString(check.error);
}

} // namespace

QString SaveImageAtomically(const QImage& image, const QString& path, const char* format) {
    if (image.isNull()) {
        return Reason(path, QStringLiteral("there is no picture"));
    }
    // Encoded in memory first: an image writer that meets a short write on a full disk
    // may still report success (seen with PNG through QSaveFile), while the byte
    // writer below checks every write.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, format)) {
        return Reason(path, QStringLiteral("the picture could not be encoded"));
    }
    return SaveBytesAtomically(bytes, path);
}

QString SaveBytesAtomically(const QByteArray& bytes, const QString& path) {
    const WriteResult result = WriteFileAtomically(
        path.toStdString(),
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    return QString::fromStdString(result.error);
}

bool IsCompletePdf(const QByteArray& bytes) {
    QByteArray tail = bytes.right(64);
    while (!tail.isEmpty() && (tail.back() == '\n' || tail.back() == '\r')) {
        tail.chop(1);
    }
    if (!tail.endsWith("%%EOF")) {
        return false;
    }
    const qsizetype at = bytes.lastIndexOf("startxref");
    if (at < 0) {
        return false;
    }
    const QByteArray rest = bytes.mid(at + 9, 32).trimmed();
    const qsizetype end = rest.indexOf('\n') < 0 ? rest.indexOf('\r') : rest.indexOf('\n');
    bool ok = false;
    const qlonglong offset = rest.left(end < 0 ? rest.size() : end).trimmed().toLongLong(&ok);
    return ok && offset >= 0 && offset < at && bytes.mid(offset, 4) == "xref";
}

QString SavePdfAtomically(const std::function<bool(const QString& temporaryPath)>& write,
                          const QString& path) {
    if (QString target = CheckTarget(path); !target.isEmpty()) {
        return target;
    }
    std::string temporaryName;
    const int fd = CreateTemporaryBeside(path.toStdString(), temporaryName);
    if (fd < 0) {
        return Reason(path, QString::fromLocal8Bit(std::strerror(errno)));
    }
    close(fd);
    const QString temporary = QString::fromStdString(temporaryName);

    QString failure;
    if (!write(temporary)) {
        failure = Reason(path, QStringLiteral("the PDF could not be made"));
    } else {
        QFile made(temporary);
        if (!made.open(QIODevice::ReadOnly) || !IsCompletePdf(made.readAll())) {
            failure = Reason(path, QStringLiteral("the PDF was not written whole (is the disk "
                                                  "full?)"));
        }
    }
    if (!failure.isEmpty()) {
        QFile::remove(temporary);
        return failure;
    }
    const WriteResult committed = CommitTemporaryFile(temporary.toStdString(), path.toStdString());
    return QString::fromStdString(committed.error);
}

bool IsReadableRegularFile(const QString& path, qint64 maxBytes) {
    const QFileInfo info(path);
    return info.isFile() && info.size() <= maxBytes;
}
