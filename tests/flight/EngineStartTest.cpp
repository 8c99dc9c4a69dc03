#include "avionics/EicasDau.h"
#include "support/FlightScenario.h"

#include <gtest/gtest.h>
#include <set>
#include <string>

namespace tavi::test {
namespace {

constexpr double kIdleN1 = 24.45;

// Both engines started on the stand-in's engines from a parked aircraft with the APU running
// and its bleed on (start-up mode 1), as the pilot turns each engine's control knob to START.
class EngineStartTest : public testing::Test {
protected:
    EngineStartTest() : flight("[Startup]\nstartupMode=1\n") {}

    void SetUp() override {
        ASSERT_TRUE(flight.simulator().placeOnRunway("ZZAA", "09L"));
        flight.module.startModule();
        flight.fly(5.0);
    }

    std::set<std::string> messages() {
        std::set<std::string> texts;
        for (const EicasMessage& message : flight.aircraft().eicasDau()->messages) {
            texts.insert(message.text);
        }
        return texts;
    }
    bool shows(const std::string& text) { return messages().contains(text); }
    sim::SimEngines& engines() { return flight.simulator().engines; }
    // The seconds until the engine burns, or a minute.
    double startEngine(int engine) {
        flight.simulator().panel.setNamedVariable("TaviEngControl" + std::to_string(engine) + "Inc",
                                                  1.0);
        const double from = flight.simulator().simulatorSeconds();
        flight.flyUntil(60.0, [&] { return engines().combustion(engine); });
        return flight.simulator().simulatorSeconds() - from;
    }

    FlightScenario flight;
};

TEST_F(EngineStartTest, BothEnginesReachIdleWithTheMessagesOfEachStep) {
    EXPECT_FALSE(engines().combustion(1));
    EXPECT_FALSE(engines().combustion(2));
    EXPECT_TRUE(shows("SHED BUS 1-2 OFF"));
    EXPECT_TRUE(shows("AIL SYS 1-2 INOP"));
    EXPECT_TRUE(shows("RUDDER SYS 1-2INOP"));

    const double lightOff2 = startEngine(2);
    EXPECT_GT(lightOff2, 10.0);
    EXPECT_LT(lightOff2, 40.0);
    EXPECT_TRUE(shows("CROSS BLD OPEN"));
    flight.fly(30.0);
    EXPECT_NEAR(engines().n2(2), sim::SimEngines::kIdleN2, 1.0);
    EXPECT_NEAR(engines().n1(2), kIdleN1, 0.5);
    EXPECT_EQ(flight.simulator().panel.variable("GENERAL ENG STARTER", 2), 0.0);
    EXPECT_FALSE(shows("SHED BUS 1-2 OFF"));
    EXPECT_FALSE(shows("CROSS BLD OPEN"));
    EXPECT_TRUE(shows("AIL SYS 1 INOP"));
    EXPECT_TRUE(shows("RUDDER SYS 1 INOP"));
    EXPECT_FALSE(shows("AIL SYS 1-2 INOP"));

    const double lightOff1 = startEngine(1);
    EXPECT_LT(lightOff1, 40.0);
    flight.fly(30.0);
    EXPECT_NEAR(engines().n1(1), kIdleN1, 0.5);
    EXPECT_NEAR(engines().n1(2), kIdleN1, 0.5);
    EXPECT_FALSE(shows("AIL SYS 1 INOP"));
    EXPECT_FALSE(shows("RUDDER SYS 1 INOP"));
    EXPECT_GT(flight.simulator().panel.variable("TURB ENG FUEL FLOW PPH", 1), 500.0);
}

} // namespace
} // namespace tavi::test
