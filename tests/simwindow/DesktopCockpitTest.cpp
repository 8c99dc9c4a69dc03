#include "support/ImageLight.h"
#include "support/TempFolder.h"

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

// tavi-sim's window on a virtual X display, driven by real X events: Xvfb gives the display,
// xdotool moves the pointer and clicks, the test reads the screen back through Qt. The program
// runs in real time, so the test waits for what it expects with a deadline instead of counting
// ticks.
namespace tavi::test {
namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

// A program the test started: ended and reaped with the object. A quiet one writes nothing to
// the test's output.
class Child {
public:
    explicit Child(const std::vector<std::string>& arguments, bool quiet = false) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (quiet) {
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
            posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
        }
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
            pid = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (running()) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool running() const { return pid > 0 && waitpid(pid, nullptr, WNOHANG) == 0; }

private:
    pid_t pid = -1;
};

// Xvfb on the first free display, which it names through a pipe once it takes connections.
class VirtualDisplay {
public:
    explicit VirtualDisplay(const std::string& screen) {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        server.emplace(std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]),
                                                "-screen", "0", screen, "-nolisten", "tcp"},
                       true);
        close(fds[1]);
        pollfd ready{fds[0], POLLIN, 0};
        char number[16] = {};
        if (poll(&ready, 1, 20000) == 1 && read(fds[0], number, sizeof number - 1) > 0) {
            name = ":" + std::string(number, std::strcspn(number, "\n"));
        }
        close(fds[0]);
    }

    // ":N", or empty when no display could start.
    std::string name;

private:
    std::optional<Child> server;
};

std::string output(const std::string& command) {
    std::string text;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe)) {
            text += buffer;
        }
        pclose(pipe);
    }
    return text;
}

bool onPath(const char* program) {
    return std::system((std::string("command -v ") + program + " >/dev/null 2>&1").c_str()) == 0;
}

// The X window of the title, waiting up to 30 s for it to be shown; 0 when it never is.
unsigned long windowNamed(const std::string& title) {
    const std::string found =
        output("timeout 30 xdotool search --sync --onlyvisible --name '^" + title + "$'");
    return found.empty() ? 0 : std::stoul(found);
}

void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

void click(unsigned long window, int x, int y) {
    xdotool("mousemove --window " + std::to_string(window) + " " + std::to_string(x) + " " +
            std::to_string(y) + " click 1");
}

// Waits up to the deadline for the picture to pass the test; the last picture taken.
QImage waitFor(const std::function<QImage()>& take, const std::function<bool(const QImage&)>& test,
               std::chrono::seconds deadline) {
    const Clock::time_point end = Clock::now() + deadline;
    QImage picture = take();
    while (!test(picture) && Clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        picture = take();
    }
    return picture;
}

// tavi-sim flying a scenario in its window on a virtual display of its own, with the screen read
// back through Qt.
class DesktopCockpitTest : public testing::Test {
protected:
    void SetUp() override {
        if (!onPath("Xvfb") || !onPath("xdotool")) {
            GTEST_SKIP() << "Xvfb or xdotool is not installed (scripts/setup --test installs them)";
        }
        display.emplace(screenSize);
        if (display->name.empty()) {
            GTEST_SKIP() << "Xvfb could not start a display";
        }
        setenv("DISPLAY", display->name.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        fs::create_directories(folder / "panel");
        fs::copy_file(TAVI_MODULE_FILE, folder / "panel" / "tavi_davud.gau");
        fs::copy_file(TAVI_PANEL_LAYOUT, folder / "panel-layout.txt");
        const fs::path database = "Orvane/Nd/nd.sqlite";
        fs::create_directories((folder.path() / database).parent_path());
        fs::copy_file(fs::path(TAVI_SIM_PROGRAM).parent_path() / "simroot" / database,
                      folder.path() / database);
    }

    // Starts tavi-sim on the scenario (on none, when empty) in a simulator folder of its own
    // that holds the navigation database; the main panel's X window, or 0 when it never shows.
    unsigned long fly(const std::string& scenarioText) {
        std::vector<std::string> arguments{TAVI_SIM_PROGRAM, "--sim-root", folder.path().string(),
                                           "--window"};
        if (!scenarioText.empty()) {
            arguments.push_back("--scenario");
            arguments.push_back(folder.write("desktop.scn", scenarioText).string());
        }
        simulator.emplace(arguments);
        application.emplace(argc, argv);
        screen = QGuiApplication::primaryScreen();
        return screen ? windowNamed("TAVI - Main panel") : 0;
    }

    // The virtual display's width, height and depth.
    std::string screenSize = "2800x1300x24";
    std::optional<VirtualDisplay> display;
    TempFolder folder;
    std::optional<Child> simulator;
    int argc = 1;
    char program[17] = "tests_simdesktop";
    char* argv[2] = {program, nullptr};
    std::optional<QGuiApplication> application;
    QScreen* screen = nullptr;
};

// A click as a hand makes it, the button held for 0.12 s, turns the guidance panel's heading
// knob one step, as a quick click does: the PFD's heading target shows the same figures.
TEST_F(DesktopCockpitTest, AClickAsAHandMakesItTurnsAKnobOneStep) {
    const unsigned long mainPanel = fly("init position 47 8 1400 90 0\ninit state ready\nend 1\n");
    ASSERT_NE(mainPanel, 0u) << "tavi-sim showed no main panel";
    // The heading target's figures on the PFD copy, below its HSI.
    const auto headingTarget = [&] {
        return screen->grabWindow(mainPanel, 176, 750, 44, 22).toImage();
    };
    const QImage before = waitFor(headingTarget, someLight, std::chrono::seconds(20));
    ASSERT_TRUE(someLight(before)) << "the PFD shows no heading target";
    const std::string increment = "mousemove --window " + std::to_string(mainPanel) + " 827 383";
    const std::string decrement = "mousemove --window " + std::to_string(mainPanel) + " 797 383";
    const auto changedFrom = [](const QImage& from) {
        return [from](const QImage& picture) {
            return picture != from;
        };
    };

    xdotool(increment + " click 1");
    const QImage oneStep = waitFor(headingTarget, changedFrom(before), std::chrono::seconds(10));
    ASSERT_NE(oneStep, before) << "a click on the knob changed no heading target";
    xdotool(decrement + " click 1");
    const QImage back = waitFor(
        headingTarget, [&](const QImage& picture) { return picture == before; },
        std::chrono::seconds(10));
    ASSERT_EQ(back, before) << "a click on the knob's other half did not step back";

    xdotool(increment + " mousedown 1 sleep 0.12 mouseup 1");
    waitFor(headingTarget, changedFrom(before), std::chrono::seconds(10));
    // Frames enough for a second step to show, had the click made one.
    std::this_thread::sleep_for(std::chrono::seconds(1));
    EXPECT_EQ(headingTarget(), oneStep)
        << "a click held for 0.12 s turned the knob more than a step";
    EXPECT_TRUE(simulator->running()) << "tavi-sim ended on its own";
}

// `tavi-sim --window` alone: the aircraft stands parked, fuelled, cold and dark, and the crew
// powers it up and starts the APU and an engine with the mouse.
TEST_F(DesktopCockpitTest, TheDefaultFlightsApuAndEngineStartWithTheMouse) {
    const unsigned long mainPanel = fly("");
    ASSERT_NE(mainPanel, 0u) << "tavi-sim showed no main panel";
    // No window manager places the windows: the list and the overhead go beside the main panel.
    xdotool("search --name '^TAVI panels$' windowmove --sync 1160 850");
    const auto eicas = [&] {
        return screen->grabWindow(mainPanel, 887, 470, 252, 300).toImage();
    };
    EXPECT_FALSE(someLight(eicas())) << "cold and dark";

    click(mainPanel, 178, 846);
    const unsigned long overhead = windowNamed("TAVI - Overhead");
    ASSERT_NE(overhead, 0u) << "the main panel's overhead button opened no window";
    xdotool("windowmove --sync " + std::to_string(overhead) + " 1160 0");
    click(overhead, 80, 485);
    click(overhead, 264, 485);
    const QImage powered = waitFor(eicas, someLight, std::chrono::seconds(20));
    ASSERT_TRUE(someLight(powered)) << "the batteries lit no EICAS";

    click(overhead, 742, 197);
    click(overhead, 742, 197);
    const QImage starting = waitFor(
        eicas, [&](const QImage& picture) { return picture != powered; }, std::chrono::seconds(40));
    EXPECT_NE(starting, powered) << "the APU start changed nothing on the EICAS";

    // Once the APU runs: its bleed, then engine 2's guard opened and its knob to RUN and START.
    // Its N2 and fuel flow figures come alive.
    std::this_thread::sleep_for(std::chrono::seconds(70));
    const auto engine2 = [&] {
        return screen->grabWindow(mainPanel, 985, 585, 52, 30).toImage();
    };
    const QImage stopped = engine2();
    click(overhead, 1454, 669);
    xdotool("mousemove --window " + std::to_string(overhead) + " 890 665 click 3");
    click(overhead, 890, 665);
    click(overhead, 890, 665);
    const QImage turning = waitFor(
        engine2, [&](const QImage& picture) { return picture != stopped; },
        std::chrono::seconds(60));
    EXPECT_NE(turning, stopped) << "engine 2's start changed nothing on the EICAS";

    const fs::path shots(TAVI_DESKTOP_SCREENSHOTS);
    fs::create_directories(shots);
    screen->grabWindow(0).save(QString::fromStdString((shots / "desktop.png").string()));
    screen->grabWindow(mainPanel).save(QString::fromStdString((shots / "main-panel.png").string()));
    EXPECT_TRUE(simulator->running()) << "tavi-sim ended on its own";
}

// The width of the X window, as the server has it.
int windowWidth(unsigned long window) {
    const std::string geometry = output("xdotool getwindowgeometry " + std::to_string(window));
    const std::size_t at = geometry.find("Geometry: ");
    return at == std::string::npos ? 0 : std::stoi(geometry.substr(at + 10));
}

// On a 1600x1200 desktop the overhead panel, wider than the screen, shows shrunk to fit; the
// battery switches take clicks where they are drawn.
class SmallerDesktopCockpitTest : public DesktopCockpitTest {
protected:
    SmallerDesktopCockpitTest() { screenSize = "1600x1200x24"; }
};

TEST_F(SmallerDesktopCockpitTest, TheOverheadFitsAndItsSwitchesTakeClicks) {
    const unsigned long mainPanel = fly("init state cold\ninit fuel 6000 6000\nend 1\n");
    ASSERT_NE(mainPanel, 0u) << "tavi-sim showed no main panel";
    EXPECT_EQ(windowWidth(mainPanel), 1152) << "the main panel fits as it is";
    const auto eicas = [&] {
        return screen->grabWindow(mainPanel, 887, 470, 252, 300).toImage();
    };
    click(mainPanel, 178, 846);
    const unsigned long overhead = windowNamed("TAVI - Overhead");
    ASSERT_NE(overhead, 0u) << "the main panel's overhead button opened no window";
    const int width = windowWidth(overhead);
    EXPECT_LT(width, 1600);
    EXPECT_GT(width, 1000);
    xdotool("windowmove --sync " + std::to_string(overhead) + " 0 0");
    const double scale = width / 1600.0;
    click(overhead, static_cast<int>(80 * scale), static_cast<int>(485 * scale));
    click(overhead, static_cast<int>(264 * scale), static_cast<int>(485 * scale));
    xdotool("windowraise " + std::to_string(mainPanel));
    const QImage powered = waitFor(eicas, someLight, std::chrono::seconds(20));
    EXPECT_TRUE(someLight(powered)) << "the batteries lit no EICAS";
    EXPECT_TRUE(simulator->running()) << "tavi-sim ended on its own";
}

} // namespace
} // namespace tavi::test
