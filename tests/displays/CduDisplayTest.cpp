#include "displays/CduDisplay.h"

#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"
#include "support/ScreenShots.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace tavi::test {
namespace {

constexpr uint32_t kCduGreen = 0xFF00FF00;
constexpr uint32_t kCduCyan = 0xFF00FFFF;
constexpr uint32_t kCduAmber = 0xFFFFA500;
constexpr uint32_t kCduWhite = 0xFFFFFFFF;

// A page as the CDU pages write it: title, labels, data in every colour, prompts, a reversed
// cell, arrows and the scratch pad.
void writeSamplePage(CduScreen& screen) {
    screen.clear();
    screen.drawTitle("ACTIVE FLT PLAN");
    screen.drawPageNumber(1, 3);
    screen.putText(1, 1, "ORIGIN", CduColour::White, false, false);
    screen.putText(2, 0, "KAAA", CduColour::Green, true, false);
    screen.putTextRight(2, 24, "FL350", CduColour::Cyan, true, false);
    screen.putText(3, 1, "VIA.TO", CduColour::White, false, false);
    screen.putText(4, 0, "ABC", CduColour::Magenta, true, false);
    screen.putText(4, 10, "250/.78", CduColour::Yellow, true, false);
    screen.putText(5, 1, "DEST", CduColour::White, false, false);
    screen.putText(6, 0, "KBBB", CduColour::Amber, true, false);
    screen.putText(6, 12, "WARN", CduColour::Red, true, true);
    screen.putText(6, 20, U"\u2191\u2193", CduColour::White, false, false);
    screen.putText(6, 22, U"\u2191\u2193", CduColour::Green, true, false);
    screen.drawLeftPrompt("DEPARTURE", false, 7);
    screen.drawRightPrompt("ARRIVAL", true, 7);
    screen.putText(8, 0, "KAAA/KBBB", CduColour::White, true, false);
}

class CduDisplayTest : public testing::Test {
protected:
    CduDisplayTest() { writeSamplePage(bench.fms.screen); }

    CduDisplay& display() {
        return *static_cast<CduDisplay*>(bench.aircraft().display(kCduDisplay));
    }
    // The screen drawn at twice its logical size; the frame throttle may skip a draw now and
    // then, so the draw is repeated until it paints.
    platform::gfx::Surface& drawn(bool blank = false) {
        surface.setLogicalSize(CduDisplay::kWidth, CduDisplay::kHeight);
        for (int attempt = 0; attempt < 3 && !surface.changed; ++attempt) {
            display().draw(surface, kScale * 370, kScale * 240, blank);
        }
        surface.changed = false;
        return surface;
    }
    // Pixels of the colour inside the cell's box, in logical units.
    int pixelsOf(uint32_t colour, int32_t row, int32_t column) {
        const CduDisplay& screen = display();
        const float left = screen.columnX(column);
        const float bottom = screen.rowBottom(row);
        int count = 0;
        for (int py = static_cast<int>((bottom - 23.0f) * kScale); py < bottom * kScale; ++py) {
            for (int px = static_cast<int>(left * kScale); px < (left + 14.0f) * kScale; ++px) {
                count += surface.pixel(px, py) == colour ? 1 : 0;
            }
        }
        return count;
    }

    static constexpr int kScale = 2;
    AvionicsBench bench;
    platform::gfx::Surface surface{kScale * 370, kScale * 240};
};

TEST_F(CduDisplayTest, RowsAndColumnsSitOnTheirFixedLines) {
    const float bottoms[] = {38, 67, 87, 113, 133, 159, 179, 205, 225};
    for (int32_t row = 0; row < CduScreen::kRows; ++row) {
        EXPECT_FLOAT_EQ(display().rowBottom(row), bottoms[row]) << row;
    }
    EXPECT_FLOAT_EQ(display().columnX(0), 16.0f);
    EXPECT_FLOAT_EQ(display().columnX(23), 338.0f);
    EXPECT_EQ(CduDisplay::colourOf(CduColour::Yellow), 0xFFF8DF23u);
    EXPECT_EQ(CduDisplay::colourOf(CduColour::Amber), kCduAmber);
    EXPECT_EQ(CduDisplay::colourOf(static_cast<CduColour>(12)), kCduWhite);
    EXPECT_EQ(CduDisplay::colourOf(CduColour::Black), 0xFF000000u);
}

TEST_F(CduDisplayTest, EachCellPaintsInItsColourInsideItsOwnBox) {
    drawn();
    EXPECT_GT(pixelsOf(kCduGreen, 2, 0), 10) << "K of KAAA";
    EXPECT_EQ(pixelsOf(kCduGreen, 2, 4), 0) << "blank after KAAA";
    EXPECT_GT(pixelsOf(kCduCyan, 2, 23), 10) << "the 0 of FL350 in the last column";
    EXPECT_GT(pixelsOf(0xFFFF00FF, 4, 0), 10);
    EXPECT_GT(pixelsOf(0xFFF8DF23, 4, 10), 10);
    EXPECT_GT(pixelsOf(kCduAmber, 6, 0), 10);
    EXPECT_GT(pixelsOf(kCduWhite, 8, 0), 10) << "the scratch pad";
    EXPECT_EQ(pixelsOf(kCduWhite, 8, 10), 0);
}

TEST_F(CduDisplayTest, ReversedCellsArePaintedBlocksAndPromptsAreShapes) {
    drawn();
    const CduDisplay& screen = display();
    auto at = [&](float x, float y) {
        return surface.pixel(static_cast<int>(x * kScale), static_cast<int>(y * kScale));
    };
    // The reversed red cells of row 6 fill their block; the letter inside is black.
    EXPECT_EQ(at(screen.columnX(12) + 1.0f, screen.rowBottom(6) - 22.0f), 0xFFFF0000u);
    EXPECT_GT(pixelsOf(0xFF000000, 6, 12), 10);
    // The small left pointer of row 7 is a filled triangle, the right one reversed.
    EXPECT_EQ(at(screen.columnX(0) + 9.0f, screen.rowBottom(7) - 13.0f), kCduWhite);
    EXPECT_EQ(at(screen.columnX(23) + 5.0f, screen.rowBottom(7) - 13.0f), 0xFF000000u);
    EXPECT_EQ(at(screen.columnX(23) + 1.0f, screen.rowBottom(7) - 21.0f), kCduWhite);
    // Small arrows are cyan whatever the cell's colour; large ones take the cell's colour.
    EXPECT_GT(pixelsOf(kCduCyan, 6, 20), 5);
    EXPECT_EQ(pixelsOf(kCduWhite, 6, 20), 0);
    EXPECT_GT(pixelsOf(kCduGreen, 6, 22), 5);
    EXPECT_EQ(at(screen.columnX(22) + 7.0f, screen.rowBottom(6) - 14.0f), kCduGreen);
}

TEST_F(CduDisplayTest, TheKeyboardMarkerShowsOnlyWhileTheKeyboardTypesIntoTheCdu) {
    auto amberInCorner = [&] {
        int count = 0;
        for (int py = 16 * kScale; py < 36 * kScale; ++py) {
            for (int px = 16 * kScale; px < 30 * kScale; ++px) {
                count += surface.pixel(px, py) == kCduAmber ? 1 : 0;
            }
        }
        return count;
    };
    drawn();
    EXPECT_EQ(amberInCorner(), 0);
    bench.fms.keyboardInput = true;
    drawn();
    EXPECT_GT(amberInCorner(), 5);
}

TEST_F(CduDisplayTest, DarkWithoutItsBusOrWhenBlankedAndBrightnessLiftsTheBackground) {
    drawn(true);
    EXPECT_EQ(pixelsOf(kCduGreen, 2, 0), 0);
    display().setBrightness(300);
    drawn();
    EXPECT_EQ(surface.pixel(2, 2), 0xFF2D2D2Du);
    display().setBrightness(200);
    drawn();
    EXPECT_EQ(pixelsOf(kCduGreen, 2, 0), 0) << "the veil darkens every colour";
    display().setBrightness(255);
    bench.network.power({0, 2});
    bench.step();
    EXPECT_TRUE(display().unpowered);
    drawn();
    EXPECT_EQ(pixelsOf(kCduGreen, 2, 0), 0);
    EXPECT_EQ(surface.pixel(2, 2), 0xFF000000u);
}

TEST_F(CduDisplayTest, TheScreenIsWrittenToItsPicture) {
    TempFolder folder;
    const auto written = writeScreens(bench.aircraft(), folder.path(), kScale);
    const auto cdu = std::find_if(written.begin(), written.end(),
                                  [](const auto& path) { return path.filename() == "Cdu.png"; });
    ASSERT_NE(cdu, written.end());
    keepScreenPicture(*cdu, "Cdu.png");
}

// A person asks for the pictures in a folder that does not exist yet: it is made, not thrown at.
TEST_F(CduDisplayTest, APictureIsKeptInAFolderThatDoesNotExistYet) {
    TempFolder folder;
    const std::filesystem::path kept = folder.path() / "new" / "screens";
    const char* before = std::getenv("TAVI_SCREENS");
    const std::string previous = before ? before : "";
    setenv("TAVI_SCREENS", kept.c_str(), 1);
    const auto written = writeScreenState(bench.aircraft(), kCduDisplay, folder.path(), "kept");
    if (before) {
        setenv("TAVI_SCREENS", previous.c_str(), 1);
    } else {
        unsetenv("TAVI_SCREENS");
    }
    ASSERT_FALSE(written.empty());
    EXPECT_TRUE(std::filesystem::exists(kept / written.filename()));
}

} // namespace
} // namespace tavi::test
