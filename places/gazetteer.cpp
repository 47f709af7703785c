#include "places/gazetteer.h"

#include "ephemeris/constants.h"
#include "places/zone_time.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <numeric>
#include <optional>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>
#include <utility>

namespace {

// The binary index: a header, five tables of fixed-size records and a pool of
// NUL-terminated strings that the records point into (byte offsets). Integers are
// in the machine's byte order, which the header's tag checks. Version 2: name keys
// may be marked as slips (kSlipKey). Version 3: places carry their height.
constexpr char kMagic[8] = {'K', 'S', 'T', 'G', 'A', 'Z', '3', '\n'};
constexpr std::uint32_t kByteOrderTag = 0x01020304;
constexpr std::uint16_t kNoRegion = 0xFFFF;
constexpr double kCoordinateUnit = 1e-5; // degrees per stored unit
// A place's height, metres above sea level: from the shore of the Dead Sea (-430) to
// above the highest town; kNoHeight where it is not known.
constexpr int kLowestHeightM = -500;
constexpr int kHighestHeightM = 9000;
constexpr std::int16_t kNoHeight = std::numeric_limits<std::int16_t>::min();

struct Header {
    char magic[8];
    std::uint32_t byteOrder;
    std::uint32_t places, keys, zones, countries, regions, poolBytes, reserved;
    std::uint64_t fileBytes;
    std::uint64_t padding[2];
};
static_assert(sizeof(Header) == 64);

struct PlaceRecord {
    std::int32_t latitude, longitude; // kCoordinateUnit
    std::uint32_t population;
    std::uint32_t name; // pool offset
    std::uint16_t zone, country, region;
    std::int16_t height; // metres, or kNoHeight
};
static_assert(sizeof(PlaceRecord) == 24);

bool HeightFits(int metres) {
    return metres >= kLowestHeightM && metres <= kHighestHeightM;
}

// Sorted by the folded name, then by population, largest first.
struct KeyRecord {
    std::uint32_t key;   // pool offset of the folded name
    std::uint32_t place; // with kSlipKey for a doubled-letter slip of the place's name
};
// An alternate name that is a slip of the place's own (IsDoubledLetterSlip): not a
// name of the place, but what a query of it suggests.
constexpr std::uint32_t kSlipKey = 0x80000000u;
struct ZoneRecord {
    std::uint32_t name;
};
struct CountryRecord {
    char code[2];
    std::uint16_t padding;
    std::uint32_t name;
    std::uint32_t alternates; // '|'-separated
};
struct RegionRecord {
    std::uint16_t country;
    std::uint16_t padding;
    std::uint32_t code, name;
};

// The tables of a checked index.
struct Tables {
    Header header;
    const char* places;
    const char* keys;
    const char* zones;
    const char* countries;
    const char* regions;
    const char* pool;
};

template <typename Record> Record At(const char* table, std::size_t i) {
    Record r;
    std::memcpy(&r, table + i * sizeof(Record), sizeof(Record));
    return r;
}

Tables TablesOf(const char* bytes) {
    Tables t{};
    std::memcpy(&t.header, bytes, sizeof(Header));
    const Header& h = t.header;
    t.places = bytes + sizeof(Header);
    t.keys = t.places + std::size_t{h.places} * sizeof(PlaceRecord);
    t.zones = t.keys + std::size_t{h.keys} * sizeof(KeyRecord);
    t.countries = t.zones + std::size_t{h.zones} * sizeof(ZoneRecord);
    t.regions = t.countries + std::size_t{h.countries} * sizeof(CountryRecord);
    t.pool = t.regions + std::size_t{h.regions} * sizeof(RegionRecord);
    return t;
}

std::size_t TablesBytes(const Header& h) {
    return sizeof(Header) + std::size_t{h.places} * sizeof(PlaceRecord) +
           std::size_t{h.keys} * sizeof(KeyRecord) + std::size_t{h.zones} * sizeof(ZoneRecord) +
           std::size_t{h.countries} * sizeof(CountryRecord) +
           std::size_t{h.regions} * sizeof(RegionRecord) + h.poolBytes;
}

// Base letters of U+00C0..U+00FF and U+0100..U+017F, lower case; '*' where the
// character is no letter (multiplication and division signs).
constexpr std::string_view kLatin1 = "aaaaaaaceeeeiiii"
                                     "dnooooo*ouuuuyts"
                                     "aaaaaaaceeeeiiii"
                                     "dnooooo*ouuuuyty";
constexpr std::string_view kLatinExtendedA = "aaaaaaccccccccdddd"
                                             "eeeeeeeeee"
                                             "gggggggg"
                                             "hhhh"
                                             "iiiiiiiiii"
                                             "ii"
                                             "jj"
                                             "kkk"
                                             "llllllllll"
                                             "nnnnnnn"
                                             "nn"
                                             "oooooo"
                                             "oo"
                                             "rrrrrr"
                                             "ssssssss"
                                             "tttttt"
                                             "uuuuuuuuuuuu"
                                             "ww"
                                             "yyy"
                                             "zzzzzz"
                                             "s";
static_assert(kLatin1.size() == 64);
static_assert(kLatinExtendedA.size() == 128);

void AppendBlank(std::string& out) {
    if (!out.empty() && out.back() != ' ')
        out.push_back(' ');
}

std::vector<std::string_view> Split(std::string_view line, char separator) {
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = line.find(separator, start);
        cells.push_back(line.substr(start, at == std::string_view::npos ? at : at - start));
        if (at == std::string_view::npos)
            return cells;
        start = at + 1;
    }
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && s.back() == ' ')
        s.remove_suffix(1);
    return s;
}

bool ParseDouble(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool ParseCount(std::string_view text, std::uint32_t& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

bool IsCountryCode(std::string_view s) {
    return s.size() == 2 && s[0] >= 'A' && s[0] <= 'Z' && s[1] >= 'A' && s[1] <= 'Z';
}

// Text for a name cell: UTF-8 without control bytes (the file's tabs and line ends
// are already gone).
bool IsNameText(std::string_view s) {
    return std::none_of(s.begin(), s.end(), [](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u < 0x20 || u == 0x7F;
    });
}

// Writes the strings once each, NUL-terminated; offset 0 is the empty string.
class Pool {
public:
    Pool() { bytes_.push_back('\0'); }
    std::uint32_t Add(const std::string& s) {
        if (s.empty())
            return 0;
        const auto [it, added] = offsets_.emplace(s, static_cast<std::uint32_t>(bytes_.size()));
        if (added) {
            bytes_ += s;
            bytes_.push_back('\0');
        }
        return it->second;
    }
    const std::string& Bytes() const { return bytes_; }

private:
    std::string bytes_;
    std::unordered_map<std::string, std::uint32_t> offsets_;
};

template <typename Record> void Append(std::string& out, const std::vector<Record>& records) {
    out.append(reinterpret_cast<const char*>(records.data()), records.size() * sizeof(Record));
}

// The file's bytes, mapped read-only; empty when it cannot be read. (The index is
// replaced by renaming a new file over it, never rewritten in place, so a mapped
// file keeps its bytes.)
std::shared_ptr<const char> MapFile(const std::string& path, std::size_t& size) {
    size = 0;
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    struct stat s {};
    if (fstat(fd, &s) != 0 || !S_ISREG(s.st_mode) || s.st_size <= 0) {
        close(fd);
        return nullptr;
    }
    const auto bytes = static_cast<std::size_t>(s.st_size);
    void* map = mmap(nullptr, bytes, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    close(fd);
    if (map == MAP_FAILED)
        return nullptr;
    size = bytes;
    return std::shared_ptr<const char>(static_cast<const char*>(map), [bytes](const char* p) {
        munmap(const_cast<char*>(p), bytes);
    });
}

std::shared_ptr<const char> Hold(std::string bytes) {
    const auto owner = std::make_shared<const std::string>(std::move(bytes));
    return std::shared_ptr<const char>(owner, owner->data());
}

bool FileExists(const std::string& path) {
    struct stat s {};
    return stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

// Folded words that name a country or region.
bool NameMatches(std::string_view folded, const char* names, char separator) {
    for (const std::string_view n : Split(names, separator))
        if (!n.empty() && FoldName(n) == folded)
            return true;
    return false;
}

bool FitsQualifier(const Tables& t, const PlaceRecord& p, const std::string& q) {
    const auto c = At<CountryRecord>(t.countries, p.country);
    if (FoldName(std::string_view(c.code, 2)) == q || NameMatches(q, t.pool + c.name, '\n') ||
        NameMatches(q, t.pool + c.alternates, '|'))
        return true;
    if (p.region == kNoRegion)
        return false;
    const auto r = At<RegionRecord>(t.regions, p.region);
    return FoldName(t.pool + r.code) == q || FoldName(t.pool + r.name) == q;
}

Place ToPlace(const Tables& t, std::uint32_t index) {
    const auto p = At<PlaceRecord>(t.places, index);
    const auto c = At<CountryRecord>(t.countries, p.country);
    // A damaged or crafted index cannot put control bytes on a terminal.
    Place place;
    place.name = PrintableText(t.pool + p.name);
    place.country = std::string(c.code, 2);
    if (p.region != kNoRegion)
        place.region = PrintableText(t.pool + At<RegionRecord>(t.regions, p.region).code);
    place.latitude = p.latitude * kCoordinateUnit;
    place.longitude = p.longitude * kCoordinateUnit;
    place.population = static_cast<long>(p.population);
    place.zone = t.pool + At<ZoneRecord>(t.zones, p.zone).name;
    if (p.height != kNoHeight)
        place.heightM = p.height;
    return place;
}

struct Query {
    std::string name;                    // folded
    std::vector<std::string> qualifiers; // folded words after commas
};

Query ParseQuery(std::string_view text) {
    const std::vector<std::string_view> parts = Split(text, ',');
    Query q{FoldName(parts[0]), {}};
    for (std::size_t i = 1; i < parts.size(); ++i) {
        std::string word = FoldName(parts[i]);
        if (!word.empty())
            q.qualifiers.push_back(std::move(word));
    }
    return q;
}

// The key records of one folded name: [first, last).
std::pair<std::uint32_t, std::uint32_t> KeyRange(const Tables& t, const std::string& key) {
    const auto less = [&](std::uint32_t i) {
        return std::strcmp(t.pool + At<KeyRecord>(t.keys, i).key, key.c_str()) < 0;
    };
    std::uint32_t lo = 0, hi = t.header.keys;
    while (lo < hi) {
        const std::uint32_t mid = lo + (hi - lo) / 2;
        if (less(mid))
            lo = mid + 1;
        else
            hi = mid;
    }
    std::uint32_t end = lo;
    while (end < t.header.keys && key == t.pool + At<KeyRecord>(t.keys, end).key)
        ++end;
    return {lo, end};
}

// The places of the keys [first, last) that fit every qualifier, each once, largest
// first (the keys' order): of the names, or of the slips.
std::vector<std::uint32_t> PlacesOfKeys(const Tables& t, std::uint32_t first, std::uint32_t last,
                                        const std::vector<std::string>& qualifiers,
                                        bool slips = false) {
    std::vector<std::uint32_t> found;
    for (std::uint32_t i = first; i < last; ++i) {
        const std::uint32_t record = At<KeyRecord>(t.keys, i).place;
        if (((record & kSlipKey) != 0) != slips)
            continue;
        const std::uint32_t place = record & ~kSlipKey;
        const auto p = At<PlaceRecord>(t.places, place);
        const bool fits = std::all_of(qualifiers.begin(), qualifiers.end(),
                                      [&](const std::string& q) { return FitsQualifier(t, p, q); });
        if (fits && std::find(found.begin(), found.end(), place) == found.end())
            found.push_back(place);
    }
    std::stable_sort(found.begin(), found.end(), [&](std::uint32_t a, std::uint32_t b) {
        return At<PlaceRecord>(t.places, a).population > At<PlaceRecord>(t.places, b).population;
    });
    return found;
}

// Edit distance with transpositions of neighbours, or limit + 1 when it is larger.
std::size_t SlipDistance(std::string_view a, std::string_view b, std::size_t limit) {
    if ((a.size() > b.size() ? a.size() - b.size() : b.size() - a.size()) > limit)
        return limit + 1;
    std::vector<std::size_t> before(b.size() + 1), previous(b.size() + 1), row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j)
        previous[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        row[0] = i;
        std::size_t best = row[0];
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
            row[j] = std::min({previous[j] + 1, row[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                row[j] = std::min(row[j], before[j - 2] + 1);
            best = std::min(best, row[j]);
        }
        if (best > limit)
            return limit + 1;
        before.swap(previous);
        previous.swap(row);
    }
    return std::min(previous[b.size()], limit + 1);
}

} // namespace

bool IsDoubledLetterSlip(std::string_view a, std::string_view b) {
    if (a.size() < b.size())
        std::swap(a, b);
    if (a.size() != b.size() + 1)
        return false;
    // The first difference; the longer one's letter there must repeat a neighbour.
    std::size_t i = 0;
    while (i < b.size() && a[i] == b[i])
        ++i;
    if (a.substr(i + 1) != b.substr(i))
        return false;
    const bool doubled = (i > 0 && a[i - 1] == a[i]) || (i + 1 < a.size() && a[i + 1] == a[i]);
    return doubled && a[i] != ' ';
}

std::string DescribePlace(const Place& p) {
    return p.name + (p.region.empty() ? "" : ", " + p.region) + ", " + p.country;
}

std::string FoldName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            if (c == '-' || c == ' ' || c < 0x20 || c == 0x7F)
                AppendBlank(out);
            else if (c == '.' || c == '\'')
                continue;
            else if (c >= 'A' && c <= 'Z')
                out.push_back(static_cast<char>(c - 'A' + 'a'));
            else
                out.push_back(static_cast<char>(c));
            continue;
        }
        // The right single quotation mark, as an apostrophe.
        if (c == 0xE2 && name.substr(i, 3) == "\xE2\x80\x99") {
            i += 2;
            continue;
        }
        // Two-byte UTF-8 sequences of U+00C0..U+017F.
        if ((c == 0xC3 || c == 0xC4 || c == 0xC5) && i + 1 < name.size()) {
            const auto next = static_cast<unsigned char>(name[i + 1]);
            if ((next & 0xC0) == 0x80) {
                const unsigned code = ((c & 0x1Fu) << 6) | (next & 0x3Fu);
                if (code >= 0xC0 && code < 0x100 && kLatin1[code - 0xC0] != '*') {
                    out.push_back(kLatin1[code - 0xC0]);
                    ++i;
                    continue;
                }
                if (code >= 0x100 && code < 0x180) {
                    out.push_back(kLatinExtendedA[code - 0x100]);
                    ++i;
                    continue;
                }
            }
        }
        out.push_back(static_cast<char>(c));
    }
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    return out;
}

GazetteerBuild BuildGazetteerIndex(std::string_view source,
                                   const std::function<bool(const std::string&)>& zoneKnown) {
    GazetteerBuild build;
    Pool pool;
    std::vector<PlaceRecord> places;
    std::vector<ZoneRecord> zones;
    std::vector<CountryRecord> countries;
    std::vector<RegionRecord> regions;
    std::unordered_map<std::string, std::uint16_t> zoneIndex, countryIndex, regionIndex;
    std::vector<std::vector<std::string>> names; // per place, folded and distinct
    std::vector<std::vector<std::string>> slips; // per place, its doubled-letter slips

    const auto country = [&](std::string_view code) -> std::optional<std::uint16_t> {
        const auto [it, added] =
            countryIndex.emplace(std::string(code), static_cast<std::uint16_t>(countries.size()));
        if (added) {
            if (countries.size() >= kNoRegion)
                return std::nullopt;
            countries.push_back({{code[0], code[1]}, 0, 0, 0});
        }
        return it->second;
    };
    const auto fail = [&](std::size_t line, const std::string& why) {
        build.error = "line " + std::to_string(line) + ": " + why;
        build.bytes.clear();
        return build;
    };

    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string_view::npos)
            return fail(lineNumber + 1, "the file ends inside this line (cut short?)");
        std::string_view line = source.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string_view> cells = Split(line, '\t');
        const bool textOk = std::all_of(cells.begin(), cells.end(), IsNameText);
        if (!textOk)
            return fail(lineNumber, "a control character in a name");
        if (cells[0] == "C" && cells.size() == 4) {
            if (!IsCountryCode(cells[1]) || cells[2].empty())
                return fail(lineNumber, "not a country (two capital letters and a name)");
            const auto c = country(cells[1]);
            if (!c)
                return fail(lineNumber, "too many countries");
            countries[*c].name = pool.Add(std::string(cells[2]));
            countries[*c].alternates = pool.Add(std::string(cells[3]));
        } else if (cells[0] == "R" && cells.size() == 4) {
            if (!IsCountryCode(cells[1]) || cells[2].empty() || cells[3].empty())
                return fail(lineNumber, "not a region (country, code and name)");
            const auto c = country(cells[1]);
            if (!c || regions.size() >= kNoRegion)
                return fail(lineNumber, "too many regions");
            const std::string key = std::string(cells[1]) + "\t" + std::string(cells[2]);
            if (!regionIndex.emplace(key, static_cast<std::uint16_t>(regions.size())).second)
                return fail(lineNumber, "a second region of that code");
            regions.push_back(
                {*c, 0, pool.Add(std::string(cells[2])), pool.Add(std::string(cells[3]))});
        } else if (cells[0] == "P" && (cells.size() == 10 || cells.size() == 11)) {
            double lat = 0.0, lon = 0.0;
            std::uint32_t population = 0;
            if (cells[1].empty() || !IsCountryCode(cells[4]) || !ParseDouble(cells[6], lat) ||
                !ParseDouble(cells[7], lon) || std::fabs(lat) > 90.0 || std::fabs(lon) > 180.0 ||
                !ParseCount(cells[8], population))
                return fail(lineNumber, "not a place (name, country code, latitude -90..90, "
                                        "longitude -180..180, population)");
            // The height column is optional, and may be empty: not known.
            std::int16_t height = kNoHeight;
            if (cells.size() == 11 && !cells[10].empty()) {
                int metres = 0;
                const char* end = cells[10].data() + cells[10].size();
                const auto parsed = std::from_chars(cells[10].data(), end, metres);
                if (parsed.ec != std::errc() || parsed.ptr != end || !HeightFits(metres))
                    return fail(lineNumber, "the height is not whole metres from " +
                                                std::to_string(kLowestHeightM) + " to " +
                                                std::to_string(kHighestHeightM));
                height = static_cast<std::int16_t>(metres);
            }
            const std::string zone(cells[9]);
            if (zone.empty() || !zoneKnown(zone))
                return fail(lineNumber, "unknown time zone \"" + zone + "\"");
            const auto [z, newZone] =
                zoneIndex.emplace(zone, static_cast<std::uint16_t>(zones.size()));
            if (newZone) {
                if (zones.size() >= kNoRegion)
                    return fail(lineNumber, "too many time zones");
                zones.push_back({pool.Add(zone)});
            }
            const auto c = country(cells[4]);
            if (!c)
                return fail(lineNumber, "too many countries");
            const auto r = regionIndex.find(std::string(cells[4]) + "\t" + std::string(cells[5]));
            if (places.size() >= std::numeric_limits<std::uint32_t>::max() / 2)
                return fail(lineNumber, "too many places");
            places.push_back({static_cast<std::int32_t>(std::lround(lat / kCoordinateUnit)),
                              static_cast<std::int32_t>(std::lround(lon / kCoordinateUnit)),
                              population, pool.Add(std::string(cells[1])), z->second, *c,
                              r == regionIndex.end() ? kNoRegion : r->second, height});
            std::vector<std::string> folded;
            const auto addName = [&](std::string_view n) {
                std::string f = FoldName(Trim(n));
                if (!f.empty() && std::find(folded.begin(), folded.end(), f) == folded.end())
                    folded.push_back(std::move(f));
            };
            addName(cells[1]);
            addName(cells[2]);
            const std::vector<std::string> own = folded;
            std::vector<std::string> slipped;
            for (const std::string_view a : Split(cells[3], '|')) {
                std::string f = FoldName(Trim(a));
                const bool slip = std::any_of(own.begin(), own.end(), [&](const std::string& o) {
                    return IsDoubledLetterSlip(o, f);
                });
                if (!slip)
                    addName(a);
                else if (std::find(slipped.begin(), slipped.end(), f) == slipped.end())
                    slipped.push_back(std::move(f));
            }
            names.push_back(std::move(folded));
            slips.push_back(std::move(slipped));
        } else {
            return fail(lineNumber, "not a line of the gazetteer (C, R or P and its columns)");
        }
    }

    if (places.empty())
        return fail(lineNumber, "the source ends without a place");
    // A slip that is another place's name too ("Viena" of Vienna is Vienne's) is a
    // spelling in use: a name of both, the larger first.
    std::unordered_set<std::string> named;
    for (const std::vector<std::string>& n : names)
        named.insert(n.begin(), n.end());
    for (std::size_t i = 0; i < names.size(); ++i) {
        std::vector<std::string> kept;
        for (std::string& slip : slips[i])
            (named.count(slip) != 0 ? names[i] : kept).push_back(std::move(slip));
        slips[i] = std::move(kept);
    }
    std::vector<KeyRecord> keys;
    for (std::size_t i = 0; i < names.size(); ++i) {
        for (const std::string& n : names[i])
            keys.push_back({pool.Add(n), static_cast<std::uint32_t>(i)});
        for (const std::string& n : slips[i])
            keys.push_back({pool.Add(n), static_cast<std::uint32_t>(i) | kSlipKey});
    }
    const std::string& bytes = pool.Bytes();
    std::sort(keys.begin(), keys.end(), [&](const KeyRecord& a, const KeyRecord& b) {
        const int order = std::strcmp(bytes.data() + a.key, bytes.data() + b.key);
        if (order != 0)
            return order < 0;
        const std::uint32_t pa = a.place & ~kSlipKey, pb = b.place & ~kSlipKey;
        if (places[pa].population != places[pb].population)
            return places[pa].population > places[pb].population;
        return a.place < b.place;
    });
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max() ||
        keys.size() > std::numeric_limits<std::uint32_t>::max())
        return fail(lineNumber, "too many names");

    Header h{};
    std::memcpy(h.magic, kMagic, sizeof kMagic);
    h.byteOrder = kByteOrderTag;
    h.places = static_cast<std::uint32_t>(places.size());
    h.keys = static_cast<std::uint32_t>(keys.size());
    h.zones = static_cast<std::uint32_t>(zones.size());
    h.countries = static_cast<std::uint32_t>(countries.size());
    h.regions = static_cast<std::uint32_t>(regions.size());
    h.poolBytes = static_cast<std::uint32_t>(bytes.size());
    std::string body;
    Append(body, places);
    Append(body, keys);
    Append(body, zones);
    Append(body, countries);
    Append(body, regions);
    body += bytes;
    h.fileBytes = sizeof(Header) + body.size();
    build.bytes.assign(reinterpret_cast<const char*>(&h), sizeof h);
    build.bytes += body;
    return build;
}

namespace {

// Checks an index whole; the error names no file.
GazetteerLoad CheckIndex(std::shared_ptr<const char> data, std::size_t size) {
    GazetteerLoad load;
    const auto fail = [&](const std::string& why) {
        load.error = why;
        load.gazetteer = {};
        return load;
    };
    const char* bytes = data.get();
    if (!bytes || size < sizeof(Header) || std::memcmp(bytes, kMagic, sizeof kMagic) != 0)
        return fail("not a gazetteer index (no header)");
    Header h;
    std::memcpy(&h, bytes, sizeof h);
    if (h.byteOrder != kByteOrderTag)
        return fail("a gazetteer index of another byte order");
    if (h.fileBytes != size)
        return fail("the index is " + std::to_string(size) + " bytes long, its header " + "says " +
                    std::to_string(h.fileBytes) + " (cut short or grown?)");
    if (TablesBytes(h) != size || h.poolBytes == 0 || h.zones == 0 || h.countries == 0)
        return fail("the header's table sizes do not add up to the file");
    const Tables t = TablesOf(bytes);
    if (t.pool[h.poolBytes - 1] != '\0')
        return fail("the string pool is not terminated");
    const auto inPool = [&](std::uint32_t offset) { return offset < h.poolBytes; };
    for (std::uint32_t i = 0; i < h.places; ++i) {
        const auto p = At<PlaceRecord>(t.places, i);
        if (std::abs(p.latitude) > 9000000 || std::abs(p.longitude) > 18000000 || !inPool(p.name) ||
            p.zone >= h.zones || p.country >= h.countries ||
            (p.region != kNoRegion && p.region >= h.regions) ||
            (p.height != kNoHeight && !HeightFits(p.height)))
            return fail("place " + std::to_string(i + 1) + " is malformed");
    }
    for (std::uint32_t i = 0; i < h.keys; ++i) {
        const auto k = At<KeyRecord>(t.keys, i);
        if (!inPool(k.key) || (k.place & ~kSlipKey) >= h.places)
            return fail("name " + std::to_string(i + 1) + " is malformed");
    }
    for (std::uint32_t i = 0; i < h.countries; ++i) {
        const auto c = At<CountryRecord>(t.countries, i);
        if (!IsCountryCode(std::string_view(c.code, 2)) || !inPool(c.name) || !inPool(c.alternates))
            return fail("country " + std::to_string(i + 1) + " is malformed");
    }
    for (std::uint32_t i = 0; i < h.regions; ++i) {
        const auto r = At<RegionRecord>(t.regions, i);
        if (r.country >= h.countries || !inPool(r.code) || !inPool(r.name))
            return fail("region " + std::to_string(i + 1) + " is malformed");
    }
    const std::vector<std::string> listed = ListedZoneNames();
    for (std::uint32_t i = 0; i < h.zones; ++i) {
        const auto z = At<ZoneRecord>(t.zones, i);
        const auto known = [&](const char* name) {
            return std::binary_search(listed.begin(), listed.end(), name) || IsKnownZone(name);
        };
        if (!inPool(z.name) || !known(t.pool + z.name))
            return fail("time zone " + std::to_string(i + 1) + " \"" +
                        PrintableText(inPool(z.name) ? t.pool + z.name : "") +
                        "\" is not in the system's time zone database");
    }
    load.gazetteer = {std::move(data), size};
    return load;
}

} // namespace

GazetteerLoad ReadGazetteerIndex(std::string bytes) {
    const std::size_t size = bytes.size();
    return CheckIndex(Hold(std::move(bytes)), size);
}

GazetteerLoad LoadGazetteer(const std::string& path) {
    GazetteerLoad load;
    std::size_t size = 0;
    std::shared_ptr<const char> data = MapFile(path, size);
    if (!data) {
        load.error = "cannot read " + PrintableText(path);
        return load;
    }
    if (size >= sizeof kMagic && std::memcmp(data.get(), kMagic, sizeof kMagic) == 0) {
        load = CheckIndex(std::move(data), size);
    } else {
        GazetteerBuild build =
            BuildGazetteerIndex(std::string_view(data.get(), size),
                                [](const std::string& zone) { return IsKnownZone(zone); });
        load = build.error.empty() ? ReadGazetteerIndex(std::move(build.bytes))
                                   : GazetteerLoad{{}, build.error};
    }
    if (!load.error.empty())
        load.error = PrintableText(path) + ": " + load.error;
    return load;
}

std::size_t PlaceCount(const Gazetteer& g) {
    return g.data ? TablesOf(g.data.get()).header.places : 0;
}

namespace {

// Two entries of one town: GeoNames lists a few towns twice with one population, once
// under the name of their centre ("City of London" 3 km from "London"). Same population,
// within 10 km, one name containing the other.
bool IsTheSameTown(const Place& a, const Place& b) {
    if (a.population != b.population || a.country != b.country)
        return false;
    const double dx = (a.longitude - b.longitude) * std::cos(a.latitude * kDegToRad);
    const double dy = a.latitude - b.latitude;
    if (std::hypot(dx, dy) * kDegToRad * kEarthRadiusKm > 10.0)
        return false;
    const std::string& shorter = a.name.size() <= b.name.size() ? a.name : b.name;
    const std::string& longer = a.name.size() <= b.name.size() ? b.name : a.name;
    return longer.find(shorter) != std::string::npos;
}

} // namespace

std::vector<Place> PlacesBySize(const Gazetteer& g, std::size_t most) {
    if (!g.data)
        return {};
    const Tables t = TablesOf(g.data.get());
    std::vector<std::uint32_t> order(t.header.places);
    std::iota(order.begin(), order.end(), 0u);
    const auto population = [&](std::uint32_t i) {
        return At<PlaceRecord>(t.places, i).population;
    };
    const std::size_t n = std::min(most, order.size());
    std::partial_sort(order.begin(), order.begin() + static_cast<std::ptrdiff_t>(n), order.end(),
                      [&](std::uint32_t a, std::uint32_t b) {
                          return population(a) != population(b) ? population(a) > population(b)
                                                                : a < b;
                      });
    std::vector<Place> places;
    places.reserve(n);
    for (std::size_t k = 0; k < n; ++k)
        places.push_back(ToPlace(t, order[k]));
    // Places of one population lie next to each other: a repeated town is looked for in
    // its run only.
    std::vector<bool> repeated(places.size(), false);
    for (std::size_t a = 0; a < places.size(); ++a) {
        for (std::size_t b = a + 1; b < places.size(); ++b) {
            if (places[b].population != places[a].population)
                break;
            if (IsTheSameTown(places[a], places[b]))
                repeated[places[a].name.size() > places[b].name.size() ? a : b] = true;
        }
    }
    std::vector<Place> kept;
    kept.reserve(places.size());
    for (std::size_t k = 0; k < places.size(); ++k) {
        if (!repeated[k])
            kept.push_back(std::move(places[k]));
    }
    return kept;
}

std::optional<NearbyPlace> NearestPlace(const Gazetteer& g, double latitude, double longitude,
                                        double withinKm) {
    if (!g.data || !std::isfinite(latitude) || !std::isfinite(longitude))
        return std::nullopt;
    const Tables t = TablesOf(g.data.get());
    const double lat = latitude * kDegToRad;
    // The haversine of the angle withinKm subtends, and a latitude band that holds it.
    const double maxAngle = withinKm / kEarthRadiusKm;
    const double bandUnits = maxAngle / kDegToRad / kCoordinateUnit;
    const double maxHav = std::sin(0.5 * maxAngle) * std::sin(0.5 * maxAngle);
    std::optional<std::uint32_t> best;
    double bestHav = maxHav;
    for (std::uint32_t i = 0; i < t.header.places; ++i) {
        const auto p = At<PlaceRecord>(t.places, i);
        if (std::fabs(p.latitude - latitude / kCoordinateUnit) > bandUnits)
            continue;
        const double plat = p.latitude * kCoordinateUnit * kDegToRad;
        const double dlat = plat - lat;
        const double dlon = (p.longitude * kCoordinateUnit - longitude) * kDegToRad;
        const double hav =
            std::sin(0.5 * dlat) * std::sin(0.5 * dlat) +
            std::cos(lat) * std::cos(plat) * std::sin(0.5 * dlon) * std::sin(0.5 * dlon);
        if (hav <= bestHav) {
            bestHav = hav;
            best = i;
        }
    }
    if (!best)
        return std::nullopt;
    const double km = 2.0 * std::asin(std::sqrt(std::min(1.0, bestHav))) * kEarthRadiusKm;
    return NearbyPlace{ToPlace(t, *best), km};
}

std::vector<Place> FindPlaces(const Gazetteer& g, std::string_view text) {
    std::vector<Place> found;
    if (!g.data)
        return found;
    const Tables t = TablesOf(g.data.get());
    Query q = ParseQuery(text);
    if (q.name.empty())
        return found;
    auto [first, last] = KeyRange(t, q.name);
    if (first == last && !q.qualifiers.empty()) {
        // A name with a comma of its own.
        q = {FoldName(text), {}};
        std::tie(first, last) = KeyRange(t, q.name);
    }
    for (const std::uint32_t place : PlacesOfKeys(t, first, last, q.qualifiers))
        found.push_back(ToPlace(t, place));
    return found;
}

std::vector<Place> SuggestPlaces(const Gazetteer& g, std::string_view text, std::size_t most) {
    std::vector<Place> suggestions;
    if (!g.data || most == 0)
        return suggestions;
    const Tables t = TablesOf(g.data.get());
    const Query q = ParseQuery(text);
    if (q.name.empty() || q.name.size() > 100)
        return suggestions;
    // The name is known, but not in that country or region: its places elsewhere.
    const auto [first, last] = KeyRange(t, q.name);
    std::vector<std::uint32_t> chosen = PlacesOfKeys(t, first, last, {});
    // A spelling GeoNames gives for a place that the index takes for a slip: that place.
    if (chosen.empty())
        chosen = PlacesOfKeys(t, first, last, q.qualifiers, true);
    if (chosen.empty())
        chosen = PlacesOfKeys(t, first, last, {}, true);
    if (chosen.empty()) {
        const std::size_t limit = q.name.size() <= 4 ? 1 : 2;
        struct Candidate {
            std::size_t distance;
            std::uint32_t population, place;
        };
        std::vector<Candidate> candidates;
        std::uint32_t i = 0;
        while (i < t.header.keys) {
            const char* key = t.pool + At<KeyRecord>(t.keys, i).key;
            std::uint32_t end = i + 1;
            while (end < t.header.keys &&
                   std::strcmp(t.pool + At<KeyRecord>(t.keys, end).key, key) == 0)
                ++end;
            const std::size_t d = SlipDistance(q.name, key, limit);
            if (d <= limit) {
                std::vector<std::uint32_t> places = PlacesOfKeys(t, i, end, q.qualifiers);
                if (places.empty())
                    places = PlacesOfKeys(t, i, end, {});
                for (const std::uint32_t p : places)
                    candidates.push_back({d, At<PlaceRecord>(t.places, p).population, p});
            }
            i = end;
        }
        std::sort(candidates.begin(), candidates.end(), [](const Candidate& a, const Candidate& b) {
            if (a.distance != b.distance)
                return a.distance < b.distance;
            return a.population != b.population ? a.population > b.population : a.place < b.place;
        });
        for (const Candidate& c : candidates)
            if (std::find(chosen.begin(), chosen.end(), c.place) == chosen.end())
                chosen.push_back(c.place);
    }
    for (std::size_t k = 0; k < chosen.size() && k < most; ++k)
        suggestions.push_back(ToPlace(t, chosen[k]));
    return suggestions;
}

std::string PrintableText(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", u);
            out += escaped;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::string NoPlaceMessage(const Gazetteer& g, std::string_view query) {
    std::string message = "no place named \"" + PrintableText(query) + "\" in the gazetteer";
    const std::vector<Place> suggestions = SuggestPlaces(g, query, 3);
    for (std::size_t i = 0; i < suggestions.size(); ++i) {
        message += i == 0 ? "; did you mean " : i + 1 == suggestions.size() ? " or " : ", ";
        message += DescribePlace(suggestions[i]);
    }
    return message + (suggestions.empty() ? "" : "?");
}

std::string RunningProgramFolder() {
    std::array<char, 4096> path{};
    const ssize_t n = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0)
        return {};
    const std::string exe(path.data(), static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

std::string FindGazetteerFile(const std::string& programFolder) {
    const std::string file = "places.kgz";
    std::vector<std::string> candidates;
    if (!programFolder.empty()) {
        candidates.push_back(programFolder + "/" + file);
        candidates.push_back(programFolder + "/../share/kestrova/" + file);
    }
#ifdef KESTROVA_BUILD_PLACES
    candidates.push_back(std::string(KESTROVA_BUILD_PLACES) + "/" + file);
#endif
    for (const std::string& c : candidates) {
        if (FileExists(c))
            return c;
    }
    return {};
}
