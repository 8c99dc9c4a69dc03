#include "avionics/RadioFrequency.h"

#include "avionics/Transponder.h"

#include <gtest/gtest.h>
#include <vector>

namespace tavi {
namespace {

struct StepCase {
    const char* name;
    int32_t (*step)(int32_t, int, int);
    int32_t from;
    int dMhz;
    int dKhz;
    int32_t expected;
};

// clang-format off
const StepCase kStepCases[] = {
    {"ComKhzWrapsWithoutCarry",    stepComFrequency, 0x01369750, 0,  25,  0x01360000},
    {"ComMhzKeepsTheKhz",          stepComFrequency, 0x01369750, 1,  0,   0x01189750},
    {"ComKhzWrapsDownward",        stepComFrequency, 0x01180000, 0,  -25, 0x01189750},
    {"ComMhzWrapsDownward",        stepComFrequency, 0x01180250, -1, 0,   0x01360250},
    {"ComPlainStep",               stepComFrequency, 0x01215000, 0,  25,  0x01215250},
    {"ComEmptyGivesLowest",        stepComFrequency, 0,          5,  25,  0x01180000},
    {"NavKhzWrapsWithoutCarry",    stepNavFrequency, 0x01179500, 0,  50,  0x01170000},
    {"NavMhzWraps",                stepNavFrequency, 0x01179500, 1,  0,   0x01089500},
    {"NavKhzWrapsDownward",        stepNavFrequency, 0x01080000, 0,  -50, 0x01089500},
    {"NavMhzWrapsDownward",        stepNavFrequency, 0x01083000, -1, 0,   0x01173000},
    {"NavEmptyGivesLowest",        stepNavFrequency, 0,          1,  50,  0x01080000},
    {"NavOddKhzIsRoundedDown",     stepNavFrequency, 0x01100100, 0,  0,   0x01100000},
};
// clang-format on

class FrequencyStepTest : public testing::TestWithParam<StepCase> {};

TEST_P(FrequencyStepTest, StepsWithinTheBand) {
    const StepCase& row = GetParam();
    EXPECT_EQ(row.step(row.from, row.dMhz, row.dKhz), row.expected)
        << std::hex << row.step(row.from, row.dMhz, row.dKhz);
}

INSTANTIATE_TEST_SUITE_P(Radios, FrequencyStepTest, testing::ValuesIn(kStepCases),
                         [](const testing::TestParamInfo<StepCase>& info) {
                             return std::string(info.param.name);
                         });

TEST(RadioFrequency, MakeFrequencyRoundsTheKhzDownToAChannel) {
    EXPECT_EQ(makeFrequencyBcd(118, 25), 0x01180250);
    EXPECT_EQ(makeFrequencyBcd(118, 49), 0x01180250);
    EXPECT_EQ(makeFrequencyBcd(121, 990), 0x01219750);
    EXPECT_EQ(makeFrequencyBcd(108, 0), 0x01080000);
    EXPECT_EQ(makeFrequencyBcd(118, -10), 0x01180000) << "no nibble may leave its digit range";
}

TEST(RadioFrequency, TextsFollowTheSimulatorLayouts) {
    EXPECT_EQ(comFrequencyText(0x01180250), "118.025");
    EXPECT_EQ(comFrequencyText(0x01103000), "110.300");
    EXPECT_EQ(comFrequencyText(0), "");
    EXPECT_EQ(adfFrequencyText(0x03455000), " 345.5");
    EXPECT_EQ(adfFrequencyText(0x17995000), "1799.5");
    EXPECT_EQ(transponderCodeText(0x7700), "7700");
    EXPECT_EQ(transponderCodeText(0x0042), "0042");
}

TEST(RadioFrequency, AdfTenthsRoundTrip) {
    for (int32_t tenths : {1000, 3455, 17995, 9999}) {
        EXPECT_EQ(adfTenths(makeAdfBcd(tenths)), tenths);
    }
    EXPECT_EQ(makeAdfBcd(3455), 0x03455000);
}

class TransponderModeTest : public testing::Test {
protected:
    ~TransponderModeTest() override { TransponderMode = kTransponderStandby; }

    std::vector<int32_t> walk(void (*step)(), int32_t from, int steps) {
        TransponderMode = from;
        std::vector<int32_t> modes;
        for (int i = 0; i < steps; ++i) {
            step();
            modes.push_back(TransponderMode);
        }
        return modes;
    }
};

TEST_F(TransponderModeTest, NextCyclesThroughTheActiveModes) {
    EXPECT_EQ(walk(nextTransponderMode, kTransponderStandby, 5),
              (std::vector<int32_t>{1, 2, 3, 4, 1}));
}

TEST_F(TransponderModeTest, PreviousCyclesBackAndLeavesStandbyForTaRa) {
    EXPECT_EQ(walk(previousTransponderMode, kTransponderTaRa, 4),
              (std::vector<int32_t>{3, 2, 1, 4}));
    EXPECT_EQ(walk(previousTransponderMode, kTransponderStandby, 1), (std::vector<int32_t>{4}));
}

TEST_F(TransponderModeTest, AModeOutOfRangeStepsBackIntoIt) {
    EXPECT_EQ(walk(nextTransponderMode, -3, 1), (std::vector<int32_t>{1}));
    EXPECT_EQ(walk(previousTransponderMode, 9, 1), (std::vector<int32_t>{3}));
}

} // namespace
} // namespace tavi
