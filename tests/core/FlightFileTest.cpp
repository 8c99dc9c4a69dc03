#include "support/FileSizeLimit.h"
#include "support/FlightScenario.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/inotify.h>
#include <unistd.h>
#include <vector>

namespace tavi::test {
namespace {

bool logHolds(const ModuleHarness& module, const std::string& start) {
    const std::vector<std::string> lines = module.logLines();
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& line) { return line.rfind(start, 0) == 0; });
}

// The renames that land on one name in a folder, as the kernel reports them.
class RenameWatch {
public:
    RenameWatch(const std::filesystem::path& folder, std::string name)
        : descriptor(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)), name(std::move(name)) {
        ::inotify_add_watch(descriptor, folder.c_str(), IN_MOVED_TO);
    }
    RenameWatch(const RenameWatch&) = delete;
    RenameWatch& operator=(const RenameWatch&) = delete;
    ~RenameWatch() { ::close(descriptor); }

    int renamesSoFar() {
        alignas(inotify_event) std::array<char, 65536> buffer{};
        for (ssize_t length; (length = ::read(descriptor, buffer.data(), buffer.size())) > 0;) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                if (event->len > 0 && name == event->name) {
                    ++renames;
                }
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return renames;
    }

private:
    int descriptor;
    std::string name;
    int renames = 0;
};

// A flight in the air with a route, saved and loaded through the stand-in's notifications.
class FlightFile : public testing::Test {
protected:
    void SetUp() override {
        flight.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
        flightFile = flight.module.folder.path() / "Flights" / "saved.flt";
        std::filesystem::create_directories(flightFile.parent_path());
    }
    void save() {
        flight.simulator().saveFlight(flightFile.string());
        flight.simulator().step();
    }
    void load() {
        flight.simulator().loadFlight(flightFile.string());
        flight.simulator().step();
    }
    void request(const std::string& name) {
        flight.simulator().panel.setNamedVariable(name, 1.0);
        flight.simulator().step();
    }
    double variable(const std::string& name) {
        return flight.simulator().panel.namedVariable(name);
    }

    FlightScenario flight;
    std::filesystem::path flightFile;
};

TEST_F(FlightFile, ASaveReplacesTheFileOnceAndKeepsTheSimulatorsOwnSections) {
    flight.module.folder.write("Flights/saved.flt", "[Sim.Aircraft]\ntitle=Twin\n");
    RenameWatch watch(flightFile.parent_path(), "saved.flt");
    save();
    EXPECT_EQ(watch.renamesSoFar(), 1);
    save();
    EXPECT_EQ(watch.renamesSoFar(), 2) << "one replacement per save";

    const std::string text = TempFolder::read(flightFile);
    EXPECT_EQ(text.rfind("[Sim.Aircraft]\ntitle=Twin\n", 0), 0u);
    for (const char* section : {"[FMC]", "[TAVI.PFD]"}) {
        EXPECT_NE(text.find(section), std::string::npos) << section;
    }
    EXPECT_EQ(TempFolder::namesIn(flightFile.parent_path()), std::vector<std::string>{"saved.flt"});
}

TEST_F(FlightFile, AFailedSaveKeepsTheSavedFlightAndSaysWhy) {
    request("TaviPfd1Brg1Inc");
    save();
    const std::string saved = TempFolder::read(flightFile);
    request("TaviPfd1Brg1Inc");
    // Room for the log's next lines, not for the flight.
    const auto logSize = std::filesystem::file_size(flight.module.folder / "panel/tavi.log");
    ASSERT_LT(logSize + 4096, saved.size());
    {
        const FileSizeLimit fullDisk(logSize + 4096);
        save();
    }
    EXPECT_EQ(TempFolder::read(flightFile), saved);
    EXPECT_TRUE(logHolds(flight.module, "Flight state not saved: " + flightFile.string() +
                                            " could not be written"));
    EXPECT_EQ(TempFolder::namesIn(flightFile.parent_path()), std::vector<std::string>{"saved.flt"});

    // A flight path that is no file at all is neither written nor read.
    const std::filesystem::path folder = flightFile.parent_path() / "folder.flt";
    std::filesystem::create_directories(folder);
    flight.simulator().saveFlight(folder.string());
    flight.simulator().loadFlight(folder.string());
    flight.simulator().step();
    EXPECT_TRUE(logHolds(flight.module,
                         "Flight state not saved: " + folder.string() + " is not a regular file"));
    EXPECT_TRUE(logHolds(flight.module,
                         "Flight state not loaded: " + folder.string() + " is not a regular file"));
    EXPECT_EQ(variable("TaviPfd1Brg1"), 2.0);
}

TEST_F(FlightFile, TheBearingSourcesOfBothPfdsComeBackWithTheFlight) {
    request("TaviPfd1Brg1Inc");
    request("TaviPfd1Brg1Inc");
    request("TaviPfd2Brg2Inc");
    request("TaviPfd2Brg2Inc");
    request("TaviPfd2Brg2Inc");
    save();
    request("TaviPfd1Brg1Dec");
    request("TaviPfd2Brg2Dec");
    request("TaviPfd1Brg2Inc");
    ASSERT_EQ(variable("TaviPfd1Brg1"), 1.0);
    load();
    flight.simulator().step();
    EXPECT_EQ(variable("TaviPfd1Brg1"), 2.0);
    EXPECT_EQ(variable("TaviPfd1Brg2"), 0.0);
    EXPECT_EQ(variable("TaviPfd2Brg1"), 0.0);
    EXPECT_EQ(variable("TaviPfd2Brg2"), 3.0);
}

// A save cut short by a kill leaves a temporary file named after the file it was to replace.
TEST(LeftoverTemporaries, TheModulesOwnAreRemovedAtTheNextStartAndNothingElse) {
    FlightScenario flight;
    const TempFolder& root = flight.module.folder;
    const std::vector<std::string> leftovers = {
        "Flights/.saved.flt.tmp4242-0", "Orvane/CustomDB/.KSEA.ri2v.fpl.tmp17-3",
        "Orvane/CustomDB/.WPT01.ri2v.wpt.tmp17-0", "Orvane/PerfDB/.vosk300x.perf.tmp99-1"};
    const std::vector<std::string> kept = {
        "Flights/saved.flt", "Flights/.saved.flt.tmp", "Flights/.saved.flt.tmpA-1",
        "Orvane/CustomDB/KSEA.fpl.tmp17-3", "Orvane/CustomDB/notes.tmp1-2x"};
    for (const std::string& name : leftovers) {
        root.write(name, "half a save");
    }
    for (const std::string& name : kept) {
        root.write(name, "[Other]\nkept=1\n");
    }
    flight.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
    flight.simulator().loadFlight((root / "Flights/saved.flt").string());
    flight.simulator().step();
    for (const std::string& name : leftovers) {
        EXPECT_FALSE(std::filesystem::exists(root / name)) << name;
    }
    for (const std::string& name : kept) {
        EXPECT_TRUE(std::filesystem::exists(root / name)) << name;
    }
}

} // namespace
} // namespace tavi::test
