// Modal resonator banks and the plucked string.
#include "tools/synth/dsp/resonators.h"

#include "tools/synth/dsp/envelopes.h"
#include "tools/synth/dsp/filters.h"
#include "tools/synth/dsp/noise.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Where a ring is cut off: -90 dB below its start.
constexpr double ring_floor = 3.16e-5;
// A damped note dies in this time: quick, but slow enough not to click off.
constexpr double damping_seconds = 0.15;

void grow_to(mono_buffer& out, size_t frames)
{
    if (out.size() < frames)
        out.resize(frames, 0.0f);
}

}  // namespace

float contact_response(double freq, float contact)
{
    if (contact <= 0.0f)
        return 1.0f;
    double x = freq * 2.0 * double(contact);
    return float(1.0 / std::sqrt(1.0 + x * x * x * x));
}

void ring_modes(const std::vector<resonator_mode>& modes, const strike& hit, mono_buffer& out, size_t at,
                float damp_after)
{
    size_t ramp = std::max<size_t>(8, seconds_to_frames(hit.contact));
    size_t damp_at = damp_after >= 0.0f ? seconds_to_frames(damp_after) : SIZE_MAX;
    double damp = decay_factor(damping_seconds);
    for (const resonator_mode& m : modes) {
        if (m.freq >= 20000.0 || m.freq <= 0.0 || m.amp == 0.0f || m.decay <= 0.0f)
            continue;
        double amp = double(m.amp) * hit.velocity * contact_response(m.freq, hit.contact);
        if (std::fabs(amp) < 1e-7)
            continue;
        double r = decay_factor(m.decay);
        size_t frames = size_t(std::log(ring_floor) / std::log(r)) + ramp;
        if (damp_at != SIZE_MAX)
            frames = std::min(frames, damp_at + seconds_to_frames(damping_seconds * 1.5));
        grow_to(out, at + frames);
        double w = 2.0 * synth_pi * m.freq / synth_rate;
        // A damped phasor: one complex multiplication per sample.
        double cr = r * std::cos(w), ci = r * std::sin(w);
        double dr = damp * std::cos(w), di = damp * std::sin(w);
        double re = amp, im = 0.0;
        float* o = out.data() + at;
        for (size_t i = 0; i < frames; ++i) {
            float v = float(im);
            o[i] += i < ramp ? v * smooth_ramp(i, ramp) : v;
            bool damped = i >= damp_at;
            double nr = re * (damped ? dr : cr) - im * (damped ? di : ci);
            im = re * (damped ? di : ci) + im * (damped ? dr : cr);
            re = nr;
        }
    }
}

void pluck_string(const pluck_settings& s, mono_buffer& out, size_t at)
{
    double freq = std::clamp(s.freq, 20.0, 8000.0);
    // Brighter strings lose less in the loop filter: a blend of the sample and the one
    // before it, which delays the loop by (1 - keep) samples at low frequencies.
    float keep = 0.5f + 0.45f * std::clamp(s.brightness, 0.0f, 1.0f);
    // The loop: an integer delay, the loop filter and an all-pass for the fraction of a
    // sample that is left, together exactly one period at the fundamental. Both filters
    // delay high notes by other amounts than low ones, so their delays are taken at the
    // note's own frequency (the all-pass coefficient for a delay d at w is
    // sin((1 - d) w / 2) / sin((1 + d) w / 2)).
    double w = 2.0 * synth_pi * freq / synth_rate;
    double filter_delay = std::atan2((1.0 - keep) * std::sin(w), keep + (1.0 - keep) * std::cos(w)) / w;
    double period = synth_rate / freq - filter_delay;
    size_t n = std::max<size_t>(2, size_t(period - 0.1));
    double frac = period - double(n);
    double ap = std::sin((1.0 - frac) * w / 2.0) / std::sin((1.0 + frac) * w / 2.0);
    double feedback = std::exp(-6.907755279 / (double(s.decay) * freq));

    // The pluck: one period of noise, low-passed twice (a finger or a soft pick does not
    // click), shaped by a smooth window and scaled to a fixed strength.
    size_t excite = std::max<size_t>(n, 8);
    mono_buffer burst(excite, 0.0f);
    noise_source noise(s.seed);
    double cutoff = 700.0 + 6000.0 * double(s.brightness * s.brightness) * (0.4 + 0.6 * s.velocity);
    biquad tone_a = biquad::lowpass(cutoff, 0.7071), tone_b = biquad::lowpass(cutoff, 0.7071);
    for (size_t i = 0; i < 64; ++i)  // settle the filters on the same noise
        tone_b.process(tone_a.process(noise.white()));
    for (size_t i = 0; i < excite; ++i)
        burst[i] = tone_b.process(tone_a.process(noise.white()));
    // Plucking at a fraction of the string cancels the harmonics with a node there.
    size_t comb = size_t(double(n) * std::clamp(double(s.position), 0.02, 0.5));
    for (size_t i = excite; i-- > comb;)
        burst[i] -= burst[i - comb];
    double mean = 0.0, power = 0.0;
    for (float v : burst)
        mean += v / double(excite);
    for (size_t i = 0; i < excite; ++i) {
        burst[i] = float((burst[i] - mean) * std::sin(synth_pi * (double(i) + 0.5) / double(excite)));
        power += double(burst[i]) * burst[i];
    }
    float norm = power > 0.0 ? float(1.0 / std::sqrt(power / double(excite))) : 0.0f;
    for (float& v : burst)
        v *= norm;

    // -90 dB is one and a half times the -60 dB decay time.
    size_t ring = std::min<size_t>(seconds_to_frames(1.5 * double(s.decay)), 30 * 44100);
    size_t damp_at = s.length >= 0.0f ? seconds_to_frames(s.length) : SIZE_MAX;
    double damp = std::exp(-6.907755279 / (damping_seconds * freq));
    size_t frames =
        std::min(ring, damp_at == SIZE_MAX ? ring : damp_at + seconds_to_frames(damping_seconds * 1.5));
    frames = std::max(frames, excite);
    grow_to(out, at + frames);

    std::vector<float> line(n, 0.0f);
    size_t pos = 0;
    float ap_in = 0.0f, ap_out = 0.0f, last = 0.0f;
    float level = 0.12f * s.velocity * s.gain;
    size_t ramp = 16;
    for (size_t i = 0; i < frames; ++i) {
        float delayed = line[pos];
        float y = float(ap) * (delayed - ap_out) + ap_in;
        ap_in = delayed;
        ap_out = y;
        float filtered = keep * y + (1.0f - keep) * last;
        last = y;
        double fb = i >= damp_at ? damp : feedback;
        float v = float(fb) * filtered + (i < excite ? burst[i] : 0.0f);
        line[pos] = v;
        pos = pos + 1 == n ? 0 : pos + 1;
        out[at + i] += level * v * (i < ramp ? smooth_ramp(i, ramp) : 1.0f);
    }
}
