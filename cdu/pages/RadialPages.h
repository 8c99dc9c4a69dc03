#pragma once

#include "cdu/records/RadialPattern.h"

#include <cstdint>
#include <string>

namespace tavi {

class Fms;
class Waypoint;

// RADIAL and INTERCEPT: temporary points around the fix of the selected flight-plan line.
// RADIAL puts a point on an inbound course before the fix and one on an outbound course after
// it; INTERCEPT joins the fix before (FROM) to the selected one (TO), either by the point where
// a radial or course from FROM meets the inbound course to TO, or by a heading leg flown until
// that inbound course is intercepted.
class RadialPages {
public:
    explicit RadialPages(Fms& fms) : fms(fms) {}

    void registerPages();

    RadialPattern radialPattern;
    RadialPattern interceptPattern;

private:
    void drawRadialPage() const;
    void onRadialKey(int32_t key);
    void drawInterceptPage() const;
    void onInterceptKey(int32_t key);
    // A course or distance field: "*DELETE*" clears it, an empty pad does nothing, otherwise
    // the pad's text is read by the rule or refused with "INVALID ENTRY".
    template <class Parse>
    void enterField(double& field, Parse parse);
    void enterCourse(double& course, bool& isTrue);
    bool radialComplete(bool inbound) const;
    void activateRadial();
    void activateIntercept();
    void activateHeadingIntercept();
    // True when the fix lies in the polar region and one of the courses is not true; the
    // message is then posted.
    bool refusesMagneticInPolarRegion(const Waypoint& fix, bool anyMagnetic);
    const Waypoint& fromFix() const;
    const Waypoint& toFix() const;
    void returnToFlightPlan();

    Fms& fms;
};

} // namespace tavi
