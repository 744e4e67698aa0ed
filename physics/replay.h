// The replay recorder and player: every ninth world step of a recording world (mode 2)
// becomes a keyframe of node positions, body states, cut flags and the sounds played since
// the previous keyframe; a playback world (mode 1) follows the keyframes instead of
// simulating, interpolating between the two newest. One recorder/player serves the whole
// program (v_replay_global); tests may make their own.
//
// Recording and playback count differently on purpose: recording takes a keyframe every 9
// steps (phases 0 to 8), while playback spends 10 steps on each pair of keyframes (phases 0
// to 9 with the weight phase / 9, so phase 9 shows the newer frame exactly and phase 0 of
// the next pair shows it again). A replay therefore plays a tenth slower than it was
// recorded, each keyframe held for two steps; the cut events and the end of every stored
// replay are timed by this count, so it stays.
#pragma once

#include "physics/replay_format.h"
#include "physics/vec2.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The counts of the world a replay drives; a replay whose frames disagree is refused.
struct v_replay_counts {
    size_t nodes = 0;  // loaded free nodes plus every rope's intermediate nodes
    size_t bodies = 0;
    size_t cuts = 0;  // one per constraint
};

// Plays a recorded sound during playback (the sound layer installs it; null plays nothing).
using v_replay_sound_fn = void (*)(const char* name, float volume);

class v_replay {
public:
    int32_t phase = 0;               // 0 ... 9; frames are written or read when it wraps
    bool ended_flag = false;         // playback ran out of frames
    uint32_t read_pos = 0;           // byte position in `stream` during playback
    std::vector<std::string> names;  // sample names, first use first
    std::unordered_map<std::string, uint16_t> name_index;
    replay_frame current, previous;
    std::vector<uint8_t> stream;  // recorded frames, or the whole replay during playback
    bool overflowed = false;      // a frame was too large to record; the recording is void
    uint32_t frames = 0;          // frames written (recording) or read (playback)
    bool recording = false;       // a mode-2 world is recording: sounds are collected
    bool has_expected = false;    // playback: frames must match `expected`
    v_replay_counts expected;
    v_replay_sound_fn play_sound = nullptr;

    // Forgets everything; a world runs this when it is constructed.
    void init();

    // Recording. The element hooks act only on a keyframe step (phase 0); end_step closes
    // each step. record_sound collects at every phase, but only while `recording`: the
    // sounds of ordinary play and of playback must not pile up in the program's replay.
    void record_node(vec2 position);
    void record_body(vec2 position, float angle);
    void record_cut(bool cut);
    void record_sound(const char* name, float volume);
    void end_step();

    // The replay file: the chunk-file header word, the name table, the frames. Nothing is
    // written (false) when nothing was recorded or the recording overflowed.
    bool save(const char* path) const;
    // The replay's bytes as they appear inside a chunk: name table, then frames.
    std::vector<uint8_t> chunk_bytes() const;

    // Starts playback of chunk bytes: reads the name table and primes two frames. Fails
    // (and sets ended) when the data holds fewer than two frames or, when `counts` is given,
    // its frames do not fit a world of those counts.
    bool load(const uint8_t* data, size_t size, const v_replay_counts* counts = nullptr);

    // Playback state of element i, interpolated between the two newest frames.
    vec2 node(size_t i) const;
    void body(size_t i, vec2& position, float& angle) const;
    bool cut(size_t i) const;
    // One playback step; reads and sounds the next frame every tenth call. False once the
    // data has run out (ended is then set).
    bool advance();
    bool ended() const { return ended_flag; }

private:
    bool read_next_frame();
};

// The program's one recorder/player.
v_replay& v_replay_global();

// Reads a replay chunk file ("*_r.RPLY.pkc", stored or zlib-compressed) into its chunk bytes.
bool v_replay_read_file(const char* path, std::vector<uint8_t>& out);
