#include "displays/CduDisplay.h"

#include "airframe/Electric.h"
#include "core/Aircraft.h"
#include "core/ModuleGraphics.h"
#include "displays/ScreenDrawing.h"
#include "fms/Fms.h"
#include "platform/gfx/Surface.h"

#include <array>

namespace tavi {

namespace {

constexpr int kCduBus = 1;
constexpr float kCduLoad = 5.0f;
constexpr char32_t kUpArrow = U'\u2191';
constexpr char32_t kDownArrow = U'\u2193';
constexpr platform::gfx::Argb kKeyboardAmber = 0xFFFFA500;
constexpr platform::gfx::PointF kKeyboardMarker{18.0, 16.0};

// A vertical arrow on the centre line from top to bottom, its head 4 units deep.
void drawArrow(platform::gfx::Canvas& canvas, const platform::gfx::Pen& pen, char32_t arrow,
               double cx, double top, double bottom) {
    canvas.drawLine(pen, {cx, top}, {cx, bottom});
    const bool up = arrow == kUpArrow;
    const double tip = up ? top : bottom;
    const double barbs = up ? top + 4.0 : bottom - 4.0;
    canvas.drawLine(pen, {cx, tip}, {cx - 4.0, barbs});
    canvas.drawLine(pen, {cx, tip}, {cx + 4.0, barbs});
}

std::string utf8Of(char32_t c) {
    std::string text;
    if (c < 0x80) {
        text += static_cast<char>(c);
    } else if (c < 0x800) {
        text += static_cast<char>(0xC0 | (c >> 6));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        text += static_cast<char>(0xE0 | (c >> 12));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        text += static_cast<char>(0xF0 | (c >> 18));
        text += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        text += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (c & 0x3F));
    }
    return text;
}

} // namespace

CduDisplay::CduDisplay()
    : largeFont(privateFontCollection().face("Arial Narrow"), 20.0),
      smallFont(privateFontCollection().face("Arial Narrow"), 16.0) {}

void CduDisplay::update(Aircraft& aircraft) {
    electric = aircraft.electric();
    fms = aircraft.fms();
    dataReady = true;
}

void CduDisplay::loadSettings(Aircraft& aircraft) {
    PanelElement::loadSettings(aircraft);
    loadFrameRate(aircraft, "fms");
}

void CduDisplay::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (electric && electric->isPowered(kCduBus)) {
        loads[kCduBus] += kCduLoad;
    }
}

void CduDisplay::updatePower(Aircraft& aircraft) {
    const Electric* bus = aircraft.electric();
    unpowered = !bus || !bus->isPowered(kCduBus);
}

platform::gfx::Argb CduDisplay::colourOf(CduColour colour) {
    static constexpr std::array<platform::gfx::Argb, 8> kColours = {
        kBlack,     0xFFFFFFFF, 0xFF00FF00, 0xFFFF0000,
        0xFF00FFFF, 0xFFFF00FF, 0xFFF8DF23, kKeyboardAmber};
    const auto index = static_cast<uint32_t>(colour);
    return index < kColours.size() ? kColours[index] : kColours[1];
}

float CduDisplay::rowBottom(int32_t row) const {
    float y = originY;
    for (int32_t r = 0; r < row; ++r) {
        y += r == 0 ? firstRowAdvance : (r % 2 == 1 ? oddRowAdvance : evenRowAdvance);
    }
    return y;
}

int CduDisplay::draw(platform::gfx::Surface& surface, int, int, bool blank) {
    if (!isFrameDue()) {
        return 0;
    }
    platform::gfx::Canvas canvas(surface);
    if (!dataReady || unpowered || blank || !fms) {
        canvas.clear(kOpaqueBlack);
        return canvas.status();
    }
    clearBackground(canvas, kWidth, kHeight);
    applyQuality(canvas);
    for (int32_t row = 0; row < CduScreen::kRows; ++row) {
        const float y = rowBottom(row);
        for (int32_t column = 0; column < CduScreen::kColumns; ++column) {
            drawCell(canvas, fms->screen.cell(row, column), columnX(column), y);
        }
    }
    if (fms->keyboardInput) {
        canvas.drawString("K", smallFont, kKeyboardAmber, kKeyboardMarker);
    }
    if (brightness < kNeutralBrightness && compositingMode == kCompositingSourceOver) {
        drawDimOverlay(canvas, kWidth, kHeight);
    }
    return canvas.status();
}

void CduDisplay::drawCell(platform::gfx::Canvas& canvas, const CduCell& cell, float x, float y) {
    platform::gfx::Argb colour = colourOf(cell.colour);
    if (cell.reverse) {
        canvas.fillRectangle(colour, {x - 0.5, y - 23.0, 14.2, 19.0});
        colour = kBlack;
    }
    const char32_t c = cell.character;
    if (cell.large && (c == kUpArrow || c == kDownArrow)) {
        drawLargeArrow(canvas, c, colour, x, y);
    } else if (!cell.large && (c == CduScreen::kLeftArrow || c == CduScreen::kRightArrow ||
                               c == kUpArrow || c == kDownArrow)) {
        drawSmallShape(canvas, c, colour, x, y);
    } else {
        drawGlyph(canvas, c, cell.large, colour, x, y);
    }
}

void CduDisplay::drawLargeArrow(platform::gfx::Canvas& canvas, char32_t arrow,
                                platform::gfx::Argb colour, float x, float y) {
    drawArrow(canvas, {colour, 2.0}, arrow, x + 7.0, y - 21.0, y - 7.0);
}

void CduDisplay::drawSmallShape(platform::gfx::Canvas& canvas, char32_t shape,
                                platform::gfx::Argb colour, float x, float y) {
    if (shape == CduScreen::kLeftArrow) {
        canvas.fillPolygon(colour,
                           {{x + 12.0, y - 19.0}, {x + 12.0, y - 7.0}, {x + 2.0, y - 13.0}});
        return;
    }
    if (shape == CduScreen::kRightArrow) {
        canvas.fillPolygon(colour, {{x + 2.0, y - 19.0}, {x + 2.0, y - 7.0}, {x + 12.0, y - 13.0}});
        return;
    }
    // The small arrows are always cyan, whatever the cell's colour.
    drawArrow(canvas, arrowPen, shape, x + 7.0, y - 19.0, y - 7.0);
}

void CduDisplay::drawGlyph(platform::gfx::Canvas& canvas, char32_t character, bool large,
                           platform::gfx::Argb colour, float x, float y) {
    const platform::gfx::Font& font = large ? largeFont : smallFont;
    auto& boxes = large ? largeGlyphBoxes : smallGlyphBoxes;
    const std::string glyph = utf8Of(character);
    auto found = boxes.find(character);
    if (found == boxes.end()) {
        found = boxes.emplace(character, canvas.measureString(glyph, font)).first;
    }
    const platform::gfx::SizeF box = found->second;
    // The small font stands one unit higher on the row's bottom line.
    const double lift = large ? 0.0 : 1.0;
    canvas.drawString(glyph, font, colour, {x + (14.0 - box.width) / 2.0, y - box.height - lift});
}

} // namespace tavi
