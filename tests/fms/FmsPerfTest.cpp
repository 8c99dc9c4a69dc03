#include "fms/FmsPerf.h"

#include "fms/PerfConditions.h"
#include "fms/PerfTableAxes.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace tavi {
namespace {

using test::columnOf;
using test::rowOf;

constexpr float kWeight = FmsPerf::kReferenceWeight;

void fillTable(FmsPerf& perf, FmsPerf::Table table, float value) {
    for (int32_t row = 1; row < FmsPerf::kRows; ++row)
        for (int32_t column = 1; column < FmsPerf::kColumns; ++column)
            perf.setCell(table, row, column, value);
}

std::string fileBytes(const FmsPerf& perf) {
    std::string bytes(FmsPerf::kFileBytes, '\0');
    std::size_t offset = 0;
    for (std::size_t table = 0; table < FmsPerf::kTableCount; ++table)
        for (int32_t row = 0; row < FmsPerf::kRows; ++row)
            for (int32_t column = 0; column < FmsPerf::kColumns; ++column) {
                const float value = perf.cell(static_cast<FmsPerf::Table>(table), row, column);
                std::memcpy(bytes.data() + offset, &value, sizeof value);
                offset += sizeof value;
            }
    return bytes;
}

void putFloat(std::string& bytes, std::size_t offset, float value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

// Cell (r, c) of table t sits at t * 3648 + (r * 24 + c) * 4.
std::size_t offsetOf(FmsPerf::Table table, int32_t row, int32_t column) {
    return table * FmsPerf::kTableBytes +
           static_cast<std::size_t>(row * FmsPerf::kColumns + column) * sizeof(float);
}

class PerfFileTest : public ::testing::Test {
protected:
    PerfFileTest() {
        perf.setPath(folder / "PerfDB" / "vosk300x.perf");
        perf.setCell(FmsPerf::ClimbFuel, 5, 3, 123.5f);
        perf.setCell(FmsPerf::CruiseFuel, 35, 20, 41.25f);
        perf.setCell(FmsPerf::DescentFuel, 37, 23, 9.0f);
    }

    test::TempFolder folder;
    FmsPerf perf;
};

TEST_F(PerfFileTest, SavedTablesReadBackCellForCellAndTheFileHasTheFixedLayout) {
    ASSERT_TRUE(perf.save());

    const std::string bytes = test::TempFolder::read(perf.path());
    ASSERT_EQ(bytes.size(), 14592u);
    EXPECT_EQ(bytes, fileBytes(perf));
    float value = 0.0f;
    std::memcpy(&value, bytes.data() + 10944 + (37 * 24 + 23) * 4, sizeof value);
    EXPECT_EQ(value, 9.0f);
    EXPECT_FALSE(std::filesystem::exists(folder / "PerfDB" / "vosk300x.perf.tmp"));

    FmsPerf loaded;
    loaded.setPath(perf.path());
    ASSERT_TRUE(loaded.load());
    EXPECT_EQ(fileBytes(loaded), bytes);
}

TEST_F(PerfFileTest, SaveReplacesAnOlderFile) {
    ASSERT_TRUE(perf.save());
    perf.setCell(FmsPerf::ClimbFuel, 5, 3, 7.0f);
    ASSERT_TRUE(perf.save());

    FmsPerf loaded;
    loaded.setPath(perf.path());
    ASSERT_TRUE(loaded.load());
    EXPECT_EQ(loaded.cell(FmsPerf::ClimbFuel, 5, 3), 7.0f);
}

TEST_F(PerfFileTest, SaveWithoutAPathOrIntoAFolderThatIsAFileWritesNothing) {
    FmsPerf unnamed;
    EXPECT_FALSE(unnamed.save());

    folder.write("blocked", "x");
    perf.setPath(folder / "blocked" / "vosk300x.perf");
    EXPECT_FALSE(perf.save());
}

TEST_F(PerfFileTest, AFullDiskOrAPreparedLinkLeavesEveryFileAsItWas) {
    ASSERT_TRUE(perf.save());
    const std::string before = test::TempFolder::read(perf.path());
    const std::filesystem::path victim = folder.write("victim", "not a perf file");
    std::filesystem::create_symlink(victim, folder / "PerfDB" / "vosk300x.perf.tmp");
    perf.setCell(FmsPerf::ClimbFuel, 5, 3, 7.0f);
    {
        const test::FileSizeLimit diskFull(1000);
        EXPECT_FALSE(perf.save());
    }
    EXPECT_EQ(test::TempFolder::read(perf.path()), before);
    EXPECT_EQ(test::TempFolder::read(victim), "not a perf file");

    ASSERT_TRUE(perf.save());
    EXPECT_EQ(test::TempFolder::read(victim), "not a perf file");
    EXPECT_EQ(test::TempFolder::read(perf.path()), fileBytes(perf));
}

struct DamagedFile {
    const char* name;
    // Turns a sound file's bytes into the damaged ones; null means no file at all.
    void (*damage)(std::string& bytes);
};

class DamagedPerfFileTest : public PerfFileTest,
                            public ::testing::WithParamInterface<DamagedFile> {};

TEST_P(DamagedPerfFileTest, KeepsEveryCellItHad) {
    FmsPerf source;
    fillTable(source, FmsPerf::CruiseFuel, 55.0f);
    std::string bytes = fileBytes(source);
    if (GetParam().damage != nullptr) {
        GetParam().damage(bytes);
        folder.write("PerfDB/vosk300x.perf", bytes);
    }
    const std::string before = fileBytes(perf);

    EXPECT_FALSE(perf.load());

    EXPECT_EQ(fileBytes(perf), before);
    EXPECT_EQ(perf.cell(FmsPerf::ClimbFuel, 5, 3), 123.5f);
}

INSTANTIATE_TEST_SUITE_P(
    Files, DamagedPerfFileTest,
    ::testing::Values(DamagedFile{"Missing", nullptr},
                      DamagedFile{"Empty",
                                  [](std::string& bytes) {
                                      bytes.clear();
                                  }},
                      DamagedFile{"OneTableOnly",
                                  [](std::string& bytes) {
                                      bytes.resize(3648);
                                  }},
                      DamagedFile{"OneByteShort",
                                  [](std::string& bytes) {
                                      bytes.pop_back();
                                  }},
                      DamagedFile{"OneByteLong",
                                  [](std::string& bytes) {
                                      bytes.push_back('\0');
                                  }},
                      DamagedFile{"NotANumber",
                                  [](std::string& bytes) {
                                      putFloat(bytes, offsetOf(FmsPerf::CruiseFuel, 20, 7),
                                               std::numeric_limits<float>::quiet_NaN());
                                  }},
                      DamagedFile{"Infinite",
                                  [](std::string& bytes) {
                                      putFloat(bytes, offsetOf(FmsPerf::DescentFuel, 1, 1),
                                               std::numeric_limits<float>::infinity());
                                  }},
                      DamagedFile{"Negative",
                                  [](std::string& bytes) {
                                      putFloat(bytes, offsetOf(FmsPerf::ClimbTime, 37, 23), -4.0f);
                                  }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(PerfFileTest, AxesInTheFileGiveWayToTheProgramsOwn) {
    FmsPerf source;
    source.setCell(FmsPerf::CruiseFuel, rowOf(5000), columnOf(200), 60.0f);
    std::string bytes = fileBytes(source);
    for (int32_t column = 1; column < FmsPerf::kColumns; ++column)
        putFloat(bytes, offsetOf(FmsPerf::CruiseFuel, 0, column), -1.0e9f);
    putFloat(bytes, offsetOf(FmsPerf::CruiseFuel, 5, 0), std::numeric_limits<float>::quiet_NaN());
    putFloat(bytes, offsetOf(FmsPerf::CruiseFuel, 0, 0), 42.0f);
    folder.write("PerfDB/vosk300x.perf", bytes);

    ASSERT_TRUE(perf.load());

    EXPECT_EQ(perf.cell(FmsPerf::CruiseFuel, 0, 1), 100.0f);
    EXPECT_EQ(perf.cell(FmsPerf::CruiseFuel, 5, 0), 5000.0f);
    EXPECT_EQ(perf.cruiseFuelFlow(kWeight, 200.0f, 5000.0f), 60.0f);
    EXPECT_EQ(perf.cell(FmsPerf::ClimbFuel, 5, 3), 0.0f);
}

TEST(FmsPerfLookup, ClimbReadsTheTopOfTheStepAndDescentItsStartRoundedToAThousand) {
    FmsPerf perf;
    for (int32_t row = 1; row < FmsPerf::kRows; ++row)
        for (int32_t column = 1; column < FmsPerf::kColumns; ++column) {
            perf.setCell(FmsPerf::ClimbFuel, row, column, static_cast<float>(row));
            perf.setCell(FmsPerf::ClimbTime, row, column, static_cast<float>(10 * row));
            perf.setCell(FmsPerf::DescentFuel, row, column, static_cast<float>(row));
        }
    struct Case {
        float altitude;
        float step;
        float climbRow;
    };
    for (const Case& c : {Case{4400, 100, 5}, Case{4300, 100, 4}, Case{4000, 500, 5},
                          Case{1000, 1000, 2}, Case{39500, 500, 37}}) {
        float fuel = 0.0f;
        float time = 0.0f;
        perf.climbStep(kWeight, 200.0f, c.altitude, c.step, fuel, time);
        EXPECT_FLOAT_EQ(fuel, c.climbRow * c.step / 1000.0f) << c.altitude << "+" << c.step;
        EXPECT_FLOAT_EQ(time, 10.0f * c.climbRow * c.step / 1000.0f);
    }
    EXPECT_FLOAT_EQ(perf.descentStep(kWeight, 200.0f, 4499.0f, 1000.0f), 4.0f);
    EXPECT_FLOAT_EQ(perf.descentStep(kWeight, 200.0f, 4500.0f, 1000.0f), 5.0f);
    EXPECT_FLOAT_EQ(perf.descentStep(2.0f * kWeight, 200.0f, 4500.0f, 500.0f), 2.5f);
}

TEST(FmsPerfLookup, SpeedsOutsideTheAxisReadTheEdgeColumns) {
    FmsPerf perf;
    for (int32_t column = 1; column < FmsPerf::kColumns; ++column)
        perf.setCell(FmsPerf::CruiseFuel, rowOf(20000), column, static_cast<float>(column));
    EXPECT_EQ(perf.cruiseFuelFlow(kWeight, 90.0f, 20000.0f), 1.0f);
    EXPECT_EQ(perf.cruiseFuelFlow(kWeight, 350.0f, 20000.0f), 23.0f);
    EXPECT_FLOAT_EQ(perf.cruiseFuelFlow(kWeight, 105.0f, 20000.0f), 1.5f);
}

TEST(FmsPerfLookup, WeightScalesClimbBySquareRootAndCruiseByFourthRoot) {
    FmsPerf perf;
    fillTable(perf, FmsPerf::ClimbFuel, 100.0f);
    fillTable(perf, FmsPerf::ClimbTime, 60.0f);
    fillTable(perf, FmsPerf::CruiseFuel, 50.0f);
    float fuel = 0.0f;
    float time = 0.0f;
    perf.climbStep(2.0f * kWeight, 250.0f, 10000.0f, 1000.0f, fuel, time);
    EXPECT_NEAR(fuel, 141.421f, 0.001f);
    EXPECT_NEAR(time, 84.853f, 0.001f);
    EXPECT_NEAR(perf.cruiseFuelFlow(2.0f * kWeight, 250.0f, 10000.0f), 59.4604f, 0.0005f);
}

TEST(FmsPerfLearning, SpeedsRoundToTenKnotsAndASecondMeasurementBlendsHalfAndHalf) {
    FmsPerf perf;
    EXPECT_FALSE(perf.hasLearned());

    perf.learnDescent(kWeight, 185.9f, 5000.0f, 120.0f);
    perf.learnDescent(kWeight, 184.9f, 5000.0f, 80.0f);
    EXPECT_TRUE(perf.hasLearned());
    EXPECT_EQ(perf.cell(FmsPerf::DescentFuel, rowOf(5000), columnOf(190)), 120.0f);
    EXPECT_EQ(perf.cell(FmsPerf::DescentFuel, rowOf(5000), columnOf(180)), 80.0f);

    perf.learnDescent(kWeight, 190.0f, 5000.0f, 100.0f);
    EXPECT_EQ(perf.cell(FmsPerf::DescentFuel, rowOf(5000), columnOf(190)), 110.0f);
}

TEST(FmsPerfLearning, ClimbIsStoredAtTheReferenceWeightAndTheTwoThousandBandAlsoFillsTheFirstRow) {
    FmsPerf perf;
    perf.learnClimb(4.0f * kWeight, 250.0f, 2000.0f, 200.0f, 90.0f);

    for (int altitude : {1000, 2000}) {
        EXPECT_EQ(perf.cell(FmsPerf::ClimbFuel, rowOf(altitude), columnOf(250)), 100.0f);
        EXPECT_EQ(perf.cell(FmsPerf::ClimbTime, rowOf(altitude), columnOf(250)), 45.0f);
    }
    EXPECT_EQ(perf.cell(FmsPerf::ClimbFuel, rowOf(3000), columnOf(250)), 0.0f);

    perf.learnCruise(kWeight, 250.0f, 2000.0f, 30.0f);
    EXPECT_EQ(perf.cell(FmsPerf::CruiseFuel, rowOf(1000), columnOf(250)), 0.0f);
}

TEST(FmsPerfLearning, AltitudesAboveTheTopRowAreNotLearned) {
    FmsPerf perf;
    perf.learnClimb(kWeight, 250.0f, 39000.0f, 100.0f, 60.0f);
    perf.learnCruise(kWeight, 250.0f, 37001.0f, 40.0f);
    perf.learnDescent(kWeight, 250.0f, 38000.0f, 20.0f);
    EXPECT_FALSE(perf.hasLearned());

    perf.learnCruise(kWeight, 250.0f, 37000.0f, 40.0f);
    EXPECT_EQ(perf.cell(FmsPerf::CruiseFuel, rowOf(37000), columnOf(250)), 40.0f);
}

TEST(FmsPerfLearning, ACruiseMinuteLearnedAtAWeightReadsBackAtThatWeight) {
    FmsPerf perf;
    const float weight = 60000.0f;
    perf.learnCruise(weight, 240.0f, 30000.0f, 45.0f);
    EXPECT_NEAR(perf.cruiseFuelFlow(weight, 240.0f, 30000.0f), 45.0f, 0.001f);
}

TEST(PathAngles, WorkedValues) {
    EXPECT_NEAR(pathAngle(10000.0f, 7000.0f, 10.0f), 2.825f, 0.001f);
    EXPECT_NEAR(pathAngle(7000.0f, 10000.0f, 10.0f), 2.825f, 0.001f);
    EXPECT_NEAR(pathAngle(0.0f, 1000.0f, 5.0f), 1.884f, 0.001f);
    EXPECT_EQ(pathAngle(10000.0f, 7000.0f, 0.0f), 0.0f);
    EXPECT_NEAR(altitudeAfterDistance(10000.0f, 10.0f, -2.825f), 7000.0f, 2.0f);
    EXPECT_NEAR(distanceForAltitudeChange(10000.0f, 7000.0f, 2.825f), 10.0f, 0.005f);
    const float flat = distanceForAltitudeChange(10000.0f, 7000.0f, 0.0f);
    EXPECT_TRUE(std::isfinite(flat));
    EXPECT_FLOAT_EQ(flat, distanceForAltitudeChange(10000.0f, 7000.0f, 1.0f));
}

// Fixed speeds, remembering the altitudes each phase was asked for.
class RecordingSchedule : public PerfSpeedSchedule {
public:
    float climbSpeedAt(float altitude, float, float) const override {
        climbAltitudes.push_back(altitude);
        return 250.0f;
    }
    float cruiseSpeedAt(float) const override { return 280.0f; }
    float descentSpeedAt(float altitude, float) const override {
        descentAltitudes.push_back(altitude);
        return 270.0f;
    }

    mutable std::vector<float> climbAltitudes;
    mutable std::vector<float> descentAltitudes;
};

class SegmentPredictionTest : public ::testing::Test {
protected:
    SegmentPredictionTest() { conditions.cruiseAltitude = 35000.0f; }

    FmsPerf perf;
    PerfConditions conditions;
    RecordingSchedule schedule;
    LegPrediction result;
};

TEST_F(SegmentPredictionTest, ClimbTakesFiveHundredFootStepsAndALastPart) {
    fillTable(perf, FmsPerf::ClimbTime, 60.0f);
    perf.predictClimb(result, 1000.0f, 3200.0f, kWeight, 90.0f, 0.0f, 0.0f, conditions, schedule);

    EXPECT_EQ(schedule.climbAltitudes,
              (std::vector<float>{1000.0f, 1500.0f, 2000.0f, 2500.0f, 3000.0f, 3200.0f}));
    EXPECT_FLOAT_EQ(result.time, 132.0f);
    EXPECT_EQ(result.fuel, 0.0f);
    // A little over 250 kt true airspeed for 132 s.
    EXPECT_GT(result.distance, 9.2f);
    EXPECT_LT(result.distance, 9.9f);
}

TEST_F(SegmentPredictionTest, ClimbStopsAtTheCruiseAltitude) {
    fillTable(perf, FmsPerf::ClimbTime, 60.0f);
    conditions.cruiseAltitude = 2000.0f;
    perf.predictClimb(result, 1000.0f, 5000.0f, kWeight, 0.0f, 0.0f, 0.0f, conditions, schedule);
    EXPECT_FLOAT_EQ(result.time, 60.0f);

    perf.predictClimb(result, 2000.0f, 2000.0f, kWeight, 0.0f, 0.0f, 0.0f, conditions, schedule);
    EXPECT_EQ(result.time, 0.0f);
    EXPECT_EQ(result.distance, 0.0f);
}

TEST_F(SegmentPredictionTest, WithoutLearnedCellsAClimbTakesNoTime) {
    perf.predictClimb(result, 1000.0f, 9000.0f, kWeight, 0.0f, 0.0f, 0.0f, conditions, schedule);
    EXPECT_EQ(result.time, 0.0f);
    EXPECT_EQ(result.fuel, 0.0f);
    EXPECT_EQ(result.distance, 0.0f);
}

TEST_F(SegmentPredictionTest, ClimbWithinADistanceTakesThePartOfTheStepThatFits) {
    fillTable(perf, FmsPerf::ClimbTime, 60.0f);
    LegPrediction firstStep;
    conditions.cruiseAltitude = 1500.0f;
    perf.predictClimb(firstStep, 1000.0f, 1500.0f, kWeight, 0.0f, 0.0f, 0.0f, conditions, schedule);
    conditions.cruiseAltitude = 35000.0f;

    float reached = 0.0f;
    perf.predictClimbWithin(result, 1000.0f, reached, kWeight, 0.0f, firstStep.distance / 2.0f,
                            0.0f, 0.0f, conditions, schedule);
    EXPECT_FLOAT_EQ(reached, 1250.0f);
    EXPECT_FLOAT_EQ(result.time, 15.0f);
    EXPECT_FLOAT_EQ(result.distance, firstStep.distance / 2.0f);

    perf.predictClimbWithin(result, 1000.0f, reached, kWeight, 0.0f, 0.0f, 0.0f, 0.0f, conditions,
                            schedule);
    EXPECT_EQ(reached, 1000.0f);
    EXPECT_EQ(result.time, 0.0f);
}

TEST_F(SegmentPredictionTest, DescentDistanceFollowsThePathAngleAndFuelTheTable) {
    fillTable(perf, FmsPerf::DescentFuel, 40.0f);
    perf.predictDescent(result, 11000.0f, 10000.0f, 3.0f, kWeight, 0.0f, 50.0f, false, conditions,
                        schedule);
    EXPECT_NEAR(result.distance, 3.1387f, 0.0005f);
    EXPECT_FLOAT_EQ(result.fuel, 40.0f);
    EXPECT_EQ(schedule.descentAltitudes, (std::vector<float>{11000.0f, 10500.0f, 10000.0f}));
    EXPECT_GT(result.time, 0.0f);
}

TEST_F(SegmentPredictionTest, FixedVerticalSpeedMakesEachFiveHundredFeetLastThirtySeconds) {
    perf.predictDescent(result, 11000.0f, 9800.0f, 3.0f, kWeight, 0.0f, 50.0f, true, conditions,
                        schedule);
    EXPECT_FLOAT_EQ(result.time, 72.0f);
}

TEST_F(SegmentPredictionTest, AFlatPathAngleIsTakenAsOneDegree) {
    perf.predictDescent(result, 11000.0f, 10000.0f, 0.0f, kWeight, 0.0f, 50.0f, false, conditions,
                        schedule);
    LegPrediction oneDegree;
    perf.predictDescent(oneDegree, 11000.0f, 10000.0f, 1.0f, kWeight, 0.0f, 50.0f, false,
                        conditions, schedule);
    EXPECT_TRUE(std::isfinite(result.time));
    EXPECT_EQ(result.distance, oneDegree.distance);
    EXPECT_EQ(result.time, oneDegree.time);
}

TEST_F(SegmentPredictionTest, DescentWithinADistanceStopsAtTheLimit) {
    float reached = 0.0f;
    const float stepDistance = 500.0f / std::tan(3.0f / 57.29578f) / 3.28084f / 1853.0f;
    perf.predictDescentWithin(result, 5000.0f, reached, 3.0f, kWeight, 0.0f, 1.5f * stepDistance,
                              50.0f, true, conditions, schedule);
    EXPECT_NEAR(reached, 4250.0f, 0.5f);
    EXPECT_NEAR(result.time, 45.0f, 0.01f);
    EXPECT_FLOAT_EQ(result.distance, 1.5f * stepDistance);

    perf.predictDescentWithin(result, -2000.0f, reached, 3.0f, kWeight, 0.0f, 10.0f, 50.0f, true,
                              conditions, schedule);
    EXPECT_EQ(reached, -2000.0f);
    EXPECT_EQ(result.distance, 0.0f);
}

TEST_F(SegmentPredictionTest, CruiseCountsWholeMinutesAndALastPart) {
    fillTable(perf, FmsPerf::CruiseFuel, 50.0f);
    const PerfWind calm;
    const float milesPerMinute = conditions.groundSpeed(300.0f, 0.0f, 0.0f, calm) / 60.0f;
    ASSERT_NEAR(milesPerMinute, 5.0f, 0.001f);

    perf.legPredictionAtSpeed(result, 0.0f, kWeight, 0.0f, 12.0f, calm, conditions, 300.0f);
    EXPECT_NEAR(result.time, 144.0f, 0.05f);
    EXPECT_EQ(result.distance, 12.0f);

    // The second minute ends exactly at the distance: it is a last part with k = 1 and burns
    // the flow at the end of that minute alone.
    perf.legPredictionAtSpeed(result, 0.0f, kWeight, 0.0f, 2.0f * milesPerMinute, calm, conditions,
                              300.0f);
    const double flow0 = 50.0;
    const double flow1 = 50.0 * std::pow((kWeight - 50.0) / kWeight, 0.25);
    const double weightAfterFirst = kWeight - (flow0 + flow1) / 2.0;
    const double flow2 = 50.0 * std::pow((weightAfterFirst - flow1) / kWeight, 0.25);
    EXPECT_FLOAT_EQ(result.time, 120.0f);
    EXPECT_NEAR(result.fuel, (flow0 + flow1) / 2.0 + flow2, 0.001);
}

TEST_F(SegmentPredictionTest, CruiseOfNoDistanceOrWithoutGroundSpeedEnds) {
    perf.legPrediction(result, 30000.0f, kWeight, 0.0f, 0.0f, {}, conditions, schedule);
    EXPECT_EQ(result.time, 0.0f);
    EXPECT_EQ(result.distance, 0.0f);

    const PerfWind gale{0.0f, 2000.0f};
    perf.legPrediction(result, 1000.0f, kWeight, 0.0f, 100.0f, gale, conditions, schedule);
    EXPECT_FLOAT_EQ(result.time, 24.0f * 3600.0f);
    EXPECT_LT(result.distance, 100.0f);
}

TEST_F(SegmentPredictionTest, TripAddsClimbCruiseAndDescent) {
    fillTable(perf, FmsPerf::ClimbTime, 60.0f);
    fillTable(perf, FmsPerf::CruiseFuel, 50.0f);
    conditions.cruiseAltitude = 10000.0f;
    perf.predictTrip(result, 0.0f, 0.0f, 10000.0f, 200.0f, kWeight, 3.0f, conditions, schedule);

    const float descentDistance = distanceForAltitudeChange(10000.0f, 0.0f, 3.0f);
    EXPECT_NEAR(result.distance, 200.0f, 0.01f);
    EXPECT_GT(result.time, 600.0f);
    EXPECT_GT(result.fuel, 0.0f);

    // Too short for its climb and descent: no cruise, and both kept whole.
    LegPrediction climb;
    perf.predictClimb(climb, 0.0f, 10000.0f, kWeight, 0.0f, 0.0f, 0.0f, conditions, schedule);
    LegPrediction descent;
    perf.predictDescent(descent, 10000.0f, 0.0f, 3.0f, kWeight, 0.0f, descentDistance, false,
                        conditions, schedule);
    LegPrediction shortTrip;
    perf.predictTrip(shortTrip, 0.0f, 0.0f, 10000.0f, descentDistance, kWeight, 3.0f, conditions,
                     schedule);
    EXPECT_FLOAT_EQ(shortTrip.distance, climb.distance + descent.distance);
    EXPECT_FLOAT_EQ(shortTrip.time, climb.time + descent.time);
    EXPECT_EQ(shortTrip.fuel, 0.0f);
}

TEST(PerfConditionsWind, ClimbWindGrowsToTheCruiseAltitudeAndDescentWindFallsToFiveKnots) {
    PerfConditions conditions;
    conditions.cruiseAltitude = 30000.0f;
    conditions.cruiseWind = {270.0f, 60.0f};
    conditions.cruiseWindAltitude = 20000.0f;
    EXPECT_FLOAT_EQ(conditions.climbWindAt(15000.0f).speed, 30.0f);
    EXPECT_FLOAT_EQ(conditions.climbWindAt(-100.0f).speed, 0.0f);
    EXPECT_FLOAT_EQ(conditions.climbWindAt(31000.0f).speed, 60.0f);
    EXPECT_FLOAT_EQ(conditions.descentWindAt(0.0f).speed, 5.0f);
    EXPECT_FLOAT_EQ(conditions.descentWindAt(10000.0f).speed, 32.0f);
    EXPECT_FLOAT_EQ(conditions.descentWindAt(25000.0f).speed, 60.0f);
    EXPECT_FLOAT_EQ(conditions.descentWindAt(10000.0f).direction, 270.0f);

    conditions.cruiseAltitude = 0.0f;
    EXPECT_FLOAT_EQ(conditions.climbWindAt(1000.0f).speed, 60.0f);
}

} // namespace
} // namespace tavi
