// What a place sees of a solar eclipse: the third box of the right click, and the
// Eclipse menu's "Local circumstances..." and "Next eclipse from here...".
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "eclipse/local.h"
#include "eclipse/local_search.h"
#include "eclipse/lunar.h"
#include "eclipse/lunar_local.h"
#include "ephemeris/timescales.h"
#include "places/gazetteer.h"
#include "places/zone_map.h"
#include "places/zone_time.h"
#include "render/draw_tools.h"
#include "render/projection.h"
#include "view/kestrova_view.h"
#include "view/local_texts.h"
#include "view/lunar_display.h"
#include "view/program_places.h"
#include "view/texts.h"

#include <QDateTime>
#include <QDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QStringList>
#include <QTableWidget>
#include <QTimeZone>
#include <QVBoxLayout>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
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

// A clicked point is named after a place of the gazetteer this close to it.
constexpr double kNearbyPlaceKm = 5.0;

// What a clicked point is called and how high it is taken to be: "2.1 km from Dallas,
// TX, US" and that place's height, or (no place within kNearbyPlaceKm, or one whose
// height is not known) no name and sea level, said to be assumed.
struct PointPlace {
    std::string name;
    double heightM = 0.0; // above sea level
    std::string heightSource;
};

PointPlace PointPlaceAt(double lat, double lon) {
    PointPlace point;
    const std::optional<NearbyPlace> near =
        NearestPlace(ProgramGazetteer().gazetteer, lat, lon, kNearbyPlaceKm);
    if (near) {
        char km[32];
        std::snprintf(km, sizeof km, "%.1f km from ", near->distanceKm);
        point.name = km + DescribePlace(near->place);
    }
    if (near && near->place.heightM) {
        point.heightM = *near->place.heightM;
        point.heightSource = DescribePlace(near->place);
    } else {
        char km[16];
        std::snprintf(km, sizeof km, "%.0f km", kNearbyPlaceKm);
        point.heightSource =
            near ? "assumed: the height of " + DescribePlace(near->place) + " is not known"
                 : std::string("assumed: no place of the gazetteer within ") + km;
    }
    return point;
}

// "UTC-3, the nautical zone at sea (Etc/GMT+3)": the zone's offset as people write it
// (the POSIX name counts west positive).
std::string NauticalZoneText(const std::string& zone) {
    const std::string prefix = "Etc/GMT";
    std::string offset = "UTC";
    if (zone.size() > prefix.size() && zone.compare(0, prefix.size(), prefix) == 0) {
        const char sign = zone[prefix.size()];
        offset += (sign == '+' ? "-" : "+") + zone.substr(prefix.size() + 1);
    }
    return offset + ", the nautical zone at sea (" + zone + ")";
}

// What a point at that height (metres above sea level) sees of the eclipse (no place
// name, no zone yet).
LocalReport PointReport(const EclipseCircumstances& eclipse, double lat, double lon,
                        double heightM = 0.0) {
    LocalReport report;
    report.latitude = lat;
    report.longitude = lon;
    report.greatestJdUT = eclipse.jdGreatestUT;
    report.local = ComputeLocalCircumstances(eclipse.elements, {lat, lon, heightM});
    report.engine = eclipse.engine;
    return report;
}

} // namespace

std::optional<double> CKestrovaView::FieldsDayStart() {
    ReadEditTexts();
    const std::optional<int> day = WholeNumber(m_strDay);
    const std::optional<int> month = WholeNumber(m_strMonth);
    const std::optional<int> year = WholeNumber(m_strYear);
    if (!day || !month || !year || CheckDate(*day, *month, *year) != DateCheck::Valid ||
        *year < kFirstSearchYear || *year > kLastSolarSearchYear)
        return std::nullopt;
    return CalendarToJulianDay(*day, *month, *year, 0.0, 0, 0);
}

void CKestrovaView::ShowLocalCircumstancesAt(double lat, double lon) {
    const std::optional<double> day = FieldsDayStart();
    if (!day)
        return;
    ShowWaitCursor();
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(*day, m_engine);
    ShowArrowCursor();
    if (!eclipse) {
        // The map's lunar eclipse, as this place sees it.
        if (m_scene.lunar) {
            const QTimeZone zone = QTimeZone::systemTimeZone();
            const std::string text = LunarLocalText(
                *m_scene.lunar, lat, lon, ComputeLunarLocal(*m_scene.lunar, {lat, lon, 0.0}),
                [&zone](double jd) { return CivilTime(jd, zone); });
            MessageBox(QString::fromStdString(text), QStringLiteral("Local circumstances"),
                       MB_OK | MB_ICONINFORMATION);
        }
        return;
    }
    LocalReport report = PointReport(*eclipse, lat, lon);
    const PointZone pointZone = ZoneAtPoint(lat, lon);
    if (pointZone.nautical)
        report.placeName = "At sea, nautical zone " + pointZone.zone;
    const QTimeZone zone(QByteArray::fromStdString(pointZone.zone));
    const std::string text =
        LocalCircumstancesText(report, [&zone](double jd) { return CivilTime(jd, zone); });
    MessageBox(QString::fromStdString(text), QStringLiteral("Local circumstances"),
               MB_OK | MB_ICONINFORMATION);
}

std::string CKestrovaView::LocalPanelText(double lat, double lon) {
    MarkPlace(lat, lon);
    const std::optional<double> day = FieldsDayStart();
    if (!day)
        return "Enter the date of an eclipse (day, month and year, from " +
               std::to_string(kFirstSearchYear) + " to " + std::to_string(kLastSolarSearchYear) +
               ") and click the map again.\n\nPlace: " + PositionText(lat, lon) + "\n";
    const PointZone pointZone = ZoneAtPoint(lat, lon);
    const QTimeZone zone(QByteArray::fromStdString(pointZone.zone));
    const CivilTimeText civil = [&zone](double jd) { return CivilTime(jd, zone); };
    const std::string zoneText =
        pointZone.nautical ? NauticalZoneText(pointZone.zone) : pointZone.zone;
    ShowWaitCursor();
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(*day, m_engine);
    ShowArrowCursor();
    if (eclipse) {
        const PointPlace point = PointPlaceAt(lat, lon);
        LocalReport report = PointReport(*eclipse, lat, lon, point.heightM);
        report.placeName = point.name;
        report.heightM = point.heightM;
        report.heightSource = point.heightSource;
        report.zoneText = zoneText;
        return LocalCircumstancesText(report, civil);
    }
    ShowWaitCursor();
    const std::optional<LunarEclipse> lunar = LunarEclipseOnDate(*day, m_engine);
    ShowArrowCursor();
    if (lunar)
        return LunarLocalText(*lunar, lat, lon, ComputeLunarLocal(*lunar, {lat, lon, 0.0}), civil) +
               "\nTime zone: " + zoneText + "\n";
    return "No solar or lunar eclipse has its greatest eclipse on " + EclipseDateText(*day) +
           " (UT).\n\nPlace: " + PositionText(lat, lon) + "\n";
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
    const GazetteerLoad& load = ProgramGazetteer();
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
    report.engine = eclipse.engine;
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
                              "%1 to %2) first.")
                   .arg(kFirstSearchYear)
                   .arg(kLastSearchYear));
    if (!asked)
        return;
    const double day = asked->day;
    const PlaceChoice& place = asked->place;
    ShowWaitCursor();
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(day, m_engine);
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

namespace {

// The kinds "Next eclipse from here" offers, as seen from the place.
struct KindChoice {
    const char* text;
    bool partial, annular, total, hybrid;
};
constexpr KindChoice kKindChoices[] = {
    {"Any eclipse", true, true, true, true},
    {"Total", false, false, true, false},
    {"Annular", false, true, false, false},
    {"Total or annular", false, true, true, false},
    {"Hybrid (seen as total or annular)", false, false, false, true},
    {"Partial", true, false, false, false},
};

bool KindFits(const KindChoice& k, const LocalEclipse& e) {
    const bool central = e.local.kind == EclipseKind::Total || e.local.kind == EclipseKind::Annular;
    if (k.hybrid && central && e.eclipse.type == EclipseKind::Hybrid)
        return true;
    return (k.total && e.local.kind == EclipseKind::Total) ||
           (k.annular && e.local.kind == EclipseKind::Annular) ||
           (k.partial && e.local.kind == EclipseKind::Partial);
}

// The day after the last one the search covers: 10000 January 1.
double SearchEnd() {
    return CalendarToJulianDay(1, 1, kLastSolarSearchYear + 1, 0.0, 0, 0);
}

QString DurationText(double seconds) {
    if (!(seconds > 0.0))
        return {};
    const long tenths = std::lround(seconds * 10.0);
    if (tenths < 600)
        return QStringLiteral("%1.%2 s").arg(tenths / 10).arg(tenths % 10);
    return QStringLiteral("%1 min %2 s").arg(tenths / 600).arg(tenths % 600 / 10);
}

} // namespace

void CKestrovaView::OnNextEclipseFromHere() {
    const QString title = QStringLiteral("Next eclipse from here");
    QStringList kinds;
    for (const KindChoice& k : kKindChoices)
        kinds << QString::fromUtf8(k.text);
    bool ok = false;
    const QString kind = QInputDialog::getItem(
        this, title, QStringLiteral("Which kind of eclipse?"), kinds, m_lastKind, false, &ok);
    if (!ok)
        return;
    m_lastKind = static_cast<int>(std::max<qsizetype>(0, kinds.indexOf(kind)));
    const KindChoice& choice = kKindChoices[m_lastKind];
    const std::optional<DayAndPlace> asked = AskForDayAndPlace(
        title, QStringLiteral("Enter the date to search from (day, month and year, from "
                              "%1 to %2) first.")
                   .arg(kFirstSearchYear)
                   .arg(kLastSolarSearchYear));
    if (!asked)
        return;
    const double day = asked->day;
    const PlaceChoice& place = asked->place;
    ShowWaitCursor();
    const std::vector<LocalEclipse> found = LocalEclipsesBetween(
        day + 1.0, SearchEnd(), {place.latitude, place.longitude, 0.0},
        [&choice](const LocalEclipse& e) { return KindFits(choice, e); }, 1, m_engine);
    ShowArrowCursor();
    if (found.empty()) {
        MessageBox(QStringLiteral("No such solar eclipse (%1) is seen from there before the "
                                  "year %2.")
                       .arg(kind.toLower())
                       .arg(kLastSolarSearchYear + 1),
                   title, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const LocalEclipse& next = found.front();
    // The eclipse's date into the fields, and its map.
    const CalendarDate d = JulianDayToCalendarDate(next.eclipse.jdGreatestUT);
    ReadEditTexts();
    m_strDay = std::to_string(d.day);
    m_strMonth = std::to_string(d.month);
    m_strYear = std::to_string(d.year);
    WriteEditTexts();
    OnMap();
    ShowPlaceReport(place, next.eclipse, next.local, title);
}

void CKestrovaView::OnEclipsesSeenFromHere() {
    const QString title = QStringLiteral("Eclipses seen from here");
    const std::optional<DayAndPlace> asked = AskForDayAndPlace(
        title, QStringLiteral("Enter the date to list from (day, month and year, from -1999 "
                              "to 9999) first."));
    if (!asked)
        return;
    bool ok = false;
    const int years = QInputDialog::getInt(this, title, QStringLiteral("For how many years?"), 50,
                                           1, 1000, 1, &ok);
    if (!ok)
        return;
    const PlaceChoice place = asked->place;
    const double from = asked->day;
    const double to = std::min(SearchEnd(), from + years * 365.25);
    ShowWaitCursor();
    const std::vector<LocalEclipse> found = LocalEclipsesBetween(
        from, to, {place.latitude, place.longitude, 0.0}, [](const LocalEclipse&) { return true; },
        100000, m_engine);
    ShowArrowCursor();
    MarkPlace(place.latitude, place.longitude);

    auto* dialog = new QDialog(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    const QString where =
        place.name.empty() ? QString::fromStdString(PositionText(place.latitude, place.longitude))
                           : QString::fromStdString(place.name);
    dialog->setWindowTitle(title + QStringLiteral(": ") + where);
    const QTimeZone zone = place.zone.empty() ? QTimeZone::systemTimeZone()
                                              : QTimeZone(QByteArray::fromStdString(place.zone));
    const QStringList headers = {QStringLiteral("Date"),
                                 QStringLiteral("Seen as"),
                                 QStringLiteral("Magnitude"),
                                 QStringLiteral("Sun covered"),
                                 QStringLiteral("Maximum (local time)"),
                                 QStringLiteral("Maximum (UT)"),
                                 QStringLiteral("Duration"),
                                 QStringLiteral("Altitude"),
                                 QStringLiteral("Type")};
    // One row for each solar eclipse seen while the Sun is up and each lunar eclipse
    // of which a phase is seen (lunar searches end with the year 3000), by date.
    struct Row {
        double jd = 0.0; // UT of the row's maximum
        std::vector<QString> cells;
    };
    std::vector<Row> rows;
    for (const LocalEclipse& e : found) {
        const double max = e.local.max->jdUT;
        const bool central =
            e.local.kind == EclipseKind::Total || e.local.kind == EclipseKind::Annular;
        rows.push_back({max,
                        {QString::fromStdString(EclipseDateText(max)),
                         QString::fromLatin1(EclipseKindName(e.local.kind)),
                         QString::number(e.local.magnitude, 'f', 3),
                         QStringLiteral("%1 %").arg(e.local.obscuration * 100.0, 0, 'f', 1),
                         QString::fromStdString(CivilTime(max, zone)),
                         QString::fromStdString(FormatInstant(max, 1)).mid(11, 8),
                         central ? DurationText(e.local.duration) : QString(),
                         QStringLiteral("Sun %1°").arg(e.local.max->sun.altitude, 0, 'f', 0),
                         QString(QChar::fromLatin1(EclipseKindLetter(e.eclipse.type)))}});
    }
    const double lunarEnd = CalendarToJulianDay(1, 1, kLastSearchYear + 1, 0.0, 0, 0);
    const Observer here{place.latitude, place.longitude, 0.0};
    for (const LunarEclipse& e : LunarEclipsesBetween(from, std::min(to, lunarEnd), m_engine)) {
        const LunarLocalCircumstances seen = ComputeLunarLocal(e, here);
        if (!seen.visible)
            continue;
        const MoonInSky moon = MoonInSkyAt(e.elements, here, e.jdGreatestUT);
        const double max = e.jdGreatestUT;
        const bool penumbral = e.kind == EclipseKind::Penumbral;
        rows.push_back(
            {max,
             {QString::fromStdString(EclipseDateText(max)),
              QStringLiteral("lunar, %1").arg(QString::fromLatin1(EclipseKindName(e.kind))),
              QString::number(penumbral ? e.penumbralMagnitude : e.umbralMagnitude, 'f', 3),
              QString(), QString::fromStdString(CivilTime(max, zone)),
              QString::fromStdString(FormatInstant(max, 1)).mid(11, 8),
              e.totalDurationS > 0.0 ? DurationText(e.totalDurationS) : QString(),
              QStringLiteral("Moon %1°").arg(moon.apparentAltitude, 0, 'f', 0),
              QString(QChar::fromLatin1(EclipseKindLetter(e.kind)))}});
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const Row& a, const Row& b) { return a.jd < b.jd; });
    auto* table = new QTableWidget(static_cast<int>(rows.size()), headers.size(), dialog);
    table->setObjectName(QStringLiteral("localEclipses"));
    table->setHorizontalHeaderLabels(headers);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const CalendarDate d = JulianDayToCalendarDate(rows[i].jd);
        for (int c = 0; c < headers.size(); ++c) {
            auto* item = new QTableWidgetItem(rows[i].cells[static_cast<std::size_t>(c)]);
            item->setData(Qt::UserRole, QVariantList{d.day, d.month, d.year});
            table->setItem(static_cast<int>(i), c, item);
        }
    }
    table->resizeColumnsToContents();
    connect(table, &QTableWidget::cellDoubleClicked, this, [this, table](int row, int) {
        const QVariantList date = table->item(row, 0)->data(Qt::UserRole).toList();
        ReadEditTexts();
        m_strDay = std::to_string(date[0].toInt());
        m_strMonth = std::to_string(date[1].toInt());
        m_strYear = std::to_string(date[2].toInt());
        WriteEditTexts();
        SendCommand(ID_MAP);
    });
    auto* legend = new QLabel(
        QStringLiteral("%1 solar eclipses seen while the Sun is up and %2 lunar eclipses of which "
                       "a phase is seen with the Moon up (lunar ones to the year 3000). Seen "
                       "as: total, annular or partial from this place; lunar, total, partial "
                       "or penumbral. Magnitude: of the Sun, or of the Moon in the Earth's "
                       "umbra (penumbra for a penumbral eclipse). Altitude: of the Sun or the "
                       "Moon at maximum. Type (on the whole Earth): T total, A annular, H "
                       "hybrid, P partial, N penumbral. Double-click an eclipse to show its "
                       "map.")
            .arg(found.size())
            .arg(rows.size() - found.size()),
        dialog);
    legend->setWordWrap(true);
    auto* layout = new QVBoxLayout(dialog);
    layout->addWidget(table, 1);
    layout->addWidget(legend);
    dialog->resize(900, 420);
    dialog->show();
}

void CKestrovaView::MarkPlace(double lat, double lon) {
    m_scene.place = GeoPoint{lat, lon};
    ShowScene();
}
