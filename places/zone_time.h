#pragma once

// Civil time in a place's time zone, from the system's time zone database
// (/usr/share/zoneinfo, through the C library).

#include <optional>
#include <string>
#include <vector>

struct ZonedInstant {
    // The civil date and time (Julian calendar before 1582 October 15, as
    // everywhere in the program).
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int tenths = 0;           // tenths of a second since the minute began, 0..599
    int utcOffset = 0;        // seconds east of Greenwich
    std::string abbreviation; // e.g. "CDT"; the offset ("+0530") where the zone has none
};

// Whether a zone name (e.g. "Europe/Madrid") names a zone of the system's database
// (TZDIR or /usr/share/zoneinfo), and nothing outside it.
bool IsKnownZone(const std::string& zone);

// The zone names of the database's source summary (tzdata.zi: zones and links),
// sorted; empty where the database has none. A name listed there is known; one
// missing from it may still be a file of the database (IsKnownZone).
std::vector<std::string> ListedZoneNames();

// jdUT rounded to a tenth of a second, in the zone (an IANA name such as
// "Europe/Madrid"); an empty name means the system's local zone. Empty when the zone
// is not in the database or the instant is not finite.
//
// The C library reads the zone from the TZ variable: this sets it for the call and
// restores it, so call it from one thread only (the command-line program).
std::optional<ZonedInstant> ToZone(double jdUT, const std::string& zone);

// A zoned instant as FormatInstant(jd, 1) writes it, without the zone:
// "YYYY-MM-DDTHH:MM:SS.s".
std::string FormatZoned(const ZonedInstant& z);
