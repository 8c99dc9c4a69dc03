#pragma once

#include "platform/simconnect/SimConnect.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace tavi::sim {

// A simulator event as the simulator applied it (from the pilot or transmitted by a client).
struct AppliedEvent {
    std::string name;
    uint32_t data;
};

struct DataWrite {
    uint32_t defineId;
    std::string variable;
    double value;
};

struct WeatherRequest {
    uint32_t requestId;
    float latitude;
    float longitude;
    float altitude;
};

// The simulator's side of SimConnect for one in-process client. Messages are queued and
// delivered to the client's dispatch procedure only when the host pumps them, never from
// inside a call of the client.
class SimConnectServer final : public platform::SimConnect {
public:
    static constexpr platform::SimConnectHandle kHandle = 0x5C0001;
    static constexpr uint32_t kHighestMaskablePriority = 10'000'000;

    // Writes a variable of the user aircraft (data definitions land here).
    using VariableWriter = std::function<void(const std::string& variable, double value)>;
    explicit SimConnectServer(VariableWriter writeVariable);

    // Called with every simulator event the simulator applies to the user aircraft.
    void onEventApplied(std::function<void(const AppliedEvent&)> apply) {
        applyEvent = std::move(apply);
    }

    // Test bed.
    void failOpen() { openFails = true; }
    void failCalls(bool fail) { callsFail = fail; }
    // System events of the simulator, to the clients subscribed to them.
    void setRunning(bool running) { systemEvent("Sim", running ? 1 : 0); }
    void setPaused(bool paused) { systemEvent("Pause", paused ? 1 : 0); }
    void setSound(bool on) { systemEvent("Sound", on ? 1 : 0); }
    void systemEvent(const std::string& name, uint32_t data);
    // A flight file loaded: the notification and the answers to pending state requests.
    void loadFlight(const std::string& path);
    // The pilot saved the flight into the file: the notification to its subscribers.
    void saveFlight(const std::string& path);
    // The pilot acts on a simulator event: the client's groups are notified in order of
    // priority; a maskable event in a group at the highest maskable priority or below it never
    // reaches the simulator.
    void pilotEvent(const std::string& simEventName, uint32_t data);
    void queueException(uint32_t exception, uint32_t sendId, uint32_t index);
    // Delivers every queued message; the number delivered.
    int pump();

    bool isOpen() const { return open_; }
    const std::vector<std::string>& calls() const { return callLog; }
    const std::vector<AppliedEvent>& appliedEvents() const { return applied; }
    const std::vector<DataWrite>& dataWrites() const { return writes; }
    const std::vector<WeatherRequest>& weatherRequests() const { return weather; }
    uint32_t groupPriority(uint32_t groupId) const;
    std::size_t pendingMessages() const { return queue.size(); }

    // SimConnect.
    platform::HResult open(platform::SimConnectHandle* handle, const char* clientName) override;
    platform::HResult close(platform::SimConnectHandle handle) override;
    platform::HResult subscribeToSystemEvent(platform::SimConnectHandle handle, uint32_t eventId,
                                             const char* systemEventName) override;
    platform::HResult addToDataDefinition(platform::SimConnectHandle handle, uint32_t defineId,
                                          const char* variableName, const char* unitsName,
                                          int32_t dataType, float epsilon,
                                          uint32_t datumId) override;
    platform::HResult requestSystemState(platform::SimConnectHandle handle, uint32_t requestId,
                                         const char* state) override;
    platform::HResult mapClientEventToSimEvent(platform::SimConnectHandle handle, uint32_t eventId,
                                               const char* simEventName) override;
    platform::HResult addClientEventToNotificationGroup(platform::SimConnectHandle handle,
                                                        uint32_t groupId, uint32_t eventId,
                                                        bool maskable) override;
    platform::HResult setNotificationGroupPriority(platform::SimConnectHandle handle,
                                                   uint32_t groupId, uint32_t priority) override;
    platform::HResult callDispatch(platform::SimConnectHandle handle, platform::DispatchProc proc,
                                   void* context) override;
    platform::HResult setDataOnSimObject(platform::SimConnectHandle handle, uint32_t defineId,
                                         uint32_t objectId, uint32_t flags, uint32_t arrayCount,
                                         uint32_t unitSize, const void* data) override;
    platform::HResult transmitClientEvent(platform::SimConnectHandle handle, uint32_t objectId,
                                          uint32_t eventId, uint32_t data, uint32_t groupOrPriority,
                                          uint32_t flags) override;
    platform::HResult weatherRequestInterpolatedObservation(platform::SimConnectHandle handle,
                                                            uint32_t requestId, float latitude,
                                                            float longitude,
                                                            float altitude) override;

private:
    struct Group {
        uint32_t priority = 0;
        std::map<uint32_t, bool> maskableEvents;
    };

    bool accepts(platform::SimConnectHandle handle) const;
    platform::HResult record(std::string call, bool ok = true);
    void queueMessage(std::vector<unsigned char> bytes);
    void queueEvent(uint32_t groupId, uint32_t eventId, uint32_t data);
    // A notification naming a flight file, to the subscribers of the system event.
    void fileEvent(const std::string& name, const std::string& path);
    void apply(const std::string& simEventName, uint32_t data);

    VariableWriter writeVariable;
    std::function<void(const AppliedEvent&)> applyEvent;
    bool openFails = false;
    bool callsFail = false;
    bool open_ = false;
    std::vector<std::string> callLog;
    std::map<std::string, std::set<uint32_t>> subscriptions;
    std::map<uint32_t, std::vector<std::string>> definitions;
    std::vector<uint32_t> pendingFlightRequests;
    std::map<uint32_t, std::string> clientEvents;
    std::map<uint32_t, Group> groups;
    platform::DispatchProc dispatch = nullptr;
    void* dispatchContext = nullptr;
    std::deque<std::vector<unsigned char>> queue;
    std::vector<AppliedEvent> applied;
    std::vector<DataWrite> writes;
    std::vector<WeatherRequest> weather;
};

} // namespace tavi::sim
