#pragma once

#include <cstdint>

// The simulator's client interface for system events, data definitions, client events and
// notification groups. Every call answers a result code: 0 for success.
namespace tavi::platform {

using SimConnectHandle = uintptr_t;
using HResult = int32_t;

inline constexpr HResult kResultOk = 0;
inline constexpr HResult kResultFail = static_cast<HResult>(0x80004005);

inline constexpr int32_t kDataTypeFloat64 = 4;
inline constexpr uint32_t kUnusedDatum = 0xFFFFFFFF;
inline constexpr uint32_t kUserObject = 0;
inline constexpr uint32_t kEventFlagGroupIsPriority = 0x10;

// Message kinds delivered to the dispatch procedure.
enum class RecvId : uint32_t {
    Null = 0,
    Exception = 1,
    Open = 2,
    Quit = 3,
    Event = 4,
    EventObjectAddRemove = 5,
    EventFilename = 6,
    EventFrame = 7,
    SimObjectData = 8,
    SimObjectDataByType = 9,
    WeatherObservation = 10,
    CloudState = 11,
    AssignedObjectId = 12,
    ReservedKey = 13,
    CustomAction = 14,
    SystemState = 15,
    ClientData = 16,
};

struct Recv {
    uint32_t size;
    uint32_t version;
    RecvId id;
};

struct RecvException : Recv {
    uint32_t exception;
    uint32_t sendId;
    uint32_t index;
};

struct RecvEvent : Recv {
    uint32_t groupId;
    uint32_t eventId;
    uint32_t data;
};

struct RecvEventFilename : RecvEvent {
    char fileName[260];
    uint32_t flags;
};

struct RecvSystemState : Recv {
    uint32_t requestId;
    uint32_t integer;
    float real;
    char text[260];
};

using DispatchProc = void (*)(const Recv* message, uint32_t size, void* context);

class SimConnect {
public:
    virtual ~SimConnect() = default;

    virtual HResult open(SimConnectHandle* handle, const char* clientName) = 0;
    virtual HResult close(SimConnectHandle handle) = 0;
    virtual HResult subscribeToSystemEvent(SimConnectHandle handle, uint32_t eventId,
                                           const char* systemEventName) = 0;
    virtual HResult addToDataDefinition(SimConnectHandle handle, uint32_t defineId,
                                        const char* variableName, const char* unitsName,
                                        int32_t dataType, float epsilon, uint32_t datumId) = 0;
    virtual HResult requestSystemState(SimConnectHandle handle, uint32_t requestId,
                                       const char* state) = 0;
    virtual HResult mapClientEventToSimEvent(SimConnectHandle handle, uint32_t eventId,
                                             const char* simEventName) = 0;
    virtual HResult addClientEventToNotificationGroup(SimConnectHandle handle, uint32_t groupId,
                                                      uint32_t eventId, bool maskable) = 0;
    virtual HResult setNotificationGroupPriority(SimConnectHandle handle, uint32_t groupId,
                                                 uint32_t priority) = 0;
    // Hands over the procedure that receives every later message.
    virtual HResult callDispatch(SimConnectHandle handle, DispatchProc proc, void* context) = 0;
    virtual HResult setDataOnSimObject(SimConnectHandle handle, uint32_t defineId,
                                       uint32_t objectId, uint32_t flags, uint32_t arrayCount,
                                       uint32_t unitSize, const void* data) = 0;
    // With kEventFlagGroupIsPriority the group argument is a priority.
    virtual HResult transmitClientEvent(SimConnectHandle handle, uint32_t objectId,
                                        uint32_t eventId, uint32_t data, uint32_t groupOrPriority,
                                        uint32_t flags) = 0;
    virtual HResult weatherRequestInterpolatedObservation(SimConnectHandle handle,
                                                          uint32_t requestId, float latitude,
                                                          float longitude, float altitude) = 0;
};

} // namespace tavi::platform
