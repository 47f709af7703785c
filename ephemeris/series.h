#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Sums of the precise theories' Poisson series,
//
//   sum over terms of t^k A sin(phase + n1 t + n2 t^2 + n3 t^3 + n4 t^4),
//
// for several coordinates at once. Thousands of terms share far fewer arguments (the
// same combination of the lunar and planetary arguments recurs in longitude, latitude
// and distance and in each power of t): the sine and cosine of each distinct argument
// are computed once, and each term adds A sin(phase) cos(theta) + A cos(phase) sin(theta).
namespace series {

struct Term {
    int coordinate = 0; // 0 .. kCoordinates - 1
    int power = 0;      // k, 0 .. kPowers - 1
    double amplitude = 0.0;
    double phase = 0.0;                            // radians
    double n1 = 0.0, n2 = 0.0, n3 = 0.0, n4 = 0.0; // radians per unit of t, t^2, ...
};

inline constexpr int kCoordinates = 3;
inline constexpr int kPowers = 6;

// The terms regrouped by argument; built once, read-only afterwards.
struct Grouped {
    // The distinct arguments (structure of arrays).
    std::vector<double> n1, n2, n3, n4;
    // Each term: its argument and its amplitude split by the phase, the terms ordered by
    // where they add (coordinate * kPowers + power), those of slot s from
    // slotBegin[s] to slotBegin[s + 1].
    struct Coefficient {
        std::uint32_t argument;
        double sinPhase; // A sin(phase)
        double cosPhase; // A cos(phase)
    };
    std::vector<Coefficient> coefficients;
    std::vector<std::size_t> slotBegin;
};

Grouped Group(const std::vector<Term>& terms);

// The sum of each coordinate at t.
struct Sums {
    double value[kCoordinates] = {};
};
Sums Evaluate(const Grouped& series, double t);

// sin and cos of x for |x| < 1.6e6, to about 1e-16.
struct SinCos {
    double sin;
    double cos;
};
SinCos SinCosOf(double x);

} // namespace series
