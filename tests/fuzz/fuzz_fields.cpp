// The window's six field texts through the commands' path: parsed by the fields'
// rules, checked, and when they pass computed (the apparent places, the Besselian
// elements, a coarse shadow snapshot, the sunrise at a latitude, the texts shown).
// Input: up to six texts separated by '\n', each cut to its field's width
// (2/2/4/2/2/4 characters) as the field would.

#include "eclipse/besselian.h"
#include "eclipse/outline.h"
#include "eclipse/riseset.h"
#include "ephemeris/apparent.h"
#include "ephemeris/timescales.h"
#include "model/input_check.h"
#include "model/texts.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

FieldTexts TextsOf(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kWidths[6] = {2, 2, 4, 2, 2, 4};
    std::string texts[6];
    std::size_t field = 0;
    for (std::size_t i = 0; i < size && field < 6; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\n') {
            ++field;
        } else if (texts[field].size() < kWidths[field]) {
            texts[field] += c;
        }
    }
    return {texts[0], texts[1], texts[2], texts[3], texts[4], texts[5]};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FieldTexts texts = TextsOf(data, size);
    if (DateTextsMissing(texts)) {
        return 0;
    }
    const FieldValues v = ParseFieldTexts(texts);
    Require(std::isfinite(v.second));
    // The contact-time run and the map need the date; the snapshot also the time.
    if (!InputProblemText(v, false).empty()) {
        Require(CheckDate(v.day, v.month, v.year) != DateCheck::Valid);
        return 0;
    }
    // A date that passed exists, and converts back to itself.
    Require(CheckDate(v.day, v.month, v.year) == DateCheck::Valid);
    const double jd0 = CalendarToJulianDay(v.day, v.month, v.year, 0.0, 0, 0);
    const CalendarDate back = JulianDayToCalendarDate(jd0 + 0.5);
    Require(back.day == v.day && back.month == v.month && back.year == v.year);

    const bool snapshot = InputProblemText(v, true).empty();
    const double jd =
        snapshot ? CalendarToJulianDay(v.day, v.month, v.year, v.second, v.minute, v.hour) : jd0;
    Require(std::isfinite(jd));
    const ApparentPlaces p = ApparentPlacesAt(jd);
    Require(std::abs(p.sunDec) < 24.5);
    Require(p.sunDistance > 0.98 && p.sunDistance < 1.02);
    Require(std::abs(p.moonDec) < 30.0);
    const BesselianElements e = ElementsAt(p);
    Require(std::isfinite(e.x) && std::isfinite(e.y) && std::isfinite(e.mu));
    const ShadowSnapshot s = ShadowAt(jd, true, 20.0, 200.0, Ephemeris::Classic);
    for (std::size_t i = 0; i < s.penumbra.lat.size(); ++i) {
        Require(std::abs(s.penumbra.lat[i]) <= 90.0 && std::abs(s.penumbra.lon[i]) <= 180.0);
    }
    const RiseSetTimes rs =
        SunRiseSet(jd0, static_cast<double>(v.minute % 91), 0.0, 0.0, false, Ephemeris::Classic);
    Require(std::isnan(rs.rise) || (rs.rise >= 0.0 && rs.rise < 24.0));
    const std::string step = FormatStepTime(jd);
    Require(step.size() == 5 && step.find('-') == std::string::npos);
    (void)NoEclipseMessage(texts.day, texts.month, texts.year);
    return 0;
}
