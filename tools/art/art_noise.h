// Deterministic randomness for the art: a small generator and smooth value noise,
// the same numbers on every machine and in every build.
#pragma once

#include <cstdint>

class art_random {
public:
    explicit art_random(uint32_t seed) : state(seed * 2654435761u + 0x9E3779B9u) {}
    uint32_t next();
    // Uniform in [0, 1).
    double unit() { return (next() >> 8) * (1.0 / 16777216.0); }
    double range(double lo, double hi) { return lo + (hi - lo) * unit(); }

private:
    uint32_t state;
};

// Smooth value noise in [0, 1] on a unit lattice, and its fractal sum.
double art_noise(double x, double y, uint32_t seed);
double art_fbm(double x, double y, uint32_t seed, int octaves);
