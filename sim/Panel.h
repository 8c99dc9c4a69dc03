#pragma once

#include "platform/panel/PanelServices.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tavi::sim {

// The simulator's names (variables, units, panel variables) read without regard to case, each
// given a number the first time it is named. Names are looked up every frame, so a look-up
// neither copies nor folds the name.
class NameTable {
public:
    int32_t idOf(std::string_view name);
    std::optional<int32_t> find(std::string_view name) const;
    bool contains(int32_t id) const { return id >= 0 && static_cast<std::size_t>(id) < ids.size(); }

private:
    struct FoldedHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const noexcept;
    };
    struct FoldedEqual {
        using is_transparent = void;
        bool operator()(std::string_view a, std::string_view b) const noexcept;
    };

    std::unordered_map<std::string, int32_t, FoldedHash, FoldedEqual> ids;
};

// A key event as the simulator received it from the module.
struct KeyEvent {
    uint32_t eventId;
    uint32_t value;

    friend bool operator==(const KeyEvent&, const KeyEvent&) = default;
};

// What calculator code evaluates to; `succeeds` false makes the evaluation fail.
struct CalculatorResult {
    double number = 0.0;
    int32_t integer = 0;
    std::string text;
    bool succeeds = true;
};

// The simulator's panel services: token values, aircraft variables, named panel variables
// shared with the aircraft's other gauges, calculator code, key events and panel windows.
class Panel final : public platform::PanelServices {
public:
    // The key event that shows a hidden panel window, or hides a shown one; its value is the
    // window's ident.
    static constexpr uint32_t kToggleWindowEvent = 0x103CA;

    // Test bed.
    void setToken(int32_t tokenId, double value);
    double token(int32_t tokenId) const;
    // The text of a token that holds text (the tuned NAV stations' idents); none is a null
    // text, as the simulator gives while nothing is received.
    void setTokenText(int32_t tokenId, std::optional<std::string> text);
    static bool isTextToken(int32_t tokenId);
    void setVariable(std::string_view name, int32_t index, double value);
    double variable(std::string_view name, int32_t index = 0) const;
    // A variable the simulator gives in more than one unit: read in these units it has this
    // value, in any other the one setVariable gave.
    void setVariableInUnits(std::string_view name, std::string_view units, int32_t index,
                            double value);
    void setNamedVariable(std::string_view name, double value);
    double namedVariable(std::string_view name) const;
    bool hasNamedVariable(std::string_view name) const;
    // From now on every aircraft variable and every number token the module reads answers the
    // value, as a damaged flight's simulator would; the tick and the clock still run.
    void answerEveryValue(double value) { everyValue = value; }
    void setCalculatorResult(std::string code, CalculatorResult result);
    void setInterface(std::string name, void* pointer);
    void setNamedBlock(std::string name, const void* block);
    void setPanelWindowOpen(int32_t windowId, bool open);
    // Delivers a key event of the simulator's own (the pilot's) to every registered handler.
    void simulatorKeyEvent(uint32_t eventId, uint32_t value);
    // Called after each key event the module sends has reached the handlers: the simulator
    // applies it.
    void onKeyEventApplied(std::function<void(const KeyEvent&)> apply);

    const std::vector<KeyEvent>& keyEventsSent() const { return keyEvents; }
    void clearKeyEventsSent() { keyEvents.clear(); }
    int tokenLookups() const { return lookups; }
    int panelShutdownCalls() const { return shutdownCalls; }
    std::size_t keyEventHandlerCount() const { return handlers.size(); }

    // PanelServices.
    bool isPanelWindowOpen(int32_t windowId) override;
    void bindNamedBlock(platform::TokenRecord& record, const char* name) override;
    void lookupToken(platform::TokenRecord& record) override;
    void panelShutdown() override;
    void closePanelWindow(int32_t windowId) override;
    void openPanelWindow(int32_t windowId) override;
    int32_t registerNamedVariable(const char* name) override;
    double readNamedVariable(int32_t variableId) override;
    void writeNamedVariable(int32_t variableId, double value) override;
    bool executeCalculatorCode(const char* code, double* number, int32_t* integer,
                               std::string* text) override;
    int32_t unitsId(const char* unitsName) override;
    int32_t aircraftVariableId(const char* variableName) override;
    double readAircraftVariable(int32_t variableId, int32_t unitsId, int32_t index) override;
    void* interfaceByName(const char* name) override;
    void sendKeyEvent(uint32_t eventId, uint32_t value) override;
    void registerKeyEventHandler(platform::KeyEventHandler handler, void* userData) override;
    void unregisterKeyEventHandler(platform::KeyEventHandler handler, void* userData) override;

private:
    static uint64_t variableKey(int32_t variableId, int32_t index);
    double variableValue(int32_t variableId, int32_t index) const;
    void deliver(uint32_t eventId, uint32_t value);

    std::unordered_map<int32_t, double> tokens;
    std::map<int32_t, std::string> tokenTexts;
    NameTable variableNames;
    NameTable unitsNames;
    std::unordered_map<uint64_t, double> variables;
    std::map<std::tuple<int32_t, int32_t, int32_t>, double> variablesInUnits;
    NameTable namedVariableNames;
    std::vector<double> namedVariableValues;
    std::map<std::string, CalculatorResult> calculatorResults;
    std::map<std::string, void*> interfaces;
    std::map<std::string, const void*> namedBlocks;
    std::map<int32_t, bool> openWindows;
    std::vector<std::pair<platform::KeyEventHandler, void*>> handlers;
    std::vector<KeyEvent> keyEvents;
    std::function<void(const KeyEvent&)> applyKeyEvent;
    int lookups = 0;
    int shutdownCalls = 0;
    std::optional<double> everyValue;
};

} // namespace tavi::sim
