#pragma once

#include "core/ModuleHeapObject.h"

#include <cstdint>

namespace tavi::platform::gfx {
class Canvas;
class Surface;
} // namespace tavi::platform::gfx

namespace tavi {

class Aircraft;
struct BusLoads;
struct StateFile;

// Slot numbers of the screens.
enum DisplayId : int {
    kPfdLeft = 1,
    kPfdRight = 2,
    kMfdLeft = 3,
    kMfdRight = 4,
    kEicasDisplay = 5,
    kRmuLeft = 6,
    kRmuRight = 7,
    kStandbyInstrument = 8,
    kCduDisplay = 9,
    kClockLeft = 10,
    kClockRight = 11,
};

// The fixed space, in logical units, that a screen paints in.
struct LogicalSize {
    float width = 0.0f;
    float height = 0.0f;
};

// Base of every screen. Screens live on the module heap. A screen paints its whole picture on
// each due draw, in its own logical size, onto the surface its gauge hands over.
class PanelElement : public ModuleHeapObject {
public:
    // Quality settings of the drawing, with the values the settings keys choose between.
    enum SmoothingMode : int32_t { kSmoothingNone = 3, kSmoothingAntiAlias = 4 };
    enum TextRenderingHint : int32_t {
        kTextSystemDefault = 0,
        kTextAntiAlias = 4,
        kTextLastHint = 5
    };
    enum PixelOffsetMode : int32_t {
        kPixelOffsetHighQuality = 2,
        kPixelOffsetNone = 3,
        kPixelOffsetHalf = 4
    };
    enum CompositingQuality : int32_t {
        kCompositingGammaCorrected = 3,
        kCompositingAssumeLinear = 4
    };
    enum CompositingMode : int32_t { kCompositingSourceOver = 0, kCompositingSourceCopy = 1 };
    static constexpr int32_t kInterpolationHighQualityBicubic = 7;
    static constexpr int32_t kNeutralBrightness = 255;
    static constexpr uint32_t kOpaqueBlack = 0xFF000000;

    virtual void update(Aircraft& aircraft) = 0;
    // Reads the quality keys of [GDI+]; a screen calls it before reading its own keys.
    virtual void loadSettings(Aircraft& aircraft);
    // Paints the screen onto the surface, already mapped to the screen's logical size; the pixel
    // width and height are not used. Blank asks for a dark screen. Answers 0, or the drawing's
    // failure code.
    virtual int draw(platform::gfx::Surface& surface, int width, int height, bool blank);
    virtual void addElectricLoad(Aircraft& aircraft, BusLoads& loads);
    virtual void updatePower(Aircraft& aircraft);
    virtual void saveState(const StateFile& file);
    virtual void loadState(const StateFile& file);
    // Clears the whole surface to black, lifted to a grey when the brightness is above neutral.
    virtual void clearBackground(platform::gfx::Canvas& canvas, float width, float height);
    // Darkens the picture under a black veil when the brightness is below neutral.
    virtual void drawDimOverlay(platform::gfx::Canvas& canvas, float width, float height);
    virtual ~PanelElement() = default;

    // Keeps the value within the brightness limits.
    void setBrightness(int32_t value);
    // The frame throttle: true on fpsPercent of every 100 calls, never on the draw whose random
    // draw is a multiple of 100.
    bool isFrameDue() const;
    void applyQuality(platform::gfx::Canvas& canvas) const;
    // The logical size of the screen in the display slot; zero for any other slot.
    static LogicalSize logicalSize(int displayId);

    int32_t brightness = kNeutralBrightness;
    int32_t minBrightness = 128;
    int32_t maxBrightness = 350;
    uint32_t backgroundColor = kOpaqueBlack;
    int32_t smoothingMode = kSmoothingAntiAlias;
    int32_t textRenderingHint = kTextAntiAlias;
    int32_t pixelOffsetMode = kPixelOffsetHighQuality;
    int32_t compositingQuality = kCompositingGammaCorrected;
    int32_t compositingMode = kCompositingSourceOver;
    int32_t interpolationMode = kInterpolationHighQualityBicubic;
    // Set by the screen's first update.
    bool dataReady = false;
    // Set by updatePower when the screen has no power.
    bool unpowered = false;
    int32_t fpsPercent = 100;

protected:
    // The [FPS] key of the screen's frame throttle: the percentage, at most 100.
    void loadFrameRate(Aircraft& aircraft, const char* key);
};

} // namespace tavi
