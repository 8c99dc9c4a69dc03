#pragma once

// Angle helpers of the navigation geometry.
namespace tavi::geo {

// The angle in (-180, 180], in single precision.
float normalize180(float degrees);
// The signed turn from one direction to another in (-180, 180], in single precision.
float angleDifference(float fromDeg, float toDeg);
// The value limited to the range spanned by two bounds given in either order.
double clampDouble(double bound1, double bound2, double value);

} // namespace tavi::geo
