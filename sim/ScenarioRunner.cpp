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
// A crew following a target keeps the thrust levers between forward idle and the stop, degrees.
constexpr double kForwardIdleDegrees = 22.0;
// How far ahead a crew following a target looks along the value's trend.
constexpr double kFollowLeadSeconds = 10.0;
constexpr double kLeverFullDegrees = 75.0;

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

std::string StandInWorld::setClock(std::chrono::sys_days date, double secondsOfDay) {
    simulator.startClock(date, secondsOfDay);
    return {};
}

ScenarioRunner::ScenarioRunner(const Scenario& scenario, Simulator& simulator, ScenarioWorld& world)
    : scenario(scenario), simulator(simulator), world(world), route(scenario.route),
      actionDone(scenario.actions.size(), false), nextDue(scenario.actions.size()),
      lastLooks(scenario.actions.size()), checkStates(scenario.checks.size()),
      screens([this](const std::string& gauge, std::optional<GaugePoint> at) {
          return screenTexts(gauge, at);
      }) {
    for (std::size_t i = 0; i < scenario.actions.size(); ++i) {
        nextDue[i] = scenario.actions[i].time.value_or(0.0);
    }
}

void ScenarioRunner::require(const std::string& refusal, int line) {
    if (!refusal.empty()) {
        throw ScenarioError(line, refusal);
    }
}

void ScenarioRunner::start() {
    checkClicks();
    checkScreens();
    const ScenarioStart& s = scenario.start;
    // The weather and the load come first: an aircraft placed in flight is trimmed for its
    // mass in the air it flies in.
    if (!s.winds.empty() || s.temperatureDeviation || s.qnh) {
        require(world.setWeather(s), s.weatherLine);
    }
    if (s.leftFuel || s.zeroFuelWeight) {
        require(world.load(s), s.loadLine);
    }
    if (s.date) {
        require(world.setClock(*s.date, s.secondsOfDay), s.timeLine);
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
    gaugesUpdated.clear();
    applyDueActions();
    simulator.step();
    gaugesUpdated.clear();
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
        const bool due = action.time ? now >= nextDue[i] - kTimeSlack
                                     : action.condition->holds(simulator.panel, route, &screens);
        if (!due) {
            continue;
        }
        if (action.every && now <= action.until + kTimeSlack) {
            // A repetition that fell behind the ticks acts once and takes up its rhythm.
            while (nextDue[i] <= now + kTimeSlack) {
                nextDue[i] += *action.every;
            }
        } else {
            actionDone[i] = true;
        }
        if (!action.every || now <= action.until + kTimeSlack) {
            apply(action);
        }
    }
}

void ScenarioRunner::followWithLevers(const ScenarioAction& action) {
    const double now = seconds();
    const double value = action.target.read(simulator.panel, route, &screens);
    // The crew leads the value: it aims at where the value's trend since its last look takes
    // it, so that the levers settle instead of swinging about the target.
    std::optional<Sample>& last =
        lastLooks[static_cast<std::size_t>(&action - &scenario.actions[0])];
    const double trend =
        last && now > last->time ? (value - last->value) / (now - last->time) : 0.0;
    last = Sample{now, value};
    const double error = action.value - (value + trend * kFollowLeadSeconds);
    for (const char* lever : {"TaviThrottle1Lever", "TaviThrottle2Lever"}) {
        const double angle = std::clamp(simulator.panel.namedVariable(lever) + action.gain * error,
                                        kForwardIdleDegrees, kLeverFullDegrees);
        simulator.panel.setNamedVariable(lever, angle);
        simulator.panel.setNamedVariable(std::string(lever) + "Pressed", 1.0);
    }
}

std::vector<std::string> ScenarioRunner::screenTexts(const std::string& gauge,
                                                     std::optional<GaugePoint> at) {
    if (!panel) {
        return {};
    }
    // The screens are drawn as a frame would draw them, once a tick.
    if (!gaugesUpdated.contains(gauge)) {
        if (!panel->update(gauge)) {
            throw ScenarioError(screenLine(gauge),
                                "gauge " + gauge + " is not on show: its window is closed");
        }
        gaugesUpdated.insert(gauge);
    }
    return panel->textsOn(gauge, at);
}

int ScenarioRunner::screenLine(const std::string& gauge) const {
    for (const auto& [value, line] : valueLines) {
        if (value->name == gauge) {
            return line;
        }
    }
    return 0;
}

// Every screen read names a gauge the panel places and a point on it.
void ScenarioRunner::checkScreens() {
    for (const ScenarioAction& action : scenario.actions) {
        if (action.condition && action.condition->value.kind == ScenarioValue::Kind::Screen) {
            valueLines[&action.condition->value] = action.line;
        }
        if (action.kind == ScenarioAction::Kind::FollowWithLevers &&
            action.target.kind == ScenarioValue::Kind::Screen) {
            throw ScenarioError(action.line, "the levers follow a number, not a screen's text");
        }
    }
    for (const ScenarioCheck& check : scenario.checks) {
        if (check.value.kind == ScenarioValue::Kind::Screen) {
            valueLines[&check.value] = check.line;
        }
    }
    for (const auto& [value, line] : valueLines) {
        requirePoint(value->name, value->point, line);
    }
}

void ScenarioRunner::apply(const ScenarioAction& action) {
    switch (action.kind) {
    case ScenarioAction::Kind::KeyEvent:
        simulator.pilotKeyEvent(action.eventId, action.eventValue);
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
    case ScenarioAction::Kind::FailEngine:
        simulator.failEngine(action.engine);
        break;
    case ScenarioAction::Kind::FollowWithLevers:
        followWithLevers(action);
        break;
    }
}

// Every click names a gauge the panel places and a point on it.
void ScenarioRunner::checkClicks() const {
    for (const ScenarioAction& action : scenario.actions) {
        if (action.kind != ScenarioAction::Kind::Click) {
            continue;
        }
        requirePoint(action.gauge, GaugePoint{action.x, action.y}, action.line);
    }
}

void ScenarioRunner::requirePoint(const std::string& gauge, std::optional<GaugePoint> point,
                                  int line) const {
    if (!panel) {
        throw ScenarioError(line, "this simulator has no panel to click or read");
    }
    const std::optional<PanelHost::DesignSize> size = panel->designSize(gauge);
    if (!size) {
        throw ScenarioError(line, "unknown gauge '" + gauge + "'");
    }
    if (point && (point->first < 0.0 || point->second < 0.0 || point->first >= size->width ||
                  point->second >= size->height)) {
        throw ScenarioError(line, "the point " + scenarioNumber(point->first) + " " +
                                      scenarioNumber(point->second) + " lies outside gauge " +
                                      gauge + " (" + scenarioNumber(size->width) + " x " +
                                      scenarioNumber(size->height) + ")");
    }
}

void ScenarioRunner::click(const ScenarioAction& action) {
    const MouseButton button = action.rightButton ? MouseButton::Right : MouseButton::Left;
    // The pointer finds the gauge as its last frame left it, as on the desktop, where a frame
    // runs every tick.
    if (!panel->update(action.gauge) || !panel->click(action.gauge, action.x, action.y, button)) {
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
        // A value is read only while its check looks: a screen is drawn for it.
        const bool looking =
            check.kind == ScenarioCheck::Kind::At ? !observed : now <= check.to + kTimeSlack;
        if (now < check.from - kTimeSlack || !looking) {
            continue;
        }
        const double value = check.value.read(simulator.panel, route, &screens);
        switch (check.kind) {
        case ScenarioCheck::Kind::At:
            observed = value;
            break;
        case ScenarioCheck::Kind::Min:
            observed = observed ? std::min(*observed, value) : value;
            break;
        case ScenarioCheck::Kind::Max:
            observed = observed ? std::max(*observed, value) : value;
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
            expectation = " at " + scenarioNumber(check.from) +
                          " s = " + scenarioNumber(check.expected) + " +- " +
                          scenarioNumber(check.tolerance);
            result.passed = observed && std::fabs(*observed - check.expected) <= check.tolerance;
            break;
        case ScenarioCheck::Kind::Min:
            expectation = " from " + scenarioNumber(check.from) + " to " +
                          scenarioNumber(check.to) + " s min " + scenarioNumber(check.expected);
            result.passed = observed && *observed >= check.expected;
            break;
        case ScenarioCheck::Kind::Max:
            expectation = " from " + scenarioNumber(check.from) + " to " +
                          scenarioNumber(check.to) + " s max " + scenarioNumber(check.expected);
            result.passed = observed && *observed <= check.expected;
            break;
        }
        result.text = check.value.describe() + expectation + ": " +
                      (observed ? scenarioNumber(*observed) : std::string("never observed"));
        results.push_back(std::move(result));
    }
    return results;
}

} // namespace tavi::sim
