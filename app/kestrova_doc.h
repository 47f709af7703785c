#pragma once

// The document: holds nothing. Saving writes a file with no content of the program's
// own; opening reads nothing and changes nothing in the view. It only carries the
// file name that the window title shows.

#include <QString>

class CKestrovaDoc {
public:
    // Starts a new, empty document ("Untitled").
    void OnNewDocument() { m_strPathName.clear(); }
    // Writes the (empty) document to path; false when the file cannot be written.
    bool OnSaveDocument(const QString& path);
    // Opens path; false when it cannot be read. Nothing is loaded.
    bool OnOpenDocument(const QString& path);

    const QString& GetPathName() const { return m_strPathName; }
    // "Untitled" for a new document, otherwise the file's name.
    QString GetTitle() const;

private:
    QString m_strPathName;
};
