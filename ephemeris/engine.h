#pragma once

#include <optional>
#include <string_view>

// The theories behind the apparent places. Classic: Newcomb's Sun and the principal
// terms of Brown's Moon, the theories of the window's original commands. Precise:
// VSOP87D for the Sun and ELP/MPP02 (DE405 constants) for the Moon, with IAU
// nutation and sidereal time from ERFA, the engine of the finder, the path and
// the local circumstances.
enum class Ephemeris { Classic, Precise };

// "classic" or "precise", as the command line and every output name them.
std::string_view EphemerisName(Ephemeris engine);

// The engine a name gives, or none for any other text.
std::optional<Ephemeris> ParseEphemeris(std::string_view name);
