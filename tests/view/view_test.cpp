#include "model/input_parse.h"
#include "view/kestrova_view.h"

#include "geo/projection.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPrinter>

#include "pixel_count.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using test_pixels::CountColour;
using test_pixels::WindowPicture;

QRgb Rgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Sends the keys of text to a widget as a user typing would.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

QRect Geometry(const CRect& r) {
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

class ViewTest : public testing::Test {
protected:
    void SetUp() override { Open(748, 539); }

    void Open(int w, int h) {
        view = std::make_unique<CKestrovaView>();
        view->SetMessageBoxSink(&boxes);
        view->resize(w, h);
        view->show();
        view->OnInitialUpdate();
    }

    void TypeDateAndTime(const char* d, const char* m, const char* y, const char* hh,
                         const char* mm, const char* ss) {
        Type(view->m_pEditDay, d);
        Type(view->m_pEditMonth, m);
        Type(view->m_pEditYear, y);
        Type(view->m_pEditHour, hh);
        Type(view->m_pEditMinute, mm);
        Type(view->m_pEditSecond, ss);
    }

    void RightClick(int x, int y) {
        QMouseEvent event(QEvent::MouseButtonPress, QPointF(x, y), view->mapToGlobal(QPointF(x, y)),
                          Qt::RightButton, Qt::RightButton, Qt::NoModifier);
        QApplication::sendEvent(view.get(), &event);
    }

    CMessageRecorder boxes;
    std::unique_ptr<CKestrovaView> view;
};

} // namespace

TEST(InputParsing, FollowsAtoiAndAtof) {
    EXPECT_EQ(ParseInt("7x"), 7);
    EXPECT_EQ(ParseInt("x"), 0);
    EXPECT_EQ(ParseInt(""), 0);
    EXPECT_EQ(ParseInt("  -12"), -12);
    EXPECT_EQ(ParseInt("+5"), 5);
    EXPECT_EQ(ParseInt("99999999999"), 2147483647);
    EXPECT_DOUBLE_EQ(ParseReal("30.5"), 30.5);
    EXPECT_DOUBLE_EQ(ParseReal(" 1.5e1s"), 15.0);
    EXPECT_DOUBLE_EQ(ParseReal(".5"), 0.5);
    EXPECT_DOUBLE_EQ(ParseReal("-0.25"), -0.25);
    EXPECT_DOUBLE_EQ(ParseReal("abc"), 0.0);
    // Not numbers a user means: never a NaN or an infinity into the computation.
    EXPECT_DOUBLE_EQ(ParseReal("nan"), 0.0);
    EXPECT_DOUBLE_EQ(ParseReal("inf"), 0.0);
    EXPECT_DOUBLE_EQ(ParseReal("1e999"), 0.0);
}

TEST_F(ViewTest, InitialUpdateSetsTheRunParametersAndEmptyFields) {
    EXPECT_EQ(view->m_strDays, "1");
    EXPECT_EQ(view->m_strStepsPerDay, "1");
    EXPECT_EQ(view->m_strDeltaT, "1");
    EXPECT_EQ(view->m_bControlsCreated, 1);
    EXPECT_EQ(view->GetDlgItemText(IDC_DAY), "");
    // A second initial update keeps the one set of controls.
    view->OnInitialUpdate();
    EXPECT_EQ(view->findChildren<CRichEdit*>().size(), 6);
    EXPECT_EQ(view->findChildren<CBitmapButton*>().size(), 8);
}

TEST_F(ViewTest, LayoutAtDesignSize) {
    EXPECT_DOUBLE_EQ(view->m_zoomX, 1.0);
    EXPECT_DOUBLE_EQ(view->m_zoomY, 1.0);
    EXPECT_EQ(view->m_pEditDay->geometry(), Geometry({120, 440, 145, 462}));
    EXPECT_EQ(view->m_pEditSecond->geometry(), Geometry({180, 475, 220, 497}));
    EXPECT_EQ(view->m_pBtnCompute->geometry(), QRect(240, 475, 100, 25));
    EXPECT_EQ(view->m_pBtnPlus->geometry(), QRect(223, 475, 12, 12));
    EXPECT_EQ(view->m_pBtnStop->geometry(), QRect(620, 475, 25, 25));
}

TEST_F(ViewTest, LayoutAtDoubleWidthScalesPositionsButNotButtonSizes) {
    view->resize(1496, 539);
    EXPECT_DOUBLE_EQ(view->m_zoomX, 2.0);
    EXPECT_DOUBLE_EQ(view->m_zoomY, 1.0);
    EXPECT_EQ(view->m_pEditDay->geometry(), Geometry({240, 440, 290, 462}));
    EXPECT_EQ(view->m_pBtnCompute->geometry(), QRect(480, 475, 100, 25));
    EXPECT_EQ(view->m_pBtnPlay->geometry(), QRect(1180, 475, 25, 25));
    // The surface follows the window, and the map is repainted at the new scale.
    EXPECT_EQ(WindowPicture(*view).size(), QSize(1496, 539));
    EXPECT_EQ(WindowPicture(*view).pixel(1185, 400), Rgb(map_colours::kUmbra));
}

TEST_F(ViewTest, ResizeKeepsTextTypedSinceTheLastCommand) {
    Type(view->m_pEditDay, "29");
    Type(view->m_pEditSecond, "30.5");
    view->resize(900, 600);
    view->resize(748, 539);
    EXPECT_EQ(view->GetDlgItemText(IDC_DAY), "29");
    EXPECT_EQ(view->GetDlgItemText(IDC_SECOND), "30.5");
    // The view's strings were not touched: nothing has read the fields yet.
    EXPECT_EQ(view->m_strDay, "");
}

TEST_F(ViewTest, FieldsHoldAtMostTheirCharacters) {
    // Five characters for the year: -1999 fits.
    Type(view->m_pEditYear, "-19990");
    Type(view->m_pEditSecond, "30.25");
    Type(view->m_pEditMinute, "123");
    EXPECT_EQ(view->GetDlgItemText(IDC_YEAR), "-1999");
    EXPECT_EQ(view->GetDlgItemText(IDC_SECOND), "30.2");
    EXPECT_EQ(view->GetDlgItemText(IDC_MINUTE), "12");
}

TEST_F(ViewTest, MissingDayShowsTheErrorBoxAndChangesNothingElse) {
    TypeDateAndTime("", "3", "2006", "10", "11", "0");
    const QImage before = WindowPicture(*view).copy();
    // Neither the snapshot nor the contact-time run starts without a whole date.
    for (CBitmapButton* button : {view->m_pBtnCompute, view->m_pBtnGenerate}) {
        boxes.m_calls.clear();
        button->click();
        ASSERT_EQ(boxes.m_calls.size(), 1u);
        EXPECT_EQ(boxes.m_calls[0].text, "You must enter value of day,month and year!");
        EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
        EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);
        EXPECT_FALSE(view->IsWaitCursorShown());
        EXPECT_EQ(view->GetDlgItemText(IDC_HOUR), "10");
        EXPECT_EQ(view->GetDlgItemText(IDC_MINUTE), "11");
        EXPECT_EQ(view->GetDlgItemText(IDC_SECOND), "0");
        EXPECT_FALSE(view->IsTimerRunning(kAnimationTimerId));
        EXPECT_EQ(WindowPicture(*view), before);
    }
}

TEST_F(ViewTest, PrintButtonOpensThePrintDialogAsCtrlPDoes) {
    int dialogs = 0;
    view->SetPrintDialog([&](QPrinter&) {
        ++dialogs;
        return false; // cancelled
    });
    view->m_pBtnPrint->click();
    EXPECT_EQ(dialogs, 1);
    EXPECT_TRUE(boxes.m_calls.empty());
}

TEST_F(ViewTest, EnterInAnyFieldCalculates) {
    TypeDateAndTime("29", "3", "2006", "10", "11", "0");
    for (CRichEdit* field : {view->m_pEditDay, view->m_pEditSecond}) {
        view->m_nDay = 0;
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(field, &enter);
        EXPECT_EQ(view->m_nDay, 29) << "Enter in the field with id " << ControlId(field);
    }
    EXPECT_TRUE(boxes.m_calls.empty());
}

TEST_F(ViewTest, TabGoesInTheOrderOfTheScreen) {
    std::vector<int> ids;
    const QWidget* w = view->m_pEditDay;
    for (int i = 0; i < 14; ++i) {
        ids.push_back(ControlId(w));
        EXPECT_EQ(w->focusPolicy() & Qt::TabFocus, Qt::TabFocus) << ControlId(w);
        w = w->nextInFocusChain();
    }
    EXPECT_EQ(ids, (std::vector<int>{IDC_DAY, IDC_MONTH, IDC_YEAR, ID_PRINT_BUTTON, ID_MAP,
                                     IDC_HOUR, IDC_MINUTE, IDC_SECOND, ID_TIME_PLUS, ID_TIME_MINUS,
                                     ID_CALCULATE, ID_CONTACT_TIMES, ID_PLAY, ID_STOP}));
}

TEST_F(ViewTest, SpaceOnAFocusedButtonPressesIt) {
    TypeDateAndTime("29", "3", "2006", "10", "11", "0");
    view->m_nDay = 0;
    view->m_pBtnCompute->setFocus();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(view->m_pBtnCompute, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(view->m_pBtnCompute, &release);
    EXPECT_EQ(view->m_nDay, 29);
}

TEST_F(ViewTest, RightClickShowsThePositionThenLatitudeAndLongitude) {
    RightClick(100, 50);
    ASSERT_EQ(boxes.m_calls.size(), 2u);
    EXPECT_EQ(boxes.m_calls[0].text, "100\t50");
    EXPECT_EQ(boxes.m_calls[0].caption, kAppTitle);
    EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, 0u);
    EXPECT_EQ(boxes.m_calls[1].text, "Latitude:\t\t65 20 33.15 N\t\nLongitude:\t135 00 0.00 W\t\n");
    EXPECT_EQ(boxes.m_calls[1].caption, "INFORMATION");
    EXPECT_EQ(boxes.m_calls[1].style & MB_ICONMASK, MB_ICONINFORMATION);
}

TEST_F(ViewTest, RightClickUsesTheWindowsActualZoom) {
    view->resize(1122, 539); // zoom 1.5 across, 1 down
    RightClick(555, 200);
    ASSERT_EQ(boxes.m_calls.size(), 2u);
    EXPECT_EQ(boxes.m_calls[0].text, "555\t200");
    EXPECT_EQ(boxes.m_calls[1].text, "Latitude:\t\t00 00 0.00 N\t\nLongitude:\t00 00 0.00 E\t\n");
}

TEST_F(ViewTest, RightClickOffTheMapSaysNothing) {
    // The panel under the map, the strip right of it, and the corner: no latitude and
    // longitude there (the panel once gave 85 20 S, 186 30 E).
    for (const QPoint p :
         {QPoint(300, 480), QPoint(740, 100), QPoint(747, 538), QPoint(100, 330), QPoint(730, 0)}) {
        boxes.m_calls.clear();
        RightClick(p.x(), p.y());
        EXPECT_TRUE(boxes.m_calls.empty()) << p.x() << "," << p.y();
    }
    // The map's last pixels still answer.
    boxes.m_calls.clear();
    RightClick(729, 329);
    EXPECT_EQ(boxes.m_calls.size(), 2u);
    // At zoom 1.5 across, column 1000 is design column 666: on the map.
    view->resize(1122, 539);
    boxes.m_calls.clear();
    RightClick(1000, 100);
    EXPECT_EQ(boxes.m_calls.size(), 2u);
}

TEST_F(ViewTest, SplitHoursDoesNotLoseAMinuteToRounding) {
    int h = -1;
    int m = -1;
    view->SplitHours(h, m, 7.6);
    EXPECT_EQ(h, 7);
    EXPECT_EQ(m, 36);
    view->SplitHours(h, m, 10.99999);
    EXPECT_EQ(h, 10);
    EXPECT_EQ(m, 59);
}

namespace {

// Window pixel of a latitude and longitude at zoom 1.
QPoint At(double lat, double lon) {
    const ScreenPoint p = ProjectToScreen(lat, lon, 1.0, 1.0);
    return {TruncToInt(p.x), TruncToInt(p.y)};
}

QRect Around(QPoint p, int radius) {
    return QRect(p.x() - radius, p.y() - radius, 2 * radius + 1, 2 * radius + 1);
}

} // namespace

TEST_F(ViewTest, SnapshotDrawsUmbraOverLibyaAndPenumbraOverAfricaAndEurope) {
    const QRgb umbra = Rgb(map_colours::kUmbra);
    const QRgb penumbra = Rgb(map_colours::kPenumbra);
    const QRect mapArea(0, 0, 730, 330);
    // The map itself has neither colour, so what follows comes from the plot.
    ASSERT_EQ(CountColour(WindowPicture(*view), umbra, mapArea), 0);
    ASSERT_EQ(CountColour(WindowPicture(*view), penumbra, mapArea), 0);

    TypeDateAndTime("29", "3", "2006", "10", "11", "0");
    view->m_pBtnCompute->click();
    EXPECT_TRUE(boxes.m_calls.empty());
    EXPECT_FALSE(view->IsWaitCursorShown());

    // Published: greatest eclipse at 10:11 UT near 23°N 16°E, in Libya.
    const QImage s = WindowPicture(*view);
    const QPoint libya = At(23.0, 16.0);
    EXPECT_GT(CountColour(s, umbra, Around(libya, 8)), 4);
    EXPECT_EQ(CountColour(s, umbra, mapArea), CountColour(s, umbra, Around(libya, 12)));
    // The penumbra's outline runs round it, through Africa and Europe: over the Gulf of
    // Guinea to the south-west, over Scandinavia to the north.
    EXPECT_GT(CountColour(s, penumbra, QRect(At(15, -30), At(-5, 10))), 0);
    EXPECT_GT(CountColour(s, penumbra, QRect(At(75, -10), At(55, 40))), 0);
    EXPECT_EQ(CountColour(s, penumbra, QRect(At(75, -180), At(-60, -60))), 0); // not America
    // A repaint of the whole window (an expose) shows the same picture.
    const QImage shown = s.copy();
    view->Invalidate(true);
    view->UpdateWindow();
    EXPECT_EQ(WindowPicture(*view), shown);

    // A second snapshot wipes the first: an hour and a half later the umbra has left
    // Africa for Central Asia.
    view->m_pEditHour->clear();
    view->m_pEditMinute->clear();
    Type(view->m_pEditHour, "11");
    Type(view->m_pEditMinute, "40");
    view->m_pBtnCompute->click();
    EXPECT_EQ(CountColour(WindowPicture(*view), umbra, Around(libya, 12)), 0);
    EXPECT_GT(CountColour(WindowPicture(*view), umbra, QRect(At(60, 40), At(35, 90))), 4);
    EXPECT_EQ(CountColour(WindowPicture(*view), penumbra, QRect(At(15, -30), At(-5, 10))), 0);
}
