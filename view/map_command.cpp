// The map command: the whole eclipse of the entered date over a clean map (the contact
// times, the penumbra's outline at every whole hour with its hour, the umbra's path
// minute by minute) and, in every case, the sunrise and sunset limit curves.

#include "eclipse/lunar.h"
#include "geo/projection.h"
#include "model/eclipse_map.h"
#include "model/lunar_display.h"
#include "model/path_layer.h"
#include "model/texts.h"
#include "view/kestrova_view.h"

#include <QString>

#include <utility>

void CKestrovaView::OnMap() {
    // A running animation would wipe the map with its next frame.
    OnStop();
    ReadEditTexts();
    m_strHour.clear();
    m_strMinute.clear();
    m_strSecond.clear();
    WriteEditTexts();
    ParseInputs();
    const RunRequest request{m_nDay, m_nMonth, m_nYear, m_nDeltaT};

    // Every shadow, label, curve and contact line shown before goes; the limit curves
    // of the entered date are drawn in every case.
    m_scene = Scene{};
    const bool dateEntered = !DateTextsMissing(CurrentFieldTexts());
    // A date that does not exist is said; nothing is computed for it.
    if (dateEntered && !InputProblemText(CurrentFieldValues(), false).empty()) {
        ShowScene();
        RefuseBadInput(false);
        return;
    }
    bool eclipse = false;
    if (dateEntered) {
        ShowWaitCursor();
        auto [map, datePath] = TakeDateMap(m_pendingMap, request, m_engine);
        ShowArrowCursor();
        eclipse = map.contacts.eclipse;
        if (eclipse) {
            const std::array<std::string, 4> lines = ContactLines(map.contacts);
            m_scene.contactLines.assign(lines.begin(), lines.end());
            m_scene.hourOutlines = std::move(map.outlines);
            m_scene.umbraPath = std::move(map.umbraPath);
            m_scene.eclipse = std::move(datePath.eclipse);
            m_scene.path = std::move(datePath.path);
            m_scene.pagePath = std::move(datePath.pagePath);
            m_nShowHour = map.lastHour;
            m_nShowMinute = map.lastMinute;
        }
    }
    // Without a solar eclipse, the lunar eclipse of the date: where the Moon is up at
    // each contact, and its track through the shadow. The sunrise and sunset curves
    // belong to solar eclipses and are left out.
    bool lunar = false;
    if (dateEntered && !eclipse) {
        ShowWaitCursor();
        m_scene.lunar = LunarEclipseOnDate(RequestStartJD(request), Ephemeris::Precise);
        ShowArrowCursor();
        lunar = m_scene.lunar.has_value();
        if (lunar) {
            const std::array<std::string, 4> lines = LunarContactLines(*m_scene.lunar);
            m_scene.contactLines.assign(lines.begin(), lines.end());
            m_scene.path = MakeLunarPathLayer(*m_scene.lunar, -90.0, 90.0);
            m_scene.pagePath = MakeLunarPathLayer(*m_scene.lunar, projection::kSouthLimit,
                                                  projection::kNorthLimit);
            m_scene.lunarDiagram = MakeLunarDiagram(*m_scene.lunar);
        }
    }
    if (!lunar)
        m_scene.limitCurves = ComputeLimitCurveSeries(request);
    ShowScene();

    if (!dateEntered) {
        ShowMissingDateBox();
    } else if (!eclipse && !lunar) {
        MessageBox(QString::fromStdString(NoEclipseMessage(m_strDay, m_strMonth, m_strYear)),
                   QStringLiteral("EXCLAMATION"), MB_OK | MB_ICONEXCLAMATION);
    }
    emit mapShown();
}
