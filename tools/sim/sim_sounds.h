// The tool's sound seam: no audio, but named samples (the caught-ball jingle) are
// recorded into the replay while a world records, as the game's sound layer does, and
// sounds played back from a replay are counted.
#pragma once

#include "physics/sound_hooks.h"

#include <cstdint>

class sim_sound_hooks : public v_sound_hooks {
public:
    int32_t named = 0;

    bool play_named(const char* name, float volume) override;
};

// Installs the hooks for as long as the guard lives, with the replay's playback counter.
class sim_sound_guard {
public:
    sim_sound_hooks hooks;
    sim_sound_guard();
    ~sim_sound_guard();
    sim_sound_guard(const sim_sound_guard&) = delete;
    sim_sound_guard& operator=(const sim_sound_guard&) = delete;
};

// Sounds the program's replay has played back since the last reset.
int32_t sim_sounds_played();
void sim_reset_sounds_played();
