#pragma once

#include "cdu/pages/PageText.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

class CduScreen;
class Fms;
struct PerfInit;

// What the performance pages share: their page ids, the schedule fields, the weight unit and
// the handling of a data line's entry.
namespace perfpages {

constexpr int32_t kPerfIndex = 19;
constexpr int32_t kPerformanceInit = 20;
constexpr int32_t kClimbModes = 21;
constexpr int32_t kCruiseModes = 22;
constexpr int32_t kDescentModes = 23;
constexpr int32_t kDepAppSpeed = 24;
constexpr int32_t kFuelReserve = 25;
constexpr int32_t kPerfPlan = 26;
constexpr int32_t kPerfData = 27;
constexpr int32_t kClimb = 28;
constexpr int32_t kCruise = 29;
constexpr int32_t kDescent = 30;
constexpr int32_t kFuelMgt = 31;
constexpr int32_t kTakeoff = 50;
constexpr int32_t kLanding = 51;
constexpr int32_t kWindTemp = 55;

inline constexpr const char* kNotInitialized = "NOT INITIALIZED";

// A speed and Mach schedule in cyan: "280", ".76M" or "280/.76M" when one of them is 0.
std::string machFieldText(int32_t speed, double mach);
void drawMachField(CduScreen& screen, int32_t speed, double mach, int32_t row, int32_t column,
                   bool large);
// A descent schedule in cyan: "310/.76M/3.0".
void drawSpeedMachAngleField(CduScreen& screen, int32_t speed, double mach, double angle,
                             int32_t row, int32_t column, bool large);

// A manual cruise schedule: a speed alone (Mach 0), a Mach number alone (speed 0), or
// speed/Mach over the values given; a leading "/" is refused. Writes only what it accepts.
bool parseCruiseSchedule(std::string_view text, int32_t& speed, double& mach);

// The manual climb schedule from speed/Mach, or the manual descent from speed/Mach/angle, the
// parts typed over the values in place; either is then in force. False when refused.
bool enterManualClimb(PerfInit& perf, std::string_view text);
bool enterManualDescent(PerfInit& perf, std::string_view text);

const char* weightUnit(bool kilograms);
// A whole weight typed in the unit, in pounds.
double poundsFromUnit(int32_t weight, bool kilograms);

// A confirmed initialisation follows every accepted entry.
void updatePredictions(Fms& fms);

// An entry's refusal: the message and its priority; none when the entry was taken.
struct Refusal {
    const char* message = nullptr;
    int32_t priority = 0;
};
inline constexpr Refusal kTaken{};
inline constexpr Refusal kRefused{kInvalidEntry, 0};

// A data line key: an empty pad recalls the line's value, "*DELETE*" restores its default and
// a typed entry is parsed. A deletion or a taken entry empties the pad and re-runs the
// predictions; a refused entry stays in the pad, the message posted, nothing changed.
template <class Recall, class Remove, class Accept>
void handleEntry(Fms& fms, Recall recall, Remove remove, Accept accept);

// A data line without a default: "*DELETE*" is refused like any text that does not parse.
template <class Recall, class Accept>
void handleValueEntry(Fms& fms, Recall recall, Accept accept);

} // namespace perfpages
} // namespace tavi

#include "fms/Fms.h"

namespace tavi::perfpages {

template <class Recall, class Remove, class Accept>
void handleEntry(Fms& fms, Recall recall, Remove remove, Accept accept) {
    if (fms.isScratchpadDelete()) {
        remove();
        fms.takeScratchpad();
        updatePredictions(fms);
        return;
    }
    handleValueEntry(fms, recall, accept);
}

template <class Recall, class Accept>
void handleValueEntry(Fms& fms, Recall recall, Accept accept) {
    const std::string entry = fms.scratchPad.text();
    if (entry.empty()) {
        recall();
        return;
    }
    const Refusal refusal = accept(std::string_view(entry));
    if (refusal.message) {
        fms.showMessage(refusal.message, refusal.priority);
        return;
    }
    fms.takeScratchpad();
    updatePredictions(fms);
}

} // namespace tavi::perfpages
