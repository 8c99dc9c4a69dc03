#include "core/TrendFilter.h"

#include <cmath>

namespace tavi {

void TrendFilter::init(double newLeadTime, double newRawRateWeight) {
    leadTime = newLeadTime;
    rawRateWeight = newRawRateWeight;
}

double TrendFilter::update(double dt, double value) {
    if (!std::isfinite(dt) || !std::isfinite(value)) {
        return lastOutput;
    }
    lastInputGiven = value;
    if (lastInput >= kNoSampleThreshold) {
        lastInput = value;
    }
    if (dt <= 0.0) {
        lastOutput = value;
        return lastOutput;
    }
    const double rawRate = (value - lastInput) / dt;
    if (dt >= 1.0) {
        smoothedRate = rawRate;
    } else {
        smoothedRate = (1.0 - dt) * smoothedRate + dt * rawRate;
    }
    lastOutput =
        value + leadTime * ((1.0 - rawRateWeight) * smoothedRate + rawRateWeight * rawRate);
    lastInput = value;
    return lastOutput;
}

} // namespace tavi
