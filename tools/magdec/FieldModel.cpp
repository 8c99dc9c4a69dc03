#include "tools/magdec/FieldModel.h"

#include "core/Angles.h"
#include "navdata/GeoAngles.h"
#include "navdata/Nav.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavi::tools {

namespace {

struct Coefficient {
    int n;
    int m;
    double g;
    double h;
};

// Gauss coefficients in nT, degree and order up to 3.
constexpr std::array<Coefficient, 9> kCoefficients = {{
    {1, 0, -29404.8, 0.0},
    {1, 1, -1450.9, 4652.5},
    {2, 0, -2499.6, 0.0},
    {2, 1, 2982.0, -2991.6},
    {2, 2, 1677.0, -734.6},
    {3, 0, 1363.2, 0.0},
    {3, 1, -2381.2, -82.1},
    {3, 2, 1236.2, 241.9},
    {3, 3, 525.7, -543.4},
}};

// At a pole north is the direction of the given meridian.
constexpr double kNearPole = 89.999;
constexpr double kStep = 1e-6;

// Schmidt semi-normalised associated Legendre function of cos(colatitude).
double legendre(int n, int m, double colatitude) {
    const double x = std::cos(colatitude);
    const double s = std::sin(colatitude);
    switch (n * 10 + m) {
    case 10:
        return x;
    case 11:
        return s;
    case 20:
        return (3.0 * x * x - 1.0) / 2.0;
    case 21:
        return std::sqrt(3.0) * x * s;
    case 22:
        return std::sqrt(3.0) / 2.0 * s * s;
    case 30:
        return (5.0 * x * x * x - 3.0 * x) / 2.0;
    case 31:
        return std::sqrt(6.0) / 4.0 * s * (5.0 * x * x - 1.0);
    case 32:
        return std::sqrt(15.0) / 2.0 * x * s * s;
    default:
        return std::sqrt(5.0 / 8.0) * s * s * s;
    }
}

// The field's potential at the surface, divided by the earth's radius.
double potential(double colatitude, double longitude) {
    double sum = 0.0;
    for (const Coefficient& c : kCoefficients) {
        sum += (c.g * std::cos(c.m * longitude) + c.h * std::sin(c.m * longitude)) *
               legendre(c.n, c.m, colatitude);
    }
    return sum;
}

} // namespace

double modelVariation(double latitude, double longitude) {
    const double colatitude = (90.0 - std::clamp(latitude, -kNearPole, kNearPole)) * kDegToRad;
    const double lambda = longitude * kDegToRad;
    const double north =
        (potential(colatitude + kStep, lambda) - potential(colatitude - kStep, lambda)) /
        (2.0 * kStep);
    const double east =
        -(potential(colatitude, lambda + kStep) - potential(colatitude, lambda - kStep)) /
        (2.0 * kStep * std::sin(colatitude));
    return normalize180(std::atan2(east, north) * kRadToDeg);
}

} // namespace tavi::tools
