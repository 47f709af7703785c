#include "ephemeris/vsop87d.h"

#include "ephemeris/series_sum.h"
#include "ephemeris/vsop87d_series.h"

VsopEarth Vsop87dEarth(double tau) {
    using series::SumVsop;
    const double l = SumVsop(kVsopEarthLongitudeT0, tau) +
                     tau * (SumVsop(kVsopEarthLongitudeT1, tau) +
                            tau * (SumVsop(kVsopEarthLongitudeT2, tau) +
                                   tau * (SumVsop(kVsopEarthLongitudeT3, tau) +
                                          tau * (SumVsop(kVsopEarthLongitudeT4, tau) +
                                                 tau * SumVsop(kVsopEarthLongitudeT5, tau)))));
    const double b = SumVsop(kVsopEarthLatitudeT0, tau) +
                     tau * (SumVsop(kVsopEarthLatitudeT1, tau) +
                            tau * (SumVsop(kVsopEarthLatitudeT2, tau) +
                                   tau * (SumVsop(kVsopEarthLatitudeT3, tau) +
                                          tau * SumVsop(kVsopEarthLatitudeT4, tau))));
    const double r = SumVsop(kVsopEarthDistanceT0, tau) +
                     tau * (SumVsop(kVsopEarthDistanceT1, tau) +
                            tau * (SumVsop(kVsopEarthDistanceT2, tau) +
                                   tau * (SumVsop(kVsopEarthDistanceT3, tau) +
                                          tau * (SumVsop(kVsopEarthDistanceT4, tau) +
                                                 tau * SumVsop(kVsopEarthDistanceT5, tau)))));
    return {l, b, r};
}
