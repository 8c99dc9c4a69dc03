#pragma once

namespace tavi {

// An angle in degrees brought into [0, 360); -10 gives 350, 360 gives 0. A non-finite angle
// gives 0.
double normalize360(double degrees);

// The same as a float: an angle just below 360 that a float would round up to 360 gives 0.
float normalize360Float(double degrees);

// An angle in degrees brought into (-180, 180]; -180 gives 180. A non-finite angle gives 0.
double normalize180(double degrees);

// Sets both readings to the same cross-side blend w x a + (1 - w) x b, computed from the
// smaller of the two so that the result does not depend on the order of the pair.
void blendPair(float& a, float& b, float w);

} // namespace tavi
