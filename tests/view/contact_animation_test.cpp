// The "generate" button's contact-time run, the animation it starts, "stop" and "play",
// and the ten-minute steps of "plus" and "minus", driven on the real view offscreen.

#include "view_driver.h"

#include "render/overlay_painter.h"

#include <string>
#include <vector>

using namespace view_driver;

namespace {

// One-minute steps of the contact-time run from 0h UT: 29 March 2006, published
// contacts 07:36:48, 12:45:40 (penumbra) and 08:34:24, 11:47:56 (umbra): minutes 07:37,
// 12:45, 08:35 and 11:47.
constexpr int kFirstPenumbra2006 = 7 * 60 + 37;
constexpr int kLastPenumbra2006 = 12 * 60 + 45;

const std::vector<std::string> kLines2006 = {
    "Moon enters penumbra:  07:37",
    "Moon leaves penumbra:  12:45",
    "Moon enters totality:  08:35",
    "Moon leaves totality:  11:47",
};

class ContactAnimationTest : public ViewDriver {
protected:
    void Generate(const char* d, const char* m, const char* y) {
        TypeDate(d, m, y);
        view->m_pBtnGenerate->click();
    }

    // Black pixels of the contact-time block: its text.
    int BlockInk() const {
        const CRect r = ContactBlockRect(1.0, 1.0);
        return CountColour(Picture(), qRgb(0, 0, 0),
                           QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)));
    }

    int Umbra(QRect area) const { return CountColour(Picture(), Rgb(map_colours::kUmbra), area); }
    int Penumbra(QRect area) const {
        return CountColour(Picture(), Rgb(map_colours::kPenumbra), area);
    }
    double UmbraColumn() const {
        return MeanColumn(Picture(), Rgb(map_colours::kUmbra), QRect(0, 0, 730, 330));
    }

    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            view->Tick();
        }
    }
};

} // namespace

TEST_F(ContactAnimationTest, GenerateWithTheDateMissingOnlyShowsTheError) {
    SetField(view->m_pEditMonth, "3");
    SetField(view->m_pEditYear, "2006");
    TypeTime("10", "11", "0");
    view->m_pBtnGenerate->click();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
    EXPECT_FALSE(Animating());
    EXPECT_EQ(BlockInk(), 0);
    EXPECT_EQ(Field(IDC_HOUR), "10"); // the time stays for the next request

    // The refused run leaves nothing pending: "plus" then shows the shadow at 10:21.
    SetField(view->m_pEditDay, "29");
    view->m_pBtnPlus->click();
    EXPECT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_TRUE(view->GetScene().contactLines.empty());
    EXPECT_EQ(BlockInk(), 0);
    EXPECT_EQ(Field(IDC_HOUR), "10");
    EXPECT_EQ(Field(IDC_MINUTE), "21");
    EXPECT_FALSE(Animating());
    EXPECT_GT(Umbra(QRect(0, 0, 730, 330)), 4);
}

TEST_F(ContactAnimationTest, GenerateShowsTheFourLinesClearsTheTimeAndStartsTheAnimation) {
    TypeTime("10", "11", "30.5");
    Generate("29", "3", "2006");

    EXPECT_TRUE(boxes.m_calls.empty());
    EXPECT_FALSE(view->IsWaitCursorShown());
    EXPECT_EQ(view->GetScene().contactLines, kLines2006);
    EXPECT_GT(BlockInk(), 200);
    EXPECT_EQ(Field(IDC_HOUR), "");
    EXPECT_EQ(Field(IDC_MINUTE), "");
    EXPECT_EQ(Field(IDC_SECOND), "");
    EXPECT_EQ(Field(IDC_DAY), "29");

    EXPECT_EQ(view->m_stepTimes.size(), 1440u);
    EXPECT_EQ(view->m_nFirstStep, kFirstPenumbra2006);
    EXPECT_EQ(view->m_nLastStep, kLastPenumbra2006);
    EXPECT_EQ(view->m_nCurStep, kFirstPenumbra2006);
    EXPECT_TRUE(Animating());

    // A second run wipes the first block before writing its own: the same lines give
    // the same pixels, not a darker double print.
    const QImage first = Picture().copy();
    view->m_pBtnGenerate->click();
    EXPECT_EQ(Picture(), first);
}

TEST_F(ContactAnimationTest, EachTickShowsTheNextMinuteAndWipesThePreviousFrame) {
    Generate("29", "3", "2006");

    view->Tick();
    EXPECT_EQ(Field(IDC_HOUR), "7");
    EXPECT_EQ(Field(IDC_MINUTE), "37");
    EXPECT_EQ(Field(IDC_SECOND), "");
    EXPECT_EQ(view->m_nCurStep, kFirstPenumbra2006 + 1);
    // First contact: a small penumbra over the Atlantic east of Brazil, no umbra yet.
    EXPECT_GT(Penumbra(Region(-5, -35, -25, -10)), 0);
    EXPECT_EQ(Umbra(QRect(0, 0, 730, 330)), 0);

    view->Tick();
    EXPECT_EQ(Field(IDC_MINUTE), "38");
    EXPECT_EQ(view->m_nShowHour, 7);
    EXPECT_EQ(view->m_nShowMinute, 38);

    // 08:40: the umbra has come ashore from Brazil onto the Atlantic.
    view->m_nCurStep = 8 * 60 + 40;
    view->Tick();
    EXPECT_EQ(Field(IDC_HOUR), "8");
    EXPECT_EQ(Field(IDC_MINUTE), "40");
    EXPECT_GT(Umbra(Region(0, -30, -10, -15)), 0);
    const double at0840 = UmbraColumn();

    // 10:11: over Libya, and nothing is left of the 08:40 frame.
    view->m_nCurStep = 10 * 60 + 11;
    view->Tick();
    EXPECT_EQ(Field(IDC_HOUR), "10");
    EXPECT_EQ(Field(IDC_MINUTE), "11");
    EXPECT_GT(Umbra(Around(At(23, 16), 8)), 4);
    EXPECT_EQ(Umbra(Region(0, -30, -10, -15)), 0);
    EXPECT_EQ(Penumbra(Region(75, -180, -60, -60)), 0);
    EXPECT_GT(UmbraColumn(), at0840 + 50);

    // The frame is what the page will print.
    ASSERT_FALSE(view->GetScene().umbra.lat.empty());
    for (std::size_t i = 0; i < view->GetScene().umbra.lat.size(); ++i) {
        EXPECT_NEAR(view->GetScene().umbra.lat[i], 23, 2);
        EXPECT_NEAR(view->GetScene().umbra.lon[i], 16.5, 2);
    }
    EXPECT_EQ(view->GetScene().contactLines, kLines2006);
}

TEST_F(ContactAnimationTest, StopFreezesTheAnimationAndPlayResumesAtTheNextFrame) {
    Generate("29", "3", "2006");
    Ticks(5);
    EXPECT_EQ(Field(IDC_MINUTE), "41");

    view->m_pBtnStop->click();
    EXPECT_FALSE(Animating());
    EXPECT_EQ(view->m_nCurStep, kFirstPenumbra2006 + 5);
    const QImage frozen = Picture().copy();
    // A snapshot while stopped does not move the animation's position.
    TypeTime("10", "11", "0");
    view->m_pBtnCompute->click();
    EXPECT_EQ(view->m_nCurStep, kFirstPenumbra2006 + 5);
    EXPECT_NE(Picture(), frozen);

    view->m_pBtnPlay->click();
    EXPECT_TRUE(Animating());
    view->Tick();
    EXPECT_EQ(Field(IDC_HOUR), "7");
    EXPECT_EQ(Field(IDC_MINUTE), "42");
    // The 10:11 snapshot was wiped by the frame.
    EXPECT_EQ(Umbra(QRect(0, 0, 730, 330)), 0);
}

TEST_F(ContactAnimationTest, AnimationStopsByItselfAfterTheLastPenumbralMinute) {
    Generate("29", "3", "2006");
    view->m_nCurStep = kLastPenumbra2006 - 2;
    int frames = 0;
    while (Animating() && frames < 10) {
        view->Tick();
        ++frames;
    }
    EXPECT_EQ(frames, 3);
    EXPECT_EQ(Field(IDC_HOUR), "12");
    EXPECT_EQ(Field(IDC_MINUTE), "45");
    EXPECT_EQ(view->m_nCurStep, kLastPenumbra2006 + 1);

    // "play" after the end shows the minute after the last one and stops again.
    view->m_pBtnPlay->click();
    view->Tick();
    EXPECT_EQ(Field(IDC_MINUTE), "46");
    EXPECT_FALSE(Animating());
}

TEST_F(ContactAnimationTest, TickWithoutAStepListStopsTheTimerAndDrawsNothing) {
    TypeDate("29", "3", "2006");
    TypeTime("10", "11", "0");
    view->m_pBtnPlay->click(); // before any contact-time run
    EXPECT_TRUE(Animating());
    const QImage before = Picture().copy();
    view->Tick();
    EXPECT_FALSE(Animating());
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(Field(IDC_HOUR), "10");
    EXPECT_EQ(Field(IDC_MINUTE), "11");

    // Played past the end of the day's list: the same.
    Generate("29", "3", "2006");
    view->m_nCurStep = static_cast<int>(view->m_stepTimes.size());
    view->m_pBtnPlay->click();
    const QImage ended = Picture().copy();
    view->Tick();
    EXPECT_FALSE(Animating());
    EXPECT_EQ(Picture(), ended);
}

TEST_F(ContactAnimationTest, FramesBelongToTheDateOfTheRunNotToALaterSnapshot) {
    Generate("29", "3", "2006");
    view->m_nCurStep = 10 * 60 + 11;
    // Another date typed and computed while the animation runs.
    TypeDate("4", "1", "2011");
    TypeTime("9", "0", "0");
    view->m_pBtnCompute->click();
    SetField(view->m_pEditDay, "5"); // typed, not yet used

    view->Tick();
    EXPECT_GT(Umbra(Around(At(23, 16), 8)), 4); // 29 March 2006, 10:11, over Libya
    EXPECT_EQ(Field(IDC_DAY), "5");
    EXPECT_EQ(Field(IDC_MONTH), "1");
}

TEST_F(ContactAnimationTest, ARunWhosePenumbraIsOnTheEarthAt0hStartsAt0h00OfItsDate) {
    // 9 March 2016: the penumbra touched the Earth at 23:19 UT the evening before.
    Generate("9", "3", "2016");
    ASSERT_EQ(view->GetScene().contactLines.size(), 4u);
    EXPECT_EQ(view->GetScene().contactLines[0], "Moon enters penumbra:  24:00");
    EXPECT_EQ(view->m_nFirstStep, 0);

    view->Tick();
    EXPECT_EQ(Field(IDC_HOUR), "0");
    EXPECT_EQ(Field(IDC_MINUTE), "0");
    // At 0h UT of that date the penumbra lies over Indonesia and Australia; a day later
    // there would be none.
    EXPECT_GT(Penumbra(Region(20, 90, -30, 145)), 0);
}

TEST_F(ContactAnimationTest, PartialEclipseShowsTwoTimesAndAnimatesThePenumbralPhase) {
    Generate("4", "1", "2011");
    EXPECT_TRUE(boxes.m_calls.empty());
    const std::vector<std::string> lines = {
        "Moon enters penumbra:  06:41",
        "Moon leaves penumbra:  11:00",
        "Moon enters totality:  --:--",
        "Moon leaves totality:  --:--",
    };
    EXPECT_EQ(view->GetScene().contactLines, lines);
    EXPECT_EQ(view->m_nFirstStep, 6 * 60 + 41);
    EXPECT_EQ(view->m_nLastStep, 11 * 60);
    EXPECT_TRUE(Animating());

    view->m_nCurStep = 8 * 60;
    view->Tick(); // 08:00: the penumbra over Europe and North Africa, no umbra anywhere
    EXPECT_EQ(Field(IDC_HOUR), "8");
    EXPECT_EQ(Field(IDC_MINUTE), "0");
    EXPECT_GT(Penumbra(QRect(0, 0, 730, 330)), 100);
    EXPECT_EQ(Umbra(QRect(0, 0, 730, 330)), 0);
    EXPECT_GT(Penumbra(Region(70, -20, 0, 60)), 100);
}

TEST_F(ContactAnimationTest, LunarEclipseDateShowsTheNoEclipseBoxAndKeepsTheAnimation) {
    Generate("29", "3", "2006");
    Ticks(3);
    const std::vector<double> steps = view->m_stepTimes;

    SetField(view->m_pEditMonth, "03");
    Generate("14", "03", "2006");
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].text, "By date:\t14.03.2006\nSolar Eclipses isn't possibly");
    EXPECT_EQ(boxes.m_calls[0].caption, "EXCLAMATION");
    EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);
    // The lines of 29 March are not left standing under the map of 14 March.
    EXPECT_EQ(BlockInk(), 0);
    EXPECT_TRUE(view->GetScene().contactLines.empty());
    // The animation of 29 March goes on where it was.
    EXPECT_EQ(view->m_stepTimes, steps);
    EXPECT_EQ(view->m_nCurStep, kFirstPenumbra2006 + 3);
    EXPECT_TRUE(Animating());
}

TEST_F(ContactAnimationTest, PlusAndMinusStepTenMinutesAcrossHourAndMidnight) {
    TypeDate("14", "3", "2006");
    struct Case {
        const char* hour;
        const char* minute;
        bool plus;
        const char* wantHour;
        const char* wantMinute;
    };
    const Case cases[] = {
        {"23", "55", true, "0", "5"},   {"0", "5", false, "23", "55"}, {"9", "50", true, "10", "0"},
        {"10", "0", false, "9", "50"},  {"7", "75", true, "8", "25"},  {"", "x", true, "0", "10"},
        {"12", "10", false, "12", "0"}, {"3", "9", false, "2", "59"},
    };
    for (const Case& c : cases) {
        TypeTime(c.hour, c.minute, "30");
        (c.plus ? view->m_pBtnPlus : view->m_pBtnMinus)->click();
        EXPECT_EQ(Field(IDC_HOUR), c.wantHour) << c.hour << ":" << c.minute;
        EXPECT_EQ(Field(IDC_MINUTE), c.wantMinute) << c.hour << ":" << c.minute;
        EXPECT_EQ(Field(IDC_SECOND), "30");
        EXPECT_EQ(Field(IDC_DAY), "14");
        EXPECT_EQ(view->m_nHour, Field(IDC_HOUR).toInt()); // the snapshot used the new time
    }
    EXPECT_TRUE(boxes.m_calls.empty());
}

TEST_F(ContactAnimationTest, PlusMovesTheSnapshotTenMinutesEast) {
    TypeDate("29", "3", "2006");
    TypeTime("10", "11", "0");
    view->m_pBtnCompute->click();
    const double before = UmbraColumn();
    EXPECT_GT(Umbra(Around(At(23, 16), 8)), 4);

    view->m_pBtnPlus->click();
    EXPECT_EQ(Field(IDC_MINUTE), "21");
    // 10:21: about 25°N 19°E, a few degrees further along the path.
    EXPECT_GT(Umbra(Around(At(26, 19.3), 8)), 4);
    EXPECT_GT(UmbraColumn(), before + 3);

    view->m_pBtnMinus->click();
    EXPECT_EQ(Field(IDC_MINUTE), "11");
    EXPECT_NEAR(UmbraColumn(), before, 0.5);
}

TEST_F(ContactAnimationTest, PlusWithTheDateMissingShiftsTheTimeThenShowsTheError) {
    TypeTime("9", "55", "0");
    view->m_pBtnPlus->click();
    EXPECT_EQ(Field(IDC_HOUR), "10");
    EXPECT_EQ(Field(IDC_MINUTE), "5");
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
}

TEST_F(ContactAnimationTest, DatesThatDoNotExistGetAnErrorBoxAndNothingIsComputed) {
    // 57.2.2006 once rolled over to 29 March and showed its eclipse; 31.2.2006 was 3 March.
    const char* dates[][3] = {{"57", "2", "2006"},
                              {"31", "2", "2006"},
                              {"1", "0", "2006"},
                              {"1", "14", "2006"},
                              {"10", "10", "1582"}};
    for (const auto& d : dates) {
        boxes.m_calls.clear();
        const QImage before = Picture().copy();
        Generate(d[0], d[1], d[2]);
        ASSERT_EQ(boxes.m_calls.size(), 1u) << d[0] << "." << d[1] << "." << d[2];
        EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
        EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);
        const std::string named = std::string(d[0]) + "." + d[1] + "." + d[2];
        EXPECT_NE(boxes.m_calls[0].text.toStdString().find(named), std::string::npos)
            << boxes.m_calls[0].text.toStdString();
        EXPECT_FALSE(Animating());
        EXPECT_TRUE(view->GetScene().contactLines.empty());
        EXPECT_EQ(Picture(), before);
    }
    // The snapshot is refused the same way, and so is a time that is no time of day.
    boxes.m_calls.clear();
    TypeDate("31", "2", "2006");
    TypeTime("10", "0", "0");
    view->m_pBtnCompute->click();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
    boxes.m_calls.clear();
    TypeDate("29", "3", "2006");
    TypeTime("25", "0", "0");
    view->m_pBtnCompute->click();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].caption, "ERROR");
    EXPECT_EQ(Umbra(QRect(0, 0, 730, 330)), 0);
}

TEST_F(ContactAnimationTest, CalculateDuringTheAnimationStopsItSoTheSnapshotStays) {
    Generate("29", "3", "2006");
    Ticks(3);
    ASSERT_TRUE(Animating());
    TypeTime("10", "11", "0");
    view->m_pBtnCompute->click();
    EXPECT_FALSE(Animating());
    const QImage shown = Picture().copy();
    EXPECT_GT(Umbra(Around(At(23, 16), 8)), 4); // 10:11 UT over Libya
    // No frame follows to wipe it.
    QApplication::processEvents();
    EXPECT_EQ(Picture(), shown);
}
