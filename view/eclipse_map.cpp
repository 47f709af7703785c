#include "view/eclipse_map.h"

#include "eclipse/shadow_model.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris/timescales.h"

#include <cstddef>

CShadowModel ShadowAtMinute(const RunRequest& request, int hour, int minute, double umbraSteps,
                            double penumbraSteps) {
    const CEphemeris ephemeris(request.day, request.month, request.year, 0.0, minute, hour,
                               request.days, request.stepsPerDay, request.deltaT, 0.0, 0.0, 0.0);
    CShadowModel model = MakeShadowModel(ephemeris);
    model.run(umbraSteps, penumbraSteps);
    return model;
}

void HourMinuteOfStep(double jd, int& hour, int& minute) {
    double hours = JulianDayToHours(jd);
    if (hours >= 24.0) {
        hours -= 24.0;
    }
    SplitHoursToMinutes(hours, hour, minute);
}

std::vector<int> OutlineHours(int firstPenumbraStep, int lastPenumbraStep, int stepsPerDay) {
    // Step s lies at s / stepsPerDay days, hour h at h / 24: compared in whole numbers.
    std::vector<int> hours;
    for (int hour = 0; hour < 24; ++hour) {
        const long long atHour = static_cast<long long>(hour) * stepsPerDay;
        if (24LL * firstPenumbraStep < atHour && atHour < 24LL * lastPenumbraStep) {
            hours.push_back(hour);
        }
    }
    return hours;
}

EclipseMap ComputeEclipseMap(const RunRequest& request) {
    EclipseMap map;
    const CEphemeris day(request.day, request.month, request.year, 0.0, 0, 0, request.days,
                         kContactStepsPerDay, request.deltaT, 0.0, 0.0, 0.0);
    CShadowModel dayModel = MakeShadowModel(day);
    dayModel.run(kContactSamples, kContactSamples);
    map.contacts = FindContactTimes(dayModel);
    if (!map.contacts.eclipse) {
        return map;
    }
    const ContactTimes& c = map.contacts;

    for (const int hour :
         OutlineHours(c.firstPenumbraStep, c.lastPenumbraStep, kContactStepsPerDay)) {
        CShadowModel outline = ShadowAtMinute(request, hour, 0, 0.0, 50000.0);
        map.outlines.push_back(
            {hour, std::move(outline.m_penumbraLat), std::move(outline.m_penumbraLon)});
        map.lastHour = hour;
        map.lastMinute = 0;
    }

    if (c.umbral) {
        for (int step = c.firstUmbraStep; step <= c.lastUmbraStep; ++step) {
            HourMinuteOfStep(dayModel.m_stepJD[static_cast<std::size_t>(step)], map.lastHour,
                             map.lastMinute);
            const CShadowModel umbra =
                ShadowAtMinute(request, map.lastHour, map.lastMinute, 1000.0, 0.0);
            map.umbraLat.insert(map.umbraLat.end(), umbra.m_umbraLat.begin(),
                                umbra.m_umbraLat.end());
            map.umbraLon.insert(map.umbraLon.end(), umbra.m_umbraLon.begin(),
                                umbra.m_umbraLon.end());
        }
    }
    return map;
}

LimitCurveSeries ComputeLimitCurveSeries(const RunRequest& request) {
    LimitCurveSeries series;
    for (int latitude = -60; latitude <= 75; ++latitude) {
        CEphemeris ephemeris(request.day, request.month, request.year, 0.0, 0, 0, request.days, 1,
                             0, latitude, 0.0, 0.0);
        ephemeris.RiseSet("SUNCE");
        series.latitudes.push_back(latitude);
        series.rise.push_back(ephemeris.m_riseUT);
        series.set.push_back(ephemeris.m_setUT);
    }
    return series;
}
