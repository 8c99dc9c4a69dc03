#include "displays/Rmu.h"

#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "avionics/Transponder.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace tavi::test {
namespace {

constexpr uint32_t kRmuGreen = 0xFF00FF00;
constexpr uint32_t kRmuCyan = 0xFF00FFFF;
constexpr uint32_t kRmuRed = 0xFFFF0000;
constexpr uint32_t kRmuYellow = 0xFFFFFF00;
constexpr uint32_t kRmuAmber = 0xFFF8DF23;
constexpr uint32_t kRmuWhite = 0xFFFFFFFF;
constexpr uint32_t kRmuBlack = 0xFF000000;
constexpr int kEngine1Slot = 1;
constexpr int kEngine2Slot = 2;
constexpr int kMechanisationSlot = 18;
constexpr int kFuelSystemSlot = 19;
constexpr uint32_t kCom1SetEvent = 0x100AB;
constexpr uint32_t kTransponderSetEvent = 0x100B3;

// Engines, fuel and gear whose state the test sets.
class HeldEngine : public JetEngine {
public:
    using JetEngine::JetEngine;
    void update(Aircraft&) override {}
    void updatePower(Aircraft&) override {}
};

class HeldMechanisation : public Mechanisation {
public:
    void update(Aircraft&) override {}
    void updatePower(Aircraft&) override {}
};

class HeldFuelSystem : public FuelSystem {
public:
    void update(Aircraft&) override {}
    void updatePower(Aircraft&) override {}
};

// Both radio management units on the module, with the engines, fuel and gear held by the test.
class RmuTest : public testing::Test {
protected:
    RmuTest() {
        TransponderMode = kTransponderStandby;
        bench.panel().setVariable("TRANSPONDER CODE", 1, 0x1200);
        for (int side : {1, 2}) {
            bench.panel().setVariable("COM ACTIVE FREQUENCY", side, 0x01215000);
            bench.panel().setVariable("NAV ACTIVE FREQUENCY", side, 0x01103000);
            bench.panel().setVariable("ADF ACTIVE FREQUENCY", side, 0x03455000);
        }
        holdSystem(kEngine1Slot, engine1);
        holdSystem(kEngine2Slot, engine2);
        holdSystem(kMechanisationSlot, mechanisation);
        holdSystem(kFuelSystemSlot, fuel);
        bench.ahrs.onGround = true;
        bench.step();
    }
    ~RmuTest() override {
        for (const auto& [slot, original] : originals) {
            bench.aircraft().systems[static_cast<std::size_t>(slot)] = original;
        }
        TransponderMode = kTransponderStandby;
    }

    void holdSystem(int slot, System& system) {
        System*& held = bench.aircraft().systems[static_cast<std::size_t>(slot)];
        originals.emplace_back(slot, held);
        held = &system;
    }
    Rmu& rmu(int side = 1) {
        return *static_cast<Rmu*>(bench.aircraft().display(side == 1 ? kRmuLeft : kRmuRight));
    }
    RadioUnit& unit(int side = 1) {
        Radio* radio = bench.aircraft().radio();
        return side == 1 ? radio->unit1 : radio->unit2;
    }
    // A full press and release, as the bezel gives it.
    void press(int32_t key, int side = 1) {
        rmu(side).onKey(key, Rmu::kPress);
        rmu(side).onKey(key, Rmu::kRelease);
    }
    void presses(const std::vector<int32_t>& keys) {
        for (int32_t key : keys) {
            press(key);
        }
    }
    void turn(int32_t knob, int steps = 1) {
        for (int i = 0; i < steps; ++i) {
            rmu().onKnob(knob, Rmu::kPress);
        }
    }
    // A named variable set for one frame, as another gauge sets it.
    void setVariable(const std::string& name) {
        bench.panel().setNamedVariable(name, 1.0);
        bench.step();
    }
    // The screen drawn at twice its logical size; the frame throttle skips a draw now and then.
    platform::gfx::Surface& drawn(int side = 1) {
        surface.setLogicalSize(Rmu::kWidth, Rmu::kHeight);
        surface.changed = false;
        for (int attempt = 0; attempt < 5 && !surface.changed; ++attempt) {
            rmu(side).draw(surface, kScale * 180, kScale * 225, false);
        }
        return surface;
    }
    uint32_t at(double x, double y) {
        return surface.pixel(static_cast<int>(x * kScale), static_cast<int>(y * kScale));
    }
    // Pixels of the colour inside a logical rectangle.
    int count(uint32_t colour, double x, double y, double w, double h) {
        int found = 0;
        for (int py = static_cast<int>(y * kScale); py < (y + h) * kScale; ++py) {
            for (int px = static_cast<int>(x * kScale); px < (x + w) * kScale; ++px) {
                found += surface.pixel(px, py) == colour ? 1 : 0;
            }
        }
        return found;
    }
    // Writes the picture into a temporary folder, checks that it was written and keeps a copy
    // where TAVI_SCREENS asks for it.
    void writePicture(const std::string& name) {
        const std::filesystem::path file = folder / (name + ".png");
        ASSERT_TRUE(surface.writePng(file.string())) << name;
        keepScreenPicture(file, file.filename().string());
    }

    static constexpr int kScale = 2;
    AvionicsBench bench;
    HeldEngine engine1{1};
    HeldEngine engine2{2};
    HeldMechanisation mechanisation;
    HeldFuelSystem fuel;
    std::vector<std::pair<int, System*>> originals;
    platform::gfx::Surface surface{kScale * 180, kScale * 225};
    TempFolder folder;
};

TEST_F(RmuTest, EachSideHasItsScreenPoweredByItsBusAndMaster) {
    EXPECT_EQ(rmu(1).ownSide, 1);
    EXPECT_EQ(rmu(2).ownSide, 2);
    EXPECT_EQ(rmu(2).controlledUnit(), &unit(2));
    EXPECT_FALSE(rmu(1).unpowered);
    struct Case {
        bool master1;
        std::initializer_list<int> buses;
        bool side1Unpowered;
        bool side2Unpowered;
    };
    const Case cases[] = {
        {true, {3, 4}, false, false},
        {false, {3, 4}, true, false},
        {true, {4}, true, false},
        {true, {3}, false, true},
    };
    for (const Case& c : cases) {
        bench.network.avionicsMaster1 = c.master1;
        bench.network.power(c.buses);
        bench.step(2);
        EXPECT_EQ(rmu(1).unpowered, c.side1Unpowered);
        EXPECT_EQ(rmu(2).unpowered, c.side2Unpowered);
    }
}

TEST_F(RmuTest, ColdAndDarkDrawsBlackAndTheKeysStillTune) {
    bench.network.avionicsMaster1 = false;
    bench.step(2);
    drawn();
    EXPECT_EQ(count(kRmuBlack, 0, 0, 180, 225), 180 * 225 * kScale * kScale);
    writePicture("rmu_cold_and_dark");
    turn(Rmu::kInnerKnobUp);
    EXPECT_EQ(unit().comStandbyText, "118.025");
}

TEST_F(RmuTest, TheNamedVariablesTuneSwapAndStoreAFrequencyIntoTheSimulatorsRadio) {
    setVariable("Rmu1ButtonInnerKnobRightClick");
    EXPECT_EQ(bench.panel().namedVariable("Rmu1ButtonInnerKnobRightClick"), 0.0);
    EXPECT_EQ(unit().comStandbyText, "118.025");
    EXPECT_FALSE(unit().comStandbyFromMemory);

    bench.panel().clearKeyEventsSent();
    setVariable("Rmu1ButtonL1Click");
    const auto& events = bench.panel().keyEventsSent();
    EXPECT_NE(std::find(events.begin(), events.end(), sim::KeyEvent{kCom1SetEvent, 0x1802}),
              events.end());
    bench.step();
    EXPECT_EQ(unit().comActiveText, "118.025");

    const int32_t swapped = unit().comStandby;
    setVariable("Rmu1ButtonKnobRightClick");
    EXPECT_NE(unit().comStandby, swapped);
    setVariable("Rmu1ButtonStoClick");
    EXPECT_EQ(unit().comMemories[0], unit().comStandby);
    EXPECT_TRUE(unit().comStandbyFromMemory);

    setVariable("Rmu1ButtonDimClick");
    for (int i = 0; i < 5; ++i) {
        setVariable("Rmu1ButtonKnobLeftClick");
    }
    EXPECT_EQ(rmu().brightness, 230);
    EXPECT_EQ(rmu(2).brightness, 255);
}

TEST_F(RmuTest, EveryNamedVariableIsOnePressAndIsClearedInItsFrame) {
    const auto names = Rmu::variableNames(2);
    EXPECT_EQ(names[0], "Rmu2ButtonL1Click");
    EXPECT_EQ(names[18], "Rmu2ButtonTstClick");
    EXPECT_EQ(names[23], "Rmu2ButtonKnobLeftClick");
    for (const std::string& name : names) {
        ASSERT_TRUE(bench.panel().hasNamedVariable(name)) << name;
    }
    // Set once by a gauge, a key variable gives one press: the screen clears it in that frame.
    bench.panel().setNamedVariable("Rmu2ButtonSqClick", 1.0);
    bench.step();
    EXPECT_TRUE(unit(2).sqActive);
    bench.step();
    EXPECT_TRUE(unit(2).sqActive);
    EXPECT_FALSE(rmu(2).keyPressed);

    setVariable("Rmu2ButtonTstClick");
    EXPECT_TRUE(bench.aircraft().tcas()->selfTest);
}

TEST_F(RmuTest, RadioPageKeysMoveTheCursorAndStepTheFields) {
    struct Case {
        const char* name;
        std::vector<int32_t> keys;
        std::function<bool(const RadioUnit&, const Rmu&)> holds;
    };
    const std::vector<Case> cases = {
        {"L2 to memory select",
         {Rmu::kL2},
         [](const RadioUnit& u, const Rmu&) {
             return u.comCursor == 2;
         }},
        {"L2 twice back to standby",
         {Rmu::kL2, Rmu::kL2},
         [](const RadioUnit& u, const Rmu&) {
             return u.comCursor == 1;
         }},
        {"R2 to NAV standby",
         {Rmu::kR2},
         [](const RadioUnit& u, const Rmu&) {
             return u.navCursor == 1 && u.comCursor == 0;
         }},
        {"L3 to the code",
         {Rmu::kL3},
         [](const RadioUnit& u, const Rmu&) {
             return u.transponderCursor == 1;
         }},
        {"L4 to the mode",
         {Rmu::kL4},
         [](const RadioUnit& u, const Rmu&) {
             return u.transponderCursor == 2;
         }},
        {"L4 twice turns on TA/RA",
         {Rmu::kL4, Rmu::kL4},
         [](const RadioUnit&, const Rmu&) {
             return TransponderMode == kTransponderTaRa;
         }},
        {"L5 L5 steps the range",
         {Rmu::kL5, Rmu::kL5},
         [](const RadioUnit& u, const Rmu&) {
             return u.otherCursor == 1 && u.tcasRange == 12;
         }},
        {"L6 L6 steps the band",
         {Rmu::kL6, Rmu::kL6},
         [](const RadioUnit& u, const Rmu&) {
             return u.tcasAltitudeBand == 2;
         }},
        {"R3 to the ADF frequency",
         {Rmu::kR3},
         [](const RadioUnit& u, const Rmu&) {
             return u.adfCursor == 1;
         }},
        {"R4 R4 steps the ADF mode",
         {Rmu::kR4, Rmu::kR4},
         [](const RadioUnit& u, const Rmu&) {
             return u.adfCursor == 2 && u.adfMode == 2;
         }},
        {"SQ",
         {Rmu::kSq},
         [](const RadioUnit& u, const Rmu&) {
             return u.sqActive;
         }},
        {"SIDE controls side 2",
         {Rmu::kSide},
         [](const RadioUnit&, const Rmu& r) {
             return r.controlledSide == 2;
         }},
        {"SIDE on the code swaps the transponder",
         {Rmu::kL3, Rmu::kSide},
         [](const RadioUnit&, const Rmu& r) {
             return r.controlledSide == 1;
         }},
        {"DIM then L2 only ends dimming",
         {Rmu::kDim, Rmu::kL2},
         [](const RadioUnit& u, const Rmu& r) {
             return !r.dimMode && u.comCursor == 1;
         }},
        {"PGE opens the menu",
         {Rmu::kL2, Rmu::kPge},
         [](const RadioUnit& u, const Rmu& r) {
             return r.page() == 1 && u.comCursor == 1;
         }},
    };
    for (const Case& c : cases) {
        Rmu& screen = rmu();
        screen.setPage(Rmu::kRadioPage);
        screen.controlledSide = 1;
        screen.dimMode = false;
        screen.savedTransponderMode = -1;
        TransponderMode = kTransponderStandby;
        RadioUnit& u = unit();
        u.sqActive = false;
        u.tcasRange = 6;
        u.tcasAltitudeBand = 1;
        u.adfMode = 1;
        for (int32_t key : c.keys) {
            press(key);
        }
        EXPECT_TRUE(c.holds(u, screen)) << c.name;
    }
    EXPECT_EQ(bench.aircraft().radio()->transponderSide, 2);
}

TEST_F(RmuTest, KnobStepsTheFieldUnderTheCursor) {
    struct Case {
        const char* name;
        std::vector<int32_t> keys;
        int32_t knob;
        int steps;
        std::function<bool(const RadioUnit&)> holds;
    };
    const std::vector<Case> cases = {
        {"COM standby MHz",
         {},
         Rmu::kOuterKnobDown,
         1,
         [](const RadioUnit& u) {
             return u.comStandbyText == "136.000";
         }},
        {"COM memory select",
         {Rmu::kL2},
         Rmu::kInnerKnobUp,
         1,
         [](const RadioUnit& u) {
             return u.comMemoryIndex == 1 && u.comStandbyText == "118.500";
         }},
        {"NAV standby kHz",
         {Rmu::kR2},
         Rmu::kInnerKnobUp,
         1,
         [](const RadioUnit& u) {
             return u.navStandbyText == "108.050";
         }},
        {"ADF frequency",
         {Rmu::kR3},
         Rmu::kOuterKnobUp,
         1,
         [](const RadioUnit& u) {
             return u.adfActive != 0;
         }},
        {"ADF mode back",
         {Rmu::kR4},
         Rmu::kInnerKnobDown,
         1,
         [](const RadioUnit& u) {
             return u.adfMode == 0;
         }},
        {"TCAS range down wraps to 40",
         {Rmu::kL5},
         Rmu::kInnerKnobDown,
         1,
         [](const RadioUnit& u) {
             return u.tcasRange == 40;
         }},
        {"TCAS band stays at ABOVE",
         {Rmu::kL6},
         Rmu::kOuterKnobUp,
         3,
         [](const RadioUnit& u) {
             return u.tcasAltitudeBand == 2;
         }},
    };
    for (const Case& c : cases) {
        RadioUnit& u = unit();
        rmu().setPage(Rmu::kRadioPage);
        u.comMemoryIndex = 0;
        u.comStandby = u.comMemories[0];
        u.navStandby = u.navMemories[0];
        u.comStandbyFromMemory = true;
        u.tcasRange = 6;
        u.tcasAltitudeBand = 1;
        u.adfMode = 1;
        for (int32_t key : c.keys) {
            press(key);
        }
        turn(c.knob, c.steps);
        EXPECT_TRUE(c.holds(u)) << c.name;
    }
}

TEST_F(RmuTest, TheTransponderCodeAndModeReachTheSimulatorAndTcas) {
    presses({Rmu::kL3});
    bench.panel().clearKeyEventsSent();
    turn(Rmu::kOuterKnobUp);
    turn(Rmu::kInnerKnobDown);
    EXPECT_EQ(TransponderCode, 0x1377);
    const auto& events = bench.panel().keyEventsSent();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), (sim::KeyEvent{kTransponderSetEvent, 0x1377}));
    bench.step();
    EXPECT_EQ(unit().transponderText, "1377");

    presses({Rmu::kL4, Rmu::kL4});
    EXPECT_EQ(TransponderMode, kTransponderTaRa);
    const Tcas& tcas = *bench.aircraft().tcas();
    bench.step(3);
    EXPECT_FALSE(tcas.standby);
    turn(Rmu::kInnerKnobDown);
    EXPECT_EQ(TransponderMode, kTransponderTaOnly);
    bench.step(3);
    EXPECT_TRUE(tcas.taOnly);
    presses({Rmu::kL4});
    EXPECT_EQ(TransponderMode, kTransponderStandby);
    bench.step(3);
    EXPECT_TRUE(tcas.standby);
    presses({Rmu::kL4});
    EXPECT_EQ(TransponderMode, kTransponderTaOnly) << "STANDBY returns to the last mode";
}

TEST_F(RmuTest, HeldKeysSwitchToDirectTuningAndSwapTheCode) {
    rmu().onKey(Rmu::kL2, Rmu::kPress);
    EXPECT_EQ(unit().comCursor, RadioUnit::kCursorMemorySelect);
    bench.stepBy(2.9);
    rmu().onKey(Rmu::kL2, Rmu::kPress);
    EXPECT_EQ(unit().comCursor, RadioUnit::kCursorMemorySelect);
    bench.stepBy(0.2);
    rmu().onKey(Rmu::kL2, Rmu::kPress);
    EXPECT_EQ(unit().comCursor, RadioUnit::kCursorActive);
    rmu().onKey(Rmu::kL2, Rmu::kRelease);
    bench.panel().clearKeyEventsSent();
    press(Rmu::kL1);
    EXPECT_TRUE(bench.panel().keyEventsSent().empty())
        << "no transfer while tuning the active frequency";

    TransponderPresetCode = 0x7000;
    rmu().onKey(Rmu::kL3, Rmu::kPress);
    bench.stepBy(2.0);
    rmu().onKey(Rmu::kL3, Rmu::kPress | Rmu::kHeld);
    rmu().onKey(Rmu::kL3, Rmu::kLeave);
    EXPECT_EQ(TransponderCode, 0x7000);
    EXPECT_FALSE(rmu().keyPressed);
    TransponderCode = 0x1200;
    TransponderPresetCode = 0x1200;
}

TEST_F(RmuTest, TheCursorTimesOutTwentySecondsAfterTheLastKeyOfEitherUnit) {
    press(Rmu::kL3);
    bench.stepBy(15.0);
    press(Rmu::kSq, 2);
    bench.stepBy(15.0);
    EXPECT_EQ(unit().transponderCursor, 1);
    bench.stepBy(5.5);
    EXPECT_EQ(unit().transponderCursor, 0);
    EXPECT_EQ(unit().comCursor, RadioUnit::kCursorStandby);
}

TEST_F(RmuTest, PagesOpenFromTheMenuAndReturn) {
    struct Case {
        std::vector<int32_t> keys;
        int32_t page;
    };
    const std::vector<Case> cases = {
        {{Rmu::kPge}, Rmu::kPageMenu},
        {{Rmu::kPge, Rmu::kL1}, Rmu::kComMemoryPage},
        {{Rmu::kPge, Rmu::kL2}, Rmu::kNavMemoryPage},
        {{Rmu::kPge, Rmu::kL5}, Rmu::kAtcTcasControlPage},
        {{Rmu::kPge, Rmu::kL5, Rmu::kL6}, Rmu::kRadioPage},
        {{Rmu::kPge, Rmu::kR2}, Rmu::kNavBackupPage},
        {{Rmu::kPge, Rmu::kR3}, Rmu::kEngineBackupPage},
        {{Rmu::kPge, Rmu::kR3, Rmu::kL6}, Rmu::kEngineBackup2Page},
        {{Rmu::kPge, Rmu::kR3, Rmu::kL6, Rmu::kL6}, Rmu::kEngineBackupPage},
        {{Rmu::kPge, Rmu::kR5}, Rmu::kSystemSelectPage},
        {{Rmu::kPge, Rmu::kR6}, Rmu::kMaintDataPage},
        {{Rmu::kPge, Rmu::kR6, Rmu::kR4}, Rmu::kRmuSetupPage},
        {{Rmu::kPge, Rmu::kR6, Rmu::kL2}, Rmu::kSoftwareVersionsPage},
        {{Rmu::kPge, Rmu::kR6, Rmu::kL2, Rmu::kR6}, Rmu::kMaintDataPage},
        {{Rmu::kPge, Rmu::kR2, Rmu::kL6}, Rmu::kNavBackupPage},
    };
    for (const Case& c : cases) {
        rmu().setPage(Rmu::kRadioPage);
        for (int32_t key : c.keys) {
            press(key);
        }
        EXPECT_EQ(rmu().page(), c.page) << c.keys.size();
    }
    bench.ahrs.onGround = false;
    presses({Rmu::kPge, Rmu::kR6});
    EXPECT_EQ(rmu().page(), Rmu::kPageMenu) << "maintenance only on the ground";
}

TEST_F(RmuTest, MemoryPageSelectsTunesInsertsAndDeletes) {
    presses({Rmu::kPge, Rmu::kL1, Rmu::kL3});
    EXPECT_EQ(rmu().selectedMemoryLine, 1);
    turn(Rmu::kOuterKnobUp);
    EXPECT_EQ(unit().comMemoryTexts[1], "119.500");
    press(Rmu::kR5);
    EXPECT_EQ(unit().comMemories[1], 0);
    EXPECT_EQ(unit().comMemoryTexts[2], "119.500");
    press(Rmu::kR6);
    EXPECT_EQ(unit().comMemoryTexts[1], "119.500");
    press(Rmu::kL3);
    EXPECT_EQ(rmu().selectedMemoryLine, -1);
    press(Rmu::kL5);
    EXPECT_EQ(rmu().memoryFirstLine, 0) << "MORE stays on the first half until it is full";
    for (std::size_t i = 0; i < 6; ++i) {
        unit().comMemories[i] = 0x01200000 + static_cast<int32_t>(i) * 0x1000;
    }
    presses({Rmu::kL5, Rmu::kR4});
    EXPECT_EQ(rmu().memoryFirstLine, 6);
    EXPECT_EQ(rmu().selectedMemoryLine, 11);
    press(Rmu::kR4);
    EXPECT_EQ(rmu().selectedMemoryLine, -1);
}

// Under "FMS" the NAV memory page tells whether the FMS may still tune the NAV receiver; the
// longer "DISABLED", right-aligned like "ENABLED", begins further left.
TEST_F(RmuTest, NavMemoryPageShowsWhetherTheFmsTunes) {
    // The first logical column of the line under "FMS" with any green ink.
    const auto firstInkedColumn = [this] {
        for (double x = 90; x < 170; x += 0.5) {
            if (count(kRmuGreen, x, 28, 0.5, 12) > 0) {
                return x;
            }
        }
        return 170.0;
    };
    presses({Rmu::kPge, Rmu::kL2});
    ASSERT_EQ(rmu().page(), Rmu::kNavMemoryPage);
    drawn();
    const double enabled = firstInkedColumn();
    unit().navAutoTuning = false;
    drawn();
    writePicture("rmu_nav_memory_fms_disabled");
    EXPECT_LT(firstInkedColumn(), enabled - 2.0);
    EXPECT_LT(enabled, 170.0) << "ENABLED is drawn";
}

TEST_F(RmuTest, RadioPageShowsTheFieldsAndTheCursor) {
    bench.aircraft().radio()->flightNumber = "TAV123";
    drawn();
    writePicture("rmu_radio");
    EXPECT_GT(count(kRmuGreen, 89, 20, 2, 60), 60) << "frame";
    EXPECT_GT(count(kRmuYellow, 13, 43, 74, 2), 100) << "standby box";
    EXPECT_GT(count(kRmuCyan, 13, 44, 74, 20), 50) << "standby frequency";
    EXPECT_EQ(count(kRmuYellow, 13, 20, 74, 2), 0) << "no active box";

    rmu().onKey(Rmu::kL2, Rmu::kPress);
    bench.stepBy(3.0);
    rmu().onKey(Rmu::kL2, Rmu::kPress);
    rmu().onKey(Rmu::kL2, Rmu::kRelease);
    ASSERT_EQ(unit().comCursor, RadioUnit::kCursorActive);
    drawn();
    writePicture("rmu_radio_direct_tuning");
    EXPECT_GT(count(kRmuYellow, 13, 20, 74, 2), 100) << "active box";
    EXPECT_EQ(count(kRmuCyan, 13, 44, 74, 36), 0) << "no standby or memory label";
}

TEST_F(RmuTest, DimPageShowsTheBrightnessBar) {
    press(Rmu::kDim);
    turn(Rmu::kOuterKnobDown, 5);
    drawn();
    writePicture("rmu_dim");
    // The bar is white under the dim veil of brightness 230.
    const uint32_t dimmedWhite = 0xFFE6E6E6;
    const double bar = 120.0 * (230 - 128) / 222.0;
    EXPECT_GT(count(dimmedWhite, 32, 184, bar - 4, 6), 0);
    EXPECT_EQ(count(dimmedWhite, 32 + bar + 2, 184, 120 - bar - 6, 6), 0);

    press(Rmu::kSq);
    EXPECT_FALSE(rmu().dimMode);
    EXPECT_FALSE(unit().sqActive) << "the key that ends dimming does nothing else";
    rmu().setBrightness(400);
    drawn();
    EXPECT_EQ(at(175, 100), 0xFF5F5F5Fu) << "the background lifts to grey 95";
}

TEST_F(RmuTest, MenuAndMaintenancePagesInTheTitleColourOfTheControlledSide) {
    struct Case {
        std::vector<int32_t> keys;
        const char* picture;
    };
    const std::vector<Case> cases = {
        {{Rmu::kPge}, "rmu_page_menu"},
        {{Rmu::kPge, Rmu::kL1, Rmu::kL2}, "rmu_com_memory"},
        {{Rmu::kPge, Rmu::kL2}, "rmu_nav_memory"},
        {{Rmu::kPge, Rmu::kL5}, "rmu_atc_tcas"},
        {{Rmu::kPge, Rmu::kR5}, "rmu_system_select"},
        {{Rmu::kPge, Rmu::kR6}, "rmu_maint_data"},
        {{Rmu::kPge, Rmu::kR6, Rmu::kL4}, "rmu_setup"},
    };
    for (const Case& c : cases) {
        rmu().setPage(Rmu::kRadioPage);
        presses(c.keys);
        drawn();
        writePicture(c.picture);
        EXPECT_GT(count(kRmuGreen, 0, 25, 180, 190), 100) << c.picture;
    }
    rmu().controlledSide = 2;
    rmu().setPage(Rmu::kPageMenu);
    drawn();
    writePicture("rmu_page_menu_other_side");
    EXPECT_GT(count(0xFFFF80FF, 22, 19, 136, 2), 200) << "magenta underline";
}

TEST_F(RmuTest, SoftwareVersionsAppearOneRowEvery300Ms) {
    presses({Rmu::kPge, Rmu::kR6, Rmu::kL2});
    drawn();
    EXPECT_EQ(count(kRmuYellow, 70, 24, 110, 150), 0);
    bench.stepBy(0.35);
    drawn();
    EXPECT_GT(count(kRmuYellow, 70, 26, 110, 12), 0);
    EXPECT_EQ(count(kRmuYellow, 70, 42, 110, 130), 0);
    bench.stepBy(3.0);
    drawn();
    writePicture("rmu_software_versions");
    EXPECT_GT(count(kRmuYellow, 70, 162, 110, 14), 0);
}

TEST_F(RmuTest, EngineBackupPageAtTakeOffRoll) {
    for (HeldEngine* engine : {&engine1, &engine2}) {
        engine->n1Percent = 95.0f;
        engine->n2Percent = 97.0f;
        engine->itt = 780.0f;
        engine->fuelFlow = 3200.0f;
        engine->oilPressure = 96.0f;
        engine->oilTemperature = 90.0f;
    }
    engine2.n1Percent = 105.0f;
    mechanisation.gearPositions = {16383, 16383, 16383};
    presses({Rmu::kPge, Rmu::kR3});
    drawn();
    writePicture("rmu_engine_backup_takeoff");
    EXPECT_EQ(at(12, 22.5), kRmuCyan) << "engine 1 pointer tip at y 22.5";
    EXPECT_NE(at(12, 28.5), kRmuCyan);
    EXPECT_EQ(at(168, 15), kRmuCyan) << "engine 2 pointer at 105 %";
    EXPECT_GT(count(kRmuRed, 118, 32, 30, 16), 10) << "N1 above 100 in red";
    EXPECT_GT(count(kRmuAmber, 16, 146, 30, 16), 10) << "oil pressure 96 in amber";

    engine1.n1Percent = -20.0f;
    drawn();
    EXPECT_EQ(count(kRmuCyan, 0, 71, 20, 20), 0) << "pointer below the scale is clipped";
}

TEST_F(RmuTest, EngineValuesThatAreNoNumberShowAsZero) {
    presses({Rmu::kPge, Rmu::kR3});
    drawn();
    const int zeros = count(kRmuGreen, 10, 30, 160, 150);
    for (float* value : {&engine1.n1Percent, &engine1.n2Percent, &engine1.itt, &engine1.fuelFlow,
                         &engine2.n1Percent, &engine2.n2Percent, &engine2.itt, &engine2.fuelFlow}) {
        *value = std::nanf("");
    }
    drawn();
    EXPECT_EQ(count(kRmuGreen, 10, 30, 160, 150), zeros);
}

TEST_F(RmuTest, EngineBackupValueRules) {
    EXPECT_EQ(Rmu::roundedFuelFlow(1234.0f, false), 1230);
    EXPECT_EQ(Rmu::roundedFuelFlow(1234.0f, true), 560);
    struct Case {
        float pressure;
        float n2;
        uint32_t colour;
    };
    const Case cases[] = {{33, 60, kRmuRed},   {40, 87, kRmuGreen}, {40, 88, kRmuAmber},
                          {60, 90, kRmuGreen}, {96, 90, kRmuAmber}, {160, 90, kRmuRed}};
    for (const Case& c : cases) {
        EXPECT_EQ(Rmu::oilPressureColour(c.pressure, c.n2), c.colour) << c.pressure << " " << c.n2;
    }
    EXPECT_EQ(Rmu::oilTemperatureColour(20), kRmuAmber);
    EXPECT_EQ(Rmu::oilTemperatureColour(126), kRmuGreen);
    EXPECT_EQ(Rmu::oilTemperatureColour(127), kRmuRed);
}

TEST_F(RmuTest, FuelFlapAndGearBackupPage) {
    fuel.leftFuel = 449.0f;
    fuel.rightFuel = 2400.0f;
    mechanisation.flapAngle = 22.0f;
    mechanisation.gearPositions = {16383, 16383, 16383};
    presses({Rmu::kPge, Rmu::kR3, Rmu::kL6});
    drawn();
    writePicture("rmu_fuel_backup_low_fuel");
    EXPECT_GT(count(kRmuRed, 13, 9, 38, 2), 40) << "red box on the low tank";
    EXPECT_EQ(count(kRmuRed, 129, 9, 38, 2), 0);
    EXPECT_GT(count(kRmuGreen, 16, 64, 120, 16), 20) << "gear down and locked";
    mechanisation.gearPositions[1] = 16000;
    fuel.leftFuel = 450.0f;
    drawn();
    EXPECT_GT(count(kRmuAmber, 13, 9, 38, 2), 40) << "at the red limit the tank is amber";
    EXPECT_EQ(count(kRmuGreen, 16, 64, 120, 16), 0);
}

TEST_F(RmuTest, NavBackupPageOnAVorAndAnNdb) {
    bench.ahrs.unit1.heading = 90.0f;
    RadioUnit& u = unit();
    u.navSignal = 1;
    u.hasNav = true;
    u.stationBearing = 180.0f;
    u.adfSignal = 1;
    u.adfBearing = 110.0f;
    u.backupCourse = 90;
    u.hasDme = true;
    u.dmeDistance = 12.34f;
    u.backupToFrom = RadioUnit::kTo;
    presses({Rmu::kPge, Rmu::kR2});
    drawn();
    writePicture("rmu_nav_backup_cruise");
    EXPECT_GT(count(kRmuCyan, 160, 45, 10, 20), 5) << "VOR corner arrow at the upper right";
    EXPECT_GT(count(kRmuCyan, 6, 137, 8, 8), 20) << "VOR readout";
    EXPECT_GT(count(kRmuGreen, 88, 95, 4, 40), 20) << "course pointer straight up";
    EXPECT_GT(count(kRmuYellow, 5, 197, 40, 3), 20) << "knob on the course";

    press(Rmu::kL1);
    turn(Rmu::kOuterKnobUp);
    drawn();
    EXPECT_GT(count(kRmuYellow, 9, 23, 46, 3), 20) << "knob on the NAV frequency";
    EXPECT_EQ(u.navBackupKnobMode, RadioUnit::kBackupKnobNavFrequency);
    bench.stepBy(20.5);
    EXPECT_EQ(u.navBackupKnobMode, RadioUnit::kBackupKnobCourse);
}

TEST_F(RmuTest, NavBackupPageWithAFailedHeadingAndOnAnIlsApproach) {
    presses({Rmu::kPge, Rmu::kR2});
    bench.ahrs.unit1.headingSide1.invalid = true;
    unit().navSignal = 1;
    unit().hasNav = true;
    drawn();
    writePicture("rmu_nav_backup_heading_failed");
    EXPECT_GT(count(kRmuRed, 70, 90, 40, 40), 20) << "HDG FAIL";
    EXPECT_GT(count(kRmuAmber, 60, 6, 60, 16), 5) << "heading dashes";
    EXPECT_EQ(count(kRmuGreen, 88, 95, 4, 40), 0) << "no course pointer";

    bench.ahrs.unit1.headingSide1.invalid = false;
    unit().hasLocalizer = true;
    unit().glideSlopeFlag = true;
    unit().gsi = 60.0f;
    drawn();
    writePicture("rmu_nav_backup_ils_approach");
    EXPECT_EQ(count(kRmuCyan, 0, 110, 40, 40), 0) << "no VOR readout on a localizer";
    EXPECT_GT(count(kRmuGreen, 140, 150, 20, 30), 5) << "glideslope pointer";
}

} // namespace
} // namespace tavi::test
