#include "ephemeris/series.h"

#include <cmath>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>

namespace series {

namespace {

// sin and cos of x: x = k 2 pi / N + r with |r| <= pi / N, sin and cos of the k-th
// N-th of a turn from a table and those of r from their Taylor series to r^5 and r^4
// (below 1e-17). 2 pi / N comes in two parts, the first exact in 25 bits, so k times
// it is exact for |k| < 2^28 (|x| up to 1.6e6 radians).
constexpr int kTableSize = 1024;
constexpr double kStepsPerRadian = 162.97466172610083; // N / (2 pi)
constexpr double kStepHigh = 0.0061359230894595385;    // 26353589 / 2^32
constexpr double kStepLow = 6.208302645909452e-11;     // 2 pi / N - kStepHigh
constexpr double kRoundingShift = 6755399441055744.0;  // 1.5 * 2^52: k in the low bits

struct Table {
    SinCos at[kTableSize];
};

const Table& SinCosTable() {
    static const Table table = [] {
        Table t;
        for (int j = 0; j < kTableSize; ++j) {
            const double a = j * (2.0 * 3.14159265358979323846 / kTableSize);
            t.at[j] = {std::sin(a), std::cos(a)};
        }
        return t;
    }();
    return table;
}

inline SinCos SinCosWith(const Table& table, double x) {
    const double shifted = x * kStepsPerRadian + kRoundingShift;
    std::uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    const double k = shifted - kRoundingShift;
    const double r = (x - k * kStepHigh) - k * kStepLow;
    const double r2 = r * r;
    const double sinR = r * (1.0 - r2 * (1.0 / 6.0) * (1.0 - r2 * (1.0 / 20.0)));
    const double cosR = 1.0 - r2 * 0.5 * (1.0 - r2 * (1.0 / 12.0));
    const SinCos& a = table.at[bits & (kTableSize - 1)];
    return {a.sin * cosR + a.cos * sinR, a.cos * cosR - a.sin * sinR};
}

} // namespace

SinCos SinCosOf(double x) {
    return SinCosWith(SinCosTable(), x);
}

Grouped Group(const std::vector<Term>& terms) {
    Grouped g;
    std::map<std::tuple<double, double, double, double>, std::uint32_t> index;
    std::vector<std::vector<Grouped::Coefficient>> bySlot(kCoordinates * kPowers);
    for (const Term& t : terms) {
        const auto key = std::make_tuple(t.n1, t.n2, t.n3, t.n4);
        auto it = index.find(key);
        if (it == index.end()) {
            it = index.emplace(key, static_cast<std::uint32_t>(g.n1.size())).first;
            g.n1.push_back(t.n1);
            g.n2.push_back(t.n2);
            g.n3.push_back(t.n3);
            g.n4.push_back(t.n4);
        }
        const SinCos phase = SinCosOf(t.phase);
        bySlot[static_cast<std::size_t>(t.coordinate * kPowers + t.power)].push_back(
            {it->second, t.amplitude * phase.sin, t.amplitude * phase.cos});
    }
    for (const auto& slot : bySlot) {
        g.slotBegin.push_back(g.coefficients.size());
        g.coefficients.insert(g.coefficients.end(), slot.begin(), slot.end());
    }
    g.slotBegin.push_back(g.coefficients.size());
    return g;
}

// On x86-64 with GCC, a second version for processors with AVX2 and FMA (twice the
// vector width), chosen when the program loads.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__)
__attribute__((target_clones("arch=x86-64-v3", "default")))
#endif
Sums Evaluate(const Grouped& g, double t) {
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;
    const std::size_t n = g.n1.size();
    const Table& table = SinCosTable();
    const std::unique_ptr<SinCos[]> arguments = std::make_unique_for_overwrite<SinCos[]>(n);
    for (std::size_t i = 0; i < n; ++i)
        arguments[i] = SinCosWith(table, g.n1[i] * t + g.n2[i] * t2 + g.n3[i] * t3 + g.n4[i] * t4);

    // A sin(phase + theta) per term, summed in four independent runs per slot.
    double slots[kCoordinates * kPowers] = {};
    for (std::size_t slot = 0; slot + 1 < g.slotBegin.size(); ++slot) {
        const Grouped::Coefficient* c = g.coefficients.data() + g.slotBegin[slot];
        const Grouped::Coefficient* end = g.coefficients.data() + g.slotBegin[slot + 1];
        double run[4] = {};
        for (; c + 4 <= end; c += 4)
            for (int j = 0; j < 4; ++j) {
                const SinCos& a = arguments[c[j].argument];
                run[j] += c[j].sinPhase * a.cos + c[j].cosPhase * a.sin;
            }
        for (; c < end; ++c) {
            const SinCos& a = arguments[c->argument];
            run[0] += c->sinPhase * a.cos + c->cosPhase * a.sin;
        }
        slots[slot] = (run[0] + run[1]) + (run[2] + run[3]);
    }
    Sums sums;
    for (int coordinate = 0; coordinate < kCoordinates; ++coordinate) {
        double v = 0.0;
        for (int power = kPowers - 1; power >= 0; --power)
            v = v * t + slots[coordinate * kPowers + power];
        sums.value[coordinate] = v;
    }
    return sums;
}

} // namespace series
