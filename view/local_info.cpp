// What a place sees of a solar eclipse: the third box of the right click, and the
// Eclipse menu's "Local circumstances..." and "Next eclipse from here...".
#include "eclipse/finder.h"
#include "eclipse/local.h"
#include "ephemeris/timescales.h"
#include "places/gazetteer.h"
#include "places/zone_map.h"
#include "render/draw_tools.h"
#include "render/projection.h"
#include "view/kestrova_view.h"
#include "view/local_texts.h"
#include "view/texts.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QInputDialog>
#include <QStringList>
#include <QTimeZone>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace {

constexpr double kUnixEpochJd = 2440587.5;

// A whole decimal number, nothing else (blanks around allowed).
std::optional<int> WholeNumber(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t last = text.find_last_not_of(' ');
    int value = 0;
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    const auto result = std::from_chars(begin, end, value);
    if (result.ec != std::errc() || result.ptr != end)
        return std::nullopt;
    return value;
}

// "HH:MM:SS.s ABBR" of the instant in the zone (with the date when it is not the UT
// date); empty for an instant Qt cannot place.
std::string CivilTime(double jdUT, const QTimeZone& zone) {
    const double ms = std::round((jdUT - kUnixEpochJd) * 864000.0) * 100.0;
    if (!(std::fabs(ms) < 1e17) || !zone.isValid())
        return {};
    const QDateTime utc = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(ms), QTimeZone::utc());
    const QDateTime local = utc.toTimeZone(zone);
    QString text = local.toString(QStringLiteral("HH:mm:ss")) + QLatin1Char('.') +
                   QString::number(local.time().msec() / 100);
    if (local.date() != utc.date())
        text = local.toString(QStringLiteral("yyyy-MM-dd ")) + text;
    const QString abbreviation = local.timeZoneAbbreviation();
    if (!abbreviation.isEmpty())
        text += QLatin1Char(' ') + abbreviation;
    return text.toStdString();
}

struct ChosenPlace {
    double latitude = 0.0;
    double longitude = 0.0;
    std::string name; // empty for typed coordinates
    std::string zone;
};

// "lat, lon" or "lat lon" in decimal degrees.
std::optional<ChosenPlace> TypedCoordinates(const QString& text) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char(' '));
    const QStringList parts = t.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (parts.size() != 2)
        return std::nullopt;
    bool okLat = false;
    bool okLon = false;
    const double lat = parts[0].toDouble(&okLat);
    const double lon = parts[1].toDouble(&okLon);
    if (!okLat || !okLon || !std::isfinite(lat) || !std::isfinite(lon))
        return std::nullopt;
    return ChosenPlace{lat, lon, {}, {}};
}

} // namespace

std::optional<double> CKestrovaView::FieldsDayStart() {
    ReadEditTexts();
    const std::optional<int> day = WholeNumber(m_strDay);
    const std::optional<int> month = WholeNumber(m_strMonth);
    const std::optional<int> year = WholeNumber(m_strYear);
    if (!day || !month || !year || CheckDate(*day, *month, *year) != DateCheck::Valid ||
        *year < -1999 || *year > 9999)
        return std::nullopt;
    return CalendarToJulianDay(*day, *month, *year, 0.0, 0, 0);
}

void CKestrovaView::ShowLocalCircumstancesAt(double lat, double lon) {
    const std::optional<double> day = FieldsDayStart();
    if (!day)
        return;
    ShowWaitCursor();
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(*day);
    ShowArrowCursor();
    if (!eclipse)
        return;
    LocalReport report;
    report.latitude = lat;
    report.longitude = lon;
    report.greatestJdUT = eclipse->jdGreatestUT;
    report.local = ComputeLocalCircumstances(eclipse->elements, {lat, lon, 0.0});
    const PointZone pointZone = ZoneAtPoint(lat, lon);
    if (pointZone.nautical)
        report.placeName = "At sea, nautical zone " + pointZone.zone;
    const QTimeZone zone(QByteArray::fromStdString(pointZone.zone));
    const std::string text =
        LocalCircumstancesText(report, [&zone](double jd) { return CivilTime(jd, zone); });
    MessageBox(QString::fromStdString(text), QStringLiteral("Local circumstances"),
               MB_OK | MB_ICONINFORMATION);
}

std::optional<CKestrovaView::PlaceChoice> CKestrovaView::AskForPlace(const QString& title) {
    bool ok = false;
    const QString typed = QInputDialog::getText(
        this, title,
        QStringLiteral("Place name, or latitude and longitude in degrees (north and east "
                       "positive):"),
        QLineEdit::Normal, m_lastPlace, &ok);
    if (!ok || typed.trimmed().isEmpty())
        return std::nullopt;
    m_lastPlace = typed;
    if (const std::optional<ChosenPlace> c = TypedCoordinates(typed)) {
        if (std::fabs(c->latitude) > 90.0 || std::fabs(c->longitude) > 180.0) {
            MessageBox(QStringLiteral("The latitude must lie between -90 and 90 degrees and "
                                      "the longitude between -180 and 180."),
                       title, MB_OK | MB_ICONEXCLAMATION);
            return std::nullopt;
        }
        const PointZone pointZone = ZoneAtPoint(c->latitude, c->longitude);
        return PlaceChoice{c->latitude, c->longitude,
                           pointZone.nautical ? "At sea, nautical zone " + pointZone.zone
                                              : std::string(),
                           pointZone.zone};
    }
    const std::string file =
        FindGazetteerFile(QCoreApplication::applicationDirPath().toStdString());
    const GazetteerLoad load = file.empty()
                                   ? GazetteerLoad{{}, "the list of places is not installed"}
                                   : LoadGazetteer(file);
    if (!load.error.empty()) {
        MessageBox(QStringLiteral("Places cannot be found by name: %1.")
                       .arg(QString::fromStdString(load.error)),
                   title, MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    const std::vector<Place> found = FindPlaces(load.gazetteer, typed.toStdString());
    if (found.empty()) {
        std::string message = NoPlaceMessage(load.gazetteer, typed.trimmed().toStdString());
        message[0] = 'N';
        MessageBox(QString::fromStdString(message) + QStringLiteral("."), title,
                   MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    const Place* chosen = &found.front();
    if (found.size() > 1) {
        QStringList items;
        for (const Place& p : found)
            items << QStringLiteral("%1 (%2 inhabitants)")
                         .arg(QString::fromStdString(DescribePlace(p)))
                         .arg(p.population);
        const QString item = QInputDialog::getItem(
            this, title, QStringLiteral("Several places have that name:"), items, 0, false, &ok);
        if (!ok)
            return std::nullopt;
        chosen = &found[static_cast<std::size_t>(std::max<qsizetype>(0, items.indexOf(item)))];
    }
    return PlaceChoice{chosen->latitude, chosen->longitude, DescribePlace(*chosen), chosen->zone};
}

void CKestrovaView::ShowPlaceReport(const PlaceChoice& place, const EclipseCircumstances& eclipse,
                                    const LocalCircumstances& lc, const QString& title) {
    LocalReport report;
    report.latitude = place.latitude;
    report.longitude = place.longitude;
    report.placeName = place.name;
    report.greatestJdUT = eclipse.jdGreatestUT;
    report.local = lc;
    const QTimeZone zone = place.zone.empty() ? QTimeZone::systemTimeZone()
                                              : QTimeZone(QByteArray::fromStdString(place.zone));
    MarkPlace(place.latitude, place.longitude);
    MessageBox(QString::fromStdString(LocalCircumstancesText(
                   report, [&zone](double jd) { return CivilTime(jd, zone); })),
               title, MB_OK | MB_ICONINFORMATION);
}

std::optional<CKestrovaView::DayAndPlace>
CKestrovaView::AskForDayAndPlace(const QString& title, const QString& missingDate) {
    const std::optional<double> day = FieldsDayStart();
    if (!day) {
        MessageBox(missingDate, title, MB_OK | MB_ICONEXCLAMATION);
        return std::nullopt;
    }
    std::optional<PlaceChoice> place = AskForPlace(title);
    if (!place)
        return std::nullopt;
    return DayAndPlace{*day, std::move(*place)};
}

void CKestrovaView::OnLocalCircumstances() {
    const QString title = QStringLiteral("Local circumstances");
    const std::optional<DayAndPlace> asked = AskForDayAndPlace(
        title, QStringLiteral("Enter the date of an eclipse (day, month and year, from "
                              "-1999 to 3000) first."));
    if (!asked)
        return;
    const double day = asked->day;
    const PlaceChoice& place = asked->place;
    ShowWaitCursor();
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(day);
    ShowArrowCursor();
    if (!eclipse) {
        MarkPlace(place.latitude, place.longitude);
        MessageBox(QString::fromStdString(NoEclipseMessage(m_strDay, m_strMonth, m_strYear)), title,
                   MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const LocalCircumstances lc =
        ComputeLocalCircumstances(eclipse->elements, {place.latitude, place.longitude, 0.0});
    ShowPlaceReport(place, *eclipse, lc, title);
}

void CKestrovaView::OnNextEclipseFromHere() {
    const QString title = QStringLiteral("Next eclipse from here");
    const std::optional<DayAndPlace> asked = AskForDayAndPlace(
        title, QStringLiteral("Enter the date to search from (day, month and year, from "
                              "-1999 to 3000) first."));
    if (!asked)
        return;
    const double day = asked->day;
    const PlaceChoice& place = asked->place;
    ShowWaitCursor();
    const CalendarDate from = JulianDayToCalendarDate(day + 0.5);
    const std::optional<LocalEclipse> next =
        NextLocalEclipse(day + 1.0, {place.latitude, place.longitude, 0.0}, 3001.0 - from.year);
    ShowArrowCursor();
    if (!next) {
        MessageBox(QStringLiteral("No solar eclipse is seen from there before the year 3001."),
                   title, MB_OK | MB_ICONINFORMATION);
        return;
    }
    // The eclipse's date into the fields, and its map.
    const CalendarDate d = JulianDayToCalendarDate(next->eclipse.jdGreatestUT);
    ReadEditTexts();
    m_strDay = std::to_string(d.day);
    m_strMonth = std::to_string(d.month);
    m_strYear = std::to_string(d.year);
    WriteEditTexts();
    OnMap();
    ShowPlaceReport(place, next->eclipse, next->local, title);
}

void CKestrovaView::MarkPlace(double lat, double lon) {
    m_scene.place = GeoPoint{lat, lon};
    ShowScene();
}
