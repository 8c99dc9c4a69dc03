#include "core/DigitalFilter.h"

#include <algorithm>
#include <cmath>

namespace tavi {

DigitalFilter::DigitalFilter(Law filterLaw, double filterTimeConstant, int32_t length,
                             double filterRateLimit)
    : timeConstant(filterTimeConstant), historyLength(std::max(length, int32_t{0})),
      rateLimit(filterRateLimit), outputHistory(2, 0.0),
      inputHistory(static_cast<std::size_t>(historyLength), 0.0), law(filterLaw) {}

double DigitalFilter::update(double dt, double input) {
    if (!std::isfinite(dt) || !std::isfinite(input)) {
        return pastOutput(0);
    }
    rememberInput(input);
    if (dt <= 0.0) {
        return pastOutput(0);
    }
    double output = input;
    switch (law) {
    case Law::FirstOrderLag:
        output = firstOrderLag(dt, input);
        break;
    case Law::SecondOrderLag:
        output = secondOrderLag(dt, input);
        break;
    case Law::RateLimiter:
        output = rateLimited(dt, input);
        break;
    }
    rememberOutput(output);
    return output;
}

// 0 when the history is shorter (a law changed after construction).
double DigitalFilter::pastOutput(std::size_t stepsAgo) const {
    return stepsAgo < outputHistory.size() ? outputHistory[stepsAgo] : 0.0;
}

double DigitalFilter::firstOrderLag(double dt, double input) const {
    const double a = 1.0 / (timeConstant / dt + 1.0);
    return a * input + (1.0 - a) * pastOutput(0);
}

double DigitalFilter::secondOrderLag(double dt, double input) const {
    const double a = 1.0 / (timeConstant / dt + 1.0);
    const double b = 1.0 - a;
    return a * a * input + 2.0 * b * pastOutput(0) - b * b * pastOutput(1);
}

double DigitalFilter::rateLimited(double dt, double input) const {
    const double step = dt * rateLimit;
    const double previous = pastOutput(0);
    if (previous - input > step) {
        return previous - step;
    }
    if (previous - input < -step) {
        return previous + step;
    }
    return input;
}

void DigitalFilter::rememberInput(double input) {
    inputHistory.push_front(input);
    inputHistory.resize(static_cast<std::size_t>(std::max(historyLength, int32_t{0})));
}

void DigitalFilter::rememberOutput(double output) {
    outputHistory.push_front(output);
    outputHistory.resize(law == Law::SecondOrderLag ? 2 : 1);
}

} // namespace tavi
