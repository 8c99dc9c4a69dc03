#include "sim/Scenario.h"

#include "platform/gfx/Canvas.h"
#include "sim/PanelHost.h"
#include "sim/ScenarioRunner.h"
#include "sim/Trace.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <numbers>
#include <optional>
#include <span>
#include <sstream>

namespace tavi::sim {
namespace {

Scenario parseText(const std::string& text) {
    std::istringstream in(text);
    return Scenario::parse(in);
}

struct FaultyText {
    const char* text;
    int line;
    const char* message;
};

// Each text is refused with a fault that names its line and says what is wrong.
template <typename Read>
void expectEachRefused(std::span<const FaultyText> rows, Read read) {
    for (const FaultyText& row : rows) {
        try {
            read(row.text);
            ADD_FAILURE() << "accepted: " << row.text;
        } catch (const ScenarioError& error) {
            EXPECT_EQ(error.line(), row.line) << row.text;
            EXPECT_NE(std::string(error.what()).find(row.message), std::string::npos)
                << row.text << " gave: " << error.what();
            EXPECT_EQ(std::string(error.what()).rfind("line " + std::to_string(row.line), 0), 0u);
        }
    }
}

TEST(ScenarioParse, StartEntriesDescribeWhereAndHowTheFlightStarts) {
    const Scenario scenario = parseText("# Climbs out of the valley\n"
                                        "init position 47.5 -8.25 5000 270 250\n"
                                        "init state ready\n"
                                        "init weight 30000\n"
                                        "init fuel 5000 4000\n"
                                        "init wind 240 15\n"
                                        "init wind 260 40 at 10000\n"
                                        "init temperature -5\n"
                                        "init qnh 1002\n");
    EXPECT_EQ(scenario.description, "Climbs out of the valley");
    const ScenarioStart& start = scenario.start;
    ASSERT_TRUE(start.inFlight);
    EXPECT_FALSE(start.runway);
    EXPECT_DOUBLE_EQ(start.inFlight->longitude, -8.25);
    EXPECT_DOUBLE_EQ(start.inFlight->altitude, 5000.0);
    EXPECT_DOUBLE_EQ(start.inFlight->airspeed, 250.0);
    EXPECT_TRUE(start.readyToFly);
    EXPECT_EQ(start.zeroFuelWeight, 30000.0);
    EXPECT_EQ(start.rightFuel, 4000.0);
    ASSERT_EQ(start.winds.size(), 2u);
    EXPECT_DOUBLE_EQ(start.winds[1].altitude, 10000.0);
    EXPECT_DOUBLE_EQ(start.winds[1].speed, 40.0);
    EXPECT_EQ(start.temperatureDeviation, -5.0);
    EXPECT_EQ(start.qnh, 1002.0);
    EXPECT_EQ(start.placementLine, 2);

    const Scenario runway =
        parseText("# Windows line ends\r\ninit position 1 2 3 4 5\r\ninit runway ZZAA 09\r\n");
    EXPECT_EQ(runway.description, "Windows line ends");
    ASSERT_TRUE(runway.start.runway);
    EXPECT_FALSE(runway.start.inFlight) << "the last placement holds";
    EXPECT_EQ(runway.start.runway->airport, "ZZAA");
    EXPECT_EQ(runway.start.runway->runway, "09");
}

TEST(ScenarioParse, EachActionReadsItsTarget) {
    const Scenario scenario = parseText("at 1 event FLAPS_INCR\n"
                                        "at 1.5 event 0x1009E -4000\n"
                                        "at 2 axis elevator -3000\n"
                                        "at 2 simevent APU_STARTER\n"
                                        "at 3 set token 60 1\n"
                                        "at 3 set variable \"ENG COMBUSTION\" 2 1\n"
                                        "at 3 set variable \"GROUND VELOCITY\" 120\n"
                                        "at 3 set named TaviBatt1Click 1\n"
                                        "at 4 cdu \"KA-1.\" L1 r4 PREV\n"
                                        "at 5 traffic 7 47.1 8.2 9000 180 300 -500\n"
                                        "when variable \"GROUND VELOCITY\" > 80 event 0x100FA 5\n");
    const std::vector<ScenarioAction>& a = scenario.actions;
    ASSERT_EQ(a.size(), 11u);
    EXPECT_EQ(a[0].kind, ScenarioAction::Kind::KeyEvent);
    EXPECT_EQ(a[0].eventId, *SimAircraft::keyEventId("FLAPS_INCR"));
    EXPECT_EQ(a[1].eventId, 0x1009Eu);
    EXPECT_EQ(static_cast<int32_t>(a[1].eventValue), -4000) << "negative data as two's complement";
    EXPECT_EQ(a[2].kind, ScenarioAction::Kind::SimEvent);
    EXPECT_EQ(a[2].eventName, "AXIS_ELEVATOR_SET");
    EXPECT_EQ(a[3].eventName, "APU_STARTER");
    EXPECT_EQ(a[3].eventValue, 0u);
    EXPECT_EQ(a[4].target.describe(), "token 60");
    EXPECT_EQ(a[5].target.describe(), "variable \"ENG COMBUSTION\" 2");
    EXPECT_DOUBLE_EQ(a[5].value, 1.0);
    EXPECT_EQ(a[6].target.index, 0);
    EXPECT_DOUBLE_EQ(a[6].value, 120.0);
    EXPECT_EQ(a[7].target.describe(), "named TaviBatt1Click");
    EXPECT_EQ(a[8].virtualKeys, (std::vector<uint32_t>{'K', 'A', 189, '1', 190, 112, 119, 33}));
    EXPECT_EQ(a[9].traffic.id, 7u);
    EXPECT_DOUBLE_EQ(a[9].traffic.verticalSpeed, -500.0);
    EXPECT_FALSE(a[10].time);
    ASSERT_TRUE(a[10].condition);
    EXPECT_EQ(a[10].condition->comparison, ScenarioCondition::Comparison::Greater);
    EXPECT_EQ(a[10].line, 11);
    EXPECT_DOUBLE_EQ(scenario.duration, 6.0) << "the last time named, plus a second";
}

TEST(ScenarioParse, ClicksNameAGaugeAPointOnItAndTheButton) {
    const Scenario scenario = parseText("at 1 click MainPanel 904 349\n"
                                        "when route leg == 2 click VIV810 19.5 52 right\n"
                                        "at 2 click AP 0 0 RIGHT # the knob's large step\n");
    const std::vector<ScenarioAction>& a = scenario.actions;
    ASSERT_EQ(a.size(), 3u);
    EXPECT_EQ(a[0].kind, ScenarioAction::Kind::Click);
    EXPECT_EQ(a[0].gauge, "MainPanel");
    EXPECT_DOUBLE_EQ(a[0].x, 904.0);
    EXPECT_DOUBLE_EQ(a[0].y, 349.0);
    EXPECT_FALSE(a[0].rightButton);
    EXPECT_EQ(a[1].condition->value.kind, ScenarioValue::Kind::RouteLeg);
    EXPECT_DOUBLE_EQ(a[1].x, 19.5);
    EXPECT_TRUE(a[1].rightButton);
    EXPECT_TRUE(a[2].rightButton);
}

TEST(ScenarioParse, TheCrewsRepeatedActionsFailuresTheClockAndWhatTheScreensShow) {
    const Scenario scenario =
        parseText("init time 2023-12-31 23:59:30\n"
                  "every 2 from 10 to 20 event GEAR_TOGGLE\n"
                  "every 0.5 follow variable \"AIRSPEED INDICATED\" 250 levers 0.25\n"
                  "at 5 fail engine 2\n"
                  "when screen MainPanel \"ENG2 OUT\" == 1 event GEAR_DOWN\n"
                  "check at 30 screen MainPanel 1000 600 \"ENG2 OUT\" = 1\n");
    EXPECT_EQ(scenario.start.date, std::chrono::sys_days(std::chrono::year(2023) / 12 / 31));
    EXPECT_DOUBLE_EQ(scenario.start.secondsOfDay, 86370.0);
    const std::vector<ScenarioAction>& a = scenario.actions;
    ASSERT_EQ(a.size(), 4u);
    EXPECT_EQ(a[0].eventId, SimAircraft::kGearToggleEvent);
    EXPECT_EQ(a[0].time, 10.0);
    EXPECT_EQ(a[0].every, 2.0);
    EXPECT_DOUBLE_EQ(a[0].until, 20.0);
    EXPECT_EQ(a[1].kind, ScenarioAction::Kind::FollowWithLevers);
    EXPECT_EQ(a[1].time, 0.0);
    EXPECT_TRUE(std::isinf(a[1].until)) << "to the end of the scenario";
    EXPECT_EQ(a[1].target.describe(), "variable \"AIRSPEED INDICATED\"");
    EXPECT_DOUBLE_EQ(a[1].value, 250.0);
    EXPECT_DOUBLE_EQ(a[1].gain, 0.25);
    EXPECT_EQ(a[2].kind, ScenarioAction::Kind::FailEngine);
    EXPECT_EQ(a[2].engine, 2);
    EXPECT_EQ(a[3].condition->value.kind, ScenarioValue::Kind::Screen);
    EXPECT_EQ(a[3].condition->value.text, "ENG2 OUT");
    EXPECT_FALSE(a[3].condition->value.point);
    const ScenarioValue& shown = scenario.checks.at(0).value;
    EXPECT_EQ(shown.describe(), "screen MainPanel 1000 600 \"ENG2 OUT\"");
    EXPECT_EQ(shown.point, (GaugePoint{1000.0, 600.0}));
    EXPECT_DOUBLE_EQ(scenario.duration, 31.0);
}

TEST(ScenarioParse, ChecksAndTheEnd) {
    const Scenario scenario = parseText("check at 30 token 60 = 1\n"
                                        "check at 30 variable \"A B\" 2 = 5 +- 0.5\n"
                                        "check from 10 to 40 named X min -2 # a comment\n"
                                        "check from 10 to 40 variable \"A B\" 1 max 7\n"
                                        "check at 50 route leg = 3\n"
                                        "check from 10 to 40 route cross-track max 0.2\n"
                                        "end 90\n");
    const std::vector<ScenarioCheck>& c = scenario.checks;
    ASSERT_EQ(c.size(), 6u);
    EXPECT_EQ(c[4].value.describe(), "route leg");
    EXPECT_EQ(c[5].value.kind, ScenarioValue::Kind::CrossTrack);
    EXPECT_DOUBLE_EQ(c[5].expected, 0.2);
    EXPECT_EQ(c[0].kind, ScenarioCheck::Kind::At);
    EXPECT_DOUBLE_EQ(c[0].tolerance, 0.0);
    EXPECT_EQ(c[1].value.index, 2);
    EXPECT_DOUBLE_EQ(c[1].tolerance, 0.5);
    EXPECT_EQ(c[2].kind, ScenarioCheck::Kind::Min);
    EXPECT_DOUBLE_EQ(c[2].expected, -2.0);
    EXPECT_EQ(c[3].kind, ScenarioCheck::Kind::Max);
    EXPECT_EQ(c[3].value.index, 1);
    EXPECT_DOUBLE_EQ(c[3].to, 40.0);
    EXPECT_DOUBLE_EQ(scenario.duration, 90.0);
}

TEST(ScenarioParse, RouteAndTraceColumns) {
    const Scenario scenario = parseText("route 47 8 47.5 8 47.5 9\n"
                                        "trace named TaviApu\n"
                                        "trace variable \"TURB ENG N1\" 1 as n1_left\n");
    ASSERT_EQ(scenario.route.size(), 3u);
    EXPECT_DOUBLE_EQ(scenario.route[2].longitude, 9.0);
    ASSERT_EQ(scenario.traceColumns.size(), 2u);
    EXPECT_EQ(scenario.traceColumns[0].header, "named_TaviApu");
    EXPECT_EQ(scenario.traceColumns[1].header, "n1_left");
    EXPECT_EQ(scenario.traceColumns[1].value.index, 1);
}

// Points east and west of a northbound leg along 8 E, and past its end onto an eastbound leg.
TEST(RouteTrackerTest, MeasuresCrossTrackRightPositiveAndSequencesAbeamEachEnd) {
    RouteTracker route({{47.0, 8.0}, {47.5, 8.0}, {47.5, 9.0}});
    const double nmOfLongitude = 1.0 / 60.0 / std::cos(47.2 * std::numbers::pi / 180.0);
    struct Row {
        double latitude;
        double longitude;
        std::size_t leg;
        double crossTrack;
    };
    const Row rows[] = {
        {47.2, 8.0 + 2.0 * nmOfLongitude, 1, 2.0},
        {47.2, 8.0 - 1.0 * nmOfLongitude, 1, -1.0},
        {47.49, 8.0, 1, 0.0},
        {47.5 + 1.0 / 60.0, 8.1, 2, -1.0},
        // The great circle to 9 E bulges about 0.06 nm north of the parallel halfway.
        {47.5 - 0.5 / 60.0, 8.5, 2, 0.56},
        {47.2, 8.0, 2, 18.0},
    };
    for (const Row& row : rows) {
        route.update(row.latitude, row.longitude);
        EXPECT_EQ(route.leg(), row.leg) << row.latitude << " " << row.longitude;
        EXPECT_NEAR(route.crossTrack(), row.crossTrack, 0.05)
            << row.latitude << " " << row.longitude;
    }
    EXPECT_EQ(RouteTracker({{47.0, 8.0}}).leg(), 0u);
}

// A turn of 135 degrees at 47.5 N 8 E back to the south-east: it is flown inside the fix, never
// abeam it, and the leg changes where the aircraft crosses the turn's bisector.
TEST(RouteTrackerTest, LeavesALegForASharpTurnAtTheBisectorOfTheTurn) {
    const double nmOfLongitude = 1.0 / 60.0 / std::cos(47.45 * std::numbers::pi / 180.0);
    struct Row {
        double northOfFixNm;
        double eastOfFixNm;
        std::size_t leg;
    };
    const Row rows[] = {
        // 9 nm to go along the first leg, 6.6 nm gone along the second: short of the bisector.
        {-9.0, 0.0, 1},
        {-3.0, 0.5, 1},
        // Turning inside the fix, 2.4 nm short of it: past the bisector.
        {-2.4, 2.4, 2},
    };
    RouteTracker route({{47.0, 8.0}, {47.5, 8.0}, {47.2, 8.4}});
    for (const Row& row : rows) {
        route.update(47.5 + row.northOfFixNm / 60.0, 8.0 + row.eastOfFixNm * nmOfLongitude);
        EXPECT_EQ(route.leg(), row.leg) << row.northOfFixNm << " " << row.eastOfFixNm;
    }
}

TEST(ScenarioParse, BadLinesNameTheirLineAndTheFault) {
    const FaultyText rows[] = {
        {"# fine\n\nfly 3\n", 3, "unknown command 'fly'"},
        {"at x event FLAPS_INCR\n", 1, "expected a number for the action's time, found 'x'"},
        {"at -1 event FLAPS_INCR\n", 1, "the action's time cannot be negative"},
        {"at 1 event NO_SUCH_EVENT\n", 1, "unknown key event 'NO_SUCH_EVENT'"},
        {"at 1 jump\n", 1, "unknown action 'jump'"},
        {"at 1 set token 60\n", 1, "missing the value"},
        {"at 1 set token 60 1 2\n", 1, "unexpected '2' at the end of the line"},
        {"at 1 set variable \"GROUND VELOCITY 1\n", 1, "a quoted text has no closing quote"},
        {"at 1 set knob 3 1\n", 1, "unknown value 'knob'"},
        {"at 1 cdu L5\n", 1, "unknown CDU key 'L5'"},
        {"at 1 cdu \"A*\"\n", 1, "the CDU has no key for '*'"},
        {"at 1 traffic 7 47 8 9000 180\n", 1, "missing the ground speed"},
        {"at 1 click AP 10\n", 1, "missing the y of the point"},
        {"at 1 click AP x 10\n", 1, "expected a number for the x of the point, found 'x'"},
        {"at 1 click AP 10 10 middle\n", 1, "expected 'right', found 'middle'"},
        {"at 1 click AP 10 10 right twice\n", 1, "unexpected 'twice' at the end of the line"},
        {"check at 5 route turn = 1\n", 1, "unknown measure of the route 'turn'"},
        {"at 1 set route leg 2\n", 1, "the route's measures are read, not set"},
        {"when token 60 ~ 1 event FLAPS_INCR\n", 1, "expected a comparison"},
        {"check at 5 token 60 = 1 +- -1\n", 1, "the tolerance cannot be negative"},
        {"check at 5 token 60 1\n", 1, "expected '='"},
        {"check from 9 to 5 token 60 min 1\n", 1, "the window ends before it starts"},
        {"check from 1 to 5 token 60 avg 1\n", 1, "expected 'min' or 'max'"},
        {"check after 5 token 60 = 1\n", 1, "a check starts with 'at' or 'from'"},
        {"init state warm\n", 1, "expected 'cold' or 'ready'"},
        {"init position 95 8 0 0 0\n", 1, "the position lies off the earth"},
        {"init wind 240 15 10000\n", 1, "expected 'at'"},
        {"init gear down\n", 1, "unknown start entry 'gear'"},
        {"route 47 8 47.5\n", 1, "a route takes two or more points"},
        {"route 47 8\n", 1, "a route takes two or more points"},
        {"route 47 8 91 8\n", 1, "a route point lies off the earth"},
        {"route 47 8 48 8\nroute 47 8 48 8\n", 2, "a scenario has one route"},
        {"trace token 60 as a,b\n", 1, "cannot hold a comma"},
        {"trace token 60 named\n", 1, "expected 'as'"},
        {"at 50 event FLAPS_INCR\nend 20\n", 2, "the scenario ends before its last action"},
        {"every 5 to 40 event FLAPS_INCR\nend 20\n", 2, "the scenario ends before its last"},
        {"init time 2024-02-30 10:00\n", 1, "no such date '2024-02-30'"},
        {"init time 1 Feb 2024\n", 1, "expected a date as YYYY-MM-DD"},
        {"init time 2024-02-01 24:00\n", 1, "expected a time of day as HH:MM or HH:MM:SS"},
        {"init time 2024-02-01\n", 1, "missing the time"},
        {"at 1 fail engine 3\n", 1, "the aircraft has engines 1 and 2"},
        {"at 1 fail gear 1\n", 1, "expected 'engine'"},
        {"every 0 event FLAPS_INCR\n", 1, "an action repeats after some time"},
        {"every 1 from 9 to 5 event FLAPS_INCR\n", 1, "the repetition ends before it starts"},
        {"every 1 follow token 60 1 thrust 2\n", 1, "expected 'levers'"},
        {"check at 1 screen MainPanel ENG = 1\n", 1, "quote the text the screen shows"},
        {"at 1 set screen MainPanel \"ENG\" 1\n", 1, "a screen is read, not set"},
        {"trace screen MainPanel \"ENG\"\n", 1, "a screen is read in checks and conditions"},
    };
    expectEachRefused(rows, parseText);
}

// Every scenario the project ships parses and says on its first line what it flies.
TEST(ScenarioParse, TheShippedScenariosAreWellFormed) {
    const std::filesystem::path folder =
        std::filesystem::path(TAVI_TEST_FIXTURES) / ".." / ".." / "scenarios";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() != ".scn") {
            continue;
        }
        ++files;
        std::ifstream in(entry.path());
        try {
            const Scenario scenario = Scenario::parse(in);
            EXPECT_FALSE(scenario.description.empty()) << entry.path();
            EXPECT_FALSE(scenario.checks.empty()) << entry.path();
        } catch (const ScenarioError& error) {
            ADD_FAILURE() << entry.path() << ": " << error.what();
        }
    }
    EXPECT_GT(files, 0) << "no scenarios in " << folder;
}

// The stand-in without a module: the runner's actions land on the simulator, its checks read it.
class ScenarioRun : public testing::Test {
protected:
    std::vector<CheckResult> fly(const std::string& text) {
        scenario = parseText(text);
        Trace trace(traceText, scenario.traceColumns, scenario.route.size() >= 2);
        ScenarioRunner runner(scenario, simulator, world);
        runner.traceTo(&trace);
        runner.clickThrough(panel);
        runner.start();
        return runner.run();
    }

    static void expectAllPassed(const std::vector<CheckResult>& results) {
        for (const CheckResult& result : results) {
            EXPECT_TRUE(result.passed) << result.line << ": " << result.text;
        }
    }

    Simulator simulator{"simroot"};
    StandInWorld world{simulator};
    std::ostringstream traceText;
    Scenario scenario;
    PanelHost* panel = nullptr;
};

TEST_F(ScenarioRun, ActionsFallDueAtTheirTimeOrWhenTheirConditionHolds) {
    const std::vector<CheckResult> results = fly("at 2 set token 500 1\n"
                                                 "when token 500 == 1 set named Follower 7\n"
                                                 "at 3 event PARKING_BRAKES\n"
                                                 "at 3 traffic 9 47 8 9000 90 0 0\n"
                                                 "check at 1.9 token 500 = 0\n"
                                                 "check at 2.1 token 500 = 1\n"
                                                 "check at 2.1 named Follower = 7\n"
                                                 "check at 3.1 token 323 = 32767\n"
                                                 "end 4\n");
    expectAllPassed(results);
    EXPECT_NE(simulator.traffic.find(9), nullptr);
    EXPECT_NEAR(simulator.simulatorSeconds(), 4.0, Simulator::kTickSeconds);
}

// A repeated action acts on the first tick at or after each of its times, within its window.
TEST_F(ScenarioRun, ARepeatedActionActsEveryIntervalWithinItsWindow) {
    const std::vector<CheckResult> results = fly("every 1 from 2 to 4 event PARKING_BRAKES\n"
                                                 "check at 1.9 token 323 = 0\n"
                                                 "check at 2.1 token 323 = 32767\n"
                                                 "check at 3.1 token 323 = 0\n"
                                                 "check at 4.1 token 323 = 32767\n"
                                                 "check from 4.1 to 7 token 323 min 32767\n"
                                                 "end 7\n");
    expectAllPassed(results);
}

// The crew's hands on the thrust levers follow a target: each time, from where the levers
// stand, by the gain for each unit the value lies below the target, between forward idle and
// the stop.
TEST_F(ScenarioRun, FollowingATargetMovesBothThrustLeversByTheError) {
    const std::vector<CheckResult> results =
        fly("at 0 set named TaviThrottle1Lever 40\n"
            "at 0 set token 500 90\n"
            "every 1 from 1 to 3 follow token 500 100 levers 0.5\n"
            "at 5 set token 500 300\n"
            "at 5.5 follow token 500 100 levers 0.5\n"
            "check at 3.5 named TaviThrottle1Lever = 55\n"
            "check at 3.5 named TaviThrottle2Lever = 32\n"
            "check at 3.5 named TaviThrottle2LeverPressed = 1\n"
            "check at 6 named TaviThrottle1Lever = 22\n"
            "end 6\n");
    expectAllPassed(results);
}

TEST_F(ScenarioRun, AFailedEngineIsReportedFailedAndStopsInFlight) {
    const std::vector<CheckResult> results =
        fly("init position 47 8 6000 90 250\n"
            "init state ready\n"
            "at 1 fail engine 2\n"
            "check at 0.5 variable \"ENG FAILED\" 2 = 0\n"
            "check at 1.5 variable \"ENG FAILED\" 2 = 1\n"
            "check at 1.5 variable \"ENG FAILED\" 1 = 0\n"
            "check from 25 to 30 variable \"TURB ENG N2\" 2 max 40\n"
            "end 30\n");
    expectAllPassed(results);
    EXPECT_FALSE(simulator.engines.combustion(2));
    EXPECT_TRUE(simulator.engines.combustion(1));
}

// The clock starts from the scenario's UTC date and time: on 47 N 8 E, an hour ahead of UTC,
// local time runs over midnight into the new year's first hour.
TEST_F(ScenarioRun, TheClockStartsFromTheScenariosTime) {
    const std::vector<CheckResult> results = fly("init time 2023-12-31 22:59:30\n"
                                                 "init position 47 8 3000 90 0\n"
                                                 "check at 20 token 3 = 23\n"
                                                 "check at 40 token 3 = 0\n"
                                                 "check at 40 token 4 = 0\n"
                                                 "end 40\n");
    expectAllPassed(results);
    const std::chrono::year_month_day today(simulator.clock.date());
    EXPECT_EQ(today, std::chrono::year(2023) / 12 / 31);
}

TEST_F(ScenarioRun, ChecksPassAndFailOnTheValuesSeen) {
    const std::vector<CheckResult> results = fly("at 0 set token 500 10\n"
                                                 "at 2 set token 500 20\n"
                                                 "at 4 set token 500 5\n"
                                                 "check at 3 token 500 = 21 +- 1\n"
                                                 "check at 3 token 500 = 22 +- 1\n"
                                                 "check from 1 to 3 token 500 min 10\n"
                                                 "check from 1 to 5 token 500 min 10\n"
                                                 "check from 0 to 3 token 500 max 20\n"
                                                 "check from 0 to 3.5 token 500 max 19.5\n"
                                                 "end 5\n");
    ASSERT_EQ(results.size(), 6u);
    const bool expected[] = {true, false, true, false, true, false};
    for (std::size_t i = 0; i < results.size(); ++i) {
        EXPECT_EQ(results[i].passed, expected[i]) << results[i].line << ": " << results[i].text;
    }
    EXPECT_EQ(results[3].text, "token 500 from 1 to 5 s min 10: 5");
    EXPECT_EQ(results[1].line, 5);
}

TEST_F(ScenarioRun, AStartOnARunwayMissingFromTheDatabaseIsAFaultOfItsLine) {
    EXPECT_THROW(
        {
            try {
                fly("# parked\n\ninit runway ZZAA 09\n");
            } catch (const ScenarioError& error) {
                EXPECT_EQ(error.line(), 3);
                throw;
            }
        },
        ScenarioError);
}

TEST_F(ScenarioRun, AStartWithoutAirspeedStandsOnTheGroundWithItsFuel) {
    fly("init position 47 8 3280.839895 90 0\ninit fuel 670 1340\ninit temperature 10\nend 1\n");
    EXPECT_NEAR(simulator.panel.token(71), 47.0 * 40007000.0 / 360.0, 1e-3);
    EXPECT_DOUBLE_EQ(simulator.panel.token(60), 1.0) << "no airspeed: on the ground";
    EXPECT_NEAR(simulator.panel.token(73), 0.0, 0.5) << "no airport here: the ground at sea level";
    EXPECT_NEAR(simulator.panel.token(304), 100.0, 0.1) << "gallons of 6.7 lb";
    EXPECT_NEAR(simulator.panel.token(303), 200.0, 0.1);
    EXPECT_NEAR(simulator.panel.variable("AMBIENT TEMPERATURE"), 25.0, 0.1);
    EXPECT_LT(simulator.engines.n2(1), 1.0) << "cold and dark unless asked";
}

// The weather goes in before the placement, so the aircraft is trimmed in the air it flies in.
TEST_F(ScenarioRun, AStartInFlightGetsItsWeatherAndRunningEngines) {
    fly("init position 47 8 6000 90 250\n"
        "init state ready\n"
        "init qnh 1000\n"
        "init temperature -5\n"
        "init wind 300 40 at 5000\n"
        "init wind 270 10\n"
        "end 2\n");
    EXPECT_DOUBLE_EQ(simulator.panel.token(60), 0.0);
    EXPECT_DOUBLE_EQ(simulator.atmosphere.seaLevelPressure(), 1000.0);
    EXPECT_DOUBLE_EQ(simulator.atmosphere.temperatureDeviation(), -5.0);
    const AirState low = simulator.atmosphere.at(0.0);
    const AirState high = simulator.atmosphere.at(6000.0);
    EXPECT_NEAR(low.windFromDegrees, 270.0, 1e-9);
    EXPECT_NEAR(low.windSpeedKnots, 10.0, 1e-9);
    EXPECT_NEAR(high.windFromDegrees, 300.0, 1e-9);
    EXPECT_NEAR(high.windSpeedKnots, 40.0, 1e-9);
    EXPECT_GT(simulator.engines.n2(1), 50.0);
    EXPECT_GT(simulator.engines.n2(2), 50.0);
    EXPECT_NEAR(simulator.flight.indicatedAirspeedKnots(), 250.0, 3.0);
    EXPECT_NEAR(simulator.flight.state().altitudeFeet, 6000.0, 30.0);
}

TEST_F(ScenarioRun, TheTraceHasARowATickWithTheSimulatorsValues) {
    fly("init position 45 -7.5 3280.8399 90 250\nat 0.5 set token 103 1\nend 1\n");
    std::istringstream lines(traceText.str());
    std::string header;
    std::getline(lines, header);
    EXPECT_EQ(header.rfind("time_s,latitude_deg,longitude_deg,altitude_ft,", 0), 0u) << header;
    std::vector<std::string> rows;
    for (std::string row; std::getline(lines, row);) {
        rows.push_back(row);
    }
    ASSERT_EQ(rows.size(), 18u);
    const auto cell = [&](const std::string& row, const std::string& column) {
        std::istringstream names(header);
        std::istringstream values(row);
        std::string name;
        std::string value;
        while (std::getline(names, name, ',') && std::getline(values, value, ',')) {
            if (name == column) {
                return std::stod(value);
            }
        }
        ADD_FAILURE() << "no column " << column;
        return 0.0;
    };
    EXPECT_NEAR(cell(rows[0], "time_s"), Simulator::kTickSeconds, 1e-3);
    EXPECT_NEAR(cell(rows[0], "latitude_deg"), 45.0, 1e-4);
    EXPECT_NEAR(cell(rows[0], "longitude_deg"), -7.5, 1e-3);
    EXPECT_NEAR(cell(rows[0], "altitude_ft"), 3280.8399, 2.0);
    EXPECT_NEAR(cell(rows[0], "ias_kt"), 250.0, 3.0);
    EXPECT_DOUBLE_EQ(cell(rows[0], "ap_master"), 0.0);
    EXPECT_DOUBLE_EQ(cell(rows.back(), "ap_master"), 1.0);
    EXPECT_NEAR(cell(rows.back(), "time_s"), 1.0, 1e-3);
    EXPECT_EQ(header.find("cross_track_nm"), std::string::npos) << "no route, no cross-track";
}

TEST_F(ScenarioRun, ARouteAndTheScenariosColumnsFollowTheFixedOnes) {
    simulator.panel.setNamedVariable("TaviApu", 2.0);
    fly("init position 47.25 8.0 3000 0 0\n"
        "route 47 7.9 47.5 7.9\n"
        "trace named TaviApu as apu\n"
        "end 0.1\n");
    std::istringstream lines(traceText.str());
    std::string header;
    std::string row;
    std::getline(lines, header);
    std::getline(lines, row);
    EXPECT_NE(header.find(",fd_turn_knob,route_leg,cross_track_nm,apu"), std::string::npos)
        << header;
    const std::string tail = row.substr(row.rfind(',', row.rfind(',', row.rfind(',') - 1) - 1) + 1);
    double leg = 0.0;
    double crossTrack = 0.0;
    double apu = 0.0;
    ASSERT_EQ(std::sscanf(tail.c_str(), "%lf,%lf,%lf", &leg, &crossTrack, &apu), 3) << tail;
    EXPECT_DOUBLE_EQ(leg, 1.0);
    EXPECT_NEAR(crossTrack, 0.1 * 60.0 * std::cos(47.25 * std::numbers::pi / 180.0), 0.02)
        << "east of a northbound leg is right";
    EXPECT_DOUBLE_EQ(apu, 2.0);
}

// What the clickable gauge's handler heard: the point relative to its button, in window pixels,
// and the mouse flags.
struct HeardClick {
    int x;
    int y;
    uint32_t flags;
    friend bool operator==(const HeardClick&, const HeardClick&) = default;
};
std::vector<HeardClick> heardClicks;
// The frames the clickable gauge had run when it last heard a click.
int gaugeFrames = 0;
int framesAtClick = 0;

bool hearClick(int x, int y, uint32_t flags) {
    heardClicks.push_back({x, y, flags});
    framesAtClick = gaugeFrames;
    return true;
}

void countFrames(platform::GaugeHeader&, int32_t service, void*) {
    if (service == platform::kServicePreUpdate) {
        ++gaugeFrames;
    }
}

// The screen gauge shows "ENG1 OUT" while token 500 is 1, else "NORMAL".
const Panel* screenPanel = nullptr;

void drawScreenText(platform::GaugeHeader& gauge, int32_t service, void*) {
    if (service != platform::kServicePreDraw || !gauge.root.surface) {
        return;
    }
    platform::gfx::Canvas canvas(*gauge.root.surface);
    canvas.clear(0xFF000000);
    const bool out = screenPanel && screenPanel->token(500) == 1.0;
    canvas.drawString(out ? "ENG1 OUT" : "NORMAL", {}, 0xFFFFFFFF, {2, 2});
}

constexpr platform::Artwork kClickableArt{"clickable", 40, 20, 1, nullptr, ""};
constexpr platform::Artwork kPopUpArt{"pop-up", 10, 10, 1, nullptr, ""};
constexpr platform::Artwork kReadableScreenArt{"screen", 30, 20, 1, nullptr, ""};

// A 40 x 20 gauge with a 20 x 20 button at x 10, shown three times its size in window 0, and a
// gauge in a pop-up window that stays closed.
class ScenarioClicks : public ScenarioRun {
protected:
    ScenarioClicks() {
        heardClicks.clear();
        gaugeFrames = 0;
        framesAtClick = 0;
        screenPanel = &simulator.panel;
        clickable.name = "Clickable";
        clickable.callback = countFrames;
        clickable.root.artwork = &kClickableArt;
        platform::MouseControl button{10, 0, 20, 20, nullptr, {}};
        button.areas = {{0, 0, 20, 20, platform::Cursor::Hand,
                         platform::kMouseLeftSingle | platform::kMouseRightSingle, hearClick}};
        clickable.controls = {button};
        popUp.name = "PopUp";
        popUp.root.artwork = &kPopUpArt;
        screen.name = "Screen";
        screen.root.artwork = &kReadableScreenArt;
        screen.root.flags = platform::kImageCreateBitmap;
        screen.callback = drawScreenText;
        linkage.gauges[0] = &clickable;
        linkage.gauges[1] = &popUp;
        linkage.gauges[2] = &screen;
        std::istringstream layout("window 0 120 100 shown Main\n"
                                  "gauge Clickable 0 0 120\n"
                                  "gauge Screen 0 60 60\n"
                                  "window 5 30 30 hidden Pop-up\n"
                                  "gauge PopUp 0 0 30\n");
        host.emplace(simulator.panel, linkage, PanelLayout::parse(layout));
        panel = &*host;
    }

    platform::GaugeHeader clickable;
    platform::GaugeHeader popUp;
    platform::GaugeHeader screen;
    platform::ModuleLinkage linkage{};
    std::optional<PanelHost> host;
};

TEST_F(ScenarioClicks, AClickReachesTheGaugeAtItsPointWithItsButton) {
    fly("at 1 click Clickable 15 5\n"
        "when token 500 == 1 click Clickable 29.5 19 right\n"
        "at 2 set token 500 1\n"
        "at 3 click Clickable 5 5\n"
        "end 4\n");
    EXPECT_EQ(heardClicks, (std::vector<HeardClick>{{15, 15, platform::kMouseLeftSingle},
                                                    {59, 57, platform::kMouseRightSingle}}))
        << "the click beside the button reaches nothing";
    // Headless as on the desktop, the pointer finds the gauge as a frame left it.
    EXPECT_GT(framesAtClick, 0);
}

TEST_F(ScenarioClicks, ChecksAndConditionsReadWhatAScreenShows) {
    const std::vector<CheckResult> results =
        fly("at 2 set token 500 1\n"
            "when screen Screen \"ENG1 OUT\" == 1 set named Seen 1\n"
            "check at 1 screen Screen \"ENG1 OUT\" = 0\n"
            "check at 1 screen Screen \"NORMAL\" = 1\n"
            "check at 3 screen Screen \"ENG1 OUT\" = 1\n"
            "check at 3 screen Screen 5 5 \"ENG1 OUT\" = 1\n"
            "check at 3 named Seen = 1\n"
            "check at 3 screen Clickable \"ENG1 OUT\" = 0\n"
            "end 3\n");
    expectAllPassed(results);
    EXPECT_EQ(results[2].text, "screen Screen \"ENG1 OUT\" at 3 s = 1 +- 0: 1");
}

TEST_F(ScenarioClicks, AScreenOffThePanelOrInAClosedWindowIsAFaultOfItsLine) {
    const FaultyText rows[] = {
        {"check at 1 screen Nowhere \"X\" = 1\n", 1, "unknown gauge 'Nowhere'"},
        {"check at 1 screen Screen 40 5 \"X\" = 1\n", 1,
         "the point 40 5 lies outside gauge Screen (30 x 20)"},
        {"when screen Nowhere \"X\" == 1 set token 500 1\n", 1, "unknown gauge 'Nowhere'"},
        {"at 1 set token 500 1\ncheck at 2 screen PopUp \"X\" = 1\n", 2,
         "gauge PopUp is not on show"},
    };
    expectEachRefused(rows, [&](const std::string& text) { fly(text); });
}

TEST_F(ScenarioClicks, AClickOffThePanelOrOffItsGaugeIsAFaultOfItsLine) {
    const FaultyText rows[] = {
        {"# no such gauge\nat 1 click Overhead 5 5\n", 2, "unknown gauge 'Overhead'"},
        {"at 1 click Clickable 40 5\n", 1, "the point 40 5 lies outside gauge Clickable (40 x 20)"},
        {"at 1 click Clickable 5 -1\n", 1, "lies outside gauge Clickable"},
        // Found when it falls due: the crew cannot reach a closed window.
        {"at 1 click Clickable 15 5\nat 2 click PopUp 5 5\nend 3\n", 2,
         "gauge PopUp is not on show"},
    };
    expectEachRefused(rows, [&](const std::string& text) { fly(text); });
    EXPECT_EQ(heardClicks.size(), 1u)
        << "of the faulty files, only the one clicking before its fault clicked";
}

TEST_F(ScenarioRun, AScenarioThatClicksNeedsAPanel) {
    const FaultyText rows[] = {
        {"at 1 set token 500 1\nat 2 click MainPanel 5 5\n", 2, "no panel to click"}};
    expectEachRefused(rows, [&](const std::string& text) { fly(text); });
}

// The route's measure is read by checks and conditions, tick by tick.
TEST_F(ScenarioRun, ChecksAndConditionsReadTheRoutesMeasure) {
    const std::vector<CheckResult> results = fly("init position 47.2 8.0 3000 0 250\n"
                                                 "route 47 7.9 47.5 7.9 47.5 8.5\n"
                                                 "when route cross-track > 4.05 set token 500 1\n"
                                                 "check at 1 route leg = 1\n"
                                                 "check from 0 to 2 route cross-track min 4\n"
                                                 "check at 2 token 500 = 1\n"
                                                 "end 2\n");
    expectAllPassed(results);
    EXPECT_EQ(results[0].text, "route leg at 1 s = 1 +- 0: 1");
}

} // namespace
} // namespace tavi::sim
