#pragma once

#include "displays/PanelElement.h"
#include "platform/gfx/Canvas.h"

#include <map>
#include <string>

namespace tavi {

class Clock;

// The digital face of one cockpit clock: the upper line shows the date, the local time or UTC
// as the clock's mode says, the lower line the elapsed time or the chronometer. Each character
// sits centred in its own fixed-width cell, so blinking blanks never shift the digits. The face
// has no frame throttle and no brightness, and is black without power.
class ClockDspy : public PanelElement {
public:
    explicit ClockDspy(int side);

    void update(Aircraft& aircraft) override;
    void updatePower(Aircraft& aircraft) override;
    int draw(platform::gfx::Surface& surface, int width, int height, bool blank) override;

    // What the two lines show now; empty before the first update.
    std::string upperText() const;
    std::string lowerText() const;
    // Left edge of the mark that tells local time (74) from UTC (44); 0 when there is none.
    float markX() const;

    static constexpr float kFirstCellX = 41.0f;
    static constexpr float kUpperLineBottom = 62.0f;
    static constexpr float kLowerLineBottom = 98.0f;
    static constexpr float kMarkY = 42.0f;

    int32_t side;
    float cellWidth = 10.0f;
    platform::gfx::Argb textColour = 0xFFFFFFFF;
    platform::gfx::Font font;
    std::map<char32_t, platform::gfx::SizeF> glyphBoxes;
    Clock* clock = nullptr;

private:
    int32_t displayMode() const;
    void drawLine(platform::gfx::Canvas& canvas, const std::string& text, float bottom);
    platform::gfx::SizeF glyphBox(platform::gfx::Canvas& canvas, char32_t character,
                                  const std::string& glyph);
};

} // namespace tavi
