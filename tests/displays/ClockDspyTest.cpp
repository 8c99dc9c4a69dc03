#include "displays/ClockDspy.h"

#include "avionics/Clock.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace tavi::test {
namespace {

class ClockDspyTest : public testing::Test {
protected:
    ClockDspyTest() {
        Clock& clock = *bench.aircraft().clock();
        clock.utcText = "14:05";
        clock.localTimeText = "09:07";
        clock.dateText = "24/06/21";
        clock.elapsedText1 = "1:23";
        clock.elapsedText2 = " 0:45";
        clock.chronoText1 = "03:10";
        clock.chronoText2 = "00:00";
    }

    Clock& clock() { return *bench.aircraft().clock(); }
    ClockDspy& face(int side) {
        return *static_cast<ClockDspy*>(
            bench.aircraft().display(side == 1 ? kClockLeft : kClockRight));
    }

    // The face drawn at 1x, as its gauge shows it.
    platform::gfx::Surface& drawn(int side, bool blank = false) {
        surface.setLogicalSize(129, 134);
        face(side).draw(surface, 129, 134, blank);
        return surface;
    }

    // Lit pixels in the logical rectangle.
    int lit(int x, int y, int width, int height) {
        int count = 0;
        for (int py = y; py < y + height; ++py) {
            for (int px = x; px < x + width; ++px) {
                count += (surface.pixel(px, py) & 0xFFFFFF) > 0x404040 ? 1 : 0;
            }
        }
        return count;
    }
    int litCell(int line, int cell) {
        const float bottom = line == 0 ? ClockDspy::kUpperLineBottom : ClockDspy::kLowerLineBottom;
        return lit(41 + 10 * cell, static_cast<int>(bottom) - 20, 10, 20);
    }

    AvionicsBench bench;
    platform::gfx::Surface surface{129, 134};
};

TEST_F(ClockDspyTest, TheFacesAreCreatedInTheirSlotsForTheirSides) {
    EXPECT_EQ(face(1).side, 1);
    EXPECT_EQ(face(2).side, 2);
    EXPECT_TRUE(face(1).dataReady);
    EXPECT_EQ(face(1).clock, &clock());
}

TEST_F(ClockDspyTest, TheUpperLineFollowsTheModeWithItsMark) {
    const struct {
        int32_t mode;
        const char* text;
        float markX;
    } cases[] = {{Clock::kDateMode, "24/06/21", 0.0f},
                 {Clock::kLocalTimeMode, "09:07", 74.0f},
                 {Clock::kUtcMode, "14:05", 44.0f},
                 {3, "", 0.0f}};
    for (const auto& c : cases) {
        clock().displayMode1 = c.mode;
        EXPECT_EQ(face(1).upperText(), c.text) << c.mode;
        EXPECT_EQ(face(1).markX(), c.markX) << c.mode;
        EXPECT_EQ(face(1).lowerText(), "1:23") << "the lower line stays with mode " << c.mode;
    }
}

TEST_F(ClockDspyTest, TheChronometerReplacesOnlyItsOwnSidesElapsedTime) {
    clock().showChrono1 = true;
    EXPECT_EQ(face(1).lowerText(), "03:10");
    EXPECT_EQ(face(2).lowerText(), " 0:45");
    clock().showChrono2 = true;
    EXPECT_EQ(face(2).lowerText(), "00:00");
}

TEST_F(ClockDspyTest, CharactersSitInFixedCellsAndBlanksKeepTheirs) {
    clock().displayMode2 = Clock::kUtcMode;
    drawn(2);
    // " 0:45": the blank's cell stays dark and the digits keep their places. The stand-in face's
    // digits are wider than a cell, so only the blank cell's far side is probed.
    EXPECT_EQ(lit(41, 78, 6, 20), 0);
    EXPECT_GT(litCell(1, 1), 0);
    EXPECT_GT(litCell(1, 4), 0);
    EXPECT_EQ(lit(96, 78, 6, 20), 0);
    EXPECT_GT(litCell(0, 0), 0);
    EXPECT_EQ(lit(0, 0, 129, 20), 0) << "nothing above the mark";
    EXPECT_EQ(lit(0, 100, 129, 34), 0) << "nothing below the lower line";
}

TEST_F(ClockDspyTest, TheMarkTellsLocalTimeFromUtc) {
    clock().displayMode1 = Clock::kLocalTimeMode;
    drawn(1);
    const int localAt74 = lit(74, 42, 8, 20);
    clock().displayMode1 = Clock::kUtcMode;
    clock().utcText = "";
    drawn(1);
    EXPECT_GT(localAt74, 0);
    EXPECT_GT(lit(44, 42, 8, 20), 0);
    EXPECT_EQ(lit(74, 42, 8, 20), 0);
}

TEST_F(ClockDspyTest, TheFaceIsBlackWithoutPowerOrWhenBlankedAndNeverDims) {
    bench.network.power({1});
    bench.step();
    EXPECT_FALSE(face(1).unpowered);
    EXPECT_TRUE(face(2).unpowered);
    EXPECT_GT(lit(0, 0, 129, 134) + (drawn(1), lit(0, 0, 129, 134)), 0);
    drawn(2);
    EXPECT_EQ(lit(0, 0, 129, 134), 0);
    EXPECT_EQ(surface.pixel(64, 60), 0xFF000000u);
    drawn(1, true);
    EXPECT_EQ(lit(0, 0, 129, 134), 0);

    drawn(1);
    const int full = lit(0, 0, 129, 134);
    face(1).setBrightness(128);
    drawn(1);
    EXPECT_EQ(lit(0, 0, 129, 134), full);
}

TEST_F(ClockDspyTest, EveryScreenIsWrittenToItsPng) {
    TempFolder folder;
    const auto written = writeScreens(bench.aircraft(), folder.path(), 2);
    std::vector<std::string> names;
    for (const auto& path : written) {
        names.push_back(path.filename().string());
    }
    for (const char* name :
         {"Pfd1.png", "Pfd2.png", "Cdu.png", "Clock1.png", "Clock2.png", "Eicas.png", "Isi.png",
          "Rmu1.png", "Rmu2.png", "Mfd1.png", "Mfd2.png"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    for (const auto& path : written) {
        EXPECT_GT(std::filesystem::file_size(path), 100u);
    }
}

} // namespace
} // namespace tavi::test
