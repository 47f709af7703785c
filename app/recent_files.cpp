#include "app/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace recent_files {

namespace {
const QString kGroup = QStringLiteral("Recent File List");

QString Key(int i) {
    return QStringLiteral("File%1").arg(i + 1);
}
} // namespace

QStringList Load() {
    QSettings settings;
    settings.beginGroup(kGroup);
    QStringList list;
    for (int i = 0; i < kMaxEntries; ++i) {
        const QString path = settings.value(Key(i)).toString();
        if (!path.isEmpty()) {
            list.append(path);
        }
    }
    return list;
}

void Add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = Load();
    list.removeAll(absolute);
    list.prepend(absolute);
    QSettings settings;
    settings.beginGroup(kGroup);
    for (int i = 0; i < kMaxEntries; ++i) {
        if (i < list.size()) {
            settings.setValue(Key(i), list[i]);
        } else {
            settings.remove(Key(i));
        }
    }
}

} // namespace recent_files
