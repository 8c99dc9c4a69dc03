// The radio receivers: what each side reads of the simulator's NAV, DME and ADF receivers, the
// backup CDI, the ident audio, the power of the receivers and the Radio's own COM audio,
// transponder ident and ATC identification.
#include "support/RadioScenario.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

using Flags = std::array<bool, 4>;

class RadioReceiverTest : public RadioScenario {
protected:
    // A station on NAV receiver `side` as the simulator reports it.
    void receive(int side, bool localizer, double radial, double cdi = 0.0) {
        panel().setVariable("NAV SIGNAL", side, 1.0);
        panel().setVariable("NAV HAS NAV", side, 1.0);
        panel().setVariable("NAV HAS LOCALIZER", side, localizer ? 1.0 : 0.0);
        panel().setVariable("NAV RADIAL", side, radial);
        panel().setVariable("NAV CDI", side, cdi);
    }
    // A VOR whose bearing from the aircraft is `bearing`.
    void receiveVorAtBearing(int side, double bearing) {
        receive(side, false, std::fmod(bearing + 180.0, 360.0));
    }
    void setHeading(double trueHeading) {
        panel().setToken(86, trueHeading);
        panel().setToken(81, trueHeading);
        panel().setVariable("PLANE HEADING DEGREES GYRO", 1, trueHeading);
    }
};

TEST(RadioPowerTest, AColdAircraftHasEveryReceiverUnpowered) {
    ModuleHarness module;
    module.startModule();
    module.simulator.step();
    const Radio& radio = *module.aircraft().radio();
    EXPECT_EQ(radio.unit1.unpowered, (Flags{true, true, true, true}));
    EXPECT_EQ(radio.unit2.unpowered, (Flags{true, true, true, true}));
    EXPECT_TRUE(radio.navFailSeen && radio.flag4Seen);
    EXPECT_EQ(radio.token354Value, 0);
    EXPECT_FALSE(radio.isCom1AudioLit(module.aircraft()));
}

struct ReceiverPowerCase {
    const char* name;
    std::vector<int> buses;
    bool master1;
    bool master2;
    Flags side1;
    Flags side2;
};

constexpr int kBus1 = Electric::kDcBus1;
constexpr int kBus2 = Electric::kDcBus2;
constexpr int kBus3 = Electric::kEssentialBus1;

// clang-format off
const ReceiverPowerCase kReceiverPowerCases[] = {
    {"AllPowered",     {kBus1, kBus2, kBus3}, true,  true,  {false, false, false, false}, {false, false, false, false}},
    {"Master2Off",     {kBus1, kBus2, kBus3}, true,  false, {false, false, false, false}, {true, true, true, true}},
    {"Master1Off",     {kBus1, kBus2, kBus3}, false, true,  {true, true, true, true},     {false, false, false, false}},
    {"DmeFollowsBus1", {kBus2, kBus3},        true,  true,  {true, false, false, false},  {false, false, false, false}},
    {"RestFollowBus3", {kBus1, kBus2},        true,  true,  {false, true, true, true},    {false, false, false, false}},
    {"Side2OnBus2",    {kBus1, kBus3},        true,  true,  {false, false, false, false}, {true, true, true, true}},
};
// clang-format on

class RadioPowerFlagsTest : public RadioScenario,
                            public testing::WithParamInterface<ReceiverPowerCase> {};

TEST_P(RadioPowerFlagsTest, EachReceiverFollowsItsBusAndMaster) {
    const ReceiverPowerCase& row = GetParam();
    network.power({});
    for (int bus : row.buses) {
        network.buses[static_cast<std::size_t>(bus)].powered = true;
    }
    network.avionicsMaster1 = row.master1;
    network.avionicsMaster2 = row.master2;
    step();
    EXPECT_EQ(unit(1).unpowered, row.side1);
    EXPECT_EQ(unit(2).unpowered, row.side2);
}

INSTANTIATE_TEST_SUITE_P(Radios, RadioPowerFlagsTest, testing::ValuesIn(kReceiverPowerCases),
                         [](const testing::TestParamInfo<ReceiverPowerCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RadioReceiverTest, TheFailureTimeMarksANavOrGlideSlopeReceiverGoingDark) {
    ASSERT_FALSE(radio().navFailSeen);
    step(3);
    network.avionicsMaster2 = false;
    step();
    const uint32_t failed = aircraft().simTimeMs;
    EXPECT_EQ(radio().radioFailTime, failed);
    EXPECT_TRUE(radio().navFailSeen && radio().flag4Seen);
    step(5);
    network.buses[kBus3].powered = false;
    step();
    EXPECT_EQ(radio().radioFailTime, failed) << "already failed: no new time";
    network.avionicsMaster2 = true;
    network.buses[kBus3].powered = true;
    step();
    EXPECT_FALSE(radio().navFailSeen);
    network.buses[kBus3].powered = false;
    step();
    EXPECT_EQ(radio().radioFailTime, aircraft().simTimeMs);
}

TEST_F(RadioReceiverTest, EachSideDrawsMoreWithItsAvionicsMasterOn) {
    BusLoads on;
    radio().addElectricLoad(aircraft(), on);
    network.avionicsMaster1 = false;
    network.avionicsMaster2 = false;
    BusLoads off;
    radio().addElectricLoad(aircraft(), off);
    EXPECT_FLOAT_EQ(on[kBus1], 20.0f);
    EXPECT_FLOAT_EQ(on[kBus3], 25.0f);
    EXPECT_FLOAT_EQ(on[Electric::kEssentialBus2], 25.0f);
    EXPECT_FLOAT_EQ(on[kBus2], 35.0f);
    EXPECT_FLOAT_EQ(off[kBus1], 5.0f);
    EXPECT_FLOAT_EQ(off[kBus3], 15.0f);
    EXPECT_FLOAT_EQ(off[Electric::kEssentialBus2], 5.0f);
    EXPECT_FLOAT_EQ(off[kBus2], 10.0f);
}

struct CdiCase {
    const char* name;
    bool localizer;
    double backCourseFlags;
    float expected;
};

class BackCourseTest : public RadioReceiverTest, public testing::WithParamInterface<CdiCase> {};

TEST_P(BackCourseTest, OnlyALocalizersBackCourseInvertsTheCdi) {
    const CdiCase& row = GetParam();
    receive(2, row.localizer, 0.0, 50.0);
    panel().setVariable("NAV BACK COURSE FLAGS", 2, row.backCourseFlags);
    step();
    EXPECT_FLOAT_EQ(unit(2).cdiDeviation, row.expected);
}

INSTANTIATE_TEST_SUITE_P(Radios, BackCourseTest,
                         testing::Values(CdiCase{"LocalizerBackCourse", true, 4.0, -50.0f},
                                         CdiCase{"LocalizerFrontCourse", true, 0.0, 50.0f},
                                         CdiCase{"LocalizerOtherFlag", true, 16.0, 50.0f},
                                         CdiCase{"VorIgnoresTheFlags", false, 4.0, 50.0f}),
                         [](const testing::TestParamInfo<CdiCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RadioReceiverTest, TheStationBearingOfAVorALocalizerAndNoStation) {
    setHeading(300.0);
    receive(1, false, 90.0);
    receive(2, true, 10.0);
    step();
    EXPECT_FLOAT_EQ(unit(1).stationBearing, 270.0f) << "the bearing to the VOR";
    EXPECT_FLOAT_EQ(unit(2).stationBearing, 250.0f) << "relative to the true heading";
    panel().setVariable("NAV RADIAL", 1, 270.5);
    step();
    EXPECT_FLOAT_EQ(unit(1).stationBearing, 90.5f);
    panel().setVariable("NAV SIGNAL", 1, 0.0);
    panel().setVariable("NAV HAS NAV", 2, 0.0);
    panel().setVariable("NAV HAS LOCALIZER", 2, 0.0);
    step();
    EXPECT_FLOAT_EQ(unit(1).stationBearing, 90.0f);
    EXPECT_FLOAT_EQ(unit(2).stationBearing, 90.0f);
}

struct BackupCase {
    const char* name;
    int course;
    double bearing;
    int32_t toFrom;
    float deviation;
};

// clang-format off
const BackupCase kBackupCases[] = {
    {"RightOfCourseTo",       90,  95.0,  RadioUnit::kTo,       63.5f},
    {"LeftOfCourseTo",        90,  85.0,  RadioUnit::kTo,       -63.5f},
    {"FullScaleRight",        90,  120.0, RadioUnit::kTo,       127.0f},
    {"LeftOfCourseFrom",      90,  265.0, RadioUnit::kFrom,     63.5f},
    {"RightOfCourseFrom",     90,  275.0, RadioUnit::kFrom,     -63.5f},
    {"AbeamLeft",             90,  0.0,   RadioUnit::kNoToFrom, -127.0f},
    {"AbeamRight",            90,  180.0, RadioUnit::kNoToFrom, 127.0f},
    {"AcrossNorth",           355, 5.0,   RadioUnit::kTo,       127.0f},
    {"JustOffAbeamIsFrom",    90,  359.0, RadioUnit::kFrom,     -127.0f},
};
// clang-format on

class BackupCdiTest : public RadioReceiverTest, public testing::WithParamInterface<BackupCase> {};

TEST_P(BackupCdiTest, TheDeviationFromTheBackupCourseDependsOnThePositionAlone) {
    const BackupCase& row = GetParam();
    receiveVorAtBearing(1, row.bearing);
    for (double heading : {0.0, 45.0, 200.0}) {
        setHeading(heading);
        step();
        unit(1).setBackupCourse(row.course);
        EXPECT_EQ(unit(1).backupToFrom, row.toFrom) << heading;
        EXPECT_NEAR(unit(1).backupDeviation, row.deviation, 1e-3) << heading;
    }
}

INSTANTIATE_TEST_SUITE_P(Radios, BackupCdiTest, testing::ValuesIn(kBackupCases),
                         [](const testing::TestParamInfo<BackupCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(RadioReceiverTest, TheBackupCdiOfALocalizerIsItsOwnAndNoneWithoutAStation) {
    receive(2, true, 0.0, -40.0);
    panel().setVariable("NAV TOFROM", 2, 1.0);
    step();
    EXPECT_FLOAT_EQ(unit(2).backupDeviation, -40.0f);
    EXPECT_EQ(unit(2).backupToFrom, 1);
    panel().setVariable("NAV HAS NAV", 2, 0.0);
    step();
    EXPECT_FLOAT_EQ(unit(2).backupDeviation, 0.0f);
    EXPECT_EQ(unit(2).backupToFrom, RadioUnit::kNoToFrom);
}

TEST_F(RadioReceiverTest, TheCourseSyncsToAVorButNotToALocalizer) {
    receiveVorAtBearing(1, 123.6);
    step();
    unit(1).syncCourseToBearing();
    EXPECT_EQ(valuesSent(0x100B4), std::vector<uint32_t>{124});
    step();
    EXPECT_EQ(unit(1).course, 124);
    panel().clearKeyEventsSent();
    receive(2, true, 10.0);
    step();
    unit(2).syncCourseToBearing();
    panel().setVariable("NAV SIGNAL", 1, 0.0);
    step();
    unit(1).syncCourseToBearing();
    EXPECT_TRUE(panel().keyEventsSent().empty());
}

TEST_F(RadioReceiverTest, TheReceiverValuesAreReadBack) {
    panel().setVariable("NAV OBS", 1, 0.0);
    panel().setVariable("NAV OBS", 2, 359.7);
    panel().setVariable("NAV GLIDE SLOPE", 1, 3.0 * 131072.0);
    panel().setVariable("NAV DME", 2, 12.5);
    panel().setVariable("NAV DMESPEED", 2, 240.0);
    panel().setVariable("NAV GSI", 1, -60.0);
    panel().setVariable("NAV HAS DME", 2, 1.0);
    panel().setVariable("NAV GS FLAG", 1, 1.0);
    step();
    EXPECT_EQ(unit(1).course, 360);
    EXPECT_EQ(unit(2).course, 359);
    EXPECT_FLOAT_EQ(unit(1).glideSlope, 3.0f);
    EXPECT_FLOAT_EQ(unit(2).dmeDistance, 12.5f);
    EXPECT_FLOAT_EQ(unit(2).dmeSpeed, 240.0f);
    EXPECT_FLOAT_EQ(unit(1).gsi, -60.0f);
    EXPECT_TRUE(unit(2).hasDme);
    EXPECT_FALSE(unit(1).hasDme);
    EXPECT_TRUE(unit(1).glideSlopeFlag);
    EXPECT_EQ(unit(1).transponderText, "1200");
}

TEST_F(RadioReceiverTest, TheAdfBearingAddsTheRelativeBearingToTheHeading) {
    setHeading(350.0);
    panel().setVariable("ADF RADIAL", 1, 20.0);
    panel().setVariable("ADF RADIAL", 2, -400.0);
    step();
    EXPECT_FLOAT_EQ(unit(1).adfBearing, 10.0f);
    EXPECT_FLOAT_EQ(unit(2).adfBearing, 310.0f);
}

TEST_F(RadioReceiverTest, TheAdfSignalAndIdentAudioFollowTheAdfMode) {
    panel().setVariable("ADF SIGNAL", 1, 7.9);
    unit(1).adfIdentSelected = true;
    for (int mode = 0; mode < 4; ++mode) {
        SCOPED_TRACE(mode);
        unit(1).adfMode = mode;
        panel().setVariable("ADF SOUND", 1, 0.0);
        panel().clearKeyEventsSent();
        step(2);
        const bool heard = mode < 2;
        EXPECT_EQ(valuesSent(0x1013B), heard ? std::vector<uint32_t>{1} : std::vector<uint32_t>{});
        EXPECT_EQ(unit(1).adfSignal, mode == 1 || mode == 2 ? 7 : 0);
        panel().setVariable("ADF SOUND", 1, 1.0);
        panel().clearKeyEventsSent();
        step(2);
        EXPECT_EQ(valuesSent(0x1013B), heard ? std::vector<uint32_t>{} : std::vector<uint32_t>{0});
    }
}

TEST_F(RadioReceiverTest, IdentAudioFollowsTheSelectionsAndThePower) {
    unit(1).navIdentSelected = true;
    unit(2).dmeIdentSelected = true;
    unit(2).adfIdentSelected = true;
    step(3);
    EXPECT_EQ(valuesSent(0x10137), std::vector<uint32_t>{1});
    EXPECT_EQ(valuesSent(0x1013A), std::vector<uint32_t>{1});
    EXPECT_EQ(valuesSent(0x10400), std::vector<uint32_t>{1});
    EXPECT_TRUE(unit(1).navSoundOn && unit(2).dmeSoundOn && unit(2).adfSoundOn);
    panel().clearKeyEventsSent();
    network.buses[kBus3].powered = false;
    network.avionicsMaster2 = false;
    step(3);
    EXPECT_EQ(valuesSent(0x10137), std::vector<uint32_t>{0}) << "NAV 1 hangs on bus 3";
    EXPECT_EQ(valuesSent(0x1013A), std::vector<uint32_t>{0});
    EXPECT_EQ(valuesSent(0x10400), std::vector<uint32_t>{0});
    EXPECT_TRUE(valuesSent(0x10139).empty()) << "DME 1 was never selected";
}

TEST_F(RadioReceiverTest, TheStationIdentIsKeptWhileTheSimulatorGivesNone) {
    panel().setTokenText(47, "ZUE");
    panel().setTokenText(56, "A-VERY-LONG-IDENT");
    step();
    EXPECT_EQ(unit(1).identText, "ZUE");
    EXPECT_EQ(unit(2).identText, "A-VERY-L") << "no ident is longer than the screens show";
    panel().setTokenText(47, std::nullopt);
    step();
    EXPECT_EQ(unit(1).identText, "ZUE");
    panel().setTokenText(47, "");
    step();
    EXPECT_EQ(unit(1).identText, "");
}

TEST_F(RadioReceiverTest, TheComAudioSelectionKeepsOneRadioOnAndTheSimulatorInStep) {
    EXPECT_EQ(panel().token(874), 1.0) << "COM 1 transmits from the start";
    radio().toggleCom1Audio();
    EXPECT_TRUE(radio().com1Audio) << "the last radio selected stays on";
    radio().toggleCom2Audio();
    step();
    EXPECT_EQ(valuesSent(0x103A2), std::vector<uint32_t>{1});
    EXPECT_EQ(panel().token(876), 1.0);
    radio().toggleCom1Audio();
    EXPECT_FALSE(radio().com1Audio);
    radio().toggleCom2Audio();
    EXPECT_TRUE(radio().com2Audio);
    panel().clearKeyEventsSent();
    step();
    EXPECT_EQ(valuesSent(0x103A2), std::vector<uint32_t>{0});
    EXPECT_EQ(valuesSent(0x103A0), std::vector<uint32_t>{1});
    EXPECT_EQ(panel().token(875), 1.0);
    EXPECT_EQ(panel().token(874), 0.0);
    panel().clearKeyEventsSent();
    step(2);
    EXPECT_TRUE(panel().keyEventsSent().empty());
    EXPECT_FALSE(radio().isCom1AudioLit(aircraft()));
    EXPECT_TRUE(radio().isCom2AudioLit(aircraft()));
    network.networkPowered = false;
    EXPECT_FALSE(radio().isCom2AudioLit(aircraft()));
}

TEST_F(RadioReceiverTest, Token881IsClearedWhileItIsSet) {
    panel().setToken(881, 1.0);
    step(3);
    EXPECT_EQ(valuesSent(0x103AE), std::vector<uint32_t>{0});
    EXPECT_EQ(panel().token(881), 0.0);
}

TEST_F(RadioReceiverTest, Token354IsPassedOnWhileSide1HasPower) {
    panel().setToken(354, 2.7);
    step();
    EXPECT_EQ(radio().token354Value, 2);
    const uint32_t since = aircraft().simTimeMs;
    EXPECT_EQ(radio().token354Time, since);
    panel().setToken(354, 3.0);
    step();
    EXPECT_EQ(radio().token354Time, since) << "it was already non-zero";
    network.avionicsMaster1 = false;
    step();
    EXPECT_EQ(radio().token354Value, 0);
    network.avionicsMaster1 = true;
    step();
    EXPECT_EQ(radio().token354Value, 3);
    EXPECT_EQ(radio().token354Time, aircraft().simTimeMs);
}

TEST_F(RadioReceiverTest, TheTransponderIdentEndsAfter18Seconds) {
    radio().transponderIdent(aircraft().simTimeMs);
    EXPECT_TRUE(radio().identActive);
    EXPECT_EQ(radio().identTime, aircraft().simTimeMs);
    module.simulator.stepSeconds(17.5);
    EXPECT_TRUE(radio().identActive);
    module.simulator.stepSeconds(0.6);
    EXPECT_FALSE(radio().identActive);
}

TEST(RadioStartTest, TheAtcIdentificationIsReadOnceAndCut) {
    ModuleHarness module;
    sim::Panel& panel = module.simulator.panel;
    panel.setCalculatorResult("(A:atc id, string)", {0, 0, "HB-JVA-EXTRA-LONG-ID", true});
    panel.setCalculatorResult("(A:ATC FLIGHT NUMBER, string)", {0, 0, "123", true});
    module.writeIni("[FSUIPC]\nenableSb3Integration=1\n");
    module.startModule();
    module.simulator.step();
    Radio& radio = *module.aircraft().radio();
    ASSERT_TRUE(radio.started);
    EXPECT_EQ(radio.atcId, "HB-JVA-EXTRA-LO");
    EXPECT_EQ(radio.flightNumber, "123");
    EXPECT_TRUE(radio.enableSb3Integration);
    panel.setCalculatorResult("(A:atc id, string)", {0, 0, "D-ABCD", true});
    module.simulator.step();
    EXPECT_EQ(radio.atcId, "HB-JVA-EXTRA-LO");
}

} // namespace
} // namespace tavi::test
