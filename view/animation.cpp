// Time stepping and the animation: "plus" and "minus" move the time fields by ten
// minutes and compute the snapshot there; each tick of the animation timer draws the
// next minute of the penumbral phase found by the last contact-time run.

#include "eclipse/outline.h"
#include "ephemeris/timescales.h"
#include "model/eclipse_map.h"
#include "model/input_parse.h"
#include "view/kestrova_view.h"

#include <QString>

#include <algorithm>
#include <cstddef>
#include <string>

void CKestrovaView::OnTimePlus() {
    ReadEditTexts();
    // The fields hold two characters, so these sums cannot overflow.
    int hour = ParseInt(m_strHour);
    int minute = ParseInt(m_strMinute);
    if (minute < 50) {
        minute += 10;
    } else {
        minute -= 50;
        hour = hour < 23 ? hour + 1 : hour - 23;
    }
    m_strMinute = std::to_string(minute);
    m_strHour = std::to_string(hour);
    WriteEditTexts();
    OnCalculate();
}

void CKestrovaView::OnTimeMinus() {
    ReadEditTexts();
    int hour = ParseInt(m_strHour);
    int minute = ParseInt(m_strMinute);
    if (minute >= 10) {
        minute -= 10;
    } else {
        minute += 50;
        hour -= 1;
        if (hour < 0) {
            hour += 24;
        }
    }
    m_strMinute = std::to_string(minute);
    m_strHour = std::to_string(hour);
    WriteEditTexts();
    OnCalculate();
}

void CKestrovaView::OnStop() {
    KillTimer(kAnimationTimerId);
    m_bAnimating = false;
}

void CKestrovaView::SetAnimationSpeed(int minutesPerSecond) {
    m_animationPeriodMs = 1000 / std::clamp(minutesPerSecond, 1, 1000);
    if (m_bAnimating)
        SetTimer(kAnimationTimerId, m_animationPeriodMs);
}

void CKestrovaView::OnPlay() {
    // The animation replays the last contact-time run; a date typed since that does
    // not exist is said rather than passed over.
    ReadEditTexts();
    if (!DateTextsMissing(CurrentFieldTexts())) {
        ParseInputs();
        if (RefuseBadInput(false)) {
            return;
        }
    }
    SetTimer(kAnimationTimerId, m_animationPeriodMs);
    m_bAnimating = true;
}

void CKestrovaView::OnTimer(int /*id*/) {
    // Past the list ("play" before any contact-time run, or again after its end) there
    // is no frame to show.
    if (m_nCurStep < 0 || static_cast<std::size_t>(m_nCurStep) >= m_stepTimes.size()) {
        OnStop();
        return;
    }
    ShowStepTime(m_stepTimes[static_cast<std::size_t>(m_nCurStep)]);
    // Only the time fields change: a date typed meanwhile stays in its field.
    m_strHour = std::to_string(m_nShowHour);
    m_strMinute = std::to_string(m_nShowMinute);
    SetDlgItemText(IDC_HOUR, QString::fromStdString(m_strHour));
    SetDlgItemText(IDC_MINUTE, QString::fromStdString(m_strMinute));

    const double jd =
        CalendarToJulianDay(m_nStepDay, m_nStepMonth, m_nStepYear, 0.0, m_nShowMinute, m_nShowHour);
    ReplaceShadow(m_scene, ShadowAt(jd, m_nDeltaT == 1, 1000, 50000, Ephemeris::Classic));
    ShowScene();

    ++m_nCurStep;
    if (m_nCurStep > m_nLastStep) {
        OnStop();
    }
}

void CKestrovaView::ShowStepTime(double jd) {
    HourMinuteOfStep(jd, m_nShowHour, m_nShowMinute);
}
