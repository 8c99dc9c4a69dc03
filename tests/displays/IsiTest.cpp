#include "displays/Isi.h"

#include "avionics/Baro.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"
#include "support/NonFiniteValues.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

// The standby instrument on the module, its air data and attitude played by the test.
class StandbyInstrument : public testing::Test {
protected:
    StandbyInstrument() {
        bench.adc.maxOperatingSpeed = 250.0f;
        bench.adc.smoothedAirspeed = 180.0f;
        bench.adc.mach = 0.3f;
        bench.ahrs.unit1.heading = 90.0f;
        // The bench powers the buses after the module's first frames, which starts an alignment.
        while (isi().isAligning()) {
            bench.stepBy(1.0);
        }
    }

    Isi& isi() { return *static_cast<Isi*>(bench.aircraft().display(kStandbyInstrument)); }
    Baro& baro() { return *bench.aircraft().baro(); }
    void powerCycle() {
        bench.network.avionicsMaster2 = false;
        bench.step();
        bench.network.avionicsMaster2 = true;
        bench.step();
    }
    void runFor(double seconds) {
        for (double t = 0.0; t < seconds - 1e-6; t += 0.5) {
            bench.stepBy(0.5);
        }
    }
    platform::gfx::Surface& drawn() {
        EXPECT_TRUE(drawScreen(isi(), kStandbyInstrument, surface));
        return surface;
    }
    // Whether the pixel is close to the colour.
    bool near(int x, int y, platform::gfx::Argb colour) {
        const uint32_t p = surface.pixel(x, y);
        for (int shift : {0, 8, 16}) {
            if (std::abs(static_cast<int>((p >> shift) & 0xFF) -
                         static_cast<int>((colour >> shift) & 0xFF)) > 24) {
                return false;
            }
        }
        return true;
    }
    bool sky(int x, int y) { return near(x, y, 0xFF005096) || near(x, y, 0xFF005DA5); }
    bool ground(int x, int y) { return near(x, y, 0xFF543900) || near(x, y, 0xFF683C00); }
    int yellowIn(int x, int y, int width, int height) {
        int count = 0;
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                count += near(px, py, Isi::kYellow) ? 1 : 0;
            }
        }
        return count;
    }

    AvionicsBench bench;
    platform::gfx::Surface surface{210, 210};
};

TEST_F(StandbyInstrument, MachReadoutHysteresis) {
    const struct {
        float mach;
        bool shown;
    } steps[] = {{0.30f, false}, {0.44f, false},  {0.45f, true},
                 {0.42f, true},  {0.399f, false}, {0.42f, false}};
    for (const auto& s : steps) {
        bench.adc.mach = s.mach;
        bench.step();
        EXPECT_EQ(isi().machShown, s.shown) << s.mach;
    }
    EXPECT_EQ(Isi::machText(1.2f), ".99");
    EXPECT_EQ(Isi::machText(0.78f), ".78");
}

TEST_F(StandbyInstrument, PowerUpAlignsForNinetySecondsThroughAPowerCycle) {
    powerCycle();
    ASSERT_TRUE(isi().aligning);
    EXPECT_EQ(isi().alignmentText(), "INIT 90s");
    const uint32_t start = isi().alignStartTime;
    runFor(30.0);
    powerCycle();
    EXPECT_EQ(isi().alignStartTime, start) << "a power-up while aligning does not restart it";
    while (bench.now() - start < Isi::kAlignMs - 100) {
        bench.step();
    }
    EXPECT_TRUE(isi().aligning);
    runFor(0.5);
    EXPECT_FALSE(isi().aligning);
    EXPECT_EQ(isi().alignmentText(), "");
}

TEST_F(StandbyInstrument, CageHeldTwoSecondsRunsTheShortAlignment) {
    isi().setCageButton(true);
    runFor(1.5);
    isi().setCageButton(false);
    runFor(3.0);
    EXPECT_FALSE(isi().fastAligning) << "released after 1.5 s";

    isi().setCageButton(true);
    runFor(2.5);
    ASSERT_TRUE(isi().fastAligning);
    EXPECT_EQ(isi().alignmentText(), "INIT 10s");
    isi().setCageButton(false);
    runFor(8.0);
    EXPECT_TRUE(isi().fastAligning);
    runFor(2.0);
    EXPECT_FALSE(isi().fastAligning);

    isi().setCageButton(true);
    isi().setCageButton(true);
    runFor(2.5);
    int unflaggedFrames = 0;
    for (int i = 0; i < 60; ++i) {
        runFor(0.5);
        unflaggedFrames += isi().isAligning() ? 0 : 1;
    }
    EXPECT_LE(unflaggedFrames, 3) << "held 30 s: each period starts the frame after the last";
}

TEST_F(StandbyInstrument, NamedVariablesActOnceAndReadZeroAgain) {
    const struct {
        const char* name;
        int presses;
        float inHg;
        int32_t brightness;
    } cases[] = {
        {"IsiKnobIncClick", 3, 30.03f, 255},   {"IsiKnobDecClick", 2, 30.01f, 255},
        {"IsiStdClick", 1, 29.92f, 255},       {"IsiDecBrightClick", 30, 29.92f, 128},
        {"IsiIncBrightClick", 2, 29.92f, 138},
    };
    baro().setStandbyBaroSetting(30.0f);
    for (const auto& c : cases) {
        for (int i = 0; i < c.presses; ++i) {
            bench.panel().setNamedVariable(c.name, 1.0);
            bench.step();
            EXPECT_EQ(bench.panel().namedVariable(c.name), 0.0) << c.name;
        }
        EXPECT_NEAR(baro().standbySettingInHg, c.inHg, 0.001) << c.name;
        EXPECT_EQ(isi().brightness, c.brightness) << c.name;
    }
}

TEST_F(StandbyInstrument, PressureUnitAndPowerFromBusTwoBehindTheMaster) {
    const struct {
        const char* value;
        bool inches;
    } units[] = {{"1", false}, {"3", false}, {"0", true}, {"", true}, {"hpa", true}};
    for (const auto& u : units) {
        bench.aircraft().writeIniString("Preferences", "pressUseHpa", u.value);
        isi().loadSettings(bench.aircraft());
        EXPECT_EQ(isi().baroInInches, u.inches) << u.value;
    }
    BusLoads loads;
    isi().addElectricLoad(bench.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[2], 5.0f);
    bench.network.avionicsMaster2 = false;
    bench.step();
    EXPECT_TRUE(isi().unpowered);
    BusLoads dark;
    isi().addElectricLoad(bench.aircraft(), dark);
    EXPECT_FLOAT_EQ(dark[2], 0.0f);
    drawn();
    EXPECT_EQ(surface.pixel(104, 100), 0xFF000000u);
}

TEST_F(StandbyInstrument, DrumsAndHeadingLabels) {
    const Isi::Drums high = Isi::altitudeDrums(9985.0f);
    EXPECT_EQ(high.hundreds, 9);
    EXPECT_FLOAT_EQ(high.hundredsRoll, 0.25f);
    EXPECT_EQ(high.thousands, 9);
    EXPECT_FLOAT_EQ(high.thousandsRoll, 0.25f);
    EXPECT_EQ(high.tenThousands, 0);
    const Isi::Drums low = Isi::altitudeDrums(-150.0f);
    EXPECT_EQ(low.hundreds, 1);
    EXPECT_EQ(low.rest, 50);
    EXPECT_FLOAT_EQ(low.hundredsRoll, 0.0f);
    const struct {
        int32_t degrees;
        const char* label;
    } labels[] = {{0, "36"}, {360, "36"}, {20, "2"}, {-20, "34"}, {400, "4"}};
    for (const auto& l : labels) {
        EXPECT_EQ(Isi::headingLabel(l.degrees), l.label) << l.degrees;
    }
}

TEST_F(StandbyInstrument, SphereFollowsPitchAndBank) {
    drawn();
    EXPECT_TRUE(sky(104, 80));
    EXPECT_TRUE(ground(104, 120));
    EXPECT_TRUE(sky(60, 95) && ground(60, 105)) << "level horizon at y 100";
    bench.ahrs.unit2.pitch = 10.0f;
    drawn();
    EXPECT_TRUE(ground(60, 80)) << "shifted up by 34";
    EXPECT_TRUE(sky(60, 60));
    bench.ahrs.unit2.pitch = 0.0f;
    bench.ahrs.unit2.bank = 30.0f;
    drawn();
    EXPECT_TRUE(ground(50, 110) != ground(158, 110)) << "banked horizon";
}

TEST_F(StandbyInstrument, FlagsWhileAligningOrFailed) {
    drawn();
    EXPECT_EQ(yellowIn(84, 45, 40, 20), 0) << "no ATT flag";
    EXPECT_EQ(yellowIn(164, 94, 36, 16), 0) << "no ALT flag";
    powerCycle();
    drawn();
    EXPECT_GT(yellowIn(84, 45, 40, 20), 400) << "ATT";
    EXPECT_GT(yellowIn(69, 150, 70, 20), 700) << "INIT 90s";
    EXPECT_GT(yellowIn(10, 92, 40, 20), 400) << "IAS";
    EXPECT_GT(yellowIn(162, 92, 40, 20), 400) << "ALT";
    EXPECT_EQ(yellowIn(95, 178, 20, 22), 0) << "no heading pointer";
    TempFolder folder;
    writeScreenState(bench.aircraft(), kStandbyInstrument, folder.path(), "aligning");

    runFor(91.0);
    bench.adc.validity[kAirspeedGroup][0].invalid = true;
    drawn();
    EXPECT_GT(yellowIn(10, 92, 40, 20), 400) << "IAS failed";
    EXPECT_EQ(yellowIn(164, 94, 36, 16), 0);
    EXPECT_GT(yellowIn(95, 178, 20, 22), 20) << "heading pointer";
    writeScreenState(bench.aircraft(), kStandbyInstrument, folder.path(), "airspeed-failed");
    bench.adc.validity[kAirspeedGroup][0].invalid = false;
    baro().standbySettingAltitude = 9985.0f;
    bench.ahrs.unit2.pitch = -5.0f;
    bench.ahrs.unit2.bank = -15.0f;
    writeScreenState(bench.aircraft(), kStandbyInstrument, folder.path(), "normal");
}

TEST_F(StandbyInstrument, ValuesThatAreNoNumberShowTheirFlags) {
    bench.adc.smoothedAirspeed = static_cast<float>(kNaN);
    baro().standbySettingAltitude = static_cast<float>(kInfinity);
    bench.ahrs.unit2.pitch = static_cast<float>(kNaN);
    drawn();
    EXPECT_GT(yellowIn(10, 92, 40, 20), 400) << "IAS";
    EXPECT_GT(yellowIn(162, 92, 40, 20), 400) << "ALT";
    EXPECT_GT(yellowIn(84, 45, 40, 20), 400) << "ATT";
    EXPECT_GT(yellowIn(95, 178, 20, 22), 20) << "the heading is still good";
    EXPECT_EQ(Isi::machText(static_cast<float>(kNaN)), ".00");
}

TEST_F(StandbyInstrument, DimsUnderAVeilBelowNeutral) {
    drawn();
    const uint32_t bright = surface.pixel(104, 120);
    isi().setBrightness(128);
    drawn();
    EXPECT_LT(surface.pixel(104, 120) & 0xFF0000, bright & 0xFF0000);
}

} // namespace
} // namespace tavi::test
