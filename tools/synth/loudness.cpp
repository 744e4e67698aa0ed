// libebur128 behind three small functions.
#include "tools/synth/loudness.h"

#include <ebur128.h>

#include <vector>

namespace {

class meter {
public:
    explicit meter(int mode) : state(ebur128_init(2, 44100, mode)) {}
    ~meter()
    {
        if (state)
            ebur128_destroy(&state);
    }
    meter(const meter&) = delete;
    meter& operator=(const meter&) = delete;

    ebur128_state* state;
};

double global_of(meter& m)
{
    double out = -200.0;
    if (!m.state || ebur128_loudness_global(m.state, &out) != EBUR128_SUCCESS)
        return -200.0;
    return out;
}

std::vector<float> interleave(const stereo_buffer& buffer)
{
    std::vector<float> frames(buffer.frames() * 2);
    for (size_t i = 0; i < buffer.frames(); ++i) {
        frames[2 * i] = buffer.left[i];
        frames[2 * i + 1] = buffer.right[i];
    }
    return frames;
}

}  // namespace

double integrated_loudness(const float* interleaved, size_t frames)
{
    meter m(EBUR128_MODE_I);
    if (m.state && frames)
        ebur128_add_frames_float(m.state, interleaved, frames);
    return global_of(m);
}

double integrated_loudness(const int16_t* interleaved, size_t frames)
{
    meter m(EBUR128_MODE_I);
    if (m.state && frames)
        ebur128_add_frames_short(m.state, interleaved, frames);
    return global_of(m);
}

double integrated_loudness(const stereo_buffer& buffer)
{
    std::vector<float> frames = interleave(buffer);
    return integrated_loudness(frames.data(), buffer.frames());
}

double short_loudness(const stereo_buffer& buffer)
{
    meter m(EBUR128_MODE_M);
    // Momentary mode keeps the last 400 ms, enough for any shorter window.
    if (!m.state)
        return -200.0;
    std::vector<float> frames = interleave(buffer);
    // Step through in 10 ms pieces and keep the loudest 100 ms window; a trailing
    // stretch of silence lets the last window see the end of the sound.
    frames.resize(frames.size() + 2 * 4410, 0.0f);
    size_t total = frames.size() / 2;
    double loudest = -200.0;
    for (size_t at = 0; at < total; at += 441) {
        size_t n = std::min<size_t>(441, total - at);
        ebur128_add_frames_float(m.state, frames.data() + 2 * at, n);
        double v;
        if (at >= 4410 && ebur128_loudness_window(m.state, 100, &v) == EBUR128_SUCCESS && v > loudest)
            loudest = v;
    }
    return loudest;
}
