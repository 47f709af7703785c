#pragma once

// The window's gazetteer: read once, on first use, from beside the program, its
// share/kestrova folder or the build tree. The place questions, the name of a clicked
// point and the towns of a magnified map all use this one. No Qt here.

#include "places/gazetteer.h"

// The load, with an error that names the file and the fault, or says that the list of
// places is not installed.
const GazetteerLoad& ProgramGazetteer();
