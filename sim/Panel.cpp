#include "sim/Panel.h"

#include "sim/Simulator.h"

#include <algorithm>

namespace tavi::sim {

namespace {

// The simulator's names are ASCII.
char folded(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

std::size_t NameTable::FoldedHash::operator()(std::string_view text) const noexcept {
    // FNV-1a over the upper-case letters.
    std::size_t hash = 14695981039346656037ull;
    for (const char c : text) {
        hash = (hash ^ static_cast<unsigned char>(folded(c))) * 1099511628211ull;
    }
    return hash;
}

bool NameTable::FoldedEqual::operator()(std::string_view a, std::string_view b) const noexcept {
    return std::ranges::equal(a, b, [](char x, char y) { return folded(x) == folded(y); });
}

int32_t NameTable::idOf(std::string_view name) {
    if (const auto found = ids.find(name); found != ids.end()) {
        return found->second;
    }
    std::string key(name);
    std::ranges::transform(key, key.begin(), folded);
    const auto id = static_cast<int32_t>(ids.size());
    ids.emplace(std::move(key), id);
    return id;
}

std::optional<int32_t> NameTable::find(std::string_view name) const {
    const auto found = ids.find(name);
    return found == ids.end() ? std::nullopt : std::optional<int32_t>(found->second);
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

uint64_t Panel::variableKey(int32_t variableId, int32_t index) {
    return static_cast<uint64_t>(static_cast<uint32_t>(variableId)) << 32 |
           static_cast<uint32_t>(index);
}

double Panel::variableValue(int32_t variableId, int32_t index) const {
    const auto found = variables.find(variableKey(variableId, index));
    return found == variables.end() ? 0.0 : found->second;
}

void Panel::setVariable(std::string_view name, int32_t index, double value) {
    variables[variableKey(variableNames.idOf(name), index)] = value;
}

void Panel::setVariableInUnits(std::string_view name, std::string_view units, int32_t index,
                               double value) {
    variablesInUnits[{variableNames.idOf(name), unitsNames.idOf(units), index}] = value;
}

double Panel::variable(std::string_view name, int32_t index) const {
    const std::optional<int32_t> id = variableNames.find(name);
    return id ? variableValue(*id, index) : 0.0;
}

void Panel::setNamedVariable(std::string_view name, double value) {
    writeNamedVariable(registerNamedVariable(std::string(name).c_str()), value);
}

double Panel::namedVariable(std::string_view name) const {
    const std::optional<int32_t> id = namedVariableNames.find(name);
    return id ? namedVariableValues[static_cast<std::size_t>(*id)] : 0.0;
}

bool Panel::hasNamedVariable(std::string_view name) const {
    return namedVariableNames.find(name).has_value();
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
    if (everyValue && !isTextToken(record.id) && record.id != Simulator::kTickToken &&
        record.id != Simulator::kSecondsToken) {
        record.value = *everyValue;
    }
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
    const int32_t id = namedVariableNames.idOf(name ? name : "");
    if (static_cast<std::size_t>(id) >= namedVariableValues.size()) {
        namedVariableValues.resize(static_cast<std::size_t>(id) + 1, 0.0);
    }
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
    return unitsNames.idOf(unitsName ? unitsName : "");
}

int32_t Panel::aircraftVariableId(const char* variableName) {
    return variableNames.idOf(variableName ? variableName : "");
}

double Panel::readAircraftVariable(int32_t variableId, int32_t unitsId, int32_t index) {
    if (everyValue) {
        return *everyValue;
    }
    if (!variableNames.contains(variableId)) {
        return 0.0;
    }
    if (unitsNames.contains(unitsId) && !variablesInUnits.empty()) {
        const auto found = variablesInUnits.find({variableId, unitsId, index});
        if (found != variablesInUnits.end()) {
            return found->second;
        }
    }
    return variableValue(variableId, index);
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
