// The window's fields as the commands read and check them.

#include "model/input_check.h"

#include <gtest/gtest.h>

TEST(ParseFieldTexts, AtoiAndAtofMeaningCappedAndFinite) {
    const FieldValues v = ParseFieldTexts({"29", " 3x", "2006", "10", "", "1e999"});
    EXPECT_EQ(v.day, 29);
    EXPECT_EQ(v.month, 3);
    EXPECT_EQ(v.year, 2006);
    EXPECT_EQ(v.hour, 10);
    EXPECT_EQ(v.minute, 0);
    EXPECT_EQ(v.second, 0.0); // not finite: 0
    EXPECT_EQ(ParseFieldTexts({"a", "-", "9999999999", "", "", "nan"}).year, 2147483647);
}

TEST(InputProblemText, DatesThatDoNotExistAreNamed) {
    // 57.2.2006 once rolled over to the eclipse of 29 March.
    const std::string rolled = InputProblemText({57, 2, 2006, 0, 0, 0.0}, false);
    EXPECT_NE(rolled.find("57.2.2006"), std::string::npos) << rolled;
    EXPECT_NE(rolled.find("28 days"), std::string::npos) << rolled;
    EXPECT_NE(InputProblemText({31, 2, 2006, 0, 0, 0.0}, false), "");
    EXPECT_NE(InputProblemText({1, 0, 2006, 0, 0, 0.0}, false), "");
    EXPECT_NE(InputProblemText({1, 14, 2006, 0, 0, 0.0}, false), "");
    EXPECT_NE(InputProblemText({10, 10, 1582, 0, 0, 0.0}, false), "");
    EXPECT_NE(InputProblemText({1, 1, -2000, 0, 0, 0.0}, false).find("-2000"), std::string::npos);
    EXPECT_EQ(InputProblemText({29, 2, 2000, 0, 0, 0.0}, false), "");
    EXPECT_EQ(InputProblemText({29, 2, 1500, 0, 0, 0.0}, false), ""); // Julian leap year
}

TEST(InputProblemText, TimesOfDayOnlyForSnapshots) {
    EXPECT_EQ(InputProblemText({29, 3, 2006, 23, 59, 59.9}, true), "");
    EXPECT_NE(InputProblemText({29, 3, 2006, 24, 0, 0.0}, true).find("hour"), std::string::npos);
    EXPECT_NE(InputProblemText({29, 3, 2006, 10, 60, 0.0}, true).find("minute"), std::string::npos);
    EXPECT_NE(InputProblemText({29, 3, 2006, 10, 0, 60.0}, true).find("seconds"),
              std::string::npos);
    EXPECT_NE(InputProblemText({29, 3, 2006, -1, 0, 0.0}, true), "");
    // The contact-time run and the map start at 0h: the time fields do not matter.
    EXPECT_EQ(InputProblemText({29, 3, 2006, 99, 99, 99.0}, false), "");
}
