#include "support/FlightDirectorBench.h"

#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace tavi::test {
namespace {

using L = FdLateralMode;
using V = FdVerticalMode;

struct Modes {
    L lateral = L::Rol;
    L armedLateral = L::None;
    V vertical = V::Pit;
    V armedVertical = V::None;
};

Modes modesOf(const FlightDirector& fd) {
    return {fd.lateralMode(), fd.armedLateralMode(), fd.verticalMode(), fd.armedVerticalMode()};
}

bool operator==(const Modes& a, const Modes& b) {
    return a.lateral == b.lateral && a.armedLateral == b.armedLateral && a.vertical == b.vertical &&
           a.armedVertical == b.armedVertical;
}

std::ostream& operator<<(std::ostream& out, const Modes& m) {
    return out << "lateral " << static_cast<int>(m.lateral) << " armed "
               << static_cast<int>(m.armedLateral) << ", vertical " << static_cast<int>(m.vertical)
               << " armed " << static_cast<int>(m.armedVertical);
}

// One transition: what the simulator gives (read in the frames before), the flight director's
// state just before the action, the action, and the modes right after it.
struct Transition {
    std::string name;
    std::function<void(FlightDirectorBench&)> simulator;
    Modes before;
    std::function<void(FlightDirector&)> arrange;
    std::function<void(FlightDirector&)> action;
    Modes after;
};

std::ostream& operator<<(std::ostream& out, const Transition& t) {
    return out << t.name;
}

void nothing(FlightDirectorBench&) {}
void noArrangement(FlightDirector&) {}

// The lateral mode armed from HDG on a signal of its kind that is not captured, by NAV, or by
// APR when the glide slope is armed too.
void armLateral(FlightDirectorBench& b, L armed, bool glideslope) {
    if (armed == L::None) {
        return;
    }
    switch (armed) {
    case L::Vor:
    case L::Vapp:
        b.setHeading(60.0f);
        b.receiveVor(90, 127.0);
        break;
    case L::Loc:
    case L::Bc:
        b.receiveLocalizer(120.0, armed == L::Bc);
        break;
    case L::Lnav:
        b.flyLnav(1.0, 1.0);
        break;
    default:
        break;
    }
    b.step();
    if (armed == L::Vapp || glideslope) {
        b.fd().pressApproach();
    } else {
        b.fd().pressNav();
    }
}

// VOR (or VAPP) on 090 captured from a 30-degree intercept with the needle centred.
void captureVor(FlightDirectorBench& b, bool approach) {
    b.setHeading(60.0f);
    b.receiveVor(90, 0.0);
    b.step();
    if (approach) {
        b.fd().pressApproach();
    } else {
        b.fd().pressNav();
    }
    b.step();
}

// The localizer captured, with the glide slope armed when asked.
void captureLocalizer(FlightDirectorBench& b, bool glideslope) {
    b.receiveLocalizer(0.0);
    b.step();
    if (glideslope) {
        b.fd().pressApproach();
    } else {
        b.fd().pressNav();
    }
    b.step();
}

// Climbing in VS to the preselected altitude at 5000 ft until ASEL captures it, then level.
void captureAsel(FlightDirectorBench& b) {
    b.setAltitude(4300.0f);
    b.setVerticalSpeed(1500.0f);
    b.fd().selectVerticalSpeedMode(true);
    b.step();
    b.setAltitude(4800.0f);
    b.step();
    b.setVerticalSpeed(0.0f);
}

void reachVertical(FlightDirectorBench& b, V vertical) {
    FlightDirector& fd = b.fd();
    switch (vertical) {
    case V::Alt:
        fd.toggleAltitudeHold();
        break;
    case V::Vs:
        fd.selectVerticalSpeedMode(true);
        break;
    case V::Speed:
        fd.selectSpeedMode(true);
        break;
    case V::ClimbDescent:
        fd.selectFlightLevelChange(true);
        break;
    case V::Toga:
        fd.pressToGa();
        break;
    case V::Gs:
        b.receiveGlideslope(true, 0.0);
        b.step();
        break;
    case V::Asel:
        captureAsel(b);
        break;
    default:
        break;
    }
}

// The modes reached from PIT and ROL through the panel's buttons and the captures the frames
// make, each on a signal that allows it.
void reach(FlightDirectorBench& b, const Modes& m) {
    FlightDirector& fd = b.fd();
    const bool glideslope = m.armedVertical == V::Gs || m.vertical == V::Gs;
    switch (m.lateral) {
    case L::None:
        fd.setLateralMode(L::None);
        break;
    case L::Hdg:
        fd.selectHeadingMode(true);
        armLateral(b, m.armedLateral, glideslope);
        break;
    case L::Vor:
    case L::Vapp:
        captureVor(b, m.lateral == L::Vapp);
        break;
    case L::Loc:
        captureLocalizer(b, glideslope);
        break;
    case L::Lnav:
        b.flyLnav(1.0, 0.0);
        fd.pressNav();
        b.step();
        break;
    default:
        break;
    }
    if (glideslope && m.lateral == L::Hdg && m.armedLateral == L::None) {
        // APR again gives up the localizer's arming and keeps the glide slope's.
        b.receiveLocalizer(120.0);
        b.step();
        fd.pressApproach();
        fd.pressApproach();
    }
    reachVertical(b, m.vertical);
}

// The flight director as the bench leaves it: in the air at 5000 ft with the preselected
// altitude there, both directors on, PIT and ROL, nothing armed.
class FlightDirectorTransitionTest : public testing::TestWithParam<Transition> {
protected:
    FlightDirectorBench bench;
};

TEST_P(FlightDirectorTransitionTest, ActionChangesTheModes) {
    const Transition& t = GetParam();
    t.simulator(bench);
    bench.step(2);
    FlightDirector& fd = bench.fd();
    reach(bench, t.before);
    t.arrange(fd);
    ASSERT_EQ(modesOf(fd), t.before);
    t.action(fd);
    EXPECT_EQ(modesOf(fd), t.after);
}

const auto vor = [](FlightDirectorBench& b) {
    b.receiveVor(90, 60.0);
};
const auto localizer = [](FlightDirectorBench& b) {
    b.receiveLocalizer(60.0);
};
const auto backCourse = [](FlightDirectorBench& b) {
    b.receiveLocalizer(60.0, true);
};
const auto validLnav = [](FlightDirectorBench& b) {
    b.fms.lnav.valid = true;
};
const auto preselect9000 = [](FlightDirectorBench& b) {
    b.setPreselect(9000.0f);
};
const auto slowOnGround = [](FlightDirectorBench& b) {
    b.setAirborne(false);
    b.setSpeed(40.0f);
    b.setRadioAltitude(0.0f);
};
const auto goAroundHeight = [](FlightDirectorBench& b) {
    b.setRadioAltitude(1000.0f);
};

const auto fmsSource = [](FlightDirector& fd) {
    fd.selectNavigationSource(1, true);
};

const auto nav = [](FlightDirector& fd) {
    fd.pressNav();
};
const auto approach = [](FlightDirector& fd) {
    fd.pressApproach();
};
const auto toGa = [](FlightDirector& fd) {
    fd.pressToGa();
};

const Modes kStart{};

INSTANTIATE_TEST_SUITE_P(
    Buttons, FlightDirectorTransitionTest,
    testing::Values(
        Transition{"NavOnVorArmsVor", vor, kStart, noArrangement, nav, {L::Hdg, L::Vor}},
        Transition{
            "NavOnLocalizerArmsLoc", localizer, kStart, noArrangement, nav, {L::Hdg, L::Loc}},
        Transition{
            "NavOnBackCourseArmsBc", backCourse, kStart, noArrangement, nav, {L::Hdg, L::Bc}},
        Transition{
            "NavWithoutSignalArmsVor", nothing, kStart, noArrangement, nav, {L::Hdg, L::Vor}},
        Transition{"NavAgainDisarms", vor, {L::Hdg, L::Vor}, noArrangement, nav, {L::Hdg}},
        Transition{"NavWithVorActiveReturnsToRol", vor, {L::Vor}, noArrangement, nav, kStart},
        Transition{"NavWithLocActiveCancelsItAndTheArmedGs",
                   localizer,
                   {L::Loc, L::None, V::Pit, V::Gs},
                   noArrangement,
                   nav,
                   {L::Rol, L::None, V::Pit, V::Asel}},
        Transition{"NavWithGsArmedInAltDropsTheGsArming",
                   localizer,
                   {L::Loc, L::None, V::Alt, V::Gs},
                   noArrangement,
                   nav,
                   {L::Rol, L::None, V::Alt, V::None}},
        Transition{"NavOnFmsSourceWithoutLnavDoesNothing", nothing, kStart, fmsSource, nav, kStart},
        Transition{"NavOnFmsSourceArmsLnav", validLnav, kStart, fmsSource, nav, {L::Hdg, L::Lnav}},
        Transition{"ApproachOnLocalizerArmsLocAndGs",
                   localizer,
                   kStart,
                   noArrangement,
                   approach,
                   {L::Hdg, L::Loc, V::Pit, V::Gs}},
        Transition{"ApproachOnBackCourseArmsBcWithoutGs",
                   backCourse,
                   kStart,
                   noArrangement,
                   approach,
                   {L::Hdg, L::Bc}},
        Transition{
            "ApproachOnVorArmsVapp", vor, kStart, noArrangement, approach, {L::Hdg, L::Vapp}},
        Transition{"ApproachWithoutSignalArmsVapp",
                   nothing,
                   kStart,
                   noArrangement,
                   approach,
                   {L::Hdg, L::Vapp}},
        Transition{"ApproachOnFmsSourceArmsLnavWithoutGuidance",
                   nothing,
                   kStart,
                   fmsSource,
                   approach,
                   {L::Hdg, L::Lnav}},
        Transition{"ApproachAgainDisarmsLocButKeepsGs",
                   localizer,
                   {L::Hdg, L::Loc, V::Pit, V::Gs},
                   noArrangement,
                   approach,
                   {L::Hdg, L::None, V::Pit, V::Gs}},
        Transition{
            "ApproachWithVappActiveReturnsToRol", vor, {L::Vapp}, noArrangement, approach, kStart},
        Transition{
            "ApproachFromVorArmsVapp", vor, {L::Vor}, noArrangement, approach, {L::Hdg, L::Vapp}},
        Transition{"HeadingOn",
                   nothing,
                   kStart,
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectHeadingMode(true); },
                   {L::Hdg}},
        Transition{"HeadingOnDropsTheArming",
                   vor,
                   {L::Hdg, L::Vor},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectHeadingMode(true); },
                   {L::Hdg}},
        Transition{"HeadingOffReturnsToRol",
                   nothing,
                   {L::Hdg},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectHeadingMode(false); },
                   kStart},
        Transition{"AltitudeHoldFromPit",
                   nothing,
                   kStart,
                   noArrangement,
                   [](FlightDirector& fd) { fd.toggleAltitudeHold(); },
                   {L::Rol, L::None, V::Alt}},
        Transition{"AltitudeHoldAgainReturnsToPit",
                   nothing,
                   {L::Rol, L::None, V::Alt},
                   noArrangement,
                   [](FlightDirector& fd) { fd.toggleAltitudeHold(); },
                   kStart},
        Transition{"AltitudeHoldInGsKeepsGs",
                   localizer,
                   {L::Loc, L::None, V::Gs},
                   noArrangement,
                   [](FlightDirector& fd) { fd.toggleAltitudeHold(); },
                   {L::Loc, L::None, V::Gs}},
        Transition{"VerticalSpeedOnArmsAsel",
                   preselect9000,
                   {L::Rol, L::None, V::Pit, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectVerticalSpeedMode(true); },
                   {L::Rol, L::None, V::Vs, V::Asel}},
        Transition{"VerticalSpeedOffReturnsToPit",
                   nothing,
                   {L::Rol, L::None, V::Vs, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectVerticalSpeedMode(false); },
                   kStart},
        Transition{"VerticalSpeedRefusedHoldingThePreselectedAltitude",
                   nothing,
                   {L::Rol, L::None, V::Alt},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectVerticalSpeedMode(true); },
                   {L::Rol, L::None, V::Alt}},
        Transition{"VerticalSpeedFromAltHeldAwayFromThePreselect",
                   preselect9000,
                   {L::Rol, L::None, V::Alt},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectVerticalSpeedMode(true); },
                   {L::Rol, L::None, V::Vs, V::Asel}},
        Transition{"SpeedOnArmsAsel",
                   preselect9000,
                   {L::Rol, L::None, V::Pit, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectSpeedMode(true); },
                   {L::Rol, L::None, V::Speed, V::Asel}},
        Transition{"SpeedRefusedHoldingThePreselectedAltitude",
                   nothing,
                   {L::Rol, L::None, V::Alt},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectSpeedMode(true); },
                   {L::Rol, L::None, V::Alt}},
        Transition{"SpeedOffReturnsToPit",
                   nothing,
                   {L::Rol, L::None, V::Speed, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectSpeedMode(false); },
                   kStart},
        Transition{"ClimbDescentOn",
                   preselect9000,
                   {L::Rol, L::None, V::Pit, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectFlightLevelChange(true); },
                   {L::Rol, L::None, V::ClimbDescent, V::Asel}},
        Transition{"ClimbDescentRefusedHoldingThePreselectedAltitude",
                   nothing,
                   {L::Rol, L::None, V::Alt},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectFlightLevelChange(true); },
                   {L::Rol, L::None, V::Alt}},
        Transition{"ClimbDescentOffReturnsToPit",
                   nothing,
                   {L::Rol, L::None, V::ClimbDescent, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.selectFlightLevelChange(false); },
                   kStart},
        Transition{"GsRefusedOffTheLocalizer", nothing, kStart, noArrangement,
                   [](FlightDirector& fd) { fd.setVerticalMode(V::Gs); }, kStart},
        Transition{"ToGaSlowOnTheGroundIsTakeOff",
                   slowOnGround,
                   kStart,
                   noArrangement,
                   toGa,
                   {L::TogaRol, L::None, V::Toga, V::Asel}},
        Transition{"ToGaAgainCancelsToPitAndRol",
                   slowOnGround,
                   {L::TogaRol, L::None, V::Toga, V::Asel},
                   noArrangement,
                   toGa,
                   kStart},
        Transition{"ToGaBelow2500FtAfter400FtIsGoAround",
                   goAroundHeight,
                   kStart,
                   noArrangement,
                   toGa,
                   {L::TogaRol, L::None, V::Toga, V::Asel}},
        Transition{"ToGaAbove2500FtAfter400FtIsGoAroundToo",
                   nothing,
                   {L::Hdg},
                   noArrangement,
                   toGa,
                   {L::TogaRol, L::None, V::Toga, V::Asel}},
        Transition{"SwitchSideRevertsToPitAndRol",
                   vor,
                   {L::Hdg, L::Vor, V::Vs, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.switchSide(); },
                   kStart},
        Transition{"BothDirectorsOffClearEveryMode",
                   nothing,
                   {L::Hdg, L::None, V::Alt},
                   noArrangement,
                   [](FlightDirector& fd) {
                       fd.toggleFlightDirector1();
                       fd.toggleFlightDirector2();
                   },
                   {L::None, L::None, V::None, V::None}},
        Transition{"OneDirectorOffKeepsTheModes",
                   nothing,
                   {L::Hdg, L::None, V::Alt},
                   noArrangement,
                   [](FlightDirector& fd) { fd.toggleFlightDirector1(); },
                   {L::Hdg, L::None, V::Alt}},
        Transition{"PreselectChangeDuringAselRevertsToPit",
                   nothing,
                   {L::Rol, L::None, V::Asel},
                   noArrangement,
                   [](FlightDirector& fd) { fd.setAltitudePreselect(9000); },
                   kStart},
        Transition{"TurnKnobReplacesTheLateralModeByRol",
                   vor,
                   {L::Hdg, L::Vor},
                   noArrangement,
                   [](FlightDirector& fd) { fd.turnKnob(3.0f); },
                   kStart},
        Transition{"FmsCancelsLnav",
                   nothing,
                   {L::Lnav},
                   noArrangement,
                   [](FlightDirector& fd) { fd.cancelLateralMode(); },
                   kStart}),
    [](const testing::TestParamInfo<Transition>& info) { return info.param.name; });

// Transitions that the frames make: captures, automatic arming and the rules that keep the
// modes consistent. The state is set, then the frames run.
struct FrameTransition {
    std::string name;
    std::function<void(FlightDirectorBench&)> simulator;
    Modes before;
    std::function<void(FlightDirector&)> arrange;
    int frames;
    Modes after;
};

std::ostream& operator<<(std::ostream& out, const FrameTransition& t) {
    return out << t.name;
}

class FlightDirectorFrameTransitionTest : public testing::TestWithParam<FrameTransition> {
protected:
    FlightDirectorBench bench;
};

TEST_P(FlightDirectorFrameTransitionTest, FramesChangeTheModes) {
    const FrameTransition& t = GetParam();
    FlightDirector& fd = bench.fd();
    reach(bench, t.before);
    t.arrange(fd);
    ASSERT_EQ(modesOf(fd), t.before);
    t.simulator(bench);
    bench.step(t.frames);
    EXPECT_EQ(modesOf(bench.fd()), t.after);
}

// Heading 60 toward a VOR course of 90: 30 degrees of intercept give a capture limit of 40 CDI
// units.
const auto vorAt = [](double cdi) {
    return [cdi](FlightDirectorBench& b) {
        b.setHeading(60.0f);
        b.receiveVor(90, cdi);
    };
};
const auto vorCourseAt = [](int32_t course, float heading, double cdi) {
    return [=](FlightDirectorBench& b) {
        b.setHeading(heading);
        b.receiveVor(course, cdi);
    };
};
const auto localizerAt = [](double cdi, bool backCourse = false) {
    return [=](FlightDirectorBench& b) {
        b.receiveLocalizer(cdi, backCourse);
    };
};
const auto glideslopeAt = [](double gsi) {
    return [gsi](FlightDirectorBench& b) {
        b.receiveLocalizer(0.0);
        b.receiveGlideslope(true, gsi);
    };
};
const auto lnavAt = [](double alongTrack, double crossTrack, bool fmsSource = true) {
    return [=](FlightDirectorBench& b) {
        b.flyLnav(alongTrack, crossTrack);
        b.fd().selectNavigationSource(1, fmsSource);
    };
};
const auto levelOffAt = [](float altitude, float verticalSpeed) {
    return [=](FlightDirectorBench& b) {
        b.setAltitude(altitude);
        b.setVerticalSpeed(verticalSpeed);
    };
};
const auto headingInvalid = [](FlightDirectorBench& b) {
    b.network().avionicsMaster1 = false;
};

INSTANTIATE_TEST_SUITE_P(
    Frames, FlightDirectorFrameTransitionTest,
    testing::Values(
        FrameTransition{"VorCapturedWithinTheInterceptLimit",
                        vorAt(38.0),
                        {L::Hdg, L::Vor},
                        noArrangement,
                        1,
                        {L::Vor}},
        FrameTransition{"VorNotCapturedBeyondTheInterceptLimit",
                        vorAt(45.0),
                        {L::Hdg, L::Vor},
                        noArrangement,
                        3,
                        {L::Hdg, L::Vor}},
        FrameTransition{
            "VappCapturedAsArmed", vorAt(10.0), {L::Hdg, L::Vapp}, noArrangement, 1, {L::Vapp}},
        // The intercept is measured the short way round: 350 against a heading of 0 is a
        // 10-degree intercept, not a 350-degree one that captures at full scale.
        FrameTransition{"VorAcrossNorthNotCapturedEarly",
                        vorCourseAt(350, 0.0f, 100.0),
                        {L::Hdg, L::Vor},
                        noArrangement,
                        3,
                        {L::Hdg, L::Vor}},
        FrameTransition{"VorFromTheOtherSideCapturedLikeTheFirst",
                        vorCourseAt(10, 100.0f, 110.0),
                        {L::Hdg, L::Vor},
                        noArrangement,
                        1,
                        {L::Vor}},
        FrameTransition{"VorNearlyOnCourseCapturedWithin20",
                        vorCourseAt(95, 90.0f, 20.0),
                        {L::Hdg, L::Vor},
                        noArrangement,
                        1,
                        {L::Vor}},
        FrameTransition{"VorNotCapturedOnALocalizer",
                        localizerAt(0.0),
                        {L::Hdg, L::Vor},
                        noArrangement,
                        3,
                        {L::Hdg, L::Vor}},
        FrameTransition{"LocCapturedWithin1Point8Dots",
                        localizerAt(90.0),
                        {L::Hdg, L::Loc},
                        noArrangement,
                        1,
                        {L::Loc}},
        FrameTransition{"LocNotCapturedAt1Point8Dots",
                        localizerAt(92.0),
                        {L::Hdg, L::Loc},
                        noArrangement,
                        3,
                        {L::Hdg, L::Loc}},
        FrameTransition{"LocArmingFollowsTheBackCourseFlag",
                        localizerAt(120.0, true),
                        {L::Hdg, L::Loc},
                        noArrangement,
                        1,
                        {L::Hdg, L::Bc}},
        FrameTransition{"GsCapturedOnTheLocalizer",
                        glideslopeAt(20.0),
                        {L::Loc, L::None, V::Pit, V::Gs},
                        noArrangement,
                        1,
                        {L::Loc, L::None, V::Gs}},
        FrameTransition{"GsNotCapturedFarFromTheBeam",
                        glideslopeAt(30.0),
                        {L::Loc, L::None, V::Pit, V::Gs},
                        noArrangement,
                        3,
                        {L::Loc, L::None, V::Pit, V::Gs}},
        FrameTransition{"GsArmingGivesWayToAselWithoutALocalizer",
                        nothing,
                        {L::Hdg, L::None, V::Pit, V::Gs},
                        noArrangement,
                        1,
                        {L::Hdg, L::None, V::Pit, V::Asel}},
        FrameTransition{"GsArmingKeptWhileLocIsArmed",
                        localizerAt(120.0),
                        {L::Hdg, L::Loc, V::Pit, V::Gs},
                        noArrangement,
                        3,
                        {L::Hdg, L::Loc, V::Pit, V::Gs}},
        FrameTransition{"PitArmsAselFarFromThePreselect",
                        preselect9000,
                        kStart,
                        noArrangement,
                        1,
                        {L::Rol, L::None, V::Pit, V::Asel}},
        FrameTransition{"AselBecomesAltWithin40Ft",
                        levelOffAt(5030.0f, 80.0f),
                        {L::Rol, L::None, V::Asel},
                        noArrangement,
                        1,
                        {L::Rol, L::None, V::Alt}},
        FrameTransition{"AselStaysWhileStillClimbing",
                        levelOffAt(5030.0f, 300.0f),
                        {L::Rol, L::None, V::Asel},
                        noArrangement,
                        3,
                        {L::Rol, L::None, V::Asel}},
        FrameTransition{"LnavCapturedOnTheLeg",
                        lnavAt(2.0, -0.2),
                        {L::Hdg, L::Lnav},
                        noArrangement,
                        1,
                        {L::Lnav}},
        FrameTransition{"LnavNotCapturedAQuarterMileOff",
                        lnavAt(2.0, 0.25),
                        {L::Hdg, L::Lnav},
                        noArrangement,
                        3,
                        {L::Hdg, L::Lnav}},
        FrameTransition{"LnavNotCapturedBeyondTheLeg",
                        lnavAt(10.5, 0.0),
                        {L::Hdg, L::Lnav},
                        noArrangement,
                        3,
                        {L::Hdg, L::Lnav}},
        FrameTransition{"LnavDisarmedWithoutTheFmsSource",
                        lnavAt(2.0, 0.0, false),
                        {L::Hdg, L::Lnav},
                        noArrangement,
                        1,
                        {L::Hdg}},
        FrameTransition{
            "FmsSourceCancelsAnActiveVor", lnavAt(2.0, 0.0), {L::Vor}, noArrangement, 1, kStart},
        FrameTransition{"FmsSourceDisarmsAnArmedLoc",
                        lnavAt(2.0, 0.0),
                        {L::Hdg, L::Loc},
                        noArrangement,
                        1,
                        {L::Hdg}},
        FrameTransition{
            "InvalidHeadingCancelsHdg", headingInvalid, {L::Hdg}, noArrangement, 1, kStart},
        FrameTransition{"VorCourseChangeCancelsVor",
                        vorCourseAt(100, 60.0f, 0.0),
                        {L::Vor},
                        noArrangement,
                        1,
                        kStart},
        FrameTransition{"VorFlownWhileCourseAndFrequencyStay",
                        vorAt(0.0),
                        {L::Vor},
                        noArrangement,
                        3,
                        {L::Vor}},
        FrameTransition{"LateralNoneBecomesRol",
                        nothing,
                        {L::None, L::None, V::Pit},
                        noArrangement,
                        1,
                        kStart}),
    [](const testing::TestParamInfo<FrameTransition>& info) { return info.param.name; });

} // namespace
} // namespace tavi::test
