// The window program: the main frame with the map, the control panel and the status bar.

#include "app/main_frame.h"
#include "view/kestrova_view.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The organisation under which the framework keeps its recent-file list.
    QApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
    QApplication::setApplicationName(QString::fromLatin1(kAppTitle));

    CMainFrame frame;
    frame.show();
    frame.GetActiveView()->OnInitialUpdate();
    return QApplication::exec();
}
