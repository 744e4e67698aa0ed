// The codec's modified discrete cosine transform: the inverse that the decoder runs on
// every block, through a pre-rotation, a complex DFT of N/2 points and a
// post-rotation, and the forward transform that the encoder builds from it.
#pragma once

#include <complex>
#include <vector>

// Tables and scratch space for one block size N (a power of two, at least 4).
// The rotation factors and the DFT's unit roots are computed once here, so a block
// costs the DFT and two passes of complex products.
class w_mdct {
public:
    explicit w_mdct(int block_size);

    int block_size() const { return n; }

    // y (2N values) := the inverse MDCT of the N coefficients x, unnormalised:
    // y[j] = -sum_k x[k] cos(pi/N (j + 1/2 + N/2)(k + 1/2)).
    void inverse(const float* x, float* y);

    // x (N coefficients) := -sum_j in[j] cos(pi/N (j + 1/2 + N/2)(k + 1/2)) over the
    // 2N values of `in` (already windowed): the transpose of `inverse`. With the
    // codec's window applied on both sides, forward then inverse and overlap-add
    // give back N times the input.
    void forward(const float* in, float* x);

private:
    using cfloat = std::complex<float>;

    int n;                         // N
    std::vector<cfloat> rotation;  // c_k = -(cos, sin)(2 pi (k + 1/8) / 2N), k < N/2
    std::vector<cfloat> roots;     // e^(2 pi i k / M), k < M = N/2
    std::vector<cfloat> z;         // pre-rotated input
    std::vector<cfloat> spectrum;  // DFT output
    std::vector<float> folded;     // forward: the 2N inputs folded to N
    std::vector<float> unfolded;   // forward: scratch for the inverse's 2N outputs

    void dft(const cfloat* in, int stride, cfloat* out, int size);
};
