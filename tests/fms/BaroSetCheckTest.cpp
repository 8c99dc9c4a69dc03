#include "fms/BaroSetCheck.h"

#include <gtest/gtest.h>
#include <vector>

namespace tavi {
namespace {

constexpr float kStandard = 29.92f;
constexpr float kLocal = 30.12f;
constexpr bool kAlt = true;
constexpr bool kClimb = false;

struct BaroFrame {
    int32_t altitude;
    bool altitudeHold;
    float setting;
    bool reminded;
};

struct BaroCase {
    const char* name;
    std::vector<BaroFrame> frames;
};

// Each case flies its frames in order against a transition altitude of 18000 ft.
const BaroCase kBaroCases[] = {
    {"climbing through with the local setting: reminded 3000 ft above, once",
     {{17950, kClimb, kLocal, false},
      {19000, kClimb, kLocal, false},
      {20999, kClimb, kLocal, false},
      {21000, kClimb, kLocal, true},
      {25000, kClimb, kLocal, false}}},
    {"levelling off in ALT 300 ft above: reminded at once",
     {{17950, kClimb, kLocal, false}, {18300, kAlt, kLocal, true}}},
    {"levelling off in ALT inside the 200 ft dead band: not reminded",
     {{17950, kClimb, kLocal, false}, {18150, kAlt, kLocal, false}}},
    {"above with standard set: nothing to remind",
     {{17950, kClimb, kStandard, false}, {22000, kClimb, kStandard, false}}},
    {"descending through with standard still set: reminded 3000 ft below",
     {{18050, kClimb, kStandard, false},
      {15001, kClimb, kStandard, false},
      {15000, kClimb, kStandard, true}}},
    {"below with the local setting: nothing to remind",
     {{18050, kClimb, kLocal, false}, {12000, kClimb, kLocal, false}}},
    {"a setting within 0.004 inHg of standard counts as standard",
     {{18050, kClimb, kStandard, false}, {12000, kClimb, 29.923f, true}}},
    {"never within 100 ft of the transition altitude: never armed",
     {{25000, kClimb, kLocal, false}, {12000, kClimb, kStandard, false}}},
    {"re-armed only by a pass within 100 ft",
     {{17950, kClimb, kLocal, false},
      {21000, kClimb, kLocal, true},
      {18150, kClimb, kLocal, false},
      {21000, kClimb, kLocal, false},
      {18099, kClimb, kLocal, false},
      {21000, kClimb, kLocal, true}}},
};

TEST(BaroSetCheck, OneReminderPerCrossingOfTheTransitionAltitude) {
    for (const BaroCase& c : kBaroCases) {
        BaroSetCheck check;
        for (std::size_t i = 0; i < c.frames.size(); ++i) {
            const BaroFrame& frame = c.frames[i];
            BaroSetCheck::Inputs inputs;
            inputs.altitude = frame.altitude;
            inputs.transitionAltitude = 18000;
            inputs.altitudeHold = frame.altitudeHold;
            inputs.settingInHg = frame.setting;
            EXPECT_EQ(check.check(inputs), frame.reminded) << c.name << ", frame " << i;
        }
    }
}

} // namespace
} // namespace tavi
