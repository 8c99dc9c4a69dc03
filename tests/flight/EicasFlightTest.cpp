#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pressure.h"
#include "avionics/Baro.h"
#include "avionics/EicasDau.h"
#include "displays/Eicas.h"
#include "displays/Isi.h"
#include "platform/gfx/Surface.h"
#include "support/FlightScenario.h"
#include "support/IlsApproach.h"
#include "support/ScreenShots.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

// The EICAS of the flying module, drawn in the flight's named states and written to pictures.
class EicasInFlight {
public:
    explicit EicasInFlight(FlightScenario& flight) : flight(flight) {}

    Eicas& eicas() { return *static_cast<Eicas*>(flight.aircraft().display(kEicasDisplay)); }
    JetEngine& engine(int number) {
        return number == 1 ? *flight.aircraft().engine1() : *flight.aircraft().engine2();
    }

    // Draws the screen at 1x for probing, and writes the state's picture at 2x.
    void capture(const std::string& state) {
        ASSERT_TRUE(drawScreen(eicas(), kEicasDisplay, surface));
        EXPECT_FALSE(
            writeScreenState(flight.aircraft(), kEicasDisplay, folder.path(), state).empty());
        writeScreenState(flight.aircraft(), kStandbyInstrument, folder.path(), state);
        for (const std::string& text : shownTexts()) {
            EXPECT_EQ(text.find("nan"), std::string::npos) << state;
            EXPECT_EQ(text.find("inf"), std::string::npos) << state;
        }
    }
    std::vector<std::string> shownTexts() {
        Eicas& screen = eicas();
        std::vector<std::string> texts;
        for (const JetEngine* e : {&engine(1), &engine(2)}) {
            texts.push_back(Eicas::n1Reading(e).text);
            texts.push_back(Eicas::ittReading(e).text);
            texts.push_back(Eicas::n2Reading(e).text);
            texts.push_back(screen.fuelFlowReading(e).text);
            texts.push_back(Eicas::oilPressureReading(e->oilPressure, e->n2Percent).text);
            texts.push_back(Eicas::oilTemperatureReading(e->oilTemperature).text);
        }
        texts.push_back(screen.fuelQuantityReading(screen.fuelSystem->leftFuel).text);
        texts.push_back(Eicas::cabinAltitudeReading(screen.pressure->cabinAltitude).text);
        texts.push_back(
            Eicas::differentialPressureReading(screen.pressure->differentialPressure).text);
        return texts;
    }
    // Pixels near the colour in the logical rectangle.
    int pixelsOf(platform::gfx::Argb colour, int x, int y, int width, int height) const {
        int count = 0;
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                const uint32_t p = surface.pixel(px, py);
                int distance = 0;
                for (int shift : {0, 8, 16}) {
                    distance =
                        std::max(distance, std::abs(static_cast<int>((p >> shift) & 0xFF) -
                                                    static_cast<int>((colour >> shift) & 0xFF)));
                }
                count += distance < 40 ? 1 : 0;
            }
        }
        return count;
    }
    // A green needle crosses the point at the radius along the angle from the pivot.
    bool needleAt(double pivotX, double pivotY, double degrees) const {
        const double angle = degrees * std::numbers::pi / 180.0;
        const int x = static_cast<int>(std::lround(pivotX + 24.0 * std::cos(angle)));
        const int y = static_cast<int>(std::lround(pivotY + 24.0 * std::sin(angle)));
        return pixelsOf(Eicas::kGreen, x - 1, y - 1, 3, 3) > 0;
    }
    bool n1NeedleAt(int number) {
        return needleAt(number == 1 ? 71 : 179, 68, Eicas::n1NeedleAngle(engine(number).n1Percent));
    }
    bool ittNeedleAt(int number) {
        return needleAt(number == 1 ? 71 : 179, 146, Eicas::ittNeedleAngle(engine(number).itt));
    }
    // Gear box of a leg: 264 left, 300 nose, 336 right.
    int gearGreen(int x) const { return pixelsOf(Eicas::kGreen, x - 1, 277, 29, 24); }

    FlightScenario& flight;
    TempFolder folder;
    platform::gfx::Surface surface{400, 476};
};

TEST(EicasFlightTest, ColdAndDarkTheScreenIsBlack) {
    FlightScenario flight("[Startup]\nstartupMode=0\n");
    ASSERT_TRUE(flight.simulator().placeOnRunway("ZZAA", "09L"));
    flight.module.startModule();
    flight.fly(2.0);
    EicasInFlight screen(flight);
    screen.capture("cold-and-dark");
    EXPECT_TRUE(screen.eicas().unpowered);
    EXPECT_EQ(screen.pixelsOf(0xFF000000, 0, 0, 400, 476), 400 * 476);
}

// Engine 2 started from a parked aircraft with the APU running: N2 rising on the starter,
// light-off, the ITT peak and idle, each drawn.
TEST(EicasFlightTest, EngineStartDrawnStepByStep) {
    FlightScenario flight("[Startup]\nstartupMode=1\n");
    ASSERT_TRUE(flight.simulator().placeOnRunway("ZZAA", "09L"));
    flight.module.startModule();
    flight.fly(5.0);
    EicasInFlight screen(flight);
    JetEngine& engine = screen.engine(2);
    screen.capture("engine-start-before");
    EXPECT_EQ(Eicas::n1Reading(&engine).colour, Eicas::kGreen) << "the FADEC is powered";

    flight.simulator().panel.setNamedVariable("TaviEngControl2Inc", 1.0);
    ASSERT_TRUE(flight.flyUntil(30.0, [&] { return engine.n2Percent > 12.0f; }));
    ASSERT_FALSE(engine.combustion);
    screen.capture("engine-start-n2-rising");
    EXPECT_GT(screen.pixelsOf(Eicas::kGreen, 150, 184, 50, 18), 10) << "N2 shown";
    const float risingN2 = engine.n2Percent;

    ASSERT_TRUE(flight.flyUntil(40.0, [&] { return engine.combustion; }));
    screen.capture("engine-start-light-off");
    EXPECT_GT(engine.n2Percent, risingN2);
    EXPECT_GT(screen.pixelsOf(Eicas::kGreen, 205, 95, 30, 35), 5) << "IGN and the ignitors";

    // The ITT climbs after light-off until it levels at its peak.
    float peakItt = engine.itt;
    for (int step = 0; step < 120; ++step) {
        flight.fly(0.5);
        if (engine.itt <= peakItt && engine.itt > 100.0f) {
            break;
        }
        peakItt = std::max(peakItt, engine.itt);
    }
    screen.capture("engine-start-itt-peak");
    EXPECT_TRUE(screen.ittNeedleAt(2)) << engine.itt;
    EXPECT_GT(peakItt, 300.0f);

    flight.fly(40.0);
    screen.capture("engine-start-idle");
    EXPECT_LE(engine.itt, peakItt + 1.0f);
    EXPECT_TRUE(screen.n1NeedleAt(2)) << engine.n1Percent;
    EXPECT_TRUE(screen.ittNeedleAt(2)) << engine.itt;
    EXPECT_NE(screen.eicas().fuelFlowReading(&engine).text, "0");
    EXPECT_EQ(Eicas::n2Reading(&engine).colour, Eicas::kGreen);
}

TEST(EicasFlightTest, TakeOffRollAndCruise) {
    FlightScenario flight;
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    flight.pressKey(FlightScenario::kFlapsIncrementKey);
    if (flight.simulator().panel.token(323) != 0.0) {
        flight.pressKey(FlightScenario::kParkingBrakeKey);
    }
    flight.setThrustLevers(72.0);
    ASSERT_TRUE(flight.flyUntil(60.0, [&] { return flight.indicatedKnots() > 80.0; }));
    EicasInFlight screen(flight);
    screen.capture("take-off-roll");
    for (int number : {1, 2}) {
        EXPECT_GT(screen.engine(number).n1Percent, 80.0f);
        EXPECT_TRUE(screen.n1NeedleAt(number)) << number;
        EXPECT_TRUE(screen.ittNeedleAt(number)) << number;
    }
    EXPECT_EQ(Eicas::flapsReading(flight.aircraft().mechanisation()->flapAngle).text, "9");
    for (int x : {264, 300, 336}) {
        EXPECT_GT(screen.gearGreen(x), 20) << "gear down at " << x;
    }
    EXPECT_GT(screen.pixelsOf(Eicas::kCyan, 90, 12, 70, 16), 10) << "thrust rating";
}

TEST(EicasFlightTest, CruiseWithGearUpAndAPressurisedCabin) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 25000.0, 90.0, 250.0);
    flight.simulator().flight.setGearHandle(false);
    flight.fly(20.0);
    EicasInFlight screen(flight);
    screen.capture("cruise");
    for (int x : {264, 300, 336}) {
        EXPECT_EQ(screen.gearGreen(x), 0) << "no green gear at " << x;
    }
    EXPECT_EQ(Eicas::flapsReading(flight.aircraft().mechanisation()->flapAngle).text, "0");
    EXPECT_TRUE(screen.n1NeedleAt(1));
    EXPECT_TRUE(screen.n1NeedleAt(2));
}

bool showsMessage(FlightScenario& flight, const std::string& text) {
    const auto& messages = flight.aircraft().eicasDau()->messages;
    return std::any_of(messages.begin(), messages.end(),
                       [&](const EicasMessage& message) { return message.text == text; });
}

// An engine the simulator reports failed in cruise raises the engine-out warning of that engine
// alone, and the aircraft yaws towards it.
TEST(EicasFlightTest, AnEngineFailedInCruiseRaisesItsEngineOutWarning) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 25000.0, 90.0, 250.0);
    flight.simulator().flight.setGearHandle(false);
    flight.fly(20.0);
    EXPECT_FALSE(showsMessage(flight, "ENG1 OUT"));
    EXPECT_FALSE(showsMessage(flight, "ENG2 OUT"));
    const double heading = flight.headingTrue();
    flight.simulator().failEngine(1);
    flight.fly(10.0);
    EXPECT_TRUE(showsMessage(flight, "ENG1 OUT"));
    EXPECT_FALSE(showsMessage(flight, "ENG2 OUT"));
    EXPECT_LT(std::remainder(flight.headingTrue() - heading, 360.0), -1.0);
    EicasInFlight screen(flight);
    screen.capture("engine-1-out");
}

// The oil of running engines reads within its normal range (21 to 126 degC) on the ground at
// idle and in a climb at take-off thrust.
TEST(EicasFlightTest, RunningEnginesOilTemperatureReadsNormal) {
    FlightScenario flight;
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    flight.fly(300.0);
    EicasInFlight screen(flight);
    for (const int engine : {1, 2}) {
        EXPECT_GT(screen.engine(engine).oilTemperature, 21.0) << engine;
        EXPECT_LT(screen.engine(engine).oilTemperature, 126.0) << engine;
    }
}

// A climb at take-off thrust, nose up: the standby instrument shows more sky than ground and
// its tapes and drums, the EICAS both engines near the rating.
TEST(EicasFlightTest, ClimbOnBothScreens) {
    FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 6000.0, 90.0, 220.0);
    flight.simulator().flight.setGearHandle(false);
    const auto isi = [&]() -> Isi& {
        return *static_cast<Isi*>(flight.aircraft().display(kStandbyInstrument));
    };
    ASSERT_TRUE(flight.flyUntil(100.0, [&] { return !isi().isAligning(); }));
    flight.setThrustLevers(72.0);
    const double from = flight.altitudeFeet();
    flight.fly(20.0, [&] { flight.holdPitch(-8.0); });
    EXPECT_GT(flight.altitudeFeet(), from + 500.0);
    EicasInFlight screen(flight);
    screen.capture("climb");
    EXPECT_TRUE(screen.n1NeedleAt(1));
    platform::gfx::Surface standby(210, 210);
    ASSERT_TRUE(drawScreen(isi(), kStandbyInstrument, standby));
    const uint32_t centre = standby.pixel(104, 112);
    EXPECT_GT(centre & 0xFF, (centre >> 16) & 0xFF) << "blue sky at the symbol while nose up";
    EXPECT_TRUE(std::isfinite(flight.aircraft().baro()->standbySettingAltitude));
    EXPECT_NEAR(flight.aircraft().baro()->standbySettingAltitude, flight.altitudeFeet(), 300.0);
}

TEST(EicasFlightTest, IlsApproachWithGearDownAndFlaps) {
    FlightScenario flight;
    IlsApproach approach(flight);
    approach.setUp();
    flight.fly(20.0, [&] { approach.fly(); });
    EicasInFlight screen(flight);
    screen.capture("ils-approach");
    for (int x : {264, 300, 336}) {
        EXPECT_GT(screen.gearGreen(x), 20) << "gear down at " << x;
    }
    const Eicas::Reading flaps = Eicas::flapsReading(flight.aircraft().mechanisation()->flapAngle);
    EXPECT_EQ(flaps.colour, Eicas::kGreen);
    EXPECT_NE(flaps.text, "--") << "flaps settled";
}

} // namespace
} // namespace tavi::test
