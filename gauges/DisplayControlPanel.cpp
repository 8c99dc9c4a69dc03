#include "airframe/Lights.h"
#include "avionics/Clock.h"
#include "avionics/FlightDirector.h"
#include "avionics/RadAlt.h"
#include "displays/Pfd.h"
#include "gauges/Gauges.h"
#include "gauges/InstrumentCopies.h"
#include "gauges/PanelParts.h"

#include <algorithm>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseControl;
using platform::Tooltip;
using platform::TooltipArgument;

// The main panel's copy of the PFD 1 panel lies this far from `Brg1`'s own pixels.
constexpr int kPanelCopyDx = 458;
constexpr int kPanelCopyDy = 339;

template <int Side, typename Action>
bool onPfd(Action action) {
    return actOnAircraft([&](Aircraft& aircraft) {
        if (Pfd* pfd = screenOf<Pfd>(aircraft, Side == 1 ? kPfdLeft : kPfdRight)) {
            action(*pfd);
        }
    });
}

template <int Side, int Bearing, int Step>
bool stepBearing(int, int, uint32_t) {
    return onPfd<Side>([](Pfd& pfd) {
        int32_t& source = Bearing == 1 ? pfd.bearing1Source : pfd.bearing2Source;
        source = std::clamp(source + Step, static_cast<int32_t>(Pfd::kBearingOff),
                            static_cast<int32_t>(Pfd::kBearingFms));
    });
}

template <int Side>
bool toggleHsiFormat(int, int, uint32_t) {
    return onPfd<Side>([](Pfd& pfd) { pfd.hsiArcMode = !pfd.hsiArcMode; });
}

template <int Side>
bool toggleTimeToGo(int, int, uint32_t) {
    return onPfd<Side>([](Pfd& pfd) { pfd.showTimeToGo = !pfd.showTimeToGo; });
}

template <int Side, bool Fms>
bool selectNavSource(int, int, uint32_t) {
    return actOn(&Aircraft::flightDirector, [](FlightDirector& director) {
        (Side == 1 ? director.fmsSource1 : director.fmsSource2) = Fms;
    });
}

// 10 ft steps from 200 ft up, 5 ft below.
template <int Sign>
bool stepDecisionHeight(int, int, uint32_t) {
    return actOn(&Aircraft::radAlt, [](RadAlt& radAlt) {
        const int32_t height = radAlt.decisionHeight;
        const bool large = Sign > 0 ? height >= 200 : height > 200;
        radAlt.setDecisionHeight(height + Sign * (large ? 10 : 5));
    });
}

template <int Side, int Bearing>
int32_t bearingSource(const Aircraft& aircraft) {
    const Pfd* pfd = screenOf<Pfd>(aircraft, Side == 1 ? kPfdLeft : kPfdRight);
    return pfd ? (Bearing == 1 ? pfd->bearing1Source : pfd->bearing2Source) : -1;
}

template <int Side, int Bearing>
const char* bearingText() {
    return readyText([](const Aircraft& aircraft) {
        static constexpr const char* kSources[2][4] = {{"OFF", "VOR 1", "ADF 1", "FMS"},
                                                       {"OFF", "VOR 2", "ADF 2", "FMS"}};
        const int32_t source = bearingSource<Side, Bearing>(aircraft);
        return source >= 0 && source < 4 ? kSources[Bearing - 1][source] : "";
    });
}

template <int Side, int Bearing, int Look>
double bearingPointer(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        showOnlyIn(element, inLook(aircraft, Look));
        static constexpr double kAngles[2][4] = {{-50, -20, 5, 35}, {-40, -5, 20, 60}};
        const int32_t source = bearingSource<Side, Bearing>(aircraft);
        return source >= 0 && source < 4 ? kAngles[Bearing - 1][source] : 180.0;
    });
}

template <int Side>
const std::vector<TooltipArgument> kBearingArguments{{bearingText<Side, 1>, nullptr},
                                                     {bearingText<Side, 2>, nullptr}};
template <int Side>
const Tooltip kBearing1Tip{"1st Bearing Source (%1!s!)", &kBearingArguments<Side>};
template <int Side>
const Tooltip kBearing2Tip{"2nd Bearing Source (%2!s!)", &kBearingArguments<Side>};
const Tooltip kHsiTip{"EHSI Full / Arc Mode", nullptr};
const Tooltip kTimeToGoTip{"Ground Speed / Time to Go", nullptr};
const Tooltip kNavSourceTip{"Set NAV Radio as Navigation Source", nullptr};
const Tooltip kFmsSourceTip{"Set FMS as Navigation Source", nullptr};
const Tooltip kDecisionHeightTip{"Decision Height Selection", nullptr};

template <int Side>
std::vector<MouseControl> panelControls() {
    using platform::kMouseLeftSingle;
    return {
        mouseControl(25, 49, 20, 20, &kBearing1Tip<Side>,
                     knobUpperLower(20, 20, stepBearing<Side, 1, -1>, stepBearing<Side, 1, 1>,
                                    kMouseLeftSingle)),
        mouseControl(178, 49, 20, 20, &kBearing2Tip<Side>,
                     knobUpperLower(20, 20, stepBearing<Side, 2, 1>, stepBearing<Side, 2, -1>,
                                    kMouseLeftSingle)),
        pushButton(22, 11, 24, 22, &kHsiTip, toggleHsiFormat<Side>),
        pushButton(49, 11, 24, 22, &kTimeToGoTip, toggleTimeToGo<Side>),
        pushButton(154, 11, 22, 22, &kNavSourceTip, selectNavSource<Side, false>),
        pushButton(180, 11, 22, 22, &kFmsSourceTip, selectNavSource<Side, true>),
        mouseControl(
            79, 39, 30, 30, &kDecisionHeightTip,
            knobHalves(30, 30, stepDecisionHeight<-1>, stepDecisionHeight<1>, kLeftRepeat)),
        pushButton(126, 11, 24, 22, &kElapsedTimeTip, elapsedTimeButton(Side)),
    };
}

void paintPointer(platform::gfx::Canvas& canvas, const Artwork& artwork, int) {
    const bool lit = artwork.label[0] == 'L';
    canvas.drawLine(platform::gfx::Pen{lit ? 0xFFFFF2B0 : 0xFFE8E8E8, 2.5}, {4, 1}, {4, 9});
}

} // namespace

void paintDisplayControlFace(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = frame > 0;
    drawFace(canvas, artwork, lit);
    drawKey(canvas, {22, 11, 24, 22}, "HSI", lit);
    drawKey(canvas, {49, 11, 24, 22}, "GS", lit);
    drawKey(canvas, {126, 11, 24, 22}, "ET", lit);
    drawKey(canvas, {154, 11, 22, 22}, "NAV", lit);
    drawKey(canvas, {180, 11, 22, 22}, "FMS", lit);
    drawKnob(canvas, {25, 49, 20, 20}, lit);
    drawKnob(canvas, {79, 39, 30, 30}, lit);
    drawKnob(canvas, {178, 49, 20, 20}, lit);
    drawEngraving(canvas, "BRG 1", 35, 38, 8, lit);
    drawEngraving(canvas, "DH", 94, 28, 8, lit);
    drawEngraving(canvas, "BRG 2", 188, 38, 8, lit);
}

namespace {

constexpr Artwork kDisplayControlFace{"display control panel", 221, 72, 1,
                                      paintDisplayControlFace, ""};
constexpr Artwork kDisplayControlLit{"display control panel lighting", 221, 72, 2,
                                     paintDisplayControlFace,          ""};
constexpr Artwork kPointerDay{"bearing pointer", 9, 10, 1, paintPointer, "D"};
constexpr Artwork kPointerLit{"bearing pointer lit", 9, 10, 1, paintPointer, "L"};

template <int Side, int Look>
std::vector<GaugeElement> pointers(const Artwork& artwork) {
    std::vector<GaugeElement> elements = {
        needleElement(artwork, 33, 57, 0, 1, 90.0, bearingPointer<Side, 1, Look>),
        needleElement(artwork, 189, 57, 8, 1, 90.0, bearingPointer<Side, 2, Look>)};
    if (Look != Lights::kUnlit) {
        elements[0].flags = elements[1].flags = platform::kImageHidden;
    }
    return elements;
}

template <int Side>
GaugeElement displayControlRoot() {
    std::vector<GaugeElement> children = pointers<Side, Lights::kUnlit>(kPointerDay);
    for (GaugeElement& pointer : pointers<Side, kAnyLitLook>(kPointerLit)) {
        children.push_back(std::move(pointer));
    }
    return panelRoot(kDisplayControlFace, kDisplayControlLit, std::move(children));
}

} // namespace

std::vector<GaugeElement> displayControlCopyElements() {
    std::vector<GaugeElement> elements = pointers<1, Lights::kUnlit>(kPointerDay);
    for (GaugeElement& pointer : pointers<1, Lights::kPanelLit>(kPointerLit)) {
        elements.push_back(std::move(pointer));
    }
    for (GaugeElement& pointer : pointers<1, Lights::kFloodLit>(kPointerLit)) {
        elements.push_back(std::move(pointer));
    }
    return shiftedElements(std::move(elements), kPanelCopyDx, kPanelCopyDy);
}

std::vector<MouseControl> displayControlCopyControls() {
    return shiftedControls(panelControls<1>(), kPanelCopyDx, kPanelCopyDy);
}

platform::GaugeHeader brg1Gauge{.name = "Brg1",
                                .widthMm = 221,
                                .callback = nullptr,
                                .root = displayControlRoot<1>(),
                                .controls = panelControls<1>()};

platform::GaugeHeader brg2Gauge{.name = "Brg2",
                                .widthMm = 221,
                                .callback = nullptr,
                                .root = displayControlRoot<2>(),
                                .controls = panelControls<2>()};

} // namespace tavi
