// Material voices and impacts.
#include "tools/synth/effects/impacts.h"

#include "tools/synth/dsp/envelopes.h"
#include "tools/synth/dsp/filters.h"
#include "tools/synth/dsp/noise.h"
#include "tools/synth/dsp/reverb.h"

#include <algorithm>
#include <cmath>

const material_voice& glass_material()
{
    // A glass marble: tiny and stiff, so it clicks brightly and hardly rings.
    static const material_voice m = {
        "glass",  {{3150, 1.0f, 0.05f}, {4870, 0.6f, 0.04f}, {7320, 0.35f, 0.03f}, {10400, 0.18f, 0.02f}},
        0.00015f, 0.25f,
        6000.0,   0.006f};
    return m;
}

const material_voice& metal_material()
{
    static const material_voice m = {"metal",
                                     {{620, 1.0f, 0.55f},
                                      {1712, 0.55f, 0.34f},
                                      {3350, 0.35f, 0.2f},
                                      {5480, 0.2f, 0.12f},
                                      {8100, 0.1f, 0.06f}},
                                     0.0002f,
                                     0.15f,
                                     4000.0,
                                     0.01f};
    return m;
}

const material_voice& rubber_material()
{
    static const material_voice m = {"rubber", {{175, 1.0f, 0.12f}, {405, 0.3f, 0.06f}}, 0.003f, 0.1f, 600.0,
                                     0.02f};
    return m;
}

const material_voice& clay_material()
{
    // A glazed clay pot: a hollow, slightly bell-like tonk with the air inside under it.
    static const material_voice m = {"clay",
                                     {{230, 0.45f, 0.1f},
                                      {541, 1.0f, 0.22f},
                                      {1268, 0.6f, 0.14f},
                                      {2231, 0.32f, 0.09f},
                                      {3566, 0.18f, 0.05f}},
                                     0.0003f,
                                     0.15f,
                                     2500.0,
                                     0.012f};
    return m;
}

const material_voice& solid_wood_material()
{
    static const material_voice m = {
        "solid wood", {{382, 1.0f, 0.1f}, {1021, 0.6f, 0.065f}, {1869, 0.35f, 0.04f}, {2944, 0.18f, 0.025f}},
        0.0004f,      0.3f,
        1500.0,       0.02f};
    return m;
}

const material_voice& hollow_wood_material()
{
    // A crate: the air in the box booms under the panels' knock.
    static const material_voice m = {
        "hollow wood", {{166, 1.0f, 0.15f}, {471, 0.7f, 0.09f}, {883, 0.4f, 0.06f}, {1652, 0.22f, 0.04f}},
        0.0005f,       0.25f,
        1100.0,        0.025f};
    return m;
}

const material_voice& stone_material()
{
    // Stone hardly rings: a dull thud and a hard, short click.
    static const material_voice m = {
        "stone", {{118, 0.7f, 0.05f}, {1650, 0.35f, 0.03f}, {2910, 0.25f, 0.02f}, {4470, 0.12f, 0.012f}},
        0.0003f, 0.6f,
        1800.0,  0.018f};
    return m;
}

const material_voice& rope_material()
{
    static const material_voice m = {"rope", {{212, 0.3f, 0.05f}}, 0.004f, 0.8f, 380.0, 0.05f};
    return m;
}

const material_voice& soft_material()
{
    static const material_voice m = {"soft", {{300, 0.5f, 0.06f}, {760, 0.2f, 0.04f}}, 0.002f, 0.4f, 700.0,
                                     0.03f};
    return m;
}

namespace {

// A short, bright room: impacts sound as if in the workshop, not in a void.
stereo_buffer with_room(const mono_buffer& dry)
{
    stereo_buffer out;
    out.resize(dry.size() + seconds_to_frames(0.45));
    mix_into(out, 0, dry, 0.5f, 0.5f);
    reverb_settings room;
    room.seconds = 0.35f;
    room.damping = 6000.0f;
    room.predelay = 0.004f;
    room.size = 0.35f;
    stereo_buffer send;
    send.resize(dry.size());
    mix_into(send, 0, dry, 0.5f, 0.5f);
    add_reverb(send, room, 0.12f, out);
    return out;
}

void add_contact_noise(const material_voice& m, float level, float contact, uint32_t seed, mono_buffer& out)
{
    if (m.noise_level <= 0.0f)
        return;
    noise_source noise(seed);
    biquad band = biquad::bandpass(m.noise_freq, 0.9);
    size_t up = std::max<size_t>(4, seconds_to_frames(contact));
    size_t frames = up + seconds_to_frames(m.noise_decay * 1.5);
    if (out.size() < frames)
        out.resize(frames, 0.0f);
    double r = decay_factor(m.noise_decay);
    double amp = double(m.noise_level * level);
    for (size_t i = 0; i < frames; ++i) {
        if (i >= up)
            amp *= r;
        out[i] += float(amp) * smooth_ramp(i, up) * band.process(noise.white());
    }
}

}  // namespace

stereo_buffer impact(const material_voice& a, const material_voice& b, float weight_a, double detune,
                     uint32_t seed)
{
    float contact = std::max(a.contact, b.contact);
    mono_buffer dry;
    strike hit;
    hit.contact = contact;
    std::vector<resonator_mode> modes;
    for (resonator_mode m : b.modes) {
        m.freq *= detune;
        modes.push_back(m);
    }
    for (resonator_mode m : a.modes) {
        m.freq *= detune;
        m.amp *= weight_a;
        modes.push_back(m);
    }
    ring_modes(modes, hit, dry, 0);
    add_contact_noise(b, 1.0f, contact, seed, dry);
    add_contact_noise(a, weight_a, contact, seed_mix(seed, 7), dry);
    return with_room(dry);
}

stereo_buffer bumper_hit(uint32_t seed)
{
    mono_buffer dry(seconds_to_frames(0.5), 0.0f);
    double phase = 0.0;
    double r = decay_factor(0.22);
    double amp = 0.9;
    for (size_t i = 0; i < dry.size(); ++i) {
        double t = double(i) / synth_rate;
        double f = 150.0 + 150.0 * std::exp(-t / 0.03);
        phase += 2.0 * synth_pi * f / synth_rate;
        dry[i] = float(amp * std::sin(phase)) * smooth_ramp(i, 90);
        amp *= r;
    }
    // The coil spring behind the rubber ring rings on, thin and metallic.
    std::vector<resonator_mode> spring = {{947, 0.12f, 0.3f}, {2311, 0.06f, 0.2f}, {3870, 0.03f, 0.12f}};
    strike hit;
    hit.contact = 0.001f;
    ring_modes(spring, hit, dry, seconds_to_frames(0.004));
    add_contact_noise(rubber_material(), 1.0f, 0.003f, seed, dry);
    return with_room(dry);
}
