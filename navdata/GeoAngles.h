#pragma once

// Angle helpers of the navigation geometry.
namespace tavi::geo {

// The angle in (-180, 180], in single precision.
float normalize180(float degrees);
// The signed turn from one direction to another in (-180, 180], in single precision.
float angleDifference(float fromDeg, float toDeg);

} // namespace tavi::geo
