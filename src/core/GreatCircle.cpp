#include "core/GreatCircle.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double K = 57.296325;
constexpr double P = 1.570796;

// P - arcsin(x) in the formula's own form, with x kept inside [-1, 1] so
// rounding never takes the square root of a negative number.
double arcFromSine(double x)
{
    x = std::clamp(x, -1.0, 1.0);
    return (P - std::atan2(x, std::sqrt(1 - x * x))) * K;
}

} // namespace

Bearing greatCircle(double a, double b, double c, double dxLongitudeWest)
{
    const double d = -dxLongitudeWest;
    const double x = std::sin(c / K) * std::sin(a / K) + std::cos(c / K) * std::cos(a / K) * std::cos((360 + d - b) / K);
    const double D = arcFromSine(x);
    Bearing result;
    result.distanceKm = int(std::trunc(111.2 * D));
    const double denominator = std::cos(a / K) * std::sin(D / K);
    const bool samePoint = std::fabs(a - c) < 1e-9 && std::fabs(std::remainder(d - b, 360.0)) < 1e-9;
    int heading = 0;
    if (!samePoint && std::fabs(denominator) > 1e-12) {
        const double y = (std::sin(c / K) - std::sin(a / K) * std::cos(D / K)) / denominator;
        const double A = arcFromSine(y);
        const double e = d - b;
        const bool east = (e >= 0 && e <= 180) || e <= -180;
        heading = int(std::trunc(east ? A : 360 - A));
    }
    if (samePoint)
        result.distanceKm = 0;
    result.heading = heading;
    result.backHeading = 360 - heading;
    return result;
}
