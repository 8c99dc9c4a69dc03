#include "sim/SimConnectServer.h"

#include <gtest/gtest.h>
#include <map>
#include <string>
#include <vector>

namespace tavi::sim {
namespace {

using platform::SimConnectHandle;

std::vector<uint32_t> delivered;

void recordEvent(const platform::Recv* message, uint32_t, void*) {
    if (message->id == platform::RecvId::Event) {
        delivered.push_back(static_cast<const platform::RecvEvent*>(message)->eventId);
    }
}

class SimConnectServerTest : public testing::Test {
protected:
    void SetUp() override {
        delivered.clear();
        server.open(&handle, "client");
        server.mapClientEventToSimEvent(handle, 11, "AXIS_RUDDER_SET");
        server.addClientEventToNotificationGroup(handle, 2, 11, false);
        server.setNotificationGroupPriority(handle, 2, 1);
    }

    std::map<std::string, double> variables;
    SimConnectServer server{[this](const std::string& name, double value) {
        variables[name] = value;
    }};
    SimConnectHandle handle = 0;
};

TEST_F(SimConnectServerTest, MessagesWaitForThePump) {
    server.pilotEvent("AXIS_RUDDER_SET", 5);
    server.callDispatch(handle, recordEvent, nullptr);
    EXPECT_TRUE(delivered.empty());
    EXPECT_EQ(server.pump(), 1);
    EXPECT_EQ(delivered, std::vector<uint32_t>{11});
}

TEST_F(SimConnectServerTest, TransmittedEventIsAppliedAfterTheOriginalAndNeverComesBack) {
    server.callDispatch(handle, recordEvent, nullptr);
    server.pilotEvent("AXIS_RUDDER_SET", 1000);
    server.transmitClientEvent(handle, platform::kUserObject, 11, 400, 1'900'000'000,
                               platform::kEventFlagGroupIsPriority);
    server.pump();
    EXPECT_EQ(delivered.size(), 1u);
    ASSERT_EQ(server.appliedEvents().size(), 2u);
    EXPECT_EQ(server.appliedEvents().back().data, 400u);
}

TEST_F(SimConnectServerTest, DataWritesReachTheAircraftVariables) {
    server.addToDataDefinition(handle, 1, "FUEL TANK LEFT MAIN QUANTITY", "Gallons",
                               platform::kDataTypeFloat64, 0.0f, platform::kUnusedDatum);
    const double gallons = 812.5;
    EXPECT_EQ(
        server.setDataOnSimObject(handle, 1, platform::kUserObject, 0, 0, sizeof gallons, &gallons),
        platform::kResultOk);
    EXPECT_EQ(variables["FUEL TANK LEFT MAIN QUANTITY"], 812.5);
    EXPECT_NE(
        server.setDataOnSimObject(handle, 9, platform::kUserObject, 0, 0, sizeof gallons, &gallons),
        platform::kResultOk)
        << "an unknown definition is refused";
}

TEST_F(SimConnectServerTest, EveryCallFailsOnAFailedConnection) {
    SimConnectServer broken{[](const std::string&, double) {
    }};
    broken.failOpen();
    SimConnectHandle none = 1;
    EXPECT_EQ(broken.open(&none, "client"), platform::kResultFail);
    EXPECT_EQ(none, 0u);
    EXPECT_EQ(broken.subscribeToSystemEvent(none, 2, "Pause"), platform::kResultFail);
    EXPECT_EQ(broken.callDispatch(none, recordEvent, nullptr), platform::kResultFail);
}

} // namespace
} // namespace tavi::sim
