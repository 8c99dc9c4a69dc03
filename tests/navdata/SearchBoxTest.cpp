#include "navdata/SearchBox.h"

#include "navdata/GcNav.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

TEST(SearchBoxTest, BoxAroundAMidLatitudePosition) {
    const SearchBox box = SearchBox::around(47.0, 8.0, 200.0);
    EXPECT_NEAR(box.south, 47.0 - 200.0 / 60.0, 1e-9);
    EXPECT_NEAR(box.north, 47.0 + 200.0 / 60.0, 1e-9);
    EXPECT_LT(box.west, 8.0 - 200.0 / 60.0);
    EXPECT_GT(box.east, 8.0 + 200.0 / 60.0);
    EXPECT_FALSE(box.crossesAntimeridian());
    EXPECT_FALSE(box.allLongitudes);
}

TEST(SearchBoxTest, HoldsEveryPointWithinRangeAtHighLatitude) {
    const SearchBox box = SearchBox::around(70.0, 20.0, 200.0);
    const GcNav centre(70.0, 20.0);
    for (double course = 0.0; course < 360.0; course += 5.0) {
        double lat = 0.0;
        double lon = 0.0;
        centre.destination(course, 199.9, lat, lon);
        EXPECT_TRUE(box.contains(lat, lon)) << course;
    }
    EXPECT_FALSE(box.contains(70.0, 40.0));
}

TEST(SearchBoxTest, BoxAcrossThe180thMeridianWrapsRound) {
    const SearchBox box = SearchBox::around(-17.0, 179.95, 200.0);
    EXPECT_TRUE(box.crossesAntimeridian());
    EXPECT_GT(box.west, box.east);
    EXPECT_TRUE(box.contains(-17.0, -179.95));
    EXPECT_TRUE(box.contains(-17.0, 179.0));
    EXPECT_FALSE(box.contains(-17.0, 0.0));
    EXPECT_FALSE(box.contains(-17.0, 170.0));
}

TEST(SearchBoxTest, PolarRuleAndBoxesThatReachAPole) {
    const struct {
        double latitude;
        bool north90;
        bool south90;
        bool all;
    } cases[] = {
        {85.0, true, false, false}, {-85.0, false, true, false}, {88.5, true, false, true},
        {80.0, true, false, false}, {-80.0, false, true, false}, {79.9, false, false, false},
    };
    for (const auto& c : cases) {
        const SearchBox box = SearchBox::around(c.latitude, 100.0, 200.0);
        EXPECT_EQ(box.north == 90.0, c.north90) << c.latitude;
        EXPECT_EQ(box.south == -90.0, c.south90) << c.latitude;
        EXPECT_EQ(box.allLongitudes, c.all) << c.latitude;
    }
    const SearchBox polar = SearchBox::around(88.0, 0.0, 300.0);
    EXPECT_TRUE(polar.contains(89.0, 180.0));
    EXPECT_TRUE(polar.contains(86.0, -90.0));
}

} // namespace
} // namespace tavi
