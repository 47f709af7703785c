#include "ephemeris/engine.h"

std::string_view EphemerisName(Ephemeris engine) {
    return engine == Ephemeris::Precise ? "precise" : "classic";
}

std::optional<Ephemeris> ParseEphemeris(std::string_view name) {
    if (name == "classic")
        return Ephemeris::Classic;
    if (name == "precise")
        return Ephemeris::Precise;
    return std::nullopt;
}
