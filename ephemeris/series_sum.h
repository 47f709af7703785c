#pragma once

#include <cstdint>
#include <cstring>

// Sums of the precise theories' trigonometric series. A term's argument grows to about
// 10^6 radians over the program's years; the sine here reduces it by quadrants (pi / 2
// in two parts, the first exact in 33 bits, so k * pi / 2 is exact for |k| < 2^20) and
// evaluates the Taylor series on [-pi / 4, pi / 4], accurate to a few units in the last
// place, inline and without the libm call that would dominate a sum of thousands of
// terms.
namespace series {

inline constexpr double kTwoOverPi = 0.6366197723675814;
inline constexpr double kHalfPiHigh = 1.5707963267341256; // 6746518852 / 2^32
inline constexpr double kHalfPiLow = 6.077100506506192e-11;
inline constexpr double kRoundingShift = 6755399441055744.0; // 1.5 * 2^52

// sin x for |x| < 2^20 pi / 2.
inline double Sin(double x) {
    // k = x / (pi / 2) rounded to the nearest integer, its low bits the quadrant.
    const double shifted = x * kTwoOverPi + kRoundingShift;
    std::uint64_t bits;
    std::memcpy(&bits, &shifted, sizeof bits);
    const double k = shifted - kRoundingShift;
    const double r = (x - k * kHalfPiHigh) - k * kHalfPiLow;
    const double r2 = r * r;
    // sin r and cos r, Taylor to r^15 and r^16 (truncation below 1e-16 on [-pi/4, pi/4]).
    const double s =
        r + r * r2 *
                (-1.0 / 6 +
                 r2 * (1.0 / 120 +
                       r2 * (-1.0 / 5040 +
                             r2 * (1.0 / 362880 +
                                   r2 * (-1.0 / 39916800 +
                                         r2 * (1.0 / 6227020800 + r2 * (-1.0 / 1307674368000)))))));
    const double c =
        1.0 +
        r2 * (-0.5 +
              r2 * (1.0 / 24 +
                    r2 * (-1.0 / 720 +
                          r2 * (1.0 / 40320 + r2 * (-1.0 / 3628800 +
                                                    r2 * (1.0 / 479001600 +
                                                          r2 * (-1.0 / 87178291200 +
                                                                r2 * (1.0 / 20922789888000))))))));
    const unsigned quadrant = static_cast<unsigned>(bits) & 3u;
    const double value = (quadrant & 1u) ? c : s;
    return (quadrant & 2u) ? -value : value;
}

// ELP/MPP02: sum of A sin(phase + n1 t + n2 t^2 + n3 t^3 + n4 t^4).
template <class Terms> double SumElp(const Terms& terms, double t) {
    double sum = 0.0;
    for (const auto& e : terms)
        sum += e.amplitude * Sin(e.phase + t * (e.n1 + t * (e.n2 + t * (e.n3 + t * e.n4))));
    return sum;
}

// VSOP87: sum of A cos(B + C T), the cosine as the sine a quarter turn on.
template <class Terms> double SumVsop(const Terms& terms, double tau) {
    constexpr double kQuarterTurn = 1.5707963267948966;
    double sum = 0.0;
    for (const auto& v : terms)
        sum += v.a * Sin(v.b + kQuarterTurn + v.c * tau);
    return sum;
}

} // namespace series
