// A deterministic stereo test signal shared by the codec tests and the benchmark:
// enveloped tones (a melody and a chord pad), noise percussion and slow panning, so
// that tonal, noisy and stereo content all appear within a few seconds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int test_signal_rate = 44100;

// Interleaved left/right 16-bit frames; the same arguments always give the same
// bytes. Other rates give the same music (for codecs that only take 48 kHz).
std::vector<int16_t> make_test_signal(double seconds, int rate = test_signal_rate);

// Signal-to-noise ratio in dB of `decoded` against `source` over the first `frames`
// interleaved frames (both channels).
double signal_to_noise(const int16_t* source, const int16_t* decoded, size_t frames);
