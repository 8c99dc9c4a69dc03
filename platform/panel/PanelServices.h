#pragma once

#include <cstdint>
#include <string>

namespace tavi::platform {

// One panel token variable as the simulator's token lookup fills it.
struct TokenRecord {
    int32_t id = 0;
    const void* valuePointer = nullptr;
    int32_t valueType = 0;
    double value = 0.0;
    double previousValue = 0.0;
};

using KeyEventHandler = void (*)(uint32_t eventId, uint32_t data, void* userData);

// The simulator's panel services. The host fills in the table before the module starts; every
// call comes on the simulator's user-interface thread.
class PanelServices {
public:
    virtual ~PanelServices() = default;

    virtual bool isPanelWindowOpen(int32_t windowId) = 0;
    // Points the record at a block of data the simulator publishes under the name.
    virtual void bindNamedBlock(TokenRecord& record, const char* name) = 0;
    virtual void lookupToken(TokenRecord& record) = 0;
    // Called once when the module shuts down, before SimConnect is closed.
    virtual void panelShutdown() = 0;
    virtual void closePanelWindow(int32_t windowId) = 0;
    virtual void openPanelWindow(int32_t windowId) = 0;

    // Named panel variables, shared with the aircraft's other gauges.
    virtual int32_t registerNamedVariable(const char* name) = 0;
    virtual double readNamedVariable(int32_t variableId) = 0;
    virtual void writeNamedVariable(int32_t variableId, double value) = 0;

    // Evaluates calculator code; each result pointer may be null. False when the code fails.
    virtual bool executeCalculatorCode(const char* code, double* number, int32_t* integer,
                                       std::string* text) = 0;

    virtual int32_t unitsId(const char* unitsName) = 0;
    virtual int32_t aircraftVariableId(const char* variableName) = 0;
    virtual double readAircraftVariable(int32_t variableId, int32_t unitsId, int32_t index) = 0;

    // An interface of the simulator by name, or null when it is not available.
    virtual void* interfaceByName(const char* name) = 0;

    virtual void sendKeyEvent(uint32_t eventId, uint32_t value) = 0;
    virtual void registerKeyEventHandler(KeyEventHandler handler, void* userData) = 0;
    virtual void unregisterKeyEventHandler(KeyEventHandler handler, void* userData) = 0;
};

} // namespace tavi::platform
