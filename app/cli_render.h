#pragma once

#include <string>

// Renders the window at width x height pixels on Qt's offscreen platform, computes the
// shadow snapshot at the given instant (UT) through the window's own code, and writes
// the window as a PNG to file. Returns the exit status: 0 on success, 1 when the image
// cannot be written, 2 for a size that is not positive.
int RenderSnapshotPng(int day, int month, int year, int hour, int minute, double second,
                      const std::string& file, int width, int height);

// Default size: the view's design size.
constexpr int kDefaultPngWidth = 748;
constexpr int kDefaultPngHeight = 539;
