// The inverse MDCT by pre-rotation, recursive radix-2 DFT, post-rotation and
// reordering; the forward MDCT as a fold followed by the same core.
#include "sound/codec/mdct.h"

#include <cmath>

w_mdct::w_mdct(int block_size) : n(block_size)
{
    int m = n / 2;
    rotation.resize(size_t(m));
    roots.resize(size_t(m));
    for (int k = 0; k < m; ++k) {
        double theta = 2.0 * M_PI * (k + 0.125) / (2.0 * n);
        rotation[size_t(k)] = cfloat(float(-std::cos(theta)), float(-std::sin(theta)));
        double phi = 2.0 * M_PI * k / m;
        roots[size_t(k)] = cfloat(float(std::cos(phi)), float(std::sin(phi)));
    }
    z.resize(size_t(m));
    spectrum.resize(size_t(m));
    folded.resize(size_t(n));
    unfolded.resize(size_t(2 * n));
}

// Unnormalised DFT with a positive exponent of `size` points read from `in` with the
// given stride. Decimation in time: the even and the odd points are transformed into
// the two halves of `out` and combined by one butterfly pass. The block size is a
// power of two, checked before a transform is ever made.
void w_mdct::dft(const cfloat* in, int stride, cfloat* out, int size)
{
    if (size <= 4) {
        if (size == 1) {
            out[0] = in[0];
        } else if (size == 2) {
            cfloat a = in[0], b = in[stride];
            out[0] = a + b;
            out[1] = a - b;
        } else {
            // Two radix-2 stages written out; the inner twiddle is +i.
            cfloat a = in[0], b = in[stride], c = in[2 * stride], d = in[3 * stride];
            cfloat e0 = a + c, e1 = a - c, o0 = b + d, o1 = b - d;
            cfloat io1(-o1.imag(), o1.real());
            out[0] = e0 + o0;
            out[2] = e0 - o0;
            out[1] = e1 + io1;
            out[3] = e1 - io1;
        }
        return;
    }
    int half = size / 2;
    dft(in, stride * 2, out, half);
    dft(in + stride, stride * 2, out + half, half);
    // The roots table is for M points; a sub-transform of `size` points uses every
    // (M / size)-th root. The products are written out: the library's complex
    // multiplication checks for infinities on every call.
    int step = int(roots.size()) / size;
    const cfloat* root = roots.data();
    for (int k = 0; k < half; ++k) {
        cfloat w = root[k * step];
        cfloat e = out[k], v = out[k + half];
        float ore = v.real() * w.real() - v.imag() * w.imag();
        float oim = v.real() * w.imag() + v.imag() * w.real();
        out[k] = cfloat(e.real() + ore, e.imag() + oim);
        out[k + half] = cfloat(e.real() - ore, e.imag() - oim);
    }
}

namespace {

inline std::complex<float> times(std::complex<float> a, std::complex<float> b)
{
    return {a.real() * b.real() - a.imag() * b.imag(), a.real() * b.imag() + a.imag() * b.real()};
}

}  // namespace

void w_mdct::inverse(const float* x, float* y)
{
    int m = n / 2, q = n / 4;
    for (int k = 0; k < m; ++k)
        z[size_t(k)] = times(cfloat(x[n - 1 - 2 * k], x[2 * k]), rotation[size_t(k)]);
    dft(z.data(), 1, spectrum.data(), m);
    for (int k = 0; k < m; ++k)
        spectrum[size_t(k)] = times(spectrum[size_t(k)], rotation[size_t(k)]);
    const cfloat* s = spectrum.data();
    for (int k = 0; k < q; ++k) {
        cfloat hi = s[q + k], lo = s[q - 1 - k];
        y[2 * k] = -hi.imag();
        y[n - 1 - 2 * k] = hi.imag();
        y[2 * k + 1] = lo.real();
        y[n - 2 - 2 * k] = -lo.real();
        y[n + 2 * k] = -hi.real();
        y[2 * n - 1 - 2 * k] = -hi.real();
        y[n + 2 * k + 1] = lo.imag();
        y[2 * n - 2 - 2 * k] = lo.imag();
    }
}

void w_mdct::forward(const float* in, float* x)
{
    // The inverse is an unfolded DCT-IV, and that DCT-IV is its own inverse; folding
    // the input the matching way and running the inverse therefore gives the
    // forward coefficients, read back from the middle of its output.
    int h = n / 2;
    for (int j = 0; j < h; ++j) {
        folded[size_t(j)] = -in[3 * h - 1 - j] - in[3 * h + j];
        folded[size_t(h + j)] = in[j] - in[n - 1 - j];
    }
    inverse(folded.data(), unfolded.data());
    for (int k = 0; k < n; ++k)
        x[k] = -unfolded[size_t(3 * h - 1 - k)];
}
