#pragma once

// Saros series numbers of solar and lunar eclipses.
//
// A saros (223 lunations) keeps an eclipse's series and an inex (358 lunations) steps
// it by one, so a lunation fixes the series number modulo 223 (358 * 38 = 1 mod 223).
// Of those numbers the series meant is the one alive at that time: the series alive at
// any time span about 60 numbers around a slowly drifting middle, so the number nearest
// that middle is the one.

// An eclipse of known series: its lunation and series number. Solar lunations count new
// moons from 2000 January 6, lunar ones full moons from 2000 January 21.
struct SarosReference {
    int lunation = 0;
    int saros = 0;
};

constexpr SarosReference kSolarSarosReference{300, 139}; // 2024 April 8
constexpr SarosReference kLunarSarosReference{0, 124};   // 2000 January 21

// The series number of the eclipse at a lunation, counted as the reference's.
int SarosSeries(int lunation, SarosReference reference);
