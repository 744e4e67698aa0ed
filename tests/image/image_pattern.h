// A deterministic RGBA test picture (shared by the image tests and the image
// benchmark) and the PSNR measures used on it. Integer arithmetic only, so the
// picture is the same on every machine.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

namespace image_pattern {

inline uint32_t hash(uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352du;
    x ^= x >> 15;
    x *= 0x846ca68bu;
    x ^= x >> 16;
    return x;
}

// Gradients, soft-edged translucent discs, a striped band, a noisy patch and a
// transparent margin: smooth areas, edges and texture, as game art has.
inline std::vector<uint8_t> make(int32_t w, int32_t h, uint32_t seed = 1)
{
    std::vector<uint8_t> img(size_t(w) * size_t(h) * 4);
    struct disc {
        int32_t cx, cy, r;
        uint8_t c[3];
    } discs[6];
    for (int i = 0; i < 6; ++i) {
        uint32_t a = hash(seed * 977 + uint32_t(i) * 131);
        discs[i].cx = int32_t(a % uint32_t(w > 0 ? w : 1));
        discs[i].cy = int32_t((a >> 12) % uint32_t(h > 0 ? h : 1));
        discs[i].r = 2 + int32_t((a >> 24) % uint32_t(w / 5 + 1));
        uint32_t c = hash(a);
        discs[i].c[0] = uint8_t(c);
        discs[i].c[1] = uint8_t(c >> 8);
        discs[i].c[2] = uint8_t(c >> 16);
    }
    int32_t wd = w > 1 ? w - 1 : 1, hd = h > 1 ? h - 1 : 1;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint8_t* p = &img[(size_t(y) * size_t(w) + size_t(x)) * 4];
            int32_t r = 40 + x * 180 / wd, g = 30 + y * 200 / hd, b = 220 - (x + y) * 160 / (wd + hd);
            int32_t a = 255;
            for (const disc& d : discs) {
                int32_t dx = x - d.cx, dy = y - d.cy;
                int32_t d2 = dx * dx + dy * dy, r2 = d.r * d.r;
                if (d2 < r2) {
                    int32_t t = 256 - d2 * 256 / r2;   // 256 in the centre, 0 at the rim
                    int32_t k = t > 64 ? 256 : t * 4;  // soft edge
                    r = (r * (256 - k) + d.c[0] * k) >> 8;
                    g = (g * (256 - k) + d.c[1] * k) >> 8;
                    b = (b * (256 - k) + d.c[2] * k) >> 8;
                    a = a - (a - 160) * k / 256;
                }
            }
            if (y > h / 3 && y < h / 3 + h / 10 + 2 && ((x / 3) & 1)) {
                r += 50;
                g += 50;
                b += 50;
            }
            if (x > w / 2 && y > h / 2 && x < w / 2 + w / 4 + 2 && y < h / 2 + h / 4 + 2) {
                int32_t n = int32_t(hash(uint32_t(y * w + x) ^ seed) & 31) - 16;
                r += n;
                g += n;
                b += n - (n >> 2);
            }
            if (x < w / 16 || y < h / 16)
                a = (x + y) * 255 / (w / 16 + h / 16 + 1) / 2;
            p[0] = uint8_t(r < 0 ? 0 : r > 255 ? 255 : r);
            p[1] = uint8_t(g < 0 ? 0 : g > 255 ? 255 : g);
            p[2] = uint8_t(b < 0 ? 0 : b > 255 ? 255 : b);
            p[3] = uint8_t(a < 0 ? 0 : a > 255 ? 255 : a);
        }
    }
    return img;
}

// PSNR in dB over the channels [first, first + count) of RGBA pixels.
inline double psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int first, int count)
{
    double sum = 0;
    size_t n = 0;
    for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4)
        for (int c = first; c < first + count; ++c) {
            double d = double(a[i + size_t(c)]) - double(b[i + size_t(c)]);
            sum += d * d;
            ++n;
        }
    if (n == 0 || sum == 0)
        return 99.0;
    return 10.0 * std::log10(255.0 * 255.0 * double(n) / sum);
}

// Each channel's 2 x 2 mean (rounded down), the reference for half-size output.
inline std::vector<uint8_t> halve(const std::vector<uint8_t>& img, int32_t w, int32_t h)
{
    int32_t hw = w / 2, hh = h / 2;
    std::vector<uint8_t> out(size_t(hw) * size_t(hh) * 4);
    for (int32_t y = 0; y < hh; ++y)
        for (int32_t x = 0; x < hw; ++x)
            for (int c = 0; c < 4; ++c) {
                auto at = [&](int32_t xx, int32_t yy) {
                    return int(img[(size_t(yy) * size_t(w) + size_t(xx)) * 4 + size_t(c)]);
                };
                out[(size_t(y) * size_t(hw) + size_t(x)) * 4 + size_t(c)] =
                    uint8_t((at(2 * x, 2 * y) + at(2 * x + 1, 2 * y) + at(2 * x, 2 * y + 1) +
                             at(2 * x + 1, 2 * y + 1)) >>
                            2);
            }
    return out;
}

}  // namespace image_pattern
