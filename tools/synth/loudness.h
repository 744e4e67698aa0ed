// Loudness after EBU R128 (through libebur128) and the other level measures the
// generator aims its samples at.
#pragma once

#include "tools/synth/dsp/signal.h"

#include <cstddef>
#include <cstdint>

// Integrated loudness in LUFS of interleaved stereo frames at 44100 Hz; -70 or below
// for silence. `float` samples are full scale at 1.0, 16-bit ones at 32768.
double integrated_loudness(const float* interleaved, size_t frames);
double integrated_loudness(const int16_t* interleaved, size_t frames);
double integrated_loudness(const stereo_buffer& buffer);
// The loudest 100 ms of a short sound, in LUFS: the level that short effects are
// matched by (integrated loudness needs 400 ms blocks and gates short sounds away).
double short_loudness(const stereo_buffer& buffer);
