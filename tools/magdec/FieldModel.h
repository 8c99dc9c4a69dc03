#pragma once

// A smooth model of the earth's magnetic variation: the main field to degree and order 3 in
// spherical harmonics, with the coefficients of the 2020 reference field, on a spherical earth
// at its surface. It is approximate: the terms left out and the field's drift since 2020 put it
// off the real variation by a few degrees in most places and by more near the magnetic poles.
// It gives the default simulator folder and the tests a variation file of realistic signs,
// sizes and smoothness.
namespace tavi::tools {

// Variation in degrees, east positive, in (-180, 180]; at a pole, its limit along the meridian
// of the given longitude.
double modelVariation(double latitude, double longitude);

} // namespace tavi::tools
