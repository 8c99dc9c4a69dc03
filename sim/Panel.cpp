#include "sim/Panel.h"

#include <algorithm>
#include <cctype>

namespace tavi::sim {

std::string Panel::upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

int32_t Panel::idOf(std::vector<std::string>& names, std::string_view name) {
    const std::string key = upper(name);
    const auto found = std::find(names.begin(), names.end(), key);
    if (found != names.end()) {
        return static_cast<int32_t>(found - names.begin());
    }
    names.push_back(key);
    return static_cast<int32_t>(names.size() - 1);
}

void Panel::setToken(int32_t tokenId, double value) {
    tokens[tokenId] = value;
}

void Panel::setTokenText(int32_t tokenId, std::optional<std::string> text) {
    if (text) {
        tokenTexts[tokenId] = std::move(*text);
    } else {
        tokenTexts.erase(tokenId);
    }
}

bool Panel::isTextToken(int32_t tokenId) {
    return tokenId == 47 || tokenId == 56;
}

double Panel::token(int32_t tokenId) const {
    const auto found = tokens.find(tokenId);
    return found == tokens.end() ? 0.0 : found->second;
}

void Panel::setVariable(std::string_view name, int32_t index, double value) {
    variables[{upper(name), index}] = value;
}

void Panel::setVariableInUnits(std::string_view name, std::string_view units, int32_t index,
                               double value) {
    variablesInUnits[{upper(name), upper(units), index}] = value;
}

double Panel::variable(std::string_view name, int32_t index) const {
    const auto found = variables.find({upper(name), index});
    return found == variables.end() ? 0.0 : found->second;
}

void Panel::setNamedVariable(std::string_view name, double value) {
    writeNamedVariable(registerNamedVariable(std::string(name).c_str()), value);
}

double Panel::namedVariable(std::string_view name) const {
    const auto found = std::find(namedVariableNames.begin(), namedVariableNames.end(), upper(name));
    if (found == namedVariableNames.end()) {
        return 0.0;
    }
    return namedVariableValues[static_cast<std::size_t>(found - namedVariableNames.begin())];
}

bool Panel::hasNamedVariable(std::string_view name) const {
    return std::find(namedVariableNames.begin(), namedVariableNames.end(), upper(name)) !=
           namedVariableNames.end();
}

void Panel::setCalculatorResult(std::string code, CalculatorResult result) {
    calculatorResults[std::move(code)] = std::move(result);
}

void Panel::setInterface(std::string name, void* pointer) {
    interfaces[std::move(name)] = pointer;
}

void Panel::setNamedBlock(std::string name, const void* block) {
    namedBlocks[std::move(name)] = block;
}

void Panel::setPanelWindowOpen(int32_t windowId, bool open) {
    openWindows[windowId] = open;
}

void Panel::simulatorKeyEvent(uint32_t eventId, uint32_t value) {
    deliver(eventId, value);
}

void Panel::onKeyEventApplied(std::function<void(const KeyEvent&)> apply) {
    applyKeyEvent = std::move(apply);
}

bool Panel::isPanelWindowOpen(int32_t windowId) {
    const auto found = openWindows.find(windowId);
    return found != openWindows.end() && found->second;
}

void Panel::bindNamedBlock(platform::TokenRecord& record, const char* name) {
    const auto found = namedBlocks.find(name);
    record.valuePointer = found == namedBlocks.end() ? nullptr : found->second;
}

void Panel::lookupToken(platform::TokenRecord& record) {
    ++lookups;
    record.previousValue = record.value;
    record.value = token(record.id);
    if (!isTextToken(record.id)) {
        record.valuePointer = &record.value;
        return;
    }
    const auto text = tokenTexts.find(record.id);
    record.valuePointer = text == tokenTexts.end() ? nullptr : text->second.c_str();
}

void Panel::panelShutdown() {
    ++shutdownCalls;
}

void Panel::closePanelWindow(int32_t windowId) {
    openWindows[windowId] = false;
}

void Panel::openPanelWindow(int32_t windowId) {
    openWindows[windowId] = true;
}

int32_t Panel::registerNamedVariable(const char* name) {
    const int32_t id = idOf(namedVariableNames, name);
    namedVariableValues.resize(namedVariableNames.size(), 0.0);
    return id;
}

double Panel::readNamedVariable(int32_t variableId) {
    if (variableId < 0 || static_cast<std::size_t>(variableId) >= namedVariableValues.size()) {
        return 0.0;
    }
    return namedVariableValues[static_cast<std::size_t>(variableId)];
}

void Panel::writeNamedVariable(int32_t variableId, double value) {
    if (variableId >= 0 && static_cast<std::size_t>(variableId) < namedVariableValues.size()) {
        namedVariableValues[static_cast<std::size_t>(variableId)] = value;
    }
}

bool Panel::executeCalculatorCode(const char* code, double* number, int32_t* integer,
                                  std::string* text) {
    const auto found = calculatorResults.find(code ? code : "");
    if (found == calculatorResults.end() || !found->second.succeeds) {
        return false;
    }
    if (number) {
        *number = found->second.number;
    }
    if (integer) {
        *integer = found->second.integer;
    }
    if (text) {
        *text = found->second.text;
    }
    return true;
}

int32_t Panel::unitsId(const char* unitsName) {
    return idOf(unitsNames, unitsName);
}

int32_t Panel::aircraftVariableId(const char* variableName) {
    return idOf(variableNames, variableName);
}

double Panel::readAircraftVariable(int32_t variableId, int32_t unitsId, int32_t index) {
    if (variableId < 0 || static_cast<std::size_t>(variableId) >= variableNames.size()) {
        return 0.0;
    }
    const std::string& name = variableNames[static_cast<std::size_t>(variableId)];
    if (unitsId >= 0 && static_cast<std::size_t>(unitsId) < unitsNames.size()) {
        const auto found =
            variablesInUnits.find({name, unitsNames[static_cast<std::size_t>(unitsId)], index});
        if (found != variablesInUnits.end()) {
            return found->second;
        }
    }
    return variable(name, index);
}

void* Panel::interfaceByName(const char* name) {
    const auto found = interfaces.find(name ? name : "");
    return found == interfaces.end() ? nullptr : found->second;
}

void Panel::sendKeyEvent(uint32_t eventId, uint32_t value) {
    keyEvents.push_back({eventId, value});
    deliver(eventId, value);
    if (eventId == kToggleWindowEvent) {
        const auto window = static_cast<int32_t>(value);
        openWindows[window] = !isPanelWindowOpen(window);
    }
    if (applyKeyEvent) {
        applyKeyEvent({eventId, value});
    }
}

void Panel::registerKeyEventHandler(platform::KeyEventHandler handler, void* userData) {
    handlers.emplace_back(handler, userData);
}

void Panel::unregisterKeyEventHandler(platform::KeyEventHandler handler, void* userData) {
    std::erase(handlers, std::pair{handler, userData});
}

void Panel::deliver(uint32_t eventId, uint32_t value) {
    // A handler may unregister itself while it runs: deliver to a copy.
    const auto current = handlers;
    for (const auto& [handler, userData] : current) {
        handler(eventId, value, userData);
    }
}

} // namespace tavi::sim
