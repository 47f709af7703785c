// The "map" button on the real view offscreen: the contact block, the hourly penumbra
// outlines with their hour labels, the umbra path and the limit curves, and what the
// printed page is left to show.

#include "view_driver.h"

#include "model/eclipse_map.h"
#include "render/overlay_painter.h"

#include <cmath>
#include <string>
#include <vector>

using namespace view_driver;

namespace {

const QRect kMap(0, 0, 730, 330);

class MapCommandTest : public ViewDriver {
protected:
    void Map(const char* d, const char* m, const char* y) {
        TypeDate(d, m, y);
        view->m_pBtnMap->click();
    }

    const Scene& Shown() const { return view->GetScene(); }
    std::vector<HourLabel> Labels() const { return MapHourLabels(Shown(), 1.0, 1.0); }
    std::vector<double> LabelHours() const {
        std::vector<double> hours;
        for (const HourLabel& label : Labels()) {
            hours.push_back(label.hours);
        }
        return hours;
    }
    std::size_t PenumbraPointsToPrint() const {
        std::size_t n = 0;
        for (const LatLonPoints& points : PageContent(Shown(), 1.0, 1.0, "").penumbra) {
            EXPECT_EQ(points.lat.size(), points.lon.size());
            n += points.lat.size();
        }
        return n;
    }

    int Count(COLORREF colour, QRect area) const {
        return CountColour(Picture(), Rgb(colour), area);
    }

    // The limit curves were computed for all 136 latitudes and drawn.
    void ExpectLimitCurves() const {
        ASSERT_EQ(Shown().limitCurves.latitudes.size(), 136u);
        EXPECT_EQ(Shown().limitCurves.latitudes.front(), -60.0);
        EXPECT_EQ(Shown().limitCurves.latitudes.back(), 75.0);
        EXPECT_EQ(Shown().limitCurves.rise.size(), 136u);
        EXPECT_EQ(Shown().limitCurves.set.size(), 136u);
        EXPECT_GT(Count(map_colours::kFirstLimit, kMap), 100);
        // Black also draws the coasts, so the sunset series is looked for at its own
        // points: at the equator, at longitude -15 × (sunset hours) + 360 or so.
        const QImage picture = Picture();
        int onCurve = 0;
        int finite = 0;
        for (std::size_t i = 0; i < Shown().limitCurves.set.size(); i += 10) {
            if (std::isnan(Shown().limitCurves.set[i])) {
                continue; // polar day or night
            }
            ++finite;
            const double v = 15.0 * Shown().limitCurves.set[i];
            const double lon = v <= 180.0 ? -v : std::fmod(v, 180.0);
            const QPoint p = At(Shown().limitCurves.latitudes[i], lon);
            onCurve += picture.pixel(p.x() + 1, p.y() + 1) == qRgb(0, 0, 0) ? 1 : 0;
        }
        EXPECT_GE(finite, 12);
        EXPECT_EQ(onCurve, finite);
    }
};

} // namespace

TEST_F(MapCommandTest, TotalEclipseOf29March2006) {
    TypeTime("10", "11", "30");
    Map("29", "3", "2006");
    EXPECT_TRUE(boxes.m_calls.empty());
    EXPECT_FALSE(view->IsWaitCursorShown());
    EXPECT_EQ(Field(IDC_HOUR), "");
    EXPECT_EQ(Field(IDC_MINUTE), "");
    EXPECT_EQ(Field(IDC_SECOND), "");

    const std::vector<std::string> lines = {
        "Moon enters penumbra:  07:37",
        "Moon leaves penumbra:  12:45",
        "Moon enters totality:  08:35",
        "Moon leaves totality:  11:47",
    };
    EXPECT_EQ(Shown().contactLines, lines);
    EXPECT_EQ(LabelHours(), (std::vector<double>{8, 9, 10, 11, 12}));

    // Outlines at 8h over the South Atlantic and at 12h over Asia, both left standing.
    EXPECT_GT(Count(map_colours::kPenumbra, Region(-25, -35, -35, -20)), 0);
    EXPECT_GT(Count(map_colours::kPenumbra, Region(75, 95, 40, 110)), 0);
    // The umbra path: from the coast of Brazil, over Libya, to the border of Mongolia.
    EXPECT_GT(Count(map_colours::kUmbra, Region(-4, -38, -8, -30)), 0);
    // (Over Libya beside the marks of greatest eclipse and greatest duration, which sit
    // on the path there.)
    EXPECT_GT(Count(map_colours::kUmbra, Around(At(23, 16), 10)), 0);
    EXPECT_GT(Count(map_colours::kUmbra, Region(53, 85, 49, 99)), 0);
    EXPECT_EQ(Count(map_colours::kUmbra, Region(75, -180, -60, -45)), 0);
    ExpectLimitCurves();

    // The page gets all of it: every outline point and path point, and each label at
    // the place of its outline's corner on the map.
    EXPECT_GT(PenumbraPointsToPrint(), 5 * 20000u);
    EXPECT_GT(Shown().umbraPath.lat.size(), 190 * 20u);
    const std::vector<HourLabel> labels = Labels();
    for (const HourLabel& label : labels) {
        EXPECT_GE(label.latDeg, -60);
        EXPECT_LE(label.latDeg, 75);
        EXPECT_GE(label.lonDeg, -180);
        EXPECT_LE(label.lonDeg, 180);
    }
    // The 8h outline's corner lies in the South Atlantic, west of Africa.
    ASSERT_FALSE(labels.empty());
    EXPECT_NEAR(labels[0].lonDeg, -29, 2);
    EXPECT_NEAR(labels[0].latDeg, 9, 2);
    // The label itself is drawn there, in black over the ocean.
    const QPoint label8h = At(labels[0].latDeg, labels[0].lonDeg);
    EXPECT_GT(CountColour(Picture(), qRgb(0, 0, 0), QRect(label8h, QSize(30, 12))), 10);

    // The next snapshot takes the overview away, labels and all.
    TypeTime("10", "11", "0");
    view->m_pBtnCompute->click();
    EXPECT_EQ(Count(map_colours::kPenumbra, Region(75, 95, 40, 110)), 0);
    EXPECT_EQ(Count(map_colours::kUmbra, Region(-4, -38, -8, -30)), 0);
    EXPECT_EQ(Count(map_colours::kFirstLimit, kMap), 0);
    EXPECT_TRUE(Labels().empty());
    EXPECT_TRUE(Shown().umbraPath.lat.empty());
    EXPECT_EQ(Shown().contactLines.size(), 4u); // the contact block stays
}

TEST_F(MapCommandTest, ResizingTheWindowKeepsWhatTheMapCommandDrew) {
    Map("29", "3", "2006");
    const auto counts = [&](double zx, double zy) {
        const QRect map(0, 0, TruncToInt(730 * zx), TruncToInt(330 * zy));
        return std::vector<int>{Count(map_colours::kPenumbra, map), Count(map_colours::kUmbra, map),
                                Count(map_colours::kFirstLimit, map)};
    };
    const std::vector<int> before = counts(1.0, 1.0);
    EXPECT_GT(before[0], 5000); // outlines
    EXPECT_GT(before[1], 300);  // umbra path (the path's lines lie over its middle)
    EXPECT_GT(before[2], 100);  // sunrise series

    view->resize(1000, 800);
    QApplication::processEvents();
    ASSERT_EQ(Picture().size(), QSize(1000, 800));
    const std::vector<int> large = counts(1000.0 / 748, 800.0 / 539);
    EXPECT_GT(large[0], before[0]); // the same boxes, further apart
    EXPECT_GT(large[1], before[1]);
    EXPECT_GE(large[2], before[2]);

    view->resize(748, 539);
    QApplication::processEvents();
    ASSERT_EQ(Picture().size(), QSize(748, 539));
    EXPECT_EQ(counts(1.0, 1.0), before);
    EXPECT_EQ(LabelHours(), (std::vector<double>{8, 9, 10, 11, 12}));
}

TEST_F(MapCommandTest, HoursOnAContactMinuteGetNoOutline) {
    // 26 January 2009: the penumbra leaves the Earth at 11:00 exactly.
    Map("26", "1", "2009");
    ASSERT_EQ(Shown().contactLines.size(), 4u);
    EXPECT_EQ(Shown().contactLines[1], "Moon leaves penumbra:  11:00");
    EXPECT_EQ(LabelHours(), (std::vector<double>{5, 6, 7, 8, 9, 10}));

    // 12 October 1996, a partial eclipse: the penumbra arrives at 12:00 exactly.
    Map("12", "10", "1996");
    ASSERT_EQ(Shown().contactLines.size(), 4u);
    EXPECT_EQ(Shown().contactLines[0], "Moon enters penumbra:  12:00");
    EXPECT_EQ(LabelHours(), (std::vector<double>{13, 14, 15, 16}));
}

TEST(OutlineHours, LieStrictlyInsideThePenumbralPhase) {
    constexpr int kMinute = 1440;
    EXPECT_EQ(OutlineHours(8 * 60 + 13, 13 * 60 + 47, kMinute),
              (std::vector<int>{9, 10, 11, 12, 13}));
    EXPECT_EQ(OutlineHours(8 * 60, 13 * 60, kMinute), (std::vector<int>{9, 10, 11, 12}));
    EXPECT_EQ(OutlineHours(0, 60, kMinute), std::vector<int>{});
    EXPECT_EQ(OutlineHours(0, 1439, kMinute).size(), 23u); // never hour 0 of the date
    EXPECT_EQ(OutlineHours(10 * 60 + 1, 10 * 60 + 59, kMinute), std::vector<int>{});
    EXPECT_EQ(OutlineHours(3, 5, 24), std::vector<int>{4}); // one step an hour
}

TEST_F(MapCommandTest, PartialEclipseHasOutlinesAndLabelsButNoUmbraPath) {
    Map("4", "1", "2011");
    EXPECT_TRUE(boxes.m_calls.empty());
    const std::vector<std::string> lines = {
        "Moon enters penumbra:  06:41",
        "Moon leaves penumbra:  11:00",
        "Moon enters totality:  --:--",
        "Moon leaves totality:  --:--",
    };
    EXPECT_EQ(Shown().contactLines, lines);
    EXPECT_EQ(LabelHours(), (std::vector<double>{7, 8, 9, 10}));
    EXPECT_GT(Count(map_colours::kPenumbra, kMap), 1000);
    EXPECT_EQ(Count(map_colours::kUmbra, kMap), 0);
    EXPECT_TRUE(Shown().umbraPath.lat.empty());
    ExpectLimitCurves();
}

// A computation started ahead serves the map command of its own date and engine only.
TEST_F(MapCommandTest, APendingMapServesOnlyItsOwnDate) {
    view->SetPendingMap(StartDateMap({29, 3, 2006}, view->m_engine));
    Map("4", "1", "2011");
    EXPECT_EQ(Shown().contactLines.front(), "Moon enters penumbra:  06:41");
    EXPECT_EQ(LabelHours(), (std::vector<double>{7, 8, 9, 10}));

    view->SetPendingMap(StartDateMap({4, 1, 2011}, view->m_engine));
    Map("4", "1", "2011");
    EXPECT_EQ(Shown().contactLines.front(), "Moon enters penumbra:  06:41");
    EXPECT_EQ(LabelHours(), (std::vector<double>{7, 8, 9, 10}));
    EXPECT_TRUE(Shown().umbraPath.lat.empty());
    EXPECT_EQ(Shown().eclipse.kind, EclipseKind::Partial);
}

TEST_F(MapCommandTest, DateWithoutAnEclipseStillDrawsTheLimitCurves) {
    Map("29", "3", "2006");
    Map("16", "3", "2006"); // no eclipse of either kind (the Moon's was on the 14th)
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].text, "By date:\t16.3.2006\nSolar Eclipses isn't possibly");
    EXPECT_EQ(boxes.m_calls[0].caption, "EXCLAMATION");
    EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);

    // Nothing of 29 March is left, on the window or for the page.
    EXPECT_EQ(Count(map_colours::kPenumbra, kMap), 0);
    EXPECT_EQ(Count(map_colours::kUmbra, kMap), 0);
    const CRect block = ContactBlockRect(1.0, 1.0);
    EXPECT_EQ(CountColour(
                  Picture(), qRgb(0, 0, 0),
                  QRect(QPoint(block.left, block.top), QPoint(block.right - 1, block.bottom - 1))),
              0);
    EXPECT_TRUE(Shown().contactLines.empty());
    EXPECT_EQ(PenumbraPointsToPrint(), 0u);
    EXPECT_TRUE(Shown().umbraPath.lat.empty());
    EXPECT_TRUE(Labels().empty());
    ExpectLimitCurves();
    // Mid-March: day and night of equal length everywhere, sunrise near 6h UT at
    // longitude 0.
    EXPECT_NEAR(Shown().limitCurves.rise[60], 6.1, 0.2);
    EXPECT_NEAR(Shown().limitCurves.set[60], 18.1, 0.2);
}

TEST_F(MapCommandTest, MissingDateShowsTheErrorAndStillDrawsLimitCurves) {
    SetField(view->m_pEditMonth, "6");
    SetField(view->m_pEditYear, "2006");
    TypeTime("10", "11", "0");
    view->m_pBtnMap->click();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].text, "You must enter value of day,month and year!");
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
    EXPECT_EQ(Field(IDC_HOUR), "");
    EXPECT_EQ(Field(IDC_SECOND), "");
    EXPECT_EQ(Field(IDC_MONTH), "6");
    EXPECT_EQ(view->m_nDay, 0); // the empty day parsed as 0 for the limit curves
    EXPECT_EQ(view->m_nMonth, 6);
    ExpectLimitCurves();
    // Day 0 of June is 31 May: at 70°N the Sun no longer sets, and those points are
    // left out rather than drawn anywhere.
    EXPECT_TRUE(std::isnan(Shown().limitCurves.rise[130]));
    EXPECT_TRUE(std::isnan(Shown().limitCurves.set[130]));
    EXPECT_FALSE(std::isnan(Shown().limitCurves.rise[0]));
}

TEST_F(MapCommandTest, MapDuringTheAnimationStopsItSoTheMapStays) {
    TypeDate("29", "3", "2006");
    view->m_pBtnGenerate->click();
    view->Tick();
    ASSERT_TRUE(view->IsTimerRunning(kAnimationTimerId));
    view->m_pBtnMap->click();
    EXPECT_FALSE(view->IsTimerRunning(kAnimationTimerId));
    EXPECT_FALSE(view->GetScene().umbraPath.lat.empty());
    EXPECT_FALSE(view->GetScene().hourOutlines.empty());
    // The next tick (were the timer still running) would have replaced the map.
    const QImage shown = Picture().copy();
    QApplication::processEvents();
    EXPECT_EQ(Picture(), shown);
}

TEST_F(MapCommandTest, ADateThatDoesNotExistGetsAnErrorBoxAndNoCurves) {
    TypeDate("29", "3", "2006");
    view->m_pBtnMap->click();
    ASSERT_FALSE(view->GetScene().limitCurves.latitudes.empty());
    boxes.m_calls.clear();
    TypeDate("31", "2", "2006");
    view->m_pBtnMap->click();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
    EXPECT_NE(boxes.m_calls[0].text.indexOf("31.2.2006"), -1);
    // Nothing of 29 March stays under the map or on its page.
    EXPECT_TRUE(view->GetScene().limitCurves.latitudes.empty());
    EXPECT_TRUE(view->GetScene().contactLines.empty());
    EXPECT_TRUE(view->GetScene().umbraPath.lat.empty());
}
