// Four single-precision lanes for the fast image decoders: SSE2 where the
// compiler targets it, a portable array of four floats elsewhere. Each operation
// rounds each lane once, exactly like the scalar float code.
#pragma once

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace image_detail {

#if defined(__SSE2__)

struct vec4 {
    __m128 v;
    vec4() = default;
    explicit vec4(float s) : v(_mm_set1_ps(s)) {}
    vec4(__m128 x) : v(x) {}
    static vec4 load(const float* p) { return _mm_loadu_ps(p); }
    void store(float* p) const { _mm_storeu_ps(p, v); }
};
inline vec4 operator+(vec4 a, vec4 b)
{
    return _mm_add_ps(a.v, b.v);
}
inline vec4 operator-(vec4 a, vec4 b)
{
    return _mm_sub_ps(a.v, b.v);
}
inline vec4 operator*(vec4 a, vec4 b)
{
    return _mm_mul_ps(a.v, b.v);
}
inline bool all_zero(vec4 a)
{
    return _mm_movemask_ps(_mm_cmpneq_ps(a.v, _mm_setzero_ps())) == 0;
}

#else

struct vec4 {
    float v[4];
    vec4() = default;
    explicit vec4(float s) : v{s, s, s, s} {}
    static vec4 load(const float* p) { return vec4{p[0], p[1], p[2], p[3]}; }
    void store(float* p) const
    {
        for (int i = 0; i < 4; ++i)
            p[i] = v[i];
    }
    vec4(float a, float b, float c, float d) : v{a, b, c, d} {}
};
inline vec4 operator+(vec4 a, vec4 b)
{
    return {a.v[0] + b.v[0], a.v[1] + b.v[1], a.v[2] + b.v[2], a.v[3] + b.v[3]};
}
inline vec4 operator-(vec4 a, vec4 b)
{
    return {a.v[0] - b.v[0], a.v[1] - b.v[1], a.v[2] - b.v[2], a.v[3] - b.v[3]};
}
inline vec4 operator*(vec4 a, vec4 b)
{
    return {a.v[0] * b.v[0], a.v[1] * b.v[1], a.v[2] * b.v[2], a.v[3] * b.v[3]};
}
inline bool all_zero(vec4 a)
{
    return a.v[0] == 0.0f && a.v[1] == 0.0f && a.v[2] == 0.0f && a.v[3] == 0.0f;
}

#endif

// The transform constants broadcast to all lanes.
struct vec4_constants {
    vec4 c1{1.41421f}, c2{0.541196f}, c3{0.765364f}, c4{-1.847756f}, c5{0.83147f}, c6{0.980785f},
        c7{-0.2759f}, c8{-0.785695f}, c9{-1.175875f}, c10{-1.38704f};
};

}  // namespace image_detail

namespace image_detail {

// Turns four vectors (rows) into their columns: afterwards a holds lane 0 of
// the old a, b, c, d, and so on.
inline void transpose4(vec4& a, vec4& b, vec4& c, vec4& d)
{
#if defined(__SSE2__)
    _MM_TRANSPOSE4_PS(a.v, b.v, c.v, d.v);
#else
    vec4 r[4] = {a, b, c, d};
    a = {r[0].v[0], r[1].v[0], r[2].v[0], r[3].v[0]};
    b = {r[0].v[1], r[1].v[1], r[2].v[1], r[3].v[1]};
    c = {r[0].v[2], r[1].v[2], r[2].v[2], r[3].v[2]};
    d = {r[0].v[3], r[1].v[3], r[2].v[3], r[3].v[3]};
#endif
}

}  // namespace image_detail
