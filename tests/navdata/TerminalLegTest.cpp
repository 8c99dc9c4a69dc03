#include "navdata/TerminalLeg.h"

#include "core/Fs9Reader.h"
#include "platform/profile/Profile.h"
#include "support/BlobValue.h"
#include "support/TempFolder.h"

#include <bit>
#include <cstring>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tavi {
namespace {

using test::valueAt;

TEST(TerminalLegTest, StartsAsATrackToAFix) {
    const TerminalLeg leg;
    EXPECT_EQ(leg.legType, TerminalLegType::TF);
    EXPECT_EQ(leg.proc, 0);
    EXPECT_EQ(leg.turnDirection, kTurnNone);
    EXPECT_TRUE(leg.altitude.empty());
}

TEST(TerminalLegTest, TrackCodesMapExactlyInTableOrder) {
    const struct {
        const char* code;
        TerminalLegType type;
    } cases[] = {
        {"AF", TerminalLegType::AF},  {"CF", TerminalLegType::CF}, {"HM", TerminalLegType::HM},
        {"TF", TerminalLegType::TF},  {"VD", TerminalLegType::VD}, {"DS", TerminalLegType::DS},
        {"XY", TerminalLegType::TF},  {"cf", TerminalLegType::TF}, {"", TerminalLegType::TF},
        {"CFX", TerminalLegType::TF},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TerminalLeg::typeFromTrackCode(c.code), c.type) << c.code;
    }
    EXPECT_EQ(static_cast<int>(TerminalLeg::typeFromTrackCode("VD")), 19);
    EXPECT_EQ(static_cast<int>(TerminalLeg::typeFromTrackCode("DS")), 23);
}

TerminalLeg filledLeg() {
    TerminalLeg leg;
    leg.proc = kProcApproach;
    leg.turnDirection = kTurnRight;
    leg.legType = TerminalLegType::HM;
    leg.turnDirectionDone = true;
    leg.flyOver = true;
    leg.reserved = -7;
    leg.fixId = 1234;
    leg.fixLatitude = 47.45678901234;
    leg.fixLongitude = 8.5612345678;
    leg.navaidId = 987;
    leg.navaidLatitude = -33.9461;
    leg.navaidLongitude = 151.1772;
    leg.navaidBearing = 273.3f;
    leg.navaidDistance = 12.7f;
    leg.course = 93.1f;
    leg.distance = 4.3f;
    leg.verticalAngle = -3.1f;
    leg.reserved2 = 0x7FFFFFFF;
    leg.altitude = "MAP";
    return leg;
}

void expectSameLeg(const TerminalLeg& expected, const TerminalLeg& leg) {
    EXPECT_EQ(leg.proc, expected.proc);
    EXPECT_EQ(leg.turnDirection, expected.turnDirection);
    EXPECT_EQ(leg.legType, expected.legType);
    EXPECT_EQ(leg.turnDirectionDone, expected.turnDirectionDone);
    EXPECT_EQ(leg.flyOver, expected.flyOver);
    EXPECT_EQ(leg.reserved, expected.reserved);
    EXPECT_EQ(leg.fixId, expected.fixId);
    EXPECT_EQ(leg.fixLatitude, expected.fixLatitude);
    EXPECT_EQ(leg.fixLongitude, expected.fixLongitude);
    EXPECT_EQ(leg.navaidId, expected.navaidId);
    EXPECT_EQ(leg.navaidLatitude, expected.navaidLatitude);
    EXPECT_EQ(leg.navaidLongitude, expected.navaidLongitude);
    EXPECT_EQ(std::bit_cast<uint32_t>(leg.navaidBearing),
              std::bit_cast<uint32_t>(expected.navaidBearing));
    EXPECT_EQ(std::bit_cast<uint32_t>(leg.navaidDistance),
              std::bit_cast<uint32_t>(expected.navaidDistance));
    EXPECT_EQ(std::bit_cast<uint32_t>(leg.course), std::bit_cast<uint32_t>(expected.course));
    EXPECT_EQ(std::bit_cast<uint32_t>(leg.distance), std::bit_cast<uint32_t>(expected.distance));
    EXPECT_EQ(std::bit_cast<uint32_t>(leg.verticalAngle),
              std::bit_cast<uint32_t>(expected.verticalAngle));
    EXPECT_EQ(leg.reserved2, expected.reserved2);
    EXPECT_EQ(leg.altitude, expected.altitude);
}

class TerminalLegState : public ::testing::Test {
protected:
    static constexpr char kSection[] = "FMC";

    TerminalLegState() { file.path = (folder / "flight.sav").string(); }

    std::optional<std::string> stored(const std::string& key) const {
        return platform::profile::lookup(file.path, kSection, key);
    }

    std::vector<unsigned char> storedBytes(const std::string& key) const {
        const std::string text = stored(key).value_or("");
        std::vector<unsigned char> bytes;
        for (std::size_t i = 0; i + 1 < text.size(); i += 2) {
            bytes.push_back(static_cast<unsigned char>(std::stoi(text.substr(i, 2), nullptr, 16)));
        }
        return bytes;
    }

    test::TempFolder folder;
    StateFile file;
    Fs9Reader reader;
};

TEST_F(TerminalLegState, RoundTripsEveryField) {
    const TerminalLeg saved = filledLeg();
    ASSERT_TRUE(saved.save(reader, file, kSection, "fpl.legs.3.trmLeg"));
    EXPECT_EQ(stored("fpl.legs.3.trmLeg.alt"), "MAP");

    TerminalLeg loaded;
    loaded.load(reader, file, kSection, "fpl.legs.3.trmLeg");
    expectSameLeg(saved, loaded);
}

TEST_F(TerminalLegState, TheDataBlobIsTheStoredLayout) {
    const TerminalLeg leg = filledLeg();
    ASSERT_TRUE(leg.save(reader, file, kSection, "t"));
    const std::vector<unsigned char> data = storedBytes("t.data");
    ASSERT_EQ(data.size(), 88u);
    EXPECT_EQ(valueAt<int32_t>(data, 0), kProcApproach);
    EXPECT_EQ(valueAt<int32_t>(data, 4), kTurnRight);
    EXPECT_EQ(valueAt<int32_t>(data, 8), 13);
    EXPECT_EQ(data[12], 1);
    EXPECT_EQ(data[13], 1);
    EXPECT_EQ(valueAt<int32_t>(data, 16), -7);
    EXPECT_EQ(valueAt<int32_t>(data, 20), 1234);
    EXPECT_EQ(valueAt<double>(data, 24), leg.fixLatitude);
    EXPECT_EQ(valueAt<double>(data, 32), leg.fixLongitude);
    EXPECT_EQ(valueAt<int32_t>(data, 40), 987);
    EXPECT_EQ(valueAt<double>(data, 48), leg.navaidLatitude);
    EXPECT_EQ(valueAt<double>(data, 56), leg.navaidLongitude);
    EXPECT_EQ(valueAt<float>(data, 64), leg.navaidBearing);
    EXPECT_EQ(valueAt<float>(data, 68), leg.navaidDistance);
    EXPECT_EQ(valueAt<float>(data, 72), leg.course);
    EXPECT_EQ(valueAt<float>(data, 76), leg.distance);
    EXPECT_EQ(valueAt<float>(data, 80), leg.verticalAngle);
    EXPECT_EQ(valueAt<int32_t>(data, 84), 0x7FFFFFFF);
}

TEST_F(TerminalLegState, MissingKeysKeepTheNumbersAndEmptyTheAltitude) {
    TerminalLeg held = filledLeg();
    held.load(reader, file, kSection, "absent");
    TerminalLeg expected = filledLeg();
    expected.altitude = "";
    expectSameLeg(expected, held);
}

TEST_F(TerminalLegState, AnyFlagByteOtherThanZeroReadsAsSet) {
    TerminalLeg leg;
    ASSERT_TRUE(leg.save(reader, file, kSection, "t"));
    std::string text = *stored("t.data");
    text.replace(24, 4, "02FF");
    ASSERT_TRUE(platform::profile::write(file.path, kSection, "t.data", text));

    leg.load(reader, file, kSection, "t");
    EXPECT_TRUE(leg.turnDirectionDone);
    EXPECT_TRUE(leg.flyOver);
    EXPECT_EQ(leg.legType, TerminalLegType::TF);
    ASSERT_TRUE(leg.save(reader, file, kSection, "t"));
    EXPECT_EQ(stored("t.data")->substr(24, 4), "0101");
}

TEST_F(TerminalLegState, AFailedWriteIsReported) {
    file.path = (folder / "no such folder" / "flight.sav").string();
    EXPECT_FALSE(filledLeg().save(reader, file, kSection, "t"));
}

} // namespace
} // namespace tavi
