#include "core/Fs9Reader.h"
#include "navdata/Airport.h"
#include "navdata/Ils.h"
#include "navdata/Navaid.h"
#include "navdata/PilotPoint.h"
#include "navdata/Runway.h"
#include "navdata/Waypoint.h"
#include "platform/profile/Profile.h"
#include "support/BlobValue.h"
#include "support/TempFolder.h"

#include <bit>
#include <cstring>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tavi {
namespace {

using test::valueAt;

using test::TempFolder;
namespace profile = platform::profile;

constexpr char kSection[] = "FMC";

void fillWaypoint(Waypoint& waypoint, const char* ident) {
    waypoint.latitude = 47.123456789012345;
    waypoint.longitude = -122.30987654321;
    waypoint.id = 4711;
    waypoint.elevation = -12;
    waypoint.frequency = 0x01103000;
    waypoint.distance = 1.0 / 3.0;
    waypoint.variation = -15.3;
    waypoint.ident = ident;
    waypoint.aptIdent = "KSEA";
    waypoint.channel = "087X";
    waypoint.strType = "WPT";
}

void expectSameWaypointPart(const Waypoint& saved, const Waypoint& loaded) {
    EXPECT_EQ(std::bit_cast<uint64_t>(loaded.latitude), std::bit_cast<uint64_t>(saved.latitude));
    EXPECT_EQ(std::bit_cast<uint64_t>(loaded.longitude), std::bit_cast<uint64_t>(saved.longitude));
    EXPECT_EQ(loaded.id, saved.id);
    EXPECT_EQ(loaded.elevation, saved.elevation);
    EXPECT_EQ(loaded.frequency, saved.frequency);
    EXPECT_EQ(loaded.kind, saved.kind);
    EXPECT_EQ(loaded.distance, saved.distance);
    EXPECT_EQ(loaded.variation, saved.variation);
    EXPECT_EQ(loaded.ident, saved.ident);
    EXPECT_EQ(loaded.aptIdent, saved.aptIdent);
    EXPECT_EQ(loaded.channel, saved.channel);
    EXPECT_EQ(loaded.strType, saved.strType);
}

using Comparison = std::function<void(const Waypoint& saved, const Waypoint& loaded)>;

// One class of the family: a filled record, a fresh one, the comparison of the fields the class
// saves beyond the Waypoint part (or of its unsaved fields with their defaults), and the keys
// beyond the Waypoint keys.
struct ClassCase {
    const char* name;
    std::function<std::unique_ptr<Waypoint>()> filled;
    std::function<std::unique_ptr<Waypoint>()> fresh;
    Comparison expectSameExtras;
    Comparison expectUnsavedAtDefaults;
    std::vector<std::string> extraKeys;
};

std::unique_ptr<Waypoint> filledWaypoint() {
    auto waypoint = std::make_unique<Waypoint>();
    fillWaypoint(*waypoint, "ABCDE");
    waypoint->kind = WaypointKind::DatabaseWaypoint;
    return waypoint;
}

std::unique_ptr<Waypoint> filledAirport() {
    auto airport = std::make_unique<Airport>();
    fillWaypoint(*airport, "KSEA");
    airport->primaryId = 12;
    airport->name = "SEATTLE";
    return airport;
}

std::unique_ptr<Waypoint> filledIls() {
    auto ils = std::make_unique<Ils>();
    fillWaypoint(*ils, "ISNQ");
    ils->category = 3;
    ils->localizerCourse = 163.625;
    ils->hasDme = true;
    return ils;
}

std::unique_ptr<Waypoint> filledNavaid() {
    auto navaid = std::make_unique<Navaid>();
    fillWaypoint(*navaid, "SEA");
    navaid->navaidType = kNavaidVortac;
    navaid->usage = "H";
    navaid->typeText = "VORTAC";
    navaid->slavedVariation = 19.0;
    return navaid;
}

std::unique_ptr<Waypoint> filledPilotPoint() {
    auto point = std::make_unique<PilotPoint>();
    fillWaypoint(*point, "*PBD01");
    point->ppType = PilotPointType::PlaceBearingDistance;
    point->definition = "SEA090/12.5";
    return point;
}

std::unique_ptr<Waypoint> filledRunway() {
    auto runway = std::make_unique<Runway>();
    fillWaypoint(*runway, "RW16L");
    runway->trueHeading = 179.87654f;
    runway->magneticHeading = 0.1f;
    runway->length = 11901;
    runway->width = -150;
    return runway;
}

const std::vector<ClassCase>& classCases() {
    static const std::vector<ClassCase> cases = {
        {"Waypoint", filledWaypoint, [] { return std::make_unique<Waypoint>(); }, {}, {}, {}},
        {"Airport",
         filledAirport,
         [] { return std::make_unique<Airport>(); },
         {},
         [](const Waypoint&, const Waypoint& loaded) {
             const auto& airport = dynamic_cast<const Airport&>(loaded);
             EXPECT_EQ(airport.primaryId, 0);
             EXPECT_EQ(airport.name, "");
         },
         {}},
        {"Ils",
         filledIls,
         [] { return std::make_unique<Ils>(); },
         [](const Waypoint& saved, const Waypoint& loaded) {
             const auto& before = dynamic_cast<const Ils&>(saved);
             const auto& after = dynamic_cast<const Ils&>(loaded);
             EXPECT_EQ(after.category, before.category);
             EXPECT_EQ(after.localizerCourse, before.localizerCourse);
             EXPECT_EQ(after.hasDme, before.hasDme);
         },
         {},
         {"p.category", "p.crs", "p.hasDme"}},
        {"Navaid",
         filledNavaid,
         [] { return std::make_unique<Navaid>(); },
         {},
         [](const Waypoint&, const Waypoint& loaded) {
             const auto& navaid = dynamic_cast<const Navaid&>(loaded);
             EXPECT_EQ(navaid.navaidType, kNavaidVor);
             EXPECT_EQ(navaid.usage, "");
             EXPECT_EQ(navaid.typeText, "");
             EXPECT_EQ(navaid.slavedVariation, kNoSlavedVariation);
         },
         {}},
        {"PilotPoint",
         filledPilotPoint,
         [] { return std::make_unique<PilotPoint>(); },
         [](const Waypoint& saved, const Waypoint& loaded) {
             const auto& before = dynamic_cast<const PilotPoint&>(saved);
             const auto& after = dynamic_cast<const PilotPoint&>(loaded);
             EXPECT_EQ(after.ppType, before.ppType);
             EXPECT_EQ(after.definition, before.definition);
         },
         {},
         {"p.ppType", "p.pbd"}},
        {"Runway",
         filledRunway,
         [] { return std::make_unique<Runway>(); },
         [](const Waypoint& saved, const Waypoint& loaded) {
             const auto& before = dynamic_cast<const Runway&>(saved);
             const auto& after = dynamic_cast<const Runway&>(loaded);
             EXPECT_EQ(std::bit_cast<uint32_t>(after.trueHeading),
                       std::bit_cast<uint32_t>(before.trueHeading));
             EXPECT_EQ(std::bit_cast<uint32_t>(after.magneticHeading),
                       std::bit_cast<uint32_t>(before.magneticHeading));
             EXPECT_EQ(after.length, before.length);
             EXPECT_EQ(after.width, before.width);
         },
         {},
         {"p.rwData"}},
    };
    return cases;
}

std::vector<unsigned char> bytesOfHex(const std::string& text) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
        bytes.push_back(static_cast<unsigned char>(std::stoi(text.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

class WaypointState : public ::testing::Test {
protected:
    WaypointState() { file.path = (folder / "flight.sav").string(); }

    std::optional<std::string> stored(const std::string& key) const {
        return profile::lookup(file.path, kSection, key);
    }

    // The keys of the state file in the order they stand.
    std::vector<std::string> storedKeys() const {
        std::vector<std::string> keys;
        std::istringstream lines(TempFolder::read(file.path));
        for (std::string line; std::getline(lines, line);) {
            if (const auto equals = line.find('='); equals != std::string::npos) {
                keys.push_back(line.substr(0, equals));
            }
        }
        return keys;
    }

    TempFolder folder;
    StateFile file;
    Fs9Reader reader;
};

TEST_F(WaypointState, EveryClassRoundTripsWhatItSaves) {
    for (const ClassCase& c : classCases()) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(file.path);
        const std::unique_ptr<Waypoint> saved = c.filled();
        ASSERT_TRUE(saved->save(reader, file, kSection, "p"));

        std::vector<std::string> keys = {"p.data", "p.ident", "p.aptIdent", "p.channel",
                                         "p.strType"};
        keys.insert(keys.end(), c.extraKeys.begin(), c.extraKeys.end());
        EXPECT_EQ(storedKeys(), keys);

        const std::unique_ptr<Waypoint> loaded = c.fresh();
        loaded->load(reader, file, kSection, "p");
        expectSameWaypointPart(*saved, *loaded);
        if (c.expectSameExtras) {
            c.expectSameExtras(*saved, *loaded);
        }
        if (c.expectUnsavedAtDefaults) {
            c.expectUnsavedAtDefaults(*saved, *loaded);
        }
    }
}

TEST_F(WaypointState, MissingKeysKeepTheNumbersAndEmptyTheTexts) {
    for (const ClassCase& c : classCases()) {
        SCOPED_TRACE(c.name);
        const std::unique_ptr<Waypoint> held = c.filled();
        held->load(reader, file, kSection, "absent");

        const std::unique_ptr<Waypoint> expected = c.filled();
        expected->ident = expected->aptIdent = expected->channel = expected->strType = "";
        if (auto* point = dynamic_cast<PilotPoint*>(expected.get())) {
            point->definition = "";
        }
        expectSameWaypointPart(*expected, *held);
        if (c.expectSameExtras) {
            c.expectSameExtras(*expected, *held);
        }
    }
}

TEST_F(WaypointState, TheDataBlobHoldsTheFieldsInOrderAndWidth) {
    Runway runway;
    fillWaypoint(runway, "RW16L");
    runway.trueHeading = 163.5f;
    runway.magneticHeading = 147.25f;
    runway.length = 11901;
    runway.width = 150;
    ASSERT_TRUE(runway.save(reader, file, kSection, "fpl.destRwy"));

    const auto data = bytesOfHex(stored("fpl.destRwy.data").value_or(""));
    ASSERT_EQ(data.size(), 48u);
    EXPECT_EQ(valueAt<double>(data, 0), runway.latitude);
    EXPECT_EQ(valueAt<double>(data, 8), runway.longitude);
    EXPECT_EQ(valueAt<int32_t>(data, 16), 4711);
    EXPECT_EQ(valueAt<int32_t>(data, 20), -12);
    EXPECT_EQ(valueAt<int32_t>(data, 24), 0x01103000);
    EXPECT_EQ(valueAt<int32_t>(data, 28), 6);
    EXPECT_EQ(valueAt<double>(data, 32), runway.distance);
    EXPECT_EQ(valueAt<double>(data, 40), -15.3);
    EXPECT_EQ(stored("fpl.destRwy.data")->substr(32, 16), "67120000F4FFFFFF");

    EXPECT_EQ(stored("fpl.destRwy.rwData"), "00802343004013437D2E000096000000");
    EXPECT_EQ(stored("fpl.destRwy.ident"), "RW16L");
}

TEST_F(WaypointState, ADataBlobCutShortKeepsTheFieldsItDoesNotReach) {
    Waypoint source;
    source.latitude = 10.5;
    source.longitude = 20.25;
    source.id = 99;
    ASSERT_TRUE(source.save(reader, file, kSection, "w"));
    const std::string latitudeAndLongitude = stored("w.data")->substr(0, 32);
    ASSERT_TRUE(profile::write(file.path, kSection, "w.data", latitudeAndLongitude + "ZZ"));

    Waypoint held;
    fillWaypoint(held, "HELD");
    held.load(reader, file, kSection, "w");
    EXPECT_EQ(held.latitude, 10.5);
    EXPECT_EQ(held.longitude, 20.25);
    EXPECT_EQ(held.id, 4711);
    EXPECT_EQ(held.variation, -15.3);
}

TEST_F(WaypointState, TheBlobGivesTheKindEvenToAPlainWaypoint) {
    Runway runway;
    runway.ident = "RW04";
    ASSERT_TRUE(runway.save(reader, file, kSection, "leg.wpt"));
    Waypoint waypoint;
    waypoint.load(reader, file, kSection, "leg.wpt");
    EXPECT_EQ(waypoint.kind, WaypointKind::Runway);
    EXPECT_EQ(waypoint.runwayDesignator(), "04");
}

TEST_F(WaypointState, AFailedWriteIsReported) {
    file.path = (folder / "no such folder" / "flight.sav").string();
    for (const ClassCase& c : classCases()) {
        EXPECT_FALSE(c.filled()->save(reader, file, kSection, "p")) << c.name;
    }
}

} // namespace
} // namespace tavi
