#pragma once

#include <string>

// Pictures for kestrova-cli, drawn by the real view on Qt's offscreen platform.
// Each returns the program's exit status and reports its own errors on stderr.
int RenderSnapshotPng(int day, int month, int year, int hour, int minute, double second,
                      const std::string& file, int width, int height);
