// The mixer on SDL's audio devices: without any device it still mixes (silently), on the
// dummy driver it runs on the device's thread, and through the disk driver the written
// stream holds a played sample at its designed level, starting within the latency bound.
#include "sound/device/audio_device.h"
#include "sound/sound.h"
#include "tests/sound/sound_test_util.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

using clock_type = std::chrono::steady_clock;

bool freed(int32_t handle)
{
    const sound_voice& v = sound_global_mixer().voices[handle & (sound_voice_count - 1)];
    return v.handle != handle || v.state.load() == voice_free;
}

// Plays a short sample through the program's mixer and ticks until its voice is freed (the
// mixer must be running for that). False after `limit` of waiting.
bool play_until_freed(const ref_ptr<w_sample>& s, std::chrono::seconds limit = std::chrono::seconds(10))
{
    int32_t h = play(s, 1.0f, 0.5f, 0);
    if (!h)
        return false;
    auto end = clock_type::now() + limit;
    while (!freed(h) && clock_type::now() < end) {
        sound_tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return freed(h);
}

bool have_driver(const char* name)
{
    for (int i = 0; i < SDL_GetNumAudioDrivers(); ++i)
        if (std::string(SDL_GetAudioDriver(i)) == name)
            return true;
    return false;
}

// Without the driver a test cannot run here; in CI that is a failure, not a skip.
#define REQUIRE_DRIVER(name)                                                                                 \
    if (!have_driver(name)) {                                                                                \
        if (std::getenv("CI"))                                                                               \
            FAIL() << "SDL has no '" name "' audio driver";                                                  \
        GTEST_SKIP() << "SDL has no '" name "' audio driver";                                                \
    }

// Where the first frame above the noise floor lies in a buffer handed to the device,
// counted in frames mixed since start.
std::atomic<int64_t> first_loud{-1};

void watch_for_sound(const int16_t* frames, int32_t count)
{
    int64_t start = int64_t(sound_global_mixer().frames_mixed.load()) - count;
    if (first_loud.load() >= 0)
        return;
    for (int32_t i = 0; i < 2 * count; ++i)
        if (frames[i] != 0) {
            first_loud = start + i / 2;
            return;
        }
}

}  // namespace

TEST(audio_device, without_any_device_the_mixer_runs_silently)
{
    setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
    ASSERT_TRUE(sound_start());
    EXPECT_FALSE(sound_device_open());
    EXPECT_TRUE(play_until_freed(test_sample(test_tone(4410, 440.0, 0.3))));
    EXPECT_TRUE(sound_stop());
    // Started again it runs again.
    ASSERT_TRUE(sound_start());
    EXPECT_TRUE(play_until_freed(test_sample(test_tone(441, 440.0, 0.3))));
    EXPECT_TRUE(sound_stop());
}

TEST(audio_device, the_dummy_driver_mixes_on_the_device_thread)
{
    REQUIRE_DRIVER("dummy");
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    ASSERT_TRUE(sound_start());
    EXPECT_TRUE(sound_device_open());
    ref_ptr<w_sample> s = test_sample(test_tone(4410, 440.0, 0.3));
    int32_t looping = play(s, 1.0f, 0.5f, sound_flag_loop);
    EXPECT_NE(looping, 0);
    EXPECT_TRUE(play_until_freed(test_sample(test_tone(2205, 440.0, 0.3))));
    EXPECT_TRUE(sound_global_mixer().is_playing(looping));
    // Stopping the device frees everything, the looping voice included.
    EXPECT_TRUE(sound_stop());
    EXPECT_EQ(sound_global_mixer().busy_voices(), 0);
    EXPECT_FALSE(s->streams[0].open);
}

TEST(audio_device, the_disk_driver_writes_the_sample_at_its_level_within_the_latency_bound)
{
    REQUIRE_DRIVER("disk");
    std::string path =
        (std::filesystem::temp_directory_path() / ("tamble_disk_audio_" + std::to_string(getpid()) + ".raw"))
            .string();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    ref_ptr<w_sample> s = test_sample(test_tone(8820, 1000.0, 0.4, 0.5));
    std::vector<int16_t> pcm = decoded_frames(*s);

    first_loud = -1;
    sound_set_tap(watch_for_sound);
    ASSERT_TRUE(sound_start());
    ASSERT_TRUE(sound_device_open());
    std::this_thread::sleep_for(std::chrono::milliseconds(60));  // the device is running
    int64_t before = int64_t(sound_global_mixer().frames_mixed.load());
    ASSERT_NE(play(s, 1.0f, 0.5f, 0), 0);
    int64_t played_at = int64_t(sound_global_mixer().frames_mixed.load());
    auto end = clock_type::now() + std::chrono::seconds(10);
    while ((first_loud.load() < 0 || sound_global_mixer().busy_voices() > 0) && clock_type::now() < end) {
        sound_tick();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    sound_stop();
    sound_set_tap(nullptr);

    // The sample reached the device in the pass under way when play returned or the one after
    // it: at most two buffers (23 ms) of mixed frames later. (Counted from after the call, so
    // that the main thread being descheduled around it does not count.)
    ASSERT_GE(first_loud.load(), before);
    EXPECT_LE(first_loud.load() - played_at, 2 * sound_device_frames);

    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::remove(path.c_str());
    size_t frames = bytes.size() / 4;
    const int16_t* written = reinterpret_cast<const int16_t*>(bytes.data());
    // The sample's own first audible frame tells where it starts in the file.
    size_t n = pcm.size() / 2;
    std::vector<int16_t> expected(pcm.size());
    for (size_t i = 0; i < pcm.size(); ++i)
        expected[i] = final_sample(scaled(pcm[i], 384));  // 1.5 times the recorded level
    size_t lead = 0;
    while (lead < n && expected[2 * lead] == 0 && expected[2 * lead + 1] == 0)
        ++lead;
    size_t onset = 0;
    while (onset < frames && written[2 * onset] == 0 && written[2 * onset + 1] == 0)
        ++onset;
    ASSERT_GE(onset, lead);
    onset -= lead;
    ASSERT_LT(onset + n, frames) << "the stream ends before the sample does";
    for (size_t i = 0; i < 2 * n; ++i)
        ASSERT_EQ(written[2 * onset + i], expected[i]) << i;
    for (size_t f = onset + n; f < frames; ++f)
        ASSERT_EQ(written[2 * f], 0);
    int peak = 0;
    for (size_t f = 0; f < n; ++f)
        peak = std::max(peak, std::abs(int(written[2 * (onset + f)])));
    EXPECT_NEAR(peak, 0.4 * 32767 * 1.5, 0.1 * 32767);
}
