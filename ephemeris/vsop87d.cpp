#include "ephemeris/vsop87d.h"

#include "ephemeris/constants.h"
#include "ephemeris/series.h"
#include "ephemeris/vsop87d_series.h"

namespace {

enum Coordinate { kLongitude, kLatitude, kRadius };

// A cos(B + C T) as the sine a quarter turn on.
template <class Terms>
void Add(std::vector<series::Term>& out, const Terms& terms, int coordinate, int power) {
    for (const VsopTerm& v : terms)
        out.push_back({coordinate, power, v.a, v.b + kPi / 2.0, v.c, 0.0, 0.0, 0.0});
}

const series::Grouped& VsopSeries() {
    static const series::Grouped grouped = [] {
        std::vector<series::Term> terms;
        Add(terms, kVsopEarthLongitudeT0, kLongitude, 0);
        Add(terms, kVsopEarthLongitudeT1, kLongitude, 1);
        Add(terms, kVsopEarthLongitudeT2, kLongitude, 2);
        Add(terms, kVsopEarthLongitudeT3, kLongitude, 3);
        Add(terms, kVsopEarthLongitudeT4, kLongitude, 4);
        Add(terms, kVsopEarthLongitudeT5, kLongitude, 5);
        Add(terms, kVsopEarthLatitudeT0, kLatitude, 0);
        Add(terms, kVsopEarthLatitudeT1, kLatitude, 1);
        Add(terms, kVsopEarthLatitudeT2, kLatitude, 2);
        Add(terms, kVsopEarthLatitudeT3, kLatitude, 3);
        Add(terms, kVsopEarthLatitudeT4, kLatitude, 4);
        Add(terms, kVsopEarthDistanceT0, kRadius, 0);
        Add(terms, kVsopEarthDistanceT1, kRadius, 1);
        Add(terms, kVsopEarthDistanceT2, kRadius, 2);
        Add(terms, kVsopEarthDistanceT3, kRadius, 3);
        Add(terms, kVsopEarthDistanceT4, kRadius, 4);
        Add(terms, kVsopEarthDistanceT5, kRadius, 5);
        return series::Group(terms);
    }();
    return grouped;
}

} // namespace

VsopEarth Vsop87dEarth(double tau) {
    const series::Sums s = series::Evaluate(VsopSeries(), tau);
    return {s.value[kLongitude], s.value[kLatitude], s.value[kRadius]};
}
