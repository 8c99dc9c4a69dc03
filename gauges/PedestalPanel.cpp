#include "airframe/Electric.h"
#include "airframe/Pressure.h"
#include "avionics/FlightDirector.h"
#include "gauges/Gauges.h"
#include "gauges/PanelParts.h"

#include <algorithm>
#include <string>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseControl;
using platform::Tooltip;

template <int Sign>
bool turnPitchWheel(int, int, uint32_t) {
    return actOn(&Aircraft::flightDirector, [](FlightDirector& director) {
        director.clickPitchWheel(Sign * director.pitchStep());
    });
}

template <int Sign>
bool turnKnob(int, int, uint32_t) {
    return actOn(&Aircraft::flightDirector,
                 [](FlightDirector& director) { director.turnKnob(Sign * director.bankStep()); });
}

template <int Sign>
bool stepLandingElevation(int, int, uint32_t flags) {
    return actOn(&Aircraft::pressure, [&](Pressure& pressure) {
        const int32_t step = isRightClick(flags) ? 1000 : 100;
        pressure.setLandingElevation(pressure.landingElevation + Sign * step);
    });
}

double pitchWheelIcon(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        const FlightDirector* director = aircraft.flightDirector();
        const int lit = panelLit(aircraft);
        setBright(element, lit != 0);
        return (director ? director->pitchWheelPhase() : 0) + 2.0 * lit;
    });
}

double turnKnobPointer(GaugeElement&) {
    return readyValue([](const Aircraft& aircraft) {
        const FlightDirector* director = aircraft.flightDirector();
        return director ? -director->turnKnobCommand() * 3.0 : 0.0;
    });
}

// The readout is dark while bus 1 has no power; the buttons work regardless.
void landingElevationText(GaugeElement& element) {
    std::string text;
    if (const Aircraft* aircraft = readyAircraft()) {
        const Electric* electric = aircraft->electric();
        const Pressure* pressure = aircraft->pressure();
        if (electric && pressure && electric->isPowered(Electric::kDcBus1)) {
            text = pressure->landingElevationText;
        }
    }
    const std::size_t length = std::min(text.size(), element.text.size() - 1);
    std::copy_n(text.begin(), length, element.text.begin());
    element.text[length] = '\0';
}

void paintPedestalFace(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = frame > 0;
    drawFace(canvas, artwork, lit);
    drawEngraving(canvas, "PITCH", 82, 18, 11, lit);
    drawEngraving(canvas, "TURN", 308, 18, 11, lit);
    drawKnob(canvas, {268, 40, 80, 80}, lit);
    drawEngraving(canvas, "LDG ELEV", 145, 250, 10, lit);
    canvas.fillRectangle(0xFF000000, {108, 268, 74, 28});
    drawKey(canvas, {220, 258, 20, 20}, "+", lit);
    drawKey(canvas, {220, 283, 20, 20}, "-", lit);
}

void paintPitchWheel(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    canvas.fillRectangle(0xFF202226, {0, 0, double(artwork.width), double(artwork.height)});
    const double shift = (frame % 2) * 5.0;
    for (double y = 2.0 + shift; y < artwork.height; y += 10.0) {
        canvas.fillRectangle(frame >= 2 ? 0xFFFFF2B0 : 0xFF8A9098, {4, y, artwork.width - 8.0, 3});
    }
}

void paintTurnPointer(platform::gfx::Canvas& canvas, const Artwork&, int) {
    canvas.drawLine(platform::gfx::Pen{0xFFE8E8E8, 4.0}, {55, 56}, {55, 20});
}

constexpr Artwork kPedestalFace{"pedestal", 400, 310, 1, paintPedestalFace, ""};
constexpr Artwork kPedestalLit{"pedestal lighting", 400, 310, 2, paintPedestalFace, ""};
constexpr Artwork kPitchWheel{"pitch wheel", 36, 90, 4, paintPitchWheel, ""};
constexpr Artwork kTurnPointer{"turn knob pointer", 110, 112, 1, paintTurnPointer, ""};
constexpr Artwork kReadout{"landing elevation", 70, 24, 1, paintBlank, ""};

const Tooltip kPitchUpTip{"Climb", nullptr};
const Tooltip kPitchDownTip{"Descent", nullptr};
const Tooltip kTurnTip{"Turn Control Knob", nullptr};
const Tooltip kIncreaseTip{"Increase Landing Elevation", nullptr};
const Tooltip kDecreaseTip{"Decrease Landing Elevation", nullptr};

GaugeElement readout() {
    GaugeElement element = staticImage(kReadout, 110, 270);
    element.kind = platform::ElementKind::String;
    element.fillText = landingElevationText;
    element.width = 70;
    element.height = 24;
    element.font = "Quartz";
    element.fontSize = 20.0;
    element.colour = 0xFFDDDAD1;
    return element;
}

GaugeElement pedestalRoot() {
    return panelRoot(kPedestalFace, kPedestalLit,
                     {iconElement(kPitchWheel, 64, 40, pitchWheelIcon),
                      needleElement(kTurnPointer, 308, 81, 55, 56, 90.0, turnKnobPointer),
                      readout()});
}

std::vector<MouseControl> pedestalControls() {
    using platform::Cursor;
    return {
        mouseControl(64, 90, 36, 40, &kPitchUpTip,
                     {wholeArea(36, 40, turnPitchWheel<-1>, kLeftRepeat, Cursor::UpArrow)}),
        mouseControl(64, 40, 36, 40, &kPitchDownTip,
                     {wholeArea(36, 40, turnPitchWheel<1>, kLeftRepeat, Cursor::DownArrow)}),
        mouseControl(255, 35, 35, 100, &kTurnTip,
                     {wholeArea(35, 100, turnKnob<1>, kLeftRepeat, Cursor::DownArrow)}),
        pushButton(290, 35, 35, 100, &kTurnTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::flightDirector,
                                    [](FlightDirector& director) { director.centreTurnKnob(); });
                   }),
        mouseControl(325, 35, 35, 100, &kTurnTip,
                     {wholeArea(35, 100, turnKnob<-1>, kLeftRepeat, Cursor::UpArrow)}),
        mouseControl(220, 258, 20, 20, &kIncreaseTip,
                     {wholeArea(20, 20, stepLandingElevation<1>, kBothRepeat)}),
        mouseControl(220, 283, 20, 20, &kDecreaseTip,
                     {wholeArea(20, 20, stepLandingElevation<-1>, kBothRepeat)}),
    };
}

} // namespace

platform::GaugeHeader pedestalGauge{.name = "Pedestal",
                                    .widthMm = 400,
                                    .callback = nullptr,
                                    .root = pedestalRoot(),
                                    .controls = pedestalControls()};

} // namespace tavi
