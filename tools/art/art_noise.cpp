// Value noise: hashed lattice values joined by a smoothstep, summed over octaves.
#include "tools/art/art_noise.h"

#include <cmath>

uint32_t art_random::next()
{
    // xorshift32: the period and quality are plenty for scattering art.
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

namespace {

double lattice(int32_t x, int32_t y, uint32_t seed)
{
    uint32_t h =
        static_cast<uint32_t>(x) * 374761393u + static_cast<uint32_t>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) * (1.0 / 16777215.0);
}

double smooth(double t)
{
    return t * t * (3 - 2 * t);
}

}  // namespace

double art_noise(double x, double y, uint32_t seed)
{
    double fx = std::floor(x), fy = std::floor(y);
    int32_t ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
    double tx = smooth(x - fx), ty = smooth(y - fy);
    double a = lattice(ix, iy, seed), b = lattice(ix + 1, iy, seed);
    double c = lattice(ix, iy + 1, seed), d = lattice(ix + 1, iy + 1, seed);
    double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

double art_fbm(double x, double y, uint32_t seed, int octaves)
{
    double sum = 0, weight = 0.5, total = 0;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * art_noise(x, y, seed + static_cast<uint32_t>(i) * 101u);
        total += weight;
        x = x * 2.03 + 17.1;
        y = y * 2.03 + 5.3;
        weight *= 0.5;
    }
    return sum / total;
}
