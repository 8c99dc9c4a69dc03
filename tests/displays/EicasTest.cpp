#include "displays/Eicas.h"

#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pressure.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"
#include "support/NonFiniteValues.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace tavi::test {
namespace {

using Reading = Eicas::Reading;

// Each reading as the screen shows it, against what it should be.
void expectReading(const Reading& shown, const Reading& expected, const std::string& what) {
    EXPECT_EQ(shown.text, expected.text) << what;
    EXPECT_EQ(shown.colour, expected.colour) << what << " " << shown.text;
    EXPECT_EQ(shown.box, expected.box) << what << " " << shown.text;
}

// The EICAS on the module with every bus powered; the test sets the systems' state it reads
// just before each draw.
class EicasScreen : public testing::Test {
protected:
    EicasScreen() {
        for (JetEngine* engine : {engine(1), engine(2)}) {
            engine->channelAPowered = true;
            engine->channelBPowered = true;
        }
    }

    Eicas& eicas() { return *static_cast<Eicas*>(bench.aircraft().display(kEicasDisplay)); }
    JetEngine* engine(int number) {
        return number == 1 ? bench.aircraft().engine1() : bench.aircraft().engine2();
    }
    EicasDau& dau() { return *bench.aircraft().eicasDau(); }

    platform::gfx::Surface& drawn() {
        EXPECT_TRUE(drawScreen(eicas(), kEicasDisplay, surface));
        return surface;
    }
    // Pixels of the colour (within a few levels) in the logical rectangle.
    int pixelsOf(platform::gfx::Argb colour, int x, int y, int width, int height) {
        int count = 0;
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                const uint32_t p = surface.pixel(px, py);
                bool near = true;
                for (int shift : {0, 8, 16}) {
                    const int a = static_cast<int>((p >> shift) & 0xFF);
                    const int b = static_cast<int>((colour >> shift) & 0xFF);
                    near = near && std::abs(a - b) < 40;
                }
                count += near ? 1 : 0;
            }
        }
        return count;
    }
    // Green needle pixels around the point at the radius along the angle from the pivot.
    int needleAt(double pivotX, double pivotY, double radius, double degrees) {
        const double angle = degrees * std::numbers::pi / 180.0;
        const int x = static_cast<int>(std::lround(pivotX + radius * std::cos(angle)));
        const int y = static_cast<int>(std::lround(pivotY + radius * std::sin(angle)));
        return pixelsOf(Eicas::kGreen, x - 1, y - 1, 3, 3);
    }
    void addMessages(int count, int32_t level = kEicasCaution, bool acknowledged = true) {
        for (int i = 0; i < count; ++i) {
            EicasMessage message(bench.now(), level, 200 + i, "MESSAGE " + std::to_string(i));
            dau().messages.insert(message)->acknowledged = acknowledged;
        }
    }

    AvionicsBench bench;
    platform::gfx::Surface surface{400, 476};
};

TEST_F(EicasScreen, IsMadeForItsSlotAndCachesItsSystems) {
    Aircraft& aircraft = bench.aircraft();
    EXPECT_TRUE(eicas().dataReady);
    EXPECT_EQ(eicas().engine1, aircraft.engine1());
    EXPECT_EQ(eicas().engine2, aircraft.engine2());
    EXPECT_EQ(eicas().fadec, aircraft.fadec());
    EXPECT_EQ(eicas().eicasDau, aircraft.eicasDau());
    EXPECT_EQ(eicas().fuelSystem, aircraft.fuelSystem());
    EXPECT_EQ(eicas().mechanisation, aircraft.mechanisation());
    EXPECT_EQ(eicas().pressure, aircraft.pressure());
}

TEST_F(EicasScreen, BusThreeAloneFeedsTheScreen) {
    BusLoads loads;
    eicas().addElectricLoad(bench.aircraft(), loads);
    EXPECT_FLOAT_EQ(loads[3], 10.0f);
    bench.network.power({1, 2, 4, 5, 6, 7, 8, 9});
    bench.step(2);
    EXPECT_TRUE(eicas().unpowered);
    BusLoads dark;
    eicas().addElectricLoad(bench.aircraft(), dark);
    EXPECT_FLOAT_EQ(dark[3], 0.0f);
    drawn();
    EXPECT_EQ(pixelsOf(0xFF000000, 0, 0, 400, 476), 400 * 476) << "black, though the DAU has power";
}

TEST_F(EicasScreen, FuelUnitsAreKilogramsOnlyForTheNumberOne) {
    const struct {
        const char* value;
        bool kilograms;
    } cases[] = {{"1", true}, {"2", false}, {"kg", false}, {"", false}, {"0", false}};
    for (const auto& c : cases) {
        bench.aircraft().writeIniString("Preferences", "fuelUseKg", c.value);
        eicas().loadSettings(bench.aircraft());
        EXPECT_EQ(eicas().fuelUseKg, c.kilograms) << c.value;
    }
    engine(1)->fuelFlow = 1000.0f;
    expectReading(eicas().fuelFlowReading(engine(1)), {"1000", Eicas::kGreen}, "pph");
    eicas().fuelUseKg = true;
    expectReading(eicas().fuelFlowReading(engine(1)), {"450", Eicas::kGreen}, "kph");
}

TEST_F(EicasScreen, EngineReadingsByValueAndValidity) {
    JetEngine& e = *engine(1);
    const struct {
        float n1, itt, n2;
        Reading n1Shown, ittShown, n2Shown;
    } cases[] = {
        {100.0f,
         700.0f,
         102.5f,
         {"100.0", Eicas::kRed},
         {" 700", Eicas::kGreen},
         {"102.5", Eicas::kRed}},
        {99.9f,
         1001.9f,
         102.4f,
         {" 99.9", Eicas::kGreen},
         {"1001", Eicas::kGreen},
         {"102.4", Eicas::kGreen}},
        {125.0f,
         -5.0f,
         130.0f,
         {"120.0", Eicas::kRed},
         {"  -5", Eicas::kGreen},
         {"120.0", Eicas::kRed}},
    };
    for (const auto& c : cases) {
        e.n1Percent = c.n1;
        e.itt = c.itt;
        e.n2Percent = c.n2;
        expectReading(Eicas::n1Reading(&e), c.n1Shown, "N1");
        expectReading(Eicas::ittReading(&e), c.ittShown, "ITT");
        expectReading(Eicas::n2Reading(&e), c.n2Shown, "N2");
    }
    for (const double bad : {kNaN, kInfinity}) {
        e.n1Percent = e.itt = e.n2Percent = e.fuelFlow = static_cast<float>(bad);
        e.oilPressure = e.oilTemperature = static_cast<float>(bad);
        expectReading(Eicas::n1Reading(&e), {"---.-", Eicas::kYellow}, "N1 not a number");
        expectReading(Eicas::ittReading(&e), {"----", Eicas::kYellow}, "ITT not a number");
        expectReading(Eicas::n2Reading(&e), {"- - -.-", Eicas::kYellow}, "N2 not a number");
        expectReading(eicas().fuelFlowReading(&e), {"- - - -", Eicas::kYellow}, "FF");
        expectReading(Eicas::oilPressureReading(e.oilPressure, 90.0f), {"- - -", Eicas::kYellow},
                      "oil pressure not a number");
        expectReading(Eicas::oilTemperatureReading(e.oilTemperature), {"- - -", Eicas::kYellow},
                      "oil temperature not a number");
        EXPECT_EQ(Eicas::cabinAltitudeReading(bad).text, "0");
    }
    e.channelAPowered = false;
    e.channelBPowered = false;
    expectReading(Eicas::n1Reading(&e), {"---.-", Eicas::kYellow}, "N1 without FADEC");
    expectReading(Eicas::ittReading(&e), {"----", Eicas::kYellow}, "ITT without FADEC");
    expectReading(Eicas::n2Reading(&e), {"- - -.-", Eicas::kYellow}, "N2 without FADEC");
    expectReading(eicas().fuelFlowReading(&e), {"- - - -", Eicas::kYellow}, "FF without FADEC");
    expectReading(Eicas::n1Reading(nullptr), {"---.-", Eicas::kYellow}, "no engine");
}

TEST_F(EicasScreen, DialAnglesStopAtTheirLimits) {
    EXPECT_FLOAT_EQ(Eicas::n1NeedleAngle(0.0f), -20.0f);
    EXPECT_FLOAT_EQ(Eicas::n1NeedleAngle(100.0f), 180.0f);
    EXPECT_FLOAT_EQ(Eicas::n1NeedleAngle(125.0f), 200.0f);
    EXPECT_FLOAT_EQ(Eicas::ittNeedleAngle(948.0f), 180.0f);
    EXPECT_FLOAT_EQ(Eicas::ittNeedleAngle(-40.0f), -20.0f);
    EXPECT_GT(Eicas::ittNeedleAngle(1100.0f), 200.0f) << "past the red line without limit";
}

TEST_F(EicasScreen, FuelFlowRoundsToTensAndQuantityCutsDown) {
    const struct {
        float flow;
        const char* shown;
    } flows[] = {{1234.0f, "1230"}, {1235.0f, "1240"}, {4.0f, "0"}, {5.0f, "10"}};
    for (const auto& c : flows) {
        engine(2)->fuelFlow = c.flow;
        EXPECT_EQ(eicas().fuelFlowReading(engine(2)).text, c.shown) << c.flow;
    }
    const struct {
        float pounds;
        bool kilograms;
        Reading shown;
    } tanks[] = {
        {880.0f, false, {"880", Eicas::kYellow, Eicas::kYellow}},
        {881.0f, false, {"880", Eicas::kGreen}},
        {449.9f, false, {"440", Eicas::kRed, Eicas::kRed}},
        {1239.0f, false, {"1230", Eicas::kGreen}},
        {1000.0f, true, {"450", Eicas::kGreen}},
        {500.0f, true, {"220", Eicas::kYellow, Eicas::kYellow}},
        {460.0f, true, {"200", Eicas::kRed, Eicas::kRed}},
    };
    for (const auto& c : tanks) {
        eicas().fuelUseKg = c.kilograms;
        expectReading(eicas().fuelQuantityReading(c.pounds), c.shown, "tank");
    }
}

TEST_F(EicasScreen, OilAndTemperatureColoursAndPointers) {
    const struct {
        float psi, n2;
        Reading shown;
        float y;
    } pressures[] = {
        {40.0f, 90.0f, {"40", Eicas::kYellow, Eicas::kYellow}, 311.75f},
        {40.0f, 80.0f, {"40", Eicas::kGreen}, 311.75f},
        {33.9f, 90.0f, {"33", Eicas::kRed, Eicas::kRed}, 314.0176f},
        {155.0f, 90.0f, {"155", Eicas::kRed, Eicas::kRed}, 280.0f},
        {94.9f, 90.0f, {"94", Eicas::kGreen}, 286.0489f},
        {95.0f, 90.0f, {"95", Eicas::kYellow, Eicas::kYellow}, 286.0f},
        {250.0f, 90.0f, {"200", Eicas::kRed, Eicas::kRed}, 274.0f},
        {-1.0f, 90.0f, {"- - -", Eicas::kRed, Eicas::kRed}, 320.1765f},
    };
    for (const auto& c : pressures) {
        expectReading(Eicas::oilPressureReading(c.psi, c.n2), c.shown, "oil pressure");
        EXPECT_NEAR(Eicas::oilPressureY(c.psi), c.y, 0.01) << c.psi;
    }
    const struct {
        float celsius;
        Reading shown;
        float y;
    } temperatures[] = {
        {126.0f, {"126", Eicas::kGreen}, 283.0f},
        {126.1f, {"126", Eicas::kRed, Eicas::kRed}, 282.9625f},
        {20.9f, {"20", Eicas::kYellow, Eicas::kYellow}, 311.0429f},
        {180.0f, {"150", Eicas::kRed, Eicas::kRed}, 274.0f},
        {-5.0f, {"-5", Eicas::kYellow, Eicas::kYellow}, 320.0f},
    };
    for (const auto& c : temperatures) {
        expectReading(Eicas::oilTemperatureReading(c.celsius), c.shown, "oil temperature");
        EXPECT_NEAR(Eicas::oilTemperatureY(c.celsius), c.y, 0.01) << c.celsius;
    }
}

TEST_F(EicasScreen, FlapsGearAndPitchTrim) {
    const struct {
        float angle;
        Reading shown;
    } flaps[] = {{0.0f, {"0", Eicas::kWhite}},   {9.0f, {"9", Eicas::kGreen}},
                 {18.0f, {"18", Eicas::kGreen}}, {22.0f, {"22", Eicas::kGreen}},
                 {45.0f, {"45", Eicas::kGreen}}, {20.0f, {"--", Eicas::kGreen}}};
    for (const auto& c : flaps) {
        expectReading(Eicas::flapsReading(c.angle), c.shown, "flaps");
    }
    expectReading(Eicas::gearReading(8000), {"UP", Eicas::kYellow, Eicas::kYellow}, "transit");
    expectReading(Eicas::gearReading(16383), {"DN", Eicas::kGreen, Eicas::kGreen}, "down");
    expectReading(Eicas::gearReading(0), {"UP", Eicas::kWhite, Eicas::kLines}, "up");

    const struct {
        float trim;
        bool onGround;
        Reading shown;
    } trims[] = {
        {9.0f, true, {"9", Eicas::kYellow, Eicas::kYellow}},
        {9.0f, false, {"9", Eicas::kGreen, Eicas::kLines}},
        {5.0f, true, {"5", Eicas::kGreen, Eicas::kLines}},
        {-0.3f, false, {"0", Eicas::kGreen, Eicas::kLines}},
    };
    for (const auto& c : trims) {
        expectReading(Eicas::pitchTrimReading(c.trim, c.onGround), c.shown, "pitch trim");
    }
    EXPECT_FLOAT_EQ(Eicas::pitchTrimY(-4.0f), 465.0f);
    EXPECT_FLOAT_EQ(Eicas::pitchTrimY(10.0f), 401.0f);
}

TEST_F(EicasScreen, CabinAndApuReadings) {
    const struct {
        double feet;
        Reading shown;
    } altitudes[] = {{8449, {"8400", Eicas::kGreen}},
                     {8450, {"8450", Eicas::kYellow}},
                     {9949, {"9900", Eicas::kYellow}},
                     {9950, {"9950", Eicas::kRed}},
                     {-120, {"-100", Eicas::kGreen}}};
    for (const auto& c : altitudes) {
        expectReading(Eicas::cabinAltitudeReading(c.feet), c.shown, "cabin altitude");
    }
    const struct {
        double psi;
        Reading shown;
    } differences[] = {{-0.03, {"0.0", Eicas::kGreen}},
                       {-0.2, {"-0.2", Eicas::kYellow}},
                       {7.9, {"7.9", Eicas::kGreen}},
                       {8.0, {"8.0", Eicas::kYellow}},
                       {8.4, {"8.4", Eicas::kRed}}};
    for (const auto& c : differences) {
        expectReading(Eicas::differentialPressureReading(c.psi), c.shown, "cabin dP");
    }
    EXPECT_EQ(Eicas::cabinRateReading(-349).text, "-300");
    const struct {
        float speed;
        Reading shown;
    } speeds[] = {{50.0f, {"50", Eicas::kYellow, Eicas::kYellow}},
                  {100.0f, {"100", Eicas::kGreen}},
                  {105.0f, {"105", Eicas::kYellow, Eicas::kYellow}},
                  {110.0f, {"110", Eicas::kRed, Eicas::kRed}}};
    for (const auto& c : speeds) {
        expectReading(Eicas::apuSpeedReading(c.speed), c.shown, "APU speed");
    }
    expectReading(Eicas::apuTemperatureReading(500.0f), {"500", Eicas::kGreen}, "EGT");
    expectReading(Eicas::apuTemperatureReading(700.0f), {"700", Eicas::kYellow, Eicas::kYellow},
                  "EGT");
    expectReading(Eicas::apuTemperatureReading(716.5f), {"716", Eicas::kRed, Eicas::kRed}, "EGT");
}

TEST_F(EicasScreen, NeedlesPointAtTheirValuesAndAFailedEngineShowsNone) {
    engine(1)->n1Percent = 50.0f;
    engine(2)->n1Percent = 30.0f;
    engine(1)->itt = 474.0f;
    engine(2)->itt = 474.0f;
    drawn();
    EXPECT_GT(needleAt(71, 68, 26, Eicas::n1NeedleAngle(50.0f)), 0) << "N1 1 at 80 degrees";
    EXPECT_EQ(needleAt(71, 68, 26, 40.0), 0);
    EXPECT_GT(needleAt(179, 68, 26, 40.0), 0) << "N1 2 at 30 %";
    EXPECT_GT(needleAt(71, 146, 26, 80.0), 0) << "ITT 474 is half the dial";
    EXPECT_GT(pixelsOf(Eicas::kGreen, 47, 38, 48, 22), 20) << "N1 readout";

    engine(2)->channelAPowered = false;
    engine(2)->channelBPowered = false;
    drawn();
    EXPECT_EQ(needleAt(179, 68, 26, 40.0), 0) << "no stale needle without the FADEC";
    EXPECT_EQ(pixelsOf(Eicas::kGreen, 155, 38, 48, 22), 0);
    EXPECT_GT(pixelsOf(Eicas::kYellow, 155, 38, 48, 22), 20) << "yellow dashes";
    EXPECT_GT(pixelsOf(Eicas::kRed, 143, 100, 72, 80), 0) << "the ITT red line stays";
    TempFolder folder;
    writeScreenState(bench.aircraft(), kEicasDisplay, folder.path(), "engine-2-fadec-unpowered");
}

TEST_F(EicasScreen, AnnunciationsOfTheRatingAndTheSources) {
    Fadec& fadec = *bench.aircraft().fadec();
    const auto cautionArc = [this] {
        // The last 70 degrees below the limit lie at 165..180 degrees of engine 1's ITT dial.
        return pixelsOf(Eicas::kYellow, 33, 143, 6, 12);
    };
    fadec.thrustRating = kTakeoffRating;
    drawn();
    EXPECT_EQ(cautionArc(), 0) << "no ITT caution arc at T/O-1";
    EXPECT_GT(pixelsOf(Eicas::kCyan, 90, 12, 70, 16), 10) << "rating";
    fadec.thrustRating = kClimbRating;
    drawn();
    EXPECT_GT(cautionArc(), 3) << "ITT caution arc at CLB";

    for (JetEngine* engine : {engine(1), engine(2)}) {
        engine->channelAPowered = false;
        engine->channelBPowered = false;
    }
    drawn();
    EXPECT_EQ(pixelsOf(Eicas::kCyan, 0, 10, 243, 20), 0) << "no rating without engine data";
    EXPECT_GT(pixelsOf(Eicas::kYellow, 60, 12, 130, 16), 10) << "the rating line's dashes";

    // The nose gear's sensors go with buses 3 and 4, the main gear's with buses 1 to 4.
    bench.aircraft().mechanisation()->gearPositions = {16383, 16383, 16383};
    // Cut between frames: the screen, itself on bus 3, goes dark only at the next frame.
    bench.network.power({1});
    drawn();
    EXPECT_GT(pixelsOf(Eicas::kYellow, 299, 277, 29, 24), 20) << "nose box lost";
    EXPECT_GT(pixelsOf(Eicas::kGreen, 263, 277, 29, 24), 20) << "left leg down";
    EXPECT_EQ(pixelsOf(Eicas::kGreen, 299, 277, 29, 24), 0);
}

TEST_F(EicasScreen, ApuSpeedBoxFlashesForFiveSecondsAfterTheKnob) {
    electric::Apu& apu = bench.network.apu;
    apu.knob = electric::Apu::kKnobOn;
    apu.speed = 50.0f;
    apu.egt = 400.0f;
    apu.knobChangedTime = bench.now() - 700;
    drawn();
    EXPECT_EQ(pixelsOf(Eicas::kYellow, 66, 445, 3, 22), 0) << "off in the second half second";
    apu.knobChangedTime = bench.now() - 1200;
    drawn();
    EXPECT_GT(pixelsOf(Eicas::kYellow, 66, 445, 3, 22), 10);
    apu.knobChangedTime = bench.now() - 5700;
    drawn();
    EXPECT_GT(pixelsOf(Eicas::kYellow, 66, 445, 3, 22), 10) << "steady after 5 s";
}

TEST_F(EicasScreen, ShortListsEndWithEndAndLongOnesScrollWithAStatusLine) {
    dau().messages.clear();
    drawn();
    EXPECT_GT(pixelsOf(Eicas::kWhite, 300, 14, 30, 16), 5) << "END at the top of an empty list";
    addMessages(15);
    drawn();
    EXPECT_GT(pixelsOf(Eicas::kWhite, 300, 224, 30, 16), 5) << "END after 15 lines";

    addMessages(5);
    eicas().messageScroll = 9;
    drawn();
    EXPECT_EQ(eicas().messageScroll, 5);
    EXPECT_EQ(Eicas::messageStatusText(5, 0), "5 \xE2\x86\x91 MESSAGES \xE2\x86\x93 0");
    EXPECT_GT(pixelsOf(Eicas::kYellow, 246, 226, 130, 16), 30) << "status line";
    EXPECT_EQ(pixelsOf(Eicas::kWhite, 300, 224, 30, 16), 0) << "no END";

    dau().messages.erase(dau().messages.begin(), std::next(dau().messages.begin(), 6));
    drawn();
    EXPECT_EQ(eicas().messageScroll, 0) << "reset once the list fits";
}

TEST_F(EicasScreen, ALongListPagesWithItsLevelsColours) {
    dau().messages.clear();
    addMessages(8, kEicasWarning);
    addMessages(8, kEicasCaution);
    addMessages(8, kEicasAdvisory);
    eicas().messageScroll = 6;
    drawn();
    EXPECT_EQ(eicas().messageScroll, 6);
    const struct {
        int line;
        platform::gfx::Argb colour;
    } lines[] = {{0, Eicas::kRed},    {1, Eicas::kRed},   {2, Eicas::kYellow},
                 {9, Eicas::kYellow}, {10, Eicas::kCyan}, {14, Eicas::kCyan}};
    for (const auto& l : lines) {
        EXPECT_GT(pixelsOf(l.colour, 245, 14 + 14 * l.line, 130, 14), 10) << l.line;
    }
    EXPECT_EQ(pixelsOf(Eicas::kRed, 245, 46, 130, 10), 0) << "the third line is a caution";
    EXPECT_EQ(Eicas::messageStatusText(6, 3), "6 \xE2\x86\x91 MESSAGES \xE2\x86\x93 3");
    EXPECT_GT(pixelsOf(Eicas::kYellow, 246, 226, 130, 16), 30) << "status line";
    TempFolder folder;
    EXPECT_FALSE(
        writeScreenState(bench.aircraft(), kEicasDisplay, folder.path(), "message-paging").empty());
}

TEST_F(EicasScreen, MessagesFlashByLevelAndAgedAdvisoriesAreAcknowledged) {
    dau().messages.clear();
    addMessages(1, kEicasWarning, false);
    dau().warningFlash = false;
    drawn();
    EXPECT_EQ(pixelsOf(Eicas::kRed, 245, 14, 130, 14), 0) << "hidden while the latch is dark";
    EXPECT_GT(pixelsOf(Eicas::kWhite, 300, 28, 30, 16), 5) << "yet it uses its line";
    dau().warningFlash = true;
    drawn();
    EXPECT_GT(pixelsOf(Eicas::kRed, 245, 14, 130, 14), 10);

    dau().messages.clear();
    EicasMessage advisory(bench.now() - 4700, kEicasAdvisory, 300, "ADVISORY");
    const EicasMessage& shown = *dau().messages.insert(advisory);
    drawn();
    EXPECT_EQ(pixelsOf(Eicas::kCyan, 245, 14, 130, 14), 0) << "4.7 s: second half of the second";
    EXPECT_FALSE(shown.acknowledged);
    bench.step(8);
    drawn();
    EXPECT_TRUE(shown.acknowledged);
    EXPECT_GT(pixelsOf(Eicas::kCyan, 245, 14, 130, 14), 10);
}

TEST_F(EicasScreen, AnUnpoweredAlertUnitShowsARedCross) {
    addMessages(3);
    dau().unpowered = true;
    drawn();
    EXPECT_GT(pixelsOf(Eicas::kRed, 305, 120, 15, 15), 10) << "the cross's middle";
    EXPECT_EQ(pixelsOf(Eicas::kYellow, 245, 14, 130, 40), 0) << "no messages";
    EXPECT_EQ(pixelsOf(Eicas::kWhite, 300, 56, 30, 16), 0) << "no END";
    TempFolder folder;
    writeScreenState(bench.aircraft(), kEicasDisplay, folder.path(), "alert-unit-unpowered");
}

} // namespace
} // namespace tavi::test
