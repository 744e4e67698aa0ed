// The audio device under the mixer (sound_start and sound_stop are declared in
// sound/sound.h). This header adds what tests and benchmarks need to watch it.
#pragma once

#include <cstdint>

// Frames the device asks for per call: 512 (11.6 ms), so a sound started on the main
// thread is mixed at the latest one buffer later and reaches the speaker well within 50 ms.
constexpr int32_t sound_device_frames = 512;

// Called on the mixing thread with every buffer the mixer has just produced, before it goes
// to the device (null: none). For measuring latency; it must be quick.
using sound_tap_fn = void (*)(const int16_t* frames, int32_t count);
void sound_set_tap(sound_tap_fn tap);
