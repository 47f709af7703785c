#pragma once

// The colours of the eclipse map, one set for the window's map and for the map files
// (KML) that other programs show, so that a path looks the same in both. Plain values,
// no Qt: render/ turns them into its pens and brushes, export/ into KML colours.

#include <cstdint>

struct MapColour {
    std::uint8_t r = 0, g = 0, b = 0;
    std::uint8_t alpha = 255; // 255 opaque
};

namespace map_palette {
inline constexpr MapColour kPenumbra = {128, 128, 192};      // outlines, partial limits
inline constexpr MapColour kUmbra = {0, 64, 128};            // umbra points, path limits
inline constexpr MapColour kPathBand = {0, 64, 128, 80};     // the path between its limits
inline constexpr MapColour kCentralLine = {200, 30, 30};     // on top of the band
inline constexpr MapColour kGreatest = {0, 0, 0};            // greatest eclipse's marker
inline constexpr MapColour kRiseSetCurve = {128, 128, 192};  // begins or ends at sunrise/set
inline constexpr MapColour kMaximumLine = {170, 100, 0};     // maximum at one UT
inline constexpr MapColour kRiseSetMaximum = {110, 60, 150}; // maximum at sunrise or sunset
inline constexpr MapColour kMagnitudeLine = {0, 120, 90};    // equal magnitude at maximum
} // namespace map_palette
