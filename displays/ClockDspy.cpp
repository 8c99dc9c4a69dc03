#include "displays/ClockDspy.h"

#include "airframe/Electric.h"
#include "avionics/Clock.h"
#include "core/Aircraft.h"
#include "core/ModuleGraphics.h"
#include "platform/gfx/Surface.h"

#include <cstddef>
#include <utility>
#include <vector>

namespace tavi {

namespace {

// A line holds at most this many characters; the clock's texts have at most 9.
constexpr std::size_t kLineCharacters = 31;
constexpr float kLocalTimeMarkX = 74.0f;
constexpr float kUtcMarkX = 44.0f;

std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0) {
        return 4;
    }
    if (lead >= 0xE0) {
        return 3;
    }
    return lead >= 0xC0 ? 2 : 1;
}

// The text's characters, each with its code point and its own UTF-8 bytes.
std::vector<std::pair<char32_t, std::string>> characters(const std::string& text) {
    std::vector<std::pair<char32_t, std::string>> result;
    for (std::size_t i = 0; i < text.size() && result.size() < kLineCharacters;) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const std::size_t length = std::min(sequenceLength(lead), text.size() - i);
        char32_t code = length == 1 ? lead : lead & (0x7F >> length);
        for (std::size_t k = 1; k < length; ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        result.emplace_back(code, text.substr(i, length));
        i += length;
    }
    return result;
}

} // namespace

ClockDspy::ClockDspy(int side) : side(side), font(privateFontCollection().face("Quartz"), 16.0) {}

void ClockDspy::update(Aircraft& aircraft) {
    clock = aircraft.clock();
    dataReady = true;
}

void ClockDspy::updatePower(Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    unpowered = !electric || !electric->isPowered(side);
}

int ClockDspy::draw(platform::gfx::Surface& surface, int, int, bool blank) {
    platform::gfx::Canvas canvas(surface);
    canvas.clear(kOpaqueBlack);
    if (dataReady && !unpowered && !blank && clock) {
        applyQuality(canvas);
        drawLine(canvas, upperText(), kUpperLineBottom);
        if (markX() != 0.0f) {
            canvas.drawString(".", font, textColour, {markX(), kMarkY});
        }
        drawLine(canvas, lowerText(), kLowerLineBottom);
    }
    return canvas.status();
}

int32_t ClockDspy::displayMode() const {
    return side == 1 ? clock->displayMode1 : clock->displayMode2;
}

std::string ClockDspy::upperText() const {
    if (!clock) {
        return {};
    }
    switch (displayMode()) {
    case Clock::kDateMode:
        return clock->dateText;
    case Clock::kLocalTimeMode:
        return clock->localTimeText;
    case Clock::kUtcMode:
        return clock->utcText;
    default:
        return {};
    }
}

std::string ClockDspy::lowerText() const {
    if (!clock) {
        return {};
    }
    if (side == 1) {
        return clock->showChrono1 ? clock->chronoText1 : clock->elapsedText1;
    }
    return clock->showChrono2 ? clock->chronoText2 : clock->elapsedText2;
}

float ClockDspy::markX() const {
    if (!clock) {
        return 0.0f;
    }
    switch (displayMode()) {
    case Clock::kLocalTimeMode:
        return kLocalTimeMarkX;
    case Clock::kUtcMode:
        return kUtcMarkX;
    default:
        return 0.0f;
    }
}

void ClockDspy::drawLine(platform::gfx::Canvas& canvas, const std::string& text, float bottom) {
    float cellX = kFirstCellX;
    for (const auto& [character, glyph] : characters(text)) {
        const platform::gfx::SizeF box = glyphBox(canvas, character, glyph);
        canvas.drawString(glyph, font, textColour,
                          {cellX + (cellWidth - box.width) / 2.0, bottom - box.height});
        cellX += cellWidth;
    }
}

platform::gfx::SizeF ClockDspy::glyphBox(platform::gfx::Canvas& canvas, char32_t character,
                                         const std::string& glyph) {
    const auto found = glyphBoxes.find(character);
    if (found != glyphBoxes.end()) {
        return found->second;
    }
    return glyphBoxes[character] = canvas.measureString(glyph, font);
}

} // namespace tavi
