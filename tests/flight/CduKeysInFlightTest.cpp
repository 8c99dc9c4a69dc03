#include "support/CduKeys.h"
#include "support/CduPadKeys.h"
#include "support/LnavRoute.h"

#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace tavi::test {
namespace {

// The pilot at the CDU of the module flying on the stand-in: letters, digits,
// line keys, PREV, NEXT, DEL and CLR through the CDU pop-up and the simulator's
// keyboard, the page keys clicked on the pop-up's key pad. A frame runs after
// every key.
class PilotAtCdu : protected CduKeys {
public:
    static constexpr uint32_t kDeleteKey = 46;
    static constexpr uint32_t kBackspaceKey = 8;

    explicit PilotAtCdu(FlightScenario& flight) : flight(flight) {}

    void openCdu() {
        flight.simulator().panel.setPanelWindowOpen(kCduPopupWindow, true);
        fms().toggleKeyboardInput();
        fms().messages.clear();
    }
    Fms& fms() { return *flight.aircraft().fms(); }

    // A frame of flight at the route's speed.
    void frame() {
        flight.fly(0.05, [this] { flight.holdSpeed(LnavRoute::kSpeed); });
    }
    void key(uint32_t virtualKey) {
        flight.simulator().host.key(virtualKey, true);
        flight.simulator().host.key(virtualKey, false);
        frame();
    }
    void type(const std::string& text) {
        for (const char c : text) {
            key(virtualKeyOf(c));
        }
    }
    void lineKey(int32_t line) { key(kF1Key + static_cast<uint32_t>(line)); }
    void typeThenPress(const std::string& text, int32_t line) {
        type(text);
        lineKey(line);
    }
    void pageKey(int32_t cduKey) {
        EXPECT_TRUE(clickCduPageKey(cduKey)) << cduKey;
        frame();
    }
    void clearPad() {
        while (!fms().scratchPad.text().empty() || fms().hasMessage()) {
            key(kBackspaceKey);
        }
    }
    // The row as the last frame drew it: "-" for U+2013, "?" for other symbols.
    std::string row(int32_t index) {
        std::string text;
        for (const char32_t c : fms().screen.rowText(index)) {
            text += c == U'\u2013' ? '-' : c < 0x80 ? static_cast<char>(c) : '?';
        }
        return text.substr(0, text.find_last_not_of(' ') + 1);
    }
    std::string pageNumber() { return row(0).substr(21); }

    FlightScenario& flight;
};

std::vector<std::string> routeIdents() {
    std::vector<std::string> idents;
    for (const FlightPlanLeg& leg : activeFlightPlan.legs) {
        idents.push_back(leg.wpt.ident);
    }
    return idents;
}

// ACTIVE FLT PLAN left on its last sub-page while the first fix sequences: the
// plan has a sub-page fewer, and the page shows its new last sub-page, whose
// keys work on its own lines.
TEST(CduKeysInFlight, TheLastSubPageFollowsThePlanAsALegSequences) {
    FlightScenario flight;
    LnavRoute route(flight);
    ASSERT_TRUE(route.setUp());
    PilotAtCdu pilot(flight);
    pilot.openCdu();
    pilot.pageKey(Fms::kFplKey);
    pilot.key(CduKeys::kPageUpKey);
    ASSERT_EQ(pilot.pageNumber(), "3/3");
    ASSERT_EQ(routeIdents(), (std::vector<std::string>{"WPA", "WPB", "WPC", "WPD", "ZZAE"}));

    ASSERT_TRUE(flight.flyUntil(
        600.0, [] { return activeFlightPlan.activeLeg == 1; },
        [&] { flight.holdSpeed(LnavRoute::kSpeed); }));
    pilot.frame();
    EXPECT_EQ(pilot.pageNumber(), "2/2");
    EXPECT_EQ(pilot.row(2).substr(0, 3), "WPD") << "the page's first line";
    EXPECT_EQ(pilot.row(6).substr(20), "ZZAE") << "the destination line";

    pilot.lineKey(CduKeys::kL2);
    EXPECT_EQ(pilot.fms().scratchPad.text(), "ZZAE") << "L2 recalls its line's fix";
    pilot.clearPad();
    pilot.lineKey(CduKeys::kL3);
    EXPECT_EQ(pilot.fms().scratchPad.text(), "") << "L3 is the destination line";
    pilot.lineKey(CduKeys::kR3);
    EXPECT_EQ(pilot.fms().scratchPad.text(), "ZZAE") << "R3 recalls the destination";
    pilot.lineKey(CduKeys::kR3);
    EXPECT_EQ(activeFlightPlan.dest.ident, "ZZAE") << "and takes it back";
    pilot.key(PilotAtCdu::kDeleteKey);
    pilot.lineKey(CduKeys::kR3);
    EXPECT_EQ(pilot.fms().messages.front().text, "INVALID DELETE");
    pilot.clearPad();
    pilot.key(PilotAtCdu::kDeleteKey);
    pilot.lineKey(CduKeys::kL1);
    EXPECT_EQ(routeIdents(), (std::vector<std::string>{"WPA", "WPB", "WPC", "ZZAE"}))
        << "DELETE on L1 deletes the fix shown there";
    EXPECT_EQ(activeFlightPlan.activeLeg, 1u);
    EXPECT_EQ(pilot.pageNumber(), "2/2");
}

// Entries a pilot types on the pages, accepted or not: idents, airways,
// temporary points, plan names, altitudes, speeds, constraints, frequencies,
// winds, temperatures, weights, times and pattern values.
constexpr const char* kPilotEntries[] = {
    "ZZAA",
    "ZZAB",
    "ZZAD",
    "ZZAE",
    "P",
    "Q",
    "R",
    "S",
    "T",
    "ABC",
    "TWIN",
    "VORA",
    "NDBB",
    "I09L",
    "RW09L",
    "XYZQ",
    "WPB",
    "A1.S",
    "B2.T",
    "A1",
    "P/090/10",
    "P/090/Q/180",
    "Q/-5",
    "Q/5",
    "P/-40",
    "N4710.0E00810.0",
    "S0100.0W00100.0",
    "ROUTE01",
    "ZZAA-ZZAD",
    "ZZAA/ZZAD",
    "250",
    "FL240",
    "/FL180A",
    "310/FL200",
    "250/10000B",
    "FL100",
    ".78",
    "0.8",
    "-",
    "10",
    "1.5",
    "3.0",
    "L45",
    "R90",
    "270/25",
    "-10",
    "12000",
    "40",
    "1",
    "0",
    "99999",
    "113.90",
    "117.00",
    "1200",
    "090",
    "090T",
    "09L",
    "1234",
    "10DEC24",
    "2.5",
    "3/",
    "/3",
    "A",
    "12",
};

// The CDU page keys: PERF, NAV, FPL, PROG, DIR.
constexpr int32_t kPageKeys[] = {8, 9, 13, 14, 15};

// Every fix of every plan the FMS keeps, with the origin and the destination,
// lies on the earth; a leg with a fix is not left at 0N 0E, where a blank point
// lies.
void expectPlansOnTheEarth(const char* when) {
    const FlightPlan* plans[] = {&activeFlightPlan, &missedApproachFlightPlan, &alternateFlightPlan,
                                 &selectedStoredPlan};
    const auto onTheEarth = [](const Waypoint& w) {
        return std::isfinite(w.latitude) && std::isfinite(w.longitude) &&
               std::fabs(w.latitude) <= 90.0 && std::fabs(w.longitude) <= 180.0;
    };
    for (const FlightPlan* plan : plans) {
        EXPECT_TRUE(onTheEarth(plan->org)) << when << " origin " << plan->org.ident;
        EXPECT_TRUE(onTheEarth(plan->dest)) << when << " destination " << plan->dest.ident;
        EXPECT_LE(plan->activeLeg, plan->legCount()) << when;
        for (const FlightPlanLeg& leg : plan->legs) {
            EXPECT_TRUE(onTheEarth(leg.wpt)) << when << " " << leg.wpt.ident;
            if (leg.hasFix() && !leg.isDiscontinuity() && !leg.isManualTermination()) {
                EXPECT_FALSE(leg.wpt.latitude == 0.0 && leg.wpt.longitude == 0.0)
                    << when << " " << leg.wpt.ident << " at 0N 0E";
            }
        }
    }
}

// Long seeded sequences of keys and entries on every page: no key may crash the
// module or read past a list, and every plan stays on the earth.
class RandomCduKeys {
public:
    RandomCduKeys(PilotAtCdu& pilot, uint32_t seed, std::string destination)
        : pilot(pilot), random(seed), destination(std::move(destination)) {}

    void pressOne() {
        const int choice = pick(100);
        if (choice < 40) {
            pilot.lineKey(pick(8));
        } else if (choice < 60) {
            pilot.type(kPilotEntries[pick(std::size(kPilotEntries))]);
        } else if (choice < 68) {
            pilot.key(pick(2) == 0 ? CduKeys::kPageUpKey : CduKeys::kPageDownKey);
        } else if (choice < 75) {
            pilot.key(PilotAtCdu::kDeleteKey);
        } else if (choice < 84) {
            pilot.key(PilotAtCdu::kBackspaceKey);
        } else if (choice < 92) {
            pilot.pageKey(kPageKeys[pick(std::size(kPageKeys))]);
        } else if (choice < 97) {
            pilot.key(CduKeys::virtualKeyOf("AZ09-./ "[pick(8)]));
        } else {
            pilot.frame();
        }
    }
    // The route ZZAA, P, Q, R to the destination typed again when the keys have
    // cleared it.
    void typeRouteWhenCleared() {
        if (activeFlightPlan.hasOriginAndDestination()) {
            return;
        }
        pilot.pageKey(Fms::kFplKey);
        pilot.clearPad();
        pilot.typeThenPress("ZZAA", CduKeys::kL1);
        pilot.typeThenPress(destination, CduKeys::kR2);
        pilot.typeThenPress("P", CduKeys::kL2);
        pilot.typeThenPress("Q", CduKeys::kL3);
        pilot.typeThenPress("R", CduKeys::kL3);
        ASSERT_TRUE(activeFlightPlan.hasOriginAndDestination());
    }
    // On each page of the CDU in turn, then where the keys lead.
    void run(int32_t keysPerPage, int32_t roamingKeys) {
        for (int32_t page = 0; page < Fms::kPageCount; ++page) {
            typeRouteWhenCleared();
            pilot.fms().setPage(page, 1);
            for (int32_t i = 0; i < keysPerPage; ++i) {
                pressOne();
            }
            expectPlansOnTheEarth(("page " + std::to_string(page)).c_str());
        }
        for (int32_t i = 0; i < roamingKeys; ++i) {
            pressOne();
        }
        expectPlansOnTheEarth("roaming");
    }

private:
    int pick(std::size_t count) {
        return std::uniform_int_distribution<int>(0, static_cast<int>(count) - 1)(random);
    }

    PilotAtCdu& pilot;
    std::mt19937 random;
    std::string destination;
};

TEST(CduKeysInFlight, RandomKeysOnEveryPageOnTheGround) {
    FlightScenario flight;
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    PilotAtCdu pilot(flight);
    pilot.openCdu();
    RandomCduKeys(pilot, 1, "ZZAD").run(40, 1500);
}

TEST(CduKeysInFlight, RandomKeysOnEveryPageInFlight) {
    FlightScenario flight;
    LnavRoute route(flight);
    ASSERT_TRUE(route.setUp());
    PilotAtCdu pilot(flight);
    pilot.openCdu();
    RandomCduKeys(pilot, 2, "ZZAE").run(40, 1500);
}

} // namespace
} // namespace tavi::test
