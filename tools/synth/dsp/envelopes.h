// Envelopes: an attack-decay-sustain-release generator for held notes and helpers for
// the shapes of struck and plucked sounds.
#pragma once

#include "tools/synth/dsp/signal.h"

#include <cstddef>

// Linear attack, then exponential decay towards the sustain level, exponential
// release after the gate closes. Times in seconds; the decay and release times are
// time constants (the level moves 63 % of the way in that time).
class adsr_envelope {
public:
    adsr_envelope(float attack, float decay, float sustain, float release);

    void release_now();
    float next();
    bool finished() const { return released && level < 1e-5f; }

private:
    float attack_step;
    float decay_coef, sustain, release_coef;
    float level = 0.0f;
    bool attacking = true;
    bool released = false;
};

// A smooth fade over `frames` samples: 0 at the start, 1 at the end (raised cosine).
float smooth_ramp(size_t i, size_t frames);
// The per-sample factor of an exponential decay reaching -60 dB after `seconds`.
double decay_factor(double seconds);

// Cuts what has died away below -80 dB after frame `keep`, then fades the last
// `fade_seconds` smoothly to zero, so that a one-shot sound ends in silence.
void end_in_silence(stereo_buffer& buffer, size_t keep, double fade_seconds);
