// The map command: the whole eclipse of the entered date over the map (the contact
// times, the penumbra's outline at every whole hour with its hour, the umbra's path
// minute by minute) and, in every case, the sunrise and sunset limit curves.

#include "render/limit_curves.h"
#include "render/map_overlay.h"
#include "render/overlay_painter.h"
#include "render/projection.h"
#include "view/eclipse_map.h"
#include "view/kestrova_view.h"
#include "view/texts.h"

#include <QString>

#include <cstddef>

void CKestrovaView::OnMap() {
    // A running animation would wipe the map with its next frame.
    OnStop();
    // The whole map is repainted: every shadow, label and curve drawn before goes.
    SetShadowBoxToMap();
    InvalidateShadowBox();
    ReadEditTexts();
    m_strHour.clear();
    m_strMinute.clear();
    m_strSecond.clear();
    WriteEditTexts();
    m_printResults.penumbraLat.clear();
    m_printResults.penumbraLon.clear();
    m_printResults.umbraLat.clear();
    m_printResults.umbraLon.clear();
    m_printResults.hourLabels.clear();

    if (m_strDay.empty() || m_strMonth.empty() || m_strYear.empty()) {
        ClearContactTimes(); // times of another date do not belong under this map
        ShowMissingDateBox();
    } else {
        ParseInputs();
        if (RefuseBadInput(false)) {
            // Nothing of another date stays on the wiped map or its page.
            ClearContactTimes();
            m_limitLatitudes.clear();
            m_limitFirst.clear();
            m_limitSecond.clear();
            SetShadowBoxToMap();
            return;
        }
        ShowWaitCursor();
        const EclipseMap map = ComputeEclipseMap({m_nDay, m_nMonth, m_nYear, m_nDeltaT});
        ShowArrowCursor();
        if (map.contacts.eclipse) {
            DrawEclipseMap(map);
        } else {
            ClearContactTimes();
            MessageBox(QString::fromStdString(NoEclipseMessage(m_strDay, m_strMonth, m_strYear)),
                       QStringLiteral("EXCLAMATION"), MB_OK | MB_ICONEXCLAMATION);
        }
    }

    // The next snapshot repaints the whole map, taking the overview away.
    SetShadowBoxToMap();
    ComputeLimitCurves();
}

void CKestrovaView::SetShadowBoxToMap() {
    m_nShadowMinX = TruncToInt(5 * m_zoomX);
    m_nShadowMinY = TruncToInt(5 * m_zoomY);
    m_nShadowMaxX = TruncToInt(725 * m_zoomX);
    m_nShadowMaxY = TruncToInt(325 * m_zoomY);
}

void CKestrovaView::DrawEclipseMap(const EclipseMap& map) {
    const ContactTimes& c = map.contacts;
    const std::array<std::string, 4> lines = ContactLines(c);
    DrawContactTimes(lines[0], lines[1], lines[2], lines[3]);

    // Hourly outlines, accumulating; each label goes at the top-left corner of its
    // outline. An outline without points has no corner and gets no label.
    std::vector<ScreenHourLabel> labels;
    for (const HourOutline& outline : map.outlines) {
        PlotShadowSnapshot(outline.outline.lat, outline.outline.lon, {}, {});
        if (!outline.outline.lat.empty()) {
            labels.push_back({static_cast<double>(outline.hour), m_nShadowMinX, m_nShadowMinY});
        }
        m_printResults.penumbraLat.insert(m_printResults.penumbraLat.end(),
                                          outline.outline.lat.begin(), outline.outline.lat.end());
        m_printResults.penumbraLon.insert(m_printResults.penumbraLon.end(),
                                          outline.outline.lon.begin(), outline.outline.lon.end());
    }
    // The umbra path: without penumbra points the box stays that of the outlines.
    PlotShadowSnapshot({}, {}, map.umbraPath.lat, map.umbraPath.lon);
    m_printResults.umbraLat = map.umbraPath.lat;
    m_printResults.umbraLon = map.umbraPath.lon;
    m_nShowHour = map.lastHour;
    m_nShowMinute = map.lastMinute;

    CClientDC dc(this);
    DrawHourLabels(dc, m_zoomX, labels);
    for (const ScreenHourLabel& label : labels) {
        const LabelSpot spot = HourLabelMapSpot(label.x, label.y, m_zoomX);
        const auto position = InverseScreenProjection(spot.x, spot.y, m_zoomX, m_zoomY);
        if (position) {
            m_printResults.hourLabels.push_back(
                {label.hours, TruncToInt(position->lon), TruncToInt(position->lat)});
        }
    }
}

void CKestrovaView::ComputeLimitCurves() {
    ReadEditTexts();
    ParseInputs();
    LimitCurveSeries series = ComputeLimitCurveSeries({m_nDay, m_nMonth, m_nYear, m_nDeltaT});
    m_limitLatitudes = std::move(series.latitudes);
    m_limitFirst = std::move(series.rise);
    m_limitSecond = std::move(series.set);
    PlotLimitCurves();
}

void CKestrovaView::PlotLimitCurves() {
    CClientDC dc(this);
    PlotLimitCurvePoints(dc, m_zoomX, m_zoomY, m_limitLatitudes, m_limitFirst, m_limitSecond,
                         m_plotLat, m_plotLon);
}
