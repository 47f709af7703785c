#include "ephemeris/elp_mpp02.h"

#include "ephemeris/constants.h"
#include "ephemeris/elp_mpp02_series.h"
#include "ephemeris/series_sum.h"

ElpMoon ElpMpp02Moon(double t) {
    using series::SumElp;
    const double* w = kElpMeanLongitude;
    const double meanLongitude = w[0] + t * (w[1] + t * (w[2] + t * (w[3] + t * w[4])));
    const double longitude =
        SumElp(kElpLongitudeT0, t) +
        t * (SumElp(kElpLongitudeT1, t) +
             t * (SumElp(kElpLongitudeT2, t) + t * SumElp(kElpLongitudeT3, t)));
    const double latitude = SumElp(kElpLatitudeT0, t) +
                            t * (SumElp(kElpLatitudeT1, t) +
                                 t * (SumElp(kElpLatitudeT2, t) + t * SumElp(kElpLatitudeT3, t)));
    const double distance = SumElp(kElpDistanceT0, t) +
                            t * (SumElp(kElpDistanceT1, t) +
                                 t * (SumElp(kElpDistanceT2, t) + t * SumElp(kElpDistanceT3, t)));
    return {meanLongitude + longitude * kArcsecToRad, latitude * kArcsecToRad, distance};
}

double ElpMeanLongitudeRate() {
    return kElpMeanLongitude[1];
}
