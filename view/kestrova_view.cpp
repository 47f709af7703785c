#include "view/kestrova_view.h"

#include "ephemeris/timescales.h"
#include "geo/map_view.h"
#include "geo/point_info.h"
#include "geo/projection.h"
#include "model/input_parse.h"

#include <QString>

CKestrovaView::CKestrovaView(QWidget* parent) : CView(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

CKestrovaView::~CKestrovaView() = default;

bool CKestrovaView::OnCommand(int id) {
    switch (id) {
    case ID_CALCULATE:
        OnCalculate();
        break;
    case ID_TIME_PLUS:
        OnTimePlus();
        break;
    case ID_TIME_MINUS:
        OnTimeMinus();
        break;
    case ID_CONTACT_TIMES:
        OnContactTimes();
        break;
    case ID_STOP:
        OnStop();
        break;
    case ID_PLAY:
        OnPlay();
        break;
    case ID_MAP:
        OnMap();
        break;
    case ID_PRINT_BUTTON:
        OnPrintButton();
        break;
    default:
        return false;
    }
    emit commandDone(id);
    return true;
}

namespace {

struct FieldBinding {
    int id;
    std::string CKestrovaView::*text;
};

constexpr FieldBinding kFields[] = {
    {IDC_DAY, &CKestrovaView::m_strDay},       {IDC_MONTH, &CKestrovaView::m_strMonth},
    {IDC_YEAR, &CKestrovaView::m_strYear},     {IDC_HOUR, &CKestrovaView::m_strHour},
    {IDC_MINUTE, &CKestrovaView::m_strMinute}, {IDC_SECOND, &CKestrovaView::m_strSecond},
};

} // namespace

void CKestrovaView::ReadEditTexts() {
    for (const FieldBinding& field : kFields) {
        this->*field.text = GetDlgItemText(field.id).toStdString();
    }
}

void CKestrovaView::WriteEditTexts() {
    for (const FieldBinding& field : kFields) {
        SetDlgItemText(field.id, QString::fromStdString(this->*field.text));
    }
}

void CKestrovaView::ParseInputs() {
    const FieldValues v = ParseFieldTexts(CurrentFieldTexts());
    m_nDay = v.day;
    m_nMonth = v.month;
    m_nYear = v.year;
    m_nHour = v.hour;
    m_nMinute = v.minute;
    m_dSecond = v.second;
    m_nDays = ParseInt(m_strDays);
    m_nStepsPerDay = ParseInt(m_strStepsPerDay);
    m_nDeltaT = ParseInt(m_strDeltaT);
}

void CKestrovaView::SplitHours(int& hours, int& minutes, double h) const {
    SplitHoursToMinutes(h, hours, minutes);
}

void CKestrovaView::ShowMissingDateBox() {
    MessageBox(QStringLiteral("You must enter value of day,month and year!"),
               QStringLiteral("ERROR"), MB_OK | MB_ICONEXCLAMATION);
}

FieldTexts CKestrovaView::CurrentFieldTexts() const {
    return {m_strDay, m_strMonth, m_strYear, m_strHour, m_strMinute, m_strSecond};
}

FieldValues CKestrovaView::CurrentFieldValues() const {
    return {m_nDay, m_nMonth, m_nYear, m_nHour, m_nMinute, m_dSecond};
}

bool CKestrovaView::RefuseBadInput(bool withTime) {
    const std::string problem = InputProblemText(CurrentFieldValues(), withTime);
    if (problem.empty()) {
        return false;
    }
    MessageBox(QString::fromStdString(problem), QStringLiteral("ERROR"),
               MB_OK | MB_ICONEXCLAMATION);
    return true;
}

void CKestrovaView::OnCalculate() {
    ReadEditTexts();
    if (DateTextsMissing(CurrentFieldTexts())) {
        ShowMissingDateBox();
        return;
    }
    ParseInputs();
    // A date that does not exist, or a time that is no time of day, is said, not computed.
    if (RefuseBadInput(true)) {
        return;
    }
    // A running animation would wipe the snapshot with its next frame.
    OnStop();
    ShowWaitCursor();
    RunSnapshot();
    ShowArrowCursor();
}

void CKestrovaView::ShowScene() {
    Invalidate(true);
    UpdateWindow();
}

void CKestrovaView::ClearScene() {
    OnStop();
    m_scene = Scene{};
    m_stepTimes.clear();
    m_nCurStep = 0;
    ShowScene();
}

void CKestrovaView::OnDateEdited() {
    if (!m_scene.contactLines.empty()) {
        m_scene.contactLines.clear();
        ShowScene();
    }
    emit dateEdited();
}

void CKestrovaView::OnPrintButton() {
    // The button prints as Ctrl+P does: the print dialog, then the page.
    OnFilePrint();
}

void CKestrovaView::OnRButtonDown(unsigned /*flags*/, CPoint point) {
    // Only points on the map have a latitude and longitude; the panel has none.
    const MapView view = CurrentMapView();
    if (!IsInMapArea(view, point.x, point.y)) {
        return;
    }
    MessageBox(QString::fromStdString(ClickPositionText(point.x, point.y)),
               QString::fromLatin1(kAppTitle), MB_OK);
    ShowPointInfo(point.x, point.y);
    if (const auto position = ViewPlace(view, point.x, point.y)) {
        ShowLocalCircumstancesAt(position->lat, position->lon);
    }
}

void CKestrovaView::ShowPointInfo(int x, int y) {
    const auto position = ViewPlace(CurrentMapView(), x, y);
    if (!position) {
        return; // no map under the point (an empty window, space round the globe)
    }
    MessageBox(QString::fromStdString(PointInfoText(*position)), QStringLiteral("INFORMATION"),
               MB_OK | MB_ICONINFORMATION);
}
