// Plays a scene sequence (game/scene_sequence.h) in the window: the scenes' worlds, all built
// before the first frame, run one after another, each fading in from black and out again;
// a left click in the middle of a scene skips to its fade-out. Keys are ignored.
#pragma once

#include "data/script_handle.h"

#include <cstdint>

// Plays the sequence block ("startup", "ending" or "exit" of the global script tree) and
// returns 0 when it is over (or at once for a sequence without scenes).
int32_t play_scene_sequence(const script_handle& block);
