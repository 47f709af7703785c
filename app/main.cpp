// The window program: the main frame with the map, the control panel and the status bar.
// kestrova [FILE]: opens the Kestrova document FILE at start.

#include "app/display_check.h"
#include "app/main_frame.h"
#include "app/version.h"
#include "view/kestrova_view.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "usage: kestrova [FILE]\n"
    "\n"
    "Computes solar eclipses for a date and a Universal Time and draws them on a world\n"
    "map. FILE is a Kestrova document (.kestrova) to open at start.\n"
    "\n"
    "options:\n"
    "  --help     show this text and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "For the results on the command line, see kestrova-cli --help.\n";

// Without XDG_RUNTIME_DIR (a session started without a login manager) Qt falls back to
// /tmp/runtime-USER and warns on every start. Take that folder first, when it is a
// folder of ours that only we can enter, so that the fallback says nothing; otherwise
// leave the variable unset and Qt's warning stands.
void ProvideRuntimeFolder() {
    const char* set = std::getenv("XDG_RUNTIME_DIR");
    if (set && *set)
        return;
    const passwd* user = getpwuid(getuid());
    if (!user || !user->pw_name)
        return;
    const std::string folder = std::string("/tmp/runtime-") + user->pw_name;
    mkdir(folder.c_str(), 0700); // may exist already
    struct stat st {};
    if (lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid() &&
        (st.st_mode & 077) == 0)
        setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
}

} // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("kestrova %s\n", kKestrovaVersion);
            return 0;
        }
    }
    if (const std::string missing = MissingDisplayMessage(argc, argv); !missing.empty()) {
        std::fprintf(stderr, "%s\n", missing.c_str());
        return 1;
    }

    ProvideRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QString::fromLatin1(kAppTitle));
    QApplication::setApplicationName(QString::fromLatin1(kAppTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(kKestrovaVersion));
    QApplication::setDesktopFileName(QStringLiteral("org.kestrova.Kestrova"));

    // What Qt left of the arguments: at most one document.
    QStringList files = QApplication::arguments().mid(1);
    for (const QString& argument : files) {
        if (argument.startsWith(QLatin1Char('-'))) {
            std::fprintf(stderr, "kestrova: unknown option %s\n%s", qPrintable(argument), kUsage);
            return 2;
        }
    }
    if (files.size() > 1) {
        std::fprintf(stderr, "kestrova: one document at a time\n%s", kUsage);
        return 2;
    }

    CMainFrame frame;
    frame.RestoreWindowGeometry();
    frame.show();
    // Ask for the keyboard at once, so that typing and the shortcuts reach the window
    // even where no window manager hands it the focus (a virtual display).
    frame.activateWindow();
    frame.GetActiveView()->OnInitialUpdate();
    if (!files.isEmpty()) {
        frame.OpenDocument(files.front());
    }
    return QApplication::exec();
}
