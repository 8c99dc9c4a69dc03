#include "gauges/ControlArtwork.h"

#include "core/ModuleGraphics.h"
#include "platform/gfx/Canvas.h"

#include <algorithm>

namespace tavi {

namespace {

using platform::Artwork;
using platform::gfx::Argb;
using platform::gfx::Canvas;
using platform::gfx::Font;
using platform::gfx::Pen;
using platform::gfx::RectF;

constexpr Argb kPanelGrey = 0xFF5A5F66;
constexpr Argb kPanelLitGrey = 0xFF3A3D42;
constexpr Argb kFloodGrey = 0xFF6E7378;
constexpr Argb kEngraving = 0xFFE8E8E8;
constexpr Argb kEngravingLit = 0xFFFFF2B0;
constexpr Argb kLampOff = 0xFF202020;
constexpr Argb kLampAmber = 0xFFFFB000;
constexpr Argb kGuardRed = 0xC0B01010;

Font labelFont(double size) {
    return Font(privateFontCollection().face("Arial Narrow"), size);
}

void drawLabel(Canvas& canvas, const Artwork& artwork, Argb colour, double size, double y) {
    if (!artwork.label || !*artwork.label) {
        return;
    }
    const Font font = labelFont(size);
    const auto extent = canvas.measureString(artwork.label, font);
    canvas.drawString(artwork.label, font, colour, {(artwork.width - extent.width) / 2.0, y});
}

void drawBase(Canvas& canvas, const Artwork& artwork, bool lit) {
    canvas.fillRectangle(lit ? kPanelLitGrey : kPanelGrey,
                         {0, 0, double(artwork.width), double(artwork.height)});
}

// A lever seen from the front: up (position 0), down (1) or in the middle (2).
void drawLever(Canvas& canvas, const Artwork& artwork, int position) {
    const double cx = artwork.width / 2.0;
    const double cy = artwork.height / 2.0;
    const double reach = artwork.height * 0.35;
    const double tipY = position == 0 ? cy - reach : position == 1 ? cy + reach : cy;
    canvas.fillEllipse(kDarkMetal, {cx - 6, cy - 6, 12, 12});
    canvas.drawLine(Pen{kMetal, 4}, {cx, cy}, {cx, tipY});
    canvas.fillEllipse(kMetal, {cx - 4, tipY - 4, 8, 8});
}

} // namespace

void paintToggleSwitch(Canvas& canvas, const Artwork& artwork, int frame) {
    const StripFrame strip = stripFrame(artwork, frame);
    drawBase(canvas, artwork, strip.lit);
    drawLever(canvas, artwork, strip.position == 0 ? 0 : 1);
}

void paintThreePositionKnob(Canvas& canvas, const Artwork& artwork, int frame) {
    const StripFrame strip = stripFrame(artwork, frame);
    drawBase(canvas, artwork, strip.lit);
    const double size = std::min(artwork.width, artwork.height) * 0.7;
    const double cx = artwork.width / 2.0;
    const double cy = artwork.height / 2.0;
    canvas.fillEllipse(kDarkMetal, {cx - size / 2, cy - size / 2, size, size});
    // Middle points up, the first position to the left, the last to the right.
    const double angle = strip.position == 0 ? 0.0 : strip.position == 1 ? -45.0 : 45.0;
    canvas.save();
    canvas.translate(cx, cy);
    canvas.rotate(angle);
    canvas.drawLine(Pen{strip.lit ? kEngravingLit : kEngraving, 3}, {0, 0}, {0, -size / 2});
    canvas.restore();
}

void paintGuardedButton(Canvas& canvas, const Artwork& artwork, int frame) {
    const StripFrame strip = stripFrame(artwork, frame);
    const bool light = strip.position % 2 == 1;
    const bool coverOpen = strip.position >= 2;
    drawBase(canvas, artwork, strip.lit);
    const RectF button{3, 3, artwork.width - 6.0, artwork.height - 6.0};
    canvas.fillRectangle(light ? kLampAmber : kLampOff, button);
    drawLabel(canvas, artwork, light ? kLampOff : kEngraving, artwork.height * 0.3,
              artwork.height * 0.35);
    if (!coverOpen) {
        canvas.fillRectangle(kGuardRed, {0, 0, double(artwork.width), double(artwork.height)});
    }
}

void paintLightSwitch(Canvas& canvas, const Artwork& artwork, int frame) {
    const StripFrame strip = stripFrame(artwork, frame);
    drawBase(canvas, artwork, strip.lit);
    drawLever(canvas, artwork, strip.position == 1 ? 0 : 1);
}

void paintAnnunciator(Canvas& canvas, const Artwork& artwork, int frame) {
    const bool on = frame > 0;
    canvas.fillRectangle(on ? kLampAmber : kLampOff,
                         {0, 0, double(artwork.width), double(artwork.height)});
    if (on) {
        drawLabel(canvas, artwork, kLampOff, artwork.height * 0.45, artwork.height * 0.2);
    }
}

void paintPanelBackground(Canvas& canvas, const Artwork& artwork, int frame) {
    const Argb looks[] = {kPanelGrey, kPanelLitGrey, kFloodGrey};
    const int look = frame >= 0 && frame < 3 ? frame : 0;
    canvas.fillRectangle(looks[look], {0, 0, double(artwork.width), double(artwork.height)});
    drawLabel(canvas, artwork, look == 0 ? kEngraving : kEngravingLit, 12.0, 4.0);
}

StripFrame stripFrame(const Artwork& artwork, int frame) {
    const int half = artwork.frames / 2;
    return half > 0 ? StripFrame{frame % half, frame >= half} : StripFrame{frame, false};
}

} // namespace tavi
