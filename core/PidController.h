#pragma once

namespace tavi {

// Incremental PID controller with set-point weights, a filtered derivative and output limits.
// Each step moves the output from the previous output; a step that would take the output past
// a limit is not applied at all, so the output holds where it is.
// A step with a non-finite time step, measurement, set point or scale is ignored.
class PidController {
public:
    double scaledMeasurement = 0.0;
    double scaledSetPoint = 0.0;
    double measurementScale = 1.0;
    double setPointScale = 1.0;
    double gain = 0.0;
    double derivativeFilterFactor = 0.0;
    double proportionalSetPointWeight = 0.0;
    double derivativeSetPointWeight = 0.0;
    double integralTime = 0.0;
    double derivativeTime = 0.0;
    double outputMinimum = 0.0;
    double outputMaximum = 0.0;
    double output = 0.0;
    double previousProportionalError = 0.0;
    double previousFilteredDerivativeError = 0.0;
    double secondPreviousFilteredDerivativeError = 0.0;
    double previousOutput = 0.0;
    // A change that would cross a limit stops at it instead of being dropped.
    bool stopsAtLimits = false;

    // Clears the state; the output and the previous output start at 0 brought into the limits.
    // An integral time <= 0 turns the integral action off; the derivative is filtered only
    // while both the derivative time and the filter factor are above 0.
    void init(double k, double n, double b, double c, double ti, double td, double minimum,
              double maximum);
    // Restarts the controller at an output.
    void reset(double value);
    // The result is in `output`. dt <= 0 only stores the inputs.
    void update(double dt, double measurement, double setPoint, double measurementScaleFactor,
                double setPointScaleFactor);

private:
    double filteredDerivativeError(double dt, double derivativeError) const;
    double outputChange(double dt, double error, double proportionalError,
                        double derivativeError) const;
    bool changeWithinLimits(double change) const;
    double changeToLimit(double change) const;
};

} // namespace tavi
