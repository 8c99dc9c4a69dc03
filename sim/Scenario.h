#pragma once

#include "sim/Panel.h"
#include "sim/RouteTracker.h"
#include "sim/TrafficList.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace tavi::sim {

// A number as the scenario's messages write it ("%g").
std::string scenarioNumber(double value);

// A fault of a scenario file, with the line it lies on ("LINE: message").
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(int line, const std::string& message);
    int line() const { return lineNumber; }

private:
    int lineNumber;
};

// A point of a gauge in its design pixels.
using GaugePoint = std::pair<double, double>;
// The texts the screens of a gauge show, those under the point when one is given.
using ScreenTexts =
    std::function<std::vector<std::string>(const std::string& gauge, std::optional<GaugePoint>)>;

// A value of the simulator a scenario reads or writes: a token, an aircraft variable with its
// index, or a named panel variable; or, only read, the simulator's measure of the scenario's
// route (the leg flown, the cross-track distance from it) and what a screen shows (1 while a
// screen of the gauge shows the text, else 0), as the crew reads it.
struct ScenarioValue {
    enum class Kind { Token, Variable, Named, RouteLeg, CrossTrack, Screen };

    Kind kind = Kind::Token;
    int32_t token = 0;
    // The variable's name, or the gauge whose screens are read.
    std::string name;
    int32_t index = 0;
    // The text a screen shows, and the point of the gauge that picks the screen.
    std::string text;
    std::optional<GaugePoint> point;

    // Screens read as showing nothing without their texts.
    double read(const Panel& panel, const RouteTracker& route,
                const ScreenTexts* screens = nullptr) const;
    // The route's measures and the screens cannot be written.
    bool writable() const {
        return kind != Kind::RouteLeg && kind != Kind::CrossTrack && kind != Kind::Screen;
    }
    void write(Panel& panel, double value) const;
    // As the file names it: `token 60`, `variable "ENG COMBUSTION" 2`, `named TaviApu`,
    // `route leg`, `screen MainPanel "ENG1 OUT"`.
    std::string describe() const;
};

struct ScenarioCondition {
    enum class Comparison { Less, LessOrEqual, Greater, GreaterOrEqual, Equal, NotEqual };

    ScenarioValue value;
    Comparison comparison = Comparison::Equal;
    double threshold = 0.0;

    bool holds(const Panel& panel, const RouteTracker& route,
               const ScreenTexts* screens = nullptr) const;
};

// Something the crew or the world does: at a time, or on the first frame a condition holds.
struct ScenarioAction {
    enum class Kind {
        // The pilot's key event: the module's handlers see it and the simulator applies it.
        KeyEvent,
        // A simulator event through SimConnect, as the pilot's axes and switches send them.
        SimEvent,
        // A token, an aircraft variable or a named panel variable takes a value.
        SetValue,
        // PC keys typed into the CDU pop-up (letters, digits and the CDU's function keys).
        CduKeys,
        // An aircraft of the traffic appears or changes its path.
        Traffic,
        // The crew clicks a gauge of the panel.
        Click,
        // An engine fails.
        FailEngine,
        // The crew moves both thrust levers towards a value's target: GAIN degrees for each
        // unit the value lies below the target, from where the levers stand.
        FollowWithLevers,
    };

    Kind kind = Kind::KeyEvent;
    int line = 0;
    std::optional<double> time;
    std::optional<ScenarioCondition> condition;
    // A repeated action acts every `every` seconds from `time` up to `until`.
    std::optional<double> every;
    double until = 0.0;
    uint32_t eventId = 0;
    std::string eventName;
    uint32_t eventValue = 0;
    ScenarioValue target;
    double value = 0.0;
    std::vector<uint32_t> virtualKeys;
    TrafficObject traffic;
    // The gauge clicked, the point in its design pixels and the button.
    std::string gauge;
    double x = 0.0;
    double y = 0.0;
    bool rightButton = false;
    int engine = 0;
    double gain = 0.0;
};

// A value the scenario expects: at a time within a tolerance, or never below a minimum or above
// a maximum over a window of time.
struct ScenarioCheck {
    enum class Kind { At, Min, Max };

    Kind kind = Kind::At;
    int line = 0;
    ScenarioValue value;
    double from = 0.0;
    double to = 0.0;
    double expected = 0.0;
    double tolerance = 0.0;
};

// A value a scenario adds to the trace, under its own column name.
struct TraceColumn {
    std::string header;
    ScenarioValue value;
};

// Where and how the flight starts.
struct ScenarioStart {
    struct Runway {
        std::string airport;
        std::string runway;
    };
    struct InFlight {
        double latitude = 0.0;
        double longitude = 0.0;
        // Feet above mean sea level, degrees true, knots indicated.
        double altitude = 0.0;
        double heading = 0.0;
        double airspeed = 0.0;
    };
    struct Wind {
        // Feet above mean sea level from which the wind blows; degrees true it blows from; knots.
        double altitude = 0.0;
        double direction = 0.0;
        double speed = 0.0;
    };

    std::optional<Runway> runway;
    std::optional<InFlight> inFlight;
    // Engines running and systems on instead of a cold and dark cockpit.
    bool readyToFly = false;
    // Pounds.
    std::optional<double> zeroFuelWeight;
    std::optional<double> leftFuel;
    std::optional<double> rightFuel;
    std::vector<Wind> winds;
    // Degrees Celsius from the standard atmosphere, and the sea-level pressure in hectopascals.
    std::optional<double> temperatureDeviation;
    std::optional<double> qnh;
    // The UTC date and the seconds of that day the simulator's clock starts from.
    std::optional<std::chrono::sys_days> date;
    double secondsOfDay = 0.0;
    // The file line of each kind of start entry, for the faults found when it is applied.
    int placementLine = 0;
    int stateLine = 0;
    int weatherLine = 0;
    int loadLine = 0;
    int timeLine = 0;
};

// A scenario file: its description, start, actions and checks, and how long it runs.
struct Scenario {
    std::string description;
    ScenarioStart start;
    std::vector<ScenarioAction> actions;
    std::vector<ScenarioCheck> checks;
    // The route the trace measures the flown track against, and the values it adds.
    std::vector<RoutePoint> route;
    std::vector<TraceColumn> traceColumns;
    // Simulated seconds; without an `end` line the last time any line names, plus one second.
    double duration = 0.0;

    // Throws ScenarioError for the first bad line.
    static Scenario parse(std::istream& text);
};

} // namespace tavi::sim
