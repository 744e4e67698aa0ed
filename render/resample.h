// The Gaussian resampler: scales an RGBA image to any size, each output texel a Gaussian-
// weighted mean of the source texels around its position, in two separable passes. The
// caption blur and the capture of a level's pictures are built on it. No GL.
#pragma once

#include <cstdint>

// Resamples `source` (sw x sh, RGBA, rows in order) into `destination` (dw x dh). Output
// texel i of a row sits at source position c = i x sw / dw; texels from c - 3 sigma to
// c + 3 sigma (clamped to the image) weigh exp(-(j - c)^2 / (2 sigma^2)). A sigma of 0 or
// less takes the nearest texel. Alpha is filtered with `keep_alpha`, else 255. Any sizes
// work (smaller or larger than the source); the source is not changed. Sizes of 0 or less
// leave the destination as it is.
void resample_gaussian(float sigma, const uint8_t* source, int32_t sw, int32_t sh, uint8_t* destination,
                       int32_t dw, int32_t dh, bool keep_alpha);
