#pragma once

// A body's place in the sky of an observer.
struct Horizontal {
    double altitude = 0.0; // geometric, degrees
    double azimuth = 0.0;  // degrees from north through east, [0, 360)
};

// The horizontal place of a body at declination dec and local hour angle h (both
// degrees) for an observer at geodetic latitude lat (degrees).
Horizontal HorizontalOf(double lat, double dec, double h);
