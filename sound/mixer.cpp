// The voice table and the mixing pass.
#include "sound/mixer.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The fastest any gain moves, per 1024 frames: the whole range in sound_declick_frames.
// Stopping uses it, so a stopped voice is silent within 10 ms but never jumps to silence.
constexpr float declick_rate = float(sound_rate_frames) / float(sound_declick_frames);

// Largest per-channel gain: with it a sample times the gain still fits 32 bits. Normal
// voices reach 768; only set_volume far above 1 comes near.
constexpr int32_t max_channel_gain = 32767;

float clamp01(float v)
{
    return v > 0.0f ? (v < 1.0f ? v : 1.0f) : 0.0f;  // NaN gives 0
}

int32_t channel_gain(float g)
{
    if (!(g > 0.0f))
        return 0;
    return g < float(max_channel_gain) ? int32_t(g) : max_channel_gain;
}

}  // namespace

sound_mixer::sound_mixer() : scratch(2 * sound_max_pass_frames), sum(2 * sound_max_pass_frames)
{
    for (int32_t i = 0; i < sound_voice_count; ++i)
        voices[i].next_free = i + 1 < sound_voice_count ? i + 1 : -1;
    free_head = 0;
}

sound_mixer::~sound_mixer()
{
    reset();
}

sound_voice* sound_mixer::find(int32_t handle)
{
    return const_cast<sound_voice*>(static_cast<const sound_mixer*>(this)->find(handle));
}

const sound_voice* sound_mixer::find(int32_t handle) const
{
    if (handle == 0)
        return nullptr;
    const sound_voice& v = voices[handle & (sound_voice_count - 1)];
    if (v.handle != handle || v.state.load(std::memory_order_acquire) == voice_free ||
        v.target.load(std::memory_order_relaxed) == 0.0f)
        return nullptr;
    return &v;
}

int32_t sound_mixer::play(const ref_ptr<w_sample>& sample, float volume, float pan, int32_t flags)
{
    if (!sample || free_head < 0)
        return 0;
    int32_t slot = free_head;
    sound_voice& v = voices[slot];
    int32_t stream = sample->open_stream();
    if (stream < 0)
        return 0;
    sample->refill(stream, sample_start_frames);
    free_head = v.next_free;
    v.next_free = -1;

    float target = volume < 1.0f ? (volume > 0.001f ? volume : 0.001f) : 1.0f;  // NaN gives 0.001
    v.target.store(target, std::memory_order_relaxed);
    v.gain = target;  // sounds start at full level, without a fade-in
    v.rate.store(sound_fade_rate, std::memory_order_relaxed);
    v.pan = clamp01(pan);
    v.flags = flags;
    v.position.store(0, std::memory_order_relaxed);
    v.stream = stream;
    v.handle = generation + slot;
    // Handles never repeat within a run and are never 0: the generation skips back to 16
    // before it would overflow.
    generation = generation <= std::numeric_limits<int32_t>::max() - 2 * sound_voice_count
                     ? generation + sound_voice_count
                     : sound_voice_count;
    v.sample = sample;
    v.source = sample.get();
    // Publishes everything above to the mixer thread.
    v.state.store(voice_playing, std::memory_order_release);
    return v.handle;
}

bool sound_mixer::set_volume(int32_t handle, float volume, float seconds)
{
    sound_voice* v = find(handle);
    if (!v)
        return false;
    float target = volume < 0.0f ? 0.0f : volume > 0.001f ? volume : 0.001f;
    float rate = seconds > 0.0f ? sound_fade_rate / seconds : declick_rate;
    if (!(rate > 0.0f) || rate > declick_rate)
        rate = declick_rate;
    v->rate.store(rate, std::memory_order_relaxed);
    v->target.store(target, std::memory_order_relaxed);
    return true;
}

bool sound_mixer::stop(int32_t handle)
{
    sound_voice* v = find(handle);
    if (!v)
        return false;
    v->rate.store(declick_rate, std::memory_order_relaxed);
    v->target.store(0.0f, std::memory_order_relaxed);
    return true;
}

bool sound_mixer::is_playing(int32_t handle) const
{
    const sound_voice* v = find(handle);
    return v && v->state.load(std::memory_order_acquire) == voice_playing;
}

int64_t sound_mixer::position_of(int32_t handle) const
{
    const sound_voice* v = find(handle);
    return v ? v->position.load(std::memory_order_relaxed) : -1;
}

void sound_mixer::free_voice(sound_voice& v)
{
    if (v.source)
        v.source->close_stream(v.stream);
    v.source = nullptr;
    v.stream = -1;
    v.sample.reset();
    v.gain = 0.0f;
    v.state.store(voice_free, std::memory_order_release);
}

void sound_mixer::tick()
{
    for (int32_t i = 0; i < sound_voice_count; ++i) {
        sound_voice& v = voices[i];
        // Acquire: everything the mixer did with the stream happened before it let go.
        if (v.state.load(std::memory_order_acquire) != voice_done)
            continue;
        free_voice(v);
        v.next_free = free_head;
        free_head = i;
    }
}

void sound_mixer::set_sound_volume(float v)
{
    sound_volume.store(clamp01(v), std::memory_order_relaxed);
}

void sound_mixer::set_music_volume(float v)
{
    music_volume.store(clamp01(v), std::memory_order_relaxed);
}

void sound_mixer::reset()
{
    for (sound_voice& v : voices)
        if (v.state.load(std::memory_order_acquire) != voice_free)
            free_voice(v);
    for (int32_t i = 0; i < sound_voice_count; ++i)
        voices[i].next_free = i + 1 < sound_voice_count ? i + 1 : -1;
    free_head = 0;
}

int32_t sound_mixer::busy_voices() const
{
    int32_t n = 0;
    for (const sound_voice& v : voices)
        n += v.state.load(std::memory_order_acquire) != voice_free;
    return n;
}

void sound_mixer::mix(int16_t* out, int32_t frames)
{
    while (frames > 0) {
        int32_t n = std::min(frames, sound_max_pass_frames);
        mix_pass(out, n);
        out += 2 * n;
        frames -= n;
    }
}

void sound_mixer::mix_pass(int16_t* out, int32_t frames)
{
    int32_t* acc = sum.data();
    std::fill(acc, acc + 2 * frames, 0);
    const float sound_v = sound_volume.load(std::memory_order_relaxed);
    const float music_v = music_volume.load(std::memory_order_relaxed);
    const float pass_share = float(frames) / float(sound_rate_frames);

    for (sound_voice& v : voices) {
        if (v.state.load(std::memory_order_acquire) != voice_playing)
            continue;
        int16_t* in = scratch.data();
        int32_t n = v.source->read(v.stream, frames, in, (v.flags & sound_flag_loop) != 0);
        v.position.store(v.position.load(std::memory_order_relaxed) + n, std::memory_order_relaxed);

        // The gain moves toward its target by at most one rate step per 1024 frames, frame by
        // frame, so that a fade (or a stop) is a ramp and not a step at the pass's edge.
        const float from = v.gain;
        const float target = v.target.load(std::memory_order_relaxed);
        const float rate = v.rate.load(std::memory_order_relaxed);
        const float step = rate * pass_share;
        if (target > v.gain + step)
            v.gain += step;
        else if (target < v.gain - step)
            v.gain -= step;
        else
            v.gain = target;

        const float volume = (v.flags & sound_flag_music) ? music_v : sound_v;
        if (v.gain != from) {
            add_ramp(v, in, n, from, target, rate / float(sound_rate_frames), volume);
        } else {
            int32_t left = channel_gain((1.0f - v.pan) * v.gain * volume * sound_master_scale);
            int32_t right = channel_gain(v.pan * v.gain * volume * sound_master_scale);
            if (left | right) {
                for (int32_t i = 0; i < n; ++i) {
                    acc[2 * i] += (int32_t(in[2 * i]) * left) >> 11;
                    acc[2 * i + 1] += (int32_t(in[2 * i + 1]) * right) >> 11;
                }
            }
        }
        // A sample that ended, or a voice faded to nothing, is handed back to the main
        // thread; the mixer never touches it again. A looping sample shorter than the pass
        // wraps once and leaves the rest of the pass silent, but plays on; it ends only when
        // it delivers nothing (an empty or damaged stream).
        bool ended = (v.flags & sound_flag_loop) ? n == 0 : n < frames;
        if (ended || v.gain == 0.0f) {
            v.gain = 0.0f;
            v.state.store(voice_done, std::memory_order_release);
        }
    }

    // Voices are summed in 32 bits and saturated once, at the final scale.
    for (int32_t i = 0; i < 2 * frames; ++i) {
        int32_t s = acc[i] * 8;
        out[i] = int16_t(s < -32768 ? -32768 : s > 32767 ? 32767 : s);
    }
    frames_mixed.fetch_add(uint64_t(frames), std::memory_order_relaxed);
}

void sound_mixer::add_ramp(const sound_voice& v, const int16_t* in, int32_t frames, float from, float to,
                           float per_frame, float volume)
{
    int32_t* acc = sum.data();
    const float left_share = (1.0f - v.pan) * volume * sound_master_scale;
    const float right_share = v.pan * volume * sound_master_scale;
    for (int32_t i = 0; i < frames; ++i) {
        float moved = per_frame * float(i + 1);
        float g = to > from ? std::min(from + moved, to) : std::max(from - moved, to);
        acc[2 * i] += (int32_t(in[2 * i]) * channel_gain(left_share * g)) >> 11;
        acc[2 * i + 1] += (int32_t(in[2 * i + 1]) * channel_gain(right_share * g)) >> 11;
    }
}

void sound_mixer::refill_streams()
{
    for (sound_voice& v : voices)
        if (v.state.load(std::memory_order_acquire) == voice_playing)
            v.source->refill(v.stream, sample_ahead_frames);
}
