// Envelope generators.
#include "tools/synth/dsp/envelopes.h"

#include "tools/synth/dsp/signal.h"

#include <algorithm>
#include <cmath>

namespace {

float time_constant_coef(float seconds)
{
    return seconds <= 0.0f ? 0.0f : float(std::exp(-1.0 / (double(seconds) * synth_rate)));
}

}  // namespace

adsr_envelope::adsr_envelope(float attack, float decay, float sustain_level, float release)
    : attack_step(attack <= 0.0f ? 1.0f : float(1.0 / (double(attack) * synth_rate))),
      decay_coef(time_constant_coef(decay)), sustain(sustain_level), release_coef(time_constant_coef(release))
{}

void adsr_envelope::release_now()
{
    released = true;
}

float adsr_envelope::next()
{
    if (released) {
        level *= release_coef;
    } else if (attacking) {
        level += attack_step;
        if (level >= 1.0f) {
            level = 1.0f;
            attacking = false;
        }
    } else {
        level = sustain + (level - sustain) * decay_coef;
    }
    return level;
}

float smooth_ramp(size_t i, size_t frames)
{
    if (i >= frames)
        return 1.0f;
    return float(0.5 - 0.5 * std::cos(synth_pi * (double(i) + 0.5) / double(frames)));
}

double decay_factor(double seconds)
{
    // ln(1000) = 6.9078: -60 dB in amplitude.
    return seconds <= 0.0 ? 0.0 : std::exp(-6.907755279 / (seconds * synth_rate));
}

void end_in_silence(stereo_buffer& buffer, size_t keep, double fade_seconds)
{
    size_t end = buffer.frames();
    while (end > keep && std::fabs(buffer.left[end - 1]) < 1e-4f && std::fabs(buffer.right[end - 1]) < 1e-4f)
        --end;
    buffer.resize(end);
    size_t fade = std::min(end, seconds_to_frames(fade_seconds));
    for (size_t i = 0; i < fade; ++i) {
        float g = smooth_ramp(i, fade);
        buffer.left[end - 1 - i] *= g;
        buffer.right[end - 1 - i] *= g;
    }
}
