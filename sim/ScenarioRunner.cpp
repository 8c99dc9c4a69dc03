#include "sim/ScenarioRunner.h"

#include "platform/profile/Profile.h"
#include "sim/Geodesy.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace tavi::sim {

namespace {

// Jet fuel, pounds per US gallon.
constexpr double kFuelPoundsPerGallon = 6.7;
constexpr int kFuelWeightPerGallonToken = 306;
constexpr int kLatitudeToken = 71;
constexpr int kLongitudeToken = 72;
// A tick ends at a time a line names, up to rounding.
constexpr double kTimeSlack = 1e-6;

std::string number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

} // namespace

bool writeStartupState(const Scenario& scenario, const std::filesystem::path& iniPath) {
    if (scenario.start.stateLine == 0) {
        return true;
    }
    // 0: cold and dark; 2: engines running.
    return platform::profile::write(iniPath, "Startup", "startupMode",
                                    scenario.start.readyToFly ? "2" : "0");
}

std::string StandInWorld::placeOnRunway(const std::string& airport, const std::string& runway) {
    if (!simulator.placeOnRunway(airport, runway)) {
        return "no runway " + runway + " of " + airport + " in the navigation database";
    }
    return {};
}

std::string StandInWorld::placeInFlight(const ScenarioStart::InFlight& flight) {
    if (flight.airspeed > 0.0) {
        simulator.placeInFlight(flight.latitude, flight.longitude, flight.altitude, flight.heading,
                                flight.airspeed);
    } else {
        simulator.placeOnGround(flight.latitude, flight.longitude, flight.heading);
    }
    return {};
}

std::string StandInWorld::load(const ScenarioStart& start) {
    simulator.panel.setToken(kFuelWeightPerGallonToken, kFuelPoundsPerGallon);
    const double left = start.leftFuel.value_or(0.0);
    const double right = start.rightFuel.value_or(0.0);
    if (start.leftFuel) {
        simulator.aircraft.writeVariable("FUEL TANK LEFT MAIN QUANTITY",
                                         left / kFuelPoundsPerGallon);
        simulator.aircraft.writeVariable("FUEL TANK RIGHT MAIN QUANTITY",
                                         right / kFuelPoundsPerGallon);
    }
    if (start.zeroFuelWeight) {
        simulator.panel.setVariable("TOTAL WEIGHT", 0,
                                    (*start.zeroFuelWeight + left + right) * kKgPerPound);
    }
    return {};
}

std::string StandInWorld::setWeather(const ScenarioStart& start) {
    Atmosphere& atmosphere = simulator.atmosphere;
    atmosphere.setSeaLevelPressure(start.qnh.value_or(Atmosphere::kStandardHpa));
    atmosphere.setTemperatureDeviation(start.temperatureDeviation.value_or(0.0));
    std::vector<WindLayer> layers;
    for (const ScenarioStart::Wind& wind : start.winds) {
        layers.push_back({wind.altitude, wind.direction, wind.speed});
    }
    std::ranges::sort(layers, {}, &WindLayer::altitudeFeet);
    atmosphere.setWindLayers(std::move(layers));
    return {};
}

std::string StandInWorld::makeReadyToFly() {
    simulator.readyToFly();
    return {};
}

ScenarioRunner::ScenarioRunner(const Scenario& scenario, Simulator& simulator, ScenarioWorld& world)
    : scenario(scenario), simulator(simulator), world(world), route(scenario.route),
      actionDone(scenario.actions.size(), false), checkStates(scenario.checks.size()) {}

void ScenarioRunner::require(const std::string& refusal, int line) {
    if (!refusal.empty()) {
        throw ScenarioError(line, refusal);
    }
}

void ScenarioRunner::start() {
    checkClicks();
    const ScenarioStart& s = scenario.start;
    // The weather and the load come first: an aircraft placed in flight is trimmed for its
    // mass in the air it flies in.
    if (!s.winds.empty() || s.temperatureDeviation || s.qnh) {
        require(world.setWeather(s), s.weatherLine);
    }
    if (s.leftFuel || s.zeroFuelWeight) {
        require(world.load(s), s.loadLine);
    }
    if (s.runway) {
        require(world.placeOnRunway(s.runway->airport, s.runway->runway), s.placementLine);
    } else if (s.inFlight) {
        require(world.placeInFlight(*s.inFlight), s.placementLine);
    }
    if (s.readyToFly) {
        require(world.makeReadyToFly(), s.stateLine);
    }
    startSeconds = simulator.simulatorSeconds();
    measureRoute();
    if (trace) {
        trace->writeHeader();
    }
}

bool ScenarioRunner::step() {
    if (seconds() >= scenario.duration - kTimeSlack) {
        return false;
    }
    applyDueActions();
    simulator.step();
    measureRoute();
    observeChecks();
    if (trace) {
        trace->writeRow(simulator, route, seconds());
    }
    return true;
}

std::vector<CheckResult> ScenarioRunner::run() {
    while (step()) {
    }
    return results();
}

void ScenarioRunner::applyDueActions() {
    const double now = seconds();
    for (std::size_t i = 0; i < scenario.actions.size(); ++i) {
        const ScenarioAction& action = scenario.actions[i];
        if (actionDone[i]) {
            continue;
        }
        const bool due = action.time ? now >= *action.time - kTimeSlack
                                     : action.condition->holds(simulator.panel, route);
        if (due) {
            actionDone[i] = true;
            apply(action);
        }
    }
}

void ScenarioRunner::apply(const ScenarioAction& action) {
    switch (action.kind) {
    case ScenarioAction::Kind::KeyEvent:
        simulator.panel.simulatorKeyEvent(action.eventId, action.eventValue);
        simulator.aircraft.applyKeyEvent({action.eventId, action.eventValue});
        break;
    case ScenarioAction::Kind::SimEvent:
        simulator.simConnect.pilotEvent(action.eventName, action.eventValue);
        break;
    case ScenarioAction::Kind::SetValue:
        action.target.write(simulator.panel, action.value);
        break;
    case ScenarioAction::Kind::CduKeys:
        typeKeys(action.virtualKeys);
        break;
    case ScenarioAction::Kind::Traffic:
        simulator.traffic.set(action.traffic);
        break;
    case ScenarioAction::Kind::Click:
        click(action);
        break;
    }
}

// Every click names a gauge the panel places and a point on it.
void ScenarioRunner::checkClicks() const {
    for (const ScenarioAction& action : scenario.actions) {
        if (action.kind != ScenarioAction::Kind::Click) {
            continue;
        }
        if (!panel) {
            throw ScenarioError(action.line, "this simulator has no panel to click");
        }
        const std::optional<PanelHost::DesignSize> size = panel->designSize(action.gauge);
        if (!size) {
            throw ScenarioError(action.line, "unknown gauge '" + action.gauge + "'");
        }
        if (action.x < 0.0 || action.y < 0.0 || action.x >= size->width ||
            action.y >= size->height) {
            throw ScenarioError(action.line, "the point " + number(action.x) + " " +
                                                 number(action.y) + " lies outside gauge " +
                                                 action.gauge + " (" + number(size->width) + " x " +
                                                 number(size->height) + ")");
        }
    }
}

void ScenarioRunner::click(const ScenarioAction& action) {
    const MouseButton button = action.rightButton ? MouseButton::Right : MouseButton::Left;
    if (!panel->click(action.gauge, action.x, action.y, button)) {
        throw ScenarioError(action.line,
                            "gauge " + action.gauge + " is not on show: its window is closed");
    }
}

// The route is measured where the panel's tokens put the aircraft.
void ScenarioRunner::measureRoute() {
    const Panel& p = simulator.panel;
    route.update(p.token(kLatitudeToken) / kLatitudeUnitsPerDegree,
                 p.token(kLongitudeToken) / kLongitudeUnitsPerDegree);
}

void ScenarioRunner::typeKeys(const std::vector<uint32_t>& keys) {
    for (const uint32_t key : keys) {
        simulator.host.key(key, true);
        simulator.host.key(key, false);
    }
}

void ScenarioRunner::observeChecks() {
    const double now = seconds();
    for (std::size_t i = 0; i < scenario.checks.size(); ++i) {
        const ScenarioCheck& check = scenario.checks[i];
        std::optional<double>& observed = checkStates[i].observed;
        if (now < check.from - kTimeSlack) {
            continue;
        }
        const double value = check.value.read(simulator.panel, route);
        switch (check.kind) {
        case ScenarioCheck::Kind::At:
            if (!observed) {
                observed = value;
            }
            break;
        case ScenarioCheck::Kind::Min:
            if (now <= check.to + kTimeSlack) {
                observed = observed ? std::min(*observed, value) : value;
            }
            break;
        case ScenarioCheck::Kind::Max:
            if (now <= check.to + kTimeSlack) {
                observed = observed ? std::max(*observed, value) : value;
            }
            break;
        }
    }
}

std::vector<CheckResult> ScenarioRunner::results() const {
    std::vector<CheckResult> results;
    for (std::size_t i = 0; i < scenario.checks.size(); ++i) {
        const ScenarioCheck& check = scenario.checks[i];
        const std::optional<double>& observed = checkStates[i].observed;
        CheckResult result;
        result.line = check.line;
        std::string expectation;
        switch (check.kind) {
        case ScenarioCheck::Kind::At:
            expectation = " at " + number(check.from) + " s = " + number(check.expected) + " +- " +
                          number(check.tolerance);
            result.passed = observed && std::fabs(*observed - check.expected) <= check.tolerance;
            break;
        case ScenarioCheck::Kind::Min:
            expectation = " from " + number(check.from) + " to " + number(check.to) + " s min " +
                          number(check.expected);
            result.passed = observed && *observed >= check.expected;
            break;
        case ScenarioCheck::Kind::Max:
            expectation = " from " + number(check.from) + " to " + number(check.to) + " s max " +
                          number(check.expected);
            result.passed = observed && *observed <= check.expected;
            break;
        }
        result.text = check.value.describe() + expectation + ": " +
                      (observed ? number(*observed) : std::string("never observed"));
        results.push_back(std::move(result));
    }
    return results;
}

} // namespace tavi::sim
