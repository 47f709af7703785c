// The shadow snapshot: where the Moon's penumbra and umbra lie on the Earth at the
// entered instant, drawn over the map after the previous snapshot is wiped.

#include "eclipse/shadow_model.h"
#include "ephemeris/ephemeris.h"
#include "view/kestrova_view.h"

#include <utility>

void CKestrovaView::RunSnapshot() {
    const CEphemeris ephemeris(m_nDay, m_nMonth, m_nYear, m_dSecond, m_nMinute, m_nHour, m_nDays,
                               m_nStepsPerDay, m_nDeltaT, 0.0, 0.0, 0.0);
    CShadowModel model(ephemeris.m_sunRAHours, ephemeris.m_sunDec, ephemeris.m_moonRAHours,
                       ephemeris.m_moonDec, ephemeris.m_sunDistance, ephemeris.m_moonParallax,
                       ephemeris.m_jdSeries, 0.0, 0.0);
    model.run(1000, 50000);
    InvalidateShadowBox();
    PlotShadowSnapshot(model.m_penumbraLat, model.m_penumbraLon, model.m_umbraLat,
                       model.m_umbraLon);

    // The page prints these points instead of those stored before. The wipe has taken
    // any hour labels of a map command off the window, so they leave the page too.
    m_printResults.penumbraLat = std::move(model.m_penumbraLat);
    m_printResults.penumbraLon = std::move(model.m_penumbraLon);
    m_printResults.umbraLat = std::move(model.m_umbraLat);
    m_printResults.umbraLon = std::move(model.m_umbraLon);
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
