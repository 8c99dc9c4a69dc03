#pragma once

#include "sim/PanelHost.h"
#include "sim/RouteTracker.h"
#include "sim/Scenario.h"
#include "sim/Simulator.h"
#include "sim/Trace.h"

#include <chrono>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace tavi::sim {

// What a scenario's start asks of the simulator beyond its panel: where the aircraft is, its
// load, the weather and whether its engines run. Each answers an empty text when done, or why
// this simulator cannot do it.
class ScenarioWorld {
public:
    virtual ~ScenarioWorld() = default;
    virtual std::string placeOnRunway(const std::string& airport, const std::string& runway) = 0;
    virtual std::string placeInFlight(const ScenarioStart::InFlight& flight) = 0;
    virtual std::string load(const ScenarioStart& start) = 0;
    virtual std::string setWeather(const ScenarioStart& start) = 0;
    virtual std::string makeReadyToFly() = 0;
    virtual std::string setClock(std::chrono::sys_days date, double secondsOfDay) = 0;
};

// The stand-in's world: the flight model places the aircraft on a runway of the navigation
// database, on the ground or in trimmed flight; the atmosphere takes the weather and the engine
// model starts the engines.
class StandInWorld final : public ScenarioWorld {
public:
    explicit StandInWorld(Simulator& simulator) : simulator(simulator) {}
    std::string placeOnRunway(const std::string& airport, const std::string& runway) override;
    std::string placeInFlight(const ScenarioStart::InFlight& flight) override;
    std::string load(const ScenarioStart& start) override;
    std::string setWeather(const ScenarioStart& start) override;
    std::string makeReadyToFly() override;
    std::string setClock(std::chrono::sys_days date, double secondsOfDay) override;

private:
    Simulator& simulator;
};

// The module reads its start-up state (cold and dark, or engines running) from its settings file
// when it loads: a scenario's `init state` writes it there first. False when the file cannot be
// written; a scenario without the line leaves the file alone.
bool writeStartupState(const Scenario& scenario, const std::filesystem::path& iniPath);

struct CheckResult {
    int line = 0;
    bool passed = false;
    // "token 60 at 30 s = 1 +- 0: 1"
    std::string text;
};

// Flies a scenario on a simulator whose module has started: the start, then tick by tick the
// actions that fall due, the checks, the route's measure and the trace.
class ScenarioRunner {
public:
    ScenarioRunner(const Scenario& scenario, Simulator& simulator, ScenarioWorld& world);

    // Applies the start; throws ScenarioError naming the line this simulator cannot honour,
    // among them a click on a gauge the panel does not place or off the gauge.
    void start();
    // One tick; false once the scenario's time is over. Throws ScenarioError for a click that
    // falls due while its gauge's window is not on show.
    bool step();
    void traceTo(Trace* trace) { this->trace = trace; }
    // The panel the scenario's clicks go through; a scenario with clicks needs one.
    void clickThrough(PanelHost* panel) { this->panel = panel; }
    // Runs to the end and gives every check's result in the file's order.
    std::vector<CheckResult> run();
    std::vector<CheckResult> results() const;
    double seconds() const { return simulator.simulatorSeconds() - startSeconds; }

private:
    struct CheckState {
        std::optional<double> observed;
    };
    struct Sample {
        double time;
        double value;
    };

    void applyDueActions();
    void apply(const ScenarioAction& action);
    void typeKeys(const std::vector<uint32_t>& keys);
    void checkClicks() const;
    void checkScreens();
    // The gauge is placed and the point, when given, lies on it.
    void requirePoint(const std::string& gauge, std::optional<GaugePoint> point, int line) const;
    std::vector<std::string> screenTexts(const std::string& gauge, std::optional<GaugePoint> at);
    int screenLine(const std::string& gauge) const;
    void followWithLevers(const ScenarioAction& action);
    void click(const ScenarioAction& action);
    void measureRoute();
    void observeChecks();
    static void require(const std::string& refusal, int line);

    const Scenario& scenario;
    Simulator& simulator;
    ScenarioWorld& world;
    Trace* trace = nullptr;
    PanelHost* panel = nullptr;
    RouteTracker route;
    double startSeconds = 0.0;
    std::vector<bool> actionDone;
    // The scenario time each action next falls due at (repeated actions move it on).
    std::vector<double> nextDue;
    // What each action following a target last saw of its value.
    std::vector<std::optional<Sample>> lastLooks;
    std::vector<CheckState> checkStates;
    // The screen reads and their file lines; the gauges drawn for them this tick.
    std::map<const ScenarioValue*, int> valueLines;
    std::set<std::string> gaugesUpdated;
    ScreenTexts screens;
};

} // namespace tavi::sim
