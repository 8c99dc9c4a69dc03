// tavi-sim: the stand-in simulator. Loads the gauge module from the simulator folder, starts a
// flight and runs the module's frames.
#include "platform/audio/SoundOutput.h"
#include "platform/panel/ImportTable.h"
#include "sim/PanelHost.h"
#include "sim/PanelLayout.h"
#include "sim/PanelPictures.h"
#include "sim/Scenario.h"
#include "sim/ScenarioRunner.h"
#include "sim/Simulator.h"
#include "sim/Trace.h"
#include "sim/window/CockpitWindows.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

namespace {

namespace fs = std::filesystem;

struct Options {
    fs::path simRoot;
    double seconds = 10.0;
    bool realtime = false;
    // "ICAO/RUNWAY": the aircraft stands on that runway and the flight model runs.
    std::string runway;
    fs::path scenario;
    fs::path trace;
    // Folders for the pictures of the screens and of the panel windows, written at the end.
    fs::path screens;
    fs::path panel;
    // Shows the panel windows on the desktop and runs in real time until they are closed.
    bool window = false;
};

void printUsage() {
    std::puts("usage: tavi-sim [--sim-root DIR] [--seconds N] [--runway ICAO/RWY]\n"
              "                [--scenario FILE] [--trace CSV] [--realtime]\n"
              "                [--screens DIR] [--panel DIR] [--window] [--help]\n"
              "  --sim-root DIR   the simulator folder (default: simroot beside tavi-sim)\n"
              "  --seconds N      simulated seconds to run (default 10)\n"
              "  --runway A/R     stand on runway R of airport A of the navigation database and\n"
              "                   fly (default: parked, fuelled, cold and dark at the first\n"
              "                   airport of the navigation database)\n"
              "  --scenario FILE  fly a scenario file for its own time; exit 1 when a check fails\n"
              "  --trace CSV      write a row a tick: position, altitudes, speeds, attitude and\n"
              "                   what the module published\n"
              "  --realtime       run at the simulator's 18 Hz instead of as fast as possible\n"
              "  --screens DIR    at the end, write each screen as its own gauge shows it to\n"
              "                   DIR/<gauge>.png\n"
              "  --panel DIR      at the end, write each panel window with its gauges to\n"
              "                   DIR/<window>.png (the layout is panel-layout.txt of the\n"
              "                   simulator folder)\n"
              "  --window         show the panel windows on the desktop, with the mouse on the\n"
              "                   gauges and the keyboard to the module, in real time until the\n"
              "                   window list is closed");
}

fs::path defaultSimRoot() {
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path("simroot") : executable.parent_path() / "simroot";
}

enum class Parsed { Run, Help, Error };

Parsed parseOptions(int argc, char** argv, Options& options) {
    options.simRoot = defaultSimRoot();
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--sim-root" && hasValue) {
            options.simRoot = argv[++i];
        } else if (arg == "--seconds" && hasValue) {
            char* end = nullptr;
            options.seconds = std::strtod(argv[++i], &end);
            if (*end != '\0' || !(options.seconds >= 0.0)) {
                std::fprintf(stderr, "tavi-sim: --seconds needs a number of seconds\n");
                return Parsed::Error;
            }
        } else if (arg == "--runway" && hasValue) {
            options.runway = argv[++i];
            if (options.runway.find('/') == std::string::npos) {
                std::fprintf(stderr, "tavi-sim: --runway needs AIRPORT/RUNWAY\n");
                return Parsed::Error;
            }
        } else if (arg == "--scenario" && hasValue) {
            options.scenario = argv[++i];
        } else if (arg == "--trace" && hasValue) {
            options.trace = argv[++i];
        } else if (arg == "--screens" && hasValue) {
            options.screens = argv[++i];
        } else if (arg == "--panel" && hasValue) {
            options.panel = argv[++i];
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--realtime") {
            options.realtime = true;
        } else if (arg == "--help" || arg == "-h") {
            return Parsed::Help;
        } else {
            std::fprintf(stderr, "tavi-sim: unknown option %s\n", argv[i]);
            return Parsed::Error;
        }
    }
    return Parsed::Run;
}

bool hasLine(const fs::path& file, std::string_view wanted) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) {
        return false;
    }
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line == wanted) {
            return true;
        }
    }
    return false;
}

std::optional<tavi::sim::Scenario> readScenario(const fs::path& path) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "tavi-sim: cannot read the scenario %s\n", path.c_str());
        return std::nullopt;
    }
    try {
        return tavi::sim::Scenario::parse(in);
    } catch (const tavi::sim::ScenarioError& error) {
        std::fprintf(stderr, "tavi-sim: %s: %s\n", path.c_str(), error.what());
        return std::nullopt;
    }
}

// Paces the ticks at the simulator's own rate when asked to.
class Pace {
public:
    explicit Pace(bool realtime) : realtime(realtime), next(std::chrono::steady_clock::now()) {}
    void wait() {
        if (!realtime) {
            return;
        }
        next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(tavi::sim::Simulator::kTickSeconds));
        std::this_thread::sleep_until(next);
    }

private:
    bool realtime;
    std::chrono::steady_clock::time_point next;
};

// Flies the scenario and prints each check's result; false when the scenario could not start
// or a check failed. The scenario's clicks go through the panel.
// With the panel shown, the flight runs in the desktop's windows in real time until they are
// closed, the simulator flying on once the scenario has ended.
bool flyScenario(const tavi::sim::Scenario& scenario, const Options& options,
                 tavi::sim::Simulator& simulator, tavi::sim::PanelHost* panel, int argc,
                 char** argv) {
    std::ofstream traceFile;
    std::optional<tavi::sim::Trace> trace;
    if (!options.trace.empty()) {
        traceFile.open(options.trace);
        if (!traceFile) {
            std::fprintf(stderr, "tavi-sim: cannot write the trace %s\n", options.trace.c_str());
            return false;
        }
        trace.emplace(traceFile, scenario.traceColumns, scenario.route.size() >= 2);
    }
    tavi::sim::StandInWorld world(simulator);
    tavi::sim::ScenarioRunner runner(scenario, simulator, world);
    runner.traceTo(trace ? &*trace : nullptr);
    runner.clickThrough(panel);
    // A fault found in flight (a click on a closed window) ends the scenario; it never passes
    // through the desktop's event loop.
    std::optional<std::string> fault;
    const auto stepScenario = [&] {
        try {
            return runner.step();
        } catch (const tavi::sim::ScenarioError& error) {
            fault = error.what();
            return false;
        }
    };
    try {
        runner.start();
    } catch (const tavi::sim::ScenarioError& error) {
        fault = error.what();
    }
    if (!fault && !options.scenario.empty()) {
        std::printf("tavi-sim: scenario %s: %s\n", options.scenario.c_str(),
                    scenario.description.c_str());
    }
    if (!fault && options.window) {
        bool scenarioRuns = true;
        tavi::sim::runCockpitWindows(argc, argv, *panel, simulator, [&] {
            if (scenarioRuns) {
                scenarioRuns = stepScenario();
            } else {
                simulator.step();
            }
        });
    } else if (!fault) {
        Pace pace(options.realtime);
        while (stepScenario()) {
            pace.wait();
        }
    }
    if (fault) {
        std::fprintf(stderr, "tavi-sim: %s: %s\n", options.scenario.c_str(), fault->c_str());
        return false;
    }
    bool passed = true;
    for (const tavi::sim::CheckResult& result : runner.results()) {
        std::printf("%s line %d: %s\n", result.passed ? "PASS" : "FAIL", result.line,
                    result.text.c_str());
        passed = passed && result.passed;
    }
    return passed;
}

// The simulator's panel with the layout of the simulator folder; null, said on stderr, when the
// layout cannot be read or names a gauge the module lacks.
std::unique_ptr<tavi::sim::PanelHost> makePanel(const Options& options,
                                                tavi::sim::Simulator& simulator,
                                                const tavi::platform::ModuleLinkage& linkage) {
    const fs::path layoutPath = options.simRoot / "panel-layout.txt";
    try {
        return std::make_unique<tavi::sim::PanelHost>(
            simulator.panel, linkage, tavi::sim::PanelLayout::read(layoutPath.string()));
    } catch (const tavi::sim::PanelLayoutError& error) {
        std::fprintf(stderr, "tavi-sim: %s: %s\n", layoutPath.c_str(), error.what());
        return nullptr;
    }
}

bool wantsPictures(const Options& options) {
    return !options.screens.empty() || !options.panel.empty();
}

// The scenario clicks the gauges or reads their screens.
bool usesThePanel(const tavi::sim::Scenario& scenario) {
    const auto readsAScreen = [](const tavi::sim::ScenarioValue& value) {
        return value.kind == tavi::sim::ScenarioValue::Kind::Screen;
    };
    return std::ranges::any_of(scenario.actions,
                               [&](const tavi::sim::ScenarioAction& action) {
                                   return action.kind == tavi::sim::ScenarioAction::Kind::Click ||
                                          (action.condition &&
                                           readsAScreen(action.condition->value));
                               }) ||
           std::ranges::any_of(scenario.checks, [&](const tavi::sim::ScenarioCheck& check) {
               return readsAScreen(check.value);
           });
}

// Writes the pictures the options ask for through the simulator's panel; false when one could
// not be written.
bool writePictures(const Options& options, tavi::sim::Simulator& simulator,
                   tavi::sim::PanelHost& host) {
    const std::pair<fs::path, decltype(&tavi::sim::writeScreenPictures)> requests[] = {
        {options.screens, tavi::sim::writeScreenPictures},
        {options.panel, tavi::sim::writePanelPictures},
    };
    for (const auto& [folder, write] : requests) {
        if (folder.empty()) {
            continue;
        }
        std::error_code error;
        fs::create_directories(folder, error);
        const auto written = write(simulator.panel, host, folder);
        std::printf("tavi-sim: %zu pictures in %s\n", written.size(), folder.c_str());
        if (written.empty()) {
            std::fprintf(stderr, "tavi-sim: cannot write pictures into %s\n", folder.c_str());
            return false;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    switch (parseOptions(argc, argv, options)) {
    case Parsed::Help:
        printUsage();
        return 0;
    case Parsed::Error:
        printUsage();
        return 2;
    case Parsed::Run:
        break;
    }
    // Without a scenario the aircraft stays as the flight loads it for the seconds asked.
    std::optional<tavi::sim::Scenario> scenario = tavi::sim::Scenario{};
    scenario->duration = options.seconds;
    if (!options.scenario.empty()) {
        scenario = readScenario(options.scenario);
        if (!scenario) {
            return 2;
        }
    }
    const fs::path modulePath = options.simRoot / "panel" / "tavi_davud.gau";
    if (!tavi::sim::writeStartupState(*scenario, modulePath.parent_path() / "tavi.ini")) {
        std::fprintf(stderr, "tavi-sim: cannot write the start-up state into %s\n",
                     (modulePath.parent_path() / "tavi.ini").c_str());
        return 1;
    }
    void* module = dlopen(modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        std::fprintf(stderr, "tavi-sim: cannot load %s: %s\n", modulePath.c_str(), dlerror());
        return 1;
    }
    auto* imports = static_cast<tavi::platform::ImportEntry*>(dlsym(module, "ImportTable"));
    auto* linkage = static_cast<tavi::platform::ModuleLinkage*>(dlsym(module, "Linkage"));
    if (!imports || !linkage || linkage->moduleId != tavi::platform::kModuleLinkageId) {
        std::fprintf(stderr, "tavi-sim: %s is not a gauge module\n", modulePath.c_str());
        dlclose(module);
        return 1;
    }
    std::printf("tavi-sim: loaded %s (module version 0x%X)\n", modulePath.c_str(),
                linkage->moduleVersion);

    tavi::sim::Simulator simulator(options.simRoot);
    simulator.setModulePath(modulePath);
    simulator.host.useMachineJoysticks();
    // Only the desktop's real time is heard: a run at its own pace keeps the sounds' time on
    // the simulator's clock, so that what the module decides never hangs on the machine's pace.
    if (!options.window || !tavi::platform::machineHasSoundOutput()) {
        simulator.host.playSoundsInSimulatedTime();
    }
    simulator.fillImports(imports);
    if (!options.runway.empty()) {
        const std::size_t slash = options.runway.find('/');
        if (!simulator.placeOnRunway(options.runway.substr(0, slash),
                                     options.runway.substr(slash + 1))) {
            std::fprintf(stderr, "tavi-sim: no runway %s in the navigation database\n",
                         options.runway.c_str());
            dlclose(module);
            return 1;
        }
    }
    // Without a place of its own the aircraft stands parked at an airport, as a simulator's
    // default flight loads it.
    const bool placed =
        !options.runway.empty() || scenario->start.runway || scenario->start.inFlight;
    if (!placed && !simulator.parkAtAirport()) {
        simulator.startClock();
    }
    linkage->moduleInit();
    simulator.startFlight();

    // One panel for the window, the scenario's clicks and the pictures.
    std::unique_ptr<tavi::sim::PanelHost> panel;
    if (options.window || usesThePanel(*scenario) || wantsPictures(options)) {
        panel = makePanel(options, simulator, *linkage);
        if (!panel) {
            linkage->moduleDeinit();
            dlclose(module);
            return 1;
        }
    }
    const bool passed = flyScenario(*scenario, options, simulator, panel.get(), argc, argv);
    const bool pictured = !wantsPictures(options) || writePictures(options, simulator, *panel);
    // The module's deferred start-up ends by registering its key-event handler: the simulator
    // sees it even when the module could not write its log.
    const bool started = simulator.panel.keyEventHandlerCount() > 0;
    panel.reset();
    linkage->moduleDeinit();
    dlclose(module);

    const fs::path logPath = modulePath.parent_path() / "tavi.log";
    std::printf("tavi-sim: %lld frames in %.1f simulated seconds\n",
                static_cast<long long>(simulator.ticks()), simulator.simulatorSeconds());
    std::printf("tavi-sim: start-up %s\n", started ? "complete" : "not reached");
    if (started && !hasLine(logPath, "Plane initialised")) {
        std::printf("tavi-sim: the module could not write its start-up into its log\n");
    }
    std::printf("tavi-sim: log %s\n", logPath.c_str());
    // The sanitizer build's leak check ends the process without flushing a piped stdout.
    std::fflush(stdout);
    return passed && pictured ? 0 : 1;
}
