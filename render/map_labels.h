#pragma once

// Grid labels of the screen map, in design pixels (top-left corner of each text):
// latitudes in a column right of the map, longitudes in a row under it.

namespace map_labels {

struct Label {
    const char* text;
    int x;
    int y;
};

constexpr Label kScreenLatitudes[] = {
    {"75N", 732, 0}, {"60N", 732, 65},  {"30N", 732, 141},
    {"0", 732, 195}, {"30S", 732, 249}, {"60S", 732, 320},
};

constexpr Label kScreenLongitudes[] = {
    {"180W", 9, 332},   {"150W", 69, 332},  {"120W", 129, 332}, {"90 W", 189, 332},
    {"60 W", 249, 332}, {"30 W", 309, 332}, {"0", 369, 332},    {"30 E", 429, 332},
    {"60 E", 489, 332}, {"90 E", 549, 332}, {"120E", 609, 332}, {"150E", 669, 332},
    {"180E", 719, 332},
};

} // namespace map_labels
