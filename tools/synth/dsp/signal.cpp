// Buffer helpers shared by every instrument, effect and song.
#include "tools/synth/dsp/signal.h"

#include <algorithm>
#include <cmath>

size_t seconds_to_frames(double seconds)
{
    return seconds <= 0.0 ? 0 : size_t(std::llround(seconds * synth_rate));
}

float db_to_gain(float db)
{
    return float(std::pow(10.0, db / 20.0));
}

float gain_to_db(float gain)
{
    return gain > 0.0f ? float(20.0 * std::log10(double(gain))) : -200.0f;
}

void mix_into(stereo_buffer& out, size_t at, const mono_buffer& in, float gain, float pan)
{
    if (at >= out.frames())
        return;
    float p = std::clamp(pan, 0.0f, 1.0f);
    float gl = gain * float(std::cos(p * synth_pi / 2.0)) * float(M_SQRT2);
    float gr = gain * float(std::sin(p * synth_pi / 2.0)) * float(M_SQRT2);
    size_t n = std::min(in.size(), out.frames() - at);
    float* l = out.left.data() + at;
    float* r = out.right.data() + at;
    for (size_t i = 0; i < n; ++i) {
        l[i] += in[i] * gl;
        r[i] += in[i] * gr;
    }
}

void mix_into(stereo_buffer& out, size_t at, const stereo_buffer& in, float gain)
{
    if (at >= out.frames())
        return;
    size_t n = std::min(in.frames(), out.frames() - at);
    for (size_t i = 0; i < n; ++i) {
        out.left[at + i] += in.left[i] * gain;
        out.right[at + i] += in.right[i] * gain;
    }
}

void scale(stereo_buffer& buffer, float gain)
{
    for (float& v : buffer.left)
        v *= gain;
    for (float& v : buffer.right)
        v *= gain;
}

float peak_of(const stereo_buffer& buffer)
{
    float peak = 0.0f;
    for (float v : buffer.left)
        peak = std::max(peak, std::fabs(v));
    for (float v : buffer.right)
        peak = std::max(peak, std::fabs(v));
    return peak;
}
