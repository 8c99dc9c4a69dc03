#pragma once

namespace tavi::sim {

// Variables and tokens of the simulator that more than one part of the stand-in reads or writes.

inline constexpr char kStarter[] = "GENERAL ENG STARTER";
inline constexpr char kMixture[] = "GENERAL ENG MIXTURE LEVER POSITION";
inline constexpr char kThrottle[] = "GENERAL ENG THROTTLE LEVER POSITION";
inline constexpr char kFuelPumpSwitch[] = "GENERAL ENG FUEL PUMP SWITCH";
// Positions of the fuel tank selector.
inline constexpr double kSelectorLeft = 2.0;
inline constexpr double kSelectorRight = 3.0;

inline constexpr int kAutopilotMasterToken = 103;
inline constexpr int kAltitudeHoldToken = 108;
// With metric altitudes (token 335 at 2) the simulator shows the altitude and the vertical speed
// in metres.
inline constexpr int kAltitudeUnitsToken = 335;
inline constexpr double kMetricAltitudes = 2.0;
// The travel of a control surface or lever in the simulator's units.
inline constexpr double kFullTravel = 16383.0;

} // namespace tavi::sim
