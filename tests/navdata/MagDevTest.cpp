#include "navdata/MagDev.h"

#include "support/TempFolder.h"
#include "tools/magdec/FieldModel.h"
#include "tools/magdec/MagdecFile.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace tavi {
namespace {

constexpr uint16_t kDefaultRaw = 364;
constexpr float kDefaultDegrees = static_cast<float>(364 * 1.52587890625e-5 * 360.0);

// A grid of the default value with a few marked cells.
uint16_t markedRaw(int column, int row) {
    if (column == 0 && row == 90) {
        return 32768;
    }
    if (column == 1 && row == 90) {
        return 32769;
    }
    if (column == 359) {
        return 100;
    }
    if (column == 180) {
        return 200;
    }
    if (row == 0 || row == 180) {
        return 300 + static_cast<uint16_t>(row);
    }
    if (row == 135 || row == 136) {
        return static_cast<uint16_t>(1000 + row);
    }
    return kDefaultRaw;
}

float degreesOf(uint16_t raw) {
    const float degrees = static_cast<float>(raw * 1.52587890625e-5 * 360.0);
    return degrees > 180.0f ? degrees - 360.0f : degrees;
}

class MagDevTest : public testing::Test {
protected:
    void SetUp() override {
        file = folder.path() / "magdec.bgl";
        ASSERT_TRUE(tools::writeMagdecFile(file, markedRaw));
        ASSERT_TRUE(magDev.load(file));
    }

    test::TempFolder folder;
    std::filesystem::path file;
    MagDev magDev;
};

TEST_F(MagDevTest, ValuesAboveHalfATurnAreWest) {
    EXPECT_EQ(magDev.variation(0.0f, 0.0f), 180.0f);
    EXPECT_NEAR(magDev.variation(0.0f, 1.0f), -179.9945f, 1e-4f);
    EXPECT_EQ(magDev.variation(10.0f, 10.0f), kDefaultDegrees);
    EXPECT_NEAR(kDefaultDegrees, 1.99951f, 1e-5f);
}

TEST_F(MagDevTest, LookupTakesTheNearestGridPoint) {
    const struct {
        float latitude;
        float longitude;
        uint16_t raw;
    } cases[] = {
        {10.0f, -0.6f, 100},  {10.0f, -0.4f, kDefaultRaw}, {10.0f, 0.4f, kDefaultRaw},
        {10.0f, 359.4f, 100}, {10.0f, 179.6f, 200},        {10.0f, -180.0f, 200},
        {90.0f, 10.0f, 480},  {-90.0f, 10.0f, 300},        {45.49f, 10.0f, 1135},
        {45.5f, 10.0f, 1136},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(magDev.variation(c.latitude, c.longitude), degreesOf(c.raw))
            << c.latitude << " " << c.longitude;
    }
}

TEST_F(MagDevTest, PositionsOutsideTheGridStayInside) {
    EXPECT_EQ(magDev.variation(10.0f, 719.0f), degreesOf(100));
    EXPECT_EQ(magDev.variation(10.0f, -540.0f), degreesOf(200));
    EXPECT_EQ(magDev.variation(95.0f, 10.0f), degreesOf(480));
    EXPECT_EQ(magDev.variation(-1000.0f, 10.0f), degreesOf(300));
    EXPECT_EQ(magDev.variation(std::numeric_limits<float>::quiet_NaN(), 10.0f), 0.0f);
}

TEST_F(MagDevTest, ShortOrMissingFileLeavesTheGridAsItWas) {
    std::filesystem::resize_file(file, 1000);
    EXPECT_FALSE(magDev.load(file));
    EXPECT_FALSE(magDev.load(folder.path() / "missing.bgl"));
    EXPECT_EQ(magDev.variation(10.0f, 10.0f), kDefaultDegrees);
    MagDev empty;
    EXPECT_FALSE(empty.load(file));
    EXPECT_EQ(empty.variation(10.0f, 10.0f), 0.0f);
}

// Files that are no variation grid: each is refused with its reason and the grid stays.
TEST_F(MagDevTest, DamagedFilesAreRefusedWithTheirReason) {
    namespace fs = std::filesystem;
    const struct {
        const char* name;
        void (*make)(const fs::path& path);
        const char* problem;
    } cases[] = {
        {"missing", [](const fs::path&) {}, "missing"},
        {"empty", [](const fs::path& path) { std::ofstream{path}; }, "too short for the grid"},
        {"short",
         [](const fs::path& path) {
             std::ofstream{path} << std::string(MagDev::kFileSize - 1, 'x');
         },
         "too short for the grid"},
        {"folder", [](const fs::path& path) { fs::create_directory(path); }, "not a regular file"},
        {"fifo", [](const fs::path& path) { ::mkfifo(path.c_str(), 0600); }, "not a regular file"},
        {"random",
         [](const fs::path& path) {
             std::string bytes(MagDev::kFileSize, '\0');
             uint32_t state = 12345;
             for (char& byte : bytes) {
                 state = state * 1103515245u + 12345u;
                 byte = static_cast<char>(state >> 24);
             }
             std::ofstream(path, std::ios::binary) << bytes;
         },
         "no plausible variation grid"},
    };
    for (const auto& c : cases) {
        const fs::path path = folder.path() / c.name;
        c.make(path);
        EXPECT_FALSE(magDev.load(path)) << c.name;
        EXPECT_EQ(magDev.problem(), std::string(c.problem) + ": " + path.string());
        EXPECT_EQ(magDev.variation(10.0f, 10.0f), kDefaultDegrees) << c.name;
    }
    EXPECT_TRUE(magDev.load(file));
    EXPECT_EQ(magDev.problem(), "");
}

TEST_F(MagDevTest, SimulatorFolderFileIsReadAtConstruction) {
    const std::filesystem::path scenery = folder.path() / "Scenery/Base/Scenery/magdec.bgl";
    ASSERT_TRUE(tools::writeMagdecFile(scenery, markedRaw));
    EXPECT_EQ(MagDev((folder.path().string() + "/")).variation(0.0f, 0.0f), 180.0f);
    EXPECT_EQ(MagDev((folder.path() / "nowhere").string() + "/").variation(0.0f, 0.0f), 0.0f);
}

TEST(FieldModelTest, GeneratedFileHoldsTheModelToTheGridResolution) {
    test::TempFolder folder;
    const std::filesystem::path file = folder.path() / "magdec.bgl";
    ASSERT_TRUE(tools::writeMagdecFile(file, [](int column, int row) {
        return tools::rawFromDegrees(tools::modelVariation(row - 90.0, column));
    }));
    MagDev magDev;
    ASSERT_TRUE(magDev.load(file));
    for (int lat = -80; lat <= 80; lat += 20) {
        for (int lon = -180; lon < 180; lon += 30) {
            EXPECT_NEAR(magDev.variation(lat, lon), tools::modelVariation(lat, lon), 0.01)
                << lat << " " << lon;
        }
    }
    // Roughly the field's signs: east over western Europe, west over the eastern Americas.
    EXPECT_GT(magDev.variation(47.0f, 8.0f), 0.0f);
    EXPECT_LT(magDev.variation(40.0f, -70.0f), 0.0f);
}

} // namespace
} // namespace tavi
