// Interface sounds, built from the same mallets, strings and noise as the music so
// that they belong to the same small world.
#include "tools/synth/effects/interface_sounds.h"

#include "tools/synth/dsp/envelopes.h"
#include "tools/synth/dsp/filters.h"
#include "tools/synth/dsp/noise.h"
#include "tools/synth/dsp/resonators.h"
#include "tools/synth/dsp/reverb.h"
#include "tools/synth/music/instruments.h"

#include <algorithm>
#include <cmath>

namespace {

stereo_buffer finish(const mono_buffer& dry, float room_level)
{
    stereo_buffer out;
    out.resize(dry.size() + seconds_to_frames(0.6));
    mix_into(out, 0, dry, 0.5f, 0.5f);
    stereo_buffer send;
    send.resize(dry.size());
    mix_into(send, 0, dry, 0.5f, 0.5f);
    reverb_settings room;
    room.seconds = 0.6f;
    room.size = 0.5f;
    room.predelay = 0.008f;
    add_reverb(send, room, room_level, out);
    end_in_silence(out, dry.size(), 0.02);
    return out;
}

note_event at(double start, double pitch, float velocity, double length = 0.2)
{
    note_event n;
    n.start = start;
    n.pitch = pitch;
    n.velocity = velocity;
    n.length = length;
    n.seed = uint32_t(pitch * 977 + start * 100000);
    return n;
}

}  // namespace

stereo_buffer render_rollover()
{
    // A light wooden tick with the faintest pitch: heard often, so it must stay small.
    mono_buffer dry;
    std::vector<resonator_mode> modes = {{2210, 0.5f, 0.035f}, {3470, 0.25f, 0.022f}, {1318.5, 0.18f, 0.07f}};
    strike hit;
    hit.contact = 0.0003f;
    ring_modes(modes, hit, dry, 0);
    return finish(dry, 0.15f);
}

stereo_buffer render_select()
{
    // A marimba "tok" on G5 with a woodblock's click on top.
    mono_buffer dry;
    render_note(instrument::marimba, at(0.0, 79, 0.9f), dry);
    render_note(instrument::woodblock, at(0.0, 88, 0.35f), dry);
    return finish(dry, 0.25f);
}

stereo_buffer render_cut()
{
    mono_buffer dry(seconds_to_frames(0.45), 0.0f);
    noise_source noise(0xc07);
    // Two blades meeting: a pair of bright snicks a moment apart.
    for (int blade = 0; blade < 2; ++blade) {
        size_t start = seconds_to_frames(0.012 * blade);
        biquad band = biquad::bandpass(5200.0 - 900.0 * blade, 1.4);
        double amp = 0.7 - 0.2 * blade, r = decay_factor(0.025);
        for (size_t i = 0; i < seconds_to_frames(0.04); ++i) {
            dry[start + i] += float(amp) * smooth_ramp(i, 12) * band.process(noise.white());
            amp *= r;
        }
    }
    // The rope lets go: a falling whip of filtered noise and a low twang.
    size_t whip = seconds_to_frames(0.02);
    state_variable_lowpass sweep(1.6);
    for (size_t i = 0; i < seconds_to_frames(0.22); ++i) {
        double t = double(i) / synth_rate;
        if (i % 16 == 0)
            sweep.set_cutoff(2400.0 * std::exp(-t / 0.06) + 250.0);
        float env = float(0.45 * std::exp(-t / 0.05) * (1.0 - std::exp(-t / 0.004)));
        dry[whip + i] += env * sweep.process(noise.white());
    }
    pluck_settings twang;
    twang.freq = 98.0;
    twang.decay = 0.35f;
    twang.brightness = 0.45f;
    twang.position = 0.1f;
    twang.velocity = 0.9f;
    twang.seed = 0x7a9;
    pluck_string(twang, dry, whip);
    return finish(dry, 0.2f);
}

stereo_buffer render_star_blip()
{
    // A glockenspiel C7 over a celesta C6, with a tick of sparkle.
    mono_buffer dry;
    render_note(instrument::glockenspiel, at(0.0, 96, 0.8f), dry);
    render_note(instrument::celesta, at(0.0, 84, 0.6f), dry);
    render_note(instrument::tick, at(0.0, 103, 0.2f), dry);
    // The star counter plays four blips a second and a sample sounds at most four
    // times at once: each blip must be over within a second, so the bells are let go
    // (faded) from 0.5 s to 0.8 s.
    size_t from = seconds_to_frames(0.5), to = seconds_to_frames(0.8);
    dry.resize(std::min(dry.size(), to));
    for (size_t i = from; i < dry.size(); ++i)
        dry[i] *= 1.0f - smooth_ramp(i - from, to - from);
    stereo_buffer out = finish(dry, 0.35f);
    out.resize(std::min(out.frames(), seconds_to_frames(0.95)));
    end_in_silence(out, out.frames(), 0.05);
    return out;
}
