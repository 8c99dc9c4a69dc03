#include "gauges/MainPanelControls.h"

#include "airframe/Lights.h"
#include "avionics/Baro.h"
#include "avionics/Radio.h"
#include "core/Imports.h"
#include "displays/Eicas.h"
#include "displays/Isi.h"
#include "displays/Mfd.h"
#include "displays/Pfd.h"
#include "displays/Rmu.h"
#include "gauges/GuidancePanel.h"
#include "gauges/InstrumentCopies.h"
#include "gauges/PanelParts.h"

#include <utility>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseArea;
using platform::MouseControl;
using platform::Tooltip;
using platform::TooltipArgument;

// The simulator's key event that shows or hides the panel window named by its value.
constexpr uint32_t kToggleWindowEvent = 0x103CA;
// The simulator's panel token that places the marker below PFD 1.
constexpr int32_t kMarkerToken = 69;
constexpr float kStandardPressure = 29.92f;
constexpr int32_t kBrightnessStep = 5;

template <typename Screen, typename Action>
bool onScreen(int displayId, Action action) {
    return actOnAircraft([&](Aircraft& aircraft) {
        if (Screen* screen = screenOf<Screen>(aircraft, displayId)) {
            action(*screen);
        }
    });
}

template <int32_t Key>
bool rmuKey(int, int, uint32_t flags) {
    return onScreen<Rmu>(kRmuLeft, [&](Rmu& rmu) { rmu.onKey(Key, flags); });
}

template <int32_t Knob>
bool rmuKnob(int, int, uint32_t flags) {
    return onScreen<Rmu>(kRmuLeft, [&](Rmu& rmu) {
        if (flags & platform::kMouseLeftSingle) {
            rmu.onKnob(Knob, flags);
        }
    });
}

// A bezel button of MFD 1 (0..5 from the left), or a range knob half: the small step on a left
// click, the large one on a right click.
template <int32_t Button>
bool mfdButton(int, int, uint32_t) {
    return onScreen<Mfd>(kMfdLeft, [](Mfd& mfd) { mfd.onButton(Button); });
}

template <int32_t SmallStep, int32_t LargeStep>
bool mfdRangeKnob(int, int, uint32_t flags) {
    return onScreen<Mfd>(
        kMfdLeft, [&](Mfd& mfd) { mfd.onButton(isRightClick(flags) ? LargeStep : SmallStep); });
}

template <int Step>
bool scrollMessages(int, int, uint32_t) {
    return onScreen<Eicas>(kEicasDisplay, [](Eicas& eicas) {
        // The rocker never takes the list above its first message.
        if (Step > 0 || eicas.messageScroll >= 1) {
            eicas.messageScroll += Step;
        }
    });
}

template <typename Action>
bool onBaro(Action action) {
    return actOn(&Aircraft::baro, action);
}

template <int Step>
bool stepStandbyBrightness(int, int, uint32_t) {
    return onScreen<Isi>(kStandbyInstrument,
                         [](Isi& isi) { isi.setBrightness(isi.brightness + Step); });
}

bool pressCage(int, int, uint32_t flags) {
    const bool released = (flags & (platform::kMouseLeftRelease | platform::kMouseLeave)) != 0;
    return onScreen<Isi>(kStandbyInstrument, [&](Isi& isi) { isi.setCageButton(!released); });
}

template <int32_t Window>
bool toggleWindow(int, int, uint32_t) {
    return actOnAircraft(
        [](Aircraft&) { panelServices().sendKeyEvent(kToggleWindowEvent, Window); });
}

const char* floodLightsText() {
    return readyText([](const Aircraft& aircraft) {
        const Lights* lights = aircraft.lights();
        return onOffText(lights && lights->floodLightsOn());
    });
}

const char* panelLightsText() {
    return readyText([](const Aircraft& aircraft) {
        const Lights* lights = aircraft.lights();
        return onOffText(lights && lights->panelLightsOn());
    });
}

const std::vector<TooltipArgument> kFloodArguments{{floodLightsText, nullptr}};
const std::vector<TooltipArgument> kPanelArguments{{panelLightsText, nullptr}};
const Tooltip kSquelchTip{"Squelch Control", nullptr};
const Tooltip kDimmingTip{"Dimming", nullptr};
const Tooltip kChangeSideTip{"Change Side", nullptr};
const Tooltip kStoreTip{"Store Frequency", nullptr};
const Tooltip kIdentTip{"Transpoder Identification", nullptr};
const Tooltip kPageTip{"Page Control", nullptr};
const Tooltip kScrollTip{"Scroll Messages", nullptr};
const Tooltip kBaroUnitTip{"Barometric Pressure IN / HPA Selection", nullptr};
const Tooltip kStandardTip{"Set Standard Pressure", nullptr};
const Tooltip kPressureTip{"Pressure Selection", nullptr};
const Tooltip kBrighterTip{"Increase Brightness", nullptr};
const Tooltip kDimmerTip{"Decrease Brightness", nullptr};
const Tooltip kCageTip{"Cage", nullptr};
const Tooltip kFloodTip{"Flood Lights (%1!s!)", &kFloodArguments};
const Tooltip kPanelTip{"Panel Lights (%1!s!)", &kPanelArguments};
const Tooltip kCom1Tip{"Toggle COM1 Radio", nullptr};
const Tooltip kCom2Tip{"Toggle COM2 Radio", nullptr};
const Tooltip kOverheadTip{"Show/Hide Overhead", nullptr};
const Tooltip kCduTip{"Show/Hide FMS", nullptr};
const Tooltip kThrottleTip{"Show/Hide Throttles", nullptr};
const Tooltip kPressurisationTip{"Show/Hide Pressure Panel", nullptr};
const Tooltip kThrustRatingTip{"Show/Hide Thrust Rating", nullptr};

MouseControl springKey(int x, int y, int width, int height, const Tooltip* tooltip,
                       platform::MouseHandler handler) {
    return mouseControl(x, y, width, height, tooltip,
                        {wholeArea(width, height, handler, kSpringKey)});
}

std::vector<MouseControl> rmuBezel() {
    constexpr int kLineKeyY[] = {657, 674, 699, 716, 741, 758};
    constexpr platform::MouseHandler kLeftKeys[] = {rmuKey<1>, rmuKey<2>, rmuKey<3>,
                                                    rmuKey<4>, rmuKey<5>, rmuKey<6>};
    constexpr platform::MouseHandler kRightKeys[] = {rmuKey<7>,  rmuKey<8>,  rmuKey<9>,
                                                     rmuKey<10>, rmuKey<11>, rmuKey<12>};
    std::vector<MouseControl> controls;
    for (int line = 0; line < 6; ++line) {
        controls.push_back(springKey(709, kLineKeyY[line], 16, 10, nullptr, kLeftKeys[line]));
        controls.push_back(springKey(854, kLineKeyY[line], 16, 10, nullptr, kRightKeys[line]));
    }
    controls.push_back(springKey(736, 792, 18, 11, &kSquelchTip, rmuKey<13>));
    controls.push_back(springKey(757, 792, 18, 11, &kDimmingTip, rmuKey<14>));
    controls.push_back(springKey(778, 792, 18, 11, &kChangeSideTip, rmuKey<15>));
    controls.push_back(springKey(799, 792, 18, 11, &kStoreTip, rmuKey<16>));
    controls.push_back(springKey(736, 812, 18, 11, &kIdentTip, rmuKey<17>));
    controls.push_back(springKey(757, 812, 18, 11, &kPageTip, rmuKey<18>));

    // The tuning knobs: the outer ring in the upper quarters, the inner one in the lower.
    std::vector<MouseArea> quarters = {
        wholeArea(16, 16, rmuKnob<24>, kLeftRepeat, platform::Cursor::DownArrow),
        wholeArea(16, 16, rmuKnob<23>, kLeftRepeat, platform::Cursor::UpArrow),
        wholeArea(16, 16, rmuKnob<22>, kLeftRepeat, platform::Cursor::DownArrow),
        wholeArea(16, 16, rmuKnob<21>, kLeftRepeat, platform::Cursor::UpArrow)};
    quarters[1].x = quarters[3].x = 16;
    quarters[2].y = quarters[3].y = 16;
    controls.push_back(mouseControl(820, 798, 32, 32, nullptr, std::move(quarters)));
    return controls;
}

constexpr int kMfdKeyX[] = {467, 497, 527, 557, 587, 617};

std::vector<MouseControl> mfdBezel() {
    constexpr platform::MouseHandler kKeys[] = {mfdButton<0>, mfdButton<1>, mfdButton<2>,
                                                mfdButton<3>, mfdButton<4>, mfdButton<5>};
    std::vector<MouseControl> controls;
    for (int key = 0; key < 6; ++key) {
        controls.push_back(pushButton(kMfdKeyX[key], 787, 24, 16, nullptr, kKeys[key]));
    }
    controls.push_back(
        mouseControl(657, 797, 42, 22, nullptr,
                     knobHalves(42, 22, mfdRangeKnob<Mfd::kKnobSmallDown, Mfd::kKnobLargeDown>,
                                mfdRangeKnob<Mfd::kKnobSmallUp, Mfd::kKnobLargeUp>, kBothRepeat)));
    return controls;
}

std::vector<MouseControl> baroAndStandbyControls() {
    return {
        mouseControl(1115, 795, 20, 20, &kScrollTip,
                     knobHalves(20, 20, scrollMessages<-1>, scrollMessages<1>, kLeftRepeat)),
        pushButton(206, 792, 24, 16, &kBaroUnitTip,
                   [](int, int, uint32_t) {
                       return onScreen<Pfd>(kPfdLeft,
                                            [](Pfd& pfd) { pfd.baroInInches = !pfd.baroInInches; });
                   }),
        pushButton(348, 792, 24, 16, &kStandardTip,
                   [](int, int, uint32_t) {
                       return onBaro([](Baro& baro) { baro.setBaroSetting(kStandardPressure); });
                   }),
        mouseControl(386, 799, 22, 22, &kPressureTip,
                     knobHalves(
                         22, 22,
                         [](int, int, uint32_t) {
                             return onBaro([](Baro& baro) { baro.decBaroSetting(); });
                         },
                         [](int, int, uint32_t) {
                             return onBaro([](Baro& baro) { baro.incBaroSetting(); });
                         },
                         kLeftRepeat)),
        pushButton(808, 458, 20, 8, &kStandardTip,
                   [](int, int, uint32_t) {
                       return onBaro(
                           [](Baro& baro) { baro.setStandbyBaroSetting(kStandardPressure); });
                   }),
        mouseControl(836, 565, 16, 16, &kPressureTip,
                     knobHalves(
                         16, 16,
                         [](int, int, uint32_t) {
                             return onBaro([](Baro& baro) { baro.decStandbyBaroSetting(); });
                         },
                         [](int, int, uint32_t) {
                             return onBaro([](Baro& baro) { baro.incStandbyBaroSetting(); });
                         },
                         kLeftRepeat)),
        mouseControl(726, 488, 8, 22, &kBrighterTip,
                     {wholeArea(8, 22, stepStandbyBrightness<kBrightnessStep>, kLeftRepeat)}),
        mouseControl(726, 533, 8, 22, &kDimmerTip,
                     {wholeArea(8, 22, stepStandbyBrightness<-kBrightnessStep>, kLeftRepeat)}),
        springKey(752, 576, 22, 8, &kCageTip, pressCage),
    };
}

std::vector<MouseControl> lightAndAudioControls() {
    return {
        pushButton(106, 380, 16, 16, &kFloodTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::lights, [](Lights& lights, Aircraft& aircraft) {
                           lights.toggleFloodLights(aircraft);
                       });
                   }),
        pushButton(68, 400, 16, 16, &kPanelTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::lights, [](Lights& lights, Aircraft& aircraft) {
                           lights.togglePanelLights(aircraft);
                       });
                   }),
        pushButton(20, 649, 14, 12, &kCom1Tip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::radio,
                                    [](Radio& radio) { radio.toggleCom1Audio(); });
                   }),
        pushButton(46, 649, 14, 12, &kCom2Tip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::radio,
                                    [](Radio& radio) { radio.toggleCom2Audio(); });
                   }),
    };
}

struct WindowButton {
    int x;
    const Tooltip* tooltip;
    platform::MouseHandler handler;
};

const WindowButton kWindowButtons[] = {
    {166, &kOverheadTip, toggleWindow<250>},       {196, &kCduTip, toggleWindow<10000>},
    {226, &kThrottleTip, toggleWindow<10>},        {256, &kPressurisationTip, toggleWindow<200>},
    {286, &kThrustRatingTip, toggleWindow<10001>},
};

std::vector<MouseControl> windowButtons() {
    std::vector<MouseControl> controls;
    for (const WindowButton& button : kWindowButtons) {
        controls.push_back(pushButton(button.x, 834, 24, 24, button.tooltip, button.handler));
    }
    return controls;
}

// The COM audio light: lit while selected, in each of the three looks of the panel.
template <int Com>
double comAudioLight(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        const Radio* radio = aircraft.radio();
        const bool on =
            radio && (Com == 1 ? radio->isCom1AudioLit(aircraft) : radio->isCom2AudioLit(aircraft));
        const int look = lightingLook(aircraft);
        setBright(element, look != Lights::kUnlit);
        return (on ? 1.0 : 0.0) + 2.0 * look;
    });
}

template <int Look>
double markerX(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        showOnlyIn(element, inLook(aircraft, Look));
        return element.source.value * 0.625 + 5.0;
    });
}

double markerY(GaugeElement&) {
    return readyValue([](const Aircraft&) { return -20.0; });
}

void paintComAudio(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool on = frame % 2 == 1;
    canvas.fillRectangle(on ? 0xFF40FF60 : 0xFF203020,
                         {0, 0, double(artwork.width), double(artwork.height)});
    drawEngraving(canvas, artwork.label, artwork.width / 2.0, 1, 7, frame >= 2);
}

void paintWindowButton(platform::gfx::Canvas& canvas, const Artwork& artwork, int) {
    drawKey(canvas, {0.5, 0.5, artwork.width - 1.0, artwork.height - 1.0}, artwork.label, false);
}

void paintMarker(platform::gfx::Canvas& canvas, const Artwork& artwork, int) {
    const platform::gfx::Argb colours[] = {0xFFE8E8E8, 0xFFFFF2B0, 0xFFFFFFFF};
    canvas.fillPolygon(colours[artwork.label[0] - '0'], {{5, 0}, {10, 8}, {0, 8}});
}

constexpr Artwork kCom1Light{"COM 1 audio", 20, 9, 6, paintComAudio, "COM1"};
constexpr Artwork kCom2Light{"COM 2 audio", 20, 9, 6, paintComAudio, "COM2"};
constexpr Artwork kWindowArt[] = {
    {"overhead window button", 24, 24, 1, paintWindowButton, "OVH"},
    {"CDU window button", 24, 24, 1, paintWindowButton, "FMS"},
    {"throttle window button", 24, 24, 1, paintWindowButton, "THR"},
    {"pressurisation window button", 24, 24, 1, paintWindowButton, "PRS"},
    {"thrust rating window button", 24, 24, 1, paintWindowButton, "TRP"},
};
constexpr Artwork kMarkerArt[] = {{"PFD marker", 10, 8, 1, paintMarker, "0"},
                                  {"PFD marker panel lit", 10, 8, 1, paintMarker, "1"},
                                  {"PFD marker flood lit", 10, 8, 1, paintMarker, "2"}};

constexpr MovingRange kMarkerRange{-128, 128, -128, 128};

template <int Look>
GaugeElement marker() {
    GaugeElement element =
        movingElement(kMarkerArt[Look], 266, 794, kMarkerRange, markerX<Look>, markerY);
    element.sourceToken = kMarkerToken;
    if (Look != Lights::kUnlit) {
        element.flags = platform::kImageHidden;
    }
    return element;
}

// The faces of the main panel's own controls, which its background does not show: the guidance
// and display control panel plates, the RMU 1 and MFD 1 bezel keys and knobs, the baro, standby,
// light, COM audio and EICAS scroll controls, and the standby compass housing.
void paintControlFaces(platform::gfx::Canvas& canvas, const Artwork&, int frame) {
    const bool lit = frame > 0;
    const auto plate = [&](platform::ArtworkPainter paint, int x, int y, int width, int height) {
        const Artwork face{"", width, height, 2, paint, ""};
        canvas.save();
        canvas.translate(x, y);
        paint(canvas, face, lit ? 1 : 0);
        canvas.restore();
    };
    plate(paintGuidancePanelFace, kGuidancePanelOffsetX, kGuidancePanelOffsetY, 455, 78);
    plate(paintDisplayControlFace, 458, 339, 221, 72);
    struct Key {
        double x;
        double y;
        double width;
        double height;
        const char* label;
    };
    constexpr double kLineKeyY[] = {657, 674, 699, 716, 741, 758};
    for (double y : kLineKeyY) {
        drawKey(canvas, {709, y, 16, 10}, "", lit);
        drawKey(canvas, {854, y, 16, 10}, "", lit);
    }
    const Key keys[] = {
        {736, 792, 18, 11, "SQ"},   {757, 792, 18, 11, "DIM"}, {778, 792, 18, 11, "1/2"},
        {799, 792, 18, 11, "STO"},  {736, 812, 18, 11, "ID"},  {757, 812, 18, 11, "PGE"},
        {1115, 795, 20, 20, "MSG"}, {206, 792, 24, 16, "IN"},  {348, 792, 24, 16, "STD"},
        {808, 458, 20, 8, "STD"},   {726, 488, 8, 22, "+"},    {726, 533, 8, 22, "-"},
        {752, 576, 22, 8, "CAGE"},  {106, 380, 16, 16, "FLD"}, {68, 400, 16, 16, "PNL"},
        {20, 649, 14, 12, "1"},     {46, 649, 14, 12, "2"},
    };
    for (const Key& key : keys) {
        drawKey(canvas, {key.x, key.y, key.width, key.height}, key.label, lit);
    }
    for (int x : kMfdKeyX) {
        drawKey(canvas, {double(x), 787, 24, 16}, "", lit);
    }
    drawKnob(canvas, {657, 797, 42, 22}, lit);
    drawKnob(canvas, {820, 798, 32, 32}, lit);
    drawKnob(canvas, {386, 799, 22, 22}, lit);
    drawKnob(canvas, {836, 565, 16, 16}, lit);
    canvas.fillRectangle(0xFF15171A, {988, 7, 65, 40});
}

constexpr Artwork kControlFaces{"main panel controls", 1152, 860, 3, paintControlFaces, ""};

double controlFacesLook(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        const int look = lightingLook(aircraft);
        setBright(element, look != Lights::kUnlit);
        return static_cast<double>(look);
    });
}

template <typename Part>
void append(std::vector<Part>& to, std::vector<Part> from) {
    for (Part& part : from) {
        to.push_back(std::move(part));
    }
}

} // namespace

std::vector<GaugeElement> mainPanelControlElements() {
    std::vector<GaugeElement> elements = {iconElement(kControlFaces, 0, 0, controlFacesLook),
                                          iconElement(kCom1Light, 0, 646, comAudioLight<1>),
                                          iconElement(kCom2Light, 41, 646, comAudioLight<2>)};
    for (int i = 0; i < 5; ++i) {
        elements.push_back(staticImage(kWindowArt[i], kWindowButtons[i].x, 834));
    }
    append(elements,
           {marker<Lights::kUnlit>(), marker<Lights::kPanelLit>(), marker<Lights::kFloodLit>()});
    append(elements,
           shiftedElements(guidancePanelLights(), kGuidancePanelOffsetX, kGuidancePanelOffsetY));
    append(elements, displayControlCopyElements());
    append(elements, clockCopyElements());
    append(elements, compassCopyElements());
    append(elements, masterLightCopyElements());
    return elements;
}

std::vector<MouseControl> mainPanelControls() {
    std::vector<MouseControl> controls = rmuBezel();
    append(controls, mfdBezel());
    append(controls, baroAndStandbyControls());
    append(controls, lightAndAudioControls());
    append(controls, windowButtons());
    append(controls,
           shiftedControls(guidancePanelControls(), kGuidancePanelOffsetX, kGuidancePanelOffsetY));
    append(controls, displayControlCopyControls());
    append(controls, clockCopyControls());
    append(controls, masterLightCopyControls());
    return controls;
}

} // namespace tavi
