// Byte arithmetic shared by the two full-size finishers (the plain one that
// smooths chroma inside the image and the fast one that smooths it from
// quarter-size planes): the integer clamp, the floor mean of two bytes and the
// conversion of Y and biased chroma (Co + 128, Cg + 128) to R, G, B.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace image_detail {

inline uint8_t clamp_int(int32_t v)
{
    return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v);
}

// One pixel: Y is byte 0; R, G, B replace bytes 0 to 2, alpha stays.
inline void ycocg_pixel(uint8_t* p, int32_t co_byte, int32_t cg_byte)
{
    int32_t y = p[0], co = co_byte - 128, cg = cg_byte - 128;
    p[0] = clamp_int(y + co - cg);
    p[1] = clamp_int(y + cg);
    p[2] = clamp_int(y - co - cg);
}

#if defined(__SSE2__)
// floor((a + b) / 2) per byte, as the scalar (a + b) >> 1.
inline __m128i floor_average(__m128i a, __m128i b)
{
    __m128i half = _mm_and_si128(_mm_srli_epi16(_mm_xor_si128(a, b), 1), _mm_set1_epi8(0x7f));
    return _mm_add_epi8(_mm_and_si128(a, b), half);
}

// The conversion in 16-bit lanes: Y and the biased chroma in, R, G, B out
// (not yet clamped; the callers' saturating packs clamp exactly like clamp_int).
inline void ycocg_lanes(__m128i y, __m128i co_byte, __m128i cg_byte, __m128i& r, __m128i& g, __m128i& b)
{
    const __m128i bias = _mm_set1_epi16(128);
    __m128i co = _mm_sub_epi16(co_byte, bias), cg = _mm_sub_epi16(cg_byte, bias);
    r = _mm_sub_epi16(_mm_add_epi16(y, co), cg);
    g = _mm_add_epi16(y, cg);
    b = _mm_sub_epi16(_mm_sub_epi16(y, co), cg);
}
#endif

}  // namespace image_detail
