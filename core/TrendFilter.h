#pragma once

namespace tavi {

// Projects a value ahead by its rate of change: the output is the value plus the rate over the
// lead time, the rate being a blend of the raw rate of this step and a smoothed rate.
// A step with a non-finite time step or value is ignored: the last output is returned and the
// state is kept, so one bad sample cannot spoil the filter.
class TrendFilter {
public:
    // Marks "no sample yet"; any stored last input at or above kNoSampleThreshold counts as none.
    static constexpr double kNoSample = 999999999.9;
    static constexpr double kNoSampleThreshold = 999999999.0;

    double lastInput = kNoSample;
    double smoothedRate = 0.0;
    double leadTime = 0.0;
    double rawRateWeight = 0.0;
    double lastInputGiven = 0.0;
    double lastOutput = 0.0;

    void init(double leadTime, double rawRateWeight);
    // dt and the lead time are in the same unit; returns the projected value.
    double update(double dt, double value);
};

} // namespace tavi
