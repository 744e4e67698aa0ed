// Resonators: banks of damped modes for everything struck (mallets, bells, impacts of
// wood, glass, metal and stone), and a plucked string after Karplus and Strong.
#pragma once

#include "tools/synth/dsp/signal.h"

#include <cstdint>
#include <vector>

// One mode of a struck body: its frequency in Hz, its initial amplitude and the time
// in seconds in which it falls by 60 dB.
struct resonator_mode {
    double freq;
    float amp;
    float decay;
};

// How a body is struck. The contact lasts `contact` seconds: a soft mallet or a
// rubber ball touches longer and excites high modes less; its onset is a smooth ramp
// of that length, which keeps the attack free of clicks.
struct strike {
    float velocity = 1.0f;
    float contact = 0.0008f;
};

// Adds the ringing of `modes` into `out` from frame `at`; the buffer grows to hold the
// whole ring (down to -90 dB). Modes at or above 20 kHz are left out, so nothing
// aliases. `damp_after`, when positive, is a time in seconds after which every mode
// is damped quickly (a held note that is let go).
void ring_modes(const std::vector<resonator_mode>& modes, const strike& hit, mono_buffer& out, size_t at,
                float damp_after = -1.0f);

// The amplitude a strike of this contact time leaves on a mode of `freq` (1 for low
// frequencies, falling off above about 1 / (2 contact)).
float contact_response(double freq, float contact);

// A plucked string: a delay line one period long, tuned with an all-pass for the
// fraction of a sample, fed back through a gentle low-pass so that high harmonics die
// first. The pluck is a burst of noise, low-passed by `brightness` (0 dull .. 1 bright)
// and combed by the plucking position (0.5 plucks in the middle).
struct pluck_settings {
    double freq = 220.0;
    float decay = 2.0f;       // seconds to -60 dB for the fundamental
    float brightness = 0.5f;  // 0 .. 1
    float position = 0.2f;    // 0 .. 0.5 along the string
    float velocity = 1.0f;    // louder and brighter
    float gain = 1.0f;        // louder only
    float length = -1.0f;     // seconds before the string is damped; negative rings out
    uint32_t seed = 1;
};
void pluck_string(const pluck_settings& settings, mono_buffer& out, size_t at);
