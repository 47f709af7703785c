#pragma once

// Whether the window program can expect a display before Qt is started: without one,
// Qt aborts with advice that does not fit. No Qt here.

#include <string>

// Empty when a display looks usable (or a Qt platform was chosen explicitly with
// QT_QPA_PLATFORM or -platform); otherwise the sentence that tells the user what to do.
std::string MissingDisplayMessage(int argc, char** argv);
