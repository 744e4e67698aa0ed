// The music's part of the sound tick (the rest of the music interface is in sound/sound.h).
#pragma once

// Counts the duck countdown down by one step and brings the music back when it ends.
void music_tick();
