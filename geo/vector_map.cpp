#include "geo/vector_map.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr unsigned char kMagic[8] = {'K', 'V', 'M', 'A', 'P', 0, 0, 1};

class Reader {
public:
    explicit Reader(std::span<const unsigned char> bytes) : m_bytes(bytes) {}

    bool Has(std::size_t n) const { return m_bytes.size() - m_pos >= n; }
    std::uint8_t U8() { return m_bytes[m_pos++]; }
    std::uint32_t U32() {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            v |= static_cast<std::uint32_t>(m_bytes[m_pos++]) << (8 * i);
        }
        return v;
    }
    std::int16_t I16() {
        const auto v = static_cast<std::uint16_t>(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
        m_pos += 2;
        return static_cast<std::int16_t>(v);
    }
    std::size_t Remaining() const { return m_bytes.size() - m_pos; }

private:
    std::span<const unsigned char> m_bytes;
    std::size_t m_pos = 0;
};

VectorMapRead Failure(const char* why) {
    return {std::nullopt, why};
}

void PutU32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
    }
}

bool PutCoordinate(std::vector<unsigned char>& out, double degrees) {
    const double units = std::round(degrees * kVectorMapUnitsPerDegree);
    if (!(units >= std::numeric_limits<std::int16_t>::min() &&
          units <= std::numeric_limits<std::int16_t>::max())) {
        return false;
    }
    const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(units));
    out.push_back(static_cast<unsigned char>(v & 0xff));
    out.push_back(static_cast<unsigned char>(v >> 8));
    return true;
}

} // namespace

VectorMapRead ReadVectorMap(std::span<const unsigned char> bytes) {
    Reader in(bytes);
    if (!in.Has(sizeof kMagic + 4) || std::memcmp(bytes.data(), kMagic, sizeof kMagic) != 0) {
        return Failure("not a vector map");
    }
    for (std::size_t i = 0; i < sizeof kMagic; ++i) {
        in.U8();
    }
    VectorMap map;
    const std::uint32_t layers = in.U32();
    for (std::uint32_t l = 0; l < layers; ++l) {
        if (!in.Has(8)) {
            return Failure("a layer is cut short");
        }
        MapLineSet set;
        const std::uint8_t kind = in.U8();
        const std::uint8_t detail = in.U8();
        if (kind > static_cast<std::uint8_t>(MapLineKind::Border) ||
            detail > static_cast<std::uint8_t>(MapDetail::Medium)) {
            return Failure("a layer of unknown kind or detail");
        }
        set.kind = static_cast<MapLineKind>(kind);
        set.detail = static_cast<MapDetail>(detail);
        in.U8();
        in.U8();
        const std::uint32_t lines = in.U32();
        // Each line takes at least its count: a huge count cannot make us allocate.
        if (lines > in.Remaining() / 4) {
            return Failure("more lines than bytes");
        }
        set.lines.reserve(lines);
        for (std::uint32_t k = 0; k < lines; ++k) {
            if (!in.Has(4)) {
                return Failure("a line is cut short");
            }
            const std::uint32_t points = in.U32();
            if (points > in.Remaining() / 4) {
                return Failure("a line is cut short");
            }
            std::vector<MapPlace> line(points);
            for (MapPlace& p : line) {
                p.lon = static_cast<double>(in.I16()) / kVectorMapUnitsPerDegree;
                p.lat = static_cast<double>(in.I16()) / kVectorMapUnitsPerDegree;
            }
            set.lines.push_back(std::move(line));
        }
        map.layers.push_back(std::move(set));
    }
    if (in.Remaining() != 0) {
        return Failure("bytes after the last layer");
    }
    return {std::move(map), {}};
}

std::optional<std::vector<unsigned char>> WriteVectorMap(const VectorMap& map, std::string& error) {
    std::vector<unsigned char> out(std::begin(kMagic), std::end(kMagic));
    PutU32(out, static_cast<std::uint32_t>(map.layers.size()));
    for (const MapLineSet& set : map.layers) {
        out.push_back(static_cast<unsigned char>(set.kind));
        out.push_back(static_cast<unsigned char>(set.detail));
        out.push_back(0);
        out.push_back(0);
        PutU32(out, static_cast<std::uint32_t>(set.lines.size()));
        for (const auto& line : set.lines) {
            PutU32(out, static_cast<std::uint32_t>(line.size()));
            for (const MapPlace& p : line) {
                if (!PutCoordinate(out, p.lon) || !PutCoordinate(out, p.lat)) {
                    error = "a coordinate beyond the format's range";
                    return std::nullopt;
                }
            }
        }
    }
    return out;
}
