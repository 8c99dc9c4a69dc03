#include "support/CduPlanSession.h"
#include "support/PredictionRoute.h"

namespace tavi::test {
namespace {

constexpr int kLeftTankGallonsToken = 304;
constexpr int kRightTankGallonsToken = 303;
constexpr int kPoundsPerGallonToken = 306;

// The crew's performance initialisation through the stand-in's keyboard, from the route to
// PERF DATA, and a look at every performance page; each page goes to a picture.
class PerfPagesSession : public CduPlanSession {
protected:
    PerfPagesSession() {
        useKeyboard();
        fillPerformanceTables(fms().performance());
        // 5000 lb in the tanks.
        module.simulator.panel.setToken(kPoundsPerGallonToken, 6.25);
        module.simulator.panel.setToken(kLeftTankGallonsToken, 400.0);
        module.simulator.panel.setToken(kRightTankGallonsToken, 400.0);
        module.simulator.step();
    }
    void clearMessages() {
        while (fms().hasMessage()) {
            press(kBackspaceKey);
        }
    }
    int32_t page() { return fms().currentPage; }
    // The four weights of PERFORMANCE INIT, then CONFIRM INIT.
    void confirmInit() {
        pageKey(Fms::kPerfKey);
        typeThenPress("", kL1);
        press(kPageUpKey);
        typeThenPress("28000", kL1);
        typeThenPress("4/190", kR1);
        typeThenPress("4980", kL2);
        typeThenPress("0", kL3);
        clearMessages();
        typeThenPress("", kR4);
        clearMessages();
    }
};

// A route typed up to its last fix, the destination airport entered only as DEST: the route
// ends at the last fix and goes direct to the airport, so CONFIRM INIT starts the predictions.
TEST_F(PerfPagesSession, ARouteThatStopsAtItsLastFixIsPredictedToTheDestination) {
    pageKey(Fms::kFplKey);
    typeThenPress("ZZAA", kL1);
    typeThenPress("ZZAD", kR2);
    typeThenPress("P", kL2);
    typeThenPress("A1.S", kL3);
    ASSERT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "Q", "R", "S"}));
    confirmInit();
    ASSERT_EQ(page(), 27);
    EXPECT_TRUE(fms().perfInit.initialised);
    EXPECT_EQ(row(5).substr(6), "<-FUEL REQ->");
    EXPECT_NE(row(5).substr(0, 6), "   0.0") << "fuel required predicted";
    EXPECT_GT(fms().perfInit.prediction[PerfPrediction::TodDistance], 0.0f);
}

// A route edit that takes the destination away withdraws the predictions and their top of
// descent; with the destination back they come back, without a second CONFIRM INIT.
TEST_F(PerfPagesSession, PredictionsComeBackWhenTheRouteIsCompleteAgain) {
    typeRoute();
    confirmInit();
    ASSERT_TRUE(fms().perfInit.initialised);
    const float topOfDescent = fms().perfInit.prediction[PerfPrediction::TodDistance];
    ASSERT_GT(topOfDescent, 0.0f);

    const Waypoint destination = activeFlightPlan.dest;
    activeFlightPlan.setDestination(Waypoint(), fms().planContext());
    module.simulator.step();
    EXPECT_FALSE(fms().perfInit.initialised);
    EXPECT_EQ(fms().perfInit.prediction[PerfPrediction::TodDistance], 0.0f) << "nothing stale";
    module.simulator.step();
    EXPECT_FALSE(fms().perfInit.initialised);

    activeFlightPlan.setDestination(destination, fms().planContext());
    module.simulator.step();
    EXPECT_TRUE(fms().perfInit.initialised);
    EXPECT_FLOAT_EQ(fms().perfInit.prediction[PerfPrediction::TodDistance], topOfDescent);
}

TEST_F(PerfPagesSession, TheCrewInitialisesPerformanceAndSeesThePredictions) {
    typeRoute();
    ASSERT_EQ(legIdents(activeFlightPlan), (std::vector<std::string>{"P", "Q", "R", "S", "ZZAD"}));

    pageKey(Fms::kPerfKey);
    screenshot("perf-index-1");
    typeThenPress("", kL1);
    ASSERT_EQ(page(), 20);
    screenshot("perf-init-1");
    press(kPageUpKey);
    EXPECT_EQ(fms().perfInit.subPage, 5);
    screenshot("perf-init-5-new");
    typeThenPress("28000", kL1);
    typeThenPress("4/190", kR1);
    typeThenPress("8000", kL2);
    EXPECT_EQ(message(), "COMPARE FUEL QUANTITY") << "8000 lb against 5000 in the tanks";
    clearMessages();
    typeThenPress("4980", kL2);
    typeThenPress("0", kL3);
    EXPECT_EQ(row(4), "4980  (5000 )        760");
    EXPECT_EQ(row(6), "0                  33740");
    EXPECT_EQ(row(7), "           CONFIRM INIT?");
    screenshot("perf-init-5");

    typeThenPress("", kR4);
    clearMessages();
    EXPECT_TRUE(fms().perfInit.initialised) << "CONFIRM INIT confirmed the initialisation";
    ASSERT_EQ(page(), 27);
    // 33,740 lb: the ceiling table's lightest row, FL470 and its optimum both above FL370.
    EXPECT_EQ(row(2).substr(0, 11),
              fms().parser.formatAltitude(fms().perfInit.initCrzAlt) + "/FL370")
        << "the ceiling of the first prediction";
    EXPECT_EQ(fms().perfInit.initCrzAlt, 15000)
        << "the least trip fuel of the route: against an optimum of FL370 the walk goes on past "
           "its first saving, where an optimum of 0 would stop it";
    EXPECT_EQ(row(5).substr(6), "<-FUEL REQ->");
    EXPECT_NE(row(5).substr(0, 6), "   0.0") << "fuel required predicted";
    for (int32_t subPage = 1; subPage <= 4; ++subPage) {
        screenshot("perf-data-" + std::to_string(subPage));
        press(kPageDownKey);
    }

    typeThenPress("", kL4);
    ASSERT_EQ(page(), 20);
    press(kPageDownKey);
    screenshot("perf-init-2");
    typeThenPress("", kR1);
    screenshot("climb-modes");
    typeThenPress("", kR1);
    typeThenPress("", kR2);
    screenshot("cruise-modes");
    typeThenPress(".74", kL1);
    EXPECT_EQ(fms().perfInit.cruizeMode, 3);
    EXPECT_NEAR(fms().perfInit.manualCruiseMach, 0.74, 1e-9);
    ASSERT_EQ(page(), 20);
    typeThenPress("", kR3);
    screenshot("descent-modes");
    typeThenPress("", kR1);
    typeThenPress("", kL4);
    screenshot("dep-speed");
    press(kPageDownKey);
    screenshot("app-speed");
    typeThenPress("", kR1);
    press(kPageDownKey);
    screenshot("perf-init-3");
    typeThenPress("", kR2);
    screenshot("fuel-reserve");
    typeThenPress("45", kL3);
    EXPECT_EQ(fms().perfInit.fuelReserveType, 2);
    press(kPageDownKey);
    screenshot("perf-init-4");
    typeThenPress("", kL4);
    ASSERT_EQ(page(), 26);
    EXPECT_EQ(row(2).substr(0, 5), " ZZAA") << "the FROM entry: the origin";
    EXPECT_NE(row(4).find("W/T"), std::string::npos);
    EXPECT_NE(row(4).substr(9, 3), "0.0") << "fuel predicted at Q";
    screenshot("perf-plan-1");
    typeThenPress("", kR2);
    ASSERT_EQ(page(), 55);
    typeThenPress("270/45", kR2);
    typeThenPress("", kR4);
    screenshot("wind-temp");
    EXPECT_EQ(activeFlightPlan.legs[activeFlightPlan.activeLeg].windDirection, 270);
    typeThenPress("", kR1);
    ASSERT_EQ(page(), 26);

    pageKey(Fms::kPerfKey);
    typeThenPress("", kL3);
    screenshot("climb");
    typeThenPress("", kR4);
    screenshot("cruise-1");
    press(kPageDownKey);
    EXPECT_EQ(row(2).find("NOT INITIALIZED"), std::string::npos);
    screenshot("cruise-2");
    typeThenPress("", kR4);
    screenshot("descent");
    pageKey(Fms::kPerfKey);
    press(kPageUpKey);
    typeThenPress("", kL1);
    screenshot("fuel-mgt-1");
    press(kPageDownKey);
    screenshot("fuel-mgt-2");
}

TEST_F(PerfPagesSession, AWeightTypedInKilogramsReadsBackWithoutDrift) {
    module.writeIni("[Startup]\nstartupMode=2\n[Preferences]\nfuelUseKg=1\n");
    fms().loadSettings(module.aircraft());
    pageKey(Fms::kPerfKey);
    typeThenPress("", kL1);
    press(kPageUpKey);
    typeThenPress("59", kL3);
    EXPECT_EQ(row(0).substr(0, 20), " PERFORMANCE INIT-KG");
    EXPECT_EQ(row(6).substr(0, 3), "59 ");
    typeThenPress("", kL3);
    EXPECT_EQ(fms().scratchPad.text(), "59") << "the recall reads as typed";
    deleteWith(kL3);
    typeThenPress("12700", kL3);
    EXPECT_EQ(row(6).substr(0, 6), "12700 ");
    EXPECT_NEAR(fms().perfInit.cargoWeight, 27998.7, 0.1);

    module.writeIni("[Startup]\nstartupMode=2\n[Preferences]\nfuelUseKg=0\n");
    fms().loadSettings(module.aircraft());
    EXPECT_EQ(row(6).substr(0, 6), "27998 ") << "the same weight in pounds";
    screenshot("perf-init-5-lb");
}

TEST_F(PerfPagesSession, TheWeightUnitIsTheOneTheScreensShow) {
    const struct {
        const char* value;
        const char* title;
    } cases[] = {{"1", " PERFORMANCE INIT-KG"},
                 {"2", " PERFORMANCE INIT-LB"},
                 {"kg", " PERFORMANCE INIT-LB"},
                 {"0", " PERFORMANCE INIT-LB"}};
    pageKey(Fms::kPerfKey);
    typeThenPress("", kL1);
    press(kPageUpKey);
    for (const auto& c : cases) {
        module.writeIni(std::string("[Startup]\nstartupMode=2\n[Preferences]\nfuelUseKg=") +
                        c.value + "\n");
        fms().loadSettings(module.aircraft());
        module.simulator.step();
        EXPECT_EQ(row(0).substr(0, 20), c.title) << c.value;
    }
}

} // namespace
} // namespace tavi::test
