// Measurements of rendered samples, shared by the tool's "measure" command and the
// tests: peaks, offset, jumps between neighbouring samples and the loop seam.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct sample_measures {
    size_t frames = 0;
    double peak_dbfs = -200.0;      // the largest sample of either channel
    double dc = 0.0;                // mean of each channel, the larger, full scale 1.0
    int largest_jump = 0;           // largest step between neighbouring samples inside
    int seam_jump = 0;              // the step from the last frame back to the first
    double seam_high_db = 0.0;      // energy above 6 kHz across the seam, relative to either side (dB)
    double seam_spectrum_db = 0.0;  // mean log-spectral distance of the seam window from its neighbours
};

// `pcm` is interleaved 16-bit stereo.
sample_measures measure_sample(const std::vector<int16_t>& pcm);

// Around frame `at` (wrapping at the ends, so 0 is a loop's seam), a window straddling
// it against the windows just before and after: the energy above 6 kHz relative to the
// louder side (a click shows as a rise), and the mean distance of the log spectra.
double high_band_jump_db(const std::vector<int16_t>& pcm, size_t at);
double spectral_jump_db(const std::vector<int16_t>& pcm, size_t at);

// Signal-to-noise ratio in dB of `decoded` against `source` (both interleaved stereo).
double snr_db(const std::vector<int16_t>& source, const std::vector<int16_t>& decoded);
