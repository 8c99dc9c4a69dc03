#include "gauges/GuidancePanel.h"

#include "airframe/Electric.h"
#include "avionics/Autopilot.h"
#include "avionics/FlightDirector.h"
#include "gauges/AutopilotPanelKnobs.h"
#include "gauges/Gauges.h"
#include "gauges/PanelParts.h"

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseArea;
using platform::MouseControl;
using platform::Tooltip;
using Lateral = FdLateralMode;
using Vertical = FdVerticalMode;

constexpr int kButtonWidth = 30;
constexpr int kButtonHeight = 18;

// A light of the panel: image `image` while the condition holds and the cockpit has lamp power.
template <typename Condition>
double lampImage(Condition condition, double image = 1.0) {
    return readyValue([&](const Aircraft& aircraft) {
        const Electric* electric = aircraft.electric();
        const FlightDirector* director = aircraft.flightDirector();
        const Autopilot* autopilot = aircraft.autopilot();
        if (!electric || !director || !autopilot) {
            return 0.0;
        }
        return image *
               annunciatorIcon(condition(*director, *autopilot), electric->annunciatorPower);
    });
}

bool eitherLateral(const FlightDirector& director, Lateral mode) {
    return director.lateralMode() == mode || director.armedLateralMode() == mode;
}

bool localizerFrom(const FlightDirector& director, bool approach) {
    return (eitherLateral(director, Lateral::Loc) || eitherLateral(director, Lateral::Bc)) &&
           director.isApproachSelected() == approach;
}

bool navLight(const FlightDirector& director) {
    return eitherLateral(director, Lateral::Vor) || eitherLateral(director, Lateral::Lnav) ||
           localizerFrom(director, false);
}

bool approachLight(const FlightDirector& director) {
    return eitherLateral(director, Lateral::Vapp) || localizerFrom(director, true);
}

bool altitudeLight(const FlightDirector& director) {
    return director.verticalMode() == Vertical::Alt || director.verticalMode() == Vertical::Asel ||
           director.armedVerticalMode() == Vertical::Asel;
}

bool coupledTo(const FlightDirector& director, int side) {
    return director.coupledSide() == side && !director.isInhibited();
}

// The low-bank half bank of the autopilot.
constexpr float kLowBankLimit = 14.0f;

template <typename Action>
bool onDirector(Action action) {
    return actOn(&Aircraft::flightDirector, action);
}

template <typename Action>
bool onAutopilot(Action action) {
    return actOn(&Aircraft::autopilot, action);
}

// The knob handlers the flight director's named variables share, in the mouse handler's shape.
template <int32_t (*Knob)(int32_t, int32_t, uint32_t)>
bool knobPart(int x, int y, uint32_t flags) {
    return Knob(x, y, flags) != 0;
}

} // namespace

void paintGuidancePanelFace(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = frame > 0;
    drawFace(canvas, artwork, lit);
    struct Knob {
        double x;
        double width;
        const char* label;
    };
    const Knob knobs[] = {
        {27, 40, "CRS"}, {96, 40, "HDG"}, {234, 40, "SPD"}, {332, 30, "ALT"}, {398, 40, "CRS"}};
    for (const Knob& knob : knobs) {
        drawKnob(canvas, {knob.x + 8, 33, knob.width - 16, 26}, lit);
        drawEngraving(canvas, knob.label, knob.x + knob.width / 2, 63, 9, lit);
    }
    // The side button between the two arrows carries no light of its own.
    drawKey(canvas, {193, 31, kButtonWidth, kButtonHeight}, "SEL", lit);
}

namespace {

constexpr Artwork kGuidanceFace{"guidance panel", 455, 78, 1, paintGuidancePanelFace, ""};
constexpr Artwork kGuidanceLit{"guidance panel lighting", 455, 78, 2, paintGuidancePanelFace, ""};
constexpr Artwork kApLight{"AP light", kButtonWidth, kButtonHeight, 2, paintLampButton, "AP"};
constexpr Artwork kYdLight{"YD light", kButtonWidth, kButtonHeight, 2, paintLampButton, "YD"};
constexpr Artwork kAltLight{"ALT light", kButtonWidth, kButtonHeight, 2, paintLampButton, "ALT"};
constexpr Artwork kVsLight{"VS light", kButtonWidth, kButtonHeight, 2, paintLampButton, "VS"};
constexpr Artwork kSpdLight{"SPD light", kButtonWidth, kButtonHeight, 2, paintLampButton, "SPD"};
constexpr Artwork kFlchLight{"FLCH light", kButtonWidth, kButtonHeight, 2, paintLampButton, "FLCH"};
constexpr Artwork kHdgLight{"HDG light", kButtonWidth, kButtonHeight, 2, paintLampButton, "HDG"};
constexpr Artwork kBankLight{"low bank light", kButtonWidth, kButtonHeight, 2,
                             paintLampButton,  "1/2 BNK"};
constexpr Artwork kNavLight{"NAV light", kButtonWidth, kButtonHeight, 2, paintLampButton, "NAV"};
constexpr Artwork kAprLight{"APR light", kButtonWidth, kButtonHeight, 2, paintLampButton, "APR"};
constexpr Artwork kFd1Light{"FD 1 light", kButtonWidth, kButtonHeight, 2, paintLampButton, "FD"};
constexpr Artwork kFd2Light{"FD 2 light", kButtonWidth, kButtonHeight, 2, paintLampButton, "FD"};
constexpr Artwork kSideLeft{"side arrow left", 8, 12, 3, paintLampButton, "<"};
constexpr Artwork kSideRight{"side arrow right", 8, 12, 3, paintLampButton, ">"};

const Tooltip kApTip{"Autopilot Engage Button", nullptr};
const Tooltip kYdTip{"Yaw Damper Engage Button", nullptr};
const Tooltip kAltTip{"Altitude Hold Mode", nullptr};
const Tooltip kVsTip{"Vertical Speed Hold Mode", nullptr};
const Tooltip kSpdTip{"Speed Hold Mode", nullptr};
const Tooltip kFlchTip{"Flight Level Change Mode", nullptr};
const Tooltip kHdgTip{"Heading Hold Mode", nullptr};
const Tooltip kBankTip{"Low Bank Submode", nullptr};
const Tooltip kNavTip{"NAV Modes", nullptr};
const Tooltip kAprTip{"Approach Modes", nullptr};
const Tooltip kDirectorSideTip{"Switch Flight Director Side", nullptr};
const Tooltip kFdTip{"Toggle Flight Directors", nullptr};
const Tooltip kCourseTip{"Course Select Knob", nullptr};
const Tooltip kHeadingTip{"Heading Select Knob", nullptr};
const Tooltip kSpeedTip{"Speed Control Knob", nullptr};
const Tooltip kAltitudeTip{"Altitude Preselect Knob", nullptr};

std::vector<MouseControl> buttons() {
    struct Button {
        int x;
        int y;
        const Tooltip* tooltip;
        platform::MouseHandler handler;
    };
    const Button table[] = {
        {193, 3, &kApTip,
         [](int, int, uint32_t) {
             return onAutopilot([](Autopilot& ap) { ap.toggleEngage(); });
         }},
        {193, 57, &kYdTip,
         [](int, int, uint32_t) {
             return onAutopilot([](Autopilot& ap) { ap.toggleYawDamper(); });
         }},
        {329, 3, &kAltTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) { fd.toggleAltitudeHold(); });
         }},
        {281, 31, &kVsTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) {
                 fd.selectVerticalSpeedMode(fd.verticalMode() != Vertical::Vs);
             });
         }},
        {238, 3, &kSpdTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) {
                 fd.selectSpeedMode(fd.verticalMode() != Vertical::Speed);
             });
         }},
        {281, 3, &kFlchTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) {
                 fd.selectFlightLevelChange(fd.verticalMode() != Vertical::ClimbDescent);
             });
         }},
        {99, 3, &kHdgTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) {
                 fd.selectHeadingMode(fd.lateralMode() != Lateral::Hdg);
             });
         }},
        {147, 57, &kBankTip,
         [](int, int, uint32_t) {
             return onDirector(
                 [](FlightDirector& fd) { fd.setLowBank(fd.bankLimit() != kLowBankLimit); });
         }},
        {147, 3, &kNavTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) { fd.pressNav(); });
         }},
        {147, 31, &kAprTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) { fd.pressApproach(); });
         }},
        {193, 31, &kDirectorSideTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) { fd.switchSide(); });
         }},
        {30, 3, &kFdTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) { fd.toggleFlightDirector1(); });
         }},
        {397, 3, &kFdTip,
         [](int, int, uint32_t) {
             return onDirector([](FlightDirector& fd) { fd.toggleFlightDirector2(); });
         }},
    };
    std::vector<MouseControl> controls;
    for (const Button& button : table) {
        controls.push_back(pushButton(button.x, button.y, kButtonWidth, kButtonHeight,
                                      button.tooltip, button.handler));
    }
    return controls;
}

// A turning knob of 40 x 30: decrement 10 wide, push 20, increment 10.
MouseControl pushKnob(int x, const Tooltip& tooltip, platform::MouseHandler decrement,
                      platform::MouseHandler push, platform::MouseHandler increment) {
    MouseArea left = wholeArea(10, 30, decrement, kBothRepeat, platform::Cursor::DownArrow);
    MouseArea middle = wholeArea(20, 30, push);
    middle.x = 10;
    MouseArea right = wholeArea(10, 30, increment, kBothRepeat, platform::Cursor::UpArrow);
    right.x = 30;
    return mouseControl(x, 31, 40, 30, &tooltip, {left, middle, right});
}

std::vector<MouseControl> knobs() {
    return {
        pushKnob(27, kCourseTip, knobPart<apCourse1KnobDec>, knobPart<apCourse1KnobPush>,
                 knobPart<apCourse1KnobInc>),
        pushKnob(96, kHeadingTip, knobPart<apHeadingKnobDec>, knobPart<apHeadingKnobPush>,
                 knobPart<apHeadingKnobInc>),
        pushKnob(234, kSpeedTip, knobPart<apSpeedKnobDec>, knobPart<apSpeedKnobPush>,
                 knobPart<apSpeedKnobInc>),
        mouseControl(332, 31, 30, 30, &kAltitudeTip,
                     knobHalves(30, 30, knobPart<apAltitudeKnobDec>, knobPart<apAltitudeKnobInc>,
                                kBothRepeat)),
        pushKnob(398, kCourseTip, knobPart<apCourse2KnobDec>, knobPart<apCourse2KnobPush>,
                 knobPart<apCourse2KnobInc>),
    };
}

} // namespace

std::vector<GaugeElement> guidancePanelLights() {
    using E = GaugeElement;
    return {
        lampElement(
            kApLight, 193, 3,
            [](E&) { return lampImage([](auto&, const Autopilot& ap) { return ap.engaged; }); }),
        lampElement(
            kYdLight, 193, 57,
            [](E&) { return lampImage([](auto&, const Autopilot& ap) { return ap.yawDamper; }); }),
        lampElement(kAltLight, 329, 3,
                    [](E&) {
                        return lampImage(
                            [](const FlightDirector& fd, auto&) { return altitudeLight(fd); });
                    }),
        lampElement(kVsLight, 281, 31,
                    [](E&) {
                        return lampImage([](const FlightDirector& fd, auto&) {
                            return fd.verticalMode() == Vertical::Vs;
                        });
                    }),
        lampElement(kSpdLight, 238, 3,
                    [](E&) {
                        return lampImage([](const FlightDirector& fd, auto&) {
                            return fd.verticalMode() == Vertical::Speed;
                        });
                    }),
        lampElement(kFlchLight, 281, 3,
                    [](E&) {
                        return lampImage([](const FlightDirector& fd, auto&) {
                            return fd.verticalMode() == Vertical::ClimbDescent;
                        });
                    }),
        lampElement(kHdgLight, 99, 3,
                    [](E&) {
                        return lampImage([](const FlightDirector& fd, auto&) {
                            return fd.lateralMode() == Lateral::Hdg;
                        });
                    }),
        lampElement(kBankLight, 147, 57,
                    [](E&) {
                        return lampImage([](const FlightDirector& fd, auto&) {
                            return fd.bankLimit() == kLowBankLimit;
                        });
                    }),
        lampElement(kNavLight, 147, 3,
                    [](E&) {
                        return lampImage(
                            [](const FlightDirector& fd, auto&) { return navLight(fd); });
                    }),
        lampElement(kAprLight, 147, 31,
                    [](E&) {
                        return lampImage(
                            [](const FlightDirector& fd, auto&) { return approachLight(fd); });
                    }),
        lampElement(kFd1Light, 30, 3,
                    [](E&) {
                        return lampImage(
                            [](const FlightDirector& fd, auto&) { return fd.isDirectorOn(1); });
                    }),
        lampElement(kFd2Light, 397, 3,
                    [](E&) {
                        return lampImage(
                            [](const FlightDirector& fd, auto&) { return fd.isDirectorOn(2); });
                    }),
        lampElement(kSideLeft, 185, 34,
                    [](E&) {
                        return lampImage(
                            [](const FlightDirector& fd, auto&) { return coupledTo(fd, 1); }, 1.0);
                    }),
        lampElement(kSideRight, 226, 34,
                    [](E&) {
                        return lampImage(
                            [](const FlightDirector& fd, auto&) { return coupledTo(fd, 2); }, 2.0);
                    }),
    };
}

std::vector<MouseControl> guidancePanelControls() {
    std::vector<MouseControl> controls = buttons();
    for (MouseControl& knob : knobs()) {
        controls.push_back(std::move(knob));
    }
    return controls;
}

platform::GaugeHeader apGauge{.name = "AP",
                              .widthMm = 455,
                              .callback = nullptr,
                              .root = panelRoot(kGuidanceFace, kGuidanceLit, guidancePanelLights()),
                              .controls = guidancePanelControls()};

} // namespace tavi
