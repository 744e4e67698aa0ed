// xorshift32: tiny, fast and the same everywhere.
#include "tools/synth/dsp/noise.h"

noise_source::noise_source(uint32_t seed) : state(seed ? seed : 0x9e3779b9u)
{}

uint32_t noise_source::next_seed()
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

float noise_source::white()
{
    return float(int32_t(next_seed())) * (1.0f / 2147483648.0f);
}

float noise_source::unit()
{
    return float(next_seed() >> 8) * (1.0f / 16777216.0f);
}

uint32_t seed_mix(uint32_t a, uint32_t b)
{
    uint32_t h = a * 0x9e3779b1u ^ (b + 0x7f4a7c15u + (a << 6) + (a >> 2));
    h ^= h >> 16;
    h *= 0x85ebca6bu;
    h ^= h >> 13;
    h *= 0xc2b2ae35u;
    h ^= h >> 16;
    return h ? h : 1u;
}
