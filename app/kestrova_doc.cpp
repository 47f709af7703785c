#include "app/kestrova_doc.h"

#include "platform/save_file.h"

#include <QFile>
#include <QFileInfo>

bool CKestrovaDoc::OnSaveDocument(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    file.close();
    m_strPathName = path;
    return true;
}

bool CKestrovaDoc::OnOpenDocument(const QString& path) {
    // Only a regular file: opening a FIFO would wait for a writer, a device never end.
    constexpr qint64 kMaxDocumentBytes = 16 * 1024 * 1024;
    if (!IsReadableRegularFile(path, kMaxDocumentBytes)) {
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    m_strPathName = path;
    return true;
}

QString CKestrovaDoc::GetTitle() const {
    return m_strPathName.isEmpty() ? QStringLiteral("Untitled")
                                   : QFileInfo(m_strPathName).fileName();
}
