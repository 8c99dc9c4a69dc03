#pragma once

namespace tavi {

// The simulator's altitudes and elevations come in metres; the aircraft's systems work in feet.
inline constexpr double kFeetPerMetre = 3.2808399;

// The fuel quantities are kept in pounds; the displays show kilograms when the crew asks.
inline constexpr float kKilogramsPerPound = 0.453592f;

} // namespace tavi
