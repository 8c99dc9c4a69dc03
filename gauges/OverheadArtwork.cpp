#include "gauges/OverheadArtwork.h"

#include "core/ModuleGraphics.h"
#include "gauges/ControlArtwork.h"
#include "gauges/OverheadControls.h"
#include "platform/gfx/Canvas.h"

#include <numbers>

namespace tavi::overhead {

namespace {

using platform::Artwork;
using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::Font;
using platform::gfx::Pen;
using platform::gfx::PointF;
using platform::gfx::RectF;

constexpr Argb kEngraving = 0xFFE8E8E8;
constexpr Argb kBacklit = 0xFFFFE9A0;
constexpr Argb kSectionLine = 0xFF9EA3AA;
constexpr Argb kCap = 0xFF26282C;
constexpr Argb kCapRim = 0xFF8A8F96;
constexpr Argb kKnobBody = 0xFF1E2024;
constexpr Argb kGuard = 0xFFC01818;
constexpr Argb kGuardLit = 0xFFE04040;
constexpr int kGuardedButtonSide = 52;
constexpr double kTitleSize = 10.0;
constexpr double kWordSize = 9.0;
// The selectors' scale: 260 degrees from lower left to lower right, clockwise from +x.
constexpr double kDialFrom = -220.0;
constexpr double kDialSweep = 260.0;

struct Section {
    Box box;
    const char* title;
};

constexpr Section kSections[] = {
    {{18, 236, 284, 474}, "ELECTRICAL"},
    {{368, 300, 234, 272}, "FUEL"},
    {{672, 96, 254, 154}, "APU"},
    {{672, 296, 254, 416}, "ENGINE"},
    {{984, 300, 274, 98}, "FLIGHT CONTROLS"},
    {{1010, 462, 222, 246}, "HYDRAULIC"},
    {{1288, 10, 302, 318}, "ANTI-ICE"},
    {{1288, 340, 302, 372}, "AIR CONDITIONING"},
    {{18, 716, 1240, 92}, "EXTERNAL LIGHTS"},
};

Font font(double size) {
    return Font(privateFontCollection().face("Arial Narrow"), size);
}

// Text drawn with its left end, centre or right end at x.
enum class Align { Left, Centre, Right };

void text(Canvas& canvas, const char* words, double size, Argb colour, double x, double y,
          Align align) {
    if (!words || !*words) {
        return;
    }
    const Font face = font(size);
    const double width = canvas.measureString(words, face).width;
    const double left = align == Align::Left     ? x
                        : align == Align::Centre ? x - width / 2
                                                 : x - width;
    canvas.drawString(words, face, colour, {left, y});
}

PointF onCircle(double cx, double cy, double radius, double degrees) {
    const double radians = degrees * std::numbers::pi / 180.0;
    return {cx + radius * std::cos(radians), cy + radius * std::sin(radians)};
}

void drawSection(Canvas& canvas, const Section& section, Argb colour) {
    const Box& b = section.box;
    canvas.drawRectangle(Pen{kSectionLine, 1.0},
                         {double(b.x), double(b.y), double(b.width), double(b.height)});
    text(canvas, section.title, kTitleSize + 1, colour, b.x + b.width / 2.0, b.y + 2.0,
         Align::Centre);
}

void drawButtonCap(Canvas& canvas, const Box& b) {
    const RectF cap{double(b.x), double(b.y), double(b.width), double(b.height)};
    canvas.fillRectangle(kCap, cap);
    canvas.drawRectangle(Pen{kCapRim, 2.0}, cap);
}

// Words of a knob: the first to its left, the middle above, the last to its right.
void drawPositionWords(Canvas& canvas, const Engraving& e, Argb colour) {
    const double cx = e.box.x + e.box.width / 2.0;
    const double midY = e.box.y + e.box.height / 2.0 - kWordSize;
    text(canvas, e.positions[0], kWordSize, colour, e.box.x - 8.0, midY, Align::Right);
    text(canvas, e.positions[1], kWordSize, colour, cx, e.box.y - 13.0, Align::Centre);
    text(canvas, e.positions[2], kWordSize, colour, e.box.x + e.box.width + 8.0, midY, Align::Left);
}

void drawDial(Canvas& canvas, const Engraving& e, Argb colour) {
    const double cx = e.box.x + e.box.width / 2.0;
    const double cy = e.box.y + e.box.height / 2.0;
    const double radius = e.box.width / 2.0;
    for (int tick = 0; tick <= 11; ++tick) {
        const double degrees = kDialFrom + kDialSweep * tick / 11.0;
        canvas.drawLine(Pen{colour, 1.0}, onCircle(cx, cy, radius + 2, degrees),
                        onCircle(cx, cy, radius + 6, degrees));
    }
    canvas.fillEllipse(kKnobBody,
                       {cx - radius + 3, cy - radius + 3, radius * 2 - 6, radius * 2 - 6});
    const PointF low = onCircle(cx, cy, radius + 10, kDialFrom);
    const PointF high = onCircle(cx, cy, radius + 10, kDialFrom + kDialSweep);
    text(canvas, e.positions[0], kWordSize, colour, low.x, low.y, Align::Right);
    text(canvas, e.positions[2], kWordSize, colour, high.x, high.y, Align::Left);
}

void drawEngraving(Canvas& canvas, const Engraving& e, Argb colour) {
    switch (e.face) {
    case Face::Button:
        drawButtonCap(canvas, e.box);
        text(canvas, e.title, kTitleSize, colour, e.box.x + e.box.width / 2.0, e.box.y - 13.0,
             Align::Centre);
        return;
    case Face::Knob:
        drawPositionWords(canvas, e, colour);
        text(canvas, e.title, kTitleSize, colour, e.box.x + e.box.width / 2.0,
             e.box.y - (e.positions[1] ? 25.0 : 13.0), Align::Centre);
        return;
    case Face::Dial:
        drawDial(canvas, e, colour);
        text(canvas, e.title, kTitleSize, colour, e.box.x + e.box.width / 2.0, e.box.y - 22.0,
             Align::Centre);
        return;
    case Face::Spring:
        canvas.fillEllipse(kKnobBody,
                           {e.box.x + 3.0, e.box.y + 3.0, e.box.width - 6.0, e.box.height - 6.0});
        drawPositionWords(canvas, e, colour);
        text(canvas, e.title, kTitleSize, colour, e.box.x + e.box.width / 2.0, e.box.y - 13.0,
             Align::Centre);
        return;
    case Face::Title:
        // Above the guard's hinge.
        text(canvas, e.title, kTitleSize, colour, e.box.x + e.box.width / 2.0, e.box.y - 20.0,
             Align::Centre);
        return;
    }
}

void paintPointer(Canvas& canvas, const Artwork& artwork, Argb colour) {
    const double cx = artwork.width / 2.0;
    const double cy = artwork.height / 2.0;
    canvas.drawLine(Pen{colour, 3.0}, {cx, cy}, {artwork.width - 2.0, cy});
    canvas.fillEllipse(colour, {cx - 3, cy - 3, 6, 6});
}

void drawLever(Canvas& canvas, double cx, double cy, double reach, int direction, bool lit) {
    canvas.fillEllipse(kDarkMetal, {cx - 7, cy - 7, 14, 14});
    const double tipY = cy - direction * reach;
    const Argb metal = lit ? kBacklit : kMetal;
    canvas.drawLine(Pen{metal, 4.0}, {cx, cy}, {cx, tipY});
    canvas.fillEllipse(metal, {cx - 4, tipY - 4, 8, 8});
}

} // namespace

void paintPanelMetal(Canvas& canvas, const Artwork& artwork, int) {
    paintPanelBackground(canvas, artwork, 0);
}

void paintPanelFace(Canvas& canvas, const Artwork& artwork, int frame) {
    paintPanelBackground(canvas, artwork, frame);
    const Argb colour = frame > 0 ? kBacklit : kEngraving;
    for (const Section& section : kSections) {
        drawSection(canvas, section, colour);
    }
    for (Area (*area)() :
         {&airConditioningArea, &electricalArea, &engineAndFuelArea, &hydraulicsAndLightsArea}) {
        for (const Control& control : area().controls) {
            drawEngraving(canvas, control.engraving, colour);
        }
    }
}

void paintLightingOverlay(Canvas& canvas, const Artwork& artwork, int frame) {
    if (!stripFrame(artwork, frame).lit) {
        return;
    }
    text(canvas, artwork.label, kTitleSize + 1, kBacklit, artwork.width / 2.0,
         artwork.height - kTitleSize - 6.0, Align::Centre);
}

void paintDayPointer(Canvas& canvas, const Artwork& artwork, int) {
    paintPointer(canvas, artwork, kEngraving);
}

void paintNightPointer(Canvas& canvas, const Artwork& artwork, int) {
    paintPointer(canvas, artwork, kBacklit);
}

void paintHingedGuardButton(Canvas& canvas, const Artwork& artwork, int frame) {
    const int side = std::min({artwork.width, artwork.height, kGuardedButtonSide});
    const Artwork button{artwork.name, side, side, artwork.frames, artwork.paint, artwork.label};
    const double left = (artwork.width - side) / 2.0;
    const double top = artwork.height - side;
    canvas.save();
    canvas.translate(left, top);
    paintGuardedButton(canvas, button, frame);
    canvas.restore();
    const StripFrame strip = stripFrame(artwork, frame);
    if (strip.position >= 2) {
        const Argb guard = strip.lit ? kGuardLit : kGuard;
        canvas.fillRectangle(guard, {left + 2, 2, side - 4.0, top - 4});
        canvas.fillRectangle(kDarkMetal, {left, top - 4, double(side), 4});
    }
}

void paintKnobGuard(Canvas& canvas, const Artwork& artwork, int frame) {
    const StripFrame strip = stripFrame(artwork, frame);
    const Argb guard = strip.lit ? kGuardLit : kGuard;
    const double w = artwork.width;
    const double h = artwork.height;
    // The two posts the lid hinges on, either side of the knob.
    canvas.fillRectangle(guard, {0, h * 0.3, 5, h * 0.7});
    canvas.fillRectangle(guard, {w - 5, h * 0.3, 5, h * 0.7});
    if (strip.position == 1) {
        // Swung up: the lid stands above the knob.
        canvas.fillRectangle(guard, {w * 0.2, 0, w * 0.6, 20});
    }
}

void paintGuardFlap(Canvas& canvas, const Artwork& artwork, int frame) {
    const Argb guard = frame > 0 ? kGuardLit : kGuard;
    canvas.fillRectangle((guard & 0x00FFFFFF) | 0xB0000000,
                         {0, 0, double(artwork.width), double(artwork.height)});
    canvas.drawRectangle(Pen{guard, 2.0}, {1, 1, artwork.width - 2.0, artwork.height - 2.0});
}

void paintThreePositionLever(Canvas& canvas, const Artwork& artwork, int frame) {
    const StripFrame strip = stripFrame(artwork, frame);
    // Images 0 down, 1 middle, 2 up.
    drawLever(canvas, artwork.width / 2.0, artwork.height / 2.0, artwork.height * 0.35,
              strip.position - 1, strip.lit);
}

void paintTwinLightSwitch(Canvas& canvas, const Artwork& artwork, int frame) {
    const StripFrame strip = stripFrame(artwork, frame);
    const int direction = strip.position == 1 ? 1 : -1;
    for (const double x : {artwork.width * 0.25, artwork.width * 0.75}) {
        drawLever(canvas, x, artwork.height / 2.0, artwork.height * 0.35, direction, strip.lit);
    }
}

} // namespace tavi::overhead
