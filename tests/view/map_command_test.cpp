// The "map" button on the real view offscreen: the contact block, the hourly penumbra
// outlines with their hour labels, the umbra path and the limit curves, and what the
// printed page is left to show.

#include "view_driver.h"

#include "render/overlay_painter.h"
#include "view/eclipse_map.h"

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

    std::vector<double> LabelHours() const {
        std::vector<double> hours;
        for (const HourLabel& label : view->m_printResults.hourLabels) {
            hours.push_back(label.hours);
        }
        return hours;
    }

    int Count(COLORREF colour, QRect area) const {
        return CountColour(Surface(), Rgb(colour), area);
    }

    // The limit curves were computed for all 136 latitudes and drawn.
    void ExpectLimitCurves() const {
        ASSERT_EQ(view->m_limitLatitudes.size(), 136u);
        EXPECT_EQ(view->m_limitLatitudes.front(), -60.0);
        EXPECT_EQ(view->m_limitLatitudes.back(), 75.0);
        EXPECT_EQ(view->m_limitFirst.size(), 136u);
        EXPECT_EQ(view->m_limitSecond.size(), 136u);
        EXPECT_GT(Count(map_colours::kFirstLimit, kMap), 100);
        // Black also draws the coasts, so the sunset series is looked for at its own
        // points: at the equator, at longitude -15 × (sunset hours) + 360 or so.
        int onCurve = 0;
        int finite = 0;
        for (std::size_t i = 0; i < view->m_limitSecond.size(); i += 10) {
            if (std::isnan(view->m_limitSecond[i])) {
                continue; // polar day or night
            }
            ++finite;
            const double v = 15.0 * view->m_limitSecond[i];
            const double lon = v <= 180.0 ? -v : std::fmod(v, 180.0);
            const QPoint p = At(view->m_limitLatitudes[i], lon);
            onCurve += Surface().pixel(p.x() + 1, p.y() + 1) == qRgb(0, 0, 0) ? 1 : 0;
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
        "Moon leaves totality:  11:48",
    };
    EXPECT_EQ(view->m_printResults.contactLines, lines);
    EXPECT_EQ(LabelHours(), (std::vector<double>{8, 9, 10, 11, 12}));

    // Outlines at 8h over the South Atlantic and at 12h over Asia, both left standing.
    EXPECT_GT(Count(map_colours::kPenumbra, Region(-25, -35, -35, -20)), 0);
    EXPECT_GT(Count(map_colours::kPenumbra, Region(75, 95, 40, 110)), 0);
    // The umbra path: from the coast of Brazil, over Libya, to the border of Mongolia.
    EXPECT_GT(Count(map_colours::kUmbra, Region(-4, -38, -8, -30)), 0);
    EXPECT_GT(Count(map_colours::kUmbra, Around(At(23, 16), 4)), 0);
    EXPECT_GT(Count(map_colours::kUmbra, Region(53, 85, 49, 99)), 0);
    EXPECT_EQ(Count(map_colours::kUmbra, Region(75, -180, -60, -45)), 0);
    ExpectLimitCurves();

    // The page gets all of it: every outline point and path point, and each label at
    // the place of its outline's corner on the map.
    EXPECT_GT(view->m_printResults.penumbraLat.size(), 5 * 20000u);
    EXPECT_EQ(view->m_printResults.penumbraLat.size(), view->m_printResults.penumbraLon.size());
    EXPECT_GT(view->m_printResults.umbraLat.size(), 190 * 20u);
    for (const HourLabel& label : view->m_printResults.hourLabels) {
        EXPECT_GE(label.latDeg, -60);
        EXPECT_LE(label.latDeg, 75);
        EXPECT_GE(label.lonDeg, -180);
        EXPECT_LE(label.lonDeg, 180);
    }
    // The 8h outline's corner lies in the South Atlantic, west of Africa.
    EXPECT_NEAR(view->m_printResults.hourLabels[0].lonDeg, -29, 2);
    EXPECT_NEAR(view->m_printResults.hourLabels[0].latDeg, 9, 2);

    // The next snapshot repaints the whole map: the overview goes, labels and all.
    EXPECT_EQ(view->m_nShadowMinX, 5);
    EXPECT_EQ(view->m_nShadowMaxY, 325);
    TypeTime("10", "11", "0");
    view->m_pBtnCompute->click();
    EXPECT_EQ(Count(map_colours::kPenumbra, Region(75, 95, 40, 110)), 0);
    EXPECT_EQ(Count(map_colours::kUmbra, Region(-4, -38, -8, -30)), 0);
    EXPECT_EQ(Count(map_colours::kFirstLimit, kMap), 0);
    EXPECT_TRUE(view->m_printResults.hourLabels.empty());
}

TEST_F(MapCommandTest, HoursOnAContactMinuteGetNoOutline) {
    // 26 January 2009: the penumbra leaves the Earth at 11:00 exactly.
    Map("26", "1", "2009");
    ASSERT_EQ(view->m_printResults.contactLines.size(), 4u);
    EXPECT_EQ(view->m_printResults.contactLines[1], "Moon leaves penumbra:  11:00");
    EXPECT_EQ(LabelHours(), (std::vector<double>{5, 6, 7, 8, 9, 10}));

    // 12 October 1996, a partial eclipse: the penumbra arrives at 12:00 exactly.
    Map("12", "10", "1996");
    ASSERT_EQ(view->m_printResults.contactLines.size(), 4u);
    EXPECT_EQ(view->m_printResults.contactLines[0], "Moon enters penumbra:  12:00");
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
    EXPECT_EQ(view->m_printResults.contactLines, lines);
    EXPECT_EQ(LabelHours(), (std::vector<double>{7, 8, 9, 10}));
    EXPECT_GT(Count(map_colours::kPenumbra, kMap), 1000);
    EXPECT_EQ(Count(map_colours::kUmbra, kMap), 0);
    EXPECT_TRUE(view->m_printResults.umbraLat.empty());
    ExpectLimitCurves();
}

TEST_F(MapCommandTest, DateWithoutAnEclipseStillDrawsTheLimitCurves) {
    Map("29", "3", "2006");
    Map("14", "3", "2006");
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].text, "By date:\t14.3.2006\nSolar Eclipses isn't possibly");
    EXPECT_EQ(boxes.m_calls[0].caption, "EXCLAMATION");
    EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);

    // Nothing of 29 March is left, on the window or for the page.
    EXPECT_EQ(Count(map_colours::kPenumbra, kMap), 0);
    EXPECT_EQ(Count(map_colours::kUmbra, kMap), 0);
    const CRect block = ContactBlockRect(1.0, 1.0);
    EXPECT_EQ(CountColour(
                  Surface(), qRgb(0, 0, 0),
                  QRect(QPoint(block.left, block.top), QPoint(block.right - 1, block.bottom - 1))),
              0);
    EXPECT_TRUE(view->m_printResults.contactLines.empty());
    EXPECT_TRUE(view->m_printResults.penumbraLat.empty());
    EXPECT_TRUE(view->m_printResults.umbraLat.empty());
    EXPECT_TRUE(view->m_printResults.hourLabels.empty());
    ExpectLimitCurves();
    // Mid-March: day and night of equal length everywhere, sunrise near 6h UT at
    // longitude 0.
    EXPECT_NEAR(view->m_limitFirst[60], 6.1, 0.2);
    EXPECT_NEAR(view->m_limitSecond[60], 18.1, 0.2);
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
    EXPECT_TRUE(std::isnan(view->m_limitFirst[130]));
    EXPECT_TRUE(std::isnan(view->m_limitSecond[130]));
    EXPECT_FALSE(std::isnan(view->m_limitFirst[0]));
}

TEST_F(MapCommandTest, MapDuringTheAnimationStopsItSoTheMapStays) {
    TypeDate("29", "3", "2006");
    view->m_pBtnGenerate->click();
    view->Tick();
    ASSERT_TRUE(view->IsTimerRunning(kAnimationTimerId));
    view->m_pBtnMap->click();
    EXPECT_FALSE(view->IsTimerRunning(kAnimationTimerId));
    EXPECT_FALSE(view->m_printResults.umbraLat.empty());
    EXPECT_FALSE(view->m_printResults.hourLabels.empty());
}

TEST_F(MapCommandTest, ADateThatDoesNotExistGetsAnErrorBoxAndNoCurves) {
    TypeDate("29", "3", "2006");
    view->m_pBtnMap->click();
    ASSERT_FALSE(view->m_limitLatitudes.empty());
    boxes.m_calls.clear();
    TypeDate("31", "2", "2006");
    view->m_pBtnMap->click();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
    EXPECT_NE(boxes.m_calls[0].text.indexOf("31.2.2006"), -1);
    // Nothing of 29 March stays under the map or on its page.
    EXPECT_TRUE(view->m_limitLatitudes.empty());
    EXPECT_TRUE(view->m_printResults.contactLines.empty());
    EXPECT_TRUE(view->m_printResults.umbraLat.empty());
}
