#include "displays/PanelElement.h"

#include "core/Aircraft.h"
#include "platform/Random.h"
#include "platform/gfx/Canvas.h"

#include <algorithm>

namespace tavi {

namespace {

platform::gfx::TextAntialias textAntialias(int32_t hint) {
    switch (hint) {
    case 0:
        return platform::gfx::TextAntialias::kSystemDefault;
    case 1:
    case 2:
        return platform::gfx::TextAntialias::kNone;
    default:
        return platform::gfx::TextAntialias::kGrey;
    }
}

} // namespace

void PanelElement::loadSettings(Aircraft& aircraft) {
    auto flag = [&aircraft](const char* key) {
        return aircraft.readIniInt("GDI+", key, 1) != 0;
    };
    smoothingMode = flag("lineSmoothing") ? kSmoothingAntiAlias : kSmoothingNone;
    const int32_t hint = aircraft.readIniInt("GDI+", "textRenderingHint", kTextAntiAlias);
    textRenderingHint = hint >= kTextSystemDefault && hint <= kTextLastHint ? hint : kTextAntiAlias;
    pixelOffsetMode = flag("pixelOffsetMode") ? kPixelOffsetHalf : kPixelOffsetNone;
    compositingMode = flag("colorBlending") ? kCompositingSourceOver : kCompositingSourceCopy;
    compositingQuality =
        flag("gammaCorrection") ? kCompositingGammaCorrected : kCompositingAssumeLinear;
}

void PanelElement::loadFrameRate(Aircraft& aircraft, const char* key) {
    // Held at 0 from below as well: 0 already never paints, and a value far below it would
    // overflow the throttle's arithmetic.
    fpsPercent = std::clamp(aircraft.readIniInt("FPS", key, 100), 0, 100);
}

int PanelElement::draw(platform::gfx::Surface&, int, int, bool) {
    return 0;
}

void PanelElement::addElectricLoad(Aircraft&, BusLoads&) {}
void PanelElement::updatePower(Aircraft&) {}
void PanelElement::saveState(const StateFile&) {}
void PanelElement::loadState(const StateFile&) {}

void PanelElement::clearBackground(platform::gfx::Canvas& canvas, float, float) {
    const uint32_t grey = brightness > kNeutralBrightness
                              ? static_cast<uint32_t>(brightness - kNeutralBrightness)
                              : 0;
    backgroundColor = kOpaqueBlack + grey * 0x010101u;
    canvas.resetClip();
    canvas.clear(backgroundColor);
}

void PanelElement::drawDimOverlay(platform::gfx::Canvas& canvas, float width, float height) {
    const uint32_t alpha = brightness <= kNeutralBrightness
                               ? static_cast<uint32_t>(kNeutralBrightness - brightness)
                               : 0;
    canvas.fillRectangle(alpha << 24, {0.0, 0.0, width, height});
}

void PanelElement::setBrightness(int32_t value) {
    brightness = value;
    if (brightness > maxBrightness) {
        brightness = maxBrightness;
    } else if (brightness < minBrightness) {
        brightness = minBrightness;
    }
}

bool PanelElement::isFrameDue() const {
    const int32_t r = platform::randomDraw() % 100;
    return r != 0 && r >= 100 - fpsPercent;
}

void PanelElement::applyQuality(platform::gfx::Canvas& canvas) const {
    canvas.setAntialias(smoothingMode != kSmoothingNone);
    canvas.setTextAntialias(textAntialias(textRenderingHint));
    canvas.setCopyCompositing(compositingMode == kCompositingSourceCopy);
}

LogicalSize PanelElement::logicalSize(int displayId) {
    switch (displayId) {
    case kPfdLeft:
    case kPfdRight:
    case kMfdLeft:
    case kMfdRight:
    case kEicasDisplay:
        return {400.0f, 476.0f};
    case kRmuLeft:
    case kRmuRight:
        return {180.0f, 225.0f};
    case kStandbyInstrument:
        return {210.0f, 210.0f};
    case kCduDisplay:
        return {370.0f, 240.0f};
    case kClockLeft:
    case kClockRight:
        return {129.0f, 134.0f};
    default:
        return {};
    }
}

} // namespace tavi
