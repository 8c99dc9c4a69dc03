#include "displays/Pfd.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "cdu/PerfInit.h"
#include "core/Format.h"
#include "core/StateField.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "gauges/AutopilotPanelKnobs.h"
#include "platform/gfx/Surface.h"
#include "platform/profile/Profile.h"
#include "support/FlightScenario.h"
#include "support/IlsApproach.h"
#include "support/PredictionRoute.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <numbers>

namespace tavi::test {
namespace {

constexpr uint32_t kPfdGreen = 0xFF00FF00;
constexpr uint32_t kPfdRed = 0xFFFF0000;
constexpr uint32_t kPfdAmber = 0xFFF8DF23;
constexpr uint32_t kPfdCyan = 0xFF00FFFF;
constexpr uint32_t kPfdMagenta = 0xFFFF00FF;

// A display drawn at its logical size, with probes of its pixels.
class PfdPicture {
public:
    explicit PfdPicture(Pfd& pfd) : pfd(pfd) {
        surface.setLogicalSize(Pfd::kWidth, Pfd::kHeight);
        redraw();
    }

    // The frame throttle skips one draw in a hundred: draw until one paints.
    void redraw() {
        surface.changed = false;
        for (int attempt = 0; attempt < 5 && !surface.changed; ++attempt) {
            pfd.draw(surface, 400, 476, false);
        }
    }

    // Pixels within a few levels of the colour in the rectangle.
    int count(uint32_t colour, int x, int y, int width, int height) const {
        int found = 0;
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                found += near(surface.pixel(px, py), colour) ? 1 : 0;
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
    bool isBlack() const { return lit(0, 0, 400, 476) == 0; }

    // Keeps every screen of the aircraft when PFD_SCREENS names a folder, for a look by eye.
    static void keep(const Aircraft& aircraft, const std::string& name) {
        if (const char* folder = std::getenv("PFD_SCREENS")) {
            const auto state = std::filesystem::path(folder) / name;
            std::filesystem::create_directories(state);
            writeScreens(aircraft, state, 2);
        }
    }

    Pfd& pfd;
    platform::gfx::Surface surface{400, 476};

private:
    static bool near(uint32_t pixel, uint32_t colour) {
        for (int shift : {0, 8, 16}) {
            const int a = static_cast<int>((pixel >> shift) & 0xFF);
            const int b = static_cast<int>((colour >> shift) & 0xFF);
            if (std::abs(a - b) > 24) {
                return false;
            }
        }
        return true;
    }
};

Pfd& pfdOf(Aircraft& aircraft, int side) {
    return *dynamic_cast<Pfd*>(aircraft.display(side == 1 ? kPfdLeft : kPfdRight));
}

TEST(PfdScaleTest, VerticalSpeedScaleIsTheUnevenTable) {
    const struct {
        float feetPerMinute;
        float deflection;
    } cases[] = {{0, 0},     {500, 9},   {1000, 18}, {-1500, -26},  {2000, 35}, {-2000, -34},
                 {3500, 55}, {4000, 60}, {7000, 60}, {-12000, -60}, {NAN, 0.0f}};
    for (const auto& c : cases) {
        EXPECT_FLOAT_EQ(Pfd::vsiDeflection(c.feetPerMinute), c.deflection) << c.feetPerMinute;
    }
}

TEST(PfdScaleTest, ResolutionAdvisoryBandsByKind) {
    const struct {
        int32_t kind;
        bool selfTest;
        bool justIssued;
        int32_t level;
        std::array<float, 4> limits;
    } cases[] = {
        {14, false, false, 3, {-60, 60, -4.5f, 4.5f}}, {0, false, true, 3, {-60, 26.5f, 26.5f, 35}},
        {4, false, true, 3, {-60, -9, 0, 0}},          {4, false, false, 3, {-60, -9, -9, 4.5f}},
        {3, false, false, 2, {-60, 0, 0, 0}},          {9, true, true, 3, {-60, 0, 0, 0}},
        {9, true, false, 3, {-60, 0, 0, 4.5f}},        {20, false, false, 3, {0, 0, 0, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Pfd::raBands(c.kind, c.selfTest, c.justIssued, c.level), c.limits) << c.kind;
    }
}

TEST(PfdScaleTest, ReadoutTextsAsDrawn) {
    EXPECT_EQ(Pfd::verticalSpeedReadout(550), "600");
    EXPECT_EQ(Pfd::verticalSpeedReadout(-1549), "-1500");
    EXPECT_EQ(Pfd::verticalSpeedReadout(12000), "9900");
    EXPECT_EQ(Pfd::machText(0.5f), ".500");
    EXPECT_EQ(Pfd::machText(1.2f), "1.20");
    EXPECT_EQ(Pfd::distanceText(99.9), "99.9");
    EXPECT_EQ(Pfd::distanceText(100.0), "100");
    EXPECT_EQ(Pfd::headingReadoutText(359.6f), "360");
    EXPECT_EQ(Pfd::headingReadoutText(0.4f), "360");
    EXPECT_EQ(Pfd::headingReadoutText(359.4f), "359");
    EXPECT_EQ(Pfd::headingReadoutText(90.2f), "090");
    EXPECT_EQ(Pfd::navTimeToGoText(12.5f, 150.0f), "05:00");
    EXPECT_EQ(Pfd::navTimeToGoText(12.5f, -150.0f), "05:00");
    EXPECT_EQ(Pfd::fmsTimeToGoText(3590.0), "01:00");
    EXPECT_EQ(Pfd::fmsTimeToGoText(3569.0), "00:59");
}

TEST(PfdScaleTest, DrumsRollIntoTheNextDigit) {
    auto speed = Pfd::airspeedDrum(99.5f);
    EXPECT_EQ(speed[0].digit, 0);
    EXPECT_FLOAT_EQ(speed[0].fraction, 0.5f);
    EXPECT_EQ(speed[1].digit, 9);
    EXPECT_FLOAT_EQ(speed[1].fraction, 0.5f);
    speed = Pfd::airspeedDrum(100.0f);
    EXPECT_EQ(speed[0].digit, 1);
    EXPECT_FLOAT_EQ(speed[2].fraction, 0.0f);

    auto altitude = Pfd::altitudeDrum(5230.0f);
    EXPECT_EQ(altitude.columns[0].digit, 0);
    EXPECT_EQ(altitude.columns[1].digit, 5);
    EXPECT_EQ(altitude.columns[2].digit, 2);
    EXPECT_GT(altitude.lastTwoDigits, 1.0f) << "past 20";
    EXPECT_LT(altitude.lastTwoDigits, 2.0f) << "short of 40";
    altitude = Pfd::altitudeDrum(9990.0f);
    for (const auto& column : altitude.columns) {
        EXPECT_FLOAT_EQ(column.fraction, 0.5f);
    }
    altitude = Pfd::altitudeDrum(-150.0f);
    EXPECT_EQ(altitude.columns[2].digit, 1);
}

// The module on the stand-in simulator, cold and dark or with the engines running.
class PfdModuleTest : public testing::Test {
protected:
    void start(const std::string& ini = FlightScenario::kEnginesRunning) {
        module.writeIni(ini);
        module.startModule();
        step(3);
    }
    void step(int frames) {
        for (int i = 0; i < frames; ++i) {
            module.simulator.step();
        }
    }
    Pfd& pfd(int side) { return pfdOf(module.aircraft(), side); }
    void request(const std::string& name) { module.simulator.panel.setNamedVariable(name, 1.0); }
    double variable(const std::string& name) { return module.simulator.panel.namedVariable(name); }

    ModuleHarness module;
};

TEST_F(PfdModuleTest, ColdAndDarkBothDisplaysAreBlackAndDrawNoLoad) {
    start("");
    Electric& electric = *module.aircraft().electric();
    electric.avionicsMaster1 = false;
    electric.avionicsMaster2 = false;
    step(2);
    for (int side : {1, 2}) {
        EXPECT_TRUE(pfd(side).unpowered) << side;
        PfdPicture picture(pfd(side));
        EXPECT_TRUE(picture.isBlack()) << side;
        PfdPicture::keep(module.aircraft(), "ColdAndDark");
    }
}

TEST_F(PfdModuleTest, SettingsChooseCrossBarsHectopascalsAndTheFrameRate) {
    start("[Startup]\nstartupMode=2\n[Preferences]\nvBarOn=0\npressUseHpa=1\n[FPS]\npfd=150\n");
    EXPECT_FALSE(pfd(1).vBarOn);
    EXPECT_FALSE(pfd(1).baroInInches);
    EXPECT_EQ(pfd(1).fpsPercent, 100);
    EXPECT_TRUE(pfd(2).dataReady);
}

TEST_F(PfdModuleTest, NamedVariablesOfEachSide) {
    start();
    RadAlt& radAlt = *module.aircraft().radAlt();
    const struct {
        const char* name;
        int32_t sourceBefore;
        int32_t sourceAfter;
    } bearings[] = {{"TaviPfd#Brg1Inc", 3, 3},
                    {"TaviPfd#Brg1Inc", 1, 2},
                    {"TaviPfd#Brg1Dec", 0, 0},
                    {"TaviPfd#Brg1Dec", 2, 1}};
    for (int side : {1, 2}) {
        auto named = [side](std::string name) {
            name[name.find('#')] = static_cast<char>('0' + side);
            return name;
        };
        for (const auto& c : bearings) {
            pfd(side).bearing1Source = c.sourceBefore;
            request(named(c.name));
            step(1);
            EXPECT_EQ(pfd(side).bearing1Source, c.sourceAfter) << named(c.name);
            EXPECT_EQ(variable(named(c.name)), 0.0) << "a request is taken once";
            EXPECT_EQ(variable(named("TaviPfd#Brg1")), c.sourceAfter);
        }
        request(named("TaviPfd#Brg2Inc"));
        step(1);
        EXPECT_EQ(variable(named("TaviPfd#Brg2")), 1.0);

        const struct {
            const char* name;
            int32_t before;
            int32_t after;
        } heights[] = {{"TaviDh#Inc", 200, 210},
                       {"TaviDh#Dec", 200, 195},
                       {"TaviDh#Inc", 195, 200},
                       {"TaviDh#Dec", 0, 0},
                       {"TaviDh#Inc", 1000, 1000}};
        for (const auto& c : heights) {
            radAlt.setDecisionHeight(c.before);
            request(named(c.name));
            step(1);
            EXPECT_EQ(radAlt.decisionHeight, c.after) << named(c.name) << " from " << c.before;
        }

        const bool arc = pfd(side).hsiArcMode;
        const bool timeToGo = pfd(side).showTimeToGo;
        const bool inches = pfd(side).baroInInches;
        request(named("TaviPfd#FullWxClick"));
        request(named("TaviPfd#GspdTtgClick"));
        request(named("Pfd#InHpaClick"));
        step(1);
        EXPECT_NE(pfd(side).hsiArcMode, arc);
        EXPECT_NE(pfd(side).showTimeToGo, timeToGo);
        EXPECT_NE(pfd(side).baroInInches, inches);
        EXPECT_EQ(pfd(3 - side).hsiArcMode, false) << "the other side keeps its own format";

        const FlightDirector& director = *module.aircraft().flightDirector();
        request(named("RuriRaz#OroDezor"));
        step(1);
        EXPECT_TRUE(director.isFmsSource(side));
        request(named("VezoDid#UvuVorev"));
        step(1);
        EXPECT_FALSE(director.isFmsSource(side));
        pfd(side).hsiArcMode = false;
    }
}

TEST_F(PfdModuleTest, EitherSidesBaroRequestsSetTheOneMainSetting) {
    start();
    Baro& baro = *module.aircraft().baro();
    baro.setBaroSetting(30.10f);
    step(1);
    request("Pfd2StdClick");
    step(2);
    EXPECT_NEAR(baro.mainSettingInHg, 29.92f, 0.005f);
    request("Pfd1KnobIncClick");
    step(2);
    EXPECT_NEAR(baro.mainSettingInHg, 29.93f, 0.005f);
    pfd(1).baroInInches = false;
    request("Pfd1KnobDecClick");
    step(2);
    EXPECT_NEAR(baro.mainSettingInHg, 29.92f, 0.005f) << "0.01 inHg steps also in hPa";
}

TEST_F(PfdModuleTest, BearingSourcesRoundTripThroughTheStateFile) {
    start();
    TempFolder folder;
    StateFile file;
    file.path = (folder.path() / "flight.flt").string();
    pfd(1).bearing1Source = 1;
    pfd(1).bearing2Source = 3;
    pfd(1).saveState(file);
    EXPECT_EQ(platform::profile::lookup(file.path, "TAVI.PFD", "data1").value_or(""),
              "0100000003000000");

    pfd(2).loadState(file);
    EXPECT_EQ(pfd(2).bearing1Source, 0) << "side 2 has its own key";
    pfd(1).bearing1Source = 0;
    pfd(1).bearing2Source = 0;
    pfd(1).loadState(file);
    EXPECT_EQ(pfd(1).bearing1Source, 1);
    EXPECT_EQ(pfd(1).bearing2Source, 3);

    platform::profile::write(file.path, "TAVI.PFD", "data1", "FFFFFFFF09000000");
    pfd(1).loadState(file);
    EXPECT_EQ(pfd(1).bearing1Source, 0) << "a damaged source falls back into range";
    EXPECT_EQ(pfd(1).bearing2Source, 3);
}

// The parts kept as pictures between paints follow what they show: a display that painted one
// state and then another shows the second exactly as a display that paints it first.
TEST_F(PfdModuleTest, KeptPicturesFollowWhatTheyShow) {
    start();
    Aircraft& aircraft = module.aircraft();
    const struct {
        const char* change;
        std::function<void()> onAircraft;
        std::function<void(Pfd&)> onDisplay;
    } cases[] = {
        {"heading", [&] { aircraft.ahrs()->unit1.heading += 37.0f; },
         [](Pfd&) {
         }},
        {"heading on the arc", [&] { aircraft.ahrs()->unit1.heading += 21.0f; },
         [](Pfd& display) {
             display.hsiArcMode = true;
         }},
        {"airspeed", [&] { aircraft.adc()->smoothedAirspeed += 63.3f; },
         [](Pfd&) {
         }},
        {"altitude", [&] { aircraft.adc()->indicatedAltitude += 730.0f; },
         [](Pfd&) {
         }},
        {"brightness", [] {},
         [](Pfd& display) {
             display.setBrightness(300);
         }},
        {"cross bars", [] {},
         [](Pfd& display) {
             display.vBarOn = false;
         }},
        {"no smoothing", [] {},
         [](Pfd& display) {
             display.smoothingMode = PanelElement::kSmoothingNone;
         }},
        {"copying", [&] { aircraft.ahrs()->unit1.heading += 15.0f; },
         [](Pfd& display) {
             display.compositingMode = PanelElement::kCompositingSourceCopy;
         }},
    };
    Pfd& kept = pfd(1);
    PfdPicture picture(kept);
    for (const auto& c : cases) {
        picture.redraw();
        std::vector<uint32_t> earlier;
        for (int y = 0; y < 476; ++y) {
            for (int x = 0; x < 400; ++x) {
                earlier.push_back(picture.surface.pixel(x, y));
            }
        }
        c.onAircraft();
        c.onDisplay(kept);
        picture.redraw();

        Pfd fresh(1);
        fresh.loadSettings(aircraft);
        fresh.update(aircraft);
        fresh.brightness = kept.brightness;
        fresh.vBarOn = kept.vBarOn;
        fresh.hsiArcMode = kept.hsiArcMode;
        fresh.smoothingMode = kept.smoothingMode;
        fresh.compositingMode = kept.compositingMode;
        PfdPicture expected(fresh);
        int changed = 0;
        int wrong = 0;
        for (int y = 0; y < 476; ++y) {
            for (int x = 0; x < 400; ++x) {
                const uint32_t pixel = picture.surface.pixel(x, y);
                changed += pixel != earlier[static_cast<std::size_t>(y * 400 + x)] ? 1 : 0;
                wrong += pixel != expected.surface.pixel(x, y) ? 1 : 0;
            }
        }
        EXPECT_GT(changed, 0) << c.change << " shows";
        EXPECT_EQ(wrong, 0) << c.change;
    }
}

// With the FMS as navigation source the vertical deviation scale is VNAV's: "FMS" over it and a
// magenta pointer as far below its centre as the aircraft is above the descent path, 52 units
// for 400 ft.
TEST_F(PfdModuleTest, TheFmsSourceShowsTheDescentPathDeviation) {
    start();
    Aircraft& aircraft = module.aircraft();
    Fms& fms = *aircraft.fms();
    buildPredictionRoute(activeFlightPlan, 20, 20.0);
    activeFlightPlan.activeLeg = 16;
    activeFlightPlan.descentEndFound = true;
    activeFlightPlan.descentEndLeg = 19;
    activeFlightPlan.legs[19].vnav.hasAltitude = true;
    activeFlightPlan.legs[19].vnav.kind = kAltitudeAt;
    activeFlightPlan.legs[19].vnav.altitude = 2000;
    // The descent the predictions planned: 3 degrees (318 ft a mile) down to 2000 ft at W19.
    for (std::size_t i = 15; i < 20; ++i) {
        activeFlightPlan.legs[i].vnav.predictedAltitude =
            2000 + static_cast<int32_t>(19 - i) * 6360;
        activeFlightPlan.legs[i].vnav.pathAngle = 3.0f;
    }
    fms.position.initialised = true;
    fms.perfInit.initialised = true;
    fms.perfInit.cruiseAltitude = 31000;
    fms.perfInit.cruiseReached = true;
    fms.perfInit.descentStarted = true;
    fms.perfInit.prediction[PerfPrediction::TodDistance] = 300.0f;
    aircraft.ahrs()->onGround = false;
    aircraft.flightDirector()->selectNavigationSource(1, true);
    auto descendAt = [&](float altitude) {
        aircraft.adc()->indicatedAltitude = altitude;
        fms.updateVnav();
        return fms.vnav().state.verticalDeviation;
    };
    const float onPath = 25000.0f - static_cast<float>(descendAt(25000.0f));
    PfdPicture picture(pfd(1));

    const struct {
        float abovePath;
        int pointerY;
        int otherY;
    } cases[] = {{200.0f, 173, 108}, {-300.0f, 108, 173}, {0.0f, 147, 173}};
    for (const auto& c : cases) {
        descendAt(onPath + c.abovePath);
        ASSERT_TRUE(fms.vnav().deviationShown);
        picture.redraw();
        EXPECT_GT(picture.count(kPfdMagenta, 297, c.pointerY - 4, 7, 9), 0) << c.abovePath;
        EXPECT_EQ(picture.count(kPfdMagenta, 297, c.otherY - 4, 7, 9), 0) << c.abovePath;
        EXPECT_GT(picture.lit(279, 71, 30, 16), 0) << "FMS over the scale";
    }
    PfdPicture::keep(aircraft, "VnavDescent");

    fms.perfInit.descentStarted = false;
    fms.perfInit.prediction[PerfPrediction::TodDistance] = 900.0f;
    descendAt(onPath + 200.0f);
    ASSERT_FALSE(fms.vnav().deviationShown);
    picture.redraw();
    EXPECT_EQ(picture.count(kPfdMagenta, 297, 169, 7, 9), 0) << "no path, no pointer";
    EXPECT_EQ(picture.lit(279, 71, 30, 16), 0) << "nor a scale";
}

TEST_F(PfdModuleTest, TheAltitudeKnobHidesAnArmedAselForTwoSeconds) {
    start();
    pfd(1).altitudeSelectChangeTime = 0;
    step(1);
    apAltitudeKnobInc(0, 0, kLeftClickFlags);
    EXPECT_EQ(pfd(1).altitudeSelectChangeTime, module.aircraft().simTimeMs);
    EXPECT_EQ(pfd(2).altitudeSelectChangeTime, 0u) << "only the captain's display hears it";
}

} // namespace
} // namespace tavi::test
