// The generator's signal types: mono and stereo float buffers at 44100 Hz, the
// equal-power pan law, and decibel conversions.
#pragma once

#include <cstddef>
#include <vector>

constexpr double synth_rate = 44100.0;
constexpr double synth_pi = 3.14159265358979323846;

using mono_buffer = std::vector<float>;

struct stereo_buffer {
    std::vector<float> left;
    std::vector<float> right;

    size_t frames() const { return left.size(); }
    void resize(size_t frames)
    {
        left.resize(frames, 0.0f);
        right.resize(frames, 0.0f);
    }
};

size_t seconds_to_frames(double seconds);
float db_to_gain(float db);
float gain_to_db(float gain);

// Adds `in` (from its first sample) into `out` from frame `at`, scaled by `gain` and
// placed by `pan` (0 left, 0.5 centre, 1 right, equal power). Samples beyond the end of
// `out` are dropped.
void mix_into(stereo_buffer& out, size_t at, const mono_buffer& in, float gain, float pan);
// Adds a stereo buffer into another from frame `at`, scaled by `gain`.
void mix_into(stereo_buffer& out, size_t at, const stereo_buffer& in, float gain);
void scale(stereo_buffer& buffer, float gain);
// The largest absolute sample of both channels.
float peak_of(const stereo_buffer& buffer);
