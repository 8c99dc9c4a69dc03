#include "core/PiController.h"

#include <cmath>

namespace tavi {

void PiController::init(double proportionalGain, double integralGain, double minimum,
                        double maximum) {
    kp = proportionalGain;
    ki = integralGain;
    outputMinimum = minimum;
    outputMaximum = maximum;
    integral = 0.0;
    lastFeedForward = 0.0;
    scaledMeasurement = 0.0;
    scaledSetPoint = 0.0;
    measurementScale = 1.0;
    setPointScale = 1.0;
    output = limited(0.0);
}

void PiController::update(double dt, double measurement, double setPoint, double feedForward,
                          double measurementScaleFactor, double setPointScaleFactor) {
    if (!std::isfinite(dt) || !std::isfinite(measurement) || !std::isfinite(setPoint) ||
        !std::isfinite(feedForward) || !std::isfinite(measurementScaleFactor) ||
        !std::isfinite(setPointScaleFactor)) {
        return;
    }
    scaledMeasurement = measurement;
    scaledSetPoint = setPoint;
    lastFeedForward = feedForward;
    measurementScale = measurementScaleFactor;
    setPointScale = setPointScaleFactor;
    const double error = setPointScale * setPoint - measurementScale * measurement;
    integral = integral + ki * error * dt;
    output = limited(integral + feedForward + kp * error);
}

// Raised to the minimum first, then lowered to the maximum.
double PiController::limited(double value) const {
    if (value < outputMinimum) {
        value = outputMinimum;
    }
    if (value > outputMaximum) {
        value = outputMaximum;
    }
    return value;
}

} // namespace tavi
