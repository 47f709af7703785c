#pragma once

// Places by name: the GeoNames cities of more than 15 000 inhabitants
// (res/places/cities15000.tsv), looked up without regard to case or accents.

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct Place {
    std::string name;       // as GeoNames writes it (UTF-8)
    std::string asciiName;  // GeoNames' ASCII transliteration
    std::string country;    // ISO 3166 two-letter code
    double latitude = 0.0;  // degrees, north positive
    double longitude = 0.0; // degrees, east positive
    long population = 0;
    std::string zone; // IANA time zone, e.g. "America/Chicago"; empty if unknown
};

struct Gazetteer {
    std::vector<Place> places;
    // Folded name -> index into places, sorted by key, then by population (largest
    // first). Each place appears under its name and its ASCII name.
    std::vector<std::pair<std::string, std::uint32_t>> index;
};

struct GazetteerLoad {
    Gazetteer gazetteer;
    std::string error; // empty when loaded
};

// Reads the gazetteer file. A line that is not a place (wrong column count, a
// coordinate out of range) makes the load fail with its line number.
GazetteerLoad LoadGazetteer(const std::string& path);

// The same from the file's text.
GazetteerLoad ParseGazetteer(std::string_view text);

// A name as the index keeps it: lower case, Latin accents removed (é -> e, ß -> s,
// ø -> o), hyphens as blanks, runs of blanks as one, no blanks at either end.
std::string FoldName(std::string_view name);

// The places of that name, largest first. "NAME, CC" (a two-letter country code
// after a comma) keeps only that country's. Empty when none.
std::vector<const Place*> FindPlaces(const Gazetteer& g, std::string_view query);

// Where the gazetteer file may lie for a program in programFolder: beside it, in
// ../share/kestrova, and in the source tree it was built from. First that exists.
std::string FindGazetteerFile(const std::string& programFolder);

// The folder of the running program (from /proc/self/exe); empty if unknown.
std::string RunningProgramFolder();
