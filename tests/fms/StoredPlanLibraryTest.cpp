#include "fms/StoredPlanLibrary.h"

#include "FlightPlanTestSupport.h"
#include "support/CommaLocale.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <map>

namespace tavi::test {
namespace {

namespace fs = std::filesystem;

// The navigation database as the library sees it: points found again by kind and ident.
class FakeDatabase {
public:
    void add(const Waypoint& point) { points[{point.kind, point.ident}] = point; }
    void add(const Runway& runway) {
        points[{runway.kind, runway.ident}] = runway;
        runways[runway.ident] = runway;
    }

    bool resolve(Waypoint& point, std::span<const std::string> airports) {
        lastAirports.assign(airports.begin(), airports.end());
        const auto found = points.find({point.kind, point.ident});
        if (found == points.end()) {
            return false;
        }
        auto* runway = dynamic_cast<Runway*>(&point);
        if (runway && point.kind == WaypointKind::Runway) {
            *runway = runways.at(point.ident);
        } else {
            point = found->second;
        }
        return true;
    }

    std::vector<std::string> lastAirports;

private:
    std::map<std::pair<WaypointKind, std::string>, Waypoint> points;
    std::map<std::string, Runway> runways;
};

std::vector<std::string> namesOf(const StoredPlanLibrary& library) {
    std::vector<std::string> names;
    for (const auto& [name, plan] : library.plans()) {
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string headerFile(const char* origin, const char* destination) {
    return std::string("[Origin]\nident=") + origin +
           "\ntype=1\nlatitude=47.0\nlongtitude=8.0\n[Destination]\nident=" + destination +
           "\ntype=1\nlatitude=51.0\nlongtitude=0.0\n";
}

class StoredPlanLibraryTest : public testing::Test {
protected:
    StoredPlanLibraryTest()
        : library(
              [this](Waypoint& point, std::span<const std::string> airports) {
                  return database.resolve(point, airports);
              },
              [this](std::string_view line) { lines.emplace_back(line); }) {
        database.add(airport("KAAA", 47.0, 8.0));
        database.add(airport("KBBB", 51.0, 0.0));
        database.add(airport("KCCC", 40.0, -70.0));
        database.add(fix("P"));
        database.add(fix("Q"));
        fs::create_directories(customFolder());
    }

    fs::path customFolder() const { return root.path() / "CustomDB"; }
    fs::path write(const std::string& name, const std::string& text) const {
        return root.write("CustomDB/" + name, text);
    }
    void scan() { library.loadStoredPlans(customFolder(), context); }

    FlightPlan plan(const std::string& name, const std::string& route) const {
        FlightPlan made = planFrom(route);
        made.org = airport("KAAA", 47.0, 8.0);
        made.dest = airport("KBBB", 51.0, 0.0);
        made.setName(name);
        return made;
    }

    TempFolder root;
    FakeDatabase database;
    FakeFlightPlanContext context;
    std::vector<std::string> lines;
    StoredPlanLibrary library;
};

TEST_F(StoredPlanLibraryTest, SavedFileHoldsTheHeaderAndOnePointPerLeg) {
    const CommaLocale locale;
    scan();
    FlightPlan saved = plan("TEST", "P / Q");
    saved.gspd = 280;
    ASSERT_TRUE(library.savePlanFile(saved));
    EXPECT_EQ(TempFolder::read(customFolder() / "TEST.ri2v.fpl"), "[Origin]\n"
                                                                  "ident=KAAA\n"
                                                                  "type=1\n"
                                                                  "latitude=47.000000\n"
                                                                  "longtitude=8.000000\n"
                                                                  "[Destination]\n"
                                                                  "ident=KBBB\n"
                                                                  "type=1\n"
                                                                  "latitude=51.000000\n"
                                                                  "longtitude=0.000000\n"
                                                                  "[Route]\n"
                                                                  "gspd=280\n"
                                                                  "countOfPoints=3\n"
                                                                  "Wpt.00.ident=P\n"
                                                                  "Wpt.00.type=4\n"
                                                                  "Wpt.00.latitude=0.000000\n"
                                                                  "Wpt.00.longtitude=1.600000\n"
                                                                  "Wpt.01.ident=\n"
                                                                  "Wpt.01.type=0\n"
                                                                  "Wpt.01.latitude=0.000000\n"
                                                                  "Wpt.01.longtitude=0.000000\n"
                                                                  "Wpt.02.ident=Q\n"
                                                                  "Wpt.02.type=4\n"
                                                                  "Wpt.02.latitude=0.000000\n"
                                                                  "Wpt.02.longtitude=1.700000\n");
}

TEST_F(StoredPlanLibraryTest, SavedPlanReadsBackWithItsBreak) {
    scan();
    FlightPlan saved = plan("TEST", "P / Q");
    saved.gspd = 280;
    ASSERT_TRUE(library.savePlanFile(saved));

    FlightPlan loaded = planFrom("X Y Z");
    ASSERT_TRUE(library.loadPlanFile(loaded, "TEST", customFolder() / "TEST.ri2v.fpl", context));
    EXPECT_EQ(loaded.name(), "TEST");
    EXPECT_EQ(loaded.org.ident, "KAAA");
    EXPECT_EQ(loaded.dest.ident, "KBBB");
    EXPECT_EQ(loaded.gspd, 280u);
    EXPECT_EQ(routeOf(loaded), "P / Q");
    EXPECT_EQ(loaded.legs[0].wpt.id, fix("P").id) << "the database's record";
    EXPECT_TRUE(loaded.recalculated);
    EXPECT_EQ(database.lastAirports, (std::vector<std::string>{"KBBB", "KAAA"}))
        << "a runway is looked for at the destination, then the origin";
}

Runway runwayAt(const char* ident, const char* airport, double latitude, double longitude) {
    Runway runway;
    static_cast<Waypoint&>(runway) = fix(ident);
    runway.kind = WaypointKind::Runway;
    runway.aptIdent = airport;
    runway.latitude = latitude;
    runway.longitude = longitude;
    runway.trueHeading = 92.5f;
    runway.length = 9000;
    return runway;
}

TEST_F(StoredPlanLibraryTest, PlanWithRunwaysAtBothEndsReadsBackTheSame) {
    database.add(runwayAt("RW09", "KAAA", 47.0, 8.0));
    database.add(runwayAt("RW27", "KBBB", 51.0, 0.01));
    scan();
    FlightPlan saved = plan("RWYS", "P Q");
    saved.org = runwayAt("RW09", "KAAA", 47.0, 8.04);
    saved.dest = runwayAt("RW27", "KBBB", 51.0, 0.01);
    ASSERT_TRUE(library.savePlanFile(saved));
    // The plan read back has its runways whole: the takeoff position update and the go-around
    // take their positions from them.
    scan();
    const FlightPlan header = library.plans().at("RWYS");
    for (const Runway& runway : {header.orgRwy, header.destRwy}) {
        EXPECT_EQ(runway.kind, WaypointKind::Runway);
        EXPECT_EQ(runway.length, 9000);
        EXPECT_EQ(runway.trueHeading, 92.5f);
    }
    EXPECT_EQ(header.orgRwy.ident, "RW09");
    EXPECT_EQ(header.orgRwy.latitude, 47.0) << "the threshold";
    EXPECT_EQ(header.orgRwy.longitude, 8.0);
    EXPECT_EQ(header.destRwy.ident, "RW27");

    scan();
    EXPECT_TRUE(library.contains("RWYS")) << "kept on the list after a restart";
    FlightPlan loaded;
    ASSERT_TRUE(library.loadPlanFile(loaded, "RWYS", customFolder() / "RWYS.ri2v.fpl", context));
    EXPECT_EQ(routeOf(loaded), "P Q");
    for (const auto& [read, written] :
         {std::pair{loaded.org, saved.org}, {loaded.dest, saved.dest}}) {
        EXPECT_EQ(read.kind, WaypointKind::Runway) << written.ident;
        EXPECT_EQ(read.ident, written.ident);
        EXPECT_EQ(read.aptIdent, written.aptIdent);
        EXPECT_EQ(read.latitude, written.latitude) << written.ident;
        EXPECT_EQ(read.longitude, written.longitude) << written.ident;
    }
}

TEST_F(StoredPlanLibraryTest, AnOriginRunwayPositionFarFromTheRunwayIsTheDatabases) {
    database.add(runwayAt("RW09", "KAAA", 47.0, 8.0));
    const struct {
        const char* latitude;
        const char* longitude;
    } damaged[] = {{"nan", "8.0"},    {"47.0", "inf"},   {"47.0", "8065.0"},
                   {"47.0", "368.0"}, {"40.0", "-70.0"}, {"47.2", "8.0"}};
    for (const auto& [latitude, longitude] : damaged) {
        write("RWY.ri2v.fpl", std::string("[Origin]\nident=RW09\ntype=6\nlatitude=") + latitude +
                                  "\nlongtitude=" + longitude +
                                  "\n[Destination]\nident=KBBB\ntype=1\n");
        FlightPlan loaded;
        ASSERT_TRUE(library.loadPlanFile(loaded, "RWY", customFolder() / "RWY.ri2v.fpl", context));
        EXPECT_EQ(loaded.org.latitude, 47.0) << latitude << " " << longitude;
        EXPECT_EQ(loaded.org.longitude, 8.0) << latitude << " " << longitude;
    }
}

TEST_F(StoredPlanLibraryTest, PointsTheDatabaseCannotGiveBackAreSavedAsBreaksAndNamed) {
    scan();
    ASSERT_TRUE(library.savePlanFile(plan("VECT", "P *INT01 / (VECTORS) Q")));

    FlightPlan loaded;
    ASSERT_TRUE(library.loadPlanFile(loaded, "VECT", customFolder() / "VECT.ri2v.fpl", context));
    EXPECT_EQ(routeOf(loaded), "P / Q") << "one break where the route cannot be kept";
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Stored flight plan point kept as a route break: *INT01",
                         "Stored flight plan point kept as a route break: (VECTORS)"}));
}

TEST_F(StoredPlanLibraryTest, PointThatCannotBeFoundLeavesAnEmptyPlan) {
    write("LOST.ri2v.fpl", headerFile("KAAA", "KBBB") +
                               "[Route]\ncountOfPoints=2\nWpt.00.ident=P\nWpt.00.type=4\n"
                               "Wpt.01.ident=NOWHERE\nWpt.01.type=4\n");
    FlightPlan loaded;
    EXPECT_FALSE(library.loadPlanFile(loaded, "LOST", customFolder() / "LOST.ri2v.fpl", context));
    EXPECT_EQ(loaded.legCount(), 0u);
    EXPECT_FALSE(loaded.hasOriginAndDestination());
}

TEST_F(StoredPlanLibraryTest, CountBeyondTheWrittenPointsFailsTheRead) {
    write("LONG.ri2v.fpl",
          headerFile("KAAA", "KBBB") +
              "[Route]\ncountOfPoints=2000000000\nWpt.00.ident=P\nWpt.00.type=4\n");
    FlightPlan loaded;
    EXPECT_FALSE(library.loadPlanFile(loaded, "LONG", customFolder() / "LONG.ri2v.fpl", context));
    EXPECT_EQ(loaded.legCount(), 0u);
}

TEST_F(StoredPlanLibraryTest, MissingOrBadGroundSpeedReadsAs300) {
    for (const char* speed : {"", "gspd=0\n", "gspd=-40\n", "gspd=fast\n"}) {
        write("SPD.ri2v.fpl",
              headerFile("KAAA", "KBBB") + "[Route]\n" + speed + "countOfPoints=0\n");
        FlightPlan loaded;
        ASSERT_TRUE(library.loadPlanFile(loaded, "SPD", customFolder() / "SPD.ri2v.fpl", context));
        EXPECT_EQ(loaded.gspd, 300u) << speed;
    }
}

TEST_F(StoredPlanLibraryTest, HeaderNeedsBothEnds) {
    write("HALF.ri2v.fpl", headerFile("KAAA", "KXXX"));
    FlightPlan loaded;
    EXPECT_FALSE(
        library.readPlanFileHeader(loaded, "HALF", customFolder() / "HALF.ri2v.fpl", context));
    EXPECT_EQ(loaded.org.ident, "KAAA") << "the origin stays set";
    EXPECT_EQ(loaded.dest.kind, WaypointKind::Plain);
    EXPECT_FALSE(
        library.readPlanFileHeader(loaded, "NONE", customFolder() / "NONE.ri2v.fpl", context));
    EXPECT_EQ(loaded.org.kind, WaypointKind::Plain);
}

TEST_F(StoredPlanLibraryTest, FolderScanKeysPlansByUpperCasedNameAndSkipsBadFiles) {
    write("kjfk-egll.ri2v.fpl", headerFile("KAAA", "KBBB") + "[Route]\ncountOfPoints=0\n");
    write("TWO.DOTS.ri2v.fpl", headerFile("KBBB", "KCCC"));
    write("ABCDEFGHIJ.ri2v.fpl", headerFile("KAAA", "KCCC"));
    write("ABCDEFGHIJK.ri2v.fpl", headerFile("KAAA", "KCCC"));
    write("BAD.ri2v.fpl", headerFile("KXXX", "KBBB"));
    write("EMPTY.RI2V.FPL", "");
    write("OTHER.ri2v.wpt", headerFile("KAAA", "KBBB"));
    library.savePlanFile(plan("GONE", "P"));
    scan();

    EXPECT_EQ(namesOf(library), (std::vector<std::string>{"ABCDEFGHIJ", "KJFK-EGLL", "TWO"}));
    EXPECT_EQ(library.plans().at("TWO").dest.ident, "KCCC");
    EXPECT_EQ(library.plans().at("TWO").name(), "TWO");
    EXPECT_EQ(lines, (std::vector<std::string>{"Stored flight plan skipped: ABCDEFGHIJK.ri2v.fpl",
                                               "Stored flight plan skipped: BAD.ri2v.fpl",
                                               "Stored flight plan skipped: EMPTY.RI2V.FPL"}));
    EXPECT_EQ(filesIn(customFolder()).size(), 7u) << "skipped files stay on disk";
}

TEST_F(StoredPlanLibraryTest, SavingKeepsTheWholePlanUntilTheNextScan) {
    write("KEPT.ri2v.fpl", headerFile("KAAA", "KBBB") + "[Route]\ncountOfPoints=0\n");
    scan();
    ASSERT_TRUE(library.savePlanFile(plan("NEW", "P Q")));
    FlightPlan shown;
    ASSERT_TRUE(library.storedPlanAt(1, shown));
    EXPECT_EQ(shown.name(), "NEW");
    EXPECT_EQ(shown.legCount(), 2u);
    ASSERT_TRUE(library.storedPlanAt(0, shown));
    EXPECT_EQ(shown.name(), "KEPT");
    EXPECT_FALSE(library.storedPlanAt(2, shown));

    scan();
    ASSERT_TRUE(library.storedPlanAt(1, shown));
    EXPECT_EQ(shown.name(), "NEW");
    EXPECT_EQ(shown.legCount(), 0u) << "a scan keeps the headers only";
}

TEST_F(StoredPlanLibraryTest, NamesThatCannotNameAPlanFileAreRefused) {
    scan();
    for (const char* name : {"", "../ESCAPE", "A/B", "A\\B", "A.B", "*", "ELEVENCHARS", "TAB\t"}) {
        EXPECT_FALSE(library.savePlanFile(plan(name, "P"))) << name;
        EXPECT_FALSE(library.fileFor(name).has_value()) << name;
    }
    EXPECT_TRUE(library.plans().empty());
    EXPECT_TRUE(filesIn(customFolder()).empty());
    EXPECT_TRUE(filesIn(root.path()) == std::vector<std::string>{"CustomDB"});
}

TEST_F(StoredPlanLibraryTest, NothingIsSavedBeforeTheFolderIsKnown) {
    EXPECT_FALSE(library.savePlanFile(plan("TEST", "P")));
    EXPECT_TRUE(library.plans().empty());
}

TEST_F(StoredPlanLibraryTest, SavingReplacesTheFileWhateverTheCaseOfItsName) {
    write("test.ri2v.fpl", headerFile("KBBB", "KCCC"));
    scan();
    ASSERT_TRUE(library.savePlanFile(plan("TEST", "P")));
    EXPECT_EQ(filesIn(customFolder()), std::vector<std::string>{"TEST.ri2v.fpl"});
    EXPECT_EQ(namesOf(library), std::vector<std::string>{"TEST"});
    EXPECT_EQ(library.fileFor("test"), customFolder() / "TEST.ri2v.fpl");
}

TEST_F(StoredPlanLibraryTest, AFullDiskKeepsTheOldPlanAndSaysSo) {
    scan();
    ASSERT_TRUE(library.savePlanFile(plan("KEPT", "P")));
    const std::string before = TempFolder::read(customFolder() / "KEPT.ri2v.fpl");
    {
        const test::FileSizeLimit diskFull(20);
        EXPECT_FALSE(library.savePlanFile(plan("KEPT", "P / Q")));
    }
    EXPECT_EQ(TempFolder::read(customFolder() / "KEPT.ri2v.fpl"), before);
    EXPECT_EQ(filesIn(customFolder()), std::vector<std::string>{"KEPT.ri2v.fpl"});
    EXPECT_EQ(lines.back(), "Stored flight plan not saved: KEPT.ri2v.fpl");
}

TEST_F(StoredPlanLibraryTest, RefreshReadsTheHeaderAgainOrDropsAGoneFile) {
    write("ONE.ri2v.fpl", headerFile("KAAA", "KBBB"));
    write("TWO.ri2v.fpl", headerFile("KAAA", "KBBB"));
    scan();
    write("ONE.ri2v.fpl", headerFile("KAAA", "KCCC"));
    library.refreshEntry("ONE", context);
    EXPECT_EQ(library.plans().at("ONE").dest.ident, "KCCC");

    fs::remove(customFolder() / "TWO.ri2v.fpl");
    library.refreshEntry("TWO", context);
    EXPECT_EQ(namesOf(library), std::vector<std::string>{"ONE"});
    EXPECT_EQ(lines.back(), "Stored flight plan skipped: TWO.ri2v.fpl");

    library.refreshEntry("THREE", context);
    EXPECT_EQ(namesOf(library), std::vector<std::string>{"ONE"}) << "no entry is made";
}

TEST_F(StoredPlanLibraryTest, ListHasFourPlansToAPage) {
    scan();
    EXPECT_EQ(library.pageCount(), 1u);
    for (const char* name : {"A", "B", "C", "D"}) {
        ASSERT_TRUE(library.savePlanFile(plan(name, "P")));
    }
    EXPECT_EQ(library.pageCount(), 1u);
    ASSERT_TRUE(library.savePlanFile(plan("E", "P")));
    EXPECT_EQ(library.pageCount(), 2u);
}

} // namespace
} // namespace tavi::test
