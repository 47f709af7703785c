// The shadow snapshot: where the Moon's penumbra and umbra lie on the Earth at the
// entered instant, shown over the map in place of the last shadow.

#include "eclipse/outline.h"
#include "ephemeris/timescales.h"
#include "view/kestrova_view.h"

void CKestrovaView::RunSnapshot() {
    const double jd = CalendarToJulianDay(m_nDay, m_nMonth, m_nYear, m_dSecond, m_nMinute, m_nHour);
    ReplaceShadow(m_scene, ShadowAt(jd, m_nDeltaT == 1, 1000, 50000, Ephemeris::Classic));
    ShowScene();
}

void CKestrovaView::OnPaint() {
    CPaintDC dc(this);
    const CRect client = GetClientRect();
    PaintStaticPicture(dc, client.Width(), client.Height(), m_zoomX, m_zoomY);
    PaintScene(dc, m_scene, m_zoomX, m_zoomY);
}
