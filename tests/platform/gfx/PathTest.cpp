#include "platform/gfx/Path.h"

#include "platform/gfx/Surface.h"

#include <gtest/gtest.h>

namespace tavi::platform::gfx {
namespace {

constexpr Argb kDark = 0xFF000000;
constexpr Argb kLit = 0xFFFFFFFF;

class ShapeTest : public testing::Test {
protected:
    ShapeTest() : surface(100, 100) {
        Canvas canvas(surface);
        canvas.clear(kDark);
    }

    Surface surface;
};

TEST_F(ShapeTest, AHatchAlternatesOnThePixelGridEvenWhenTheDrawingTurns) {
    const Hatch sky{HatchStyle::kFiftyPercent, 0xFF005096, 0xFF005DA5};
    {
        Canvas canvas(surface);
        canvas.translate(50, 50);
        canvas.rotate(30.0);
        canvas.fillRectangle(sky, {-200, -200, 400, 400});
    }
    for (const auto& [x, y] : {std::pair{10, 10}, {40, 71}, {90, 3}}) {
        const uint32_t here = surface.pixel(x, y);
        EXPECT_TRUE(here == sky.fore || here == sky.back) << x << "," << y;
        EXPECT_NE(surface.pixel(x + 1, y), here) << "neighbours alternate";
        EXPECT_EQ(surface.pixel(x + 1, y + 1), here);
    }
}

TEST_F(ShapeTest, TheDiagonalHatchRisesToTheRightEveryEightPixels) {
    const Hatch green{HatchStyle::kLightUpwardDiagonal, 0xFF00FF00, kDark};
    {
        Canvas canvas(surface);
        canvas.fillRectangle(green, {0, 0, 16, 16});
    }
    EXPECT_EQ(surface.pixel(0, 7), green.fore);
    EXPECT_EQ(surface.pixel(7, 0), green.fore);
    EXPECT_EQ(surface.pixel(8, 7), green.fore);
    EXPECT_EQ(surface.pixel(1, 7), kDark);
}

TEST_F(ShapeTest, AnExcludedShapeIsLeftOutOfEveryLaterDrawing) {
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        canvas.clipExcludeEllipse({30, 30, 40, 40});
        canvas.clipExcludeRectangle({0, 0, 10, 100});
        canvas.fillRectangle(kLit, {0, 0, 100, 100});
    }
    EXPECT_EQ(surface.pixel(50, 50), kDark) << "inside the circle";
    EXPECT_EQ(surface.pixel(5, 50), kDark) << "inside the rectangle";
    EXPECT_EQ(surface.pixel(20, 20), kLit);
    EXPECT_EQ(surface.pixel(95, 95), kLit);
}

TEST_F(ShapeTest, APathsFiguresFillTogetherAndItsCopiesMove) {
    Path ring;
    ring.addEllipse({-20, -20, 40, 40});
    ring.addEllipse({-10, -10, 20, 20});
    Path wedge;
    wedge.addPolygon({{0, 0}, {10, 0}, {10, 10}});
    {
        Canvas canvas(surface);
        canvas.setAntialias(false);
        canvas.fillPath(kLit, ring.transformed(1.0, 0.0, {50, 50}));
        canvas.fillPath(kLit, wedge.transformed(2.0, 90.0, {20, 80}));
        canvas.clipPath(ring.transformed(1.0, 0.0, {50, 50}));
    }
    EXPECT_EQ(surface.pixel(50, 50), kDark) << "the inner circle alternates the fill back out";
    EXPECT_EQ(surface.pixel(50, 35), kLit);
    // Scaled by two and turned a quarter clockwise: (10, 0) lands on (0, 20) from its origin.
    EXPECT_EQ(surface.pixel(16, 84), kLit);
    EXPECT_EQ(surface.pixel(24, 84), kDark);
}

} // namespace
} // namespace tavi::platform::gfx
