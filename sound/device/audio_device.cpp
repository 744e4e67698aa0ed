// The mixer on an SDL audio device: 44100 Hz, signed 16-bit stereo, mixed on the device's
// callback thread. Without a device a thread of our own mixes at the same pace into a
// buffer nobody hears, so the rest of the program behaves the same with or without sound.
#include "sound/device/audio_device.h"

#include "app/log.h"
#include "sound/sound.h"

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

struct device_state {
    bool started = false;
    bool audio_subsystem = false;
    SDL_AudioDeviceID device = 0;
    std::thread silent;
    std::mutex lock;
    std::condition_variable wake;
    bool quit = false;
};

device_state& state()
{
    static device_state s;
    return s;
}

std::atomic<sound_tap_fn> tap{nullptr};

void mix_buffer(int16_t* out, int32_t frames)
{
    sound_mixer& mixer = sound_global_mixer();
    mixer.mix(out, frames);
    if (sound_tap_fn t = tap.load(std::memory_order_acquire))
        t(out, frames);
    // Decoding ahead comes after the buffer is ready, so it never delays the device.
    mixer.refill_streams();
}

void SDLCALL device_callback(void*, Uint8* stream, int bytes)
{
    mix_buffer(reinterpret_cast<int16_t*>(stream), bytes / 4);
}

// The silent stand-in for a device: one buffer per buffer time, on a steady clock, until
// sound_stop wakes it to end.
void silent_loop()
{
    device_state& s = state();
    std::vector<int16_t> buffer(2 * size_t(sound_device_frames));
    const auto period = std::chrono::nanoseconds(int64_t(sound_device_frames) * 1000000000 / sound_rate);
    auto next = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> hold(s.lock);
    while (!s.quit) {
        hold.unlock();
        mix_buffer(buffer.data(), sound_device_frames);
        hold.lock();
        next += period;
        s.wake.wait_until(hold, next, [&] { return s.quit; });
    }
}

bool open_device(device_state& s)
{
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        log_line(log_problem) << "sound: no audio (" << SDL_GetError() << "); mixing silently";
        return false;
    }
    s.audio_subsystem = true;
    SDL_AudioSpec want{};
    want.freq = sound_rate;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = uint16_t(sound_device_frames);
    want.callback = device_callback;
    // No changes allowed: SDL converts whatever the hardware takes, and the callback always
    // gets exactly sound_device_frames frames of our format.
    SDL_AudioSpec have{};
    s.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (!s.device) {
        log_line(log_problem) << "sound: cannot open an audio device (" << SDL_GetError() << "); mixing silently";
        return false;
    }
    SDL_PauseAudioDevice(s.device, 0);
    return true;
}

}  // namespace

bool sound_start()
{
    device_state& s = state();
    if (s.started)
        return true;
    s.started = true;
    if (!open_device(s)) {
        s.quit = false;
        s.silent = std::thread(silent_loop);
    }
    return true;
}

bool sound_stop()
{
    device_state& s = state();
    if (!s.started)
        return true;
    // Closing the device ends and joins its callback thread; no buffer is mixed after it.
    if (s.device) {
        SDL_CloseAudioDevice(s.device);
        s.device = 0;
    }
    if (s.silent.joinable()) {
        {
            std::lock_guard<std::mutex> hold(s.lock);
            s.quit = true;
        }
        s.wake.notify_all();
        s.silent.join();
    }
    if (s.audio_subsystem) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        s.audio_subsystem = false;
    }
    sound_global_mixer().reset();
    s.started = false;
    return true;
}

bool sound_device_open()
{
    return state().device != 0;
}

void sound_set_tap(sound_tap_fn t)
{
    tap.store(t, std::memory_order_release);
}
