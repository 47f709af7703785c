#include "eclipse/saros.h"

#include <cmath>

namespace {

constexpr int kSaros = 223;      // lunations
constexpr int kInverseInex = 38; // the inex's inverse modulo the saros

// The middle of the band of series alive at a lunation, in series, up to a constant.
// Fitted to the solar series of -1999..9999 (the canon's numbers, continued beyond 3000
// by the saros and the inex): every solar series lies within 26 of it and every lunar one
// of -1999..3000 within 31, far inside the 111 at which the choice would turn.
double BandMiddle(int lunation) {
    const double u = lunation / 1e4;
    return 26.587 * u + 0.14638 * u * u;
}

} // namespace

int SarosSeries(int lunation, SarosReference reference) {
    const long long offset = static_cast<long long>(lunation) - reference.lunation;
    const long long inexes = (offset % kSaros + kSaros) % kSaros * kInverseInex % kSaros;
    const long long candidate = reference.saros + inexes;
    const double middle = reference.saros + BandMiddle(lunation) - BandMiddle(reference.lunation);
    const long long turns = std::llround((middle - candidate) / kSaros);
    return static_cast<int>(candidate + turns * kSaros);
}
