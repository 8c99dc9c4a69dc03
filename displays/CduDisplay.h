#pragma once

#include "cdu/CduScreen.h"
#include "displays/PanelElement.h"
#include "platform/gfx/Canvas.h"

#include <map>

namespace tavi {

class Electric;
class Fms;

// The CDU's screen: it paints the FMS's 9 x 24 character cells, each centred in its column on
// its row's bottom line, in the large or the small font, in its colour or reversed; the line-key
// pointers of the small font and the arrows are drawn as shapes. A "K" in the corner tells that
// the PC keyboard types into the CDU.
class CduDisplay : public PanelElement {
public:
    CduDisplay();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;
    int draw(platform::gfx::Surface& surface, int width, int height, bool blank) override;

    // The colour a cell's colour value paints in; any value outside the table is white.
    static platform::gfx::Argb colourOf(CduColour colour);
    // Left edge of a column and bottom line of a row, in logical units.
    float columnX(int32_t column) const { return originX + cellWidth * column; }
    float rowBottom(int32_t row) const;

    static constexpr float kWidth = 370.0f;
    static constexpr float kHeight = 240.0f;

    platform::gfx::Pen arrowPen{0xFF00FFFF, 2.0};
    float originX = 16.0f;
    float originY = 38.0f;
    float firstRowAdvance = 29.0f;
    float evenRowAdvance = 26.0f;
    float oddRowAdvance = 20.0f;
    float cellWidth = 14.0f;
    platform::gfx::Font largeFont;
    platform::gfx::Font smallFont;
    std::map<char32_t, platform::gfx::SizeF> largeGlyphBoxes;
    std::map<char32_t, platform::gfx::SizeF> smallGlyphBoxes;
    const Electric* electric = nullptr;
    const Fms* fms = nullptr;

private:
    void drawCell(platform::gfx::Canvas& canvas, const CduCell& cell, float x, float y);
    void drawLargeArrow(platform::gfx::Canvas& canvas, char32_t arrow, platform::gfx::Argb colour,
                        float x, float y);
    void drawSmallShape(platform::gfx::Canvas& canvas, char32_t shape, platform::gfx::Argb colour,
                        float x, float y);
    void drawGlyph(platform::gfx::Canvas& canvas, char32_t character, bool large,
                   platform::gfx::Argb colour, float x, float y);
};

} // namespace tavi
