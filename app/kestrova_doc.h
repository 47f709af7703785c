#pragma once

// The document's identity: the file it was opened from or saved to, and whether the
// window shows changes not saved there. What a document holds is KestrovaDocument
// (document_format.h); the main frame collects it from the view and shows it there.

#include <QString>

class CKestrovaDoc {
public:
    // A new document: no file ("Untitled"), nothing changed.
    void OnNewDocument() {
        m_strPathName.clear();
        m_bModified = false;
    }
    void SetPathName(const QString& path) { m_strPathName = path; }
    const QString& GetPathName() const { return m_strPathName; }

    void SetModifiedFlag(bool modified) { m_bModified = modified; }
    bool IsModified() const { return m_bModified; }

    // "Untitled" for a new document, otherwise the file's name.
    QString GetTitle() const;

private:
    QString m_strPathName;
    bool m_bModified = false;
};
