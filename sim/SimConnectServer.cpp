#include "sim/SimConnectServer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace tavi::sim {

using platform::HResult;
using platform::kResultFail;
using platform::kResultOk;
using platform::RecvId;
using platform::SimConnectHandle;

namespace {

template <typename Message>
std::vector<unsigned char> bytesOf(Message message, RecvId id) {
    message.size = sizeof(Message);
    message.version = 1;
    message.id = id;
    std::vector<unsigned char> bytes(sizeof(Message));
    std::memcpy(bytes.data(), &message, sizeof(Message));
    return bytes;
}

void copyText(char* target, std::size_t capacity, const std::string& text) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), length);
    target[length] = '\0';
}

} // namespace

SimConnectServer::SimConnectServer(VariableWriter writeVariable)
    : writeVariable(std::move(writeVariable)) {}

bool SimConnectServer::accepts(SimConnectHandle handle) const {
    return open_ && handle == kHandle && !callsFail;
}

HResult SimConnectServer::record(std::string call, bool ok) {
    callLog.push_back(std::move(call));
    return ok ? kResultOk : kResultFail;
}

void SimConnectServer::queueMessage(std::vector<unsigned char> bytes) {
    queue.push_back(std::move(bytes));
}

void SimConnectServer::queueEvent(uint32_t groupId, uint32_t eventId, uint32_t data) {
    platform::RecvEvent event{};
    event.groupId = groupId;
    event.eventId = eventId;
    event.data = data;
    queueMessage(bytesOf(event, RecvId::Event));
}

void SimConnectServer::systemEvent(const std::string& name, uint32_t data) {
    const auto found = subscriptions.find(name);
    if (found == subscriptions.end()) {
        return;
    }
    for (uint32_t eventId : found->second) {
        queueEvent(0xFFFFFFFF, eventId, data);
    }
}

void SimConnectServer::fileEvent(const std::string& name, const std::string& path) {
    const auto found = subscriptions.find(name);
    if (found == subscriptions.end()) {
        return;
    }
    for (uint32_t eventId : found->second) {
        platform::RecvEventFilename message{};
        message.groupId = 0xFFFFFFFF;
        message.eventId = eventId;
        copyText(message.fileName, sizeof message.fileName, path);
        queueMessage(bytesOf(message, RecvId::EventFilename));
    }
}

void SimConnectServer::saveFlight(const std::string& path) {
    fileEvent("FlightSaved", path);
}

void SimConnectServer::loadFlight(const std::string& path) {
    fileEvent("FlightLoaded", path);
    for (uint32_t requestId : pendingFlightRequests) {
        platform::RecvSystemState message{};
        message.requestId = requestId;
        copyText(message.text, sizeof message.text, path);
        queueMessage(bytesOf(message, RecvId::SystemState));
    }
    pendingFlightRequests.clear();
}

void SimConnectServer::pilotEvent(const std::string& simEventName, uint32_t data) {
    struct Recipient {
        uint32_t priority;
        uint32_t groupId;
        uint32_t eventId;
    };
    std::vector<Recipient> recipients;
    bool masked = false;
    for (const auto& [groupId, group] : groups) {
        for (const auto& [eventId, maskable] : group.maskableEvents) {
            const auto mapped = clientEvents.find(eventId);
            if (mapped == clientEvents.end() || mapped->second != simEventName) {
                continue;
            }
            recipients.push_back({group.priority, groupId, eventId});
            masked = masked || (maskable && group.priority >= kHighestMaskablePriority);
        }
    }
    std::stable_sort(
        recipients.begin(), recipients.end(),
        [](const Recipient& a, const Recipient& b) { return a.priority < b.priority; });
    for (const Recipient& recipient : recipients) {
        queueEvent(recipient.groupId, recipient.eventId, data);
    }
    if (!masked) {
        apply(simEventName, data);
    }
}

void SimConnectServer::queueException(uint32_t exception, uint32_t sendId, uint32_t index) {
    platform::RecvException message{};
    message.exception = exception;
    message.sendId = sendId;
    message.index = index;
    queueMessage(bytesOf(message, RecvId::Exception));
}

int SimConnectServer::pump() {
    int delivered = 0;
    while (dispatch && !queue.empty()) {
        const std::vector<unsigned char> bytes = std::move(queue.front());
        queue.pop_front();
        // The vector's storage comes from operator new, aligned for any of the structures.
        dispatch(reinterpret_cast<const platform::Recv*>(bytes.data()),
                 static_cast<uint32_t>(bytes.size()), dispatchContext);
        ++delivered;
    }
    return delivered;
}

void SimConnectServer::apply(const std::string& simEventName, uint32_t data) {
    applied.push_back({simEventName, data});
    if (applyEvent) {
        applyEvent(applied.back());
    }
}

uint32_t SimConnectServer::groupPriority(uint32_t groupId) const {
    const auto found = groups.find(groupId);
    return found == groups.end() ? 0 : found->second.priority;
}

HResult SimConnectServer::open(SimConnectHandle* handle, const char* clientName) {
    const bool ok = !openFails;
    open_ = ok;
    if (handle) {
        *handle = ok ? kHandle : 0;
    }
    return record(std::string("Open ") + (clientName ? clientName : ""), ok);
}

HResult SimConnectServer::close(SimConnectHandle handle) {
    const bool ok = accepts(handle);
    if (ok) {
        open_ = false;
        dispatch = nullptr;
        queue.clear();
    }
    return record("Close", ok);
}

HResult SimConnectServer::subscribeToSystemEvent(SimConnectHandle handle, uint32_t eventId,
                                                 const char* systemEventName) {
    const bool ok = accepts(handle) && systemEventName;
    if (ok) {
        subscriptions[systemEventName].insert(eventId);
    }
    return record("SubscribeToSystemEvent " + std::to_string(eventId) + " " +
                      (systemEventName ? systemEventName : ""),
                  ok);
}

HResult SimConnectServer::addToDataDefinition(SimConnectHandle handle, uint32_t defineId,
                                              const char* variableName, const char* unitsName,
                                              int32_t, float, uint32_t) {
    const bool ok = accepts(handle) && variableName;
    if (ok) {
        definitions[defineId].push_back(variableName);
    }
    return record("AddToDataDefinition " + std::to_string(defineId) + " " +
                      (variableName ? variableName : "") + " " + (unitsName ? unitsName : ""),
                  ok);
}

HResult SimConnectServer::requestSystemState(SimConnectHandle handle, uint32_t requestId,
                                             const char* state) {
    const bool ok = accepts(handle) && state;
    if (ok && std::strcmp(state, "FlightLoaded") == 0) {
        pendingFlightRequests.push_back(requestId);
    }
    return record("RequestSystemState " + std::to_string(requestId) + " " + (state ? state : ""),
                  ok);
}

HResult SimConnectServer::mapClientEventToSimEvent(SimConnectHandle handle, uint32_t eventId,
                                                   const char* simEventName) {
    const bool ok = accepts(handle) && simEventName;
    if (ok) {
        clientEvents[eventId] = simEventName;
    }
    return record("MapClientEventToSimEvent " + std::to_string(eventId) + " " +
                      (simEventName ? simEventName : ""),
                  ok);
}

HResult SimConnectServer::addClientEventToNotificationGroup(SimConnectHandle handle,
                                                            uint32_t groupId, uint32_t eventId,
                                                            bool maskable) {
    const bool ok = accepts(handle);
    if (ok) {
        groups[groupId].maskableEvents[eventId] = maskable;
    }
    return record("AddClientEventToNotificationGroup " + std::to_string(groupId) + " " +
                      std::to_string(eventId) + (maskable ? " maskable" : ""),
                  ok);
}

HResult SimConnectServer::setNotificationGroupPriority(SimConnectHandle handle, uint32_t groupId,
                                                       uint32_t priority) {
    const bool ok = accepts(handle);
    if (ok) {
        groups[groupId].priority = priority;
    }
    return record("SetNotificationGroupPriority " + std::to_string(groupId) + " " +
                      std::to_string(priority),
                  ok);
}

HResult SimConnectServer::callDispatch(SimConnectHandle handle, platform::DispatchProc proc,
                                       void* context) {
    const bool ok = accepts(handle) && proc;
    if (ok) {
        dispatch = proc;
        dispatchContext = context;
    }
    return record("CallDispatch", ok);
}

HResult SimConnectServer::setDataOnSimObject(SimConnectHandle handle, uint32_t defineId,
                                             uint32_t objectId, uint32_t, uint32_t,
                                             uint32_t unitSize, const void* data) {
    const auto definition = definitions.find(defineId);
    const bool ok = accepts(handle) && objectId == platform::kUserObject && data &&
                    definition != definitions.end() && definition->second.size() == 1 &&
                    unitSize == sizeof(double);
    if (ok) {
        double value = 0.0;
        std::memcpy(&value, data, sizeof value);
        writes.push_back({defineId, definition->second.front(), value});
        writeVariable(definition->second.front(), value);
    }
    return record("SetDataOnSimObject " + std::to_string(defineId), ok);
}

HResult SimConnectServer::transmitClientEvent(SimConnectHandle handle, uint32_t objectId,
                                              uint32_t eventId, uint32_t data,
                                              uint32_t groupOrPriority, uint32_t flags) {
    const auto mapped = clientEvents.find(eventId);
    const bool ok =
        accepts(handle) && objectId == platform::kUserObject && mapped != clientEvents.end();
    if (ok) {
        // A transmitted event goes on only to groups of lower priority than the one given.
        const bool byPriority = (flags & platform::kEventFlagGroupIsPriority) != 0;
        const uint32_t threshold = byPriority ? groupOrPriority : groupPriority(groupOrPriority);
        for (const auto& [groupId, group] : groups) {
            if (group.priority > threshold && group.maskableEvents.contains(eventId)) {
                queueEvent(groupId, eventId, data);
            }
        }
        apply(mapped->second, data);
    }
    char flagsText[16];
    std::snprintf(flagsText, sizeof flagsText, "0x%X", flags);
    return record("TransmitClientEvent " + std::to_string(eventId) + " " + std::to_string(data) +
                      " " + std::to_string(groupOrPriority) + " " + flagsText,
                  ok);
}

HResult SimConnectServer::weatherRequestInterpolatedObservation(SimConnectHandle handle,
                                                                uint32_t requestId, float latitude,
                                                                float longitude, float altitude) {
    const bool ok = accepts(handle);
    if (ok) {
        weather.push_back({requestId, latitude, longitude, altitude});
    }
    return record("WeatherRequestInterpolatedObservation " + std::to_string(requestId), ok);
}

} // namespace tavi::sim
