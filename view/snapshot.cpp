// The shadow snapshot: where the Moon's penumbra and umbra lie on the Earth at the
// entered instant, shown over the map in place of the last shadow.

#include "eclipse/outline.h"
#include "ephemeris/timescales.h"
#include "geo/map_view.h"
#include "render/draw_tools.h"
#include "view/kestrova_view.h"

void CKestrovaView::RunSnapshot() {
    const double jd = CalendarToJulianDay(m_nDay, m_nMonth, m_nYear, m_dSecond, m_nMinute, m_nHour);
    ReplaceShadow(m_scene, ShadowAt(jd, m_nDeltaT == 1, 1000, 50000, Ephemeris::Classic));
    ShowScene();
}

void CKestrovaView::OnPaint() {
    CPaintDC dc(this);
    const CRect client = GetClientRect();
    const MapView view = CurrentMapView();
    PaintMapFrame(dc, client.Width(), client.Height(), m_scene, view);
    if (m_cursor) {
        if (const auto at = ViewPosition(view, m_cursor->lat, m_cursor->lon)) {
            DrawKeyboardCursor(dc, *at);
        }
    }
}
