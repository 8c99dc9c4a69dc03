// The MFD's TCAS page over the stand-in's traffic, as the TCAS scans it: other traffic and a
// proximate aircraft, then an intruder closing head-on through a traffic advisory into a
// resolution advisory.
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "displays/Mfd.h"
#include "support/ScreenInk.h"
#include "support/ScreenShots.h"
#include "support/TcasBench.h"
#include "support/TempFolder.h"

#include <functional>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr uint32_t kOther = 1;
constexpr uint32_t kProximate = 2;
constexpr uint32_t kThreat = 3;

class MfdTcasPage : public testing::Test {
protected:
    MfdTcasPage() {
        bench.setOwnTrueHeading(0.0);
        bench.setOwnGroundSpeed(0.0);
        bench.setOwnAltitude(10000.0, 5000.0);
        bench.aircraft().radio()->unit1.increaseTcasRange(false);
        bench.traffic().set(bench.intruder(kOther, 9.0, 90.0, 1500.0, 90.0, 100.0));
        bench.traffic().set(bench.intruder(kProximate, 4.0, 270.0, 600.0, 270.0, 100.0));
        mfd().onButton(3);
        bench.scans(3);
    }

    Mfd& mfd() { return *static_cast<Mfd*>(bench.aircraft().display(kMfdLeft)); }
    // Where the traffic record stands on the north-up page.
    platform::gfx::PointF at(uint32_t id) {
        const TcasTraffic* record = bench.record(id);
        const double scale = 120.0 / bench.aircraft().radio()->unit1.tcasRange;
        return {200.0 + scale * record->east, 360.0 - scale * record->north};
    }
    int inkAround(uint32_t colour, platform::gfx::PointF point) {
        return inkCount(surface, colour, point.x - 7, point.y - 7, 14, 14);
    }
    void draw(const std::string& state) {
        ASSERT_TRUE(drawScreen(mfd(), kMfdLeft, surface));
        EXPECT_FALSE(writeScreenState(bench.aircraft(), kMfdLeft, folder.path(), state).empty());
    }
    bool scanUntil(const std::function<bool()>& condition) {
        for (int i = 0; i < 80 && !condition(); ++i) {
            bench.scan();
        }
        return condition();
    }

    TcasBench bench;
    platform::gfx::Surface surface{400, 476};
    TempFolder folder;
};

TEST_F(MfdTcasPage, EachThreatLevelHasItsSymbolAndOtherTrafficGoesDuringAnAdvisory) {
    ASSERT_EQ(bench.aircraft().radio()->unit1.tcasRange, 12);
    ASSERT_NE(bench.record(kOther), nullptr);
    ASSERT_NE(bench.record(kProximate), nullptr);
    ASSERT_EQ(bench.record(kOther)->threatLevel, kTcasOtherTraffic);
    ASSERT_EQ(bench.record(kProximate)->threatLevel, kTcasProximate);
    draw("TcasTraffic");
    const int outline = inkAround(Mfd::kCyan, at(kOther));
    const int filled = inkAround(Mfd::kCyan, at(kProximate));
    EXPECT_GT(outline, 10) << "an open cyan diamond";
    EXPECT_GT(filled, outline + 20) << "a filled cyan diamond";
    EXPECT_GT(inkCount(surface, Mfd::kCyan, at(kOther).x - 12, at(kOther).y - 20, 26, 14), 10)
        << "+15 above the symbol";
    EXPECT_GT(inkCount(surface, 0xFFF5F5F5, 195, 335, 10, 10), 2) << "the 2 nm ring's dot ahead";

    bench.traffic().set(bench.intruder(kThreat, 6.0, 0.0, 200.0, 180.0, 480.0));
    ASSERT_TRUE(scanUntil([&] {
        return bench.record(kThreat) && bench.record(kThreat)->threatLevel == kTcasTrafficAdvisory;
    }));
    draw("TcasTrafficAdvisory");
    EXPECT_GT(inkAround(Mfd::kYellow, at(kThreat)), 40) << "a yellow circle";
    EXPECT_EQ(inkAround(Mfd::kCyan, at(kOther)), 0) << "other traffic hidden";
    EXPECT_GT(inkAround(Mfd::kCyan, at(kProximate)), 20) << "proximate traffic stays";

    ASSERT_TRUE(
        scanUntil([&] { return bench.record(kThreat)->threatLevel == kTcasResolutionAdvisory; }));
    draw("TcasResolutionAdvisory");
    EXPECT_GT(inkAround(Mfd::kRed, at(kThreat)), 60) << "a red square";
}

} // namespace
} // namespace tavi::test
