#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "platform/profile/Profile.h"
#include "support/FlightScenario.h"
#include "support/PredictionRoute.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

std::vector<std::string> activeLegIdents() {
    std::vector<std::string> idents;
    for (const FlightPlanLeg& leg : activeFlightPlan.legs) {
        idents.push_back(leg.wpt.ident);
    }
    return idents;
}

PilotPoint temporaryPoint(const std::string& ident, double latitude) {
    PilotPoint point;
    point.ident = ident;
    point.latitude = latitude;
    point.longitude = 8.0;
    point.ppType = PilotPointType::PlaceBearingDistance;
    point.definition = "ZZAB/090/10";
    return point;
}

// A flight in the air, saved and loaded through the stand-in's flight file notifications.
class FmsSavedFlight : public testing::Test {
protected:
    void SetUp() override {
        flight.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
        flightFile = (flight.module.folder.path() / "saved.flt").string();
    }
    Fms& fms() { return *flight.aircraft().fms(); }
    void save() {
        flight.simulator().saveFlight(flightFile);
        flight.fly(0.2);
    }
    void load() {
        flight.simulator().loadFlight(flightFile);
        flight.fly(0.2);
    }
    void writeKey(const char* key, const std::string& value) {
        platform::profile::write(flightFile, "FMC", key, value);
    }
    // The state the flight leaves behind when it is saved.
    void fillFlightState() {
        buildPredictionRoute(activeFlightPlan, 4, 20.0);
        activeFlightPlan.recalculate(fms().planContext());
        fms().pilotPoints().add(temporaryPoint("*PBD01", 47.1));
        fms().pilotPoints().add(temporaryPoint("*PBD03", 47.2));
        fms().fuelMgt.fuelUsed = {120.5f, 118.25f, 3.0f};
        fms().flightSummary.takeoffTime = 36000.0;
        fms().flightSummary.airDistance = 42.5;
        fms().navIndexSubPage = 2;
        fms().radTunePage.com1 = 0x01215250;
        fms().takeoffPage.windDirection = 270;
    }
    // "ABC" open for correction with the cursor on its "C".
    void startEditing() {
        fms().messages.clear();
        fms().setScratchpad("ABC-");
        fms().pressKey(Fms::kPrevKey);
        ASSERT_TRUE(fms().scratchPad.editMode());
        ASSERT_EQ(fms().scratchPad.editCursor(), 2);
    }

    FlightScenario flight;
    std::string flightFile;
};

// The lines of the flight file's FMC section, in order.
std::vector<std::string> fmcSection(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    bool inSection = false;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty() && line.front() == '[') {
            inSection = line == "[FMC]";
        } else if (inSection) {
            lines.push_back(line);
        }
    }
    return lines;
}

TEST_F(FmsSavedFlight, ALoadedFlightSavesAgainKeyForKey) {
    fillFlightState();
    flight.fly(1.0);
    save();
    const std::vector<std::string> saved = fmcSection(flightFile);
    ASSERT_FALSE(saved.empty());

    resetGlobalFlightPlans();
    fms().pilotPoints().remove("*PBD01");
    fms().navIndexSubPage = 1;
    fms().flightSummary = FlightSummary{};
    fms().radTunePage.com1 = 0;
    const std::string again = (flight.module.folder.path() / "again.flt").string();
    flight.simulator().loadFlight(flightFile);
    flight.simulator().saveFlight(again);
    flight.fly(0.1);

    const std::vector<std::string> resaved = fmcSection(again);
    ASSERT_EQ(resaved.size(), saved.size());
    for (std::size_t i = 0; i < saved.size(); ++i) {
        EXPECT_EQ(resaved[i], saved[i]) << "loaded and saved again before the next frame";
    }
    EXPECT_EQ(activeLegIdents(), (std::vector<std::string>{"W0", "W1", "W2", "W3"}));
    ASSERT_NE(fms().pilotPoints().find("*PBD01"), nullptr);
    EXPECT_EQ(fms().pilotPoints().find("*PBD01")->definition, "ZZAB/090/10");
    EXPECT_EQ(fms().navIndexSubPage, 2);
    EXPECT_EQ(fms().radTunePage.com1, 0x01215250);
    EXPECT_DOUBLE_EQ(fms().flightSummary.takeoffTime, 36000.0);
}

TEST_F(FmsSavedFlight, EditModeComesBackOnlyOverTextItCanEdit) {
    startEditing();
    ASSERT_TRUE(fms().baroCheck.latched()) << "never near the transition altitude";
    flight.simulator().saveFlight(flightFile);
    flight.simulator().step();
    fms().scratchPad.endEditMode();
    fms().baroCheck.restore(false);
    flight.simulator().loadFlight(flightFile);
    flight.simulator().step();
    EXPECT_TRUE(fms().scratchPad.editMode());
    EXPECT_EQ(fms().scratchPad.editCursor(), 2);
    EXPECT_TRUE(fms().baroCheck.latched());

    // The pad's text is not in the flight: over a shorter pad the saved cursor would point
    // past its end.
    fms().setScratchpad("A");
    flight.simulator().loadFlight(flightFile);
    flight.simulator().step();
    EXPECT_FALSE(fms().scratchPad.editMode());
    fms().typeCharacter('B');
    EXPECT_EQ(fms().scratchPad.text(), "AB");
}

TEST_F(FmsSavedFlight, ADamagedRecordLoadsItsDefaultsAndTheRestLoads) {
    struct Case {
        const char* key;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"data", "00"},
        {"data", std::string(152, 'Z')},
        {"fuelMgt", std::string(63, '0')},
        {"fltSum", "not a record"},
        {"Vnav.Data", "0102"},
    };
    fillFlightState();
    for (const Case& damage : cases) {
        SCOPED_TRACE(std::string(damage.key) + "=" + damage.value);
        fms().navIndexSubPage = 2;
        fms().fuelMgt.fuelUsed = {120.5f, 118.25f, 3.0f};
        fms().flightSummary.takeoffTime = 36000.0;
        fms().takeoffPage.windDirection = 270;
        save();
        writeKey(damage.key, damage.value);
        fms().navIndexSubPage = 3;
        fms().fuelMgt.fuelUsed = {1.0f, 1.0f, 1.0f};
        fms().flightSummary.takeoffTime = 1.0;
        fms().takeoffPage.windDirection = 90;
        flight.simulator().loadFlight(flightFile);
        flight.simulator().step();

        const std::string key = damage.key;
        EXPECT_EQ(fms().navIndexSubPage, key == "data" ? 1 : 2);
        EXPECT_GT(fms().fuelMgt.fuelUsed[0], key == "fuelMgt" ? 0.0f : 100.0f);
        EXPECT_LT(fms().fuelMgt.fuelUsed[0], key == "fuelMgt" ? 1.0f : 1000.0f);
        EXPECT_DOUBLE_EQ(fms().flightSummary.takeoffTime,
                         key == "fltSum" ? FlightSummary::kNoTime : 36000.0);
        EXPECT_EQ(fms().takeoffPage.windDirection, 270) << "the keys after it still load";
        EXPECT_EQ(activeLegIdents().size(), 4u);
    }
}

// The record's bytes with some of them replaced, as hex digits.
std::string withBytes(std::string hex, std::size_t offset, const std::string& bytes) {
    return hex.replace(2 * offset, bytes.size(), bytes);
}

bool logHolds(const ModuleHarness& module, const std::string& line) {
    const std::vector<std::string> lines = module.logLines();
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

TEST_F(FmsSavedFlight, AValueNoFlightHoldsLoadsTheRecordsDefaultsAndIsLogged) {
    const std::string nan = "000000000000F87F";
    struct Case {
        const char* key;
        std::size_t offset;
        // Empty: every byte of the record is 0xFF.
        std::string bytes;
        std::function<bool(Fms&)> hasDefaults;
    };
    const std::vector<Case> cases = {
        {"perfInit.data.4", 16, "00943577",
         [](Fms& fms) {
             return fms.perfInit.cruiseAltitude == 0;
         }},
        {"perfInit.data.5", 0, nan,
         [](Fms& fms) {
             return fms.perfInit.bow == 28000.0;
         }},
        {"fuelMgt", 0, "",
         [](Fms& fms) {
             return fms.fuelMgt.totalFuelUsed() == 0.0f && fms.fuelMgt.subPage == 1;
         }},
        {"data", 0, "",
         [](Fms& fms) {
             return fms.currentPage == Fms::kNavIdentPage && fms.navIndexSubPage == 1;
         }},
        {"data", 0, "FFFFFFFF",
         [](Fms& fms) {
             return fms.currentPage == Fms::kNavIdentPage;
         }},
        {"Lnav.Data", 0, "",
         [](Fms& fms) {
             return fms.lnavState()->distanceToGo == -1.0;
         }},
        {"Lnav.Data", 16, "FFFFFFFFFFFF2F7F",
         [](Fms& fms) {
             return fms.lnavState()->crossTrackError == 0.0;
         }},
        {"Vnav.Data", 0, "00943577",
         [](Fms& fms) {
             return fms.vnav().state.targetAltitude == 0;
         }},
        {"posInit", 0, nan,
         [](Fms& fms) {
             return fms.position.latitude == 0.0;
         }},
        {"fltSum", 16, nan,
         [](Fms& fms) {
             return fms.flightSummary.takeoffTime == FlightSummary::kNoTime;
         }},
    };
    fillFlightState();
    for (const Case& damage : cases) {
        SCOPED_TRACE(std::string(damage.key) + " at " + std::to_string(damage.offset));
        fms().takeoffPage.windDirection = 270;
        save();
        const std::string hex = platform::profile::lookup(flightFile, "FMC", damage.key).value();
        writeKey(damage.key, damage.bytes.empty() ? std::string(hex.size(), 'F')
                                                  : withBytes(hex, damage.offset, damage.bytes));
        fms().takeoffPage.windDirection = 90;
        flight.aircraft().loadFlightState(flightFile);

        EXPECT_TRUE(damage.hasDefaults(fms()));
        const std::string record =
            std::string(damage.key).substr(0, std::string(damage.key).find(".data."));
        EXPECT_TRUE(
            logHolds(flight.module, "Flight state: FMC " + record + " damaged, defaults loaded"));
        EXPECT_EQ(fms().takeoffPage.windDirection, 270) << "the other records load";
        flight.fly(0.5);
        EXPECT_TRUE(std::isfinite(fms().lnavState()->crossTrackError));
        EXPECT_TRUE(std::isfinite(fms().fuelMgt.totalFuelUsed()));
    }
}

// The flight file as the stand-in's save left it, cut short after the first line that starts
// with the text.
void cutAfterLine(const std::string& path, const std::string& start) {
    std::string text = TempFolder::read(path);
    const std::size_t line = text.find("\n" + start);
    ASSERT_NE(line, std::string::npos) << start;
    text.resize(text.find('\n', line + 1) + 1);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

TEST_F(FmsSavedFlight, APlanCutShortIsRefusedWholeAndTheFlyingPlanStays) {
    for (const char* cut : {"activeFpl.fpl.0.legs.5.data=", "activeFpl.fpl.0.legs.2.wpt.ident=",
                            "activeFpl.fpl.0.legs.count="}) {
        SCOPED_TRACE(cut);
        buildPredictionRoute(activeFlightPlan, 6, 20.0);
        activeFlightPlan.recalculate(fms().planContext());
        save();
        cutAfterLine(flightFile, cut);
        buildPredictionRoute(activeFlightPlan, 3, 20.0);
        activeFlightPlan.recalculate(fms().planContext());
        load();
        EXPECT_EQ(activeLegIdents(), (std::vector<std::string>{"W0", "W1", "W2"}));
        EXPECT_TRUE(
            logHolds(flight.module, "Flight state: FMC activeFpl plan incomplete, not loaded"));
    }
}

TEST_F(FmsSavedFlight, AMissingPilotPointCostsOnlyItself) {
    fms().pilotPoints().add(temporaryPoint("*PBD01", 47.1));
    fms().pilotPoints().add(temporaryPoint("*PBD03", 47.2));
    fms().pilotPoints().add(temporaryPoint("*PBD05", 47.3));
    fms().pilotPoints().add(temporaryPoint("*PBD07", 47.4));
    save();
    std::string text = TempFolder::read(flightFile);
    for (std::size_t at; (at = text.find("\npilotPoint.1.")) != std::string::npos;) {
        text.erase(at + 1, text.find('\n', at + 1) - at);
    }
    std::ofstream(flightFile, std::ios::binary | std::ios::trunc) << text;
    writeKey("pilotPoint.2.data",
             withBytes(platform::profile::lookup(flightFile, "FMC", "pilotPoint.2.data").value(), 0,
                       "000000000000F87F"));
    for (const char* ident : {"*PBD01", "*PBD03", "*PBD05", "*PBD07"}) {
        fms().pilotPoints().remove(ident);
    }
    load();
    EXPECT_NE(fms().pilotPoints().find("*PBD01"), nullptr);
    EXPECT_EQ(fms().pilotPoints().find("*PBD03"), nullptr);
    EXPECT_EQ(fms().pilotPoints().find("*PBD05"), nullptr) << "a latitude that is not a number";
    ASSERT_NE(fms().pilotPoints().find("*PBD07"), nullptr) << "the points after them load";
    EXPECT_DOUBLE_EQ(fms().pilotPoints().find("*PBD07")->latitude, 47.4);
    EXPECT_TRUE(
        logHolds(flight.module, "Flight state: FMC 2 pilot points missing or damaged, not loaded"));
}

TEST_F(FmsSavedFlight, AFlightWithoutTheSectionLeavesTheFmsAsItIs) {
    fillFlightState();
    platform::profile::write(flightFile, "TAVI.OTHER", "kept", "1");
    load();
    EXPECT_EQ(fms().navIndexSubPage, 2);
    EXPECT_EQ(activeLegIdents().size(), 4u);
    EXPECT_NE(fms().pilotPoints().find("*PBD03"), nullptr);
}

TEST_F(FmsSavedFlight, PilotPointsLoadByIdentAndKeepThoseHeld) {
    fms().pilotPoints().add(temporaryPoint("*PBD01", 47.1));
    fms().pilotPoints().add(temporaryPoint("*PBD03", 47.2));
    fms().pilotPoints().add(temporaryPoint("*PBD05", 47.3));
    save();
    EXPECT_EQ(platform::profile::lookup(flightFile, "FMC", "pilotPoints.count"), "3");
    for (const char* ident : {"*PBD01", "*PBD03", "*PBD05"}) {
        fms().pilotPoints().remove(ident);
    }
    fms().pilotPoints().add(temporaryPoint("*PBD01", 47.9));
    writeKey("pilotPoint.1.ident", "");
    writeKey("pilotPoints.count", "2000000000");
    load();
    ASSERT_NE(fms().pilotPoints().find("*PBD01"), nullptr);
    EXPECT_DOUBLE_EQ(fms().pilotPoints().find("*PBD01")->latitude, 47.9)
        << "the point held keeps its definition";
    EXPECT_EQ(fms().pilotPoints().find("*PBD03"), nullptr) << "a point without an ident";
    ASSERT_NE(fms().pilotPoints().find("*PBD05"), nullptr);
    EXPECT_DOUBLE_EQ(fms().pilotPoints().find("*PBD05")->latitude, 47.3);
}

TEST_F(FmsSavedFlight, VnavComesBackWithTheFlight) {
    fillFlightState();
    // The route ends at the destination, so it can be predicted and flown by VNAV.
    activeFlightPlan.legs.back().wpt = activeFlightPlan.dest;
    activeFlightPlan.recalculate(fms().planContext());
    PerfInit& perf = fms().perfInit;
    ASSERT_EQ(enterLoadedAircraft(perf, 9000), nullptr);
    fms().position.initialised = true;
    fms().updateFuelPredictions();
    flight.fly(1.0);
    const VnavState before = fms().vnav().state;
    ASSERT_TRUE(before.valid);
    ASSERT_GT(before.speedCommandIas, 0);
    save();
    EXPECT_EQ(platform::profile::lookup(flightFile, "FMC", "Vnav.Data").value_or("").size(), 320u);

    perf.initialised = false;
    flight.fly(0.1);
    ASSERT_FALSE(fms().vnav().state.valid) << "reset without a confirmed initialisation";
    // Read as the simulator's flight-loaded notification reads it, before a frame runs VNAV.
    flight.aircraft().loadFlightState(flightFile);
    const VnavState& after = fms().vnav().state;
    EXPECT_TRUE(after.valid);
    EXPECT_EQ(after.targetAltitude, before.targetAltitude);
    EXPECT_EQ(after.mode, before.mode);
    EXPECT_EQ(after.speedCommandIas, before.speedCommandIas);
    EXPECT_DOUBLE_EQ(after.speedCommandMach, before.speedCommandMach);
    EXPECT_EQ(after.speedByMach, before.speedByMach);
    EXPECT_DOUBLE_EQ(after.flightPathAngle, before.flightPathAngle);
}

} // namespace
} // namespace tavi::test
