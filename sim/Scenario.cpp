#include "sim/Scenario.h"

#include "sim/SimAircraft.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <map>
#include <sstream>

namespace tavi::sim {

std::string scenarioNumber(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

ScenarioError::ScenarioError(int line, const std::string& message)
    : std::runtime_error("line " + std::to_string(line) + ": " + message), lineNumber(line) {}

namespace {

std::string_view trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

double ScenarioValue::read(const Panel& panel, const RouteTracker& route,
                           const ScreenTexts* screens) const {
    switch (kind) {
    case Kind::Screen: {
        if (!screens) {
            return 0.0;
        }
        const std::vector<std::string> shown = (*screens)(name, point);
        return std::ranges::any_of(shown, [&](const std::string& s) { return trimmed(s) == text; })
                   ? 1.0
                   : 0.0;
    }
    case Kind::Token:
        return panel.token(token);
    case Kind::Variable:
        return panel.variable(name, index);
    case Kind::Named:
        return panel.namedVariable(name);
    case Kind::RouteLeg:
        return static_cast<double>(route.leg());
    case Kind::CrossTrack:
        return route.crossTrack();
    }
    return 0.0;
}

void ScenarioValue::write(Panel& panel, double value) const {
    switch (kind) {
    case Kind::Token:
        panel.setToken(token, value);
        break;
    case Kind::Variable:
        panel.setVariable(name, index, value);
        break;
    case Kind::Named:
        panel.setNamedVariable(name, value);
        break;
    case Kind::RouteLeg:
    case Kind::CrossTrack:
    case Kind::Screen:
        break;
    }
}

std::string ScenarioValue::describe() const {
    switch (kind) {
    case Kind::Token:
        return "token " + std::to_string(token);
    case Kind::Variable:
        return "variable \"" + name + "\"" + (index != 0 ? " " + std::to_string(index) : "");
    case Kind::Named:
        return "named " + name;
    case Kind::RouteLeg:
        return "route leg";
    case Kind::CrossTrack:
        return "route cross-track";
    case Kind::Screen: {
        const std::string at =
            point ? " " + scenarioNumber(point->first) + " " + scenarioNumber(point->second)
                  : std::string();
        return "screen " + name + at + " \"" + text + "\"";
    }
    }
    return {};
}

bool ScenarioCondition::holds(const Panel& panel, const RouteTracker& route,
                              const ScreenTexts* screens) const {
    const double v = value.read(panel, route, screens);
    switch (comparison) {
    case Comparison::Less:
        return v < threshold;
    case Comparison::LessOrEqual:
        return v <= threshold;
    case Comparison::Greater:
        return v > threshold;
    case Comparison::GreaterOrEqual:
        return v >= threshold;
    case Comparison::Equal:
        return v == threshold;
    case Comparison::NotEqual:
        return v != threshold;
    }
    return false;
}

namespace {

// One word of a line; a quoted word keeps its spaces and never reads as a keyword.
struct Word {
    std::string text;
    bool quoted = false;
};

std::string upper(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// Joins texts; gcc 12 warns wrongly about chains of std::string additions.
std::string joined(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        text.append(part);
    }
    return text;
}

std::vector<Word> splitWords(const std::string& line, int lineNumber) {
    std::vector<Word> words;
    std::size_t at = 0;
    while (at < line.size()) {
        const char c = line[at];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++at;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            const std::size_t close = line.find('"', at + 1);
            if (close == std::string::npos) {
                throw ScenarioError(lineNumber, "a quoted text has no closing quote");
            }
            words.push_back({line.substr(at + 1, close - at - 1), true});
            at = close + 1;
        } else {
            std::size_t end = at;
            while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end])) &&
                   line[end] != '#') {
                ++end;
            }
            words.push_back({line.substr(at, end - at), false});
            at = end;
        }
    }
    return words;
}

std::optional<double> numberOf(const Word& word) {
    if (word.quoted || word.text.empty()) {
        return std::nullopt;
    }
    const std::string& text = word.text;
    char* end = nullptr;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const double value = hex ? static_cast<double>(std::strtoull(text.c_str(), &end, 16))
                             : std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// The CDU's function keys by the PC keys that press them on the CDU pop-up.
const std::map<std::string, uint32_t> kCduKeys = {
    {"L1", 112}, {"L2", 113},  {"L3", 114},  {"L4", 115}, {"R1", 116}, {"R2", 117}, {"R3", 118},
    {"R4", 119}, {"PREV", 33}, {"NEXT", 34}, {"DEL", 46}, {"CLR", 8},  {"SP", 32},
};

std::optional<uint32_t> virtualKeyOf(char c) {
    const auto u = static_cast<unsigned char>(std::toupper(static_cast<unsigned char>(c)));
    if (std::isalnum(u) || u == ' ') {
        return u;
    }
    switch (u) {
    case '-':
        return 189u;
    case '.':
        return 190u;
    case '/':
        return 191u;
    default:
        return std::nullopt;
    }
}

// Reads the words of one line in order, with errors that name the line.
class LineReader {
public:
    LineReader(std::vector<Word> words, int line) : words(std::move(words)), line(line) {}

    bool atEnd() const { return next == words.size(); }
    std::size_t remaining() const { return words.size() - next; }
    int lineNumber() const { return line; }
    [[noreturn]] void fail(const std::string& message) const { throw ScenarioError(line, message); }

    const Word& word(const char* what) {
        if (atEnd()) {
            fail(joined({"missing ", what}));
        }
        return words[next++];
    }
    std::string keyword(const char* what) { return upper(word(what).text); }
    bool peekIs(const char* keyword) const {
        return !atEnd() && !words[next].quoted && upper(words[next].text) == keyword;
    }
    bool peekIsNumber() const { return !atEnd() && numberOf(words[next]).has_value(); }
    double number(const char* what) {
        const Word& w = word(what);
        const std::optional<double> value = numberOf(w);
        if (!value) {
            fail(joined({"expected a number for ", what, ", found '", w.text, "'"}));
        }
        return *value;
    }
    double time(const char* what) {
        const double value = number(what);
        if (value < 0.0) {
            fail(joined({what, " cannot be negative"}));
        }
        return value;
    }
    void expect(const char* keyword) {
        const Word& w = word(keyword);
        if (w.quoted || upper(w.text) != keyword) {
            fail("expected '" + lower(keyword) + "', found '" + w.text + "'");
        }
    }
    void done() const {
        if (!atEnd()) {
            fail("unexpected '" + words[next].text + "' at the end of the line");
        }
    }
    static std::string lower(std::string text) {
        for (char& c : text) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        return text;
    }

private:
    std::vector<Word> words;
    std::size_t next = 0;
    int line;
};

ScenarioValue parseValue(LineReader& in) {
    ScenarioValue value;
    const std::string kind = in.keyword("a value (token, variable, named, route or screen)");
    if (kind == "TOKEN") {
        value.kind = ScenarioValue::Kind::Token;
        value.token = static_cast<int32_t>(in.number("the token number"));
    } else if (kind == "VARIABLE") {
        value.kind = ScenarioValue::Kind::Variable;
        value.name = in.word("the variable's name").text;
    } else if (kind == "NAMED") {
        value.kind = ScenarioValue::Kind::Named;
        value.name = in.word("the named variable").text;
    } else if (kind == "ROUTE") {
        const std::string measure = in.keyword("the route's measure (leg or cross-track)");
        if (measure != "LEG" && measure != "CROSS-TRACK") {
            in.fail("unknown measure of the route '" + LineReader::lower(measure) +
                    "': expected leg or cross-track");
        }
        value.kind =
            measure == "LEG" ? ScenarioValue::Kind::RouteLeg : ScenarioValue::Kind::CrossTrack;
    } else if (kind == "SCREEN") {
        value.kind = ScenarioValue::Kind::Screen;
        value.name = in.word("the gauge").text;
        if (in.peekIsNumber()) {
            const double x = in.number("the x of the point");
            value.point = GaugePoint{x, in.number("the y of the point")};
        }
        const Word& text = in.word("the quoted text the screen shows");
        if (!text.quoted) {
            in.fail("quote the text the screen shows, found '" + text.text + "'");
        }
        value.text = text.text;
    } else {
        in.fail("unknown value '" + LineReader::lower(kind) +
                "': expected token, variable, named, route or screen");
    }
    return value;
}

// A variable may carry an index: a number right after its name.
void parseIndex(LineReader& in, ScenarioValue& value) {
    if (value.kind == ScenarioValue::Kind::Variable && in.peekIsNumber()) {
        value.index = static_cast<int32_t>(in.number("the variable's index"));
    }
}

ScenarioCondition::Comparison parseComparison(LineReader& in) {
    using Comparison = ScenarioCondition::Comparison;
    static const std::map<std::string, Comparison> comparisons = {
        {"<", Comparison::Less},     {"<=", Comparison::LessOrEqual},
        {">", Comparison::Greater},  {">=", Comparison::GreaterOrEqual},
        {"==", Comparison::Equal},   {"=", Comparison::Equal},
        {"!=", Comparison::NotEqual}};
    const std::string text = in.word("a comparison").text;
    const auto found = comparisons.find(text);
    if (found == comparisons.end()) {
        in.fail("expected a comparison (<, <=, >, >=, ==, !=), found '" + text + "'");
    }
    return found->second;
}

uint32_t eventData(LineReader& in) {
    if (in.atEnd()) {
        return 0;
    }
    // Negative data travels as its two's complement, as the simulator's events carry it.
    return static_cast<uint32_t>(static_cast<int32_t>(in.number("the event's value")));
}

void parseKeyEvent(LineReader& in, ScenarioAction& action) {
    action.kind = ScenarioAction::Kind::KeyEvent;
    const Word& name = in.word("the key event's name or number");
    if (const std::optional<double> id = numberOf(name)) {
        action.eventId = static_cast<uint32_t>(*id);
    } else if (const std::optional<uint32_t> known = SimAircraft::keyEventId(upper(name.text))) {
        action.eventId = *known;
    } else {
        in.fail("unknown key event '" + name.text + "'");
    }
    action.eventName = name.text;
    action.eventValue = eventData(in);
}

void parseCduKeys(LineReader& in, ScenarioAction& action) {
    action.kind = ScenarioAction::Kind::CduKeys;
    if (in.atEnd()) {
        in.fail("missing the CDU keys");
    }
    while (!in.atEnd()) {
        const Word& w = in.word("a CDU key");
        if (!w.quoted) {
            const auto key = kCduKeys.find(upper(w.text));
            if (key == kCduKeys.end()) {
                in.fail("unknown CDU key '" + w.text + "' (quote text to type it)");
            }
            action.virtualKeys.push_back(key->second);
            continue;
        }
        for (const char c : w.text) {
            const std::optional<uint32_t> key = virtualKeyOf(c);
            if (!key) {
                in.fail(std::string("the CDU has no key for '") + c + "'");
            }
            action.virtualKeys.push_back(*key);
        }
    }
}

void parseTraffic(LineReader& in, ScenarioAction& action) {
    action.kind = ScenarioAction::Kind::Traffic;
    TrafficObject& object = action.traffic;
    object.id = static_cast<uint32_t>(in.number("the traffic's id"));
    object.latitude = in.number("the latitude");
    object.longitude = in.number("the longitude");
    object.altitude = object.indicatedAltitude = in.number("the altitude");
    object.trueHeading = in.number("the heading");
    object.groundSpeed = in.number("the ground speed");
    object.verticalSpeed = in.number("the vertical speed");
}

void parseClick(LineReader& in, ScenarioAction& action) {
    action.kind = ScenarioAction::Kind::Click;
    action.gauge = in.word("the gauge").text;
    action.x = in.number("the x of the point");
    action.y = in.number("the y of the point");
    if (!in.atEnd()) {
        in.expect("RIGHT");
        action.rightButton = true;
    }
}

// `follow VALUE TARGET levers GAIN`.
void parseFollow(LineReader& in, ScenarioAction& action) {
    action.kind = ScenarioAction::Kind::FollowWithLevers;
    action.target = parseValue(in);
    if (in.remaining() == 4) {
        parseIndex(in, action.target);
    }
    action.value = in.number("the target");
    in.expect("LEVERS");
    action.gain = in.number("the degrees of lever for each unit off the target");
}

ScenarioAction parseAction(LineReader& in) {
    ScenarioAction action;
    action.line = in.lineNumber();
    const std::string verb = in.keyword("an action");
    if (verb == "EVENT") {
        parseKeyEvent(in, action);
    } else if (verb == "AXIS") {
        action.kind = ScenarioAction::Kind::SimEvent;
        action.eventName = "AXIS_" + in.keyword("the axis") + "_SET";
        action.eventValue = eventData(in);
    } else if (verb == "SIMEVENT") {
        action.kind = ScenarioAction::Kind::SimEvent;
        action.eventName = in.keyword("the simulator event");
        action.eventValue = eventData(in);
    } else if (verb == "SET") {
        action.kind = ScenarioAction::Kind::SetValue;
        action.target = parseValue(in);
        if (!action.target.writable()) {
            in.fail(action.target.kind == ScenarioValue::Kind::Screen
                        ? "a screen is read, not set"
                        : "the route's measures are read, not set");
        }
        if (in.remaining() == 2) {
            parseIndex(in, action.target);
        }
        action.value = in.number("the value");
    } else if (verb == "CDU") {
        parseCduKeys(in, action);
    } else if (verb == "TRAFFIC") {
        parseTraffic(in, action);
    } else if (verb == "CLICK") {
        parseClick(in, action);
    } else if (verb == "FAIL") {
        in.expect("ENGINE");
        action.kind = ScenarioAction::Kind::FailEngine;
        const double engine = in.number("the engine (1 or 2)");
        if (engine != 1.0 && engine != 2.0) {
            in.fail("the aircraft has engines 1 and 2");
        }
        action.engine = static_cast<int>(engine);
    } else if (verb == "FOLLOW") {
        parseFollow(in, action);
    } else {
        in.fail("unknown action '" + LineReader::lower(verb) +
                "': expected event, axis, simevent, set, cdu, traffic, click, fail or follow");
    }
    in.done();
    return action;
}

// `every SECONDS [from T1] [to T2] ACTION`: from T1 (the start) on, every SECONDS, until T2 (the
// end of the scenario).
ScenarioAction parseRepeated(LineReader& in) {
    const double every = in.time("the seconds between the actions");
    if (every <= 0.0) {
        in.fail("an action repeats after some time");
    }
    double from = 0.0;
    double until = std::numeric_limits<double>::infinity();
    if (in.peekIs("FROM")) {
        in.expect("FROM");
        from = in.time("the first action's time");
    }
    if (in.peekIs("TO")) {
        in.expect("TO");
        until = in.time("the last action's time");
        if (until < from) {
            in.fail("the repetition ends before it starts");
        }
    }
    ScenarioAction action = parseAction(in);
    action.time = from;
    action.every = every;
    action.until = until;
    return action;
}

ScenarioCheck parseCheck(LineReader& in) {
    ScenarioCheck check;
    check.line = in.lineNumber();
    const std::string when = in.keyword("'at' or 'from'");
    if (when == "AT") {
        check.from = check.to = in.time("the check's time");
        check.value = parseValue(in);
        parseIndex(in, check.value);
        in.expect("=");
        check.expected = in.number("the expected value");
        if (!in.atEnd()) {
            in.expect("+-");
            check.tolerance = in.number("the tolerance");
            if (check.tolerance < 0.0) {
                in.fail("the tolerance cannot be negative");
            }
        }
    } else if (when == "FROM") {
        check.from = in.time("the window's start");
        in.expect("TO");
        check.to = in.time("the window's end");
        if (check.to < check.from) {
            in.fail("the window ends before it starts");
        }
        check.value = parseValue(in);
        parseIndex(in, check.value);
        const std::string bound = in.keyword("'min' or 'max'");
        if (bound != "MIN" && bound != "MAX") {
            in.fail("expected 'min' or 'max', found '" + LineReader::lower(bound) + "'");
        }
        check.kind = bound == "MIN" ? ScenarioCheck::Kind::Min : ScenarioCheck::Kind::Max;
        check.expected = in.number("the bound");
    } else {
        in.fail("a check starts with 'at' or 'from'");
    }
    in.done();
    return check;
}

// `init time YYYY-MM-DD HH:MM[:SS]`, in UTC.
void parseTime(LineReader& in, ScenarioStart& start) {
    const std::string dateText = in.word("the date (YYYY-MM-DD)").text;
    const std::string timeText = in.word("the time (HH:MM or HH:MM:SS)").text;
    int year = 0;
    unsigned month = 0;
    unsigned day = 0;
    char tail = 0;
    if (std::sscanf(dateText.c_str(), "%d-%u-%u%c", &year, &month, &day, &tail) != 3) {
        in.fail("expected a date as YYYY-MM-DD, found '" + dateText + "'");
    }
    const std::chrono::year_month_day date{std::chrono::year(year), std::chrono::month(month),
                                           std::chrono::day(day)};
    if (!date.ok()) {
        in.fail("no such date '" + dateText + "'");
    }
    unsigned hours = 0;
    unsigned minutes = 0;
    unsigned seconds = 0;
    const int read = std::sscanf(timeText.c_str(), "%u:%u:%u%c", &hours, &minutes, &seconds, &tail);
    if ((read != 2 && read != 3) || hours > 23 || minutes > 59 || seconds > 59) {
        in.fail("expected a time of day as HH:MM or HH:MM:SS, found '" + timeText + "'");
    }
    start.date = std::chrono::sys_days(date);
    start.secondsOfDay = hours * 3600.0 + minutes * 60.0 + seconds;
    start.timeLine = in.lineNumber();
}

void parseStart(LineReader& in, ScenarioStart& start) {
    const std::string what = in.keyword("what to set up");
    if (what == "RUNWAY") {
        start.runway =
            ScenarioStart::Runway{in.word("the airport").text, in.word("the runway").text};
        start.inFlight.reset();
        start.placementLine = in.lineNumber();
    } else if (what == "POSITION") {
        ScenarioStart::InFlight flight;
        flight.latitude = in.number("the latitude");
        flight.longitude = in.number("the longitude");
        flight.altitude = in.number("the altitude");
        flight.heading = in.number("the heading");
        flight.airspeed = in.number("the airspeed");
        if (std::fabs(flight.latitude) > 90.0 || std::fabs(flight.longitude) > 180.0) {
            in.fail("the position lies off the earth");
        }
        start.inFlight = flight;
        start.runway.reset();
        start.placementLine = in.lineNumber();
    } else if (what == "STATE") {
        const std::string state = in.keyword("'cold' or 'ready'");
        if (state != "COLD" && state != "READY") {
            in.fail("expected 'cold' or 'ready', found '" + LineReader::lower(state) + "'");
        }
        start.readyToFly = state == "READY";
        start.stateLine = in.lineNumber();
    } else if (what == "WEIGHT") {
        start.zeroFuelWeight = in.number("the zero-fuel weight");
        start.loadLine = in.lineNumber();
    } else if (what == "FUEL") {
        start.leftFuel = in.number("the left tank's fuel");
        start.rightFuel = in.number("the right tank's fuel");
        start.loadLine = in.lineNumber();
    } else if (what == "WIND") {
        ScenarioStart::Wind wind;
        wind.direction = in.number("the wind's direction");
        wind.speed = in.number("the wind's speed");
        if (!in.atEnd()) {
            in.expect("AT");
            wind.altitude = in.number("the wind's altitude");
        }
        start.winds.push_back(wind);
        start.weatherLine = in.lineNumber();
    } else if (what == "TEMPERATURE") {
        start.temperatureDeviation = in.number("the temperature deviation");
        start.weatherLine = in.lineNumber();
    } else if (what == "TIME") {
        parseTime(in, start);
    } else if (what == "QNH") {
        start.qnh = in.number("the sea-level pressure");
        start.weatherLine = in.lineNumber();
    } else {
        in.fail("unknown start entry '" + LineReader::lower(what) +
                "': expected runway, position, state, weight, fuel, wind, temperature, qnh or "
                "time");
    }
    in.done();
}

void parseRoute(LineReader& in, std::vector<RoutePoint>& route) {
    if (in.remaining() < 4 || in.remaining() % 2 != 0) {
        in.fail("a route takes two or more points, each a latitude and a longitude");
    }
    while (!in.atEnd()) {
        RoutePoint point;
        point.latitude = in.number("the latitude");
        point.longitude = in.number("the longitude");
        if (std::fabs(point.latitude) > 90.0 || std::fabs(point.longitude) > 180.0) {
            in.fail("a route point lies off the earth");
        }
        route.push_back(point);
    }
}

// A column name: the one after `as`, or the value's own description in one word.
TraceColumn parseTraceColumn(LineReader& in) {
    TraceColumn column;
    column.value = parseValue(in);
    if (column.value.kind == ScenarioValue::Kind::Screen) {
        in.fail("a screen is read in checks and conditions, not traced");
    }
    parseIndex(in, column.value);
    if (in.atEnd()) {
        column.header = column.value.describe();
        std::erase(column.header, '"');
        std::replace(column.header.begin(), column.header.end(), ' ', '_');
    } else {
        in.expect("AS");
        column.header = in.word("the column's name").text;
    }
    if (column.header.find_first_of(",\"\n") != std::string::npos) {
        in.fail("a column's name cannot hold a comma or a quote");
    }
    in.done();
    return column;
}

double lastTimeNamed(const Scenario& scenario) {
    double last = 0.0;
    for (const ScenarioAction& action : scenario.actions) {
        last = std::max(last, action.time.value_or(0.0));
        if (action.every && std::isfinite(action.until)) {
            last = std::max(last, action.until);
        }
    }
    for (const ScenarioCheck& check : scenario.checks) {
        last = std::max(last, check.to);
    }
    return last;
}

} // namespace

Scenario Scenario::parse(std::istream& text) {
    Scenario scenario;
    std::optional<double> end;
    int endLine = 0;
    int lineNumber = 0;
    for (std::string line; std::getline(text, line);) {
        ++lineNumber;
        // A file saved with Windows line ends reads the same.
        if (line.ends_with('\r')) {
            line.pop_back();
        }
        if (scenario.description.empty() && lineNumber == 1 && line.starts_with('#')) {
            const std::size_t first = line.find_first_not_of("# \t");
            scenario.description = first == std::string::npos ? "" : line.substr(first);
        }
        LineReader in(splitWords(line, lineNumber), lineNumber);
        if (in.atEnd()) {
            continue;
        }
        const std::string command = in.keyword("a command");
        if (command == "INIT") {
            parseStart(in, scenario.start);
        } else if (command == "AT") {
            const double time = in.time("the action's time");
            ScenarioAction action = parseAction(in);
            action.time = time;
            scenario.actions.push_back(std::move(action));
        } else if (command == "EVERY") {
            scenario.actions.push_back(parseRepeated(in));
        } else if (command == "WHEN") {
            ScenarioCondition condition;
            condition.value = parseValue(in);
            parseIndex(in, condition.value);
            condition.comparison = parseComparison(in);
            condition.threshold = in.number("the threshold");
            ScenarioAction action = parseAction(in);
            action.condition = condition;
            scenario.actions.push_back(std::move(action));
        } else if (command == "CHECK") {
            scenario.checks.push_back(parseCheck(in));
        } else if (command == "ROUTE") {
            if (!scenario.route.empty()) {
                in.fail("a scenario has one route");
            }
            parseRoute(in, scenario.route);
        } else if (command == "TRACE") {
            scenario.traceColumns.push_back(parseTraceColumn(in));
        } else if (command == "END") {
            end = in.time("the end time");
            endLine = lineNumber;
            in.done();
        } else {
            in.fail("unknown command '" + LineReader::lower(command) +
                    "': expected init, at, every, when, check, route, trace or end");
        }
    }
    const double last = lastTimeNamed(scenario);
    if (end && *end < last) {
        throw ScenarioError(endLine, "the scenario ends before its last action or check");
    }
    scenario.duration = end.value_or(last + 1.0);
    return scenario;
}

} // namespace tavi::sim
