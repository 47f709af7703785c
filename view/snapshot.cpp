// The shadow snapshot: where the Moon's penumbra and umbra lie on the Earth at the
// entered instant, drawn over the map after the previous snapshot is wiped.

#include "eclipse/outline.h"
#include "ephemeris/timescales.h"
#include "view/kestrova_view.h"

#include <utility>

void CKestrovaView::RunSnapshot() {
    const double jd = CalendarToJulianDay(m_nDay, m_nMonth, m_nYear, m_dSecond, m_nMinute, m_nHour);
    ShadowSnapshot shadow = ShadowAt(jd, m_nDeltaT == 1, 1000, 50000);
    InvalidateShadowBox();
    PlotShadowSnapshot(shadow.penumbra.lat, shadow.penumbra.lon, shadow.umbra.lat,
                       shadow.umbra.lon);

    // The page prints these points instead of those stored before. The wipe has taken
    // any hour labels of a map command off the window, so they leave the page too.
    m_printResults.penumbraLat = std::move(shadow.penumbra.lat);
    m_printResults.penumbraLon = std::move(shadow.penumbra.lon);
    m_printResults.umbraLat = std::move(shadow.umbra.lat);
    m_printResults.umbraLon = std::move(shadow.umbra.lon);
    m_printResults.hourLabels.clear();
}

void CKestrovaView::InvalidateShadowBox() {
    const CRect box{m_nShadowMinX - 10, m_nShadowMinY - 10, m_nShadowMaxX + 10, m_nShadowMaxY + 10};
    InvalidateRect(&box, true);
    UpdateWindow();
}

void CKestrovaView::PlotShadowSnapshot(std::vector<double> penumbraLat,
                                       std::vector<double> penumbraLon,
                                       std::vector<double> umbraLat, std::vector<double> umbraLon) {
    CClientDC dc(this);
    ShadowBox box{m_nShadowMinX, m_nShadowMinY, m_nShadowMaxX, m_nShadowMaxY};
    PlotShadowPoints(dc, m_zoomX, m_zoomY, penumbraLat, penumbraLon, umbraLat, umbraLon, box,
                     m_plotLat, m_plotLon);
    m_nShadowMinX = box.minX;
    m_nShadowMinY = box.minY;
    m_nShadowMaxX = box.maxX;
    m_nShadowMaxY = box.maxY;
}

void CKestrovaView::OnPaint() {
    CPaintDC dc(this);
    const CRect client = GetClientRect();
    PaintStaticPicture(dc, client.Width(), client.Height(), m_zoomX, m_zoomY);
}
