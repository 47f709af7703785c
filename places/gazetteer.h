#pragma once

// Places by name. The source is a tab-separated text (res/places/places.tsv: GeoNames'
// places of at least 5000 inhabitants with their alternate names, the countries and
// the first-level regions); the build compiles it into a binary index (places.kgz)
// that loads without parsing or sorting. Names are looked up without regard to case,
// accents or punctuation, with "NAME, REGION" and "NAME, COUNTRY" (codes or names)
// to choose among places of one name.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct Place {
    std::string name;       // as GeoNames writes it (UTF-8)
    std::string country;    // ISO 3166 two-letter code
    std::string region;     // the first-level region as people write it ("TX"), or empty
    double latitude = 0.0;  // degrees, north positive
    double longitude = 0.0; // degrees, east positive
    long population = 0;
    std::string zone; // IANA time zone, e.g. "America/Chicago"
    // Metres above sea level: GeoNames' elevation of the place, else the height of its
    // terrain model (SRTM3 or GTOPO30) there; empty when neither is known.
    std::optional<double> heightM;
};

// "Dallas, TX, US": the name, the region where it is known, the country code.
std::string DescribePlace(const Place& p);

// A loaded index: the file's bytes (mapped from the file or held), checked whole
// when it was read. Copies share the bytes.
struct Gazetteer {
    std::shared_ptr<const char> data;
    std::size_t size = 0;
};

struct GazetteerLoad {
    Gazetteer gazetteer;
    std::string error; // empty when loaded; names the file and the line or record
};

// Reads a gazetteer: the binary index, or (for a file that is not one) the text
// source, compiled in memory. A cut or malformed file, and a time zone that the
// system's database does not hold, make the load fail; nothing is half loaded.
GazetteerLoad LoadGazetteer(const std::string& path);

// Checks the bytes of a binary index (see LoadGazetteer); the error names no file.
GazetteerLoad ReadGazetteerIndex(std::string bytes);

// Compiles the text source into the binary index. zoneKnown says whether a time
// zone name exists. The error names the line.
struct GazetteerBuild {
    std::string bytes;
    std::string error;
};
GazetteerBuild BuildGazetteerIndex(std::string_view source,
                                   const std::function<bool(const std::string&)>& zoneKnown);

// The number of places in a loaded index.
std::size_t PlaceCount(const Gazetteer& g);

// The place of the index nearest to a point (degrees), if one lies within withinKm
// (great-circle distance on a sphere of the Earth's equatorial radius).
struct NearbyPlace {
    Place place;
    double distanceKm = 0.0;
};
std::optional<NearbyPlace> NearestPlace(const Gazetteer& g, double latitude, double longitude,
                                        double withinKm);

// Every place of the index, the most populous first, at most `most` of them; of a town
// that GeoNames lists twice (one population, within 10 km, one name containing the other:
// "City of London" beside "London"), only the entry with the shorter name.
std::vector<Place> PlacesBySize(const Gazetteer& g, std::size_t most);

// A name as the index keeps it: lower case, Latin accents removed (é -> e, ß -> s,
// ø -> o), hyphens as blanks, dots and apostrophes dropped, runs of blanks as one,
// no blanks at either end.
std::string FoldName(std::string_view name);

// Whether two folded names differ only in one doubled letter written once ("dallas",
// "dalas"). Such an alternate name of a place is a slip as often as a spelling of its
// own: unless another place has it for a name, the index does not take it as the
// place's name, and a query of it suggests that place.
bool IsDoubledLetterSlip(std::string_view a, std::string_view b);

// The places of that name (their name, ASCII name or an alternate name that is no
// doubled-letter slip of those), largest first. Words after commas narrow the choice: each must be
// the place's country (code, name or a common alternate such as "USA") or its first-level region
// (code or name). Empty when none.
std::vector<Place> FindPlaces(const Gazetteer& g, std::string_view query);

// For a query FindPlaces finds nothing for: the places that list it as a slip of
// their name (see IsDoubledLetterSlip), else up to `most` places whose name is
// within a typing slip or two of it (and that fit the words after commas where any
// place of the name does), the closest and then the largest first.
std::vector<Place> SuggestPlaces(const Gazetteer& g, std::string_view query, std::size_t most);

// The sentence for a query that found nothing: "no place named "Dalas"; did you
// mean Dallas, TX, US?". The query is quoted with control characters shown as \xNN.
std::string NoPlaceMessage(const Gazetteer& g, std::string_view query);

// Text made safe for one line of a terminal: control bytes (and DEL) as \xNN.
std::string PrintableText(std::string_view text);

// Where the gazetteer file may lie for a program in programFolder: beside it, in
// ../share/kestrova, and in the build tree it was built in. First that exists.
std::string FindGazetteerFile(const std::string& programFolder);

// The folder of the running program (from /proc/self/exe); empty if unknown.
std::string RunningProgramFolder();
