#pragma once

namespace tavi {

// The simulator's altitudes and elevations come in metres; the aircraft's systems work in feet.
inline constexpr double kFeetPerMetre = 3.2808399;

} // namespace tavi
