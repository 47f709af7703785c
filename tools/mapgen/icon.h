// The application icon: the Earth as the base map paints it (ocean, land in the map's
// palette, coast lines), with the Moon's penumbra and umbra on it in the window's colours.
#pragma once

#include <QImage>

namespace mapgen {

// The icon sizes of the hicolor theme the program installs, in pixels.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// The icon at size x size pixels, with a transparent background (ARGB32).
QImage DrawIcon(int size);

} // namespace mapgen
