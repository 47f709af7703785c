#pragma once

#include <cmath>

// sin and cos of k x for k = -kMaxMultiple .. kMaxMultiple, by the angle-addition
// recurrence from sin x and cos x: the classic theories' arguments are sums of such
// multiples of a few mean arguments.
inline constexpr int kMaxMultiple = 7;

struct Multiples {
    double sin[2 * kMaxMultiple + 1];
    double cos[2 * kMaxMultiple + 1];
};

inline Multiples MultiplesOf(double x) {
    Multiples r;
    const double s1 = std::sin(x);
    const double c1 = std::cos(x);
    r.sin[kMaxMultiple] = 0.0;
    r.cos[kMaxMultiple] = 1.0;
    for (int k = 1; k <= kMaxMultiple; ++k) {
        const double s = r.sin[kMaxMultiple + k - 1] * c1 + r.cos[kMaxMultiple + k - 1] * s1;
        const double c = r.cos[kMaxMultiple + k - 1] * c1 - r.sin[kMaxMultiple + k - 1] * s1;
        r.sin[kMaxMultiple + k] = s;
        r.cos[kMaxMultiple + k] = c;
        r.sin[kMaxMultiple - k] = -s;
        r.cos[kMaxMultiple - k] = c;
    }
    return r;
}
