#pragma once

// The computation behind the map command, apart from its drawing: the day's contact
// times, the penumbra's outline at every whole hour of the penumbral phase, the umbra's
// positions minute by minute from first to last umbral contact, and the sunrise and
// sunset times of the limit curves. No Qt here.

#include "eclipse/contacts.h"
#include "eclipse/outline.h"
#include "eclipse/path.h"
#include "geo/outline_runs.h"
#include "model/path_layer.h"

#include <future>
#include <vector>

// The date of a request, as the view parsed it.
struct RunRequest {
    int day = 0;
    int month = 0;
    int year = 0;
    int deltaT = 1; // 1: the theories run in dynamical time

    friend bool operator==(const RunRequest&, const RunRequest&) = default;
};

// Julian day of the request's 0h UT.
double RequestStartJD(const RunRequest& request);

// Hour and minute of a step of a run that starts at 0h UT of its date: 0h of that date
// is 0:00 (not 24:00 of it, as the hours of the civil day would have it).
void HourMinuteOfStep(double jd, int& hour, int& minute);

// The whole hours 0..23 that lie strictly between the first and the last penumbral step
// of a run of stepsPerDay steps from 0h UT: an hour on a contact minute itself is not one.
std::vector<int> OutlineHours(int firstPenumbraStep, int lastPenumbraStep, int stepsPerDay);

struct HourOutline {
    int hour = 0;
    Outline outline;
    std::vector<PointRun> runs; // the outline's runs, for the frames that draw it
};

struct EclipseMap {
    ContactTimes contacts;             // eclipse false: nothing else is filled
    std::vector<HourOutline> outlines; // one per outline hour, in order
    Outline umbraPath;                 // every umbra point of the path
    int lastHour = 0;                  // time of the last shadow computed
    int lastMinute = 0;
};

// The day's contact-time run, then the hourly outlines (penumbra only, 50000 heights)
// and the umbra path (umbra only, 1000 heights per minute); no umbra path for a partial
// eclipse.
EclipseMap ComputeEclipseMap(const RunRequest& request);

// The path of the date's eclipse on an engine with its two layers: the window's pole
// to pole, the page's cut to its map, from one computation of the curves across the
// partial zone.
struct DatePath {
    EclipsePath eclipse;
    PathLayer path;
    PathLayer pagePath;
};
DatePath ComputeDatePath(double jdDate, Ephemeris engine);

// Everything the map command computes for a solar eclipse of the date: the classic
// outlines and umbra points, and the path on the engine (computed meanwhile on another
// thread: it needs nothing of the outlines).
struct DateMap {
    EclipseMap map;
    DatePath path;
};
DateMap ComputeDateMap(const RunRequest& request, Ephemeris engine);

// A DateMap started ahead on another thread, by a caller that knows the date before the
// window that shows it exists (the picture commands), with what it was asked for.
struct PendingDateMap {
    RunRequest request;
    Ephemeris engine = Ephemeris::Precise;
    std::future<DateMap> result;
};
PendingDateMap StartDateMap(const RunRequest& request, Ephemeris engine);
// The pending map when it answers this request and engine (waited for), otherwise one
// computed now. The pending one is used up either way.
DateMap TakeDateMap(PendingDateMap& pending, const RunRequest& request, Ephemeris engine);

// Latitudes -60..75 with the sunrise and sunset times (hours UT, at longitude 0, without
// Delta T) of the request's date; NaN where the Sun does not rise or set.
struct LimitCurveSeries {
    std::vector<double> latitudes, rise, set;
};
LimitCurveSeries ComputeLimitCurveSeries(const RunRequest& request);
