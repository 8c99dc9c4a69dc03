#pragma once

namespace tavi {

// The spherical earth every position computation of the module works on: one minute of arc is
// one nautical mile.
inline constexpr double kEarthRadiusNm = 3437.7467707849396;
inline constexpr double kNmToRadians = 0.0002908882086657216;
inline constexpr double kDegToRad = 0.017453292519943295;
inline constexpr double kRadToDeg = 57.29577951308232;
inline constexpr double kPi = 3.141592653589793;
inline constexpr double kTwoPi = 2.0 * kPi;
// The smallest cosine of a latitude that is not taken as a pole.
inline constexpr double kGeoEpsilon = 1e-15;
// sqrt(kGeoEpsilon): below it a difference or a product counts as zero.
inline constexpr double kGeoSqrtEpsilon = 3.1622776601683795e-08;

// The remainder of x by 2 pi in [0, 2 pi).
double modTwoPi(double x);
// x brought into [-pi, pi).
double wrapPi(double x);

// A position in radians: latitude north positive and longitude WEST positive, as the classic
// spherical-trigonometry formulas of the derived classes are written. Callers pass and receive
// degrees with north and east positive; the conversions are virtual so that FlatEarth can keep
// its longitudes east positive.
class Nav {
public:
    Nav(double latitudeDeg, double longitudeDeg);
    virtual ~Nav() = default;

    virtual double latToRad(double degrees) const;
    virtual double lonToRad(double degrees) const;
    virtual double radToLat(double radians) const;
    virtual double radToLon(double radians) const;
    virtual void setLat(double degrees);
    virtual void setLon(double degrees);

    double lat = 0.0;
    double lon = 0.0;

protected:
    struct Radians {};
    Nav(double latitudeRad, double longitudeRad, Radians);
};

} // namespace tavi
