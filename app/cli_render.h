#pragma once

#include "ephemeris/engine.h"

#include <string>

// Renders the window at width x height pixels on Qt's offscreen platform, computes the
// shadow snapshot at the given instant (UT) through the window's own code, and writes
// the window as a PNG to file. Returns the exit status: 0 on success, 1 when the image
// cannot be written, 2 for a size that is not positive.
int RenderSnapshotPng(int day, int month, int year, int hour, int minute, double second,
                      const std::string& file, int width, int height);

// The map command (its path layer from the engine's theories) for the date texts (as the fields
// would hold them) on an offscreen window of width x height pixels, then the window as a PNG.
// Message boxes go to stderr. Returns 0 on success, 1 when the image cannot be written, 2 for a
// size out of range.
int RenderMapPng(const std::string& day, const std::string& month, const std::string& year,
                 const std::string& file, int width, int height, Ephemeris engine);

// Types the date texts into the fields of an offscreen view, runs the map command, then
// the window's print sequence into a one-page PDF at file, without a dialog (the title
// shows the texts as typed). Message boxes go to stderr. Returns the exit status: 0 on
// success, 1 when the PDF cannot be written.
int RenderPrintPdf(const std::string& day, const std::string& month, const std::string& year,
                   const std::string& file, Ephemeris engine);

// Default size: the view's design size.
constexpr int kDefaultPngWidth = 748;
constexpr int kDefaultPngHeight = 539;
