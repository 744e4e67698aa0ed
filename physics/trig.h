// Sine and cosine for the physics, built from basic IEEE operations only. The C library
// picks its implementation by processor at run time (with or without fused multiply-add),
// which may round the last bit differently from one machine to the next; a replay recorded
// on one machine must play back identically on another.
#pragma once

#include <cmath>
#include <cstdint>

inline void v_sincos(float angle, float& s, float& c)
{
    double x = angle;
    if (!std::isfinite(x)) {
        s = 0.0f;
        c = 1.0f;
        return;
    }
    constexpr double two_pi = 6.28318530717958647692;
    if (std::fabs(x) > 1.0e6)
        x = std::fmod(x, two_pi);  // exact, so still the same everywhere
    // Quarter turns, then the remainder in [-pi/4, pi/4] with a two-part pi/2.
    double k = std::nearbyint(x * 0.63661977236758134308);
    double r = (x - k * 1.57079632673412561417) - k * 6.07710050650619224932e-11;
    double r2 = r * r;
    double sr =
        r + r * r2 *
                (-1.0 / 6.0 +
                 r2 * (1.0 / 120.0 +
                       r2 * (-1.0 / 5040.0 +
                             r2 * (1.0 / 362880.0 + r2 * (-1.0 / 39916800.0 + r2 * (1.0 / 6227020800.0))))));
    double cr =
        1.0 - r2 * 0.5 +
        r2 * r2 *
            (1.0 / 24.0 +
             r2 * (-1.0 / 720.0 + r2 * (1.0 / 40320.0 + r2 * (-1.0 / 3628800.0 + r2 * (1.0 / 479001600.0)))));
    switch (int64_t(k) & 3) {
    case 0:
        s = float(sr);
        c = float(cr);
        break;
    case 1:
        s = float(cr);
        c = float(-sr);
        break;
    case 2:
        s = float(-sr);
        c = float(-cr);
        break;
    default:
        s = float(-cr);
        c = float(sr);
        break;
    }
}
