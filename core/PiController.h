#pragma once

namespace tavi {

// PI controller with feed-forward. The output is limited but the integral is not: while the
// output is held at a limit the integral keeps growing.
// A step with a non-finite time step, input or scale is ignored.
class PiController {
public:
    double kp = 0.0;
    double lastFeedForward = 0.0;
    double ki = 0.0;
    double integral = 0.0;
    double scaledMeasurement = 0.0;
    double scaledSetPoint = 0.0;
    double measurementScale = 1.0;
    double setPointScale = 1.0;
    double outputMinimum = 0.0;
    double outputMaximum = 0.0;
    double output = 0.0;

    // Clears the state; the output starts at 0 brought into the limits.
    void init(double proportionalGain, double integralGain, double minimum, double maximum);
    // The result is in `output`.
    void update(double dt, double measurement, double setPoint, double feedForward,
                double measurementScaleFactor, double setPointScaleFactor);

private:
    double limited(double value) const;
};

} // namespace tavi
