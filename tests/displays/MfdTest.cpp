#include "displays/Mfd.h"

#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/Hydraulic.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "avionics/FlightDirector.h"
#include "avionics/Radio.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/FlatEarth.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"
#include "support/HeldSystem.h"
#include "support/MapRoute.h"
#include "support/ScreenInk.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

constexpr int kMfdHydraulic1Slot = 5;
constexpr int kMfdHydraulic2Slot = 6;
constexpr int kMfdEngine1Slot = 1;
constexpr int kMfdEngine2Slot = 2;
constexpr int kMfdFadecSlot = 17;
constexpr int kMfdMechanisationSlot = 18;
constexpr int kMfdFuelSlot = 19;
constexpr int kMfdPneumaticSlot = 25;

using MfdReading = Mfd::Reading;

// Both MFDs on the module with every bus powered; the systems that the lower pages read are
// held, so the test sets the state each page shows.
class MfdScreen : public testing::Test {
protected:
    MfdScreen()
        : hydraulic1(holdSystem<Hydraulic>(bench.aircraft(), kMfdHydraulic1Slot, 1)),
          hydraulic2(holdSystem<Hydraulic>(bench.aircraft(), kMfdHydraulic2Slot, 2)),
          engine1(holdSystem<JetEngine>(bench.aircraft(), kMfdEngine1Slot, 1)),
          engine2(holdSystem<JetEngine>(bench.aircraft(), kMfdEngine2Slot, 2)),
          fadec(holdSystem<Fadec>(bench.aircraft(), kMfdFadecSlot)),
          mechanisation(holdSystem<Mechanisation>(bench.aircraft(), kMfdMechanisationSlot)),
          fuel(holdSystem<FuelSystem>(bench.aircraft(), kMfdFuelSlot)),
          pneumatic(holdSystem<Pneumatic>(bench.aircraft(), kMfdPneumaticSlot)) {
        bench.step();
    }
    ~MfdScreen() override { resetGlobalFlightPlans(); }

    Mfd& mfd(int side = 1) {
        return *static_cast<Mfd*>(bench.aircraft().display(side == 1 ? kMfdLeft : kMfdRight));
    }
    platform::gfx::Surface& drawn(int side = 1) {
        EXPECT_TRUE(drawScreen(mfd(side), side == 1 ? kMfdLeft : kMfdRight, surface));
        return surface;
    }
    int count(uint32_t colour, int x, int y, int width, int height) {
        return inkCount(surface, colour, x, y, width, height);
    }
    // The picture of the state, where TAVI_SCREENS asks for it, else in a temporary folder.
    void picture(const std::string& state, int side = 1) {
        const auto file = writeScreenState(bench.aircraft(), side == 1 ? kMfdLeft : kMfdRight,
                                           folder.path(), state);
        EXPECT_FALSE(file.empty()) << state;
    }
    void press(std::initializer_list<int> inputs, int side = 1) {
        for (int input : inputs) {
            mfd(side).onButton(input);
        }
    }

    AvionicsBench bench;
    Hydraulic& hydraulic1;
    Hydraulic& hydraulic2;
    JetEngine& engine1;
    JetEngine& engine2;
    Fadec& fadec;
    Mechanisation& mechanisation;
    FuelSystem& fuel;
    Pneumatic& pneumatic;
    platform::gfx::Surface surface{400, 476};
    TempFolder folder;
};

TEST_F(MfdScreen, BothSlotsHoldASideAndEachIsFedFromTheOtherSidesBus) {
    EXPECT_EQ(mfd(1).side, 1);
    EXPECT_EQ(mfd(2).side, 2);
    EXPECT_TRUE(mfd(1).dataReady);
    const struct {
        std::initializer_list<int> buses;
        bool master1, master2;
        bool unpowered1, unpowered2;
    } cases[] = {
        {{1, 2}, true, true, false, false}, {{1}, true, true, true, false},
        {{2}, true, true, false, true},     {{1, 2}, true, false, true, false},
        {{1, 2}, false, true, false, true},
    };
    for (const auto& c : cases) {
        bench.network.power(c.buses);
        bench.network.avionicsMaster1 = c.master1;
        bench.network.avionicsMaster2 = c.master2;
        bench.step();
        EXPECT_EQ(mfd(1).unpowered, c.unpowered1);
        EXPECT_EQ(mfd(2).unpowered, c.unpowered2);
        BusLoads loads;
        mfd(1).addElectricLoad(bench.aircraft(), loads);
        mfd(2).addElectricLoad(bench.aircraft(), loads);
        EXPECT_FLOAT_EQ(loads[2], c.unpowered1 ? 0.0f : 10.0f);
        EXPECT_FLOAT_EQ(loads[1], c.unpowered2 ? 0.0f : 10.0f);
    }
}

TEST_F(MfdScreen, DarkWithoutPowerWhileTheBezelStillWorks) {
    bench.network.power({1});
    bench.step();
    drawn(1);
    EXPECT_EQ(count(0xFF000000, 0, 0, 400, 476), 400 * 476);
    picture("Unpowered");
    bench.panel().setNamedVariable("Mfd1Button4Click", 1.0);
    bench.step();
    EXPECT_EQ(mfd(1).lowerPage, Mfd::kTcasPage);
}

TEST_F(MfdScreen, NamedVariablesPressTheBezelOnceAndAreCleared) {
    const struct {
        const char* name;
        double value;
        int32_t rangeIndex;
        int32_t menuLevel;
        bool planMode;
    } cases[] = {
        {"Mfd1KnobIncClick", 1.0, 1, Mfd::kMainMenu, false},
        {"Mfd1KnobIncClick", 2.0, 2, Mfd::kMainMenu, false},
        {"Mfd1KnobDecClick", 1.0, 1, Mfd::kMainMenu, false},
        {"Mfd1KnobDecClick", 2.0, 0, Mfd::kMainMenu, false},
        {"Mfd1KnobDecClick", 1.0, 8, Mfd::kMainMenu, false},
        {"Mfd1Button6Click", 1.0, 8, Mfd::kMainMenu, true},
        {"Mfd1Button2Click", 1.0, 8, Mfd::kMfdMenu, true},
        {"Mfd1Button1Click", 1.0, 8, Mfd::kMainMenu, true},
        {"Mfd1Button1Click", 1.0, 8, Mfd::kSysMenu, true},
    };
    for (const auto& c : cases) {
        bench.panel().setNamedVariable(c.name, c.value);
        bench.step();
        EXPECT_DOUBLE_EQ(bench.panel().namedVariable(c.name), 0.0) << c.name;
        EXPECT_EQ(mfd(1).rangeIndex, c.rangeIndex) << c.name << " " << c.value;
        EXPECT_EQ(mfd(1).menuLevel, c.menuLevel) << c.name;
        EXPECT_EQ(mfd(1).planMode, c.planMode) << c.name;
    }
    EXPECT_EQ(mfd(2).rangeIndex, 0) << "the other side's variables are its own";
    EXPECT_EQ(Mfd::variableName(6, 2), "Mfd2KnobDecClick");
}

TEST_F(MfdScreen, MenuButtonsAsATable) {
    const struct {
        std::vector<int> inputs;
        int32_t menuLevel;
        int32_t lowerPage;
        int32_t navAptMode;
        bool showData;
    } cases[] = {
        {{0}, Mfd::kSysMenu, Mfd::kEnginePage, 0, true},
        {{0, 4}, Mfd::kSysMenu, Mfd::kHydraulicPage, 0, true},
        {{0, 2}, Mfd::kSysMenu, Mfd::kEnvironmentPage, 0, true},
        {{0, 5}, Mfd::kSysMenu, Mfd::kElectricalPage, 0, true},
        {{0, 3}, Mfd::kSysMenu, Mfd::kFuelPage, 0, true},
        {{0, 3, 1, 0}, Mfd::kMainMenu, Mfd::kEnginePage, 0, true},
        {{2, 4}, Mfd::kMainMenu, Mfd::kEnginePage, 0, true},
        {{1, 3, 3, 3}, Mfd::kMfdMenu, Mfd::kEnginePage, 3, true},
        {{1, 3, 3, 3, 3}, Mfd::kMfdMenu, Mfd::kEnginePage, 0, true},
        {{1, 4}, Mfd::kMfdMenu, Mfd::kEnginePage, 0, false},
        {{1, 5, 0}, Mfd::kMainMenu, Mfd::kEnginePage, 0, true},
        {{1, 1}, Mfd::kSpeedsMenu, Mfd::kEnginePage, 0, true},
        {{1, 2}, Mfd::kJoystickMenu, Mfd::kEnginePage, 0, true},
        {{1, 2, 3, 0}, Mfd::kMfdMenu, Mfd::kEnginePage, 0, true},
        {{3}, Mfd::kMainMenu, Mfd::kTcasPage, 0, true},
        {{0, 1, 0, 3, 3}, Mfd::kMainMenu, Mfd::kEnginePage, 0, true},
        {{0, 4, 0, 3, 3}, Mfd::kMainMenu, Mfd::kHydraulicPage, 0, true},
    };
    for (const auto& c : cases) {
        Mfd screen(1);
        for (int input : c.inputs) {
            screen.onButton(input);
        }
        std::string pressed;
        for (int input : c.inputs) {
            pressed += std::to_string(input) + " ";
        }
        EXPECT_EQ(screen.menuLevel, c.menuLevel) << pressed;
        EXPECT_EQ(screen.lowerPage, c.lowerPage) << pressed;
        EXPECT_EQ(screen.navAptMode, c.navAptMode) << pressed;
        EXPECT_EQ(screen.showData, c.showData) << pressed;
    }
}

TEST_F(MfdScreen, RangeWrapsAndOnlyAWiderRangeFetchesAgain) {
    Mfd& screen = mfd(1);
    screen.nearbyDataLoaded = true;
    screen.onButton(Mfd::kKnobSmallDown);
    EXPECT_EQ(screen.range(), 1000);
    EXPECT_FALSE(screen.nearbyDataLoaded);
    screen.nearbyDataLoaded = true;
    screen.onButton(Mfd::kKnobLargeUp);
    EXPECT_EQ(screen.range(), 5);
    EXPECT_TRUE(screen.nearbyDataLoaded) << "a narrower range keeps what it has";
    press({1, 1});
    screen.onButton(Mfd::kKnobSmallUp);
    EXPECT_EQ(screen.range(), 5) << "on the speeds menu the knob sets speeds";
}

TEST_F(MfdScreen, FuelResetNeedsTwoMorePressesOnTheFuelPageOfItsOwnSide) {
    fuel.fuelUsed1 = 420.0f;
    fuel.fuelUsed2 = 430.0f;
    press({0, 3});
    EXPECT_EQ(mfd(1).lowerPage, Mfd::kFuelPage);
    EXPECT_FALSE(mfd(1).fuelResetArmed);
    press({3});
    EXPECT_TRUE(mfd(1).fuelResetArmed);
    press({4, 3});
    EXPECT_FALSE(mfd(1).fuelResetArmed) << "another page disarms";
    EXPECT_EQ(mfd(1).lowerPage, Mfd::kFuelPage);
    press({3});
    EXPECT_FLOAT_EQ(fuel.fuelUsed1, 420.0f) << "armed only";
    press({3});
    EXPECT_FLOAT_EQ(fuel.fuelUsed1, 0.0f);
    EXPECT_FLOAT_EQ(fuel.fuelUsed2, 430.0f);
    EXPECT_FALSE(mfd(1).fuelResetArmed);
}

TEST_F(MfdScreen, SpeedRowsSelectCycleAndTakeTheKnob) {
    Adc& adc = bench.adc;
    adc.referenceSpeeds = {120, 89, 89, 89};
    adc.referenceSpeedUnset = {true, true, true, true};
    adc.referenceSpeedStates = {0, 0, 0, 0};
    press({1, 1});
    press({3});
    EXPECT_EQ(adc.referenceSpeeds[1], 120) << "VR starts from V1";
    press({2});
    EXPECT_FALSE(adc.referenceSpeedUnset[0]);
    EXPECT_EQ(adc.selectedSpeedBug(), 1);
    press({Mfd::kKnobLargeUp, Mfd::kKnobSmallUp, Mfd::kKnobSmallUp});
    EXPECT_EQ(adc.referenceSpeeds[0], 132);
    press({4});
    EXPECT_EQ(adc.referenceSpeeds[2], 120) << "V2 starts from VR";
    EXPECT_EQ(adc.selectedSpeedBug(), 3);
    const struct { int32_t state; } cycle[] = {{1}, {0}, {2}, {1}};
    for (const auto& step : cycle) {
        press({4});
        EXPECT_EQ(adc.referenceSpeedStates[2], step.state);
    }
    press({Mfd::kKnobLargeDown, Mfd::kKnobLargeDown, Mfd::kKnobLargeDown, Mfd::kKnobLargeDown,
           Mfd::kKnobLargeDown});
    EXPECT_EQ(adc.referenceSpeeds[0], 132) << "no bug is selected after the cycle";
    press({0});
    EXPECT_EQ(mfd(1).menuLevel, Mfd::kMfdMenu);
    EXPECT_EQ(mfd(1).selectedSpeedRow, 3);
}

TEST_F(MfdScreen, TheFmsSourceShowsTheActiveFixOrDashesWithoutLnav) {
    // The panel's source button sets the flag; the FMS keeps the LNAV output.
    bench.aircraft().flightDirector()->selectNavigationSource(1, true);
    LnavState& lnav = *bench.fms.lnavState();
    lnav.valid = true;
    lnav.ident = "ABC";
    lnav.distanceToGo = 12.34;
    lnav.timeToGo = 300.0;
    lnav.crossTrackError = -0.5;
    drawn();
    picture("FmsSource");
    EXPECT_GT(count(Mfd::kMagenta, 16, 15, 40, 20), 20) << "FMS1";
    EXPECT_GT(count(Mfd::kMagenta, 16, 35, 40, 20), 20) << "the fix";
    EXPECT_GT(count(Mfd::kMagenta, 16, 55, 36, 20), 20) << "12.3";
    EXPECT_GT(count(Mfd::kMagenta, 16, 75, 20, 20), 5) << "5 minutes";
    EXPECT_GT(count(0xFFFFFFFF, 175, 276, 50, 20), 20) << "0.50L";
    lnav.valid = false;
    drawn();
    EXPECT_EQ(count(Mfd::kMagenta, 16, 35, 40, 60), 0);
    EXPECT_GT(count(Mfd::kYellow, 16, 35, 40, 60), 20) << "dashes";
    EXPECT_EQ(count(0xFFFFFFFF, 175, 276, 50, 20), 0) << "no cross-track without LNAV";
}

TEST_F(MfdScreen, ThePlanViewShowsTheRouteWithItsMarksAndIdentsOnlyWithData) {
    bench.fms.position.latitude = 47.35;
    bench.fms.position.longitude = 8.25;
    ASSERT_TRUE(enterMapRoute(bench.fms));
    const FlightPlan& plan = activeFlightPlan;
    const std::size_t pLeg = plan.activeLeg + 1;
    ASSERT_EQ(plan.legs[pLeg].wpt.ident, "P");
    activeFlightPlan.placeMarker(
        plan.legs[plan.activeLeg].distance + plan.legs[pLeg].distance / 2.0, "TOD");
    ASSERT_EQ(plan.legs[pLeg].markers.size(), 1u);
    const PilotPoint& marker = plan.legs[pLeg].markers.front();
    press({5, Mfd::kKnobSmallUp, Mfd::kKnobSmallUp, Mfd::kKnobSmallUp});
    ASSERT_EQ(mfd().range(), 50);
    // North up, 110 units for 50 nm, from the present position at the view's centre.
    const auto onPlan = [](double latitude, double longitude) {
        const FlatEarth origin(47.35, 8.25);
        double east = 0.0;
        double north = 0.0;
        origin.eastNorthTo(latitude, longitude, east, north);
        return platform::gfx::PointF{200 + 2.2 * east, 130 - 2.2 * north};
    };
    drawn();
    picture("PlanWithData");
    const auto active = onPlan(47.2, 8.3);
    const auto tod = onPlan(marker.latitude, marker.longitude);
    EXPECT_GT(count(Mfd::kMagenta, active.x - 9, active.y - 9, 18, 18), 10) << "active star";
    EXPECT_GT(count(Mfd::kMagenta, active.x + 12, active.y - 16, 24, 18), 10) << "ABC";
    EXPECT_GT(count(0xFFF5F5F5, tod.x - 6, tod.y - 9, 12, 18), 8) << "TOD diamond";
    EXPECT_GT(count(0xFFFFFFFF, tod.x + 12, tod.y - 16, 30, 18), 10) << "TOD ident";
    press({1, 4});
    drawn();
    EXPECT_GT(count(Mfd::kMagenta, active.x - 9, active.y - 9, 18, 18), 10) << "the star stays";
    EXPECT_EQ(count(Mfd::kMagenta, active.x + 12, active.y - 16, 24, 18), 0) << "no ident";
}

TEST_F(MfdScreen, ReadingsOfTheDataFieldsAndTheTrafficTags) {
    const struct {
        double crossTrack;
        const char* shown;
    } crossTracks[] = {{0.004, "0.0"}, {-0.004, "0.0"},   {-0.5, "0.50L"}, {0.5, "0.50R"},
                       {1.5, "1.5R"},  {-99.94, "99.9L"}, {120.0, "120R"}, {130.0, ""}};
    for (const auto& c : crossTracks) {
        EXPECT_EQ(Mfd::crossTrackText(c.crossTrack), c.shown) << c.crossTrack;
    }
    const struct {
        float celsius;
        const char* shown;
    } temperatures[] = {{-0.4f, "0"}, {0.49f, "0"}, {-0.5f, "-0"}, {-0.6f, "-1"}, {15.2f, "+15"}};
    for (const auto& c : temperatures) {
        EXPECT_EQ(Mfd::temperatureText(c.celsius), c.shown) << c.celsius;
    }
    const struct {
        int32_t range;
        const char* half;
    } ranges[] = {{5, "2.5"}, {25, "12.5"}, {10, "5"}, {1000, "500"}, {300, "150"}};
    for (const auto& c : ranges) {
        EXPECT_EQ(Mfd::halfRangeText(c.range), c.half) << c.range;
    }
    const struct {
        int32_t relative, flightLevel;
        bool flightLevelTag;
        const char* tag;
    } tags[] = {{-5, 0, false, "-05"}, {123, 0, false, "??"},  {0, 0, false, "+00"},
                {28, 0, false, "+28"}, {-100, 0, false, "??"}, {5, 95, true, "FL095"}};
    for (const auto& c : tags) {
        EXPECT_EQ(Mfd::tcasTag(c.relative, c.flightLevel, c.flightLevelTag), c.tag);
    }
}

TEST_F(MfdScreen, ReadingsOfTheSystemPages) {
    const struct {
        float psi;
        bool unpowered;
        MfdReading shown;
    } pressures[] = {{3000, false, {"3000", Mfd::kGreen}},
                     {1250, false, {"1200", Mfd::kYellow, Mfd::kYellow}},
                     {3250, false, {"3200", Mfd::kYellow, Mfd::kYellow}},
                     {4500, false, {"4000", Mfd::kYellow, Mfd::kYellow}},
                     {40, false, {"0", Mfd::kYellow, Mfd::kYellow}},
                     {2950, false, {"2900", Mfd::kGreen}},
                     {3000, true, {"- - - -", Mfd::kYellow}}};
    for (const auto& c : pressures) {
        const MfdReading shown = Mfd::hydraulicPressureReading(c.psi, c.unpowered);
        EXPECT_EQ(shown.text, c.shown.text) << c.psi;
        EXPECT_EQ(shown.colour, c.shown.colour) << c.psi;
        EXPECT_EQ(shown.box, c.shown.box) << c.psi;
    }
    const struct {
        float t, green, max, height;
    } brakes[] = {{100, 200, 600, 10}, {200, 200, 600, 20},       {400, 200, 600, 30},
                  {600, 200, 600, 40}, {999, 1000, 1000, 19.98f}, {1000, 1000, 1000, 40},
                  {-50, 200, 600, 0}};
    for (const auto& c : brakes) {
        EXPECT_NEAR(Mfd::brakePointerHeight(c.t, c.green, c.max), c.height, 1e-3) << c.t;
    }
    const struct {
        float quantity;
        const char* shown;
        Mfd::Argb colour;
    } tanks[] = {{3000, "3000", Mfd::kGreen}, {1239.9f, "1230", Mfd::kGreen},
                 {880, "880", Mfd::kYellow},  {879, "870", Mfd::kYellow},
                 {450, "450", Mfd::kYellow},  {449, "440", Mfd::kRed}};
    for (const auto& c : tanks) {
        EXPECT_EQ(Mfd::fuelQuantityText(c.quantity), c.shown);
        EXPECT_EQ(Mfd::fuelLevelColour(c.quantity, 880, 450), c.colour) << c.quantity;
    }
    const struct {
        float celsius;
        MfdReading shown;
    } fuelTemperatures[] = {{-0.3f, {"0", Mfd::kGreen}},
                            {-40, {"-40", Mfd::kYellow, Mfd::kYellow}},
                            {-39.6f, {"-40", Mfd::kGreen}}};
    for (const auto& c : fuelTemperatures) {
        const MfdReading shown = Mfd::fuelTemperatureReading(c.celsius);
        EXPECT_EQ(shown.text, c.shown.text);
        EXPECT_EQ(shown.colour, c.shown.colour) << c.celsius;
        EXPECT_EQ(shown.box, c.shown.box) << c.celsius;
    }
    const struct {
        float celsius;
        const char* shown;
    } cabins[] = {{23.4f, "23"}, {-0.3f, "0"}, {-0.6f, "-1"}, {55, "50"}};
    for (const auto& c : cabins) {
        EXPECT_EQ(Mfd::cabinTemperatureText(c.celsius), c.shown) << c.celsius;
    }
    const struct {
        float psi;
        MfdReading shown;
    } oxygen[] = {
        {1780, {"1780", Mfd::kGreen}}, {399, {"390", Mfd::kYellow}}, {249, {"240", Mfd::kRed}}};
    for (const auto& c : oxygen) {
        EXPECT_EQ(Mfd::oxygenReading(c.psi).text, c.shown.text);
        EXPECT_EQ(Mfd::oxygenReading(c.psi).colour, c.shown.colour) << c.psi;
    }
}

TEST_F(MfdScreen, ReadingsOfTheElectricalSynoptic) {
    const struct {
        float volts, amps;
        bool on;
        MfdReading volt, amp;
    } sources[] = {
        {28.3f, 187.9f, true, {"28.3", Mfd::kGreen}, {"185", Mfd::kGreen}},
        {28.0f, 403.0f, true, {"28.0", Mfd::kGreen}, {"400", Mfd::kGreen}},
        {28.0f, 405.0f, true, {"28.0", Mfd::kGreen}, {"405", Mfd::kYellow, Mfd::kYellow}},
        {28.0f, 700.0f, true, {"28.0", Mfd::kGreen}, {"600", Mfd::kYellow, Mfd::kYellow}},
        {0.0f, 0.0f, false, {"0.0", Mfd::kYellow, Mfd::kYellow}, {"0", Mfd::kYellow, Mfd::kYellow}},
        {43.0f, 0.0f, true, {"40.0", Mfd::kGreen}, {"0", Mfd::kGreen}},
    };
    for (const auto& c : sources) {
        const auto shown = Mfd::sourceReadings(c.volts, c.amps, c.on);
        for (int i = 0; i < 2; ++i) {
            const MfdReading& expected = i == 0 ? c.volt : c.amp;
            EXPECT_EQ(shown[i].text, expected.text) << c.volts << " " << c.amps;
            EXPECT_EQ(shown[i].colour, expected.colour) << expected.text;
            EXPECT_EQ(shown[i].box, expected.box) << expected.text;
        }
    }
    const struct {
        float celsius;
        bool automatic;
        MfdReading volt, degrees;
    } batteries[] = {
        {30, true, {"24.0", Mfd::kGreen}, {"30", Mfd::kGreen}},
        {71.6f, true, {"24.0", Mfd::kGreen}, {"71", Mfd::kRed, Mfd::kRed}},
        {30, false, {"24.0", Mfd::kYellow, Mfd::kYellow}, {"30", Mfd::kYellow, Mfd::kYellow}},
        {80, false, {"24.0", Mfd::kYellow, Mfd::kYellow}, {"80", Mfd::kRed, Mfd::kRed}},
        {-45, true, {"24.0", Mfd::kGreen}, {"-40", Mfd::kGreen}},
    };
    for (const auto& c : batteries) {
        const auto shown = Mfd::batteryReadings(24.0f, c.celsius, c.automatic);
        for (int i = 0; i < 2; ++i) {
            const MfdReading& expected = i == 0 ? c.volt : c.degrees;
            EXPECT_EQ(shown[i].text, expected.text) << c.celsius;
            EXPECT_EQ(shown[i].colour, expected.colour) << c.celsius << " " << expected.text;
            EXPECT_EQ(shown[i].box, expected.box) << c.celsius << " " << expected.text;
        }
    }
}

TEST_F(MfdScreen, EachSystemsPageDrawsWhatItsSystemsHold) {
    bench.ahrs.onGround = true;
    fadec.resetRequest = {true, true};
    engine1.oilQuantity = 5.4f;
    engine2.oilQuantity = 9.0f;
    mechanisation.exitOpen = {0.1f, 0.0f};
    drawn();
    picture("EngineDoorOpen");
    EXPECT_GT(count(Mfd::kRed, 235, 366, 6, 6), 30) << "main door square red";
    EXPECT_GT(count(Mfd::kRed, 214, 374, 44, 3), 40) << "DOOR OPEN box";
    EXPECT_GT(count(Mfd::kYellow, 28, 385, 42, 2), 30) << "low oil box of engine 1";
    EXPECT_EQ(count(Mfd::kYellow, 150, 385, 42, 2), 0) << "no box for engine 2";

    hydraulic1.pressure = 3000.0f;
    hydraulic1.quantity = 1.0f;
    hydraulic2.pressure = 1000.0f;
    hydraulic2.quantity = 0.9f;
    mechanisation.scaleMaxGreen = 200.0f;
    mechanisation.scaleMax = 600.0f;
    mechanisation.brakeTemperatureLeft = 400.0f;
    mechanisation.brakeTemperatureRight = 100.0f;
    mechanisation.brakeSensor1Unpowered = true;
    press({0, 4});
    drawn();
    picture("Hydraulic");
    EXPECT_GT(count(Mfd::kGreen, 35, 347, 5, 4), 4) << "quantity 1.0 points green at x 37";
    EXPECT_GT(count(Mfd::kYellow, 197, 347, 5, 4), 4) << "quantity 0.9 points yellow";
    EXPECT_GT(count(Mfd::kYellow, 198, 360, 42, 2), 30) << "low pressure box of system 2";

    fuel.leftFuel = 3000.0f;
    fuel.rightFuel = 449.0f;
    fuel.pumpRunning1 = {true, false, true};
    press({3});
    drawn();
    picture("Fuel");
    EXPECT_GT(count(Mfd::kGreen, 34, 366, 5, 3), 3) << "tank 1 pointer at y 367.68";
    EXPECT_GT(count(Mfd::kRed, 288, 345, 38, 2), 30) << "red box of tank 2";
    EXPECT_GT(count(Mfd::kRed, 190, 345, 50, 2), 30) << "the total takes the lower tank's red";

    pneumatic.ecsIndicatorValue = 249.0f;
    press({2});
    drawn();
    picture("Environment");
    EXPECT_GT(count(Mfd::kRed, 248, 371, 5, 6), 8) << "red oxygen pointer near the foot";

    bench.network.generator1.connected = false;
    bench.network.power({1, 2, 3});
    bench.step();
    press({5});
    drawn();
    picture("Electrical");
    EXPECT_GT(count(Mfd::kGreen, 28, 358, 80, 4), 200) << "bus 1 powered";
    EXPECT_GT(count(Mfd::kYellow, 152, 358, 88, 4), 200) << "bus 0 dead";
    EXPECT_GT(count(Mfd::kYellow, 26, 316, 40, 2), 30) << "GEN1 off: boxed volts";
}

} // namespace
} // namespace tavi::test
