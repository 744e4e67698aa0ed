// The mixer driven directly, one pass at a time: voice limits and handles, ends and loops,
// fades, volumes, and the levels of the sum checked against the decoded frames.
#include "sound/mixer.h"
#include "tests/alloc_probe.h"
#include "tests/sound/sound_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

struct mixed {
    std::vector<int16_t> out;
    explicit mixed(sound_mixer& m, int32_t frames) : out(2 * size_t(frames), 1234)
    {
        m.mix(out.data(), frames);
    }
    int16_t left(size_t f) const { return out[2 * f]; }
    int16_t right(size_t f) const { return out[2 * f + 1]; }
    bool silent_from(size_t f) const
    {
        return std::all_of(out.begin() + std::ptrdiff_t(2 * f), out.end(), [](int16_t s) { return s == 0; });
    }
};

const sound_voice& voice_of(const sound_mixer& m, int32_t handle)
{
    return m.voices[handle & (sound_voice_count - 1)];
}

}  // namespace

TEST(mixer, seventeenth_sound_and_fifth_play_of_a_sample_are_refused)
{
    sound_mixer m;
    std::vector<ref_ptr<w_sample>> samples;
    std::vector<int32_t> handles;
    for (int s = 0; s < 4; ++s) {
        samples.push_back(test_sample(test_tone(20000, 300.0 + 100 * s, 0.2)));
        for (int i = 0; i < 4; ++i)
            handles.push_back(m.play(samples.back(), 1.0f, 0.5f, 0));
    }
    for (int32_t h : handles)
        EXPECT_NE(h, 0);
    // All four streams of the first sample are taken...
    EXPECT_EQ(m.play(samples[0], 1.0f, 0.5f, 0), 0);
    // ... and every voice.
    ref_ptr<w_sample> fifth = test_sample(test_tone(20000, 800.0, 0.2));
    EXPECT_EQ(m.play(fifth, 1.0f, 0.5f, 0), 0);
    EXPECT_EQ(fifth->streams[0].open, false);  // a refused play leaves no stream open

    mixed pass(m, 1024);
    m.tick();
    for (int32_t h : handles)
        EXPECT_TRUE(m.is_playing(h));
    EXPECT_EQ(m.busy_voices(), 16);
}

TEST(mixer, a_stale_handle_stays_invalid_after_its_voice_is_reused)
{
    sound_mixer m;
    ref_ptr<w_sample> s = test_sample(test_tone(20000, 440.0, 0.3));
    int32_t first = m.play(s, 1.0f, 0.5f, 0);
    ASSERT_TRUE(m.stop(first));
    // Stopped but not yet freed: the handle already names no voice, and a play in the same
    // step takes another voice.
    EXPECT_FALSE(m.stop(first));
    int32_t other = m.play(s, 1.0f, 0.5f, 0);
    EXPECT_NE(other & 15, first & 15);
    mixed pass(m, 512);
    m.tick();
    EXPECT_EQ(m.busy_voices(), 1);

    // The freed voice heads the free list again; its new handle differs from the old one.
    int32_t reused = m.play(s, 1.0f, 0.5f, 0);
    EXPECT_EQ(reused & 15, first & 15);
    EXPECT_NE(reused, first);
    EXPECT_FALSE(m.set_volume(first, 0.5f, 1.0f));
    EXPECT_FALSE(m.stop(first));
    EXPECT_TRUE(m.is_playing(reused));
    EXPECT_FALSE(m.set_volume(0, 0.5f, 1.0f));
}

TEST(mixer, a_short_sample_ends_in_its_pass_at_the_designed_level_and_is_freed_at_the_tick)
{
    sound_mixer m;
    ref_ptr<w_sample> s = test_sample(test_tone(300, 1000.0, 0.5, 0.5));
    std::vector<int16_t> pcm = decoded_frames(*s);
    ASSERT_EQ(pcm.size(), 600u);
    int32_t h = m.play(s, 1.0f, 0.5f, 0);
    mixed pass(m, 1024);
    // Full gain in the middle: 384 per channel, then the final scale of 8.
    for (size_t f = 0; f < 300; ++f) {
        ASSERT_EQ(pass.left(f), final_sample(scaled(pcm[2 * f], 384))) << f;
        ASSERT_EQ(pass.right(f), final_sample(scaled(pcm[2 * f + 1], 384))) << f;
    }
    EXPECT_TRUE(pass.silent_from(300));
    EXPECT_EQ(voice_of(m, h).state.load(), voice_done);
    EXPECT_EQ(m.busy_voices(), 1);
    m.tick();
    EXPECT_EQ(m.busy_voices(), 0);
    EXPECT_FALSE(s->streams[0].open);
    EXPECT_FALSE(m.is_playing(h));
}

TEST(mixer, a_looping_sample_wraps_once_per_pass_and_plays_on)
{
    sound_mixer m;
    ref_ptr<w_sample> s = test_sample(test_tone(200, 2000.0, 0.4));
    std::vector<int16_t> pcm = decoded_frames(*s);
    int32_t h = m.play(s, 1.0f, 0.0f, sound_flag_loop);  // left only: gain 768
    mixed pass(m, 1024);
    for (size_t f = 0; f < 400; ++f)
        ASSERT_EQ(pass.left(f), final_sample(scaled(pcm[2 * (f % 200)], 768))) << f;
    EXPECT_TRUE(pass.silent_from(400));
    EXPECT_EQ(pass.right(10), 0);
    m.tick();
    EXPECT_TRUE(m.is_playing(h));
    EXPECT_EQ(m.position_of(h), 400);

    // Later passes go on from the start of the sample.
    mixed next(m, 150);
    for (size_t f = 0; f < 150; ++f)
        ASSERT_EQ(next.left(f), final_sample(scaled(pcm[2 * f], 768))) << f;
    mixed rest(m, 100);
    for (size_t f = 0; f < 50; ++f)
        ASSERT_EQ(rest.left(f), final_sample(scaled(pcm[2 * (150 + f)], 768))) << f;
    for (size_t f = 50; f < 100; ++f)
        ASSERT_EQ(rest.left(f), final_sample(scaled(pcm[2 * (f - 50)], 768))) << f;
}

TEST(mixer, set_volume_fades_by_its_rate_per_1024_frames_and_stop_silences_at_once)
{
    sound_mixer m;
    ref_ptr<w_sample> s = test_sample(test_tone(44100, 440.0, 0.3));
    int32_t h = m.play(s, 1.0f, 0.5f, sound_flag_loop);
    const sound_voice& v = voice_of(m, h);
    ASSERT_TRUE(m.set_volume(h, 0.5f, 1.0f));
    mixed one(m, 1024);
    EXPECT_FLOAT_EQ(v.gain, 1.0f - 1024.0f / 44100.0f);
    mixed two(m, 1024);
    EXPECT_FLOAT_EQ(v.gain, 1.0f - 2.0f * (1024.0f / 44100.0f));
    // Shorter passes move it in proportion, so the fade lasts one second whatever the device.
    mixed half(m, 512);
    EXPECT_FLOAT_EQ(v.gain, 1.0f - 2.5f * (1024.0f / 44100.0f));
    for (int i = 0; i < 20; ++i)
        mixed pass(m, 1024);
    EXPECT_FLOAT_EQ(v.gain, 0.5f);

    // A zero volume holds the voice at the floor, alive.
    ASSERT_TRUE(m.set_volume(h, 0.0f, 0.1f));
    for (int i = 0; i < 30; ++i)
        mixed pass(m, 1024);
    EXPECT_FLOAT_EQ(v.gain, 0.001f);
    m.tick();
    EXPECT_TRUE(m.is_playing(h));

    // No upper limit here; no time means as fast as a gain may move: the whole range in
    // 441 frames, so 3.0 takes 1323.
    ASSERT_TRUE(m.set_volume(h, 3.0f, 0.0f));
    mixed up(m, 1024);
    EXPECT_LT(v.gain, 3.0f);
    mixed up_more(m, 1024);
    EXPECT_FLOAT_EQ(v.gain, 3.0f);
    ASSERT_TRUE(m.stop(h));
    mixed stopped(m, 2048);
    EXPECT_TRUE(stopped.silent_from(1323));
    EXPECT_EQ(v.state.load(), voice_done);
}

TEST(mixer, a_stopped_voice_fades_out_over_10_ms_instead_of_jumping_at_the_pass_edge)
{
    sound_mixer m;
    // A slow tone whose crest falls on the end of the first 512-frame pass (a period of 2048
    // frames): where the old stop cut it, the output jumped from 24576 to 0.
    ref_ptr<w_sample> s = test_sample(test_tone(44100, 44100.0 / 2048.0, 0.5));
    int32_t h = m.play(s, 1.0f, 0.5f, sound_flag_loop);
    mixed playing(m, 512);
    ASSERT_GT(playing.left(511), 20000);
    ASSERT_TRUE(m.stop(h));
    EXPECT_FALSE(m.is_playing(h));
    mixed stopping(m, 512);
    std::vector<int16_t> heard(playing.out);
    heard.insert(heard.end(), stopping.out.begin(), stopping.out.end());
    int largest_step = 0;
    for (size_t i = 2; i < heard.size(); i += 2)
        largest_step = std::max(largest_step, std::abs(heard[i] - heard[i - 2]));
    // The tone itself moves at most about 75 a frame; the fade adds 24576 / 441.
    EXPECT_LT(largest_step, 200);
    EXPECT_GT(stopping.left(200), 8000);  // still fading
    EXPECT_TRUE(stopping.silent_from(441));
    EXPECT_EQ(voice_of(m, h).state.load(), voice_done);
    m.tick();
    EXPECT_EQ(m.busy_voices(), 0);
}

TEST(mixer, a_looping_voice_wraps_without_allocating_and_counts_past_2_to_the_31_frames)
{
    sound_mixer m;
    ref_ptr<w_sample> s = test_sample(test_tone(300, 700.0, 0.3));
    int32_t h = m.play(s, 1.0f, 0.5f, sound_flag_loop);
    // Thirteen and a half hours into one song.
    const int64_t start = std::numeric_limits<int32_t>::max() - 100;
    m.voices[h & (sound_voice_count - 1)].position.store(start);
    std::vector<int16_t> out(2 * 512);
    {
        // What the mixer thread does: every pass wraps the 300-frame loop at least once.
        alloc_probe probe;
        for (int i = 0; i < 20; ++i) {
            m.mix(out.data(), 512);
            m.refill_streams();
        }
        EXPECT_EQ(probe.count(), 0u);
    }
    EXPECT_TRUE(m.is_playing(h));
    // A pass delivers the loop's rest and one more lap at most, so 300 to 512 frames.
    EXPECT_GE(m.position_of(h), start + 20 * 300);
    EXPECT_LE(m.position_of(h), start + 20 * 512);
}

TEST(mixer, music_at_volume_zero_keeps_its_place)
{
    sound_mixer m;
    ref_ptr<w_sample> s = test_sample(test_tone(20000, 440.0, 0.3, 0.7));
    std::vector<int16_t> pcm = decoded_frames(*s);
    int32_t music = m.play(s, 1.0f, 0.5f, sound_flag_loop | sound_flag_music);
    m.set_music_volume(0.0f);
    for (int i = 0; i < 4; ++i) {
        mixed pass(m, 1000);
        EXPECT_TRUE(pass.silent_from(0));
    }
    m.tick();
    EXPECT_TRUE(m.is_playing(music));
    EXPECT_EQ(m.position_of(music), 4000);
    m.set_music_volume(1.0f);
    m.set_sound_volume(0.0f);  // the sound volume does not touch music voices
    mixed back(m, 500);
    for (size_t f = 0; f < 500; ++f)
        ASSERT_EQ(back.right(f), final_sample(scaled(pcm[2 * (4000 + f) + 1], 384))) << f;
    m.set_music_volume(7.0f);  // clamped to 1
    EXPECT_EQ(m.music_volume.load(), 1.0f);
}

TEST(mixer, loud_voices_saturate_instead_of_wrapping)
{
    sound_mixer m;
    std::vector<int16_t> loud = test_tone(3000, 200.0, 0.8);
    std::vector<ref_ptr<w_sample>> samples;
    for (int i = 0; i < 4; ++i)
        samples.push_back(test_sample(loud));
    std::vector<int16_t> pcm = decoded_frames(*samples[0]);
    for (auto& s : samples)
        for (int i = 0; i < 4; ++i)
            ASSERT_NE(m.play(s, 1.0f, 0.5f, 0), 0);
    mixed pass(m, 2000);
    int clipped = 0;
    for (size_t f = 0; f < 2000; ++f) {
        int64_t sum = 16 * int64_t(scaled(pcm[2 * f], 384));
        ASSERT_EQ(pass.left(f), final_sample(sum)) << f;
        clipped += sum * 8 > 32767 || sum * 8 < -32768;
        // Where the sum stays in range it is the plain sum of the voices.
        if (std::abs(sum) < 4000) {
            ASSERT_EQ(pass.left(f), int16_t(sum * 8));
        }
    }
    EXPECT_GT(clipped, 500);  // the case a 16-bit sum would have wrapped around
}

TEST(mixer, a_sample_without_data_plays_nothing_and_a_damaged_stream_ends_its_voice)
{
    sound_mixer m;
    // A chunk with a "HEAD" record only.
    std::vector<uint8_t> head_only;
    pak_editchunk::node(pak_code_samp, "",
                        {pak_editchunk::leaf(pak_code_head, "", std::vector<uint8_t>(12, 1))})
        .serialise_content(head_only);
    ref_ptr<w_sample> empty(new w_sample(nullptr, head_only.data(), uint32_t(head_only.size())));
    EXPECT_FALSE(empty->playable());
    EXPECT_EQ(m.play(empty, 1.0f, 0.5f, 0), 0);
    EXPECT_EQ(m.play(nullptr, 1.0f, 0.5f, 0), 0);

    // A long stream cut after a few blocks: HEAD still claims 10 seconds.
    std::vector<uint8_t> chunk = test_sample_chunk(test_tone(441000, 440.0, 0.3));
    ref_ptr<w_sample> whole(new w_sample(nullptr, chunk.data(), uint32_t(chunk.size())));
    ref_ptr<w_sample> cut = test_sample(test_tone(10, 440.0, 0.3));
    cut->sample.head[2] = whole->frames();
    cut->sample.data = bit_iovector(whole->sample.data.words.data(), 1000 * 8);
    for (int32_t flags : {int32_t(0), int32_t(sound_flag_loop)}) {
        int32_t h = m.play(cut, 1.0f, 0.5f, flags);
        ASSERT_NE(h, 0);
        int passes = 0;
        while (m.is_playing(h) && passes < 1000) {
            mixed pass(m, 512);
            m.refill_streams();
            m.tick();
            ++passes;
        }
        EXPECT_LT(passes, 100) << "flags " << flags;
        EXPECT_EQ(m.busy_voices(), 0);
    }
}

TEST(mixer, decoding_ahead_is_bounded_per_voice)
{
    sound_mixer m;
    ref_ptr<w_sample> s = test_sample(test_tone(44100 * 5, 330.0, 0.3));
    int32_t h = m.play(s, 1.0f, 0.5f, sound_flag_loop);
    const w_sample::sample_stream& stream = s->streams[voice_of(m, h).stream];
    size_t capacity = stream.fifo.capacity();
    EXPECT_EQ(capacity, size_t(2 * sample_ahead_frames));
    // Twelve seconds of passes: more than two loops of the sample.
    for (int i = 0; i < 12 * 44100 / 512; ++i) {
        mixed pass(m, 512);
        m.refill_streams();
        ASSERT_LE(stream.fifo.size(), size_t(2 * sample_ahead_frames));
    }
    EXPECT_EQ(stream.fifo.capacity(), capacity);
    EXPECT_TRUE(m.is_playing(h));
}
