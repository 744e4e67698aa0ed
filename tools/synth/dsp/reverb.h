// A small room: a feedback delay network of eight lines mixed by a Hadamard matrix,
// each line losing its highs a little on every pass, after two all-pass diffusers
// and a short pre-delay. Linear and time-invariant, so a song's loop can be folded
// after the reverb without a seam.
#pragma once

#include "tools/synth/dsp/signal.h"

struct reverb_settings {
    float seconds = 1.6f;     // time to -60 dB at low frequencies
    float damping = 5000.0f;  // where the per-pass low-pass starts to cut, Hz
    float predelay = 0.018f;  // seconds
    float size = 1.0f;        // scales the delay lengths
};

// Adds the reverberation of `send` into `out`, scaled by `wet`. `out` must already be
// long enough for the tail it should keep; whatever rings past its end is dropped.
void add_reverb(const stereo_buffer& send, const reverb_settings& settings, float wet, stereo_buffer& out);
