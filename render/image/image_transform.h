// The codec's 8-point forward and inverse transforms, written once over a lane
// type: float (plain decoders, encoder), double (the half-size transform) and
// a 4-wide float vector (fast decoders). Every operation is one rounding in the
// lane type, so the vector form gives exactly the results of the float form.
#pragma once

namespace image_detail {

// The transform constants in the precision of the lane type S.
template <typename S>
struct transform_constants {
    static constexpr S c1 = S(1.41421), c2 = S(0.541196), c3 = S(0.765364), c4 = S(-1.847756),
                       c5 = S(0.83147), c6 = S(0.980785), c7 = S(-0.2759), c8 = S(-0.785695),
                       c9 = S(-1.175875), c10 = S(-1.38704);
};

// Inverse transform of x[0], x[step], ... x[7 * step] into y0..y7 (in place when
// y == x). T is the lane type, C supplies the constants (already in lane form).
template <typename T, typename C>
inline void inverse8(const T* x, T* y, int step, const C& c)
{
    T x0 = x[0], x1 = x[step], x2 = x[2 * step], x3 = x[3 * step];
    T x4 = x[4 * step], x5 = x[5 * step], x6 = x[6 * step], x7 = x[7 * step];
    T t5 = x5 * c.c1;
    T t3 = x3 * c.c1;
    T a = x1 - x7;
    T b = x1 + x7;
    T e = (x2 + x6) * c.c2;
    T s = x0 + x4;
    T d = x0 - x4;
    T f2 = x2 * c.c3 + e;
    T f6 = x6 * c.c4 + e;
    T p = a + t5;
    T q = t3 + b;
    T r = (p + q) * c.c5;
    T u = a - t5;
    T w = b - t3;
    T z = (u + w) * c.c6;
    T E0 = s + f2, O0 = p * c.c7 + r;
    T E1 = d + f6, O1 = w * c.c8 + z;
    T E2 = d - f6, O2 = u * c.c9 + z;
    T E3 = s - f2, O3 = q * c.c10 + r;
    y[0] = E0 + O0;
    y[step] = E1 + O1;
    y[2 * step] = E2 + O2;
    y[3 * step] = E3 + O3;
    y[4 * step] = E3 - O3;
    y[5 * step] = E2 - O2;
    y[6 * step] = E1 - O1;
    y[7 * step] = E0 - O0;
}

inline bool all_zero(float v)
{
    return v == 0.0f;
}

// The inverse transform of an 8 x 8 block: columns, then rows, in place. A
// column with no AC coefficient transforms to its DC value in every row exactly,
// so it is filled instead of transformed. (all_zero of a vector lane type is
// found beside that type.)
template <typename T, typename C>
inline void inverse8x8(T* b, const C& c)
{
    for (int col = 0; col < 8; ++col) {
        T* p = b + col;
        if (all_zero(p[8]) && all_zero(p[16]) && all_zero(p[24]) && all_zero(p[32]) && all_zero(p[40]) &&
            all_zero(p[48]) && all_zero(p[56])) {
            for (int r = 1; r < 8; ++r)
                p[r * 8] = p[0];
        } else {
            inverse8(p, p, 8, c);
        }
    }
    for (int r = 0; r < 8; ++r)
        inverse8(b + r * 8, b + r * 8, 1, c);
}

// The half transform's pass: the inverse, keeping the means of output pairs.
template <typename T, typename C>
inline void inverse8_half(const T* x, T* y, int xstep, int ystep, const C& c, const T& half)
{
    T full[8];
    T in[8];
    for (int i = 0; i < 8; ++i)
        in[i] = x[i * xstep];
    inverse8(in, full, 1, c);
    y[0] = (full[0] + full[1]) * half;
    y[ystep] = (full[2] + full[3]) * half;
    y[2 * ystep] = (full[4] + full[5]) * half;
    y[3 * ystep] = (full[6] + full[7]) * half;
}

// Forward transform of one row or column (step apart), in place.
template <typename T, typename C>
inline void forward8(T* x, int step, const C& c)
{
    T x0 = x[0], x1 = x[step], x2 = x[2 * step], x3 = x[3 * step];
    T x4 = x[4 * step], x5 = x[5 * step], x6 = x[6 * step], x7 = x[7 * step];
    T s07 = x0 + x7, s34 = x3 + x4, s16 = x1 + x6, s25 = x2 + x5;
    T d16 = x1 - x6, d25 = x2 - x5;
    T z1 = (d16 + d25) * c.c6;
    T d07 = x0 - x7, d34 = x3 - x4;
    T z2 = (d07 + d34) * c.c5;
    T e0 = s07 + s34, e1 = s16 + s25, e2 = s16 - s25, e3 = s07 - s34;
    T z3 = (e2 + e3) * c.c2;
    T o1 = d07 * c.c7 + z2;
    T o2 = d25 * c.c9 + z1;
    T o3 = d34 * c.c10 + z2;
    T o4 = d16 * c.c8 + z1;
    x[0] = e0 + e1;
    x[4 * step] = e0 - e1;
    x[2 * step] = e3 * c.c3 + z3;
    x[6 * step] = e2 * c.c4 + z3;
    x[step] = (o3 + o4) + (o1 + o2);
    x[7 * step] = (o3 + o4) - (o1 + o2);
    x[3 * step] = (o3 - o4) * c.c1;
    x[5 * step] = (o1 - o2) * c.c1;
}

}  // namespace image_detail
