// vec2: the pair of single-precision floats that all physics, drawing and pointer code
// shares. Every operation is written out component by component so that the rounding
// is the same in every build (no fused multiply-add, no reassociation).
#pragma once

#include <cmath>

struct vec2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr vec2() = default;
    constexpr vec2(float x_, float y_) : x(x_), y(y_) {}

    constexpr vec2 operator+(vec2 o) const { return {x + o.x, y + o.y}; }
    constexpr vec2 operator-(vec2 o) const { return {x - o.x, y - o.y}; }
    constexpr vec2 operator-() const { return {-x, -y}; }
    constexpr vec2 operator*(float s) const { return {x * s, y * s}; }
    constexpr vec2 operator/(float s) const { return {x / s, y / s}; }
    constexpr vec2& operator+=(vec2 o)
    {
        x += o.x;
        y += o.y;
        return *this;
    }
    constexpr vec2& operator-=(vec2 o)
    {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    constexpr vec2& operator*=(float s)
    {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr vec2& operator/=(float s)
    {
        x /= s;
        y /= s;
        return *this;
    }
    constexpr bool operator==(const vec2&) const = default;

    constexpr float length_sq() const { return x * x + y * y; }
    float length() const { return std::sqrt(x * x + y * y); }
    // The vector turned a quarter: (-y, x).
    constexpr vec2 perp() const { return {-y, x}; }
};

constexpr vec2 operator*(float s, vec2 v)
{
    return {v.x * s, v.y * s};
}

constexpr float dot(vec2 a, vec2 b)
{
    return a.x * b.x + a.y * b.y;
}
// The 2-D cross product a.x*b.y - a.y*b.x.
constexpr float cross(vec2 a, vec2 b)
{
    return a.x * b.y - a.y * b.x;
}
// a / |a|; the zero vector stays zero rather than becoming NaN.
inline vec2 normalised(vec2 a)
{
    float l = a.length();
    return l > 0.0f ? a / l : vec2{};
}
inline bool is_finite(vec2 a)
{
    return std::isfinite(a.x) && std::isfinite(a.y);
}
