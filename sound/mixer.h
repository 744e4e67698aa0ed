// The software mixer: 16 voices, each playing one stream of a sample with its own gain,
// fade and pan, summed into interleaved 16-bit stereo at 44100 frames per second.
//
// Two threads share it. The main thread starts, fades and stops voices and, once per
// simulation step, frees the voices that have fallen silent (`tick`). The mixer thread
// mixes (`mix`) and then decodes ahead (`refill_streams`). A voice belongs to one thread
// at a time, handed over through its atomic `state`:
//   free    -> main thread: play fills every field, then publishes it as playing;
//   playing -> mixer thread: only it reads and refills the stream and moves the gain;
//              the main thread may only change the target and the rate;
//   done    -> main thread: the mixer set it after the voice's last pass (its sample
//              ended, or its gain reached 0) and never touches it again; tick closes
//              the stream and returns the voice to the free list.
// So a stream is never read or refilled after the main thread has closed it, and a
// voice the mixer sees playing is complete.
#pragma once

#include "sound/sample.h"

#include <atomic>
#include <cstdint>
#include <vector>

constexpr int32_t sound_rate = 44100;
constexpr int32_t sound_voice_count = 16;

// Voice flags.
enum : int32_t {
    sound_flag_loop = 1,   // the sample starts again at its end
    sound_flag_music = 2,  // scaled by the music volume instead of the sound volume
};

// The largest change of a voice's gain per 1024 frames mixed: a fade of the whole range
// takes one second at this rate, and `seconds` seconds at rate / seconds.
constexpr float sound_fade_rate = 1024.0f / 44100.0f;
// Frames over which a voice's gain moves by its rate. Passes of other lengths move it in
// proportion, so a fade lasts as long whatever buffer the device asks for.
constexpr int32_t sound_rate_frames = 1024;
// Fixed scale of every voice: at full gain in the middle a voice reaches each channel at
// 384/2048 x 8 = 1.5 times its recorded level.
constexpr float sound_master_scale = 768.0f;
// No gain moves faster than the whole range in this many frames (10 ms): a voice stopped or
// switched fades out over them instead of jumping to silence at a buffer edge.
constexpr int32_t sound_declick_frames = 441;
// Longest piece `mix` handles in one go; longer requests are mixed piece by piece.
constexpr int32_t sound_max_pass_frames = 4096;

enum : int32_t { voice_free = 0, voice_playing = 1, voice_done = 2 };

struct sound_voice {
    std::atomic<int32_t> state{voice_free};
    // Main thread only.
    int32_t handle = 0;
    ref_ptr<w_sample> sample;  // keeps the sample alive while the voice has it
    int32_t next_free = -1;
    // Set by play before the voice is published; read by the mixer while it plays.
    w_sample* source = nullptr;
    int32_t stream = -1;
    int32_t flags = 0;
    float pan = 0.5f;
    // The mixer's while playing.
    float gain = 0.0f;
    // Changed by the main thread while the mixer uses them.
    std::atomic<float> target{0.0f};
    std::atomic<float> rate{0.0f};
    // Frames played so far: 64 bits, since one looping voice passes 2^31 frames in 13.5 hours.
    std::atomic<int64_t> position{0};
};

class sound_mixer {
public:
    sound_voice voices[sound_voice_count];
    int32_t free_head = 0;
    int32_t generation = 16;
    std::atomic<float> sound_volume{1.0f};
    std::atomic<float> music_volume{1.0f};
    std::atomic<uint64_t> frames_mixed{0};

    sound_mixer();
    ~sound_mixer();
    sound_mixer(const sound_mixer&) = delete;
    sound_mixer& operator=(const sound_mixer&) = delete;

    // Main thread.
    // Starts a voice at full level (volume held to [0.001, 1], pan to [0, 1]): its handle,
    // or 0 when the sample is missing or unplayable, all 16 voices are busy or the sample
    // already plays 4 times. There is no stealing.
    int32_t play(const ref_ptr<w_sample>& sample, float volume, float pan, int32_t flags);
    // Fades a voice toward `volume` over `seconds`, but never faster than the whole range in
    // sound_declick_frames (a negative volume fades it out and ends it; volumes up to 0.001
    // hold it at 0.001, alive). False when the handle names
    // no voice: never issued, already freed, or being stopped.
    bool set_volume(int32_t handle, float volume, float seconds);
    // Silences a voice within sound_declick_frames (the next pass of the device); the tick
    // after that frees it.
    bool stop(int32_t handle);
    // Whether a handle names a voice that plays and is not being stopped.
    bool is_playing(int32_t handle) const;
    // Frames a voice has played, or -1 for a handle that names no voice.
    int64_t position_of(int32_t handle) const;
    // Frees the voices the mixer has finished with. Once per simulation step.
    void tick();
    void set_sound_volume(float v);
    void set_music_volume(float v);
    // Closes every stream and frees every voice: only once no thread mixes any more.
    void reset();
    // Voices not free (playing, or done and waiting for the tick).
    int32_t busy_voices() const;

    // Mixer thread.
    void mix(int16_t* out, int32_t frames);
    void refill_streams();

private:
    sound_voice* find(int32_t handle);
    const sound_voice* find(int32_t handle) const;
    void mix_pass(int16_t* out, int32_t frames);
    // Adds one voice's frames to the sums while its gain moves from `from` toward `to`
    // by `per_frame` each frame.
    void add_ramp(const sound_voice& v, const int16_t* in, int32_t frames, float from, float to,
                  float per_frame, float volume);
    void free_voice(sound_voice& v);

    std::vector<int16_t> scratch;  // one voice's frames of a pass
    std::vector<int32_t> sum;      // the pass's 32-bit sums
};
