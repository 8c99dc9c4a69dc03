#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/FlightDirector.h"
#include "avionics/Radio.h"
#include "displays/Pfd.h"
#include "platform/gfx/Surface.h"
#include "support/FlightScenario.h"
#include "support/IlsApproach.h"
#include "support/ScreenShots.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <numbers>

namespace tavi::test {
namespace {

constexpr uint32_t kGreenInk = 0xFF00FF00;
constexpr uint32_t kRedInk = 0xFFFF0000;
constexpr uint32_t kAmberInk = 0xFFF8DF23;
constexpr uint32_t kSkyInk = 0xFF005096;
constexpr uint32_t kGroundInk = 0xFF543900;

// The module flying on the stand-in's flight model, its displays drawn at their logical size.
class PfdFlightTest : public testing::Test {
protected:
    Pfd& pfd(int side) {
        return *dynamic_cast<Pfd*>(flight.aircraft().display(side == 1 ? kPfdLeft : kPfdRight));
    }

    // Draws the side's display (again when the frame throttle skipped it); when PFD_SCREENS
    // names a folder, every screen of the state is written there at twice its size, in a folder
    // of the state's name.
    void draw(int side, const std::string& name) {
        surface.setLogicalSize(Pfd::kWidth, Pfd::kHeight);
        surface.changed = false;
        for (int attempt = 0; attempt < 5 && !surface.changed; ++attempt) {
            pfd(side).draw(surface, 400, 476, false);
        }
        if (const char* folder = std::getenv("PFD_SCREENS")) {
            const auto state = std::filesystem::path(folder) / name;
            std::filesystem::create_directories(state);
            writeScreens(flight.aircraft(), state, 2);
        }
    }

    // Pixels of about the colour in the rectangle.
    int count(uint32_t colour, int x, int y, int width, int height) const {
        int found = 0;
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                const uint32_t pixel = surface.pixel(px, py);
                bool near = true;
                for (int shift : {0, 8, 16}) {
                    near = near && std::abs(static_cast<int>((pixel >> shift) & 0xFF) -
                                            static_cast<int>((colour >> shift) & 0xFF)) <= 24;
                }
                found += near ? 1 : 0;
            }
        }
        return found;
    }
    int lit(int x, int y, int width, int height) const {
        int found = 0;
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                found += (surface.pixel(px, py) & 0xFFFFFF) > 0x202020 ? 1 : 0;
            }
        }
        return found;
    }
    // Green ink on the vertical speed needle, 70 units from the scale's centre at the angle.
    bool needleAt(double degrees) const {
        const double a = degrees * std::numbers::pi / 180.0;
        const int x = static_cast<int>(std::lround(409.0 - 70.0 * std::cos(a)));
        const int y = static_cast<int>(std::lround(380.0 - 70.0 * std::sin(a)));
        return count(kGreenInk, x - 2, y - 2, 5, 5) > 0;
    }
    Electric& electric() { return *flight.aircraft().electric(); }
    Adc& adc() { return *flight.aircraft().adc(); }

    FlightScenario flight;
    platform::gfx::Surface surface{400, 476};
};

TEST_F(PfdFlightTest, TakeOffRollShowsTheGroundAttitudeAndTheDrumFromFortyKnots) {
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    flight.pressKey(FlightScenario::kFlightDirectorKey);
    flight.pressKey(FlightScenario::kToGaKey);
    flight.fly(1.0);
    draw(1, "TakeOffStand");
    EXPECT_EQ(lit(22, 137, 37, 20), count(0xFFF5F5F5, 22, 137, 37, 20))
        << "below 40 kt the speed drum is empty";
    EXPECT_GT(count(kSkyInk, 160, 80, 80, 40), 500);
    EXPECT_GT(count(kGroundInk, 160, 160, 80, 40), 500);
    EXPECT_GT(count(kGreenInk, 224, 7, 20, 16), 10) << "TO in the vertical mode cell";

    if (flight.simulator().panel.token(323) != 0.0) {
        flight.pressKey(FlightScenario::kParkingBrakeKey);
    }
    flight.setThrustLevers(72.0);
    ASSERT_TRUE(flight.flyUntil(90.0, [&] { return flight.indicatedKnots() >= 100.0; }));
    draw(1, "TakeOffRoll");
    EXPECT_GT(count(kGreenInk, 22, 125, 38, 44), 30) << "the drum shows the speed";
    EXPECT_TRUE(needleAt(0.0)) << "no climb on the runway";
}

TEST_F(PfdFlightTest, ClimbTurnsTheNeedleAndShowsTheRoundedReadout) {
    flight.startInFlight(46.96, 7.62, 5000.0, 90.0, 220.0);
    flight.setThrustLevers(72.0);
    flight.fly(20.0, [&] { flight.holdPitch(-8.0); });
    const float climb = flight.aircraft().ahrs()->unit1.verticalSpeed;
    ASSERT_GT(climb, 600.0f);
    draw(1, "Climb");
    const float deflection = Pfd::vsiDeflection(static_cast<float>(static_cast<int32_t>(climb)));
    EXPECT_TRUE(needleAt(deflection)) << climb;
    EXPECT_GT(count(kGreenInk, 329, 370, 40, 18), 10) << "readout beyond 500 fpm";
    EXPECT_GT(count(kSkyInk, 160, 100, 80, 30), 500) << "nose up: sky fills the upper sphere";
}

TEST_F(PfdFlightTest, CruiseArcWithTheFmsSourceWithoutAPlan) {
    flight.startInFlight(46.96, 7.62, 12000.0, 60.0, 250.0);
    flight.fly(5.0);
    flight.simulator().panel.setNamedVariable("TaviPfd1FullWxClick", 1.0);
    flight.simulator().panel.setNamedVariable("RuriRaz1OroDezor", 1.0);
    flight.fly(1.0);
    ASSERT_TRUE(pfd(1).hsiArcMode);
    draw(1, "CruiseArcFms");
    EXPECT_GT(count(kGreenInk, 22, 255, 36, 20), 10) << "the Mach readout from Mach 0.45";
    EXPECT_GT(count(kGreenInk, 185, 274, 32, 18), 10) << "the heading readout";
    EXPECT_GT(count(kRedInk, 160, 425, 80, 20), 10) << "the course flag without LNAV";
    EXPECT_GT(count(kAmberInk, 22, 325, 40, 18), 4) << "no active waypoint";
    draw(2, "CruiseRose");
    EXPECT_LT(count(kRedInk, 160, 425, 80, 20), count(kRedInk, 160, 370, 80, 20))
        << "side 2 keeps its rose and its course flag about the rose centre";
}

TEST_F(PfdFlightTest, IlsApproachShowsTheGlideSlopeScaleAndModes) {
    IlsApproach approach(flight);
    approach.setUp();
    ASSERT_TRUE(flight.flyUntil(
        240.0, [&] { return flight.fd().verticalMode() == FdVerticalMode::Gs; },
        [&] { approach.fly(); }));
    flight.fly(5.0, [&] { approach.fly(); });
    draw(1, "IlsApproach");
    EXPECT_GT(count(kGreenInk, 224, 7, 26, 16), 10) << "GS active";
    EXPECT_GT(count(0xFFF5F5F5, 289, 166, 12, 12), 4) << "the scale's lower dots";
    const double gsi = flight.aircraft().radio()->unit1.gsi;
    const int pointerY = static_cast<int>(std::lround(147.0 + gsi * 52.0 / 120.0));
    EXPECT_GT(count(kGreenInk, 291, pointerY - 6, 12, 13), 5) << gsi;
    EXPECT_GT(count(kGreenInk, 250, 380, 40, 10) + count(kGreenInk, 160, 300, 80, 160), 50)
        << "the localizer course pointer";
}

TEST_F(PfdFlightTest, SideTwoPowerLossLeavesSideOneWithAmberComparisons) {
    flight.startInFlight(46.96, 7.62, 8000.0, 90.0, 240.0);
    electric().avionicsMaster2 = false;
    flight.fly(11.0);
    EXPECT_TRUE(pfd(2).unpowered);
    draw(2, "SideTwoOff");
    EXPECT_EQ(lit(0, 0, 400, 476), 0);
    draw(1, "SideOneComparing");
    EXPECT_GT(count(kAmberInk, 122, 102, 34, 18), 10) << "ATT comparison";
    EXPECT_GT(count(kAmberInk, 23, 41, 12, 44), 10) << "IAS letters";
    EXPECT_GT(count(kAmberInk, 365, 41, 12, 44), 10) << "ALT letters";
    EXPECT_GT(count(kAmberInk, 220, 258, 40, 20), 10) << "HDG comparison";
    EXPECT_EQ(count(kRedInk, 177, 87, 46, 34), 0) << "side 1's attitude is good";
    EXPECT_GT(count(kGreenInk, 22, 125, 38, 44), 30) << "side 1's speed drum is whole";
}

TEST_F(PfdFlightTest, PowerUpTestFailsAttitudeAndHeadingForAMinute) {
    flight.startInFlight(46.96, 7.62, 8000.0, 90.0, 240.0);
    electric().avionicsMaster1 = false;
    flight.fly(1.0);
    electric().avionicsMaster1 = true;
    flight.fly(2.0);
    ASSERT_TRUE(adc().selfTest[0]);
    draw(1, "PowerUpTest");
    EXPECT_GT(count(kRedInk, 177, 87, 46, 34), 20) << "ATT FAIL";
    EXPECT_GT(count(kRedInk, 180, 330, 40, 30), 10) << "HDG TEST";
    EXPECT_EQ(count(kGroundInk, 130, 180, 140, 50), 0) << "a plain sky without a horizon";
    EXPECT_GT(count(kAmberInk, 40, 10, 30, 24), 5) << "speed target dashes";
    flight.fly(60.0);
    draw(1, "PowerUpTestOver");
    EXPECT_EQ(count(kRedInk, 177, 87, 46, 34), 0);
    EXPECT_GT(count(kGroundInk, 130, 180, 140, 50), 100);
}

TEST_F(PfdFlightTest, SelfTestPagePassesItemByItem) {
    flight.startInFlight(46.96, 7.62, 8000.0, 90.0, 240.0);
    // Nothing in the aircraft starts the air data's IBIT; the page is shown while it runs.
    adc().failed[0] = true;
    adc().powerOnTime[0] = flight.aircraft().simTimeMs;
    flight.fly(7.0);
    draw(1, "SelfTestEarly");
    EXPECT_GT(count(kGreenInk, 50, 120, 80, 20), 20) << "the page title";
    EXPECT_GT(count(kAmberInk, 290, 120, 50, 20), 10) << "WAIT";
    EXPECT_GT(count(kGreenInk, 290, 160, 50, 20), 10) << "the first item passed at 6 s";
    EXPECT_GT(count(kRedInk, 290, 182, 50, 20), 10) << "the second fails until 9 s";
    EXPECT_EQ(count(kSkyInk, 120, 60, 160, 180), 0) << "no instrument under the page";
    adc().powerOnTime[0] = flight.aircraft().simTimeMs - 31000;
    draw(1, "SelfTestDone");
    EXPECT_EQ(count(kRedInk, 290, 160, 50, 200), 0);
    EXPECT_EQ(count(kAmberInk, 290, 120, 50, 20), 0);
    draw(2, "SelfTestOtherSide");
    EXPECT_GT(count(kSkyInk, 120, 60, 160, 100), 100) << "only side 1 runs its test";
}

} // namespace
} // namespace tavi::test
