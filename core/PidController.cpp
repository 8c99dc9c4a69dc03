#include "core/PidController.h"

#include <algorithm>
#include <cmath>

namespace tavi {

void PidController::init(double k, double n, double b, double c, double ti, double td,
                         double minimum, double maximum) {
    gain = k;
    derivativeFilterFactor = n;
    proportionalSetPointWeight = b;
    derivativeSetPointWeight = c;
    integralTime = ti;
    derivativeTime = td;
    outputMinimum = minimum;
    outputMaximum = maximum;
    scaledMeasurement = 0.0;
    scaledSetPoint = 0.0;
    measurementScale = 1.0;
    setPointScale = 1.0;
    output = 0.0;
    previousProportionalError = 0.0;
    previousFilteredDerivativeError = 0.0;
    secondPreviousFilteredDerivativeError = 0.0;
    if (output < outputMinimum) {
        output = outputMinimum;
    }
    if (output > outputMaximum) {
        output = outputMaximum;
    }
    // The next step starts from here: a previous output of 0 would let the first step leave the
    // limits.
    previousOutput = output;
}

void PidController::reset(double value) {
    output = value;
    previousOutput = value;
    previousProportionalError = 0.0;
    previousFilteredDerivativeError = 0.0;
    secondPreviousFilteredDerivativeError = 0.0;
}

void PidController::update(double dt, double measurement, double setPoint,
                           double measurementScaleFactor, double setPointScaleFactor) {
    if (!std::isfinite(dt) || !std::isfinite(measurement) || !std::isfinite(setPoint) ||
        !std::isfinite(measurementScaleFactor) || !std::isfinite(setPointScaleFactor)) {
        return;
    }
    scaledMeasurement = measurement;
    scaledSetPoint = setPoint;
    measurementScale = measurementScaleFactor;
    setPointScale = setPointScaleFactor;
    if (dt <= 0.0) {
        return;
    }
    const double y = measurementScale * measurement;
    const double r = setPointScale * setPoint;
    const double error = r - y;
    const double proportionalError = proportionalSetPointWeight * r - y;
    const double derivativeError = filteredDerivativeError(dt, derivativeSetPointWeight * r - y);

    double change = outputChange(dt, error, proportionalError, derivativeError);
    if (!changeWithinLimits(change)) {
        change = stopsAtLimits ? changeToLimit(change) : 0.0;
    }
    output = previousOutput + change;
    previousOutput = output;
    previousProportionalError = proportionalError;
    secondPreviousFilteredDerivativeError = previousFilteredDerivativeError;
    previousFilteredDerivativeError = derivativeError;
}

// A first-order filter with time constant Td / N. Without a positive filter time (N <= 0, or
// N x Td too small to divide by) the error passes unfiltered, the limit of the filter as its
// time constant goes to 0.
double PidController::filteredDerivativeError(double dt, double derivativeError) const {
    if (derivativeTime <= 0.0 || derivativeFilterFactor <= 0.0) {
        return derivativeError;
    }
    const double k = dt / (derivativeFilterFactor * derivativeTime);
    if (!std::isfinite(k)) {
        return derivativeError;
    }
    return (k * derivativeError + previousFilteredDerivativeError) / (1.0 + k);
}

double PidController::outputChange(double dt, double error, double proportionalError,
                                   double derivativeError) const {
    const double integral = integralTime > 0.0 ? (dt / integralTime) * error : 0.0;
    const double derivative =
        (derivativeTime / dt) * (derivativeError - 2.0 * previousFilteredDerivativeError +
                                 secondPreviousFilteredDerivativeError);
    return gain * ((proportionalError - previousProportionalError) + integral + derivative);
}

// The change that ends at the limit it would cross; nothing for a change that is not a number.
double PidController::changeToLimit(double change) const {
    if (std::isnan(change)) {
        return 0.0;
    }
    return change > 0.0 ? std::max(0.0, outputMaximum - previousOutput)
                        : std::min(0.0, outputMinimum - previousOutput);
}

// A change that would cross a limit, or that is not a number, is not applied.
bool PidController::changeWithinLimits(double change) const {
    return change <= outputMaximum - previousOutput && change >= outputMinimum - previousOutput;
}

} // namespace tavi
