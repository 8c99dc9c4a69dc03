#include "cdu/records/ArrivalPage.h"
#include "cdu/records/DeparturePage.h"
#include "cdu/records/RadTunePage.h"
#include "cdu/records/RadialPattern.h"
#include "cdu/records/RunwayDataPage.h"
#include "cdu/records/StoredFplPage.h"
#include "cdu/records/WptSelectPage.h"
#include "core/Fs9Reader.h"
#include "fms/FlightPlanContext.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

// A plan context for the records' resets: nothing of it matters to an empty plan.
class IdlePlanContext final : public FlightPlanContext {
public:
    double presentLatitude() const override { return 0.0; }
    double presentLongitude() const override { return 0.0; }
    float altitude() const override { return 0.0f; }
    float magneticVariation(double, double) const override { return 0.0f; }
    uint32_t simTimeMs() const override { return 0; }
    bool airborne() const override { return false; }
    double descentAngle() const override { return 3.0; }
    bool performanceConfirmed() const override { return false; }
    double turnGeometry(double, double, double& lead, double) const override {
        lead = 0.0;
        return 0.0;
    }
};

class PageRecords : public testing::Test {
protected:
    PageRecords() { file.path = (folder / "state.flt").string(); }
    std::string stateText() const { return TempFolder::read(folder / "state.flt"); }

    TempFolder folder;
    StateFile file;
    Fs9Reader reader;
};

Runway runwayNamed(const std::string& ident) {
    Runway runway;
    runway.ident = ident;
    runway.length = 9000;
    return runway;
}

TEST_F(PageRecords, TheRadialEntriesAreOneBlobOfTheirBytes) {
    RadialPattern saved;
    saved.inboundCourse = 0.5;
    saved.outboundTrue = true;
    saved.returnSubPage = 2;
    saved.save(reader, file, "FMC", "radialPattern");
    // -1.0, 0.5, -1.0, -1.0 as little-endian doubles, the three flags, a pad byte, then 2.
    const std::string minusOne = "000000000000F0BF";
    EXPECT_NE(stateText().find("radialPattern=" + minusOne + "000000000000E03F" + minusOne +
                               minusOne + "000100" + "00" + "02000000"),
              std::string::npos)
        << stateText();
    RadialPattern loaded;
    loaded.load(reader, file, "FMC", "radialPattern");
    EXPECT_DOUBLE_EQ(loaded.inboundCourse, 0.5);
    EXPECT_DOUBLE_EQ(loaded.outboundCourse, -1.0);
    EXPECT_TRUE(loaded.outboundTrue);
    EXPECT_FALSE(loaded.inboundTrue);
    EXPECT_EQ(loaded.returnSubPage, 2);
    RadialPattern untouched;
    untouched.inboundCourse = 7.0;
    untouched.load(reader, file, "FMC", "missing");
    EXPECT_DOUBLE_EQ(untouched.inboundCourse, 7.0) << "a missing key leaves the record";
}

TEST_F(PageRecords, RadioRecallFrequenciesAreWrittenAsTheirBytes) {
    RadTunePage saved;
    saved.adf1 = 0x04155000;
    saved.save(reader, file, "FMC", "radTune");
    EXPECT_NE(stateText().find("radTune.data=00501504" + std::string(24, '0')), std::string::npos)
        << stateText();
    saved.com2 = 0x01215250;
    saved.save(reader, file, "FMC", "radTune");
    RadTunePage loaded;
    loaded.load(reader, file, "FMC", "radTune");
    EXPECT_EQ(loaded.adf1, 0x04155000);
    EXPECT_EQ(loaded.adf2, 0);
    EXPECT_EQ(loaded.com2, 0x01215250);
}

TEST_F(PageRecords, ListsLoadBackToExactlyTheStoredElements) {
    DeparturePage saved;
    saved.depRunways = {runwayNamed("RW09"), runwayNamed("RW27")};
    saved.sids = {"ALPHA1"};
    saved.icao = "KAAA";
    saved.sid = "ALPHA1";
    saved.reviewReturnPage = 40;
    saved.fixNameCounters[4] = 7;
    saved.save(reader, file, "FMC", "departure");
    const std::string text = stateText();
    EXPECT_NE(text.find("departure.depRunways.count=2"), std::string::npos) << text;
    EXPECT_NE(text.find("departure.depRunways.1."), std::string::npos) << text;

    DeparturePage loaded;
    for (const char* ident : {"RW01", "RW02", "RW03", "RW04", "RW05"}) {
        loaded.depRunways.push_back(runwayNamed(ident));
    }
    loaded.sids = {"X", "Y", "Z"};
    loaded.load(reader, file, "FMC", "departure");
    ASSERT_EQ(loaded.depRunways.size(), 2u);
    EXPECT_EQ(loaded.depRunways[1].ident, "RW27");
    EXPECT_EQ(loaded.depRunways[1].length, 9000);
    EXPECT_EQ(loaded.sids, std::vector<std::string>{"ALPHA1"});
    EXPECT_EQ(loaded.icao, "KAAA");
    EXPECT_EQ(loaded.reviewReturnPage, 40);
    EXPECT_EQ(loaded.fixNameCounters[4], 7);
}

TEST_F(PageRecords, ADamagedRunwayCountDoesNotBuildEndlessLists) {
    folder.write("state.flt", "[FMC]\narrival.arrRunways.count=2000000000\n");
    ArrivalPage loaded;
    loaded.load(reader, file, "FMC", "arrival");
    EXPECT_LE(loaded.arrRunways.size(), 256u);
}

TEST_F(PageRecords, ArrivalRecordRoundTripsAndResetKeepsTheSubPages) {
    ArrivalPage saved;
    saved.starSubPage = 3;
    saved.reviewPageCount = 4;
    saved.stars = {"STAR1", "STAR2"};
    saved.iapRunways = {runwayNamed("RW18")};
    saved.selArrRwy = runwayNamed("RW18");
    saved.starSel = "STAR2";
    saved.iapTransitionSel = "TRANS";
    saved.save(reader, file, "FMC", "arrival");
    ArrivalPage loaded;
    loaded.load(reader, file, "FMC", "arrival");
    EXPECT_EQ(loaded.starSubPage, 3);
    EXPECT_EQ(loaded.stars, saved.stars);
    ASSERT_EQ(loaded.iapRunways.size(), 1u);
    EXPECT_EQ(loaded.selArrRwy.ident, "RW18");
    EXPECT_EQ(loaded.starSel, "STAR2");
    EXPECT_EQ(loaded.iapTransitionSel, "TRANS");

    const IdlePlanContext context;
    loaded.fixNameCounters.fill(9);
    loaded.reset(context);
    EXPECT_EQ(loaded.starSubPage, 3);
    EXPECT_EQ(loaded.reviewPageCount, 4);
    EXPECT_TRUE(loaded.stars.empty());
    EXPECT_TRUE(loaded.iapRunways.empty());
    EXPECT_EQ(loaded.selArrRwy.ident, "");
    EXPECT_EQ(loaded.selArrRwy.length, 9000) << "only the runway's ident goes";
    EXPECT_EQ(loaded.starSel, "");
    EXPECT_EQ(loaded.fixNameCounters[0], 1);
}

TEST_F(PageRecords, DepartureResetKeepsTheRunwayAndTheReviewReturn) {
    DeparturePage page;
    page.depRwy = runwayNamed("RW09");
    page.reviewReturnPage = 41;
    page.sidSubPage = 2;
    page.sids = {"A"};
    page.sid = "A";
    page.icao = "KAAA";
    page.reset(IdlePlanContext{});
    EXPECT_EQ(page.depRwy.ident, "RW09");
    EXPECT_EQ(page.reviewReturnPage, 41);
    EXPECT_EQ(page.sidSubPage, 2);
    EXPECT_TRUE(page.sids.empty());
    EXPECT_EQ(page.sid, "");
    EXPECT_EQ(page.icao, "");
}

TEST_F(PageRecords, RunwayDataAndStoredPlanBlocksRoundTrip) {
    RunwayDataPage saved;
    saved.subPage = 2;
    saved.windDirection = 270;
    saved.windSpeed = 12;
    saved.oat = -4.5f;
    saved.oatFromSensor = false;
    saved.windEntered = true;
    saved.runway = runwayNamed("RW27");
    saved.save(reader, file, "FMC", "landing");
    RunwayDataPage loaded;
    loaded.load(reader, file, "FMC", "landing");
    EXPECT_EQ(loaded.subPage, 2);
    EXPECT_EQ(loaded.windDirection, 270);
    EXPECT_EQ(loaded.windSpeed, 12);
    EXPECT_FLOAT_EQ(loaded.oat, -4.5f);
    EXPECT_FALSE(loaded.oatFromSensor);
    EXPECT_TRUE(loaded.windEntered);
    EXPECT_EQ(loaded.runway.ident, "RW27");

    StoredFplPage stored;
    stored.selectedLine = 4;
    stored.pageTurnRequested = true;
    stored.pageTurnTime = 0xFFFFFFF0u;
    stored.save(reader, file, "FMC", "storedFpl");
    StoredFplPage back;
    back.load(reader, file, "FMC", "storedFpl");
    EXPECT_EQ(back.selectedLine, 4);
    EXPECT_TRUE(back.pageTurnRequested);
    EXPECT_EQ(back.pageTurnTime, 0xFFFFFFF0u);
}

TEST_F(PageRecords, CandidatesFillThreeToASubPage) {
    for (const auto& [count, pages] : {std::pair{7, 3}, {6, 2}, {0, 0}, {1, 1}}) {
        WptSelectPage page;
        page.subPage = 4;
        page.setCandidates("ABC", std::vector<Waypoint>(static_cast<std::size_t>(count)));
        EXPECT_EQ(page.pageCount, pages) << count;
        EXPECT_EQ(page.subPage, 1);
        EXPECT_EQ(page.candidates.size(), static_cast<std::size_t>(count));
        EXPECT_EQ(page.entryText, "ABC");
    }
}

} // namespace
} // namespace tavi::test
