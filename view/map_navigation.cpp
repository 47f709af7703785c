// Zooming, panning and turning the map: the wheel zooms about the point under the pointer,
// a drag with the left button pans (on a globe, turns it), + - and the arrow keys do the
// same from the keyboard, and a click without a drag chooses a place.

#include "geo/map_view.h"
#include "view/kestrova_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kKeyZoom = 1.5;       // + and - zoom by this factor
constexpr double kKeyPanShare = 0.1;   // an arrow key pans a tenth of the area
constexpr double kDragThreshold = 4.0; // pixels a press moves before it is a drag

// The box the last map command's path and outlines span, longitudes continuous across
// the antimeridian when the eclipse crosses it.
std::optional<GeoBox> EclipseBox(const Scene& scene) {
    std::vector<MapPlace> places;
    for (const PathLine& line : scene.path.lines) {
        if (line.kind == PathLineKind::CentralLine || line.kind == PathLineKind::PathLimit ||
            line.kind == PathLineKind::PartialLimit || line.kind == PathLineKind::RiseSetCurve) {
            places.insert(places.end(), line.points.begin(), line.points.end());
        }
    }
    if (places.empty()) {
        return std::nullopt;
    }
    GeoBox box{90.0, 0.0, -90.0, 0.0};
    // The smallest span of longitude that holds every place: the widest gap between
    // sorted longitudes is what the box leaves out.
    std::vector<double> lons;
    for (const MapPlace& p : places) {
        box.south = std::min(box.south, p.lat);
        box.north = std::max(box.north, p.lat);
        lons.push_back(p.lon);
    }
    std::sort(lons.begin(), lons.end());
    double gap = lons.front() + 360.0 - lons.back();
    box.west = lons.front();
    box.east = lons.back();
    for (std::size_t i = 1; i < lons.size(); ++i) {
        if (lons[i] - lons[i - 1] > gap) {
            gap = lons[i] - lons[i - 1];
            box.west = lons[i];
            box.east = lons[i - 1] + 360.0;
        }
    }
    return box;
}

} // namespace

MapView CKestrovaView::CurrentMapView() const {
    MapView view = m_mapView;
    view.zoomX = m_zoomX;
    view.zoomY = m_zoomY;
    return view;
}

void CKestrovaView::SetMapView(const MapView& view) {
    m_mapView = view;
    ShowScene();
}

void CKestrovaView::ZoomMapAbout(double px, double py, double factor) {
    SetMapView(ZoomedAbout(CurrentMapView(), px, py, factor));
}

void CKestrovaView::PanMap(double dx, double dy) {
    SetMapView(Panned(CurrentMapView(), dx, dy));
}

void CKestrovaView::OnFitEclipse() {
    if (const auto box = EclipseBox(m_scene)) {
        SetMapView(FitView(m_zoomX, m_zoomY, *box));
    } else {
        OnDefaultView();
    }
}

void CKestrovaView::OnGlobeView() {
    if (m_scene.path.greatest) {
        SetMapView(
            GlobeView(m_zoomX, m_zoomY, m_scene.path.greatest->lat, m_scene.path.greatest->lon));
        return;
    }
    // No eclipse shown: the globe turns to the place at the map's centre.
    const MapView view = CurrentMapView();
    const auto centre = ViewPlace(view, TruncToInt(view.areaWidth * m_zoomX / 2.0),
                                  TruncToInt(view.areaHeight * m_zoomY / 2.0));
    SetMapView(GlobeView(m_zoomX, m_zoomY, centre ? centre->lat : 0.0, centre ? centre->lon : 0.0));
}

void CKestrovaView::OnDefaultView() {
    SetMapView(DefaultView(m_zoomX, m_zoomY));
}

void CKestrovaView::wheelEvent(QWheelEvent* event) {
    const QPointF at = event->position();
    const MapView view = CurrentMapView();
    if (!IsInMapArea(view, TruncToInt(at.x()), TruncToInt(at.y()))) {
        event->ignore();
        return;
    }
    // One notch (120) zooms by a quarter; touchpads send smaller steps.
    const double notches = event->angleDelta().y() / 120.0;
    if (notches != 0.0) {
        ZoomMapAbout(at.x(), at.y(), std::pow(1.25, notches));
    }
    event->accept();
}

void CKestrovaView::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        const QPointF at = event->position();
        if (IsInMapArea(CurrentMapView(), TruncToInt(at.x()), TruncToInt(at.y()))) {
            setFocus(Qt::MouseFocusReason);
            m_pressAt = at;
            m_lastDragAt = at;
            m_bDragging = false;
            event->accept();
            return;
        }
    }
    CView::mousePressEvent(event);
}

void CKestrovaView::mouseMoveEvent(QMouseEvent* event) {
    if (!m_pressAt || !(event->buttons() & Qt::LeftButton)) {
        CView::mouseMoveEvent(event);
        return;
    }
    const QPointF at = event->position();
    if (!m_bDragging &&
        std::hypot(at.x() - m_pressAt->x(), at.y() - m_pressAt->y()) < kDragThreshold) {
        return;
    }
    m_bDragging = true;
    PanMap(at.x() - m_lastDragAt.x(), at.y() - m_lastDragAt.y());
    m_lastDragAt = at;
}

void CKestrovaView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_pressAt) {
        CView::mouseReleaseEvent(event);
        return;
    }
    const bool click = !m_bDragging;
    const QPointF at = *m_pressAt;
    m_pressAt.reset();
    m_bDragging = false;
    if (click) {
        if (const auto place =
                ViewPlace(CurrentMapView(), TruncToInt(at.x()), TruncToInt(at.y()))) {
            emit placeChosen(place->lat, place->lon);
        }
    }
}

void CKestrovaView::ToggleKeyboardCursor() {
    setFocus(Qt::ShortcutFocusReason);
    if (m_cursor) {
        m_cursor.reset();
        ShowScene();
    } else {
        MoveKeyboardCursor(0.0, 0.0);
    }
}

void CKestrovaView::MoveKeyboardCursor(double dx, double dy) {
    const MapView view = CurrentMapView();
    const double width = view.areaWidth * m_zoomX;
    const double height = view.areaHeight * m_zoomY;
    std::optional<ScreenPoint> at =
        m_cursor ? ViewPosition(view, m_cursor->lat, m_cursor->lon) : std::nullopt;
    // A cursor the view no longer shows starts again at the centre.
    if (!at || at->x < 0.0 || at->y < 0.0 || at->x >= width || at->y >= height)
        at = ScreenPoint{width / 2.0, height / 2.0};
    const double x = std::clamp(at->x + dx, 0.0, std::max(0.0, width - 1.0));
    const double y = std::clamp(at->y + dy, 0.0, std::max(0.0, height - 1.0));
    // Off the Earth (round the globe) the cursor stays where it was.
    if (const auto place = ViewPlace(view, TruncToInt(x), TruncToInt(y)))
        m_cursor = MapPlace{place->lat, place->lon};
    else if (!m_cursor)
        return;
    ShowScene();
}

void CKestrovaView::keyPressEvent(QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const double cursorStep = event->modifiers() & Qt::ControlModifier ? 1.0 : 8.0;
    if (shift) {
        switch (event->key()) {
        case Qt::Key_Left:
            MoveKeyboardCursor(-cursorStep, 0.0);
            event->accept();
            return;
        case Qt::Key_Right:
            MoveKeyboardCursor(cursorStep, 0.0);
            event->accept();
            return;
        case Qt::Key_Up:
            MoveKeyboardCursor(0.0, -cursorStep);
            event->accept();
            return;
        case Qt::Key_Down:
            MoveKeyboardCursor(0.0, cursorStep);
            event->accept();
            return;
        default:
            break;
        }
    }
    if (m_cursor && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit placeChosen(m_cursor->lat, m_cursor->lon);
        event->accept();
        return;
    }
    if (m_cursor && event->key() == Qt::Key_Escape) {
        m_cursor.reset();
        ShowScene();
        event->accept();
        return;
    }
    const MapView view = CurrentMapView();
    const double cx = view.areaWidth * m_zoomX / 2.0;
    const double cy = view.areaHeight * m_zoomY / 2.0;
    const double stepX = kKeyPanShare * view.areaWidth * m_zoomX;
    const double stepY = kKeyPanShare * view.areaHeight * m_zoomY;
    switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        ZoomMapAbout(cx, cy, kKeyZoom);
        break;
    case Qt::Key_Minus:
        ZoomMapAbout(cx, cy, 1.0 / kKeyZoom);
        break;
    case Qt::Key_Left:
        PanMap(stepX, 0.0);
        break;
    case Qt::Key_Right:
        PanMap(-stepX, 0.0);
        break;
    case Qt::Key_Up:
        PanMap(0.0, stepY);
        break;
    case Qt::Key_Down:
        PanMap(0.0, -stepY);
        break;
    default:
        CView::keyPressEvent(event);
        return;
    }
    event->accept();
}
