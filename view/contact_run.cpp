// The contact-time run: the whole entered date in one-minute steps, the first and last
// minutes at which the penumbra and the umbra meet the Earth under the map, and the
// animation of the penumbral phase started.

#include "eclipse/contacts.h"
#include "ephemeris/timescales.h"
#include "model/texts.h"
#include "view/kestrova_view.h"

#include <QString>

void CKestrovaView::OnContactTimes() {
    ReadEditTexts();
    if (m_strDay.empty() || m_strMonth.empty() || m_strYear.empty()) {
        ShowMissingDateBox();
        return;
    }
    // A date that does not exist is said, and nothing changes.
    ParseInputs();
    if (RefuseBadInput(false)) {
        return;
    }
    // The run always starts at 0h UT of the date; the time fields are cleared.
    m_strHour.clear();
    m_strMinute.clear();
    m_strSecond.clear();
    WriteEditTexts();
    ParseInputs();
    ShowWaitCursor();
    RunContactTimes();
    ShowArrowCursor();
}

void CKestrovaView::RunContactTimes() {
    const ContactTimes contacts = ContactTimesOfDate(
        CalendarToJulianDay(m_nDay, m_nMonth, m_nYear, 0.0, 0, 0), Ephemeris::Classic);

    if (!contacts.eclipse) {
        // The times of an earlier date do not stay under the map of this one. The
        // animation of that date goes on as it was.
        m_scene.contactLines.clear();
        ShowScene();
        MessageBox(QString::fromStdString(NoEclipseMessage(m_strDay, m_strMonth, m_strYear)),
                   QStringLiteral("EXCLAMATION"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }

    // The shown time is that of the last contact with a time (umbra out, or penumbra
    // out for a partial eclipse).
    const int lastTimed = contacts.umbral ? contacts.lastUmbraStep : contacts.lastPenumbraStep;
    SplitHours(m_nShowHour, m_nShowMinute, JulianDayToHours(ContactStepJD(contacts, lastTimed)));
    const std::array<std::string, 4> lines = ContactLines(contacts);
    m_scene.contactLines.assign(lines.begin(), lines.end());
    ShowScene();

    m_nFirstStep = contacts.firstPenumbraStep;
    m_nLastStep = contacts.lastPenumbraStep;
    m_stepTimes.clear();
    for (int step = 0; step < kContactStepsPerDay; ++step)
        m_stepTimes.push_back(ContactStepJD(contacts, step));
    m_nCurStep = m_nFirstStep;
    m_nStepDay = m_nDay;
    m_nStepMonth = m_nMonth;
    m_nStepYear = m_nYear;
    SetTimer(kAnimationTimerId, kAnimationPeriodMs);
}
