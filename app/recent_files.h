#pragma once

// The list of recently used files (four entries, newest first), kept in Qt's settings
// under the program's organisation and name.

#include <QString>
#include <QStringList>

namespace recent_files {

constexpr int kMaxEntries = 4;

// Moves path to the front of the list and stores it.
void Add(const QString& path);
QStringList Load();

} // namespace recent_files
