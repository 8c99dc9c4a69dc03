#include "cdu/pages/PerfPageText.h"

#include "cdu/CduScreen.h"
#include "cdu/FmsParser.h"
#include "core/Format.h"
#include "fms/Fms.h"

namespace tavi::perfpages {

std::string machFieldText(int32_t speed, double mach) {
    if (mach == 0.0) {
        return format("%d", speed);
    }
    if (speed == 0) {
        return format(".%02.0lfM", mach * 100.0);
    }
    return format("%d/.%02.0lfM", speed, mach * 100.0);
}

void drawMachField(CduScreen& screen, int32_t speed, double mach, int32_t row, int32_t column,
                   bool large) {
    screen.putText(row, column, machFieldText(speed, mach), CduColour::Cyan, large, false);
}

void drawSpeedMachAngleField(CduScreen& screen, int32_t speed, double mach, double angle,
                             int32_t row, int32_t column, bool large) {
    screen.putText(row, column, format("%d/.%02.0lfM/%3.1lf", speed, mach * 100.0, angle),
                   CduColour::Cyan, large, false);
}

bool parseCruiseSchedule(std::string_view text, int32_t& speed, double& mach) {
    if (text.starts_with('/')) {
        return false;
    }
    int32_t newSpeed = speed;
    double newMach = mach;
    if (FmsParser::parseSpeed(text, newSpeed)) {
        newMach = 0.0;
    } else if (FmsParser::parseMach(text, newMach)) {
        newSpeed = 0;
    } else if (!FmsParser::parseSpeedMach(text, newSpeed, newMach)) {
        return false;
    }
    speed = newSpeed;
    mach = newMach;
    return true;
}

bool enterManualClimb(PerfInit& perf, std::string_view text) {
    int32_t speed = perf.manualClimbIas;
    double mach = perf.manualClimbMach;
    if (!FmsParser::parseSpeedMach(text, speed, mach)) {
        return false;
    }
    perf.manualClimbIas = speed;
    perf.manualClimbMach = mach;
    perf.isManualClimb = true;
    return true;
}

bool enterManualDescent(PerfInit& perf, std::string_view text) {
    int32_t speed = perf.manualDescentIas;
    double mach = perf.manualDescentMach;
    double angle = perf.manualDescentAngle;
    if (!FmsParser::parseSpeedMachAngle(text, speed, mach, angle)) {
        return false;
    }
    perf.manualDescentIas = speed;
    perf.manualDescentMach = mach;
    perf.manualDescentAngle = angle;
    perf.descentMode = 2;
    return true;
}

const char* weightUnit(bool kilograms) {
    return kilograms ? "KG" : "LB";
}

double poundsFromUnit(int32_t weight, bool kilograms) {
    return kilograms ? weight / FmsParser::kPoundsToKilograms : weight;
}

void updatePredictions(Fms& fms) {
    if (fms.perfInit.initialised) {
        fms.updateFuelPredictions();
    }
}

} // namespace tavi::perfpages
