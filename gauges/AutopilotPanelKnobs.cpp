#include "gauges/AutopilotPanelKnobs.h"

#include "avionics/FlightDirector.h"
#include "avionics/Radio.h"
#include "core/Aircraft.h"
#include "displays/Pfd.h"
#include "gauges/GaugeRules.h"

namespace tavi {

namespace {

// The step of a turn: the large one for a right click, the small one otherwise.
float stepOf(uint32_t flags, float small, float large) {
    return isRightClick(flags) ? large : small;
}

// Runs the action on the flight director, when there is one; 0 before the aircraft is ready.
template <typename Action>
int32_t onFlightDirector(Action action) {
    Aircraft* aircraft = readyAircraft();
    if (!aircraft) {
        return 0;
    }
    if (FlightDirector* director = aircraft->flightDirector()) {
        action(*director);
    }
    return 1;
}

template <typename Action>
int32_t onRadioSide(int side, Action action) {
    Aircraft* aircraft = readyAircraft();
    if (!aircraft) {
        return 0;
    }
    if (Radio* radio = aircraft->radio()) {
        action(side == 1 ? radio->unit1 : radio->unit2);
    }
    return 1;
}

// Each step of the altitude knob also tells the captain's display, which hides an armed ASEL
// for a moment.
int32_t turnAltitude(uint32_t flags, float sign) {
    return onFlightDirector([&](FlightDirector& director) {
        director.adjustAltitudePreselect(sign * stepOf(flags, 100.0f, 1000.0f));
        if (auto* pfd = dynamic_cast<Pfd*>(theAircraft->display(kPfdLeft))) {
            pfd->markAltitudeSelectChange();
        }
    });
}

// In VS the vertical-speed target, else the Mach or the IAS target, whichever is selected.
int32_t turnSpeed(uint32_t flags, float sign) {
    return onFlightDirector([&](FlightDirector& director) {
        if (director.verticalMode() == FdVerticalMode::Vs) {
            director.adjustVerticalSpeedTarget(sign * stepOf(flags, 100.0f, 1000.0f));
        } else if (director.isMachMode()) {
            director.adjustMachTarget(sign * stepOf(flags, 0.01f, 0.1f));
        } else {
            director.adjustSpeedTarget(sign * stepOf(flags, 1.0f, 10.0f));
        }
    });
}

int32_t turnHeading(uint32_t flags, float sign) {
    return onFlightDirector([&](FlightDirector& director) {
        director.adjustHeadingBug(sign * stepOf(flags, 1.0f, 10.0f));
    });
}

int32_t turnCourse(int side, uint32_t flags, int sign) {
    return onRadioSide(side, [&](RadioUnit& unit) {
        unit.setCourse(unit.course + sign * (isRightClick(flags) ? 10 : 1));
    });
}

int32_t pushCourse(int side) {
    return onRadioSide(side, [](RadioUnit& unit) { unit.syncCourseToBearing(); });
}

} // namespace

int32_t apAltitudeKnobInc(int32_t, int32_t, uint32_t flags) {
    return turnAltitude(flags, 1.0f);
}

int32_t apAltitudeKnobDec(int32_t, int32_t, uint32_t flags) {
    return turnAltitude(flags, -1.0f);
}

int32_t apSpeedKnobInc(int32_t, int32_t, uint32_t flags) {
    return turnSpeed(flags, 1.0f);
}

int32_t apSpeedKnobDec(int32_t, int32_t, uint32_t flags) {
    return turnSpeed(flags, -1.0f);
}

int32_t apSpeedKnobPush(int32_t, int32_t, uint32_t) {
    return onFlightDirector([](FlightDirector& director) { director.toggleSpeedUnits(); });
}

int32_t apHeadingKnobInc(int32_t, int32_t, uint32_t flags) {
    return turnHeading(flags, 1.0f);
}

int32_t apHeadingKnobDec(int32_t, int32_t, uint32_t flags) {
    return turnHeading(flags, -1.0f);
}

int32_t apHeadingKnobPush(int32_t, int32_t, uint32_t) {
    return onFlightDirector([](FlightDirector& director) { director.syncHeadingToCurrent(); });
}

int32_t apCourse1KnobInc(int32_t, int32_t, uint32_t flags) {
    return turnCourse(1, flags, 1);
}

int32_t apCourse1KnobDec(int32_t, int32_t, uint32_t flags) {
    return turnCourse(1, flags, -1);
}

int32_t apCourse1KnobPush(int32_t, int32_t, uint32_t) {
    return pushCourse(1);
}

int32_t apCourse2KnobInc(int32_t, int32_t, uint32_t flags) {
    return turnCourse(2, flags, 1);
}

int32_t apCourse2KnobDec(int32_t, int32_t, uint32_t flags) {
    return turnCourse(2, flags, -1);
}

int32_t apCourse2KnobPush(int32_t, int32_t, uint32_t) {
    return pushCourse(2);
}

} // namespace tavi
