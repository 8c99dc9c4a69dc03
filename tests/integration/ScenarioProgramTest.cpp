#include "support/BuiltFile.h"
#include "support/FileSizeLimit.h"
#include "support/NavFixtureFiles.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <vector>

namespace tavi::test {
namespace {

namespace fs = std::filesystem;

// Room for the start-up state tavi-sim writes, not for the module's log up to its start-up.
constexpr rlim_t kFullDiskBytes = 2048;

struct ProgramRun {
    int exitCode = -1;
    std::string output;
};

// tavi-sim in a simulator folder of its own holding the built module.
class ScenarioProgram : public testing::Test {
protected:
    ScenarioProgram() {
        fs::create_directories(folder.path() / "panel");
        fs::copy_file(builtFile("TAVI_MODULE_FILE", TAVI_MODULE_FILE),
                      folder.path() / "panel" / "tavi_davud.gau");
    }

    // The navigation database, performance tables, magnetic variation and panel layout of the
    // built simulator folder.
    void copyBuiltData() const {
        const fs::path builtRoot = fs::path(TAVI_SIM_PROGRAM).parent_path() / "simroot";
        for (const char* data : {"Orvane/Nd", "Orvane/PerfDB", "Scenery", "panel-layout.txt"}) {
            fs::create_directories((folder.path() / data).parent_path());
            fs::copy(builtRoot / data, folder.path() / data, fs::copy_options::recursive);
        }
    }
    static fs::path shippedTakeOff() {
        return fs::path(TAVI_TEST_FIXTURES) / "../../scenarios/takeoff-and-route.scn";
    }

    fs::path writeScenario(const std::string& text) const {
        const fs::path path = folder.path() / "test.scn";
        std::ofstream(path) << text;
        return path;
    }

    ProgramRun run(const std::string& arguments) const {
        const std::string command =
            std::string("'") + builtFile("TAVI_SIM_PROGRAM", TAVI_SIM_PROGRAM) + "' --sim-root '" +
            folder.path().string() + "' " + arguments + " 2>&1";
        ProgramRun result;
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) {
            return result;
        }
        char buffer[512];
        while (fgets(buffer, sizeof buffer, pipe)) {
            result.output += buffer;
        }
        const int status = pclose(pipe);
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return result;
    }

    TempFolder folder;
};

TEST_F(ScenarioProgram, PrintsEveryCheckAndExitsWithOneWhenOneFailed) {
    const fs::path scenario = writeScenario("# battery 1 on, battery 2 left off\n"
                                            "at 1 set named TaviBatt1Click 1\n"
                                            "check at 2 named TaviBatt1 = 1\n"
                                            "check at 2 named TaviBatt2 = 1\n"
                                            "end 3\n");
    const fs::path trace = folder.path() / "trace.csv";
    const ProgramRun result =
        run("--scenario '" + scenario.string() + "' --trace '" + trace.string() + "'");
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_NE(result.output.find("battery 1 on, battery 2 left off"), std::string::npos);
    EXPECT_NE(result.output.find("PASS line 3: named TaviBatt1 at 2 s = 1 +- 0: 1"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("FAIL line 4: named TaviBatt2 at 2 s = 1 +- 0: 0"),
              std::string::npos)
        << result.output;

    std::ifstream rows(trace);
    std::string header;
    std::getline(rows, header);
    EXPECT_EQ(header.rfind("time_s,", 0), 0u);
    int count = 0;
    for (std::string row; std::getline(rows, row);) {
        ++count;
    }
    EXPECT_EQ(count, 54) << "a row a tick for 3 s";
}

TEST_F(ScenarioProgram, AllChecksPassingExitsWithZero) {
    const fs::path scenario = writeScenario("# parked\ncheck at 1 named TaviBatt1 = 0\n");
    const ProgramRun result = run("--scenario '" + scenario.string() + "'");
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

TEST_F(ScenarioProgram, AFaultyFileIsNamedWithItsLineAndNothingFlies) {
    const fs::path scenario = writeScenario("# faulty\nat 1 event NO_SUCH_EVENT\n");
    const ProgramRun result = run("--scenario '" + scenario.string() + "'");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.output.find("line 2: unknown key event 'NO_SUCH_EVENT'"), std::string::npos)
        << result.output;
    EXPECT_EQ(result.output.find("loaded"), std::string::npos) << "the module never loads";
}

TEST_F(ScenarioProgram, ARunwayTheDatabaseLacksFailsOnItsLine) {
    const fs::path scenario =
        writeScenario("# on a runway\ninit runway ZXOR 04\ncheck at 1 token 60 = 1\n");
    const ProgramRun result = run("--scenario '" + scenario.string() + "'");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.output.find("line 2: no runway 04 of ZXOR in the navigation database"),
              std::string::npos)
        << result.output;
}

TEST_F(ScenarioProgram, WritesEachScreenAndPanelWindowAsAPicture) {
    const fs::path scenario = writeScenario("init state ready\nend 1\n");
    const fs::path screens = folder.path() / "screens";
    const fs::path panel = folder.path() / "panel-pictures";
    const std::string pictures = "--scenario '" + scenario.string() + "' --screens '" +
                                 screens.string() + "' --panel '" + panel.string() + "'";

    const ProgramRun withoutLayout = run(pictures);
    EXPECT_EQ(withoutLayout.exitCode, 1);
    EXPECT_NE(withoutLayout.output.find("panel-layout.txt"), std::string::npos)
        << withoutLayout.output;

    fs::copy_file(fs::path(TAVI_TEST_FIXTURES) / "../../data/panel-layout.txt",
                  folder.path() / "panel-layout.txt");
    const ProgramRun result = run(pictures);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    for (const char* screen : {"PFD", "PFD2", "EICAS", "RMU1", "RMU2", "ISI"}) {
        EXPECT_TRUE(fs::exists(screens / (std::string(screen) + ".png"))) << screen;
    }
    for (const char* window : {"main-panel", "overhead", "cdu", "pfd-1", "virtual-cockpit"}) {
        EXPECT_TRUE(fs::exists(panel / (std::string(window) + ".png"))) << window;
    }
}

// A layout that is a pipe, a folder, empty or of an absurd size is refused with a message naming
// it; the pipe does not keep tavi-sim waiting for a writer.
TEST_F(ScenarioProgram, APanelLayoutThatCannotBeUsedIsNamedWithItsFault) {
    const fs::path layout = folder.path() / "panel-layout.txt";
    const struct {
        const char* name;
        std::function<void()> make;
        const char* fault;
    } cases[] = {
        {"pipe", [&] { ASSERT_EQ(mkfifo(layout.c_str(), 0600), 0); }, "is not a file"},
        {"folder", [&] { fs::create_directories(layout); }, "is not a file"},
        {"empty", [&] { std::ofstream{layout}; }, "holds no panel window"},
        {"huge window",
         [&] { std::ofstream{layout} << "window 0 2000000000 860 shown Main panel\n"; },
         "line 1: a window is at most"},
    };
    const fs::path scenario = writeScenario("init state ready\nend 1\n");
    const fs::path screens = folder.path() / "screens";
    for (const auto& fault : cases) {
        fs::remove_all(layout);
        fault.make();
        const ProgramRun result =
            run("--scenario '" + scenario.string() + "' --screens '" + screens.string() + "'");
        EXPECT_EQ(result.exitCode, 1) << fault.name;
        EXPECT_NE(result.output.find(layout.string() + ": "), std::string::npos)
            << fault.name << "\n"
            << result.output;
        EXPECT_NE(result.output.find(fault.fault), std::string::npos) << fault.name << "\n"
                                                                      << result.output;
        EXPECT_EQ(result.output.find("pictures"), std::string::npos) << fault.name;
    }
}

// With a disk too full for the module's log, the simulator still tells that the module started,
// and that its log misses it.
TEST_F(ScenarioProgram, AModuleThatStartedOnAFullDiskIsReportedStarted) {
    const fs::path scenario = writeScenario("init state ready\nend 1\n");
    ProgramRun result;
    {
        const FileSizeLimit fullDisk(kFullDiskBytes);
        result = run("--scenario '" + scenario.string() + "'");
    }
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("start-up complete"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("could not write its start-up into its log"), std::string::npos)
        << result.output;
    EXPECT_EQ(result.output.find("not reached"), std::string::npos) << result.output;
}

// The same flight with ACTIVE FLT PLAN left on its last sub-page (FPL, then PREV) while the
// route sequences: after the second fix the plan has a sub-page fewer, and the crew's line keys
// on the page work on the lines it shows. The flight goes on to its end and every check passes.
TEST_F(ScenarioProgram, TheTakeOffFliesOnWhileTheCrewWorksTheLastSubPageOfTheRoute) {
    copyBuiltData();
    std::ifstream shipped(shippedTakeOff());
    std::stringstream text;
    text << shipped.rdbuf()
         << "at 12 click VIV810 258 350\n"
            "at 12.5 cdu PREV\n"
            "when route leg >= 3 cdu L2 CLR CLR CLR CLR CLR L3 R3 CLR CLR CLR CLR CLR DEL R3 CLR\n"
            "when route leg >= 4 cdu DEL L3 CLR R3 CLR CLR CLR CLR CLR PREV NEXT L3\n";
    const ProgramRun result = run("--scenario '" + writeScenario(text.str()).string() + "'");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("FAIL"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("PASS line"), std::string::npos) << result.output;
}

// tavi-sim in a simulator folder holding the built navigation database, magnetic variation,
// performance data and panel layout.
class ScenarioProgramWithData : public ScenarioProgram {
protected:
    ScenarioProgramWithData() {
        const fs::path builtRoot = fs::path(TAVI_SIM_PROGRAM).parent_path() / "simroot";
        for (const char* data : {"Orvane/Nd", "Orvane/PerfDB", "Scenery", "panel-layout.txt"}) {
            fs::create_directories((folder.path() / data).parent_path());
            fs::copy(builtRoot / data, folder.path() / data, fs::copy_options::recursive);
        }
    }

    // The lines the checks printed, in the file's order.
    static std::vector<std::string> checkLines(const std::string& output) {
        std::vector<std::string> lines;
        std::istringstream text(output);
        for (std::string line; std::getline(text, line);) {
            if (line.starts_with("PASS") || line.starts_with("FAIL")) {
                lines.push_back(line);
            }
        }
        return lines;
    }
};

// Every scenario the project ships flies what its description says and passes every check:
// the one scripts/run flies (the take-off from ZXOR and the route the crew types into the CDU
// and engages by clicks on the panel, flown by the module's autopilot in LNAV) among them.
TEST_F(ScenarioProgramWithData, TheShippedScenariosPassEveryCheck) {
    const fs::path shipped = fs::path(TAVI_TEST_FIXTURES) / "../../scenarios";
    for (const auto& entry : fs::directory_iterator(shipped)) {
        if (entry.path().extension() != ".scn") {
            continue;
        }
        SCOPED_TRACE(entry.path().filename().string());
        const ProgramRun result = run("--scenario '" + entry.path().string() + "'");
        EXPECT_EQ(result.exitCode, 0) << result.output;
        EXPECT_EQ(result.output.find("FAIL"), std::string::npos) << result.output;
        EXPECT_NE(result.output.find("PASS line"), std::string::npos) << result.output;
    }
}

// With no place named the aircraft stands parked at the database's first airport (ZXOR, 61 N
// 24 E), on the ground with its parking brake set and fuel in its tanks, cold and dark.
TEST_F(ScenarioProgramWithData, WithoutAPlaceTheAircraftStandsParkedAtAnAirport) {
    const fs::path scenario =
        writeScenario("# parked\n"
                      "check at 1 token 60 = 1\n"
                      "check at 1 token 71 = 6778963.9 +- 1000\n"
                      "check at 1 token 323 = 32767\n"
                      "check from 0 to 2 variable \"FUEL TANK LEFT MAIN QUANTITY\" min 500\n"
                      "check from 0 to 2 variable \"FUEL TANK RIGHT MAIN QUANTITY\" min 500\n"
                      "check at 2 variable \"GENERAL ENG COMBUSTION\" 1 = 0\n"
                      "check at 2 token 740 = 0\n");
    const ProgramRun result = run("--scenario '" + scenario.string() + "'");
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

// Headless, a click on the throttle quadrant moves the thrust levers and the speed brake lever
// as it does on the desktop.
TEST_F(ScenarioProgramWithData, ClicksOnTheLeversActHeadless) {
    const fs::path scenario = writeScenario("# levers\n"
                                            "init runway ZXOR 04\n"
                                            "init state ready\n"
                                            "at 1 click MainPanel 238 846\n"
                                            "at 2 click Throttle 180 230\n"
                                            "at 3 click Throttle 40 312\n"
                                            "check at 2.5 named TaviThrottle1Lever = 47 +- 1\n"
                                            "check at 2.5 named TaviThrottle2Lever = 47 +- 1\n"
                                            "check from 7 to 8 variable \"TURB ENG N1\" 1 min 40\n"
                                            "check at 3.5 named TaviSpoilerLever = 47 +- 2\n"
                                            "end 8\n");
    const ProgramRun result = run("--scenario '" + scenario.string() + "'");
    EXPECT_EQ(result.exitCode, 0) << result.output;
}

// Take-off thrust set before the flaps and the trim are, which raises NO TAKEOFF CONFIG with
// its call-outs, then again once they are set: flown as fast as the machine goes and at the
// simulator's own pace, the call-outs take their simulated time and both flights end with the
// warning gone and the same EICAS.
TEST_F(ScenarioProgramWithData, FlownFastOrInRealTimeAScenarioEndsWithTheSameEicas) {
    const fs::path scenario = writeScenario(
        "# take-off thrust without, then with the take-off configuration\n"
        "init runway ZXOR 04\n"
        "init state ready\n"
        "at 1 click MainPanel 238 846\n"
        "at 2 click Throttle 180 150\n"
        "at 4 click Throttle 180 310\n"
        "at 10 event FLAPS_INCR\n"
        "at 10 event ELEVATOR_TRIM_SET 6554\n"
        "at 11 click Throttle 180 150\n"
        "at 13 click Throttle 180 310\n"
        "when screen MainPanel 1000 600 \"NO TAKEOFF CONFIG\" == 1 set named Warned 1\n"
        "check at 9 named Warned = 1\n"
        "check from 16 to 20 screen MainPanel 1000 600 \"NO TAKEOFF CONFIG\" max 0\n"
        "end 20\n");
    std::vector<std::string> checks;
    std::vector<std::string> eicas;
    for (const char* pace : {"", "--realtime "}) {
        const fs::path screens = folder.path() / ("screens" + std::to_string(checks.size()));
        const ProgramRun result = run(std::string(pace) + "--scenario '" + scenario.string() +
                                      "' --screens '" + screens.string() + "'");
        EXPECT_EQ(result.exitCode, 0) << pace << result.output;
        checks.push_back(testing::PrintToString(checkLines(result.output)));
        eicas.push_back(readText(screens / "EICAS.png"));
    }
    EXPECT_EQ(checks[0], checks[1]);
    EXPECT_FALSE(eicas[0].empty());
    EXPECT_TRUE(eicas[0] == eicas[1]) << "the EICAS pictures differ";
}

} // namespace
} // namespace tavi::test
