// Music and collision sounds through the program's sound interface, with samples in a
// memory store and the mixer driven by hand: switching and keeping songs, ducking, the
// collision table's choices, fetching and recording.
#include "data/pak_script.h"
#include "physics/replay.h"
#include "physics/sound_hooks.h"
#include "sound/collision_sounds.h"
#include "sound/sound.h"
#include "tests/sound/sound_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

// The program's sound state, reset around each test.
class sound_state : public ::testing::Test {
protected:
    sample_store samples;

    void SetUp() override { sound_set_store(&samples.pak); }
    void TearDown() override
    {
        sound_disconnect_world();
        stop_music();
        sound_set_recorder(nullptr);
        load_collision_sounds(script_handle::nil);
        sound_global_mixer().reset();
        sound_global_mixer().set_music_volume(1.0f);
        sound_set_store(nullptr);
    }

    static void mix(int passes)
    {
        std::vector<int16_t> out(2 * 1024);
        for (int i = 0; i < passes; ++i) {
            sound_global_mixer().mix(out.data(), 1024);
            sound_global_mixer().refill_streams();
        }
    }
    static void ticks(int n)
    {
        for (int i = 0; i < n; ++i)
            sound_tick();
    }
    static const sound_voice& voice(int32_t handle)
    {
        return sound_global_mixer().voices[handle & (sound_voice_count - 1)];
    }
};

script_handle parse(const char* text)
{
    script_handle root = script_handle::fresh(&script_global_symbols());
    EXPECT_TRUE(pak_parse_text("test", text, root));
    return root;
}

// Classes 1 to 3 and 7 have their own samples; 5.2 and 6.1 share one pair sample; class 4
// has a high priority but no sample; 8 has nothing.
const char* table_text = R"(
collision_sounds
{
    1 { sample "s\one" priority 1. }
    2 { sample "s\two" priority 2. }
    3 { sample "s\three" priority 3 }
    4 { priority 9. }
    5 { 2 "s\pair" sample "s\five" priority 2. }
    6 { 1 "s\pair" }
    7 { sample "s\seven" priority 2. }
    8 { }
    9 { 1 "s\nowhere" }
}
)";

}  // namespace

TEST_F(sound_state, play_music_keeps_the_same_song_and_switches_to_another)
{
    samples.add_sample("music\\a", test_tone(30000, 220.0, 0.2));
    samples.add_sample("music\\b", test_tone(30000, 330.0, 0.2));
    play_music("music\\a");
    int32_t a = music_handle();
    ASSERT_NE(a, 0);
    EXPECT_EQ(voice(a).flags, sound_flag_loop | sound_flag_music);
    mix(3);
    play_music("music\\a");
    EXPECT_EQ(music_handle(), a);
    EXPECT_TRUE(sound_global_mixer().is_playing(a));
    mix(1);
    EXPECT_EQ(sound_global_mixer().position_of(a), 4 * 1024);  // not restarted

    play_music("music\\b");
    int32_t b = music_handle();
    EXPECT_NE(b, a);
    EXPECT_FALSE(sound_global_mixer().is_playing(a));  // stopped at once
    mix(1);
    ticks(1);
    EXPECT_EQ(sound_global_mixer().busy_voices(), 1);

    // A name that does not resolve leaves no music.
    play_music("music\\missing");
    EXPECT_EQ(music_handle(), 0);
    EXPECT_FALSE(sound_global_mixer().is_playing(b));
    play_music("music\\b");
    EXPECT_NE(music_handle(), 0);
    stop_music();
    EXPECT_EQ(music_handle(), 0);
}

TEST_F(sound_state, ducking_twice_holds_the_music_down_until_the_later_countdown_ends)
{
    samples.add_sample("music\\a", test_tone(30000, 220.0, 0.2));
    play_music("music\\a");
    int32_t h = music_handle();
    duck_music(1.0f);  // 180 steps
    mix(10);
    EXPECT_FLOAT_EQ(voice(h).gain, 0.001f);  // faded to the floor, alive
    ticks(90);
    duck_music(1.0f);
    ticks(100);  // past the first countdown
    EXPECT_FLOAT_EQ(voice(h).target.load(), 0.001f);
    EXPECT_TRUE(sound_global_mixer().is_playing(h));
    ticks(79);
    EXPECT_FLOAT_EQ(voice(h).target.load(), 0.001f);
    ticks(1);
    EXPECT_FLOAT_EQ(voice(h).target.load(), 1.0f);
    mix(5);  // back over 0.1 s
    EXPECT_FLOAT_EQ(voice(h).gain, 1.0f);
    EXPECT_EQ(music_handle(), h);
}

TEST_F(sound_state, a_song_started_while_ducked_starts_at_the_ducked_level_and_comes_in_with_the_countdown)
{
    samples.add_sample("music\\a", test_tone(30000, 220.0, 0.2));
    samples.add_sample("music\\solution", test_tone(30000, 330.0, 0.2));
    play_music("music\\a");
    mix(2);
    // Show Solution: the duck first, then the solution's music.
    duck_music(2.0f);
    play_music("music\\solution");
    int32_t h = music_handle();
    ASSERT_NE(h, 0);
    EXPECT_FLOAT_EQ(voice(h).gain, 0.001f);
    std::vector<int16_t> out(2 * 1024);
    sound_global_mixer().mix(out.data(), 1024);
    // Once the old song has faded out (10 ms), nothing is heard: at full gain the new one
    // would reach 9830.
    int loudest = 0;
    for (size_t i = 2 * 441; i < out.size(); ++i)
        loudest = std::max(loudest, std::abs(int(out[i])));
    EXPECT_LT(loudest, 50);
    ticks(359);
    EXPECT_FLOAT_EQ(voice(h).target.load(), 0.001f);
    ticks(1);
    mix(5);
    EXPECT_FLOAT_EQ(voice(h).gain, 1.0f);
}

TEST(collision_sounds, pairs_match_both_ways_and_class_priorities_pick_the_own_sample)
{
    collision_sound_table table;
    table.load(parse(table_text).get("collision_sounds"), nullptr);
    auto choose = [&](int32_t a, int32_t b) {
        const char* n = table.choose(a, b);
        return std::string(n ? n : "(none)");
    };
    EXPECT_EQ(choose(2, 5), "s\\pair");  // only 5.2 exists
    EXPECT_EQ(choose(5, 2), "s\\pair");
    EXPECT_EQ(choose(1, 6), "s\\pair");
    EXPECT_EQ(choose(1, 3), "s\\three");  // priorities 1 and 3: b's sample
    EXPECT_EQ(choose(3, 1), "s\\three");
    EXPECT_EQ(choose(2, 7), "s\\two");  // 2 and 2: ties go to a
    EXPECT_EQ(choose(7, 2), "s\\seven");
    EXPECT_EQ(choose(4, 1), "s\\one");  // a without a sample: b's
    EXPECT_EQ(choose(1, 4), "(none)");  // b outranks a but has no sample: silence
    EXPECT_EQ(choose(4, 8), "(none)");
    EXPECT_EQ(choose(8, 0), "(none)");
    EXPECT_EQ(choose(-3, 1), "s\\one");
    EXPECT_EQ(choose(16384, 1), "s\\one");  // beyond the numeric keys: no entry, not a named key
    EXPECT_EQ(table.names.size(), 7u);
}

TEST_F(sound_state, every_sample_the_table_names_is_fetched_once_and_held)
{
    for (const char* n : {"s\\one", "s\\two", "s\\three", "s\\pair", "s\\five", "s\\seven"})
        samples.add_sample(n, test_tone(2000, 500.0, 0.2));
    script_handle root = parse(table_text);
    load_collision_sounds(root.get("collision_sounds"));
    EXPECT_EQ(samples.store->lookups["s\\pair"], 1);  // named by 5.2 and 6.1
    EXPECT_EQ(samples.store->lookups["s\\one"], 1);
    EXPECT_EQ(samples.store->lookups["s\\nowhere"], 1);
    // The held samples stay alive: playing them fetches no new objects.
    ref_ptr<pak_chunkref> pair = samples.pak.get("s\\pair");
    ASSERT_TRUE(pair && pair->object);
    EXPECT_TRUE(play_collision_sound(0.5f, 2, 5));
    EXPECT_TRUE(play_collision_sound(0.5f, 6, 1));
    EXPECT_EQ(pair->object->refs(), 3u);  // the table and two voices
    EXPECT_FALSE(play_collision_sound(0.5f, 4, 8));
}

TEST_F(sound_state, named_and_collision_sounds_are_recorded_and_replayed_sounds_are_not)
{
    samples.add_sample("s\\pair", test_tone(2000, 500.0, 0.2));
    samples.add_sample("music\\ditty_ball_in_pot", test_tone(2000, 700.0, 0.2));
    script_handle root = parse(table_text);
    load_collision_sounds(root.get("collision_sounds"));
    v_replay replay;
    replay.init();
    replay.recording = true;
    sound_connect_world(&replay);

    // The world's seam reaches the table and the mixer.
    EXPECT_TRUE(v_sounds().play_collision_sound(0.75f, 5, 2));
    EXPECT_TRUE(v_sounds().play_named("music\\ditty_ball_in_pot", 1.0f));
    // A name without a sample is still recorded (the replay does not depend on what is
    // installed), but starts nothing.
    EXPECT_FALSE(v_sounds().play_collision_sound(0.25f, 9, 1));
    // Nothing applies: nothing is recorded.
    EXPECT_FALSE(v_sounds().play_collision_sound(0.25f, 4, 8));
    ASSERT_EQ(replay.current.sounds.size(), 3u);
    EXPECT_EQ(replay.names[replay.current.sounds[0].name], "s\\pair");
    EXPECT_EQ(replay.names[replay.current.sounds[1].name], "music\\ditty_ball_in_pot");
    EXPECT_EQ(replay.names[replay.current.sounds[2].name], "s\\nowhere");
    EXPECT_EQ(sound_global_mixer().busy_voices(), 2);

    // Playback plays through the mixer without recording again.
    ASSERT_TRUE(replay.play_sound);
    replay.play_sound("s\\pair", 0.5f);
    EXPECT_EQ(replay.current.sounds.size(), 3u);
    EXPECT_EQ(sound_global_mixer().busy_voices(), 3);

    sound_disconnect_world();
    EXPECT_FALSE(v_sounds().play_named("music\\ditty_ball_in_pot", 1.0f));
    EXPECT_EQ(replay.play_sound, nullptr);
}
