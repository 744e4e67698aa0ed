// Chroma smoothing from quarter-resolution planes and YCoCg to RGB, eight
// pixels at a time with SSE2 (scalar elsewhere and for the tails).
#include "render/image/image_finish_fast.h"
#include "render/image/image_ycocg.h"

namespace image_detail {

namespace {

// A row's chroma at full width from its pair samples: even pixels take their
// pair's value, odd ones the mean with the next pair's, the last odd pixel
// (no right neighbour) its own.
void smooth_samples(const uint8_t* c, int32_t width, uint8_t* out)
{
    int32_t x = 0;
#if defined(__SSE2__)
    for (; x + 16 <= width; x += 16) {
        __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(c + x / 2));
        __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(c + x / 2 + 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x), _mm_unpacklo_epi8(a, floor_average(a, b)));
    }
#endif
    for (; x < width; x += 2) {
        uint8_t v = c[x / 2];
        out[x] = v;
        if (x + 1 < width)
            out[x + 1] = x + 2 < width ? uint8_t((v + c[x / 2 + 1]) >> 1) : v;
    }
    if (!(width & 1) && width >= 2)
        out[width - 1] = c[(width - 1) / 2];
}

void average_rows(const uint8_t* a, const uint8_t* b, int32_t width, uint8_t* out)
{
    int32_t x = 0;
#if defined(__SSE2__)
    for (; x + 16 <= width; x += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + x),
                         floor_average(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + x))));
#endif
    for (; x < width; ++x)
        out[x] = uint8_t((a[x] + b[x]) >> 1);
}

// Y and A from the row's pixels, Co and Cg (+128) from the given bytes: RGBA.
void convert(uint8_t* row, const uint8_t* co, const uint8_t* cg, int32_t width)
{
    int32_t x = 0;
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    const __m128i low_byte = _mm_set1_epi32(0xff);
    for (; x + 8 <= width; x += 8) {
        __m128i* at = reinterpret_cast<__m128i*>(row + size_t(x) * 4);
        __m128i p0 = _mm_loadu_si128(at), p1 = _mm_loadu_si128(at + 1);
        __m128i y = _mm_packs_epi32(_mm_and_si128(p0, low_byte), _mm_and_si128(p1, low_byte));
        __m128i a = _mm_packs_epi32(_mm_srli_epi32(p0, 24), _mm_srli_epi32(p1, 24));
        __m128i vco = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(co + x)), zero);
        __m128i vcg = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(cg + x)), zero);
        __m128i r, g, b;
        ycocg_lanes(y, vco, vcg, r, g, b);
        __m128i rg = _mm_packus_epi16(r, g);  // R0..7 G0..7
        __m128i ba = _mm_packus_epi16(b, a);  // B0..7 A0..7
        __m128i rg_pairs = _mm_unpacklo_epi8(rg, _mm_srli_si128(rg, 8));
        __m128i ba_pairs = _mm_unpacklo_epi8(ba, _mm_srli_si128(ba, 8));
        _mm_storeu_si128(at, _mm_unpacklo_epi16(rg_pairs, ba_pairs));
        _mm_storeu_si128(at + 1, _mm_unpackhi_epi16(rg_pairs, ba_pairs));
    }
#endif
    for (; x < width; ++x)
        ycocg_pixel(row + size_t(x) * 4, co[x], cg[x]);
}

}  // namespace

void chroma_planes::reset(int32_t macroblocks_wide)
{
    stride = macroblocks_wide * 8 + 16;
    size_t n = size_t(stride) * 16;
    co.assign(n, 128);
    cg.assign(n, 128);
}

void chroma_finisher::advance(int32_t width, int32_t height, uint8_t* rgba, int32_t rows_ready,
                              chroma_planes& planes)
{
    if (smoothed[0][0].size() < size_t(width)) {
        for (auto& pair : smoothed)
            for (auto& row : pair)
                row.assign(size_t(width), 0);
        for (auto& row : mixed)
            row.assign(size_t(width), 0);
    }
    size_t stride = size_t(width) * 4;
    while (next < height && (next + 2 < rows_ready || rows_ready >= height)) {
        int32_t j = next / 2;
        auto& cur = smoothed[current];
        if (!have_current) {
            smooth_samples(planes.co_row(j), width, cur[0].data());
            smooth_samples(planes.cg_row(j), width, cur[1].data());
            have_current = true;
        }
        uint8_t* row = rgba + size_t(next) * stride;
        convert(row, cur[0].data(), cur[1].data(), width);
        if (next + 2 < height) {
            auto& below = smoothed[current ^ 1];
            smooth_samples(planes.co_row(j + 1), width, below[0].data());
            smooth_samples(planes.cg_row(j + 1), width, below[1].data());
            average_rows(cur[0].data(), below[0].data(), width, mixed[0].data());
            average_rows(cur[1].data(), below[1].data(), width, mixed[1].data());
            convert(row + stride, mixed[0].data(), mixed[1].data(), width);
            current ^= 1;
        } else if (next + 1 < height) {
            convert(row + stride, cur[0].data(), cur[1].data(), width);
        }
        next += 2;
    }
}

}  // namespace image_detail
