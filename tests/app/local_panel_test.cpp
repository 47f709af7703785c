// The side panel of local circumstances: a click (not a drag) on the map fills it, the
// keyboard cursor does the same, Copy puts its text on the clipboard; and the control
// panel's controls at the smallest window size.
#include "app/local_panel.h"
#include "app/main_frame.h"
#include "render/map_view.h"
#include "view/kestrova_view.h"

#include <QApplication>
#include <QClipboard>
#include <QDockWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <vector>

namespace {

class LocalPanelTest : public testing::Test {
protected:
    void SetUp() override {
        View()->SetMessageBoxSink(&boxes);
        frame.show();
        View()->OnInitialUpdate();
    }

    CKestrovaView* View() { return frame.GetActiveView(); }

    void TypeDate(const char* d, const char* m, const char* y) {
        QTest::keyClicks(View()->m_pEditDay, d);
        QTest::keyClicks(View()->m_pEditMonth, m);
        QTest::keyClicks(View()->m_pEditYear, y);
    }

    void Mouse(QEvent::Type type, QPointF at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, View()->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(View(), &event);
    }

    // Press at from, move in steps to to, release there.
    void Drag(QPointF from, QPointF to) {
        Mouse(QEvent::MouseButtonPress, from, Qt::LeftButton);
        for (int k = 1; k <= 4; ++k)
            Mouse(QEvent::MouseMove, from + (to - from) * (k / 4.0), Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, to, Qt::NoButton);
    }

    QPointF At(double lat, double lon) {
        const auto p = ViewPosition(View()->CurrentMapView(), lat, lon);
        return p ? QPointF(p->x, p->y) : QPointF();
    }

    QString PanelText() { return frame.GetLocalPanel()->Text(); }

    // The numbers a pattern's groups capture in the panel text.
    std::vector<double> Numbers(const QString& pattern) {
        const QRegularExpressionMatch m = QRegularExpression(pattern).match(PanelText());
        EXPECT_TRUE(m.hasMatch()) << pattern.toStdString() << " in " << PanelText().toStdString();
        std::vector<double> numbers(4, 0.0);
        for (int k = 1; k <= m.lastCapturedIndex() && k <= 4; ++k)
            numbers[k - 1] = m.captured(k).toDouble();
        return numbers;
    }
    double NumberAfter(const QString& label) {
        return Numbers(QRegularExpression::escape(label) + "\\s*(-?[0-9.]+)")[0];
    }

    // Seconds of the day of "HH:MM:SS.s" after label, in UT or in the civil time.
    double TimeAfter(const QString& label, bool civil) {
        const QRegularExpression re(
            QRegularExpression::escape(label) +
            ":\\s+(\\d\\d):(\\d\\d):([0-9.]+) UT\\s+(\\d\\d):(\\d\\d):([0-9.]+)");
        const QRegularExpressionMatch m = re.match(PanelText());
        EXPECT_TRUE(m.hasMatch()) << label.toStdString() << " in " << PanelText().toStdString();
        const int k = civil ? 4 : 1;
        return m.captured(k).toInt() * 3600.0 + m.captured(k + 1).toInt() * 60.0 +
               m.captured(k + 2).toDouble();
    }

    CMessageRecorder boxes;
    CMainFrame frame;
};

// A press and release within a few pixels chooses the place; a drag pans and chooses
// nothing; the panel stays open and shows the next click's place.
TEST_F(LocalPanelTest, ClickFillsThePanelAndADragDoesNot) {
    TypeDate("8", "4", "2024");
    EXPECT_FALSE(frame.LocalDock()->isVisible());
    const QPointF texas = At(31.0, -99.0);
    Mouse(QEvent::MouseButtonPress, texas, Qt::LeftButton);
    Mouse(QEvent::MouseMove, texas + QPointF(2, 1), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, texas + QPointF(2, 1), Qt::NoButton);
    EXPECT_TRUE(frame.LocalDock()->isVisible());
    const QString first = PanelText();
    EXPECT_TRUE(first.contains("Total eclipse.")) << first.toStdString();
    EXPECT_TRUE(boxes.m_calls.empty()); // no box: the answer is in the panel
    ASSERT_TRUE(View()->GetScene().place);
    EXPECT_NEAR(View()->GetScene().place->lat, 31.0, 0.6);

    const MapView before = View()->CurrentMapView();
    Drag(At(10.0, 10.0), At(10.0, 10.0) + QPointF(60, 30));
    EXPECT_EQ(PanelText(), first);
    EXPECT_NE(View()->CurrentMapView().offsetX, before.offsetX);

    // Cape Town sees nothing of it; the panel is still open with the new place.
    Mouse(QEvent::MouseButtonPress, At(-33.9, 18.4), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, At(-33.9, 18.4), Qt::NoButton);
    EXPECT_TRUE(frame.LocalDock()->isVisible());
    EXPECT_TRUE(PanelText().contains("not seen here")) << PanelText().toStdString();
    // In the South Atlantic, 20 W: the nautical zone, an hour behind UT.
    Mouse(QEvent::MouseButtonPress, At(-30.0, -20.0), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, At(-30.0, -20.0), Qt::NoButton);
    EXPECT_TRUE(PanelText().contains("Time zone: UTC-1, the nautical zone at sea (Etc/GMT+1)"))
        << PanelText().toStdString();
    EXPECT_TRUE(
        PanelText().contains("Height: 0 m (assumed: no place of the gazetteer within 5 km)"))
        << PanelText().toStdString();
}

// Dallas (32.78 N, 96.80 W): total; the numbers the panel gives agree with one another
// and with the zone's clock (CDT, UT - 5 h); Copy puts the very text on the clipboard.
TEST_F(LocalPanelTest, DallasIsTotalInCentralDaylightTimeAndCopies) {
    TypeDate("8", "4", "2024");
    // Zoomed in so that the click falls within a kilometre or two of the city.
    View()->SetMapView(FitView(View()->m_zoomX, View()->m_zoomY, {32.6, -97.0, 33.0, -96.6}));
    const QPointF dallas = At(32.7767, -96.797);
    Mouse(QEvent::MouseButtonPress, dallas, Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, dallas, Qt::NoButton);
    const QString text = PanelText();
    EXPECT_TRUE(text.contains("Total eclipse.")) << text.toStdString();
    EXPECT_TRUE(text.contains("Time zone: America/Chicago")) << text.toStdString();
    // Dallas's height (GeoNames'), and the eclipse seen from there.
    EXPECT_TRUE(text.contains("\nHeight: 128 m (Dallas, TX, US)\n")) << text.toStdString();
    const std::vector<double> near = Numbers("\\n([0-9.]+) km from Dallas, TX, US \\(");
    EXPECT_LT(near[0], 3.0);
    // The clicked point, to about 3 km.
    const std::vector<double> place = Numbers("([0-9.]+)° N, ([0-9.]+)° W");
    EXPECT_NEAR(place[0], 32.777, 0.03);
    EXPECT_NEAR(place[1], 96.797, 0.03);
    EXPECT_GT(NumberAfter("Magnitude:"), 1.0);
    EXPECT_DOUBLE_EQ(NumberAfter("Obscuration:"), 100.0);
    const double c2 = TimeAfter("Second contact", false);
    const double c3 = TimeAfter("Third contact", false);
    const double max = TimeAfter("Maximum", false);
    EXPECT_LT(c2, max);
    EXPECT_LT(max, c3);
    // Totality near 18:42 UT for about 3 min 50 s.
    EXPECT_NEAR(max, 18 * 3600 + 42 * 60, 120);
    const std::vector<double> duration = Numbers("Duration of totality:\\s*(\\d+) min ([0-9.]+) s");
    EXPECT_NEAR(duration[0] * 60 + duration[1], c3 - c2, 0.15);
    EXPECT_NEAR(duration[0] * 60 + duration[1], 230, 15);
    EXPECT_DOUBLE_EQ(TimeAfter("Maximum", true), max - 5 * 3600.0);
    // Just past the meridian at maximum (local noon is near 18:29 UT): 90 - 32.8 + 7.5
    // degrees high, a little west of south.
    const std::vector<double> sun =
        Numbers("Maximum:[^\\n]*\\n\\s*Sun ([0-9.]+)° high, az. ([0-9.]+)");
    EXPECT_NEAR(sun[0], 64, 2);
    EXPECT_NEAR(sun[1], 190, 12);
    EXPECT_GT(NumberAfter("Contact times ±"), 0.0);

    QApplication::clipboard()->clear();
    QTest::mouseClick(frame.GetLocalPanel()->findChild<QWidget*>("copyLocal"), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), text);
}

// A place of the published table (northern Ohio, 2024 April 8, EclipseWise): the panel's
// second and third contacts within 3 s (its Delta T is 2 s smaller than the canon's) and
// the Sun's altitude at maximum within a few tenths of a degree.
TEST_F(LocalPanelTest, PanelAgreesWithAPublishedPlace) {
    TypeDate("8", "4", "2024");
    frame.GetLocalPanel()->ShowText(
        QString::fromStdString(View()->LocalPanelText(41.0341, -83.6523)));
    EXPECT_NEAR(TimeAfter("Second contact", false), 19 * 3600 + 10 * 60 + 42, 3.0);
    EXPECT_NEAR(TimeAfter("Third contact", false), 19 * 3600 + 14 * 60 + 27, 3.0);
    EXPECT_NEAR(Numbers("Maximum:[^\\n]*\\n\\s*Sun ([0-9.]+)")[0], 50.3, 0.3);
    EXPECT_TRUE(PanelText().contains("Time zone: America/New_York")) << PanelText().toStdString();
}

// The keyboard alone does what a click does: the cursor appears with Shift and an
// arrow, moves by pixels, keeps its place when the map pans, and Enter fills the panel.
TEST_F(LocalPanelTest, KeyboardCursorChoosesAPlace) {
    TypeDate("8", "4", "2024");
    View()->setFocus();
    EXPECT_FALSE(View()->KeyboardCursor());
    QTest::keyClick(View(), Qt::Key_Right, Qt::ShiftModifier);
    ASSERT_TRUE(View()->KeyboardCursor());
    const MapPlace start = *View()->KeyboardCursor();
    QTest::keyClick(View(), Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_NEAR(View()->KeyboardCursor()->lon, start.lon - 0.5, 0.01); // one design pixel
    QTest::keyClick(View(), Qt::Key_Left); // a plain arrow pans the map, not the cursor
    EXPECT_NEAR(View()->KeyboardCursor()->lon, start.lon - 0.5, 0.01);
    QTest::keyClick(View(), Qt::Key_Return);
    EXPECT_TRUE(frame.LocalDock()->isVisible());
    EXPECT_TRUE(PanelText().startsWith("Solar eclipse of 2024 April 8"))
        << PanelText().toStdString();
    QTest::keyClick(View(), Qt::Key_Escape);
    EXPECT_FALSE(View()->KeyboardCursor());
}

// A date without a solar eclipse says so; the date of a lunar eclipse gives the Moon.
TEST_F(LocalPanelTest, NoSolarEclipseAndLunarEclipseSayWhatApplies) {
    TypeDate("9", "4", "2024");
    Mouse(QEvent::MouseButtonPress, At(40.0, -100.0), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, At(40.0, -100.0), Qt::NoButton);
    EXPECT_TRUE(PanelText().startsWith("No solar or lunar eclipse has its greatest eclipse on "
                                       "2024 April 9"))
        << PanelText().toStdString();
    View()->m_pEditDay->clear();
    View()->m_pEditMonth->clear();
    View()->m_pEditYear->clear();
    TypeDate("14", "3", "2025"); // total lunar eclipse, seen from the Americas
    Mouse(QEvent::MouseButtonPress, At(40.0, -100.0), Qt::LeftButton);
    Mouse(QEvent::MouseButtonRelease, At(40.0, -100.0), Qt::NoButton);
    EXPECT_TRUE(PanelText().startsWith("Total lunar eclipse of 2025 March 14"))
        << PanelText().toStdString();
    EXPECT_TRUE(PanelText().contains("Visible")) << PanelText().toStdString();
    EXPECT_TRUE(PanelText().contains("Time zone: America/")) << PanelText().toStdString();
}

// From 420 x 320 up no two controls of the panel overlap, and all lie in the view.
TEST_F(LocalPanelTest, ControlsNeverOverlapInASmallWindow) {
    for (const QSize size : {QSize(420, 320), QSize(560, 400), QSize(748, 380), QSize(1580, 980)}) {
        SCOPED_TRACE(size.width());
        frame.resize(size);
        QApplication::processEvents();
        CKestrovaView* v = View();
        const std::vector<QWidget*> controls = {
            v->m_pEditDay,    v->m_pEditMonth,   v->m_pEditYear,   v->m_pEditHour, v->m_pEditMinute,
            v->m_pEditSecond, v->m_pBtnPrint,    v->m_pBtnCompute, v->m_pBtnPlus,  v->m_pBtnMinus,
            v->m_pBtnMap,     v->m_pBtnGenerate, v->m_pBtnStop,    v->m_pBtnPlay};
        for (std::size_t i = 0; i < controls.size(); ++i) {
            EXPECT_TRUE(v->rect().contains(controls[i]->geometry()))
                << controls[i]->objectName().toStdString() << " at " << i;
            EXPECT_GE(controls[i]->height(), 12);
            for (std::size_t j = i + 1; j < controls.size(); ++j)
                EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                    << i << " and " << j;
        }
    }
}

} // namespace
