#pragma once

// The time zone of any point on the Earth, from a map of the zones' boundaries
// (places/zone_map_data.h). On land and in territorial waters the IANA zone of the
// place; on the high seas the nautical zone: whole hours, 15 degrees wide, centred
// on the multiples of 15 degrees of longitude ("Etc/GMT+5" is five hours behind UT).

#include <string>

struct PointZone {
    std::string zone;      // IANA name, e.g. "Europe/Madrid" or "Etc/GMT+2"
    bool nautical = false; // at sea: the nautical zone of the longitude
};

// latitude -90..90, longitude -180..180 degrees (east positive); out of range or not
// finite gives UTC, marked nautical.
PointZone ZoneAtPoint(double latitude, double longitude);

// The nautical zone of a longitude in degrees: "Etc/GMT-1" for 7.5..22.5 E, "Etc/GMT"
// for 7.5 W..7.5 E, down to "Etc/GMT+12" west of 172.5 W and "Etc/GMT-12" east of
// 172.5 E.
std::string NauticalZone(double longitude);
