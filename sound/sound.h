// The program's sound: one mixer of 16 voices on its own thread, music, collision sounds
// and samples played by name. Everything here runs on the main thread; only the mixing
// happens elsewhere.
//
// Start-up, in this order:
//   sound_register_creators(pak);   // "SAMP" chunks become w_sample objects (sound/sample.h)
//   sound_set_store(&pak);          // where names resolve (play_music, play_named, replays)
//   sound_start();                  // opens the audio device and starts mixing
//   load_collision_sounds();        // the "collision_sounds" block of the global script tree
//   sound_connect_world(&replay);   // the world's collision and ball-in-pot sounds, the replay
//
// Every loop then calls sound_tick() once per simulation step (1/180 s): it frees finished
// voices and runs the music's duck countdown. At shutdown: stop_music(), sound_stop(), before
// the resource system goes away (the mixing thread must not outlive the program's data).
//
// Handles: play and play_sample return a voice handle, 0 when nothing started (the sample is
// missing, all 16 voices are busy, or the sample already plays 4 times). Callers treat 0 as
// "no sound"; a handle goes stale when its voice ends, and then names no voice ever again.
// Volumes are linear (1 full level), pan runs from 0 (left only) through 0.5 (middle) to 1
// (right only).
#pragma once

#include "sound/mixer.h"

#include <cstdint>

class pak_system;
class v_replay;
class script_handle;

// --- Device and mixer ---------------------------------------------------------------

// Opens the default audio device at 44100 Hz, signed 16-bit stereo, and mixes on the
// device's thread with a 512-frame buffer (about 12 ms). Without a usable device (none on
// the machine, SDL_AUDIODRIVER=dummy, no sound server) it still succeeds: a thread of its
// own mixes at the same pace and drops the result, so voices play, end and free as usual.
// True; calling it again while started does nothing.
bool sound_start();
// Closes the device, joins the mixing thread, then closes every stream and frees every
// voice. True.
bool sound_stop();
// Whether a real device (not the silent fallback) is mixing.
bool sound_device_open();

// Once per simulation step of every loop: frees voices that ended or were stopped, and
// restores ducked music when its countdown runs out.
void sound_tick();

// Starts a sample: flags are sound_flag_loop and sound_flag_music (a music voice follows the
// music volume instead of the sound volume). Volume is held to [0.001, 1].
int32_t play(const ref_ptr<w_sample>& sample, float volume, float pan, int32_t flags);
// The same for a chunk reference: its w_sample is made first when none is alive.
int32_t play_sample(const ref_ptr<pak_chunkref>& chunk, float volume, float pan, int32_t flags);
// Fades a voice to `volume` over `seconds` (never faster than the whole range in 10 ms). A
// volume of 0 (or up to 0.001) holds the voice at 0.001, alive and in place; a negative
// volume fades it out and ends it. False when the handle names no voice.
bool set_volume(int32_t handle, float volume, float seconds);
// Silences a voice within 10 ms, fading it out rather than cutting it at a buffer edge; the
// tick after that frees it. False when the handle names no voice.
bool stop(int32_t handle);

// The two process-wide volumes, each in [0, 1] (other values are clamped). The mute switches
// of the settings set them to 0 or 1; muted voices go on playing and keep their place.
void set_sound_volume(float volume);
void set_music_volume(float volume);
float sound_volume();
float music_volume();

// The mixer itself (tests and benchmarks drive its `mix` directly).
sound_mixer& sound_global_mixer();

// --- Names and the replay -----------------------------------------------------------

// The resource system that sample names resolve through; null (the default) plays nothing
// by name. Names that do not resolve are reported once and then skipped.
void sound_set_store(pak_system* store);
pak_system* sound_store();
// The replay that play_named records into (it records only while a world records); null
// records nothing.
void sound_set_recorder(v_replay* replay);

// --- Music --------------------------------------------------------------------------

// Switches the music to the named sample, looping under the music volume. The same name
// again keeps the song playing where it is. A name that does not resolve leaves no music.
// While the music is ducked a new song starts at the ducked level and comes in when the
// duck's countdown ends.
void play_music(const char* name);
void stop_music();
// The music voice's handle, for fades; 0 without music.
int32_t music_handle();
// Ducks the music for a jingle: it fades to nothing over 0.2 s, staying in place, and comes
// back over 0.1 s once `seconds` have passed (counted by sound_tick). Ducking again before
// then holds it down until the later countdown ends.
void duck_music(float seconds);

// --- Collision sounds and named samples ---------------------------------------------

// Reads the "collision_sounds" block of the global script tree and fetches every sample it
// names through the store, once per name, holding them for the rest of the run:
//   collision_sounds { 1 { sample "sounds\Glass" priority 2.  4 "sounds\GlassPot" } ... }
// Class a's entry b names the sample of a collision between classes a and b (either order);
// without one, the class whose "priority" is higher plays its own "sample" (ties go to a).
void load_collision_sounds();
// The same from any block (tools, tests).
void load_collision_sounds(const script_handle& block);
// The sample for a collision of sound classes a and b, played by name at `volume`: true when
// a voice started.
bool play_collision_sound(float volume, int32_t class_a, int32_t class_b);
// Records the sound in the replay being recorded, then plays the named sample once in the
// middle under the sound volume: true when a voice started.
bool play_named(const char* name, float volume);
// A sound read back from a replay: played like play_named, without recording it.
void play_recorded(const char* name, float volume);

// Routes the world's sounds (collisions, the caught-ball jingle) to the functions above;
// with a replay, play_named records into it and its playback plays the recorded sounds.
void sound_connect_world(v_replay* replay);
// Undoes sound_connect_world: the world is silent again.
void sound_disconnect_world();
