#include "airframe/Lights.h"
#include "avionics/Clock.h"
#include "gauges/Gauges.h"
#include "gauges/InstrumentCopies.h"
#include "gauges/PanelParts.h"
#include "gauges/ScreenGauges.h"

#include <algorithm>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseControl;
using platform::Tooltip;
using platform::TooltipArgument;

// Clock 1's copy on the main panel lies this far from `Clock1`'s own pixels.
constexpr int kClockCopyDx = 24;
constexpr int kClockCopyDy = 488;

template <int Side>
int32_t& displayMode(Clock& clock) {
    return Side == 1 ? clock.displayMode1 : clock.displayMode2;
}

template <int Side, int Step>
bool stepMode(int, int, uint32_t) {
    return actOn(&Aircraft::clock, [](Clock& clock) {
        int32_t& mode = displayMode<Side>(clock);
        mode = std::clamp(mode + Step, static_cast<int32_t>(Clock::kDateMode),
                          static_cast<int32_t>(Clock::kUtcMode));
    });
}

template <int Side>
bool pressElapsedTime(int, int, uint32_t) {
    return actOn(&Aircraft::clock, [](Clock& clock) {
        if (Side == 1) {
            clock.modeButton1();
        } else {
            clock.modeButton2();
        }
    });
}

template <int Side>
bool pressChronometer(int, int, uint32_t) {
    return actOn(&Aircraft::clock, [](Clock& clock) {
        if (Side == 1) {
            clock.chronoButton1();
        } else {
            clock.chronoButton2();
        }
    });
}

template <int Side>
const char* modeText() {
    return readyText([](const Aircraft& aircraft) {
        static constexpr const char* kModes[] = {"Date", "Local Time", "GMT Time"};
        Clock* clock = aircraft.clock();
        const int32_t mode = clock ? displayMode<Side>(*clock) : -1;
        return mode >= 0 && mode < 3 ? kModes[mode] : "";
    });
}

// The mode's three images: the gauge adds its lit look (1 on the clock gauges, the lighting
// state itself on the main panel).
template <int Side, bool ThreeLooks>
double modeIcon(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        Clock* clock = aircraft.clock();
        const int look = ThreeLooks ? lightingLook(aircraft) : panelLit(aircraft);
        setBright(element, look != Lights::kUnlit);
        return 3.0 * (clock ? displayMode<Side>(*clock) : 0) + look;
    });
}

// Whole seconds of the chronometer, six degrees each.
template <int Side, int Look>
double secondsHand(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        showOnlyIn(element, inLook(aircraft, Look));
        const Clock* clock = aircraft.clock();
        const uint32_t ms = clock ? (Side == 1 ? clock->chrono1 : clock->chrono2) : 0;
        return ((ms / 1000) % 60) * 6.0;
    });
}

template <int Side>
const std::vector<TooltipArgument> kModeArguments{{modeText<Side>, nullptr}};
template <int Side>
const Tooltip kModeTip{"Clock Mode (%1!s!)", &kModeArguments<Side>};
const Tooltip kChronometerTip{"Chronometer", nullptr};

template <int Side>
std::vector<MouseControl> clockControls() {
    return {
        mouseControl(2, 92, 16, 28, &kModeTip<Side>,
                     knobUpperLower(16, 28, stepMode<Side, -1>, stepMode<Side, 1>,
                                    platform::kMouseLeftSingle)),
        pushButton(28, 114, 12, 12, &kElapsedTimeTip, elapsedTimeButton(Side)),
        pushButton(96, 12, 12, 12, &kChronometerTip, pressChronometer<Side>),
    };
}

// The clock's bezel over its screen: the frame, the mode legend with the mode lit, and the
// knob and buttons; the middle is left clear for the readout.
void paintClockBezel(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const int mode = frame / 3;
    const bool lit = frame % 3 != 0;
    const platform::gfx::Argb bezel = faceColour(lit);
    canvas.fillRectangle(bezel, {0, 0, double(artwork.width), 8});
    canvas.fillRectangle(bezel, {0, 108, double(artwork.width), 26});
    canvas.fillRectangle(bezel, {0, 0, 24, double(artwork.height)});
    canvas.fillRectangle(bezel, {double(artwork.width) - 6, 0, 6, double(artwork.height)});
    const char* legends[] = {"DT", "LT", "GMT"};
    for (int i = 0; i < 3; ++i) {
        const double y = 20.0 + i * 22.0;
        drawEngraving(canvas, legends[i], 12, y, 8, lit);
        if (i == mode) {
            canvas.fillRectangle(0xFF40FF60, {3, y + 10, 18, 2});
        }
    }
    drawKnob(canvas, {2, 92, 16, 28}, lit);
    drawKey(canvas, {28, 114, 12, 12}, "", lit);
    drawEngraving(canvas, "ET", 52, 115, 8, lit);
    drawKey(canvas, {96, 12, 12, 12}, "", lit);
    drawEngraving(canvas, "CHR", 84, 12, 8, lit);
}

void paintSecondsHand(platform::gfx::Canvas& canvas, const Artwork& artwork, int) {
    const bool lit = artwork.label[0] == 'L';
    canvas.drawLine(platform::gfx::Pen{lit ? 0xFFFFF2B0 : 0xFFE8E8E8, 1.5}, {4, 44}, {4, 2});
}

constexpr Artwork kClockScreen{"clock screen", 129, 134, 1, paintBlank, ""};
constexpr Artwork kClockBezel{"clock mode", 129, 134, 9, paintClockBezel, ""};
constexpr Artwork kHandDay{"seconds hand", 8, 48, 1, paintSecondsHand, "D"};
constexpr Artwork kHandLit{"seconds hand lit", 8, 48, 1, paintSecondsHand, "L"};

template <int Side, int Look>
GaugeElement hand(const Artwork& artwork) {
    GaugeElement element = needleElement(artwork, 65, 68, 4, 44, 360.0, secondsHand<Side, Look>);
    if (Look != Lights::kUnlit) {
        element.flags = platform::kImageHidden;
    }
    return element;
}

template <int Side>
GaugeElement clockRoot() {
    GaugeElement root =
        staticImage(kClockScreen, 0, 0, platform::kImageBright | platform::kImageCreateBitmap);
    root.children = {iconElement(kClockBezel, 0, 0, modeIcon<Side, false>),
                     hand<Side, Lights::kUnlit>(kHandDay), hand<Side, kAnyLitLook>(kHandLit)};
    return root;
}

} // namespace

const platform::Tooltip kElapsedTimeTip{"Elapsed Time", nullptr};

platform::MouseHandler elapsedTimeButton(int side) {
    return side == 1 ? pressElapsedTime<1> : pressElapsedTime<2>;
}

std::vector<GaugeElement> clockCopyElements() {
    return shiftedElements({iconElement(kClockBezel, 0, 0, modeIcon<1, true>),
                            hand<1, Lights::kUnlit>(kHandDay), hand<1, kAnyLitLook>(kHandLit)},
                           kClockCopyDx, kClockCopyDy);
}

std::vector<MouseControl> clockCopyControls() {
    return shiftedControls(clockControls<1>(), kClockCopyDx, kClockCopyDy);
}

platform::GaugeHeader clock1Gauge{.name = "Clock1",
                                  .widthMm = 129,
                                  .callback = screenGaugeCallback,
                                  .root = clockRoot<1>(),
                                  .controls = clockControls<1>()};

platform::GaugeHeader clock2Gauge{.name = "Clock2",
                                  .widthMm = 129,
                                  .callback = screenGaugeCallback,
                                  .root = clockRoot<2>(),
                                  .controls = clockControls<2>()};

} // namespace tavi
