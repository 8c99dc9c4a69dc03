// Tuning the radios: the frequencies, memories, cursors, transponder code, courses and TCAS
// ranges of a radio side, and the key events that take them to the simulator.
#include "avionics/RadioFrequency.h"
#include "support/RadioScenario.h"

#include <functional>
#include <gtest/gtest.h>
#include <vector>

namespace tavi::test {
namespace {

using Memories = std::array<int32_t, RadioUnit::kMemoryCount>;

class RadioTuningTest : public RadioScenario {};

TEST_F(RadioTuningTest, ASwappedComFrequencyReachesTheSimulatorAndComesBackWhole) {
    RadioUnit& radio1 = unit(1);
    radio1.stepComStandby(0, 25);
    ASSERT_EQ(radio1.comStandby, 0x01180250);
    EXPECT_FALSE(radio1.comStandbyFromMemory);
    radio1.swapCom();
    EXPECT_EQ(valuesSent(0x100AB), std::vector<uint32_t>{0x1802}) << "the last digit is dropped";
    step();
    EXPECT_EQ(radio1.comActive, 0x01180250);
    EXPECT_EQ(radio1.comActiveText, "118.025");
    EXPECT_EQ(radio1.comStandby, 0) << "the simulator's COM 1 was empty";
    EXPECT_EQ(radio1.comStandbyText, "");
}

TEST_F(RadioTuningTest, SwappingAnEmptyStandbyDoesNothing) {
    RadioUnit& radio2 = unit(2);
    radio2.setComActive(0x01215000);
    radio2.comStandby = 0;
    panel().clearKeyEventsSent();
    radio2.swapCom();
    radio2.navStandby = 0;
    radio2.swapNav();
    EXPECT_TRUE(panel().keyEventsSent().empty());
    EXPECT_EQ(radio2.comActive, 0x01215000);
}

TEST_F(RadioTuningTest, AFrequencyTheSimulatorRefusesReturnsOnTheNextFrame) {
    panel().setVariable("NAV ACTIVE FREQUENCY", 1, 0x01103000);
    step();
    panel().onKeyEventApplied([](const sim::KeyEvent&) {});
    unit(1).setNavActive(0x01123000);
    EXPECT_EQ(unit(1).navActiveText, "112.300");
    step();
    EXPECT_EQ(unit(1).navActive, 0x01103000);
    EXPECT_EQ(unit(1).navActiveText, "110.300");
}

TEST_F(RadioTuningTest, An833KhzChannelOfTheSimulatorReadsAsTheNearest25KhzChannel) {
    const struct {
        uint32_t simulator;
        int32_t channel;
    } cases[] = {
        {0x01180050, 0x01180000}, {0x01180100, 0x01180000}, {0x01180150, 0x01180250},
        {0x01180300, 0x01180250}, {0x01180400, 0x01180500}, {0x01189900, 0x01190000},
        {0x01369900, 0x01369750}, {0x01215000, 0x01215000},
    };
    for (const auto& c : cases) {
        panel().setVariable("COM ACTIVE FREQUENCY", 1, c.simulator);
        panel().clearKeyEventsSent();
        step();
        EXPECT_EQ(unit(1).comActive, c.channel) << std::hex << c.simulator;
        EXPECT_EQ(unit(1).comActiveText, comFrequencyText(c.channel));
        EXPECT_TRUE(valuesSent(0x100AB).empty()) << "reading back sets nothing";
    }
    unit(1).comStandby = 0x01190000;
    unit(1).swapCom();
    EXPECT_EQ(unit(1).comStandby, 0x01215000);
    unit(1).stepComActive(0, 25);
    EXPECT_EQ(unit(1).comActive, 0x01190250);
}

struct EventCase {
    const char* name;
    int side;
    std::function<void(RadioUnit&)> action;
    uint32_t eventId;
    uint32_t value;
    // The simulator's variable the event sets, read back by the radio.
    std::function<int32_t(RadioUnit&)> readBack;
    int32_t expected;
};

const EventCase kEventCases[] = {
    {"Com2Active", 2, [](RadioUnit& u) { u.setComActive(0x01369750); }, 0x1038A, 0x3697,
     [](RadioUnit& u) { return u.comActive; }, 0x01369750},
    {"Com1Step", 1, [](RadioUnit& u) { u.stepComActive(1, 0); }, 0x100AB, 0x1800,
     [](RadioUnit& u) { return u.comActive; }, 0x01180000},
    {"Nav1Active", 1, [](RadioUnit& u) { u.setNavActive(0x01103000); }, 0x100AC, 0x1030,
     [](RadioUnit& u) { return u.navActive; }, 0x01103000},
    {"Nav2Step", 2, [](RadioUnit& u) { u.stepNavActive(0, 50); }, 0x100AD, 0x0800,
     [](RadioUnit& u) { return u.navActive; }, 0x01080000},
    {"Adf1", 1, [](RadioUnit& u) { u.setAdfFrequency(0x03455000); }, 0x103AF, 0x03455000,
     [](RadioUnit& u) { return u.adfActive; }, 0x03455000},
    {"Adf2StepsDownFromTheBottom", 2,
     [](RadioUnit& u) {
         u.adfActive = 0x01000000;
         u.stepAdfFrequency(-1);
     },
     0x103FC, 0x17995000, [](RadioUnit& u) { return u.adfActive; }, 0x17995000},
    {"Adf1StepsUpFromTheTop", 1,
     [](RadioUnit& u) {
         u.adfActive = 0x17995000;
         u.stepAdfFrequency(5);
     },
     0x103AF, 0x01000000, [](RadioUnit& u) { return u.adfActive; }, 0x01000000},
    {"Course1", 1, [](RadioUnit& u) { u.setCourse(-10); }, 0x100B4, 350,
     [](RadioUnit& u) { return u.course; }, 350},
    {"Course2IsReadBackAs360", 2, [](RadioUnit& u) { u.setCourse(720); }, 0x100B5, 0,
     [](RadioUnit& u) { return u.course; }, 360},
    {"TransponderFromSide2", 2, [](RadioUnit& u) { u.stepTransponderCode(0, 1); }, 0x100B3, 0x1201,
     [](RadioUnit&) { return TransponderCode; }, 0x1201},
};

class RadioEventTest : public RadioScenario, public testing::WithParamInterface<EventCase> {};

TEST_P(RadioEventTest, TheSimulatorReceivesTheSettingAndTheRadioReadsItBack) {
    const EventCase& row = GetParam();
    row.action(unit(row.side));
    EXPECT_EQ(valuesSent(row.eventId), std::vector<uint32_t>{row.value});
    EXPECT_EQ(panel().keyEventsSent().size(), 1u);
    step();
    EXPECT_EQ(row.readBack(unit(row.side)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Radios, RadioEventTest, testing::ValuesIn(kEventCases),
                         [](const testing::TestParamInfo<EventCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RadioTuningTest, TheTransponderCodeAndItsPresetSwap) {
    TransponderPresetCode = 0x7000;
    unit(1).swapTransponderCode();
    EXPECT_EQ(valuesSent(0x100B3), std::vector<uint32_t>{0x7000});
    EXPECT_EQ(TransponderPresetCode, 0x1200);
    step();
    EXPECT_EQ(unit(2).transponderText, "7000") << "one transponder for both sides";
}

// The radio unit alone, without the simulator.
class RadioUnitTest : public testing::Test {
protected:
    ~RadioUnitTest() override { resetTransponder(); }

    RadioUnit radio{1};
};

TEST_F(RadioUnitTest, StartsWithFourMemoriesOfEachAndTheFirstInStandby) {
    EXPECT_EQ(radio.comMemories,
              (Memories{0x01180000, 0x01185000, 0x01190000, 0x01195000, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_EQ(radio.navMemories[3], 0x01095000);
    EXPECT_EQ(radio.comStandby, 0x01180000);
    EXPECT_EQ(radio.navStandbyText, "108.000");
    EXPECT_EQ(radio.comMemoryTexts[1], "118.500");
    EXPECT_EQ(radio.comMemoryTexts[4], "");
    EXPECT_EQ(radio.comCursor, RadioUnit::kCursorStandby);
    EXPECT_EQ(radio.tcasRange, 6);
    EXPECT_EQ(radio.identToken, 47);
    EXPECT_EQ(RadioUnit(2).identToken, 56);
}

struct SelectCase {
    const char* name;
    Memories memories;
    int index;
    int step;
    int expectedIndex;
    bool expectedFromMemory;
    int32_t expectedStandby;
};

constexpr int32_t kA = 0x01210000;
constexpr int32_t kB = 0x01225000;
constexpr int32_t kStandby = 0x01300000;

// clang-format off
const SelectCase kSelectCases[] = {
    {"AllEmpty",                 {},                                    5,  1,  0,  false, kStandby},
    {"ToTheNextMemory",          {kA, kB},                              0,  1,  1,  true,  kB},
    {"OntoAnEmptySlot",          {kA, kB},                              1,  1,  2,  false, kStandby},
    {"FromAnEmptySlotOnward",    {kA, kB},                              2,  1,  0,  true,  kA},
    {"FromAnEmptySlotBack",      {kA, 0, 0, 0, 0, 0, 0, 0, 0, kB},      4,  -1, 0,  true,  kA},
    {"BackWrapsToTheLast",       {kA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kB}, 0, -1, 11, true,  kB},
    {"ForwardWrapsToTheFirst",   {kA, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, kB}, 11, 1, 0,  true,  kA},
    {"BackOntoAnEmptySlot",      {kA, kB},                              0,  -1, 11, false, kStandby},
    {"SearchesPastTheWrap",      {0, 0, 0, kB},                         5,  1,  3,  true,  kB},
};
// clang-format on

class MemorySelectTest : public testing::TestWithParam<SelectCase> {};

TEST_P(MemorySelectTest, SelectsTheNextMemoryOrAnEmptySlot) {
    const SelectCase& row = GetParam();
    for (bool com : {true, false}) {
        RadioUnit radio(1);
        (com ? radio.comMemories : radio.navMemories) = row.memories;
        (com ? radio.comMemoryIndex : radio.navMemoryIndex) = row.index;
        (com ? radio.comStandby : radio.navStandby) = kStandby;
        com ? radio.selectComMemory(row.step) : radio.selectNavMemory(row.step);
        EXPECT_EQ(com ? radio.comMemoryIndex : radio.navMemoryIndex, row.expectedIndex) << com;
        EXPECT_EQ(com ? radio.comStandbyFromMemory : radio.navStandbyFromMemory,
                  row.expectedFromMemory)
            << com;
        EXPECT_EQ(com ? radio.comStandby : radio.navStandby, row.expectedStandby) << com;
        EXPECT_EQ(com ? radio.comStandbyText : radio.navStandbyText,
                  comFrequencyText(row.expectedStandby));
    }
}

INSTANTIATE_TEST_SUITE_P(Radios, MemorySelectTest, testing::ValuesIn(kSelectCases),
                         [](const testing::TestParamInfo<SelectCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RadioUnitTest, InsertingMovesTheMemoriesDownAndDropsTheLast) {
    radio.comMemories = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    radio.comMemoryIndex = 2;
    radio.insertComMemory(2);
    EXPECT_EQ(radio.comMemories, (Memories{1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(radio.comStandby, 0) << "the standby shows the selected, now empty, memory";
    radio.insertComMemory(11);
    EXPECT_EQ(radio.comMemories, (Memories{1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 0}));
    radio.insertComMemory(12);
    radio.insertComMemory(-1);
    EXPECT_EQ(radio.comMemories, (Memories{1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 0}))
        << "an index outside the memories changes nothing";
}

TEST_F(RadioUnitTest, DeletingMovesTheMemoriesUpAndEmptiesTheLast) {
    radio.navMemories = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    radio.navStandbyFromMemory = false;
    radio.navStandby = kStandby;
    radio.deleteNavMemory(0);
    EXPECT_EQ(radio.navMemories, (Memories{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 0}));
    EXPECT_EQ(radio.navStandby, kStandby) << "a standby of its own stays";
    radio.deleteNavMemory(10);
    EXPECT_EQ(radio.navMemories, (Memories{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 0}));
    radio.navMemories[11] = 99;
    radio.deleteNavMemory(11);
    EXPECT_EQ(radio.navMemories[11], 0);
    radio.deleteNavMemory(12);
    EXPECT_EQ(radio.navMemories[0], 2);
}

TEST_F(RadioUnitTest, SteppingTheSelectedMemoryCarriesTheStandbyAlong) {
    radio.comMemoryIndex = 1;
    radio.stepComMemory(1, 0, 25);
    EXPECT_EQ(radio.comMemories[1], 0x01185250);
    EXPECT_EQ(radio.comStandby, 0x01185250);
    EXPECT_EQ(radio.comMemoryTexts[1], "118.525");
    radio.stepComMemory(5, 0, 25);
    EXPECT_EQ(radio.comMemories[5], 0x01180000) << "an empty memory starts at 118.000";
    EXPECT_EQ(radio.comStandby, 0x01185250);
    radio.stepNavMemory(0, 1, 0);
    EXPECT_EQ(radio.navMemories[0], 0x01090000);
    radio.stepComMemory(12, 1, 0);
}

TEST_F(RadioUnitTest, TheMemoryPageIsFullWithItsSixMemories) {
    EXPECT_FALSE(radio.isComMemoryPageFull());
    radio.comMemories[4] = kA;
    radio.comMemories[5] = kB;
    EXPECT_TRUE(radio.isComMemoryPageFull());
    radio.navMemories = {kA, kA, kA, kA, kA, 0, kA, kA, kA, kA, kA, kA};
    EXPECT_FALSE(radio.isNavMemoryPageFull());
}

TEST_F(RadioUnitTest, StoringTheStandbyFollowsTheFirstCursorSet) {
    radio.comMemoryIndex = 6;
    radio.stepComStandby(0, 25);
    radio.navCursor = RadioUnit::kCursorMemorySelect;
    radio.storeStandby();
    EXPECT_EQ(radio.comMemories[6], 0x01180250) << "COM comes before NAV";
    EXPECT_TRUE(radio.comStandbyFromMemory);
    EXPECT_EQ(radio.comMemoryTexts[6], "118.025");

    radio.setNavCursor(RadioUnit::kCursorMemorySelect);
    radio.navMemoryIndex = 9;
    radio.navStandby = 0x01173000;
    radio.navStandbyFromMemory = false;
    radio.storeStandby();
    EXPECT_EQ(radio.navMemories[9], 0x01173000);
    EXPECT_TRUE(radio.navStandbyFromMemory);

    radio.selectAdfCursor();
    radio.adfActive = 0x03455000;
    radio.storeStandby();
    EXPECT_EQ(radio.adfStandby, 0x03455000);

    radio.selectTransponderCode();
    TransponderCode = 0x4571;
    radio.storeStandby();
    EXPECT_EQ(TransponderPresetCode, 0x4571);
}

struct CodeCase {
    int32_t from;
    int dOuter;
    int dInner;
    int32_t expected;
};

class TransponderCodeTest : public testing::TestWithParam<CodeCase> {
protected:
    ~TransponderCodeTest() override { resetTransponder(); }
};

TEST_P(TransponderCodeTest, OctalPairsStepAndWrapApart) {
    const CodeCase& row = GetParam();
    RadioUnit radio(1);
    TransponderCode = row.from;
    radio.stepTransponderCode(row.dOuter, row.dInner);
    EXPECT_EQ(TransponderCode, row.expected) << std::hex << TransponderCode;
    EXPECT_EQ(radio.transponderText, transponderCodeText(row.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Radios, TransponderCodeTest,
    testing::Values(CodeCase{0x7777, 0, 1, 0x7700}, CodeCase{0x0000, -1, 0, 0x7700},
                    CodeCase{0x1207, 0, 1, 0x1210}, CodeCase{0x1270, 1, -1, 0x1367},
                    CodeCase{0x7700, 1, 0, 0x0000}, CodeCase{0x1200, 0, -1, 0x1277},
                    // Digits 8 and 9 read back from the simulator.
                    CodeCase{0x1289, 0, -1, 0x1277}, CodeCase{0x1289, 0, 1, 0x1200},
                    CodeCase{0x8800, -1, 0, 0x7700}, CodeCase{0x8800, 1, 0, 0x0000},
                    CodeCase{0x1218, 0, 1, 0x1220}, CodeCase{0x1218, 0, -1, 0x1217},
                    CodeCase{0x1289, 1, 0, 0x1377}, CodeCase{0x1298, 0, -2, 0x1276}));

struct RangeCase {
    int32_t from;
    bool extended;
    bool wrap;
    int32_t increased;
    int32_t decreased;
};

// clang-format off
const RangeCase kRangeCases[] = {
    {6,   false, false, 12,  40},
    {12,  false, false, 20,  6},
    {40,  false, false, 40,  20},
    {40,  false, true,  6,   20},
    {40,  true,  false, 80,  20},
    {80,  true,  false, 120, 40},
    {120, true,  false, 120, 80},
    {120, true,  true,  6,   80},
    {6,   true,  true,  12,  120},
    {120, false, false, 40,  40},
};
// clang-format on

class TcasRangeTest : public testing::TestWithParam<RangeCase> {};

TEST_P(TcasRangeTest, StepsThroughTheRangesItMayShow) {
    const RangeCase& row = GetParam();
    RadioUnit radio(1);
    radio.extendedTcasRange = row.extended;
    radio.tcasRange = row.from;
    radio.increaseTcasRange(row.wrap);
    EXPECT_EQ(radio.tcasRange, row.increased);
    radio.tcasRange = row.from;
    radio.decreaseTcasRange();
    EXPECT_EQ(radio.tcasRange, row.decreased);
}

INSTANTIATE_TEST_SUITE_P(Radios, TcasRangeTest, testing::ValuesIn(kRangeCases));

TEST_F(RadioUnitTest, LeavingTheExtendedRangesLimitsTheRange) {
    radio.toggleExtendedTcasRange();
    radio.tcasRange = 120;
    radio.toggleExtendedTcasRange();
    EXPECT_FALSE(radio.extendedTcasRange);
    EXPECT_EQ(radio.tcasRange, 40);
}

TEST_F(RadioUnitTest, EveryCursorOperationClearsTheOtherCursors) {
    radio.otherCursor = 1;
    radio.cycleNavCursor();
    EXPECT_EQ(radio.navCursor, RadioUnit::kCursorStandby);
    EXPECT_EQ(radio.comCursor, RadioUnit::kCursorNone);
    EXPECT_EQ(radio.otherCursor, RadioUnit::kCursorNone);
    radio.cycleNavCursor();
    EXPECT_EQ(radio.navCursor, RadioUnit::kCursorMemorySelect);
    radio.cycleNavCursor();
    EXPECT_EQ(radio.navCursor, RadioUnit::kCursorStandby);
    radio.setComCursor(RadioUnit::kCursorActive);
    radio.cycleComCursor();
    EXPECT_EQ(radio.comCursor, RadioUnit::kCursorStandby);
    EXPECT_EQ(radio.navCursor, RadioUnit::kCursorNone);

    radio.cycleAdfMode();
    EXPECT_EQ(radio.adfCursor, RadioUnit::kFieldCursorMode);
    EXPECT_EQ(radio.adfMode, 1) << "the first press only moves the cursor";
    EXPECT_EQ(radio.comCursor, RadioUnit::kCursorNone);
    for (int expected : {2, 3, 0, 1}) {
        radio.cycleAdfMode();
        EXPECT_EQ(radio.adfMode, expected);
    }
    radio.selectAdfCursor();
    EXPECT_EQ(radio.adfCursor, RadioUnit::kFieldCursorValue);
    radio.setTransponderCursor(RadioUnit::kFieldCursorMode);
    EXPECT_EQ(radio.adfCursor, RadioUnit::kFieldCursorNone);
    radio.selectTransponderCode();
    EXPECT_EQ(radio.transponderCursor, RadioUnit::kFieldCursorValue);
}

TEST_F(RadioUnitTest, TheBackupCourseStaysWithin1To360) {
    for (const auto& [entered, kept] :
         std::vector<std::pair<int, int32_t>>{{0, 360}, {-10, 350}, {370, 10}, {360, 360}}) {
        radio.setBackupCourse(entered);
        EXPECT_EQ(radio.backupCourse, kept) << entered;
    }
}

TEST_F(RadioTuningTest, TheTimedSelectionEndsAfter20Seconds) {
    unit(1).toggleTimedSelect(aircraft().simTimeMs);
    ASSERT_TRUE(unit(1).timedSelect);
    module.simulator.stepSeconds(19.5);
    EXPECT_TRUE(unit(1).timedSelect);
    module.simulator.stepSeconds(0.6);
    EXPECT_FALSE(unit(1).timedSelect);
    unit(1).toggleTimedSelect(aircraft().simTimeMs);
    unit(1).toggleTimedSelect(aircraft().simTimeMs);
    EXPECT_FALSE(unit(1).timedSelect);
}

} // namespace
} // namespace tavi::test
