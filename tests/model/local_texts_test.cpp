#include "model/local_texts.h"

#include "eclipse/local_data.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool Has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The report at the 2017 sample's greatest point, from the canon's elements: the
// published times and values appear as the user reads them.
TEST(LocalTexts, TotalEclipseReport) {
    const PolynomialElements e = CanonElements("2017-08-21");
    LocalReport r;
    r.latitude = 36.97;
    r.longitude = -87.66;
    r.placeName = "Hopkinsville, US";
    r.greatestJdUT = ParseIsoInstant("2017-08-21T18:25:30");
    r.local = ComputeLocalCircumstances(e, {r.latitude, r.longitude, 0.0});
    const std::string text =
        LocalCircumstancesText(r, [](double) { return std::string("12:00:00.0 CDT"); });
    EXPECT_TRUE(Has(text, "Solar eclipse of 2017 August 21\n")) << text;
    EXPECT_TRUE(Has(text, "Hopkinsville, US (36.970° N, 87.660° W)")) << text;
    EXPECT_TRUE(Has(text, "Total eclipse.")) << text;
    EXPECT_TRUE(
        Has(text, "First contact:  16:56:04.0 UT  12:00:00.0 CDT\n      Sun 61.8° high, az. "))
        << text;
    EXPECT_TRUE(Has(text, "Second contact:  18:24:10.0 UT")) << text;
    EXPECT_TRUE(Has(text, "Maximum:  18:25:30.1 UT")) << text;
    EXPECT_TRUE(Has(text, "Last contact:  19:51:13.8 UT")) << text;
    EXPECT_TRUE(Has(text, "Magnitude:\t1.0306\nObscuration:\t100.0 %")) << text;
    EXPECT_TRUE(Has(text, "Duration of totality:\t2 min 40.1 s")) << text;
    EXPECT_FALSE(Has(text, "below the horizon")) << text;
}

TEST(LocalTexts, OutsideTheReachAndBelowTheHorizon) {
    const PolynomialElements e = CanonElements("2017-08-21");
    LocalReport r;
    r.latitude = 9.0;
    r.longitude = -109.0;
    r.greatestJdUT = ParseIsoInstant("2017-08-21T18:25:30");
    r.local = ComputeLocalCircumstances(e, {r.latitude, r.longitude, 0.0});
    const std::string none = LocalCircumstancesText(r, {});
    EXPECT_TRUE(Has(none, "9.000° N, 109.000° W")) << none;
    EXPECT_TRUE(Has(none, "The eclipse is not seen here")) << none;

    // In progress at sunset (the sample's 30 N 27 W): last contact below the horizon.
    r.latitude = 30.0;
    r.longitude = -27.0;
    r.local = ComputeLocalCircumstances(e, {r.latitude, r.longitude, 0.0});
    const std::string sunset = LocalCircumstancesText(r, {});
    EXPECT_TRUE(Has(sunset, "Partial eclipse.")) << sunset;
    EXPECT_TRUE(Has(sunset, "Last contact:  20:30:02.4 UT\n      Sun -2.4° high")) << sunset;
    EXPECT_TRUE(Has(sunset, "(below the horizon)")) << sunset;
    EXPECT_FALSE(Has(sunset, "Duration")) << sunset;
}

} // namespace
