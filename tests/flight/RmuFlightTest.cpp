// The radio management unit in cruise on the flight model: the crew tunes a VORTAC through the
// RMU's knob and keys, and its backup pages show the station and the running engines.
#include "airframe/JetEngine.h"
#include "avionics/Radio.h"
#include "displays/Rmu.h"
#include "platform/gfx/Surface.h"
#include "support/FlightScenario.h"

#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

constexpr uint32_t kRmuScreenCyan = 0xFF00FFFF;
constexpr uint32_t kRmuScreenGreen = 0xFF00FF00;

class RmuFlight : public testing::Test {
protected:
    RmuFlight() { flight.startInFlight(47.0, 8.0, 6000.0, 90.0, 220.0); }

    // The RMU 1 key or knob direction pressed through its named variable, as the bezel's gauge
    // does, for one frame.
    void click(const std::string& button, int times = 1) {
        for (int i = 0; i < times; ++i) {
            flight.simulator().panel.setNamedVariable("Rmu1Button" + button + "Click", 1.0);
            flight.fly(0.08);
        }
    }
    const RadioUnit& unit() { return flight.aircraft().radio()->unit1; }
    platform::gfx::Surface& drawn() {
        auto& rmu = *static_cast<Rmu*>(flight.aircraft().display(kRmuLeft));
        surface.setLogicalSize(Rmu::kWidth, Rmu::kHeight);
        surface.changed = false;
        for (int attempt = 0; attempt < 5 && !surface.changed; ++attempt) {
            rmu.draw(surface, 180, 225, false);
        }
        return surface;
    }
    int count(uint32_t colour, int x, int y, int w, int h) {
        int found = 0;
        for (int py = y; py < y + h; ++py) {
            for (int px = x; px < x + w; ++px) {
                found += surface.pixel(px, py) == colour ? 1 : 0;
            }
        }
        return found;
    }

    FlightScenario flight;
    platform::gfx::Surface surface{180, 225};
};

// The radios' active frequencies as the simulator loads the flight reach both units' lines.
TEST_F(RmuFlight, BothUnitsShowTheActiveFrequenciesTheFlightLoadedWith) {
    const Radio& radio = *flight.aircraft().radio();
    EXPECT_EQ(radio.unit1.comActiveText, "118.100");
    EXPECT_EQ(radio.unit1.navActiveText, "110.500");
    EXPECT_EQ(radio.unit2.comActiveText, "121.500");
    EXPECT_EQ(radio.unit2.navActiveText, "113.900");
}

TEST_F(RmuFlight, AVortacTunedThroughTheKnobShowsOnTheNavigationBackupPage) {
    click("R2");
    click("KnobRight", 4);
    click("InnerKnobRight", 6);
    EXPECT_EQ(unit().navStandbyText, "112.300");
    click("R1");
    flight.fly(2.0);
    ASSERT_EQ(unit().navActiveText, "112.300") << "the simulator's NAV 1 took the frequency";
    ASSERT_NE(unit().navSignal, 0);
    ASSERT_GT(unit().dmeDistance, 5.0f);

    click("Pge");
    click("R2");
    drawn();
    EXPECT_GT(count(kRmuScreenCyan, 6, 137, 8, 8), 20) << "VOR readout";
    EXPECT_GT(count(kRmuScreenCyan, 45, 58, 90, 110), 40) << "VOR needle on the arc, ahead";
    EXPECT_GT(count(kRmuScreenGreen, 136, 196, 38, 16), 10) << "DME distance";
}

TEST_F(RmuFlight, TheEngineBackupPageShowsTheRunningEngines) {
    click("Pge");
    click("R3");
    const float n1 = flight.aircraft().engine1()->n1Percent;
    ASSERT_GT(n1, 30.0f);
    ASSERT_LT(n1, 100.0f);
    drawn();
    const int tip = static_cast<int>(70.0f - n1 / 2.0f);
    EXPECT_EQ(surface.pixel(13, tip), kRmuScreenCyan) << "engine 1 pointer at " << n1 << " %";
    EXPECT_GT(count(kRmuScreenGreen, 30, 32, 30, 14), 20) << "engine 1 N1 in green";
}

} // namespace
} // namespace tavi::test
