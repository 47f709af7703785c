#include "model/eclipse_map.h"

#include "eclipse/map_curves.h"
#include "eclipse/riseset.h"
#include "ephemeris/timescales.h"
#include "geo/projection.h"

#include <future>
#include <utility>

double RequestStartJD(const RunRequest& request) {
    return CalendarToJulianDay(request.day, request.month, request.year, 0.0, 0, 0);
}

void HourMinuteOfStep(double jd, int& hour, int& minute) {
    double hours = JulianDayToHours(jd);
    if (hours >= 24.0)
        hours -= 24.0;
    SplitHoursToMinutes(hours, hour, minute);
}

std::vector<int> OutlineHours(int firstPenumbraStep, int lastPenumbraStep, int stepsPerDay) {
    // Step s lies at s / stepsPerDay days, hour h at h / 24: compared in whole numbers.
    std::vector<int> hours;
    for (int hour = 0; hour < 24; ++hour) {
        const long long atHour = static_cast<long long>(hour) * stepsPerDay;
        if (24LL * firstPenumbraStep < atHour && atHour < 24LL * lastPenumbraStep)
            hours.push_back(hour);
    }
    return hours;
}

EclipseMap ComputeEclipseMap(const RunRequest& request) {
    EclipseMap map;
    const double jd0 = RequestStartJD(request);
    const bool deltaT = request.deltaT == 1;
    map.contacts = ContactTimesOfDate(jd0, Ephemeris::Classic);
    if (!map.contacts.eclipse)
        return map;
    const ContactTimes& c = map.contacts;

    // The hourly outlines (50000 heights each) are independent of each other and
    // of the umbra path: they are traced on other threads meanwhile.
    std::vector<std::future<Outline>> hourly;
    const std::vector<int> hours =
        OutlineHours(c.firstPenumbraStep, c.lastPenumbraStep, kContactStepsPerDay);
    for (const int hour : hours) {
        const double jd =
            CalendarToJulianDay(request.day, request.month, request.year, 0.0, 0, hour);
        hourly.push_back(std::async(std::launch::async, [jd, deltaT] {
            return ShadowAt(jd, deltaT, 0.0, 50000.0, Ephemeris::Classic).penumbra;
        }));
        map.lastHour = hour;
        map.lastMinute = 0;
    }

    if (c.umbral) {
        for (int step = c.firstUmbraStep; step <= c.lastUmbraStep; ++step) {
            HourMinuteOfStep(ContactStepJD(c, step), map.lastHour, map.lastMinute);
            const double jd = CalendarToJulianDay(request.day, request.month, request.year, 0.0,
                                                  map.lastMinute, map.lastHour);
            const Outline umbra = ShadowAt(jd, deltaT, 1000.0, 0.0, Ephemeris::Classic).umbra;
            map.umbraPath.hits += umbra.hits;
            map.umbraPath.lat.insert(map.umbraPath.lat.end(), umbra.lat.begin(), umbra.lat.end());
            map.umbraPath.lon.insert(map.umbraPath.lon.end(), umbra.lon.begin(), umbra.lon.end());
        }
    }
    for (std::size_t i = 0; i < hours.size(); ++i) {
        Outline outline = hourly[i].get();
        std::vector<PointRun> runs = SummariseOutline(outline.lat, outline.lon);
        map.outlines.push_back({hours[i], std::move(outline), std::move(runs)});
    }
    return map;
}

DatePath ComputeDatePath(double jdDate, Ephemeris engine) {
    DatePath result;
    result.eclipse = EclipsePathOfDate(jdDate, engine);
    const MapCurves curves =
        result.eclipse.kind == EclipseKind::None ? MapCurves{} : ComputeMapCurves(result.eclipse);
    result.path = MakePathLayer(result.eclipse, curves, -90.0, 90.0);
    result.pagePath =
        MakePathLayer(result.eclipse, curves, projection::kSouthLimit, projection::kNorthLimit);
    return result;
}

DateMap ComputeDateMap(const RunRequest& request, Ephemeris engine) {
    std::future<DatePath> path =
        std::async(std::launch::async, ComputeDatePath, RequestStartJD(request), engine);
    EclipseMap map = ComputeEclipseMap(request);
    return {std::move(map), path.get()};
}

PendingDateMap StartDateMap(const RunRequest& request, Ephemeris engine) {
    return {request, engine, std::async(std::launch::async, ComputeDateMap, request, engine)};
}

DateMap TakeDateMap(PendingDateMap& pending, const RunRequest& request, Ephemeris engine) {
    std::future<DateMap> result = std::move(pending.result);
    if (result.valid() && pending.request == request && pending.engine == engine)
        return result.get();
    return ComputeDateMap(request, engine);
}

LimitCurveSeries ComputeLimitCurveSeries(const RunRequest& request) {
    LimitCurveSeries series;
    const double jd0 = RequestStartJD(request);
    for (int latitude = -60; latitude <= 75; ++latitude) {
        const RiseSetTimes times = SunRiseSet(jd0, latitude, 0.0, 0.0, false, Ephemeris::Classic);
        series.latitudes.push_back(latitude);
        series.rise.push_back(times.rise);
        series.set.push_back(times.set);
    }
    return series;
}
