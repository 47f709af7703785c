// The control panel: six input fields and eight bitmap buttons laid out over the design
// space of 748 x 539 and scaled with the window.

#include "geo/projection.h"
#include "view/kestrova_view.h"

#include <algorithm>

namespace {

struct FieldLayout {
    int id;
    CRichEdit* CKestrovaView::*member;
    int left, top, right, bottom;
    int limit;
    const char* tip;
};

constexpr FieldLayout kFieldLayouts[] = {
    {IDC_DAY, &CKestrovaView::m_pEditDay, 120, 440, 145, 462, 2, "Day of the month (UT), 1 to 31"},
    {IDC_MONTH, &CKestrovaView::m_pEditMonth, 150, 440, 175, 462, 2, "Month, 1 to 12"},
    {IDC_YEAR, &CKestrovaView::m_pEditYear, 180, 440, 220, 462, 5,
     "Year, -1999 to 9999 (0 is 1 BC; the Julian calendar before 1582 October 15)"},
    {IDC_HOUR, &CKestrovaView::m_pEditHour, 120, 475, 145, 497, 2, "Hour (UT), 0 to 23"},
    {IDC_MINUTE, &CKestrovaView::m_pEditMinute, 150, 475, 175, 497, 2, "Minute, 0 to 59"},
    {IDC_SECOND, &CKestrovaView::m_pEditSecond, 180, 475, 220, 497, 4, "Second, 0 to below 60"},
};

struct ButtonLayout {
    const char* caption;
    int id;
    CBitmapButton* CKestrovaView::*member;
    int left, top, right, bottom;
    int normalBitmap, pressedBitmap;
    const char* tip;
};

constexpr ButtonLayout kButtonLayouts[] = {
    {"print", ID_PRINT_BUTTON, &CKestrovaView::m_pBtnPrint, 240, 440, 340, 465, 146, 147,
     "Print the map as it is shown"},
    {"izracunaj", ID_CALCULATE, &CKestrovaView::m_pBtnCompute, 240, 475, 340, 500, 130, 131,
     "Show the Moon's shadow at the date and time (Enter in a field does the same)"},
    {"plus", ID_TIME_PLUS, &CKestrovaView::m_pBtnPlus, 223, 475, 235, 487, 135, 132,
     "Ten minutes later"},
    {"minus", ID_TIME_MINUS, &CKestrovaView::m_pBtnMinus, 223, 488, 235, 500, 133, 134,
     "Ten minutes earlier"},
    {"map", ID_MAP, &CKestrovaView::m_pBtnMap, 480, 440, 580, 465, 145, 144,
     "Map of the date's eclipse: hourly outlines, the path and its limits"},
    {"generate", ID_CONTACT_TIMES, &CKestrovaView::m_pBtnGenerate, 480, 475, 580, 500, 137, 136,
     "Contact times of the date's eclipse, then the animation of its shadow"},
    {"stop", ID_STOP, &CKestrovaView::m_pBtnStop, 620, 475, 645, 500, 141, 140,
     "Stop the animation"},
    {"play", ID_PLAY, &CKestrovaView::m_pBtnPlay, 590, 475, 615, 500, 143, 142,
     "Play the animation again (its speed: Eclipse > Animation speed)"},
};

constexpr COLORREF kFieldBackground = RGB(255, 255, 255);
constexpr COLORREF kFieldText = RGB(0, 0, 0);

} // namespace

CRect CKestrovaView::ScaleRect(int left, int top, int right, int bottom) const {
    return {TruncToInt(left * m_zoomX), TruncToInt(top * m_zoomY), TruncToInt(right * m_zoomX),
            TruncToInt(bottom * m_zoomY)};
}

LogicalFont CKestrovaView::PanelFont() const {
    return LogicalFont{TruncToInt(15 * m_zoomY)};
}

void CKestrovaView::CreateEditFields() {
    const LogicalFont font = PanelFont();
    for (const FieldLayout& layout : kFieldLayouts) {
        auto* edit = new CRichEdit(this, layout.id,
                                   ScaleRect(layout.left, layout.top, layout.right, layout.bottom));
        edit->SetDefaultCharFormat(kFieldText, true, true);
        edit->SetFont(font);
        edit->SetBackgroundColor(kFieldBackground);
        edit->LimitText(layout.limit);
        edit->setToolTip(QString::fromUtf8(layout.tip));
        // Enter in any field runs the calculate command.
        connect(edit, &QLineEdit::returnPressed, this, [this] { SendCommand(ID_CALCULATE); });
        if (layout.id == IDC_DAY || layout.id == IDC_MONTH || layout.id == IDC_YEAR)
            connect(edit, &QLineEdit::textEdited, this, [this] { OnDateEdited(); });
        this->*layout.member = edit;
    }
}

void CKestrovaView::CreateButtons() {
    for (const ButtonLayout& layout : kButtonLayouts) {
        const CRect r = ScaleRect(layout.left, layout.top, layout.right, layout.bottom);
        auto* button =
            new CBitmapButton(this, QString::fromLatin1(layout.caption), layout.id, r.left, r.top);
        button->LoadBitmaps(layout.normalBitmap, layout.pressedBitmap,
                            QSize(layout.right - layout.left, layout.bottom - layout.top));
        button->setToolTip(QString::fromUtf8(layout.tip));
        this->*layout.member = button;
    }
    // Tab goes in the order of the screen: the upper row from the left (day, month,
    // year, print, map), then the lower one (hour, minute, second, plus, minus,
    // calculate, generate, play, stop).
    const QWidget* order[] = {m_pEditDay, m_pEditMonth, m_pEditYear,   m_pBtnPrint,
                              m_pBtnMap,  m_pEditHour,  m_pEditMinute, m_pEditSecond,
                              m_pBtnPlus, m_pBtnMinus,  m_pBtnCompute, m_pBtnGenerate,
                              m_pBtnPlay, m_pBtnStop};
    for (std::size_t i = 1; i < std::size(order); ++i) {
        setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
    }
}

namespace {

// Below the design size the scaled design would put the buttons, which keep their
// bitmaps' size, over each other: the panel is then laid out anew in two rows under the
// map, the fields scaled by the smaller factor (never below kCompactFieldScale) and the
// buttons beside them in the design's columns (plus and minus, print over calculate, map
// over generate, play and stop), moved left and up as far as the window needs.
constexpr double kCompactFieldScale = 0.7;
constexpr int kCompactGap = 3;    // pixels between two controls of a row
constexpr int kCompactRowGap = 3; // pixels between the rows

bool IsCompact(double zx, double zy) {
    return zx < 1.0 || zy < 1.0;
}

double CompactScale(double zx, double zy) {
    return std::clamp(std::min(zx, zy), kCompactFieldScale, 1.0);
}

} // namespace

void CKestrovaView::LayoutControls() {
    if (IsCompact(m_zoomX, m_zoomY)) {
        LayoutCompactControls();
        return;
    }
    const LogicalFont font = PanelFont();
    for (const FieldLayout& layout : kFieldLayouts) {
        CRichEdit* edit = this->*layout.member;
        edit->MoveWindow(ScaleRect(layout.left, layout.top, layout.right, layout.bottom));
        edit->SetFont(font);
    }
    for (const ButtonLayout& layout : kButtonLayouts) {
        const CRect r = ScaleRect(layout.left, layout.top, layout.right, layout.bottom);
        (this->*layout.member)->MoveTo(r.left, r.top);
    }
}

void CKestrovaView::LayoutCompactControls() {
    const double u = CompactScale(m_zoomX, m_zoomY);
    const LogicalFont font{TruncToInt(15 * u)};
    const CRect client = GetClientRect();
    auto size = [](const CBitmapButton* b) { return b->size(); };
    const int fieldsWidth = TruncToInt(100 * u); // the design's 120..220
    const int plusWidth = std::max(size(m_pBtnPlus).width(), size(m_pBtnMinus).width());
    const int firstWide = std::max(size(m_pBtnPrint).width(), size(m_pBtnCompute).width());
    const int secondWide = std::max(size(m_pBtnMap).width(), size(m_pBtnGenerate).width());
    const int playStop = size(m_pBtnPlay).width() + kCompactGap + size(m_pBtnStop).width();
    const int total = fieldsWidth + plusWidth + firstWide + secondWide + playStop + 4 * kCompactGap;
    const int rowHeight = std::max({TruncToInt(22 * u), size(m_pBtnPrint).height(),
                                    size(m_pBtnPlus).height() + 1 + size(m_pBtnMinus).height()});
    const int x0 = std::max(0, std::min(TruncToInt(120 * m_zoomX), client.Width() - total));
    const int y0 = std::max(
        0, std::min(TruncToInt(440 * m_zoomY), client.Height() - 2 * rowHeight - kCompactRowGap));
    // The lower row where the design has it when the window has room for it there.
    const int y1 = std::max(y0 + rowHeight + kCompactRowGap,
                            std::min(TruncToInt(475 * m_zoomY), client.Height() - rowHeight));
    // The fields keep the design's proportions inside their column.
    for (const FieldLayout& layout : kFieldLayouts) {
        const int top = layout.top < 470 ? y0 : y1;
        const int left = x0 + TruncToInt((layout.left - 120) * u);
        const int right = x0 + TruncToInt((layout.right - 120) * u);
        CRichEdit* edit = this->*layout.member;
        edit->MoveWindow(CRect(left, top, right, top + TruncToInt(22 * u)));
        edit->SetFont(font);
    }
    int x = x0 + fieldsWidth + kCompactGap;
    m_pBtnPlus->MoveTo(x, y1);
    m_pBtnMinus->MoveTo(x, y1 + size(m_pBtnPlus).height() + 1);
    x += plusWidth + kCompactGap;
    m_pBtnPrint->MoveTo(x, y0);
    m_pBtnCompute->MoveTo(x, y1);
    x += firstWide + kCompactGap;
    m_pBtnMap->MoveTo(x, y0);
    m_pBtnGenerate->MoveTo(x, y1);
    x += secondWide + kCompactGap;
    m_pBtnPlay->MoveTo(x, y1);
    m_pBtnStop->MoveTo(x + size(m_pBtnPlay).width() + kCompactGap, y1);
}

void CKestrovaView::OnInitialUpdate() {
    // A repeated initial update (a new document) keeps the one set of controls.
    if (m_bControlsCreated) {
        return;
    }
    CreateEditFields();
    CreateButtons();
    m_strDays = "1";
    m_strStepsPerDay = "1";
    m_strDeltaT = "1";
    WriteEditTexts();
    m_bControlsCreated = 1;
    if (IsCompact(m_zoomX, m_zoomY)) {
        LayoutControls();
    }
    // The view always fits its window: no scroll sizes to set.
    emit controlsCreated();
}

void CKestrovaView::OnSize(unsigned type, int cx, int cy) {
    CView::OnSize(type, cx, cy);
    m_zoomX = static_cast<double>(cx) / m_nDesignWidth;
    m_zoomY = static_cast<double>(cy) / m_nDesignHeight;
    if (!m_bControlsCreated) {
        return;
    }
    // The fields move and take the new font in place, so text typed since the last
    // command survives a resize.
    LayoutControls();
}
