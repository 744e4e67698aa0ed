// Deterministic noise: the same seed gives the same samples in every build, so the
// generator's output is the same bytes from run to run.
#pragma once

#include <cstdint>

class noise_source {
public:
    explicit noise_source(uint32_t seed);

    // Uniform in [-1, 1).
    float white();
    // Uniform in [0, 1).
    float unit();
    // A seed for another source, drawn from this one.
    uint32_t next_seed();

private:
    uint32_t state;
};

// Mixes two numbers into a well-spread seed (for seeds per note, per part, per song).
uint32_t seed_mix(uint32_t a, uint32_t b);
