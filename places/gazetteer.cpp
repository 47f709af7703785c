#include "places/gazetteer.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

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

void AppendFolded(std::string& out, char c) {
    if (c == ' ') {
        if (!out.empty() && out.back() != ' ')
            out.push_back(' ');
        return;
    }
    out.push_back(c);
}

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> cells;
    std::size_t start = 0;
    while (true) {
        const std::size_t tab = line.find('\t', start);
        cells.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos)
            return cells;
        start = tab + 1;
    }
}

bool ParseDouble(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end && std::isfinite(value);
}

bool ParseLong(std::string_view text, long& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return result.ec == std::errc() && result.ptr == end;
}

bool FileExists(const std::string& path) {
    struct stat s {};
    return stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

} // namespace

std::string FoldName(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c < 0x80) {
            if (c == '-' || c == '\t' || c == ' ')
                AppendFolded(out, ' ');
            else if (c >= 'A' && c <= 'Z')
                out.push_back(static_cast<char>(c - 'A' + 'a'));
            else
                out.push_back(static_cast<char>(c));
            continue;
        }
        // Two-byte UTF-8 sequences of U+00C0..U+017F.
        if ((c == 0xC3 || c == 0xC4 || c == 0xC5) && i + 1 < name.size()) {
            const auto next = static_cast<unsigned char>(name[i + 1]);
            if ((next & 0xC0) == 0x80) {
                const unsigned code = ((c & 0x1Fu) << 6) | (next & 0x3Fu);
                if (code >= 0xC0 && code < 0x100) {
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

GazetteerLoad ParseGazetteer(std::string_view text) {
    GazetteerLoad load;
    std::vector<Place>& places = load.gazetteer.places;
    std::size_t lineNumber = 0;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const std::vector<std::string_view> cells = SplitTabs(line);
        Place p;
        if (cells.size() != 7 || cells[0].empty() || !ParseDouble(cells[3], p.latitude) ||
            !ParseDouble(cells[4], p.longitude) || !ParseLong(cells[5], p.population) ||
            std::fabs(p.latitude) > 90.0 || std::fabs(p.longitude) > 180.0) {
            load.error = "line " + std::to_string(lineNumber) + " is not a place";
            load.gazetteer = {};
            return load;
        }
        p.name = cells[0];
        p.asciiName = cells[1];
        p.country = cells[2];
        p.zone = cells[6];
        places.push_back(std::move(p));
    }
    if (places.size() >= 0xFFFFFFFFu) {
        load.error = "too many places";
        load.gazetteer = {};
        return load;
    }

    auto& index = load.gazetteer.index;
    index.reserve(places.size() * 2);
    for (std::size_t i = 0; i < places.size(); ++i) {
        const auto id = static_cast<std::uint32_t>(i);
        std::string name = FoldName(places[i].name);
        std::string ascii = FoldName(places[i].asciiName);
        if (!ascii.empty() && ascii != name)
            index.emplace_back(std::move(ascii), id);
        index.emplace_back(std::move(name), id);
    }
    std::sort(index.begin(), index.end(), [&](const auto& a, const auto& b) {
        if (a.first != b.first)
            return a.first < b.first;
        const long pa = places[a.second].population;
        const long pb = places[b.second].population;
        return pa != pb ? pa > pb : a.second < b.second;
    });
    return load;
}

GazetteerLoad LoadGazetteer(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        GazetteerLoad load;
        load.error = "cannot read " + path;
        return load;
    }
    std::ostringstream text;
    text << file.rdbuf();
    GazetteerLoad load = ParseGazetteer(text.str());
    if (!load.error.empty())
        load.error = path + ": " + load.error;
    return load;
}

std::vector<const Place*> FindPlaces(const Gazetteer& g, std::string_view query) {
    std::string country;
    const std::size_t comma = query.rfind(',');
    if (comma != std::string_view::npos) {
        const std::string code = FoldName(query.substr(comma + 1));
        if (code.size() == 2 && std::isalpha(static_cast<unsigned char>(code[0])) &&
            std::isalpha(static_cast<unsigned char>(code[1]))) {
            country = {static_cast<char>(std::toupper(static_cast<unsigned char>(code[0]))),
                       static_cast<char>(std::toupper(static_cast<unsigned char>(code[1])))};
            query = query.substr(0, comma);
        }
    }
    const std::string key = FoldName(query);
    std::vector<const Place*> found;
    if (key.empty())
        return found;
    auto lower =
        std::lower_bound(g.index.begin(), g.index.end(), key,
                         [](const auto& entry, const std::string& k) { return entry.first < k; });
    for (auto it = lower; it != g.index.end() && it->first == key; ++it) {
        const Place* p = &g.places[it->second];
        if (!country.empty() && p->country != country)
            continue;
        if (std::find(found.begin(), found.end(), p) == found.end())
            found.push_back(p);
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Place* a, const Place* b) { return a->population > b->population; });
    return found;
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
    const std::string file = "cities15000.tsv";
    std::vector<std::string> candidates;
    if (!programFolder.empty()) {
        candidates.push_back(programFolder + "/" + file);
        candidates.push_back(programFolder + "/../share/kestrova/" + file);
    }
#ifdef KESTROVA_SOURCE_PLACES
    candidates.push_back(std::string(KESTROVA_SOURCE_PLACES) + "/" + file);
#endif
    for (const std::string& c : candidates) {
        if (FileExists(c))
            return c;
    }
    return {};
}
