#include "app/display_check.h"

#include <cstdlib>
#include <cstring>

#include <sys/stat.h>

#ifdef KESTROVA_HAVE_XCB
#include <xcb/xcb.h>
#endif

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

bool PlatformChosen(int argc, char** argv) {
    if (!Environment("QT_QPA_PLATFORM").empty()) {
        return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0) {
            return true;
        }
    }
    return false;
}

// Whether the X server named by DISPLAY accepts a connection.
bool XDisplayAnswers() {
#ifdef KESTROVA_HAVE_XCB
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool answers = connection != nullptr && xcb_connection_has_error(connection) == 0;
    if (connection != nullptr) {
        xcb_disconnect(connection);
    }
    return answers;
#else
    return true; // Qt will tell
#endif
}

// Whether the Wayland socket named by WAYLAND_DISPLAY exists.
bool WaylandSocketExists(const std::string& name) {
    const std::string path =
        name.front() == '/' ? name : Environment("XDG_RUNTIME_DIR") + "/" + name;
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISSOCK(info.st_mode);
}

std::string Advice(const std::string& why) {
    return "Kestrova cannot show its window because " + why +
           "; use kestrova-cli for the results on the command line, or run the window under "
           "a virtual display with xvfb-run (for example: xvfb-run kestrova).";
}

} // namespace

std::string MissingDisplayMessage(int argc, char** argv) {
    if (PlatformChosen(argc, argv)) {
        return {};
    }
    const std::string x = Environment("DISPLAY");
    const std::string wayland = Environment("WAYLAND_DISPLAY");
    if (!wayland.empty() && WaylandSocketExists(wayland)) {
        return {};
    }
    if (!x.empty()) {
        if (XDisplayAnswers()) {
            return {};
        }
        return Advice("the display \"" + x + "\" does not answer");
    }
    if (!wayland.empty()) {
        return Advice("the Wayland display \"" + wayland + "\" does not answer");
    }
    return Advice("no display is available (DISPLAY and WAYLAND_DISPLAY are not set)");
}
