#pragma once

// Series of Newcomb's theory of the Sun: perturbations by the planets and the
// Moon. Amplitudes in arcseconds (radius: units of 1e-7 AU). Terms in the order
// of the published lists, which is also the order of summation.

// a * cos(phase + m * M + k * P): M the Sun's mean anomaly, P the planet's argument.
struct SunPlanetTerm {
    double phaseDeg;
    int m;
    int k;
    double amplitude;
};

// a * sin (longitude) or a * cos (radius) of i * D + j * M + k * M'.
struct SunLunarTerm {
    int d;
    int m;
    int mMoon;
    double amplitude;
};

// a * sin(j * M + k * M' + l * F).
struct SunLunarLatitudeTerm {
    int m;
    int mMoon;
    int f;
    double amplitude;
};

// clang-format off

// Longitude, Moon (i j k a), 7 terms
inline constexpr SunLunarTerm kSunLongitudeMoon[] = {
    {1, 0, 0, 6.454}, {3, 0, 0, 0.013}, {1, 0, 1, 0.177}, {1, 0, -1, -0.424},
    {3, 0, -1, 0.039}, {1, 1, 0, -0.064}, {1, -1, 0, 0.172},
};

// Longitude, Venus (phase j k a), 15 terms
inline constexpr SunPlanetTerm kSunLongitudeVenus[] = {
    {90.0, 0, 1, 4.838}, {90.12, 0, 2, 5.526}, {270.41, 0, 3, 0.666}, {89.8, 0, 4, 0.21},
    {270.1, 0, 5, 0.084}, {257.75, -1, 2, 2.497}, {77.96, -1, 3, 1.559}, {50.85, -2, 3, 1.024},
    {34.1, -3, 5, 0.154}, {227.4, -2, 4, 0.152}, {79.0, -1, 4, 0.144}, {229.8, -2, 5, 0.123},
    {90.7, 1, 2, 0.116}, {87.5, 1, 1, 0.075}, {358.8, -1, 1, 0.074},
};

// Longitude, Mars, 12 terms
inline constexpr SunPlanetTerm kSunLongitudeMars[] = {
    {90.6, 0, 1, 0.273}, {89.76, 0, 2, 2.043}, {273.0, 0, 3, 0.129}, {306.27, -1, 2, 1.77},
    {185.82, -2, 4, 0.585}, {316.94, -1, 4, 0.5}, {317.7, -1, 3, 0.425}, {185.5, -2, 5, 0.204},
    {185.0, -2, 6, 0.154}, {53.3, -3, 7, 0.106}, {53.9, -3, 6, 0.101}, {139.3, -1, 5, 0.085},
};

// Longitude, Jupiter, 12 terms
inline constexpr SunPlanetTerm kSunLongitudeJupiter[] = {
    {91.09, 0, 1, 7.208}, {270.25, 0, 2, 2.731}, {265.2, 0, 3, 0.164}, {174.77, -1, 1, 2.6},
    {292.6, -1, 2, 1.61}, {177.31, -1, 3, 0.556}, {193.2, -2, 3, 0.21}, {110.2, 1, 1, 0.163},
    {83.9, -2, 4, 0.08}, {187.9, -2, 1, 0.073}, {75.7, -2, 2, 0.073}, {263.9, 1, 2, 0.069},
};

// Longitude, Saturn, 4 terms
inline constexpr SunPlanetTerm kSunLongitudeSaturn[] = {
    {90.34, 0, 1, 0.419}, {270.1, 0, 2, 0.108}, {259.22, -1, 1, 0.32}, {273.1, -1, 2, 0.112},
};

// Radius vector, Venus, 17 terms
inline constexpr SunPlanetTerm kSunRadiusVenus[] = {
    {0.0, 0, 1, 54.32}, {0.12, 0, 2, 157.54}, {180.27, 0, 3, 24.06}, {-0.11, 0, 4, 8.66},
    {180.0, 0, 5, 3.75}, {-0.3, 0, 6, 1.84}, {347.95, -1, 3, 34.47}, {168.5, -1, 2, 20.01},
    {348.8, -1, 4, 4.51}, {142.2, -2, 3, 4.47}, {0.2, 1, 2, 3.68}, {139.9, -2, 5, 3.25},
    {355.9, 1, 1, 2.16}, {138.4, -2, 4, 2.16}, {139.4, -1, 1, 1.59}, {166.7, -1, 5, 1.36},
    {340.6, -2, 2, 1.2},
};

// Radius vector, Mars, 12 terms
inline constexpr SunPlanetTerm kSunRadiusMars[] = {
    {0.6, 0, 1, 3.45}, {-0.3, 0, 2, 47.36}, {182.3, 0, 3, 3.87}, {226.92, -1, 4, 11.01},
    {227.8, -1, 3, 4.95}, {40.9, -1, 2, 3.48}, {94.9, -2, 6, 3.2}, {49.3, -1, 5, 2.46},
    {277.6, -2, 4, 2.42}, {95.7, -2, 5, 2.05}, {276.8, -2, 7, 1.38}, {1.3, 1, 2, 1.2},
};

// Radius vector, Jupiter, 12 terms
inline constexpr SunPlanetTerm kSunRadiusJupiter[] = {
    {1.1, 0, 1, 162.73}, {180.22, 0, 2, 92.7}, {175.9, 0, 3, 6.47}, {202.58, -1, 2, 33.6},
    {87.23, -1, 3, 18.49}, {250.2, -1, 1, 5.62}, {23.6, 1, 1, 4.79}, {103.3, -2, 3, 4.01},
    {353.9, -2, 4, 2.6}, {173.6, 1, 2, 2.37}, {278.1, -2, 1, 1.84}, {86.1, -1, 4, 1.7},
};

// Radius vector, Saturn, 3 terms
inline constexpr SunPlanetTerm kSunRadiusSaturn[] = {
    {0.36, 0, 1, 9.88}, {180.1, 0, 2, 3.73}, {182.6, -1, 2, 2.58},
};

// Radius vector, Moon (i j k a), 6 terms
inline constexpr SunLunarTerm kSunRadiusMoon[] = {
    {1, 0, 0, 307.6}, {3, 0, 0, 0.7}, {1, 0, 1, 8.5}, {1, 0, -1, -30.6},
    {1, 1, 0, -3.2}, {1, -1, 0, 8.3},
};

// Latitude, Venus, 11 terms
inline constexpr SunPlanetTerm kSunLatitudeVenus[] = {
    {64.5, -1, 3, 0.21}, {64.6, -1, 1, 0.092}, {244.8, -1, 2, 0.067}, {65.4, -1, 4, 0.031},
    {116.0, 1, 1, 0.029}, {295.0, 1, 2, 0.023}, {233.0, -2, 5, 0.019}, {114.0, 1, 3, 0.014},
    {233.0, -2, 2, 0.014}, {271.0, 0, 2, 0.012}, {244.0, -2, 4, 0.012},
};

// Latitude, Jupiter, 5 terms
inline constexpr SunPlanetTerm kSunLatitudeJupiter[] = {
    {268.6, -1, 2, 0.166}, {0.0, -2, 1, 0.023}, {182.0, -2, 3, 0.018}, {5.0, 0, 1, 0.017},
    {272.0, -1, 1, 0.016},
};

// Latitude, Moon (j k l a), 3 terms
inline constexpr SunLunarLatitudeTerm kSunLatitudeMoon[] = {
    {0, 0, 1, 0.576}, {0, 1, 1, 0.016}, {0, -1, 1, -0.047},
};
// clang-format on
