// A plain radix-2 FFT for the analysis tools (spectrograms, seam checks); the
// synthesis itself never needs one.
#pragma once

#include <complex>
#include <vector>

// In place, forward (negative exponent), unnormalised. The size must be a power of two.
void fft_in_place(std::vector<std::complex<double>>& a);
