#include "cdu/pages/CduPageIds.h"
#include "gauges/Gauges.h"
#include "support/GaugeClicks.h"
#include "support/PredictionRoute.h"
#include "support/ProcedureSession.h"

#include <string>
#include <vector>

namespace tavi::test {
namespace {

// The route ZZAA, P, Q, R, S, ZZAD typed on ACTIVE FLT PLAN through the CDU pop-up's keyboard:
// seven lines on three sub-pages, the destination line alone on the third.
class RouteKeeping : public ProcedureSession {
protected:
    RouteKeeping() {
        typeRoute();
        route = legIdents(activeFlightPlan);
    }

    // A PATTERNS keyword into the pad (PATTERNS from DIR), back on sub-page 1 of the plan.
    void patternKeyword(int32_t patternKey) {
        pageKey(Fms::kDirKey);
        lineKey(kL4);
        ASSERT_EQ(fms().currentPage, cdu_page::kPatterns);
        lineKey(patternKey);
        ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    }
    // The pad's entry, typed or from PATTERNS.
    void putEntry(const std::string& entry, int32_t patternKey) {
        if (patternKey >= 0) {
            patternKeyword(patternKey);
        } else {
            for (const char c : entry) {
                press(virtualKeyOf(c));
            }
        }
        ASSERT_EQ(fms().scratchPad.text(), entry);
    }
    // Leaves the entry or the message in the pad with CLR until it is empty.
    void clearPad() {
        while (!fms().scratchPad.text().empty() || !message().empty()) {
            press(kBackspaceKey);
        }
    }

    std::vector<std::string> route;
};

constexpr int32_t kTypedEntry = -1;
constexpr int32_t kPatternHold = CduKeys::kL1;
constexpr int32_t kPatternFlyover = CduKeys::kL2;
constexpr int32_t kPatternRadial = CduKeys::kL3;
constexpr int32_t kPatternProcedureTurn = CduKeys::kR1;
constexpr int32_t kPatternOrbit = CduKeys::kR2;

// An entry on the FROM line starts a new plan only when it can be the new origin: anything else
// is refused before the route is touched, and the entry stays in the pad.
TEST_F(RouteKeeping, AnEntryThatCannotBeTheOriginLeavesTheRouteOnTheFromLine) {
    const struct {
        const char* entry;
        int32_t patternKey;
    } entries[] = {
        {"*FLYOVER*", kPatternFlyover},
        {"*PCDR TURN*", kPatternProcedureTurn},
        {"ROUTE01", kTypedEntry},
        {"ZZZZZ", kTypedEntry},
    };
    for (const auto& [entry, patternKey] : entries) {
        putEntry(entry, patternKey);
        typeThenPress("", kL1);
        EXPECT_EQ(message(), "INVALID ENTRY") << entry;
        EXPECT_EQ(fms().scratchPad.text(), entry) << entry;
        EXPECT_EQ(legIdents(activeFlightPlan), route) << entry;
        EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA") << entry;
        EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAD") << entry;
        clearPad();
    }
    typeThenPress("ZZAB", kL1);
    EXPECT_EQ(activeFlightPlan.org.ident, "ZZAB") << "a known place still starts a new plan";
    EXPECT_TRUE(activeFlightPlan.legs.empty());
}

// A pattern keyword on the destination line, which names no leg of its own, is refused: no
// pattern page opens on a blank fix, and nothing is added to the route.
TEST_F(RouteKeeping, APatternKeywordOnTheDestinationLineIsRefused) {
    fms().flightConfig.isSpecialMission = true;
    for (const auto& [entry, patternKey] : {std::pair{"*RADIAL*", kPatternRadial},
                                            {"*HOLD*", kPatternHold},
                                            {"*ORBIT*", kPatternOrbit},
                                            {"*PCDR TURN*", kPatternProcedureTurn},
                                            {"*FLYOVER*", kPatternFlyover}}) {
        putEntry(entry, patternKey);
        previousPage();
        ASSERT_EQ(row(0).substr(21), "3/3");
        lineKey(kL1);
        EXPECT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage) << entry;
        EXPECT_EQ(message(), "INVALID ENTRY") << entry;
        EXPECT_EQ(fms().scratchPad.text(), entry) << entry;
        EXPECT_EQ(legIdents(activeFlightPlan), route) << entry;
        for (const FlightPlanLeg& leg : activeFlightPlan.legs) {
            EXPECT_FALSE(leg.holding.active || leg.orbit.active || leg.pcdrTurn.active ||
                         leg.trmLeg.flyOver)
                << entry << " on " << leg.wpt.ident;
        }
        clearPad();
    }
}

// PROCEDURE TURN's ACTIVATE on Q: the database fix stays where it is, the turn's point and a
// second pass of Q follow it; a second ACTIVATE replaces them; deleting the turn's point takes
// the turn away and nothing else; a turn built again removes no fix.
TEST_F(RouteKeeping, AProcedureTurnLeavesItsFixInPlaceAndItsDeleteRemovesOnlyTheTurn) {
    const FlightPlanLeg legToQ = activeFlightPlan.legs[1];
    const Waypoint q = legToQ.wpt;
    ASSERT_EQ(q.ident, "Q");
    const std::string courseAndDistanceToQ = row(5);
    const auto activateOnQ = [&](const std::string& angle) {
        patternKeyword(kPatternProcedureTurn);
        lineKey(kL3);
        ASSERT_EQ(fms().currentPage, cdu_page::kProcedureTurn);
        if (!angle.empty()) {
            typeThenPress(angle, kL2);
        }
        lineKey(kR4);
        ASSERT_EQ(fms().currentPage, Fms::kActiveFlightPlanPage);
    };
    const auto expectQInPlace = [&](const char* when) {
        for (const std::size_t i : {std::size_t{1}, std::size_t{3}}) {
            const FlightPlanLeg& leg = activeFlightPlan.legs[i];
            EXPECT_EQ(leg.wpt.ident, "Q") << when;
            EXPECT_DOUBLE_EQ(leg.wpt.latitude, q.latitude) << when;
            EXPECT_DOUBLE_EQ(leg.wpt.longitude, q.longitude) << when;
        }
        EXPECT_NEAR(activeFlightPlan.legs[1].distance, legToQ.distance, 1e-9) << when;
        EXPECT_NEAR(activeFlightPlan.legs[1].course, legToQ.course, 1e-9) << when;
    };

    activateOnQ("");
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "Q", "*INT01", "Q", "R", "S", "ZZAD"}));
    expectQInPlace("first ACTIVATE");
    EXPECT_EQ(row(5), courseAndDistanceToQ);
    EXPECT_EQ(row(6).substr(0, 2), "QP") << "Q carries the turn";

    activateOnQ("R60");
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "Q", "*INT03", "Q", "R", "S", "ZZAD"}));
    expectQInPlace("second ACTIVATE");
    EXPECT_EQ(fms().pilotPoints().find("*INT01"), nullptr);

    nextPage();
    ASSERT_EQ(row(2).substr(0, 6), "*INT03");
    deleteWith(kL1);
    EXPECT_EQ(legIdents(activeFlightPlan), route) << "the turn's point deleted the turn";
    EXPECT_EQ(activeFlightPlan.legs[1].pcdrTurn.active, 0);
    EXPECT_EQ(fms().pilotPoints().find("*INT03"), nullptr);
    previousPage();

    activateOnQ("");
    EXPECT_EQ(legIdents(activeFlightPlan),
              (std::vector<std::string>{"P", "Q", "*INT05", "Q", "R", "S", "ZZAD"}));
    expectQInPlace("ACTIVATE after the delete");
    deleteWith(kL3);
    EXPECT_EQ(legIdents(activeFlightPlan), route) << "deleting on Q's line takes the turn";
}

// After a correction (PREV on an entry ending in "-") a line key takes the entry; the pad is
// empty with its cursor at the start, and the next entry is typed whole.
TEST_F(RouteKeeping, AnEntryTypedAfterACorrectedOneIsTypedWhole) {
    for (const char c : std::string("/FL180-")) {
        press(virtualKeyOf(c));
    }
    press(kPageUpKey);
    ASSERT_TRUE(fms().scratchPad.editMode());
    ASSERT_EQ(fms().scratchPad.text(), "/FL180");
    typeThenPress("", kR3);
    ASSERT_EQ(activeFlightPlan.legs[1].vnav.altitude, 18000);
    EXPECT_EQ(fms().scratchPad.text(), "");
    EXPECT_FALSE(fms().scratchPad.editMode());
    EXPECT_EQ(fms().scratchPad.editCursor(), 0);
    for (const char c : std::string("ZZAB")) {
        press(virtualKeyOf(c));
    }
    EXPECT_EQ(fms().scratchPad.text(), "ZZAB");
    EXPECT_EQ(row(8), "ZZAB");
}

// The avionics power lost and restored by the pilot on the overhead panel: a blip of one frame
// keeps the route, the weights and the position initialisation; a loss longer than the memory
// holds clears them, as a new flight starts.
TEST_F(RouteKeeping, APowerBlipKeepsTheFlightAndALongLossClearsIt) {
    enterPerformance();
    ASSERT_TRUE(fms().position.initialised);
    const double fuel = fms().perfInit.fuelWeight;
    const double cargo = fms().perfInit.cargoWeight;
    const auto avionicsButton = [] {
        ASSERT_TRUE(leftClick(overheadGauge, 166 + 25, 658 + 25));
    };
    const struct {
        double offSeconds;
        bool kept;
    } losses[] = {{0.0, true},
                  {Fms::kStoredPlanKeptMs / 1000.0 - 1.0, true},
                  {Fms::kStoredPlanKeptMs / 1000.0 + 1.0, false}};
    for (const auto& [offSeconds, kept] : losses) {
        avionicsButton();
        module.simulator.step();
        ASSERT_FALSE(fms().powered) << offSeconds;
        module.simulator.stepSeconds(offSeconds);
        avionicsButton();
        module.simulator.step();
        ASSERT_TRUE(fms().powered) << offSeconds;
        EXPECT_EQ(fms().currentPage, Fms::kNavIdentPage) << offSeconds;
        if (kept) {
            EXPECT_EQ(legIdents(activeFlightPlan), route) << offSeconds;
            EXPECT_EQ(activeFlightPlan.org.ident, "ZZAA") << offSeconds;
            EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAD") << offSeconds;
            EXPECT_DOUBLE_EQ(fms().perfInit.fuelWeight, fuel) << offSeconds;
            EXPECT_DOUBLE_EQ(fms().perfInit.cargoWeight, cargo) << offSeconds;
            EXPECT_TRUE(fms().position.initialised) << offSeconds;
        } else {
            EXPECT_TRUE(activeFlightPlan.legs.empty()) << offSeconds;
            EXPECT_FALSE(activeFlightPlan.hasOriginAndDestination()) << offSeconds;
            EXPECT_EQ(fms().perfInit.fuelWeight, PerfInit::kNotEntered) << offSeconds;
            EXPECT_EQ(fms().perfInit.cargoWeight, PerfInit::kNotEntered) << offSeconds;
            EXPECT_FALSE(fms().position.initialised) << offSeconds;
        }
    }
}

} // namespace
} // namespace tavi::test
