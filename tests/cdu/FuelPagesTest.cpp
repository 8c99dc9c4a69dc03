#include "avionics/Adc.h"
#include "avionics/Gps.h"
#include "cdu/pages/NavPageKeys.h"
#include "support/CduSession.h"

#include <gtest/gtest.h>

namespace tavi::test {
namespace {

using namespace navpages;

constexpr int32_t kFuelReservePage = 25;
constexpr int32_t kFuelMgtPage = 31;

// FUEL RESERVE and FUEL MGT, with the record and the sensors set by the test.
class FuelPages : public testing::Test {
protected:
    PerfInit& perf() { return cdu.fms().perfInit; }
    FuelMgtPage& fuelMgt() { return cdu.fms().fuelMgt; }

    CduSession cdu;
};

TEST_F(FuelPages, TheReserveRuleInForceIsLargeAndActive) {
    cdu.show(kFuelReservePage);
    EXPECT_EQ(cdu.row(0), "      FUEL RESERVE   1/1");
    EXPECT_EQ(cdu.row(1), "                 RETURN\u25BA");
    EXPECT_EQ(cdu.row(2), "\u25C4NBAA (ACT)");
    EXPECT_EQ(cdu.row(4), "\u2013\u2013\u2013\u2013\u2013 LB        AT DEST");
    EXPECT_EQ(cdu.row(5), "             OR ALTN IF");
    EXPECT_EQ(cdu.row(6), "\u2013\u2013\u2013 MIN         ENTERED");
    EXPECT_TRUE(cdu.cell(2, 1).large);
    EXPECT_FALSE(cdu.cell(4, 0).large);
    EXPECT_FALSE(cdu.cell(6, 0).large);

    const struct {
        int32_t type;
        bool kilograms;
        const char* row4;
        const char* row6;
    } cases[] = {
        {1, false, "1500 LB (ACT)   AT DEST", "45 MIN          ENTERED"},
        {1, true, "680 KG (ACT)    AT DEST", "45 MIN          ENTERED"},
        {2, false, "1500 LB         AT DEST", "45 MIN (ACT)    ENTERED"},
        {0, false, "1500 LB         AT DEST", "45 MIN          ENTERED"},
    };
    perf().fuelReserveWeight = 1500.0;
    perf().fuelReserveTime = 45.0;
    for (const auto& c : cases) {
        perf().fuelReserveType = c.type;
        cdu.fms().fuelUseKg = c.kilograms;
        cdu.fms().drawPage();
        EXPECT_EQ(cdu.row(4), c.row4) << c.type;
        EXPECT_EQ(cdu.row(6), c.row6) << c.type;
        EXPECT_EQ(cdu.cell(4, 0).large, c.type == 1);
        EXPECT_EQ(cdu.cell(6, 0).large, c.type == 2);
        EXPECT_EQ(cdu.row(2), c.type == 0 ? "\u25C4NBAA (ACT)" : "\u25C4NBAA");
    }
}

TEST_F(FuelPages, ChoosingAReserveReturnsToPerformanceInit) {
    cdu.show(kFuelReservePage);
    cdu.press(kL2);
    EXPECT_EQ(cdu.fms().currentPage, kFuelReservePage) << "no weight entered yet";
    EXPECT_EQ(cdu.message(), "");
    cdu.press(kL3);
    EXPECT_EQ(cdu.fms().currentPage, kFuelReservePage) << "no time entered yet";

    cdu.fms().fuelUseKg = true;
    cdu.enter("2000", kL2);
    EXPECT_NEAR(perf().fuelReserveWeight, 2000 / 0.453592, 1e-9);
    EXPECT_EQ(perf().fuelReserveType, 1);
    EXPECT_EQ(cdu.fms().currentPage, 20);
    EXPECT_EQ(perf().subPage, 3);
    EXPECT_EQ(cdu.row(4).substr(0, 7), "2000 KG") << "read back as typed";

    cdu.show(kFuelReservePage);
    cdu.enter("601", kL3);
    EXPECT_EQ(cdu.message(), "INVALID ENTRY");
    EXPECT_EQ(cdu.fms().currentPage, kFuelReservePage);
    cdu.fms().messages.clear();
    cdu.fms().setScratchpad("");
    cdu.enter("30", kL3);
    EXPECT_EQ(perf().fuelReserveType, 2);
    EXPECT_EQ(perf().fuelReserveTime, 30.0);

    cdu.show(kFuelReservePage);
    cdu.press(kL2);
    EXPECT_EQ(perf().fuelReserveType, 1) << "the weight entered before";
    cdu.show(kFuelReservePage);
    cdu.press(kL1);
    EXPECT_EQ(perf().fuelReserveType, 0);
    cdu.show(kFuelReservePage);
    cdu.press(kR1);
    EXPECT_EQ(cdu.fms().currentPage, 20);
}

TEST_F(FuelPages, FuelManagementFlowsSpeedsAndRanges) {
    perf().fuelWeight = 12345.0;
    fuelMgt().fuelFlow = {1200.3f, 1199.9f, 0.0f};
    fuelMgt().fuelUsed = {100.6f, 100.6f, 10.9f};
    cdu.module.aircraft().gps()->groundSpeed = 420.0f;
    cdu.module.aircraft().adc()->trueAirspeed = 400.9f;
    cdu.show(kFuelMgtPage);
    EXPECT_EQ(cdu.row(0), "      FUEL MGT-LB    1/2");
    EXPECT_EQ(cdu.row(1), " FUEL         FUEL FLOW");
    EXPECT_EQ(cdu.row(2), "12350               2400");
    EXPECT_EQ(cdu.row(3), "  GRD<\u2013\u2013\u2013SPEED\u2013\u2013\u2013>TRUE");
    EXPECT_EQ(cdu.row(4), " 420                400");
    EXPECT_EQ(cdu.row(5), "  GRD<\u2013\u2013\u2013SP RNG\u2013\u2013\u2013>AIR");
    EXPECT_EQ(cdu.row(6), " .175NM/LB    .167NM/LB");
    EXPECT_EQ(cdu.row(7), "\u25C4PERF INIT    PERF DATA\u25BA");
    cdu.fms().fuelUseKg = true;
    cdu.fms().drawPage();
    EXPECT_EQ(cdu.row(2).substr(0, 4), "5600");

    cdu.fms().fuelUseKg = false;
    cdu.press(kNext);
    EXPECT_EQ(cdu.row(1), " ENG   FLOW<\u2013FUEL\u2013>USED");
    EXPECT_EQ(cdu.row(2), "  1    1200         100");
    EXPECT_EQ(cdu.row(4), " APU      0          10");
    EXPECT_EQ(cdu.row(5), " TOT   2400         212") << "sums before truncation";
    cdu.press(kL4);
    EXPECT_EQ(cdu.fms().currentPage, 20);

    fuelMgt().fuelFlow = {};
    cdu.show(kFuelMgtPage);
    EXPECT_EQ(cdu.row(6), " .000NM/LB    .000NM/LB");
}

} // namespace
} // namespace tavi::test
