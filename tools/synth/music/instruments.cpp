// Instrument voices: modal mallets, Karplus-Strong strings, oscillators for the
// sustained voices, and noise or modes for percussion.
#include "tools/synth/music/instruments.h"

#include "tools/synth/dsp/envelopes.h"
#include "tools/synth/dsp/filters.h"
#include "tools/synth/dsp/noise.h"
#include "tools/synth/dsp/oscillators.h"
#include "tools/synth/dsp/resonators.h"

#include <algorithm>
#include <cmath>
#include <vector>

double pitch_to_hz(double pitch)
{
    return 440.0 * std::pow(2.0, (pitch - 69.0) / 12.0);
}

bool is_sustained(instrument sound)
{
    return sound == instrument::pad || sound == instrument::flute;
}

namespace {

void grow_to(mono_buffer& out, size_t frames)
{
    if (out.size() < frames)
        out.resize(frames, 0.0f);
}

// How long a struck bar rings: lower notes ring longer.
float bar_decay(double freq, float at_middle_c, float shortest, float longest)
{
    return std::clamp(at_middle_c * float(std::sqrt(261.6 / freq)), shortest, longest);
}

// Each voice's level below is set so that the same phrase (a C major arpeggio in
// quarter notes around middle C) measures about the same loudness on every melodic
// instrument, and the same quarter notes on every drum about 2 dB below the kick: a
// part's level in a song then means what it says.

// A bar or tine with modes at `ratios` of the fundamental.
void mallet(const note_event& n, mono_buffer& out, const double* ratios, const float* amps,
            const float* decays, int count, float decay, float contact_soft, float contact_hard, float level)
{
    double f = pitch_to_hz(n.pitch);
    std::vector<resonator_mode> modes;
    for (int i = 0; i < count; ++i)
        modes.push_back({f * ratios[i], amps[i] * level, decay * decays[i]});
    strike hit;
    hit.velocity = std::pow(n.velocity, 1.4f);
    hit.contact = contact_soft + (contact_hard - contact_soft) * n.velocity;
    ring_modes(modes, hit, out, seconds_to_frames(n.start));
}

void marimba(const note_event& n, mono_buffer& out)
{
    // Tuned bars: the first overtones sit near 4 and 10 times the fundamental.
    static const double ratios[] = {1.0, 3.93, 9.2, 2.0};
    static const float amps[] = {1.0f, 0.28f, 0.07f, 0.04f};
    static const float decays[] = {1.0f, 0.3f, 0.12f, 0.5f};
    float decay = bar_decay(pitch_to_hz(n.pitch), 1.3f, 0.35f, 2.5f);
    mallet(n, out, ratios, amps, decays, 4, decay, 0.0022f, 0.0011f, 0.63f);
}

void kalimba(const note_event& n, mono_buffer& out)
{
    // A tine clamped at one end: a strong fundamental and a bright, short partial near 6x.
    static const double ratios[] = {1.0, 5.95, 2.0, 12.4};
    static const float amps[] = {1.0f, 0.22f, 0.05f, 0.04f};
    static const float decays[] = {1.0f, 0.18f, 0.5f, 0.06f};
    float decay = bar_decay(pitch_to_hz(n.pitch), 1.6f, 0.5f, 2.4f);
    mallet(n, out, ratios, amps, decays, 4, decay, 0.0012f, 0.0006f, 0.45f);
}

void celesta(const note_event& n, mono_buffer& out)
{
    static const double ratios[] = {1.0, 4.0, 10.1, 2.0};
    static const float amps[] = {1.0f, 0.16f, 0.04f, 0.08f};
    static const float decays[] = {1.0f, 0.35f, 0.15f, 0.6f};
    float decay = bar_decay(pitch_to_hz(n.pitch), 2.2f, 0.6f, 2.6f);
    mallet(n, out, ratios, amps, decays, 4, decay, 0.0009f, 0.0005f, 0.37f);
}

void glockenspiel(const note_event& n, mono_buffer& out)
{
    // A free steel bar: its overtones are not harmonic, which gives the bell colour.
    static const double ratios[] = {1.0, 2.756, 5.404, 8.933};
    static const float amps[] = {1.0f, 0.3f, 0.1f, 0.04f};
    static const float decays[] = {1.0f, 0.4f, 0.18f, 0.09f};
    float decay = bar_decay(pitch_to_hz(n.pitch), 3.2f, 0.8f, 3.0f);
    mallet(n, out, ratios, amps, decays, 4, decay, 0.0007f, 0.0003f, 0.3f);
}

void music_box(const note_event& n, mono_buffer& out)
{
    static const double ratios[] = {1.0, 5.4, 2.0, 11.2};
    static const float amps[] = {1.0f, 0.18f, 0.06f, 0.05f};
    static const float decays[] = {1.0f, 0.25f, 0.5f, 0.07f};
    float decay = bar_decay(pitch_to_hz(n.pitch), 2.4f, 0.7f, 2.8f);
    mallet(n, out, ratios, amps, decays, 4, decay, 0.0005f, 0.0003f, 0.34f);
}

void string_pluck(const note_event& n, mono_buffer& out, float at_middle_c, float brightness, float position,
                  bool damp_at_end, float gain)
{
    pluck_settings s;
    s.freq = pitch_to_hz(n.pitch);
    s.decay = std::clamp(at_middle_c * float(std::sqrt(261.6 / s.freq)), 0.6f, 6.0f);
    s.brightness = brightness * (0.7f + 0.3f * n.velocity);
    s.position = position;
    s.velocity = n.velocity;
    s.gain = gain;
    s.length = damp_at_end ? float(n.length) : -1.0f;
    s.seed = n.seed;
    pluck_string(s, out, seconds_to_frames(n.start));
}

void bass(const note_event& n, mono_buffer& out)
{
    string_pluck(n, out, 1.6f, 0.25f, 0.22f, true, 1.15f);
    // A round, quickly fading sine under the string, for warmth on small speakers'
    // worth of fundamental.
    std::vector<resonator_mode> body = {{pitch_to_hz(n.pitch), 0.37f * n.velocity, 1.0f}};
    strike hit;
    hit.contact = 0.004f;
    ring_modes(body, hit, out, seconds_to_frames(n.start), float(n.length));
}

void flute(const note_event& n, mono_buffer& out)
{
    double f = pitch_to_hz(n.pitch);
    size_t at = seconds_to_frames(n.start);
    size_t held = seconds_to_frames(n.length);
    size_t frames = held + seconds_to_frames(0.5);
    grow_to(out, at + frames);
    adsr_envelope env(0.045f, 0.3f, 0.8f, 0.09f);
    sine_oscillator h1(f), h2(2 * f), h3(3 * f);
    noise_source noise(n.seed);
    biquad breath = biquad::bandpass(2.0 * f, 2.0);
    float level = 0.185f * n.velocity;
    double vibrato_phase = 0;
    for (size_t i = 0; i < frames; ++i) {
        if (i == held)
            env.release_now();
        if (i % 32 == 0) {
            // Vibrato grows in after the note has settled.
            double t = double(i) / synth_rate;
            double depth = 0.004 * std::clamp((t - 0.25) / 0.4, 0.0, 1.0);
            double m = 1.0 + depth * std::sin(vibrato_phase);
            vibrato_phase += 2.0 * synth_pi * 5.2 * 32.0 / synth_rate;
            h1.set_frequency(f * m);
            h2.set_frequency(2 * f * m);
            h3.set_frequency(3 * f * m);
        }
        float e = env.next();
        float v = h1.next() + 0.14f * h2.next() + 0.05f * h3.next() + 0.06f * breath.process(noise.white());
        out[at + i] += level * e * v;
    }
}

void pad(const note_event& n, mono_buffer& out)
{
    double f = pitch_to_hz(n.pitch);
    size_t at = seconds_to_frames(n.start);
    size_t held = seconds_to_frames(n.length);
    size_t frames = held + seconds_to_frames(2.5);
    grow_to(out, at + frames);
    adsr_envelope env(0.5f, 1.2f, 0.75f, 0.6f);
    noise_source noise(n.seed);
    // Three saws a few cents apart drift in and out of phase: the slow beating is what
    // makes a pad sound alive.
    saw_oscillator a(f * 0.9965, noise.unit()), b(f, noise.unit()), c(f * 1.0035, noise.unit());
    sine_oscillator sub(f * 0.5);
    state_variable_lowpass lp(0.6);
    float level = 0.1f * (0.6f + 0.4f * n.velocity);
    for (size_t i = 0; i < frames; ++i) {
        if (i == held)
            env.release_now();
        float e = env.next();
        if (i % 16 == 0)
            lp.set_cutoff(std::min(400.0 + 2.2 * f, 3200.0) * (0.55 + 0.45 * double(e)));
        float v = lp.process(a.next() + b.next() + c.next()) + 0.5f * sub.next();
        out[at + i] += level * e * v;
    }
}

void kick(const note_event& n, mono_buffer& out)
{
    size_t at = seconds_to_frames(n.start);
    size_t frames = seconds_to_frames(0.45);
    grow_to(out, at + frames);
    double phase = 0;
    double r = decay_factor(0.4);
    double amp = 0.53 * double(n.velocity);
    noise_source noise(n.seed);
    one_pole_lowpass click(2500.0);
    for (size_t i = 0; i < frames; ++i) {
        double t = double(i) / synth_rate;
        double f = 50.0 + 70.0 * std::exp(-t / 0.028);
        phase += 2.0 * synth_pi * f / synth_rate;
        float v = float(std::sin(phase) * amp);
        if (i < 200)
            v += 0.25f * n.velocity * click.process(noise.white()) * float(1.0 - double(i) / 200.0);
        out[at + i] += v * smooth_ramp(i, 40);
        amp *= r;
    }
}

// A burst of filtered noise with a quick rise and an exponential fall.
void noise_hit(const note_event& n, mono_buffer& out, biquad filter, float rise, float fall, float level)
{
    size_t at = seconds_to_frames(n.start);
    size_t up = std::max<size_t>(1, seconds_to_frames(rise));
    size_t frames = up + seconds_to_frames(fall * 1.5f);
    grow_to(out, at + frames);
    noise_source noise(n.seed);
    double r = decay_factor(fall);
    double amp = double(level * n.velocity);
    for (size_t i = 0; i < frames; ++i) {
        float e = i < up ? smooth_ramp(i, up) : 1.0f;
        if (i >= up)
            amp *= r;
        out[at + i] += float(amp) * e * filter.process(noise.white());
    }
}

void woodblock(const note_event& n, mono_buffer& out)
{
    double f = pitch_to_hz(n.pitch);
    std::vector<resonator_mode> modes = {
        {f, 0.94f, 0.09f}, {f * 2.47, 0.38f, 0.05f}, {f * 4.1, 0.11f, 0.025f}};
    strike hit;
    hit.velocity = n.velocity;
    hit.contact = 0.0006f;
    ring_modes(modes, hit, out, seconds_to_frames(n.start));
}

void tick(const note_event& n, mono_buffer& out)
{
    double f = pitch_to_hz(n.pitch);
    std::vector<resonator_mode> modes = {
        {f, 0.85f, 0.05f}, {f * 2.31, 0.5f, 0.03f}, {f * 3.87, 0.28f, 0.02f}};
    strike hit;
    hit.velocity = n.velocity;
    hit.contact = 0.0002f;
    ring_modes(modes, hit, out, seconds_to_frames(n.start));
}

void tambourine(const note_event& n, mono_buffer& out)
{
    // A few jingles touched a moment apart.
    noise_source spread(n.seed);
    for (int j = 0; j < 3; ++j) {
        note_event part = n;
        part.start += 0.004 * j + 0.002 * double(spread.unit());
        part.velocity *= 1.0f - 0.25f * float(j);
        std::vector<resonator_mode> modes = {{5200.0 + 300.0 * j, 0.25f, 0.16f},
                                             {6900.0 - 200.0 * j, 0.2f, 0.14f},
                                             {8300.0 + 150.0 * j, 0.15f, 0.11f},
                                             {9900.0, 0.1f, 0.08f}};
        strike hit;
        hit.velocity = part.velocity;
        hit.contact = 0.0001f;
        ring_modes(modes, hit, out, seconds_to_frames(part.start));
    }
    noise_hit(n, out, biquad::highpass(7000.0, 0.7), 0.001f, 0.05f, 0.6f);
}

}  // namespace

void render_note(instrument sound, const note_event& n, mono_buffer& out)
{
    switch (sound) {
    case instrument::marimba:
        marimba(n, out);
        break;
    case instrument::kalimba:
        kalimba(n, out);
        break;
    case instrument::celesta:
        celesta(n, out);
        break;
    case instrument::glockenspiel:
        glockenspiel(n, out);
        break;
    case instrument::music_box:
        music_box(n, out);
        break;
    case instrument::harp:
        string_pluck(n, out, 3.2f, 0.55f, 0.13f, false, 1.68f);
        break;
    case instrument::nylon:
        string_pluck(n, out, 2.4f, 0.4f, 0.2f, false, 1.92f);
        break;
    case instrument::bass:
        bass(n, out);
        break;
    case instrument::flute:
        flute(n, out);
        break;
    case instrument::pad:
        pad(n, out);
        break;
    case instrument::kick:
        kick(n, out);
        break;
    case instrument::shaker:
        noise_hit(n, out, biquad::bandpass(6500.0, 1.1), 0.012f, 0.05f, 0.98f);
        break;
    case instrument::woodblock:
        woodblock(n, out);
        break;
    case instrument::tick:
        tick(n, out);
        break;
    case instrument::brush:
        noise_hit(n, out, biquad::bandpass(2600.0, 0.6), 0.01f, 0.12f, 0.88f);
        break;
    case instrument::tambourine:
        tambourine(n, out);
        break;
    case instrument::hat:
        noise_hit(n, out, biquad::highpass(8000.0, 0.7), 0.0005f, 0.035f, 1.1f);
        break;
    }
}
