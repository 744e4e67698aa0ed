// The tool's sound seam: the world's sounds go through the sound module as in the game.
// Collision sounds are chosen by the data's "collision_sounds" table and, like the caught-ball
// jingle, recorded into the replay while a world records; they are heard only where a mixer
// runs and samples can be found (tamble-sim view). Sounds played back from a replay are counted.
#pragma once

#include <cstdint>

class pak_system;

// Connects the world's sound seam and the program's replay to the sound module for as long
// as the guard lives.
class sim_sound_guard {
public:
    sim_sound_guard();
    ~sim_sound_guard();
    sim_sound_guard(const sim_sound_guard&) = delete;
    sim_sound_guard& operator=(const sim_sound_guard&) = delete;
};

// Reads the collision-sound table from the "INIT" chunks of `pak` (fetching its samples when
// the sound module resolves names through `pak`); an empty pak clears it.
void sim_load_sound_table(pak_system* pak);

// Sounds the program's replay has played back since the last reset.
int32_t sim_sounds_played();
void sim_reset_sounds_played();
