// Every sample the game plays: its resource name, what kind of sound it is, how it is
// rendered, the level it is brought to and the codec settings it is packed with.
#pragma once

#include "tools/synth/dsp/signal.h"
#include "tools/synth/music/score.h"

#include <functional>
#include <string>
#include <vector>

enum class sample_kind { interface, collision, jingle, music };

struct codec_settings {
    int block = 512;  // the codec's N
    int step = 28;    // the codec's Q
};

struct sample_entry {
    const char* name;  // "sounds\Rollover1"
    sample_kind kind;
    std::function<stereo_buffer()> render;
    const song_spec* song = nullptr;  // for jingles and music
};

const std::vector<sample_entry>& sample_catalogue();
const char* kind_name(sample_kind kind);

// Where each kind is levelled, in LUFS: integrated loudness for music and jingles,
// the loudest 100 ms for the short effects.
double loudness_target(sample_kind kind);
// The highest peak each kind may reach, in dBFS: a short effect that would peak
// higher at its loudness target is turned down to it; music and jingles are limited.
double peak_ceiling(sample_kind kind);
// The codec settings each kind is packed with.
codec_settings codec_for(sample_kind kind);

// "sounds\Rollover1" -> "sounds/Rollover1.wav", relative to a generated root.
std::string wav_path_of(const char* name);

// Renders a sample and brings it to its level. False with a message when a score
// cannot be read.
bool render_sample(const sample_entry& entry, stereo_buffer& out, std::string& error);
