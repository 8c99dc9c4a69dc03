// The module's SimConnect client: set-up in the Aircraft's constructor and the dispatch of the
// simulator's messages.
#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "core/Aircraft.h"
#include "core/Format.h"
#include "core/Imports.h"

#include <array>
#include <cstring>

namespace tavi {

namespace {

using platform::HResult;
using platform::RecvId;

enum SystemEventId : uint32_t {
    kFlightLoadedEvent = 0,
    kFlightSavedEvent = 1,
    kPauseEvent = 2,
    kSimEvent = 3,
    kSoundEvent = 4,
};

enum ClientEventId : uint32_t {
    kElevatorAxisEvent = 5,
    kAileronsAxisEvent = 6,
    kApuStarterEvent = 7,
    kApuOffSwitchEvent = 8,
    kApuGeneratorToggleEvent = 9,
    kApuGeneratorSetEvent = 10,
    kRudderAxisEvent = 11,
};

constexpr uint32_t kFlightLoadedRequest = 0;
constexpr uint32_t kHighestPriority = 1;
constexpr uint32_t kHighestMaskablePriority = 10'000'000;

struct DataDefinition {
    const char* variable;
    const char* units;
};

constexpr std::array<DataDefinition, 9> kDataDefinitions = {{
    {"PARTIAL PANEL COMM", "enum"},
    {"FUEL TANK LEFT MAIN QUANTITY", "Gallons"},
    {"FUEL TANK RIGHT MAIN QUANTITY", "Gallons"},
    {"FUEL TANK CENTER QUANTITY", "Gallons"},
    {"FUEL TANK CENTER2 QUANTITY", "Gallons"},
    {"FUEL TANK EXTERNAL1 QUANTITY", "Gallons"},
    {"FUEL TANK EXTERNAL2 QUANTITY", "Gallons"},
    {"ELEVATOR POSITION", "Position"},
    {"AILERON POSITION", "Position"},
}};

struct ClientEvent {
    uint32_t id;
    const char* simEvent;
};

struct NotificationGroup {
    uint32_t id;
    bool maskable;
    uint32_t priority;
    std::array<ClientEvent, 4> events;
    std::size_t eventCount;
};

constexpr std::array<NotificationGroup, 3> kGroups = {{
    {0,
     true,
     kHighestPriority,
     {{{kElevatorAxisEvent, "AXIS_ELEVATOR_SET"}, {kAileronsAxisEvent, "AXIS_AILERONS_SET"}}},
     2},
    {1,
     true,
     kHighestMaskablePriority,
     {{{kApuStarterEvent, "APU_STARTER"},
       {kApuOffSwitchEvent, "APU_OFF_SWITCH"},
       {kApuGeneratorToggleEvent, "APU_GENERATOR_SWITCH_TOGGLE"},
       {kApuGeneratorSetEvent, "APU_GENERATOR_SWITCH_SET"}}},
     4},
    {2, false, kHighestPriority, {{{kRudderAxisEvent, "AXIS_RUDDER_SET"}}}, 1},
}};

constexpr std::array<const char*, 17> kMessageKindNames = {
    "SIMCONNECT_RECV_ID_NULL",
    "SIMCONNECT_RECV_ID_EXCEPTION",
    "SIMCONNECT_RECV_ID_OPEN",
    "SIMCONNECT_RECV_ID_QUIT",
    "SIMCONNECT_RECV_ID_EVENT",
    "SIMCONNECT_RECV_ID_EVENT_OBJECT_ADDREMOVE",
    "SIMCONNECT_RECV_ID_EVENT_FILENAME",
    "SIMCONNECT_RECV_ID_EVENT_FRAME",
    "SIMCONNECT_RECV_ID_SIMOBJECT_DATA",
    "SIMCONNECT_RECV_ID_SIMOBJECT_DATA_BYTYPE",
    "SIMCONNECT_RECV_ID_WEATHER_OBSERVATION",
    "SIMCONNECT_RECV_ID_CLOUD_STATE",
    "SIMCONNECT_RECV_ID_ASSIGNED_OBJECT_ID",
    "SIMCONNECT_RECV_ID_RESERVED_KEY",
    "SIMCONNECT_RECV_ID_CUSTOM_ACTION",
    "SIMCONNECT_RECV_ID_SYSTEM_STATE",
    "SIMCONNECT_RECV_ID_CLIENT_DATA",
};

std::string messageKindName(RecvId id) {
    const auto index = static_cast<std::size_t>(id);
    if (index < kMessageKindNames.size()) {
        return kMessageKindNames[index];
    }
    return format("SIMCONNECT_RECV_ID_%u", static_cast<unsigned>(index));
}

HResult subscribe(Aircraft& aircraft, uint32_t eventId, const char* name, const char* label) {
    const HResult result =
        simConnectServices().subscribeToSystemEvent(aircraft.simConnect, eventId, name);
    aircraft.log(format("%s hr = %X", label, static_cast<unsigned>(result)));
    return result;
}

// The simulator's APU switches act on the aircraft's own APU controls: the starter turns the
// master knob to Start, the off switch to Off.
void handleApuEvent(Aircraft& aircraft, const platform::RecvEvent& event) {
    Electric* electric = aircraft.electric();
    if (!electric) {
        return;
    }
    Electric::Apu& apu = electric->apu;
    const uint32_t now = aircraft.simTimeMs;
    switch (event.eventId) {
    case kApuStarterEvent:
        apu.stepKnobUp(now);
        apu.stepKnobUp(now);
        break;
    case kApuOffSwitchEvent:
        apu.stepKnobDown(now);
        apu.stepKnobDown(now);
        break;
    case kApuGeneratorToggleEvent:
        apu.setSwitch(!apu.connected);
        break;
    case kApuGeneratorSetEvent:
        apu.setSwitch(event.data != 0);
        break;
    default:
        break;
    }
}

void handleEvent(Aircraft& aircraft, const platform::RecvEvent& event) {
    const bool on = event.data != 0;
    switch (event.eventId) {
    case kPauseEvent:
        aircraft.simState.paused = on;
        break;
    case kSimEvent:
        aircraft.simRunning = on;
        break;
    case kSoundEvent:
        aircraft.simState.soundOn = on;
        break;
    case kApuStarterEvent:
    case kApuOffSwitchEvent:
    case kApuGeneratorToggleEvent:
    case kApuGeneratorSetEvent:
        handleApuEvent(aircraft, event);
        break;
    case kRudderAxisEvent:
        if (Mechanisation* mechanisation = aircraft.mechanisation()) {
            mechanisation->onRudderAxis(aircraft, static_cast<int32_t>(event.data));
        }
        break;
    default:
        break;
    }
}

template <typename Message>
const Message* messageAs(const platform::Recv* message, uint32_t size) {
    return size >= sizeof(Message) ? static_cast<const Message*>(message) : nullptr;
}

// The systems keep their state in the flight file the pilot saves and take it back from the one
// loaded, so a saved flight resumes where it was left.
void handleFlightFile(Aircraft& aircraft, const platform::RecvEventFilename& file) {
    const std::string path(file.fileName, strnlen(file.fileName, sizeof file.fileName));
    if (file.eventId == kFlightLoadedEvent) {
        aircraft.log(format("New Flight Loaded: %s", path.c_str()));
        aircraft.loadFlightState(path);
    } else if (file.eventId == kFlightSavedEvent) {
        aircraft.saveFlightState(path);
    }
}

} // namespace

void Aircraft::openSimConnect() {
    platform::SimConnect& sc = simConnectServices();
    const HResult opened = sc.open(&simConnect, "RavoZ gauge");
    log(opened == platform::kResultOk ? "Simconnect is ok" : "Simconnect is broken");
    log(format("%X", static_cast<unsigned>(simConnect)));

    subscribe(*this, kFlightLoadedEvent, "FlightLoaded", "FlightLoaded");
    subscribe(*this, kFlightLoadedEvent, "FlightLoaded", "FlightLoaded");
    subscribe(*this, kFlightSavedEvent, "FlightSaved", "FlightSaved");
    // The module starts running whatever the Pause subscription answers: a failed subscription
    // must not freeze the clock for good.
    subscribe(*this, kPauseEvent, "Pause", "Paused");
    simState.paused = false;
    subscribe(*this, kSimEvent, "Sim", "Sim");
    simState.soundOn = subscribe(*this, kSoundEvent, "Sound", "Sound") != platform::kResultOk;

    for (uint32_t id = 0; id < kDataDefinitions.size(); ++id) {
        sc.addToDataDefinition(simConnect, id, kDataDefinitions[id].variable,
                               kDataDefinitions[id].units, platform::kDataTypeFloat64, 0.0f,
                               platform::kUnusedDatum);
    }
    sc.requestSystemState(simConnect, kFlightLoadedRequest, "FlightLoaded");
    for (const NotificationGroup& group : kGroups) {
        for (std::size_t i = 0; i < group.eventCount; ++i) {
            sc.mapClientEventToSimEvent(simConnect, group.events[i].id, group.events[i].simEvent);
            sc.addClientEventToNotificationGroup(simConnect, group.id, group.events[i].id,
                                                 group.maskable);
        }
        sc.setNotificationGroupPriority(simConnect, group.id, group.priority);
    }
    const HResult dispatch = sc.callDispatch(simConnect, simConnectDispatch, nullptr);
    log(format("SimConnect_CallDispatch hr = %X", static_cast<unsigned>(dispatch)));
}

void simConnectDispatch(const platform::Recv* message, uint32_t size, void*) {
    Aircraft* aircraft = theAircraft;
    if (!aircraft || !message || size < sizeof(platform::Recv)) {
        return;
    }
    aircraft->log(format("SC: %s, %X", messageKindName(message->id).c_str(), size));
    switch (message->id) {
    case RecvId::Exception:
        if (const auto* exception = messageAs<platform::RecvException>(message, size)) {
            aircraft->log(format("***** EXCEPTION=%d  SendID=%d  uOffset=%d  cbData=%d",
                                 static_cast<int>(exception->exception),
                                 static_cast<int>(exception->sendId),
                                 static_cast<int>(exception->index), static_cast<int>(size)));
        }
        break;
    case RecvId::Event:
        if (const auto* event = messageAs<platform::RecvEvent>(message, size)) {
            handleEvent(*aircraft, *event);
        }
        break;
    case RecvId::EventFilename:
        if (const auto* file = messageAs<platform::RecvEventFilename>(message, size)) {
            handleFlightFile(*aircraft, *file);
        }
        break;
    case RecvId::SystemState:
        if (const auto* state = messageAs<platform::RecvSystemState>(message, size);
            state && state->requestId == kFlightLoadedRequest) {
            aircraft->loadedFlightPath.assign(state->text,
                                              strnlen(state->text, sizeof state->text));
        }
        break;
    default:
        break;
    }
}

} // namespace tavi
