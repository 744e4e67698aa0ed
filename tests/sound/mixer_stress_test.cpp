// The two threads together: a mixing thread runs pass after pass while the main thread
// plays, fades, stops and ticks thousands of times. Run under ThreadSanitizer (make tsan)
// it proves the hand-over of voices race-free; in every build it checks that every stream
// is closed and every voice free at the end.
#include "sound/mixer.h"
#include "tests/sound/sound_test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <random>
#include <thread>

TEST(mixer_threads, main_thread_plays_fades_stops_and_ticks_while_the_mixer_mixes)
{
    sound_mixer m;
    std::vector<ref_ptr<w_sample>> samples = {
        test_sample(test_tone(90, 900.0, 0.5)),    // ends within a pass
        test_sample(test_tone(700, 600.0, 0.5)),   // a few passes
        test_sample(test_tone(6000, 300.0, 0.5)),  // longer than the decoded-ahead part
        test_sample(test_tone(300, 1200.0, 0.5)),  // played looping too
    };
    std::atomic<bool> quit{false};
    std::atomic<int64_t> passes{0};
    std::thread mixer([&] {
        std::vector<int16_t> out(2 * 256);
        while (!quit.load(std::memory_order_relaxed)) {
            m.mix(out.data(), 64 + int32_t(passes.load(std::memory_order_relaxed) % 3) * 96);
            m.refill_streams();
            passes.fetch_add(1, std::memory_order_relaxed);
        }
    });

    std::mt19937 random(1234);
    std::vector<int32_t> handles;
    int started = 0;
    for (int i = 0; i < 10000; ++i) {
        switch (random() % 6) {
        case 0:
        case 1: {
            const ref_ptr<w_sample>& s = samples[random() % samples.size()];
            int32_t flags = int32_t(random() % 4);
            int32_t h = m.play(s, 0.1f + float(random() % 10) / 10.0f, float(random() % 3) / 2.0f, flags);
            if (h) {
                handles.push_back(h);
                ++started;
            }
            break;
        }
        case 2:
            // Any voice's current handle, or an old one that may be stale by now.
            m.set_volume(random() % 2      ? m.voices[random() % sound_voice_count].handle
                         : handles.empty() ? 0
                                           : handles[random() % handles.size()],
                         float(int(random() % 5) - 1) / 3.0f, float(random() % 4) / 20.0f);
            break;
        case 3:
            m.stop(random() % 2      ? m.voices[random() % sound_voice_count].handle
                   : handles.empty() ? 0
                                     : handles[random() % handles.size()]);
            break;
        case 4:
            m.set_music_volume(float(random() % 2));
            break;
        default:
            m.tick();
            break;
        }
        if (handles.size() > 64)
            handles.erase(handles.begin(), handles.begin() + 32);
        // Every few calls the mixer gets a pass in, so that voices end and free while the
        // calls go on, as they do in the game (one step per 1/180 s, one pass per 12 ms).
        if (i % 32 == 0) {
            int64_t seen = passes.load(std::memory_order_relaxed);
            while (passes.load(std::memory_order_relaxed) == seen)
                std::this_thread::yield();
        }
    }
    // Stop whatever still plays (looping voices never end by themselves; voices fading out
    // end when their fade does) and let the mixer finish them.
    for (int round = 0; round < 100000 && m.busy_voices() > 0; ++round) {
        for (const sound_voice& v : m.voices)
            m.stop(v.handle);
        m.tick();
        std::this_thread::yield();
    }
    quit = true;
    mixer.join();
    m.tick();

    EXPECT_GT(started, 200);
    EXPECT_GT(passes.load(), 400);
    for (const sound_voice& v : m.voices) {
        if (v.state.load() != voice_free) {
            ADD_FAILURE() << "voice " << v.handle << " still busy";
        }
    }
    for (const ref_ptr<w_sample>& s : samples)
        for (const w_sample::sample_stream& st : s->streams)
            EXPECT_FALSE(st.open || st.decoder);
}
