#include "view/kestrova_view.h"

#include "ephemeris/timescales.h"
#include "render/point_info.h"
#include "render/projection.h"
#include "view/input_parse.h"

#include <QString>

CKestrovaView::CKestrovaView(QWidget* parent) : CView(parent) {
    setFocusPolicy(Qt::ClickFocus);
}

CKestrovaView::~CKestrovaView() = default;

bool CKestrovaView::OnCommand(int id) {
    switch (id) {
    case ID_CALCULATE:
        OnCalculate();
        return true;
    case ID_TIME_PLUS:
        OnTimePlus();
        return true;
    case ID_TIME_MINUS:
        OnTimeMinus();
        return true;
    case ID_CONTACT_TIMES:
        OnContactTimes();
        return true;
    case ID_STOP:
        OnStop();
        return true;
    case ID_PLAY:
        OnPlay();
        return true;
    case ID_MAP:
        OnMap();
        return true;
    case ID_PRINT_BUTTON:
        OnPrintButton();
        return true;
    default:
        return false;
    }
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
    m_nDay = ParseInt(m_strDay);
    m_nMonth = ParseInt(m_strMonth);
    m_nYear = ParseInt(m_strYear);
    m_nHour = ParseInt(m_strHour);
    m_nMinute = ParseInt(m_strMinute);
    m_dSecond = ParseReal(m_strSecond);
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

void CKestrovaView::OnCalculate() {
    ReadEditTexts();
    if (m_strDay.empty() || m_strMonth.empty() || m_strYear.empty()) {
        ShowMissingDateBox();
        return;
    }
    ParseInputs();
    ShowWaitCursor();
    RunSnapshot();
    ShowArrowCursor();
}

void CKestrovaView::ShowScene() {
    Invalidate(true);
    UpdateWindow();
}

void CKestrovaView::OnPrintButton() {
    MessageBox(QStringLiteral("This command isn't available"), QStringLiteral("ALERT!"),
               MB_OK | MB_ICONEXCLAMATION);
}

void CKestrovaView::OnRButtonDown(unsigned /*flags*/, CPoint point) {
    MessageBox(QString::fromStdString(ClickPositionText(point.x, point.y)),
               QString::fromLatin1(kAppTitle), MB_OK);
    ShowPointInfo(point.x, point.y);
}

void CKestrovaView::ShowPointInfo(int x, int y) {
    const auto position = InverseScreenProjection(x, y, m_zoomX, m_zoomY);
    if (!position) {
        return; // the window has no area, so the point lies on no map
    }
    MessageBox(QString::fromStdString(PointInfoText(*position)), QStringLiteral("INFORMATION"),
               MB_OK | MB_ICONINFORMATION);
}
