#include "navdata/PilotPointStore.h"

#include "navdata/MagDev.h"
#include "navdata/NavTestFixture.h"
#include "support/CommaLocale.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace tavi {
namespace {

namespace fs = std::filesystem;
using test::Lines;
using test::TempFolder;

std::string pointFile(const char* latitude, const char* longitude, const char* type,
                      const char* extra = "") {
    return std::string("[Waypoint]\nlatitude=") + latitude + "\nlongtitude=" + longitude +
           "\nppType=" + type + "\n" + extra;
}

std::vector<std::string> filesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> identsOf(const PilotPointStore& store) {
    std::vector<std::string> idents;
    for (const auto& [ident, point] : store.points()) {
        idents.push_back(ident);
    }
    return idents;
}

PilotPoint makePoint(std::string ident, double latitude, double longitude, PilotPointType type,
                     std::string definition = {}) {
    PilotPoint point;
    point.ident = std::move(ident);
    point.latitude = latitude;
    point.longitude = longitude;
    point.ppType = type;
    point.definition = std::move(definition);
    return point;
}

class PilotPointStoreTest : public testing::Test {
protected:
    PilotPointStoreTest()
        : magDev(test::uniformMagDev(root.path() / "grid.bgl", 2.0)),
          store(magDev, [this](std::string_view line) { lines.emplace_back(line); }) {}

    fs::path customFolder() const { return root.path() / "CustomDB"; }
    fs::path write(const std::string& name, const std::string& text) const {
        return root.write("CustomDB/" + name, text);
    }
    std::string read(const std::string& name) const {
        return TempFolder::read(customFolder() / name);
    }

    TempFolder root;
    MagDev magDev;
    Lines lines;
    PilotPointStore store;
};

TEST_F(PilotPointStoreTest, LoadsTheValidFilesOfTheFolder) {
    write("abc.ri2v.wpt", pointFile("47.100000", "8.200000", "PBD", "pbd=ABC/090.0/10.0\n"));
    write("ABCDEF.ri2v.wpt", pointFile("47.0", "8.0", "LL"));
    write("LOWPP.ri2v.wpt", pointFile("47.0", "8.0", "ll"));
    write("NORTH.ri2v.wpt", pointFile("90.0", "-180.0", "PBPB"));
    write("OVER.ri2v.wpt", pointFile("90.5", "8.0", "LL"));
    write("WEST.ri2v.wpt", pointFile("10.0", "-180.5", "LL"));
    write("NAN.ri2v.wpt", pointFile("nan", "8.0", "LL"));
    write("NOTYP.ri2v.wpt", "[Waypoint]\nlatitude=1.0\nlongtitude=2.0\n");
    write("BARE.RI2V.WPT", pointFile("1.5", "2.5", "LL"));
    write("other.txt", pointFile("1.0", "1.0", "LL"));
    const std::vector<std::string> before = filesIn(customFolder());

    store.loadFolder(customFolder());

    EXPECT_EQ(identsOf(store), (std::vector<std::string>{"ABC", "BARE", "NORTH"}));
    const PilotPoint* abc = store.find("ABC");
    ASSERT_NE(abc, nullptr);
    EXPECT_EQ(abc->ident, "ABC");
    EXPECT_EQ(abc->kind, WaypointKind::PilotWaypoint);
    EXPECT_EQ(abc->latitude, 47.1);
    EXPECT_EQ(abc->longitude, 8.2);
    EXPECT_EQ(abc->ppType, PilotPointType::PlaceBearingDistance);
    EXPECT_EQ(abc->definition, "ABC/090.0/10.0");
    EXPECT_EQ(abc->variation, magDev.variation(47.1f, 8.2f));
    EXPECT_EQ(store.find("NORTH")->ppType, PilotPointType::PlaceBearingPlaceBearing);
    EXPECT_EQ(store.find("NORTH")->longitude, -180.0);
    EXPECT_TRUE(store.find("BARE")->definition.empty());
    EXPECT_EQ(store.find("abc"), nullptr);

    std::sort(lines.begin(), lines.end());
    EXPECT_EQ(lines, (Lines{"Pilot waypoint file skipped: LOWPP.ri2v.wpt",
                            "Pilot waypoint file skipped: NAN.ri2v.wpt",
                            "Pilot waypoint file skipped: NOTYP.ri2v.wpt",
                            "Pilot waypoint file skipped: OVER.ri2v.wpt",
                            "Pilot waypoint file skipped: WEST.ri2v.wpt"}));
    EXPECT_EQ(filesIn(customFolder()), before);
}

TEST_F(PilotPointStoreTest, LoadingEmptiesTheStoreAndAMissingFolderLeavesItEmpty) {
    store.add(makePoint("*LL01", 1.0, 2.0, PilotPointType::LatLon));
    write("ABC.ri2v.wpt", pointFile("47.0", "8.0", "LL"));
    store.loadFolder(customFolder());
    EXPECT_EQ(identsOf(store), std::vector<std::string>{"ABC"});
    store.loadFolder(root.path() / "absent");
    EXPECT_TRUE(store.points().empty());
    EXPECT_TRUE(lines.empty());
}

TEST_F(PilotPointStoreTest, AddWritesTheFileOfALastingPoint) {
    store.loadFolder(customFolder());
    fs::create_directories(customFolder());
    store.add(makePoint("WPA", 47.1, 8.2, PilotPointType::PlaceBearingDistance, "ABC/090.0/10.0"));
    store.add(makePoint("WPB", -33.25, -70.5, PilotPointType::LatLon));

    EXPECT_EQ(read("WPA.ri2v.wpt"), "[Waypoint]\nlatitude=47.100000\nlongtitude=8.200000\n"
                                    "ppType=PBD\npbd=ABC/090.0/10.0\n");
    EXPECT_EQ(read("WPB.ri2v.wpt"),
              "[Waypoint]\nlatitude=-33.250000\nlongtitude=-70.500000\nppType=LL\n");
    EXPECT_EQ(store.find("WPA")->variation, magDev.variation(47.1f, 8.2f));

    PilotPointStore reloaded(magDev, [](std::string_view) {});
    reloaded.loadFolder(customFolder());
    EXPECT_EQ(identsOf(reloaded), (std::vector<std::string>{"WPA", "WPB"}));
    EXPECT_EQ(reloaded.find("WPA")->definition, "ABC/090.0/10.0");
    EXPECT_EQ(reloaded.find("WPB")->latitude, -33.25);
}

TEST_F(PilotPointStoreTest, AFirstPointMakesTheMissingCustomFolder) {
    store.loadFolder(customFolder());
    store.add(makePoint("WPA", 47.1, 8.2, PilotPointType::LatLon));

    PilotPointStore reloaded(magDev, [](std::string_view) {});
    reloaded.loadFolder(customFolder());
    EXPECT_EQ(identsOf(reloaded), std::vector<std::string>{"WPA"});
    EXPECT_TRUE(lines.empty());
}

TEST_F(PilotPointStoreTest, AddWritesNumbersInTheCLocale) {
    const test::CommaLocale comma;
    if (!comma.isActive()) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    store.loadFolder(customFolder());
    fs::create_directories(customFolder());
    store.add(makePoint("WPC", 1.5, -2.25, PilotPointType::LatLon));
    EXPECT_EQ(read("WPC.ri2v.wpt"),
              "[Waypoint]\nlatitude=1.500000\nlongtitude=-2.250000\nppType=LL\n");
}

TEST_F(PilotPointStoreTest, TemporaryUndefinedAndUnsafePointsWriteNoFile) {
    store.loadFolder(customFolder());
    fs::create_directories(customFolder());
    store.add(makePoint("*LL01", 47.0, 8.0, PilotPointType::LatLon));
    store.add(makePoint("NONE", 47.0, 8.0, PilotPointType::Undefined));
    store.add(makePoint("../UP", 47.0, 8.0, PilotPointType::LatLon));
    store.add(makePoint("A.B", 47.0, 8.0, PilotPointType::LatLon));

    EXPECT_NE(store.find("*LL01"), nullptr);
    EXPECT_EQ(store.find("NONE"), nullptr);
    EXPECT_NE(store.find("../UP"), nullptr);
    EXPECT_NE(store.find("A.B"), nullptr);
    EXPECT_TRUE(filesIn(customFolder()).empty());
    EXPECT_EQ(filesIn(root.path()), (std::vector<std::string>{"CustomDB", "grid.bgl"}));

    store.remove("*LL01");
    store.remove("../UP");
    EXPECT_EQ(identsOf(store), std::vector<std::string>{"A.B"});
}

TEST_F(PilotPointStoreTest, AnIdentAlreadyHeldKeepsItsPointAndItsFile) {
    write("ABC.ri2v.wpt", pointFile("47.000000", "8.000000", "LL"));
    store.loadFolder(customFolder());
    store.add(makePoint("ABC", 10.0, 20.0, PilotPointType::PlaceBearingDistance, "X/1/2"));
    EXPECT_EQ(store.find("ABC")->latitude, 47.0);
    EXPECT_EQ(read("ABC.ri2v.wpt"), pointFile("47.000000", "8.000000", "LL"));
}

TEST_F(PilotPointStoreTest, RewritingAFileKeepsItsOtherKeysAndItsName) {
    write("lowpp.ri2v.wpt", pointFile("1.0", "2.0", "ll", "pbd=OLD\nnote=keep\n"));
    store.loadFolder(customFolder());
    EXPECT_EQ(store.find("LOWPP"), nullptr);

    store.add(makePoint("LOWPP", 47.5, 8.5, PilotPointType::LatLon));

    EXPECT_EQ(filesIn(customFolder()), std::vector<std::string>{"lowpp.ri2v.wpt"});
    EXPECT_EQ(read("lowpp.ri2v.wpt"), "[Waypoint]\nlatitude=47.500000\nlongtitude=8.500000\n"
                                      "ppType=LL\nnote=keep\n");
}

TEST_F(PilotPointStoreTest, RemoveDeletesThePointsFileWhateverItsCase) {
    write("abc.ri2v.wpt", pointFile("47.0", "8.0", "LL"));
    write("Bad.ri2v.wpt", pointFile("47.0", "8.0", "xx"));
    write("KEEP.ri2v.wpt", pointFile("46.0", "7.0", "LL"));
    store.loadFolder(customFolder());

    store.remove("ABC");
    store.remove("BAD");
    store.remove("abc");

    EXPECT_EQ(store.find("ABC"), nullptr);
    EXPECT_EQ(filesIn(customFolder()), (std::vector<std::string>{"Bad.ri2v.wpt", "KEEP.ri2v.wpt"}));
    store.loadFolder(customFolder());
    EXPECT_EQ(identsOf(store), std::vector<std::string>{"KEEP"});
}

TEST_F(PilotPointStoreTest, AFullDiskKeepsTheOldFileAndSaysSo) {
    const std::string before = pointFile("1.0", "2.0", "ll", "pbd=OLD\n");
    write("FULL.ri2v.wpt", before);
    store.loadFolder(customFolder());
    {
        const test::FileSizeLimit diskFull(8);
        store.add(makePoint("FULL", 47.5, 8.5, PilotPointType::LatLon));
    }
    EXPECT_EQ(read("FULL.ri2v.wpt"), before);
    EXPECT_EQ(filesIn(customFolder()), std::vector<std::string>{"FULL.ri2v.wpt"});
    EXPECT_EQ(lines.back(), "Pilot waypoint file not saved: FULL.ri2v.wpt");
    EXPECT_NE(store.find("FULL"), nullptr) << "the point stays in the store";
}

TEST_F(PilotPointStoreTest, PointsAreOrderedByCharacterCodes) {
    for (const char* ident : {"B", "AB", "A", "*LL02", "A1", "#X"}) {
        store.add(makePoint(ident, 1.0, 1.0, PilotPointType::LatLon));
    }
    EXPECT_EQ(identsOf(store), (std::vector<std::string>{"#X", "*LL02", "A", "A1", "AB", "B"}));
}

} // namespace
} // namespace tavi
