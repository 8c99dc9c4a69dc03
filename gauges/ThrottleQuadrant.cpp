#include "airframe/Fadec.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "avionics/Autopilot.h"
#include "avionics/FlightDirector.h"
#include "gauges/ControlArtwork.h"
#include "gauges/Gauges.h"
#include "gauges/PanelParts.h"
#include "platform/gfx/Surface.h"

#include <algorithm>

namespace tavi {

namespace {

using platform::Artwork;
using platform::GaugeElement;
using platform::MouseArea;
using platform::MouseControl;
using platform::Tooltip;
using platform::TooltipArgument;

// The reference image's design height; drags arrive in displayed pixels.
constexpr double kReferenceDesignHeight = 100.0;

// A drag point in design pixels, or nothing while the reference size is unknown.
bool designY(const Aircraft& aircraft, int y, double& design) {
    const Fadec* fadec = aircraft.fadec();
    const int32_t height = fadec ? fadec->leverReferenceHeight() : 0;
    if (height <= 0) {
        return false;
    }
    design = y * kReferenceDesignHeight / height;
    return true;
}

float leverAngle(double designY) {
    const double p = 280.0 - designY;
    if (p >= 260.0) {
        return 75.0f;
    }
    if (p <= 20.0) {
        return 0.0f;
    }
    return static_cast<float>((p - 20.0) / 240.0 * 75.0);
}

// A left-button event moves both levers, a right-button one only the lever under the pointer.
template <int Lever>
bool dragLever(int, int y, uint32_t flags) {
    return actOn(&Aircraft::fadec, [&](Fadec& fadec, Aircraft& aircraft) {
        // Until the first pre-update has measured the reference image there is no scale to
        // turn the pointer into a lever angle: the drag is taken and does nothing.
        double design = 0.0;
        if (!designY(aircraft, y, design)) {
            return;
        }
        const float angle = leverAngle(design);
        const bool both = (flags & (platform::kMouseLeftSingle | platform::kMouseLeftDrag)) != 0;
        if (Lever == 1 || both) {
            fadec.setThrustLever1(angle);
        }
        if (Lever == 2 || both) {
            fadec.setThrustLever2(angle);
        }
    });
}

bool dragSpeedBrake(int, int y, uint32_t) {
    return actOn(&Aircraft::mechanisation, [&](Mechanisation& mechanisation, Aircraft& aircraft) {
        double design = 0.0;
        if (!designY(aircraft, y, design)) {
            return;
        }
        mechanisation.setSpoilerLever(
            static_cast<float>(std::clamp((design - 2.0) / 60.0, 0.0, 1.0)));
    });
}

template <int32_t Rating>
bool selectRating(int, int, uint32_t) {
    return actOn(&Aircraft::fadec, [](Fadec& fadec) { fadec.selectThrustRating(Rating); });
}

template <int Shaker>
bool* shakerCutoutGuard(Aircraft& aircraft) {
    Autopilot* autopilot = aircraft.autopilot();
    return autopilot ? &autopilot->shakerCutoutGuardOpen[Shaker - 1] : nullptr;
}

template <int Shaker>
bool toggleShakerCutout(Aircraft& aircraft, uint32_t) {
    Autopilot* autopilot = aircraft.autopilot();
    if (!autopilot) {
        return false;
    }
    if (Shaker == 1) {
        autopilot->toggleStickShaker1Cutout();
    } else {
        autopilot->toggleStickShaker2Cutout();
    }
    playClick(aircraft, kClickPushButton);
    return true;
}

// Right click: the cover; left click: the cut-out, only with the cover open.
template <int Shaker>
constexpr platform::MouseHandler pressShakerCutout =
    controlHandler<guarded<shakerCutoutGuard<Shaker>, toggleShakerCutout<Shaker>>>;

void setReferenceSize(platform::GaugeHeader& gauge, int32_t service, void*) {
    if (service != platform::kServicePreUpdate) {
        return;
    }
    actOn(&Aircraft::fadec, [&](Fadec& fadec) {
        const GaugeElement& reference = gauge.root.children.at(0).children.at(0);
        fadec.measureLeverReference(reference.surface ? reference.surface->pixelHeight() : 0);
    });
}

// Lever offsets: 18 px over the first 22 degrees, 57 px over the last 53.
double leverOffset(float angle) {
    return angle <= 22.0f ? -angle * 18.0 / 22.0 : -18.0 - (angle - 22.0) * 57.0 / 53.0;
}

template <int Lever, bool Night>
double leverY(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        showOnlyIn(element, (panelLit(aircraft) != 0) == Night);
        const Fadec* fadec = aircraft.fadec();
        return fadec ? leverOffset(fadec->leverAngle[Lever - 1]) : 0.0;
    });
}

template <bool Night>
double speedBrakeY(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        showOnlyIn(element, (panelLit(aircraft) != 0) == Night);
        const Mechanisation* mechanisation = aircraft.mechanisation();
        return mechanisation ? mechanisation->speedBrakeLever * 100.0 : 0.0;
    });
}

double noOffset(GaugeElement&) {
    return 0.0;
}

bool throttleLocked(const Aircraft& aircraft) {
    const Fadec* fadec = aircraft.fadec();
    return fadec && fadec->throttleLock;
}

double lockMark(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        if (!throttleLocked(aircraft)) {
            return 0.0;
        }
        const int lit = panelLit(aircraft);
        setBright(element, lit != 0);
        return 1.0 + lit;
    });
}

double lockLever(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        if (throttleLocked(aircraft)) {
            return 2.0;
        }
        const int lit = panelLit(aircraft);
        setBright(element, lit != 0);
        return static_cast<double>(lit);
    });
}

double flapIndicator(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        const Mechanisation* mechanisation = aircraft.mechanisation();
        const int lit = panelLit(aircraft);
        setBright(element, lit != 0);
        return (mechanisation ? mechanisation->flapHandleIndex : 0) + 5.0 * lit;
    });
}

double parkingBrakeHandle(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        const Mechanisation* mechanisation = aircraft.mechanisation();
        const int lit = panelLit(aircraft);
        setBright(element, lit != 0);
        const bool set = mechanisation && mechanisation->parkingBrake != 0.0f;
        return (set ? 1.0 : 0.0) + 2.0 * lit;
    });
}

template <int Shaker>
double shakerButton(GaugeElement& element) {
    return readyValue([&](const Aircraft& aircraft) {
        const Autopilot* autopilot = aircraft.autopilot();
        if (!autopilot) {
            return 0.0;
        }
        const bool light = Shaker == 1 ? autopilot->isStickShaker1CutoutLit()
                                       : autopilot->isStickShaker2CutoutLit();
        const int lit = panelLit(aircraft);
        setBright(element, lit != 0);
        return guardedButtonIcon(light, autopilot->shakerCutoutGuardOpen[Shaker - 1], lit);
    });
}

template <int Lever>
double leverAngleArgument() {
    return readyValue([](const Aircraft& aircraft) {
        const Fadec* fadec = aircraft.fadec();
        return fadec ? static_cast<double>(fadec->leverAngle[Lever - 1]) : 0.0;
    });
}

double speedBrakePercent() {
    return readyValue([](const Aircraft& aircraft) {
        const Mechanisation* mechanisation = aircraft.mechanisation();
        return mechanisation ? mechanisation->speedBrakeLever * 100.0 : 0.0;
    });
}

const char* parkingBrakeText() {
    return readyText([](const Aircraft& aircraft) {
        const Mechanisation* mechanisation = aircraft.mechanisation();
        return onOffText(mechanisation && mechanisation->parkingBrake != 0.0f);
    });
}

const char* throttleLockText() {
    return readyText(
        [](const Aircraft& aircraft) { return throttleLocked(aircraft) ? "Locked" : "Free"; });
}

template <int Shaker>
const char* shakerText() {
    return readyText([](const Aircraft& aircraft) {
        const Autopilot* autopilot = aircraft.autopilot();
        const bool cutout =
            autopilot && (Shaker == 1 ? autopilot->shaker1Cutout : autopilot->shaker2Cutout);
        return cutout ? "Off" : "On";
    });
}

const std::vector<TooltipArgument> kLeverArguments{{nullptr, leverAngleArgument<1>},
                                                   {nullptr, leverAngleArgument<2>}};
const std::vector<TooltipArgument> kShakerArguments{{shakerText<1>, nullptr},
                                                    {shakerText<2>, nullptr}};
const std::vector<TooltipArgument> kParkingBrakeArguments{{parkingBrakeText, nullptr}};
const std::vector<TooltipArgument> kThrottleLockArguments{{throttleLockText, nullptr}};
const std::vector<TooltipArgument> kSpeedBrakeArguments{{nullptr, speedBrakePercent}};

const Tooltip kTakeoffTip{"T/O-1 Thrust Rating", nullptr};
const Tooltip kContinuousTip{"CON Thrust Rating", nullptr};
const Tooltip kClimbTip{"CLB Thrust Rating", nullptr};
const Tooltip kCruiseTip{"CRZ Thrust Rating", nullptr};
const Tooltip kConfigTip{"Check Takeoff Config", nullptr};
const Tooltip kFlapsTip{"Set Flaps Position", nullptr};
const Tooltip kParkingBrakeTip{"Parking Brake (%1!s!)", &kParkingBrakeArguments};
const Tooltip kThrottleLockTip{"Throttle Lock (%1!s!)", &kThrottleLockArguments};
const Tooltip kLever1Tip{"Thrust Lever 1 (%1!.1f!°)", &kLeverArguments};
const Tooltip kLever2Tip{"Thrust Lever 2 (%2!.1f!°)", &kLeverArguments};
const Tooltip kToGaTip{"Takeoff / Go Around", nullptr};
const Tooltip kSpeedBrakeTip{"Speed Brake (%1!.0f!%%)", &kSpeedBrakeArguments};
const Tooltip kShaker1Tip{"Stick Shaker 1 (%1!s!)", &kShakerArguments};
const Tooltip kShaker2Tip{"Stick Shaker 2 (%2!s!)", &kShakerArguments};
const Tooltip kResetIceTip{"Reset Ice Speeds", nullptr};

struct RatingButton {
    const char* label;
    const Tooltip* tooltip;
    platform::MouseHandler handler;
};

const RatingButton kRatingButtons[] = {
    {"T/O-1", &kTakeoffTip, selectRating<kTakeoffRating>},
    {"CON", &kContinuousTip, selectRating<kContinuousRating>},
    {"CLB", &kClimbTip, selectRating<kClimbRating>},
    {"CRZ", &kCruiseTip, selectRating<kCruiseRating>},
};

std::vector<MouseControl> ratingButtons(const int (&x)[4], int y) {
    std::vector<MouseControl> controls;
    for (int i = 0; i < 4; ++i) {
        controls.push_back(
            pushButton(x[i], y, 28, 28, kRatingButtons[i].tooltip, kRatingButtons[i].handler));
    }
    return controls;
}

constexpr int kQuadrantRatingX[] = {118, 172, 228, 282};
constexpr int kPanelRatingX[] = {35, 90, 146, 200};

void drawRatingKeys(platform::gfx::Canvas& canvas, const int (&x)[4], int y, bool lit) {
    for (int i = 0; i < 4; ++i) {
        drawKey(canvas, {double(x[i]), double(y), 28, 28}, kRatingButtons[i].label, lit);
    }
}

void paintQuadrantFace(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = frame > 0;
    drawFace(canvas, artwork, lit);
    canvas.fillRectangle(0xFF15171A, {176, 120, 8, 280});
    canvas.fillRectangle(0xFF15171A, {242, 120, 8, 280});
    canvas.fillRectangle(0xFF15171A, {36, 282, 8, 110});
    drawEngraving(canvas, "SPEED BRAKE", 40, 268, 10, lit);
    drawKey(canvas, {110, 140, 30, 230}, "", lit);
    drawEngraving(canvas, "TO/GA", 125, 248, 9, lit);
    drawKey(canvas, {260, 38, 20, 20}, "T/O", lit);
    drawEngraving(canvas, "CONFIG", 270, 24, 9, lit);
    drawKey(canvas, {168, 490, 32, 32}, "ICE", lit);
    drawEngraving(canvas, "FLAPS", 390, 296, 10, lit);
    drawEngraving(canvas, "PARK BRAKE", 54, 478, 9, lit);
    drawRatingKeys(canvas, kQuadrantRatingX, 414, lit);
}

void paintRatingFace(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    const bool lit = frame > 0;
    drawFace(canvas, artwork, lit);
    drawRatingKeys(canvas, kPanelRatingX, 12, lit);
}

// A thrust lever: the shaft and the grip, the grip toward the other lever.
void paintLever(platform::gfx::Canvas& canvas, const Artwork& artwork, int) {
    const bool night = artwork.label[1] == 'N';
    const bool left = artwork.label[0] == '1';
    const double gripX = left ? 40.0 : 0.0;
    canvas.fillRectangle(0xFF9098A0, {gripX + 24, 130, 10, 170});
    canvas.fillRectangle(night ? 0xFF30343A : 0xFF202226, {gripX, 100, 58, 30});
    drawEngraving(canvas, left ? "1" : "2", gripX + 29, 104, 18, night);
}

void paintLockMark(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    if (frame == 0) {
        return;
    }
    canvas.fillRectangle(frame == 2 ? 0xFFFFF2B0 : 0xFFE0E0E0,
                         {0, 0, double(artwork.width), double(artwork.height)});
}

void paintLockLever(platform::gfx::Canvas& canvas, const Artwork& artwork, int frame) {
    canvas.fillRectangle(0xFF202226, {0, 0, double(artwork.width), double(artwork.height)});
    drawEngraving(canvas, frame == 2 ? "LOCK" : "FREE", artwork.width / 2.0, 4, 10, frame == 1);
}

void paintSpeedBrake(platform::gfx::Canvas& canvas, const Artwork& artwork, int) {
    const bool night = artwork.label[0] == 'N';
    canvas.fillRectangle(night ? 0xFF30343A : 0xFF202226, {10, 0, 44, 14});
    drawEngraving(canvas, "SPD BRK", 32, 2, 9, night);
}

void paintFlapIndicator(platform::gfx::Canvas& canvas, const Artwork&, int frame) {
    const bool lit = frame >= 5;
    const int position = frame % 5;
    const char* marks[] = {"0", "9", "18", "22", "45"};
    for (int i = 0; i < 5; ++i) {
        const double y = 10.0 + i * 30.0;
        drawEngraving(canvas, marks[i], 12, y, 10, lit);
        if (i == position) {
            canvas.fillRectangle(lit ? 0xFFFFF2B0 : 0xFFE8E8E8, {24, y + 2, 40, 8});
        }
    }
}

void paintParkingBrake(platform::gfx::Canvas& canvas, const Artwork&, int frame) {
    const bool set = frame % 2 == 1;
    canvas.fillRectangle(set ? 0xFFC02020 : 0xFF602020, {36, set ? 44.0 : 56.0, 36, 20});
    drawEngraving(canvas, set ? "SET" : "OFF", 54, set ? 48.0 : 60.0, 10, frame >= 2);
}

constexpr Artwork kQuadrantFace{"throttle quadrant", 423, 530, 1, paintQuadrantFace, ""};
constexpr Artwork kQuadrantLit{"throttle quadrant lighting", 423, 530, 2, paintQuadrantFace, ""};
constexpr Artwork kReference{"lever reference", 100, 100, 1, paintBlank, ""};
constexpr Artwork kLever1Day{"thrust lever 1", 100, 300, 1, paintLever, "1D"};
constexpr Artwork kLever1Night{"thrust lever 1 lit", 100, 300, 1, paintLever, "1N"};
constexpr Artwork kLever2Day{"thrust lever 2", 100, 300, 1, paintLever, "2D"};
constexpr Artwork kLever2Night{"thrust lever 2 lit", 100, 300, 1, paintLever, "2N"};
constexpr Artwork kLockMark{"lock mark", 8, 8, 3, paintLockMark, ""};
constexpr Artwork kLockLever{"throttle lock", 40, 20, 3, paintLockLever, ""};
constexpr Artwork kSpeedBrakeDay{"speed brake", 64, 14, 1, paintSpeedBrake, "D"};
constexpr Artwork kSpeedBrakeNight{"speed brake lit", 64, 14, 1, paintSpeedBrake, "N"};
constexpr Artwork kFlapIndicator{"flap indicator", 70, 160, 10, paintFlapIndicator, ""};
constexpr Artwork kParkingBrake{"parking brake", 80, 80, 4, paintParkingBrake, ""};
constexpr Artwork kShaker1{"stick shaker 1 cut-out", 34, 34, 8, paintGuardedButton, "SHK 1"};
constexpr Artwork kShaker2{"stick shaker 2 cut-out", 34, 34, 8, paintGuardedButton, "SHK 2"};
constexpr Artwork kRatingFace{"thrust rating", 261, 52, 1, paintRatingFace, ""};
constexpr Artwork kRatingLit{"thrust rating lighting", 261, 52, 2, paintRatingFace, ""};

constexpr MovingRange kLeverRange{0, 0, -75, 0};
constexpr MovingRange kSpeedBrakeRange{0, 0, 0, 100};

GaugeElement lever(const Artwork& artwork, int x, platform::ElementValue offset,
                   bool withLockMark) {
    GaugeElement element = movingElement(artwork, x, 108, kLeverRange, noOffset, offset);
    if (withLockMark) {
        // Children of the day image, which draw in both looks and move with the lever; placed
        // on the grip.
        element.children.push_back(iconElement(kLockMark, x == 110 ? 175 : 245, 212, lockMark));
    }
    return element;
}

GaugeElement quadrantRoot() {
    GaugeElement reference = staticImage(kReference, 0, 0, platform::kImageCreateBitmap);
    GaugeElement lever1Night = lever(kLever1Night, 110, leverY<1, true>, false);
    GaugeElement lever2Night = lever(kLever2Night, 220, leverY<2, true>, false);
    lever1Night.flags = lever2Night.flags = platform::kImageHidden;
    GaugeElement speedBrakeNight =
        movingElement(kSpeedBrakeNight, 8, 290, kSpeedBrakeRange, noOffset, speedBrakeY<true>);
    speedBrakeNight.flags = platform::kImageHidden;
    return panelRoot(
        kQuadrantFace, kQuadrantLit,
        {reference, iconElement(kLockLever, 66, 0, lockLever),
         lever(kLever1Day, 110, leverY<1, false>, true), lever1Night,
         lever(kLever2Day, 220, leverY<2, false>, true), lever2Night,
         movingElement(kSpeedBrakeDay, 8, 290, kSpeedBrakeRange, noOffset, speedBrakeY<false>),
         speedBrakeNight, iconElement(kFlapIndicator, 340, 310, flapIndicator),
         iconElement(kParkingBrake, 0, 400, parkingBrakeHandle),
         iconElement(kShaker1, 111, 449, shakerButton<1>),
         iconElement(kShaker2, 214, 444, shakerButton<2>)});
}

constexpr uint32_t kLeverEvents = platform::kMouseLeftSingle | platform::kMouseRightSingle |
                                  platform::kMouseLeftDrag | platform::kMouseRightDrag;

MouseControl leverControl(int x, const Tooltip& tooltip, platform::MouseHandler drag) {
    return mouseControl(x, 120, 64, 280, &tooltip, {wholeArea(64, 300, drag, kLeverEvents)});
}

std::vector<MouseControl> quadrantControls() {
    std::vector<MouseControl> controls = ratingButtons(kQuadrantRatingX, 414);
    const std::vector<MouseControl> others = {
        pushButton(260, 38, 20, 20, &kConfigTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::fadec,
                                    [](Fadec& fadec) { fadec.requestTakeoffCheck(); });
                   }),
        mouseControl(370, 375, 40, 100, &kFlapsTip,
                     knobUpperLower(
                         40, 100,
                         [](int, int, uint32_t) {
                             return actOn(&Aircraft::mechanisation,
                                          [](Mechanisation& m) { m.flapsDecrement(); });
                         },
                         [](int, int, uint32_t) {
                             return actOn(&Aircraft::mechanisation,
                                          [](Mechanisation& m) { m.flapsIncrement(); });
                         },
                         platform::kMouseLeftSingle)),
        pushButton(36, 450, 36, 24, &kParkingBrakeTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::mechanisation,
                                    [](Mechanisation& m) { m.toggleParkingBrake(); });
                   }),
        // On the lock lever's picture: the grey strip beside lever 2 shows nothing to click.
        pushButton(66, 0, 40, 20, &kThrottleLockTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::fadec, [](Fadec& fadec) {
                           fadec.setThrottleLock(!fadec.throttleLock);
                       });
                   }),
        leverControl(150, kLever1Tip, dragLever<1>),
        leverControl(214, kLever2Tip, dragLever<2>),
        pushButton(110, 140, 30, 230, &kToGaTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::flightDirector,
                                    [](FlightDirector& fd) { fd.pressToGa(); });
                   }),
        mouseControl(8, 282, 64, 80, &kSpeedBrakeTip,
                     {wholeArea(64, 80, dragSpeedBrake,
                                platform::kMouseLeftSingle | platform::kMouseLeftDrag)}),
        mouseControl(114, 490, 34, 34, &kShaker1Tip,
                     {wholeArea(34, 34, pressShakerCutout<1>, kBothClicks)}),
        pushButton(168, 490, 32, 32, &kResetIceTip,
                   [](int, int, uint32_t) {
                       return actOn(&Aircraft::pneumatic,
                                    [](Pneumatic& pneumatic, const Aircraft& aircraft) {
                                        pneumatic.resetIceSpeeds(aircraft);
                                    });
                   }),
        mouseControl(218, 490, 34, 34, &kShaker2Tip,
                     {wholeArea(34, 34, pressShakerCutout<2>, kBothClicks)}),
    };
    controls.insert(controls.end(), others.begin(), others.end());
    return controls;
}

} // namespace

platform::GaugeHeader throttleGauge{.name = "Throttle",
                                    .widthMm = 423,
                                    .callback = setReferenceSize,
                                    .root = quadrantRoot(),
                                    .controls = quadrantControls()};

platform::GaugeHeader thrustRatingGauge{.name = "ThrustRating",
                                        .widthMm = 261,
                                        .callback = nullptr,
                                        .root = panelRoot(kRatingFace, kRatingLit, {}),
                                        .controls = ratingButtons(kPanelRatingX, 12)};

} // namespace tavi
