// The module's saves killed at chosen moments: a child process saves the flight, a stored plan, a
// pilot waypoint and the perf file over and over, and is killed at the n-th system call it makes,
// n drawn from a seeded generator, so every run kills at the same places.
#include "fms/Fms.h"
#include "fms/FmsPerf.h"
#include "support/ModuleHarness.h"
#include "support/PredictionRoute.h"

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace tavi::test {
namespace {

namespace fs = std::filesystem;

constexpr unsigned kSeed = 4040;
constexpr int kKills = 80;
// One round of the four saves takes a few hundred system calls; the kills fall within the first
// rounds.
constexpr int kLatestKill = 2000;

const std::string kWaypoints[] = {"KILLA", "KILLB"};

// The cold and dark aircraft parked, so that what it saves changes only with the pilot's choices.
class SavingModule {
public:
    SavingModule() {
        module.writeIni("");
        module.startModule();
        step(3);
        flightFile = module.folder.path() / "Flights" / "saved.flt";
        fs::create_directories(flightFile.parent_path());
        buildPredictionRoute(plans[0], 3, 20.0);
        buildPredictionRoute(plans[1], 5, 15.0);
        for (FlightPlan& plan : plans) {
            plan.setName("KILLED");
        }
    }

    // The four saves of one version of the pilot's state; each version's pilot waypoint takes
    // the other's place, so the flight saved holds the same points every time.
    void saveVersion(int version) {
        module.simulator.panel.setNamedVariable(
            version == 0 ? "TaviPfd1Brg1Dec" : "TaviPfd1Brg1Inc", 1.0);
        step(1);
        module.simulator.saveFlight(flightFile.string());
        step(1);
        fms().storedPlans().savePlanFile(plans[version]);
        fms().performance().setCell(FmsPerf::CruiseFuel, 5, 5, version == 0 ? 31.0f : 32.0f);
        fms().performance().save();
        fms().pilotPoints().remove(kWaypoints[1 - version]);
        PilotPoint point;
        point.ident = kWaypoints[version];
        point.latitude = 47.0 + version * 1.0e-3;
        point.longitude = 8.0;
        point.ppType = PilotPointType::PlaceBearingDistance;
        point.definition = "ZZAB/090/10";
        fms().pilotPoints().add(point);
    }

    // The files whose old or new version must stand after a kill.
    std::vector<fs::path> replacedFiles() const {
        return {flightFile, customFolder() / "KILLED.ri2v.fpl", perfFile()};
    }
    std::vector<std::string> contents() const {
        std::vector<std::string> bytes;
        for (const fs::path& file : replacedFiles()) {
            bytes.push_back(TempFolder::read(file));
        }
        return bytes;
    }
    fs::path customFolder() const { return module.folder.path() / "Orvane" / "CustomDB"; }
    fs::path perfFile() const { return module.folder.path() / "Orvane/PerfDB/vosk300x.perf"; }

    void step(int frames) {
        for (int i = 0; i < frames; ++i) {
            module.simulator.step();
        }
    }
    Fms& fms() { return *module.aircraft().fms(); }

    ModuleHarness module;
    fs::path flightFile;
    FlightPlan plans[2];
};

// The child's exit status when the machine forbids tracing it.
constexpr int kTracingRefused = 77;

// Saves in a child until the parent, tracing it, kills it at its n-th system call stop. False
// when the machine does not let the child be traced.
bool killWhileSaving(SavingModule& saving, int stops) {
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child == 0) {
        // Untraced, the child's stop below would never be reported and the test would hang.
        if (::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr) != 0) {
            ::_exit(kTracingRefused);
        }
        ::raise(SIGSTOP);
        for (int round = 0;; ++round) {
            saving.saveVersion(round % 2);
        }
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == kTracingRefused) {
        return false;
    }
    for (int stop = 0; stop < stops && WIFSTOPPED(status); ++stop) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, nullptr);
        ::waitpid(child, &status, 0);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
    return true;
}

std::vector<std::string> temporariesIn(const fs::path& folder) {
    std::vector<std::string> found;
    for (const std::string& name : TempFolder::namesIn(folder)) {
        if (name.find(".tmp") != std::string::npos) {
            found.push_back(name);
        }
    }
    return found;
}

TEST(SaveKill, EveryFileIsTheOldOrTheNewAndTheNextStartLeavesNoTemporary) {
    SavingModule saving;
    saving.saveVersion(0);
    saving.saveVersion(1);
    saving.saveVersion(0);
    const std::vector<std::string> first = saving.contents();
    saving.saveVersion(1);
    const std::vector<std::string> second = saving.contents();
    saving.step(20);
    saving.saveVersion(0);
    const std::vector<std::string> firstAgain = saving.contents();
    saving.saveVersion(1);
    for (std::size_t i = 0; i < first.size(); ++i) {
        ASSERT_TRUE(firstAgain[i] == first[i] && saving.contents()[i] == second[i])
            << saving.replacedFiles()[i] << ": a version saves the same bytes every time";
        ASSERT_TRUE(second[i] != first[i]) << saving.replacedFiles()[i];
    }

    std::mt19937 draw(kSeed);
    std::uniform_int_distribution<int> moment(1, kLatestKill);
    int leftBehind = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const int stops = moment(draw);
        if (!killWhileSaving(saving, stops)) {
            GTEST_SKIP() << "this machine does not let a test trace its own child";
        }
        const std::vector<std::string> now = saving.contents();
        for (std::size_t i = 0; i < now.size(); ++i) {
            EXPECT_TRUE(now[i] == first[i] || now[i] == second[i])
                << saving.replacedFiles()[i] << " after a kill at system call " << stops;
        }
        for (const fs::path& folder : {saving.flightFile.parent_path(), saving.customFolder(),
                                       saving.perfFile().parent_path()}) {
            leftBehind += static_cast<int>(temporariesIn(folder).size());
        }
    }
    EXPECT_GT(leftBehind, 0) << "no kill fell inside a save";

    // The next start: every pilot waypoint file reads, and no temporary file is left.
    saving.module.deinit();
    saving.module.startModule();
    saving.step(2);
    saving.module.simulator.loadFlight(saving.flightFile.string());
    saving.step(1);
    for (const fs::path& folder : {saving.flightFile.parent_path(), saving.customFolder(),
                                   saving.perfFile().parent_path()}) {
        EXPECT_EQ(temporariesIn(folder), std::vector<std::string>{}) << folder;
    }
    const std::vector<std::string> lines = saving.module.logLines();
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) {
                                return line.rfind("Pilot waypoint file skipped", 0) == 0;
                            }),
              0);
}

} // namespace
} // namespace tavi::test
