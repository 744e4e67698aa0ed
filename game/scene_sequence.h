// Scene sequences: the unattended levels that play at start-up, at the ending and at exit,
// each fading in from black and out again, with a click skipping to a scene's fade-out.
// A sequence is a top-level block of the global script tree:
//
//   startup { song "music\title"
//             0 { level "levels\Intro_Workshop" time 6. }
//             1 { level "levels\Title" time 8. } }
//   ending  { ... exit 0 }          non-zero: the game quits after the ending
//   exit    { ... }
//
// This is the logic; game/screens/scene_player.h runs it in a window.
#pragma once

#include "app/step.h"
#include "data/script_handle.h"

#include <cstdint>
#include <string>
#include <vector>

struct scene_entry {
    std::string level;  // level block name in the global script tree
    int32_t steps = 0;  // truncate(time x 180)
};

struct scene_sequence {
    std::string song;  // empty: the music goes on as it is
    std::vector<scene_entry> scenes;
};

// The entries 0, 1, 2... up to the first missing index.
scene_sequence read_scene_sequence(const script_handle& block);

// Steps one scene faded in and out over.
constexpr int32_t scene_fade_steps = steps_per_second;

class scene_sequence_logic {
public:
    std::vector<int32_t> steps;  // of each scene
    size_t scene = 0;
    int32_t counter = 0;

    explicit scene_sequence_logic(std::vector<int32_t> scene_steps);
    bool done() const { return scene >= steps.size(); }
    // One step of the current scene; true when it moved on to the next scene (or ended).
    bool step();
    // The brightness of the current scene: fading in over its first second and out over
    // its last; a scene shorter than a second only fades in.
    float brightness() const;
    // A mouse event (flags of app/input_codes.h): a left press skips from the middle of a
    // scene to its fade-out (from a fade-in, to the point of the fade-out with the same
    // brightness). True when it skipped.
    bool press(uint32_t mouse_flags);
};
