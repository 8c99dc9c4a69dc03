#include "platform/gfx/Canvas.h"

#include "platform/gfx/Path.h"
#include "platform/gfx/Surface.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace tavi::platform::gfx {
namespace {

constexpr Argb kBlack = 0xFF000000;
constexpr Argb kRed = 0xFFFF0000;
constexpr Argb kGreen = 0xFF00FF00;

class CanvasTest : public testing::Test {
protected:
    CanvasTest() : surface(100, 100) {
        Canvas canvas(surface);
        canvas.clear(kBlack);
    }

    Surface surface;
};

TEST_F(CanvasTest, FillsOnlyTheRectangleAndNormalisesNegativeSizes) {
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        canvas.fillRectangle(kRed, {10, 10, 20, 20});
        canvas.fillRectangle(kGreen, {80, 80, -10, -20});
        EXPECT_EQ(canvas.status(), 0);
    }
    EXPECT_EQ(surface.pixel(15, 15), kRed);
    EXPECT_EQ(surface.pixel(9, 15), kBlack);
    EXPECT_EQ(surface.pixel(30, 30), kBlack);
    EXPECT_EQ(surface.pixel(75, 65), kGreen);
    EXPECT_EQ(surface.pixel(75, 81), kBlack);
    EXPECT_EQ(surface.pixel(-1, 0), 0u);
    EXPECT_TRUE(surface.changed);
}

TEST_F(CanvasTest, StrokesFollowThePenWidth) {
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        canvas.drawLine({kRed, 6.0}, {10, 50}, {90, 50});
        canvas.drawRectangle({kGreen, 2.0}, {20, 70, 40, 20});
    }
    EXPECT_EQ(surface.pixel(50, 47), kRed);
    EXPECT_EQ(surface.pixel(50, 52), kRed);
    EXPECT_EQ(surface.pixel(50, 44), kBlack);
    EXPECT_EQ(surface.pixel(40, 70), kGreen);
    EXPECT_EQ(surface.pixel(40, 80), kBlack) << "a drawn rectangle is not filled";
}

TEST_F(CanvasTest, ClipsKeepDrawingInsideAndResetReleasesThem) {
    {
        Canvas canvas(surface);
        canvas.clipRectangle({0, 0, 50, 100});
        canvas.clipRectangle({0, 0, 100, 50});
        canvas.fillRectangle(kRed, {0, 0, 100, 100});
        canvas.resetClip();
        canvas.clipPolygon({{60, 60}, {100, 60}, {100, 100}});
        canvas.fillRectangle(kGreen, {0, 0, 100, 100});
    }
    EXPECT_EQ(surface.pixel(25, 25), kRed);
    EXPECT_EQ(surface.pixel(75, 25), kBlack);
    EXPECT_EQ(surface.pixel(25, 75), kBlack);
    EXPECT_EQ(surface.pixel(95, 70), kGreen);
    EXPECT_EQ(surface.pixel(65, 95), kBlack);
}

TEST_F(CanvasTest, TransformsStackAndResetToTheLogicalMapping) {
    surface.setLogicalSize(50, 200);
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        // Logical (10, 20) is pixel (20, 10).
        canvas.fillRectangle(kRed, {10, 20, 5, 10});
        canvas.translate(25, 100);
        canvas.rotate(90);
        // Rotated clockwise: logical +x now points down the screen.
        canvas.fillRectangle(kGreen, {10, -1, 20, 2});
        canvas.resetTransform();
        canvas.fillRectangle(kGreen, {0, 190, 5, 10});
    }
    EXPECT_EQ(surface.pixel(22, 12), kRed);
    EXPECT_EQ(surface.pixel(50, 60), kGreen);
    EXPECT_EQ(surface.pixel(60, 50), kBlack);
    EXPECT_EQ(surface.pixel(5, 97), kGreen);
}

TEST_F(CanvasTest, HatchesAlternatePixelsAndStayOnThePixelGridWhenTurned) {
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        canvas.fillRectangleHatched(kRed, kGreen, {0, 0, 40, 40});
        canvas.translate(70, 70);
        canvas.rotate(30);
        canvas.fillRectangleHatched(kRed, kGreen, {-15, -15, 30, 30});
    }
    EXPECT_EQ(surface.pixel(10, 10), kRed);
    EXPECT_EQ(surface.pixel(11, 10), kGreen);
    EXPECT_EQ(surface.pixel(11, 11), kRed);
    EXPECT_EQ(surface.pixel(40, 10), kBlack) << "only the rectangle";
    EXPECT_EQ(surface.pixel(70, 70), kRed) << "the turned fill keeps the grid";
    EXPECT_EQ(surface.pixel(71, 70), kGreen);
    EXPECT_EQ(surface.pixel(71, 71), kRed);
}

TEST_F(CanvasTest, ANonFiniteCoordinateLosesOnlyItsOwnShape) {
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        const double nan = std::numeric_limits<double>::quiet_NaN();
        canvas.drawLine({kRed, 2.0}, {nan, 10}, {50, 10});
        canvas.fillPolygon(kRed, {{10, nan}, {20, 20}, {30, 40}});
        canvas.fillRectangle(kGreen, {60, 60, 10, 10});
        EXPECT_EQ(canvas.status(), 0);
    }
    EXPECT_EQ(surface.pixel(65, 65), kGreen);
}

TEST_F(CanvasTest, EllipsesArcsAndPolygons) {
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        canvas.fillEllipse(kRed, {0, 0, 40, 40});
        // Clockwise from +x: a quarter from 0 to 90 degrees is the lower right of the circle.
        canvas.drawArc({kGreen, 2.0}, {50, 50, 40, 40}, 0, 90);
        canvas.drawArc({kGreen, 2.0}, {50, 0, 40, 40}, 0, 0);
        // A self-crossing outline: the overlap of the even-odd rule stays empty.
        canvas.fillPolygon(
            kRed, {{50, 0}, {100, 0}, {100, 40}, {70, 40}, {70, 10}, {90, 10}, {90, 30}, {50, 30}});
    }
    EXPECT_EQ(surface.pixel(20, 20), kRed);
    EXPECT_EQ(surface.pixel(2, 2), kBlack);
    EXPECT_EQ(surface.pixel(70, 89), kGreen);
    EXPECT_EQ(surface.pixel(70, 51), kBlack);
    EXPECT_EQ(surface.pixel(55, 5), kRed);
    EXPECT_EQ(surface.pixel(80, 20), kBlack);
}

TEST_F(CanvasTest, TranslucentFillsBlendAndCopyingReplaces) {
    {
        Canvas canvas(surface);
        canvas.clear(0xFFFFFFFF);
        canvas.fillRectangle(0x80000000, {0, 0, 50, 100});
        canvas.setCopyCompositing(true);
        canvas.fillRectangle(0x80000000, {50, 0, 50, 100});
    }
    EXPECT_EQ(surface.pixel(25, 50), 0xFF7F7F7Fu);
    EXPECT_EQ(surface.pixel(75, 50) >> 24, 0x80u);
}

// A picture drawn on a twin of the screen and laid back within an area looks, pixel for pixel,
// as if drawn on the screen itself there, and leaves the rest of the screen and the clip alone.
TEST_F(CanvasTest, ATwinLaidBackWithinAnAreaMatchesDrawingDirectly) {
    surface.setLogicalSize(50, 40);
    const auto paint = [](Canvas& canvas) {
        canvas.translate(22.3, 17.9);
        canvas.rotate(33.0);
        canvas.drawLine({kRed, 1.5}, {-9, 0}, {9, 0});
        canvas.fillRectangle(Hatch{HatchStyle::kFiftyPercent, kGreen, kRed}, {-3, 2, 7, 5});
    };
    Surface direct(100, 100);
    direct.setLogicalSize(50, 40);
    {
        Canvas canvas(direct);
        canvas.clear(kBlack);
        paint(canvas);
    }
    const auto twin = surface.blankTwin();
    EXPECT_EQ(twin->pixel(50, 50), 0u) << "a twin starts clear";
    {
        Canvas canvas(*twin);
        canvas.fillRectangle(kGreen, {0, 0, 50, 40});
        canvas.clearArea({10, 8, 25, 20});
        paint(canvas);
    }
    {
        Canvas canvas(surface);
        const PixelBox area = canvas.pixelsOf({10.3, 8.1, 24.5, 19.6});
        EXPECT_EQ(area.x, 20);
        EXPECT_EQ(area.width, 50);
        canvas.drawSurface(*twin, {area});
    }
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 100; ++x) {
            const bool inside = x >= 20 && x < 70 && y >= 20 && y < 70;
            ASSERT_EQ(surface.pixel(x, y), inside ? direct.pixel(x, y) : kBlack) << x << "," << y;
        }
    }

    {
        Canvas canvas(surface);
        canvas.clear(kBlack);
        canvas.clipRectangle({0, 0, 25, 40});
        canvas.drawSurface(*twin, {{0, 0, 100, 100}});
    }
    EXPECT_EQ(surface.pixel(10, 10), kGreen);
    EXPECT_EQ(surface.pixel(90, 10), kBlack) << "the clip holds";
}

// Only the tiles that hold a visible pixel need laying onto the screen; neighbours in a row
// make one box, and the box asked about bounds them.
TEST_F(CanvasTest, InkedTilesCoverEveryPixelThatIsNotTransparent) {
    const auto twin = surface.blankTwin();
    EXPECT_TRUE(twin->inkedTiles({0, 0, 100, 100}).empty());
    {
        Canvas canvas(*twin);
        canvas.setAntialias(false);
        canvas.fillRectangle(0x01000000, {40, 5, 1, 1});
        canvas.fillRectangle(kRed, {20, 50, 20, 2});
        canvas.fillRectangle(kRed, {99, 99, 1, 1});
    }
    const std::vector<PixelBox> boxes = twin->inkedTiles({8, 0, 100, 100});
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].x, 40);
    EXPECT_EQ(boxes[0].y, 0);
    EXPECT_EQ(boxes[0].width, 16) << "a faint pixel counts";
    EXPECT_EQ(boxes[1].x, 8);
    EXPECT_EQ(boxes[1].y, 48);
    EXPECT_EQ(boxes[1].width, 32) << "two tiles side by side";
    EXPECT_EQ(boxes[2].x, 88);
    EXPECT_EQ(boxes[2].y, 96);
    EXPECT_EQ(boxes[2].width, 12) << "cut at the surface's edge";
    EXPECT_EQ(boxes[2].height, 4);
}

TEST_F(CanvasTest, WritesAPngOfItsPixels) {
    const auto path = std::filesystem::temp_directory_path() / "tavi-canvas-test.png";
    ASSERT_TRUE(surface.writePng(path.string()));
    EXPECT_GT(std::filesystem::file_size(path), 0u);
    std::filesystem::remove(path);
    EXPECT_FALSE(surface.writePng("/nonexistent-folder/x.png"));
}

class TextTest : public testing::Test {
protected:
    FontCollection fonts;
    Surface surface{200, 60};
};

TEST_F(TextTest, MeasurementGrowsWithSizeAndText) {
    fonts.add("Narrow", "Liberation Sans Narrow", true);
    Canvas canvas(surface);
    double lastWidth = 0.0;
    double lastHeight = 0.0;
    for (double size : {8.0, 12.0, 16.0, 20.0, 32.0}) {
        const SizeF box = canvas.measureString("100.0", Font(fonts.face("Narrow"), size));
        EXPECT_GT(box.width, lastWidth) << size;
        EXPECT_GT(box.height, lastHeight) << size;
        lastWidth = box.width;
        lastHeight = box.height;
    }
    const Font font(fonts.face("Narrow"), 16.0);
    EXPECT_LT(canvas.measureString("1", font).width, canvas.measureString("11", font).width);
    EXPECT_GT(canvas.measureString(" ", font).width, canvas.measureString("", font).width);
}

TEST_F(TextTest, DrawsGlyphsBelowTheOriginInTheColour) {
    fonts.add("Narrow", "Liberation Sans Narrow", true);
    const Font font(fonts.face("Narrow"), 40.0);
    {
        Canvas canvas(surface);
        canvas.clear(kBlack);
        canvas.drawString("8888", font, kRed, {100, 10});
        canvas.drawString("    ", font, kRed, {0, 10});
    }
    int red = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            if (surface.pixel(x, y) == kRed) {
                ++red;
                EXPECT_GE(x, 100);
                EXPECT_GE(y, 10);
            }
        }
    }
    EXPECT_GT(red, 50);
}

TEST_F(TextTest, TheOutlineCoversWhatTheGlyphsPaintAndKeepsTheirHoles) {
    fonts.add("Narrow", "Liberation Sans Narrow", true);
    const Font font(fonts.face("Narrow"), 40.0);
    Surface drawn{200, 60};
    {
        Canvas canvas(drawn);
        canvas.clear(kBlack);
        canvas.drawString("80", font, kRed, {10, 5});
        Canvas outlined(surface);
        outlined.clear(kBlack);
        const Path outline = outlined.textOutline("80", font, {10, 5});
        EXPECT_GE(outline.figures().size(), 4u) << "two glyphs, each with holes";
        outlined.fillPath(kRed, outline);
        EXPECT_TRUE(outlined.textOutline("", font, {0, 0}).figures().empty());
    }
    int same = 0;
    int painted = 0;
    int extra = 0;
    for (int y = 0; y < 60; ++y) {
        for (int x = 0; x < 200; ++x) {
            const bool glyph = drawn.pixel(x, y) == kRed;
            const bool filled = surface.pixel(x, y) == kRed;
            painted += glyph ? 1 : 0;
            same += glyph && filled ? 1 : 0;
            extra += !glyph && filled ? 1 : 0;
        }
    }
    EXPECT_GT(painted, 100);
    EXPECT_GT(same, painted * 9 / 10);
    EXPECT_LT(extra, painted / 10) << "the holes of the 8 and the 0 stay empty";
}

std::vector<std::string> textsOf(const Surface& surface) {
    std::vector<std::string> texts;
    for (const ShownText& shown : surface.texts()) {
        texts.push_back(shown.text);
    }
    return texts;
}

// A screen keeps the texts its draws left on it, as a crew reads them: in pixels under the
// transform, replaced where drawn again, wiped by what paints over them, and carried along
// when a layer or a picture is laid on another surface.
TEST_F(TextTest, TheSurfaceKeepsTheTextsItShows) {
    fonts.add("Narrow", "Liberation Sans Narrow", true);
    const Font font(fonts.face("Narrow"), 10.0);
    Surface screen(200, 100);
    screen.setLogicalSize(100, 50);
    {
        Canvas canvas(screen);
        canvas.clear(kBlack);
        canvas.drawString("ENG1 OUT", font, kRed, {10, 5});
        canvas.translate(50, 20);
        canvas.drawString("LNAV", font, kGreen, {0, 0});
        canvas.drawString("", font, kGreen, {10, 10});
    }
    ASSERT_EQ(textsOf(screen), (std::vector<std::string>{"ENG1 OUT", "LNAV"}));
    EXPECT_DOUBLE_EQ(screen.texts()[1].x, 100.0);
    EXPECT_DOUBLE_EQ(screen.texts()[1].y, 40.0);
    {
        Canvas canvas(screen);
        canvas.drawString("HDG", font, kGreen, {50, 20});
        // A translucent veil leaves the text readable; an opaque box hides it.
        canvas.fillRectangle(0x80000000, {0, 0, 100, 50});
        canvas.fillRectangle(kBlack, {5, 0, 20, 10});
    }
    EXPECT_EQ(textsOf(screen), (std::vector<std::string>{"HDG"}));

    Surface layer(200, 100);
    Surface composed(300, 200);
    {
        Canvas canvas(layer);
        canvas.drawString("250", font, kGreen, {10, 10});
        canvas.drawString("FL200", font, kGreen, {150, 80});
    }
    {
        Canvas canvas(screen);
        canvas.clear(kBlack);
        canvas.drawSurface(layer, {{0, 0, 100, 50}});
    }
    EXPECT_EQ(textsOf(screen), (std::vector<std::string>{"250"}));
    {
        Canvas canvas(composed);
        canvas.drawImage(screen, {100, 50});
        canvas.drawImage(screen, {100, 50});
        canvas.clearArea({0, 0, 50, 50});
    }
    ASSERT_EQ(textsOf(composed), (std::vector<std::string>{"250"}));
    EXPECT_DOUBLE_EQ(composed.texts()[0].x, 110.0);
    EXPECT_DOUBLE_EQ(composed.texts()[0].y, 60.0);
}

} // namespace
} // namespace tavi::platform::gfx
