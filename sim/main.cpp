// tavi-sim: the stand-in simulator. Loads the gauge module from the simulator folder, starts a
// flight and runs the module's frames.
#include "platform/audio/SoundOutput.h"
#include "platform/panel/ImportTable.h"
#include "sim/Simulator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

namespace {

namespace fs = std::filesystem;

struct Options {
    fs::path simRoot;
    double seconds = 10.0;
    bool realtime = false;
};

void printUsage() {
    std::puts("usage: tavi-sim [--sim-root DIR] [--seconds N] [--realtime] [--help]\n"
              "  --sim-root DIR  the simulator folder (default: simroot beside tavi-sim)\n"
              "  --seconds N     simulated seconds to run (default 10)\n"
              "  --realtime      run at the simulator's 18 Hz instead of as fast as possible");
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
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (line == wanted) {
            return true;
        }
    }
    return false;
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
    if (!tavi::platform::machineHasSoundOutput()) {
        // A machine without sound output plays to OpenAL Soft's speakerless device.
        setenv("ALSOFT_DRIVERS", "null", 0);
    }
    const fs::path modulePath = options.simRoot / "panel" / "tavi_davud.gau";
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
    simulator.fillImports(imports);
    linkage->moduleInit();
    simulator.startFlight();

    const auto ticks = static_cast<long>(options.seconds / tavi::sim::Simulator::kTickSeconds);
    const auto tickPeriod = std::chrono::duration<double>(tavi::sim::Simulator::kTickSeconds);
    auto next = std::chrono::steady_clock::now();
    for (long i = 0; i < ticks; ++i) {
        simulator.step();
        if (options.realtime) {
            next += std::chrono::duration_cast<std::chrono::steady_clock::duration>(tickPeriod);
            std::this_thread::sleep_until(next);
        }
    }
    linkage->moduleDeinit();
    dlclose(module);

    const fs::path logPath = modulePath.parent_path() / "tavi.log";
    std::printf("tavi-sim: %ld frames in %.1f simulated seconds\n", ticks,
                simulator.simulatorSeconds());
    std::printf("tavi-sim: start-up %s\n", !fs::exists(logPath) ? "unknown: the module wrote no log"
                                           : hasLine(logPath, "Plane initialised") ? "complete"
                                                                                   : "not reached");
    std::printf("tavi-sim: log %s\n", logPath.c_str());
    // The sanitizer build's leak check ends the process without flushing a piped stdout.
    std::fflush(stdout);
    return 0;
}
