#include "ephemeris/elp_mpp02.h"

#include "ephemeris/constants.h"
#include "ephemeris/elp_mpp02_series.h"
#include "ephemeris/series.h"

namespace {

enum Coordinate { kLongitude, kLatitude, kDistance };

template <class Terms>
void Add(std::vector<series::Term>& out, const Terms& terms, int coordinate, int power) {
    for (const ElpTerm& e : terms)
        out.push_back({coordinate, power, e.amplitude, e.phase, e.n1, e.n2, e.n3, e.n4});
}

const series::Grouped& ElpSeries() {
    static const series::Grouped grouped = [] {
        std::vector<series::Term> terms;
        Add(terms, kElpLongitudeT0, kLongitude, 0);
        Add(terms, kElpLongitudeT1, kLongitude, 1);
        Add(terms, kElpLongitudeT2, kLongitude, 2);
        Add(terms, kElpLongitudeT3, kLongitude, 3);
        Add(terms, kElpLatitudeT0, kLatitude, 0);
        Add(terms, kElpLatitudeT1, kLatitude, 1);
        Add(terms, kElpLatitudeT2, kLatitude, 2);
        Add(terms, kElpLatitudeT3, kLatitude, 3);
        Add(terms, kElpDistanceT0, kDistance, 0);
        Add(terms, kElpDistanceT1, kDistance, 1);
        Add(terms, kElpDistanceT2, kDistance, 2);
        Add(terms, kElpDistanceT3, kDistance, 3);
        return series::Group(terms);
    }();
    return grouped;
}

} // namespace

ElpMoon ElpMpp02Moon(double t) {
    const double* w = kElpMeanLongitude;
    const double meanLongitude = w[0] + t * (w[1] + t * (w[2] + t * (w[3] + t * w[4])));
    const series::Sums s = series::Evaluate(ElpSeries(), t);
    return {meanLongitude + s.value[kLongitude] * kArcsecToRad, s.value[kLatitude] * kArcsecToRad,
            s.value[kDistance]};
}

double ElpMeanLongitudeRate() {
    return kElpMeanLongitude[1];
}
