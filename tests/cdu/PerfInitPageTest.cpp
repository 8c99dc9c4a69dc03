#include "airframe/FuelSystem.h"
#include "avionics/FlightDirector.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"
#include "support/PredictionRoute.h"

#include <cmath>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <tuple>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kPerfInitPage = 20;
constexpr const char* kDashes = "\u2013\u2013\u2013\u2013\u2013";

// PERFORMANCE INIT on the stand-in, the CDU powered; each test picks its sub-page.
class PerformanceInitPage : public testing::Test {
protected:
    PerfInit& perf() { return cdu.fms().perfInit; }
    void show(int32_t subPage) { cdu.show(kPerfInitPage, subPage); }
    void enterWeights() {
        perf().bow = 28000.0;
        perf().passengerCount = 4;
        perf().cargoWeight = 500.0;
        perf().fuelWeight = 6000.0;
    }
    // The route and tables the predictions need to confirm.
    void givePredictableRoute() {
        buildPredictionRoute(activeFlightPlan, 4, 60.0);
        fillPerformanceTables(cdu.fms().performance());
    }
    // The fields the page's entries write.
    auto entries() {
        const PerfInit& p = perf();
        return std::tuple(p.isManualClimb, p.manualClimbIas, p.manualClimbMach, p.cruizeMode,
                          p.manualCruiseIas, p.manualCruiseMach, p.descentMode, p.manualDescentIas,
                          p.manualDescentAngle, p.vmoMmoDescentAngle, p.fuelReserveType,
                          p.fuelReserveWeight, p.toFuel, p.landFuel, p.transAlt, p.spdLim, p.altLim,
                          p.initCrzAlt, p.optimumRequested, p.crzIsaDev, p.crzWindDir,
                          p.crzWindStrength, p.crzWindAlt, p.bow, p.passengerCount, p.paxWeight,
                          p.cargoWeight, p.fuelWeight);
    }

    CduSession cdu;
};

TEST_F(PerformanceInitPage, EachSubPageAsTheRecordStartsIt) {
    const struct {
        int32_t subPage;
        std::vector<std::string> rows;
    } pages[] = {
        {1,
         {"    PERFORMANCE INIT 1/5", "  ACFT TYPE      TAIL #", " VOSK300X", "  DATA SOURCE",
          " FULL PERF", "", "", "\u25C4AIRCRAFT DB"}},
        {2,
         {"    PERFORMANCE INIT 2/5", " CLIMB", "270/.56M             OR\u25BA", " CRUISE",
          "LRC                  OR\u25BA", " DESCENT", "310/.76M/3.0         OR\u25BA",
          "\u25C4DEP/APP SPD"}},
        {3,
         {" PERFORMANCE INIT-LB 3/5", " STEP INCREMENT", "0", " FUEL RESERVE",
          "NBAA                 OR\u25BA", " TO/LDG FUEL", "400/200 LB", ""}},
        {4,
         {"    PERFORMANCE INIT 4/5", " TRANS ALT  SPD/ALT LIM", "18000          250/10000",
          " INIT CRZ ALT   ISA DEV", "OPTIMUM             +0\u00B0C", " CRZ WINDS  AT ALTITUDE",
          "000T/00             0000", "\u25C4PERF PLAN"}},
        {5,
         {" PERFORMANCE INIT-LB 5/5", " BOW          PASS/@ LB",
          "28000            \u2013\u2013\u2013/190", " FUEL (GAUGE)   PASS WT",
          std::string(kDashes) + " (0    )      " + kDashes, " CARGO         GROSS WT",
          std::string(kDashes) + "              " + kDashes, ""}},
    };
    for (const auto& page : pages) {
        show(page.subPage);
        for (int32_t row = 0; row < 8; ++row) {
            EXPECT_EQ(cdu.row(row), page.rows[static_cast<size_t>(row)])
                << "sub-page " << page.subPage << " row " << row;
        }
    }
    show(2);
    EXPECT_EQ(cdu.cell(2, 0).colour, CduColour::Cyan);
    EXPECT_TRUE(cdu.cell(2, 0).large);
    EXPECT_FALSE(cdu.cell(1, 1).large) << "labels are small";
}

TEST_F(PerformanceInitPage, PagingWrapsAtBothEnds) {
    show(5);
    cdu.press(kNext);
    EXPECT_EQ(perf().subPage, 1);
    cdu.press(kPrev);
    EXPECT_EQ(perf().subPage, 5);
    cdu.press(kPrev);
    EXPECT_EQ(perf().subPage, 4);
}

TEST_F(PerformanceInitPage, EntriesTakenOnEachLine) {
    cdu.module.aircraft().flightDirector()->setAltitudePreselect(25000);
    cdu.frame();
    const struct {
        int32_t subPage;
        int32_t key;
        const char* entry;
        std::function<bool(const PerfInit&)> holds;
    } cases[] = {
        {2, kL1, "280/.70",
         [](const PerfInit& p) {
             return p.isManualClimb && p.manualClimbIas == 280 &&
                    std::abs(p.manualClimbMach - 0.70) < 1e-9;
         }},
        {2, kL2, ".76",
         [](const PerfInit& p) {
             return p.cruizeMode == 3 && p.manualCruiseIas == 0 &&
                    std::abs(p.manualCruiseMach - 0.76) < 1e-9;
         }},
        {2, kL2, "280",
         [](const PerfInit& p) {
             return p.manualCruiseIas == 280 && p.manualCruiseMach == 0.0;
         }},
        {2, kL3, "290/.74/3.5",
         [](const PerfInit& p) {
             return p.descentMode == 2 && p.manualDescentIas == 290 && p.manualDescentAngle == 3.5;
         }},
        {4, kL1, "17000",
         [](const PerfInit& p) {
             return p.transAlt == 17000;
         }},
        {4, kR1, "240/9000",
         [](const PerfInit& p) {
             return p.spdLim == 240 && p.altLim == 9000;
         }},
        {4, kL2, "FL250",
         [](const PerfInit& p) {
             return p.initCrzAlt == 25000 && p.cruiseAltitude == 25000 && !p.optimumRequested;
         }},
        {4, kR2, "-12",
         [](const PerfInit& p) {
             return p.crzIsaDev == -12;
         }},
        {4, kL3, "270/45",
         [](const PerfInit& p) {
             return p.crzWindDir == 270 && p.crzWindStrength == 45;
         }},
        {4, kR3, "FL300",
         [](const PerfInit& p) {
             return p.crzWindAlt == 30000;
         }},
        {5, kL1, "27500",
         [](const PerfInit& p) {
             return p.bow == 27500.0;
         }},
        {5, kR1, "6/180",
         [](const PerfInit& p) {
             return p.passengerCount == 6 && p.paxWeight == 180.0;
         }},
        {5, kR1, "/200",
         [](const PerfInit& p) {
             return p.passengerCount == 6 && p.paxWeight == 200.0;
         }},
        {5, kL3, "1200",
         [](const PerfInit& p) {
             return p.cargoWeight == 1200.0;
         }},
    };
    for (const auto& c : cases) {
        show(c.subPage);
        cdu.enter(c.entry, c.key);
        EXPECT_EQ(cdu.scratchpad(), "") << c.entry;
        EXPECT_EQ(cdu.message(), "") << c.entry;
        EXPECT_TRUE(c.holds(perf())) << c.entry;
    }
}

TEST_F(PerformanceInitPage, ATransitionAltitudeTypedWritesAltitudesAboveItAsLevelsAtOnce) {
    show(4);
    EXPECT_EQ(cdu.fms().parser.formatAltitude(9000), "9000");
    cdu.enter("5000", kL1);
    EXPECT_EQ(cdu.fms().parser.formatAltitude(9000), "FL090");
    EXPECT_EQ(cdu.fms().parser.formatAltitude(5000), "5000");
}

TEST_F(PerformanceInitPage, RefusedEntriesChangeNothing) {
    cdu.module.aircraft().flightDirector()->setAltitudePreselect(30000);
    cdu.frame();
    perf().fuelReserveType = 1;
    perf().fuelReserveWeight = 1500.0;
    const struct {
        int32_t subPage;
        int32_t key;
        const char* entry;
        const char* message;
    } cases[] = {
        {2, kL1, "74", "INVALID ENTRY"},       {2, kL2, "/.76", "INVALID ENTRY"},
        {2, kL2, "451", "INVALID ENTRY"},      {2, kL3, "7", "INVALID ENTRY"},
        {2, kL3, "280//3", "INVALID ENTRY"},   {3, kL2, "ABC", "INVALID ENTRY"},
        {3, kL3, "400/", "INVALID ENTRY"},     {4, kL1, "60001", "INVALID ENTRY"},
        {4, kR1, "250/500", "INVALID ENTRY"},  {4, kL2, "FL250", "RESET ALT SEL?"},
        {4, kR2, "36", "INVALID ENTRY"},       {4, kL3, "361/10", "INVALID ENTRY"},
        {4, kR3, "500", "INVALID ENTRY"},      {5, kL1, "1000000", "INVALID ENTRY"},
        {5, kR1, "1000/190", "INVALID ENTRY"}, {5, kR1, "4/301", "INVALID ENTRY"},
        {5, kL2, "-5", "INVALID ENTRY"},       {5, kL3, "1.5", "INVALID ENTRY"},
    };
    for (const auto& c : cases) {
        show(c.subPage);
        cdu.fms().messages.clear();
        const auto before = entries();
        cdu.enter(c.entry, c.key);
        EXPECT_EQ(cdu.message(), c.message) << c.entry;
        EXPECT_EQ(cdu.scratchpad(), c.entry) << "kept for correction";
        EXPECT_TRUE(entries() == before) << c.entry;
        cdu.fms().setScratchpad("");
    }
}

TEST_F(PerformanceInitPage, AnEmptyPadRecallsAndDeleteRestores) {
    show(5);
    perf().passengerCount = 0;
    cdu.fms().setScratchpad("*DELETE*");
    cdu.press(kR1);
    EXPECT_EQ(perf().paxWeight, 170.0) << "not the 190 of a new record";
    EXPECT_EQ(perf().passengerCount, -1);
    perf().passengerCount = 0;
    cdu.press(kR1);
    EXPECT_EQ(cdu.scratchpad(), "0/170");

    show(4);
    cdu.fms().setScratchpad("");
    cdu.press(kR1);
    EXPECT_EQ(cdu.scratchpad(), "250/10000");
    cdu.fms().setScratchpad("*DELETE*");
    cdu.press(kR1);
    EXPECT_EQ(std::pair(perf().spdLim, perf().altLim), std::pair(0, 0));
    EXPECT_NE(cdu.row(2).find("\u2013\u2013\u2013/\u2013\u2013\u2013\u2013\u2013"),
              std::string::npos);

    show(2);
    perf().descentMode = 1;
    cdu.press(kL3);
    EXPECT_EQ(cdu.scratchpad(), "//4.0");
    cdu.fms().setScratchpad("3.5");
    cdu.press(kL3);
    EXPECT_EQ(perf().descentMode, 1) << "an angle alone stays with VMO/MMO";
    EXPECT_EQ(perf().vmoMmoDescentAngle, 3.5);
    cdu.enter("280", kL3);
    EXPECT_EQ(perf().descentMode, 2);
    EXPECT_EQ(perf().manualDescentIas, 280);
    EXPECT_EQ(perf().manualDescentMach, 0.76) << "the earlier manual Mach";
    EXPECT_EQ(perf().manualDescentAngle, 3.5) << "the VMO/MMO angle";

    // Before the predictions run, the MANUAL line shows the cruise target of the record.
    cdu.enter("280", kL2);
    EXPECT_EQ(cdu.row(4).substr(0, 8), "300/.75M");
}

// What a line recalls into the empty scratch pad is entered back unchanged, with the units the
// page shows ("°" after the descent angle, "T" after the true wind direction).
TEST_F(PerformanceInitPage, EveryRecallIsTakenBackAsShown) {
    const struct {
        int32_t subPage;
        int32_t key;
        const char* typed;
        const char* recalled;
    } lines[] = {
        {2, kL1, "280/.70", "280/.70"},   {2, kL3, "290/.74/3.5", "290/.74/3.5\u00B0"},
        {3, kL3, "500/300", "500/300"},   {4, kL1, "17000", "17000"},
        {4, kR1, "240/9000", "240/9000"}, {4, kR2, "5", "5"},
        {4, kL3, "270/45", "270T/45"},    {4, kR3, "FL200", "FL200"},
        {5, kL1, "28000", "28000"},       {5, kR1, "4/180", "4/180"},
        {5, kL3, "500", "500"},
    };
    for (const auto& line : lines) {
        show(line.subPage);
        cdu.enter(line.typed, line.key);
        ASSERT_EQ(cdu.message(), "") << line.typed;
        const auto typed = entries();
        const std::string shown = cdu.row(2 * (line.key % 4) + 2);
        cdu.press(line.key);
        ASSERT_EQ(cdu.scratchpad(), line.recalled) << line.typed;
        cdu.press(line.key);
        EXPECT_EQ(cdu.message(), "") << line.recalled;
        EXPECT_EQ(cdu.scratchpad(), "") << line.recalled;
        EXPECT_TRUE(entries() == typed) << line.recalled;
        EXPECT_EQ(cdu.row(2 * (line.key % 4) + 2), shown) << line.recalled;
    }
}

// A speed limit without its speed (DEL, then the altitude alone) is no limit: CLIMB's speed
// command below the altitude is the climb schedule's, where a limit flies 10 kt under it and a
// limit of 0 would fly -10 kt.
TEST_F(PerformanceInitPage, ASpeedLimitWithoutASpeedCapsNothing) {
    constexpr int32_t kClimbPage = 28;
    givePredictableRoute();
    enterWeights();
    // On the ground the air data's maximum speed, 250 kt, is the top of the envelope.
    const struct {
        const char* limit;
        const char* command;
        int32_t target;
    } cases[] = {{"250/10000", "240/", 240}, {"/10000", "250/", 250}};
    for (const auto& c : cases) {
        show(4);
        cdu.press(Fms::kDelKey);
        cdu.press(kR1);
        cdu.enter(c.limit, kR1);
        ASSERT_EQ(perf().altLim, 10000) << c.limit;
        show(5);
        cdu.press(kR4);
        ASSERT_TRUE(perf().initialised) << c.limit;
        cdu.show(kClimbPage);
        EXPECT_EQ(cdu.row(4).substr(0, 5), std::string(" ") + c.command) << c.limit;
        EXPECT_EQ(perf().climbLimitedTarget.ias, c.target) << c.limit;
    }
}

TEST_F(PerformanceInitPage, FuelReserveFollowsItsRule) {
    show(3);
    cdu.enter("45", kL2);
    EXPECT_EQ(cdu.scratchpad(), "45") << "NBAA takes no value, and says nothing";
    EXPECT_EQ(cdu.message(), "");
    cdu.fms().setScratchpad("");
    perf().fuelReserveType = 2;
    cdu.enter("45", kL2);
    EXPECT_EQ(perf().fuelReserveTime, 45.0);
    EXPECT_EQ(cdu.row(4), "45 MIN               OR\u25BA");
    cdu.press(kR2);
    EXPECT_EQ(cdu.fms().currentPage, 25);
}

TEST_F(PerformanceInitPage, WeightsTypedInKilogramsReadBackAsTyped) {
    cdu.fms().fuelUseKg = true;
    show(5);
    // Kilogram values whose pounds, converted back, fall a hair short of the whole number.
    for (const char* typed : {"59", "2000", "27215"}) {
        cdu.enter(typed, kL1);
        EXPECT_EQ(cdu.row(2).substr(0, std::string(typed).size()), typed);
        cdu.press(kL1);
        EXPECT_EQ(cdu.scratchpad(), typed) << "recall";
        cdu.fms().setScratchpad("");
    }
    EXPECT_NEAR(perf().bow, 27215 / 0.453592, 1e-6);
    cdu.fms().fuelUseKg = false;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(2).substr(0, 5), "59998");
}

TEST_F(PerformanceInitPage, TakeoffFuelInKilogramsGoesToTheSettingsInPounds) {
    cdu.fms().fuelUseKg = true;
    show(3);
    cdu.enter("/100", kL3);
    EXPECT_NEAR(perf().toFuel, 181 / 0.453592, 1e-9);
    EXPECT_NEAR(perf().landFuel, 100 / 0.453592, 1e-9);
    EXPECT_EQ(cdu.row(6), "181/100 KG");
    std::ifstream ini(cdu.module.iniPath());
    std::stringstream text;
    text << ini.rdbuf();
    EXPECT_NE(text.str().find("toFuel=399"), std::string::npos) << text.str();
}

TEST_F(PerformanceInitPage, FuelFarFromTheGaugesAsksForAComparison) {
    FuelSystem& tanks = *cdu.module.aircraft().fuelSystem();
    tanks.leftFuel = 2500.0f;
    tanks.rightFuel = 2500.0f;
    show(5);
    cdu.enter("8000", kL2);
    EXPECT_EQ(cdu.message(), "COMPARE FUEL QUANTITY");
    EXPECT_EQ(perf().fuelWeight, 8000.0) << "taken all the same";
    cdu.fms().messages.clear();
    cdu.enter("5999", kL2);
    EXPECT_EQ(cdu.message(), "");
    EXPECT_EQ(cdu.row(4), "6000  (5000 )      " + std::string(kDashes));
}

TEST_F(PerformanceInitPage, ConfirmInitRunsThePredictionsOnceEverythingIsEntered) {
    givePredictableRoute();
    show(5);
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, kPerfInitPage) << "weights missing";
    enterWeights();
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(6).substr(19), "35260");
    EXPECT_EQ(cdu.row(7), "           CONFIRM INIT\u25BA");
    EXPECT_TRUE(cdu.cell(7, 11).reverse);
    for (int32_t subPage = 1; subPage <= 4; ++subPage) {
        show(subPage);
        cdu.press(kR4);
        EXPECT_FALSE(perf().initialised) << "only sub-page 5 confirms";
    }
    show(5);
    cdu.press(kR4);
    EXPECT_TRUE(perf().initialised);
    EXPECT_EQ(cdu.fms().currentPage, 27);
    EXPECT_GT(perf().prediction[PerfPrediction::FuelRequired], 0.0f);

    show(4);
    EXPECT_EQ(cdu.row(7), "\u25C4PERF PLAN    PERF DATA\u25BA");
    cdu.fms().messages.clear();
    const float tripFuel = perf().prediction[PerfPrediction::FuelRequired];
    cdu.enter("FL300", kL2);
    EXPECT_EQ(perf().cruiseAltitude, 30000);
    EXPECT_NE(perf().prediction[PerfPrediction::FuelRequired], tripFuel)
        << "the entry re-ran the predictions";
    cdu.press(kR4);
    EXPECT_EQ(cdu.fms().currentPage, 27) << "R4 leads to PERF DATA from every sub-page";

    show(5);
    cdu.fms().setScratchpad("*DELETE*");
    cdu.press(kL3);
    EXPECT_FALSE(perf().initialised) << "a weight deleted withdraws the confirmation";
    EXPECT_EQ(cdu.row(7), "");
}

} // namespace
} // namespace tavi::test
