#include "app/kestrova_doc.h"

#include <QFileInfo>

QString CKestrovaDoc::GetTitle() const {
    return m_strPathName.isEmpty() ? QStringLiteral("Untitled")
                                   : QFileInfo(m_strPathName).fileName();
}
