#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace tavi {

// A discrete filter with one of three laws. Both histories hold their newest value at the front.
// A step with a non-finite time step or input is ignored: the newest output is returned and
// neither history changes, so one bad sample cannot spoil the filter. A law value outside the
// three passes its input through.
class DigitalFilter {
public:
    enum class Law : int32_t {
        FirstOrderLag = 0,
        SecondOrderLag = 1,
        RateLimiter = 3,
    };

    double timeConstant;
    int32_t historyLength;
    double rateLimit;
    std::deque<double> outputHistory;
    std::deque<double> inputHistory;
    Law law;

    // A negative history length counts as 0. The time constant and the rate limit are in the
    // caller's time unit, the one of update's dt.
    DigitalFilter(Law law, double timeConstant, int32_t historyLength, double rateLimit);

    // Returns the new output; with dt <= 0 the newest output, unchanged.
    double update(double dt, double input);

private:
    double pastOutput(std::size_t stepsAgo) const;
    double firstOrderLag(double dt, double input) const;
    double secondOrderLag(double dt, double input) const;
    double rateLimited(double dt, double input) const;
    void rememberInput(double input);
    void rememberOutput(double output);
};

} // namespace tavi
