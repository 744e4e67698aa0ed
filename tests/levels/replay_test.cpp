// The recorder and player: keyframe timing, save and load with priming, interpolation,
// sounds, and refusal of damaged or mismatched replays.
#include "physics/replay.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <zlib.h>

#include <sys/resource.h>

namespace {

// Records `steps` world steps of one node moving right by 1 unit per step and one body
// turning by `spin` per step; `cut_at` is the first step whose record shows the cut.
void record(v_replay& r, int steps, float spin = 0.1f, int cut_at = 1 << 30)
{
    r.init();
    for (int s = 0; s < steps; ++s) {
        r.record_node(vec2{float(s), 2.0f});
        r.record_body(vec2{10.0f, float(s) * 0.5f}, float(s) * spin);
        r.record_cut(s >= cut_at);
        r.end_step();
    }
}

v_replay_counts counts(size_t n, size_t b, size_t c)
{
    v_replay_counts k;
    k.nodes = n;
    k.bodies = b;
    k.cuts = c;
    return k;
}

TEST(replay, keyframes_on_steps_1_10_19)
{
    v_replay r;
    record(r, 19);
    EXPECT_EQ(r.frames, 3u);
    record(r, 18);
    EXPECT_EQ(r.frames, 2u);
    EXPECT_EQ(r.phase, 0);
}

TEST(replay, single_step_recording_holds_one_frame_and_cannot_be_played)
{
    v_replay r;
    record(r, 1);
    EXPECT_EQ(r.frames, 1u);
    std::vector<uint8_t> bytes = r.chunk_bytes();
    v_replay p;
    EXPECT_FALSE(p.load(bytes.data(), bytes.size()));
    EXPECT_TRUE(p.ended());
}

TEST(replay, playback_interpolates_between_the_two_newest_frames)
{
    v_replay r;
    record(r, 40);
    std::vector<uint8_t> bytes = r.chunk_bytes();
    v_replay p;
    ASSERT_TRUE(p.load(bytes.data(), bytes.size(), nullptr));
    EXPECT_FALSE(p.ended());
    // Frames hold steps 0 and 9 (node x 0 and 9); phase 0 shows the older one.
    EXPECT_FLOAT_EQ(p.node(0).x, 0.0f);
    ASSERT_TRUE(p.advance());
    EXPECT_NEAR(p.node(0).x, 1.0f, 1e-5f);
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(p.advance());
    EXPECT_EQ(p.phase, 9);
    EXPECT_NEAR(p.node(0).x, 9.0f, 1e-5f);
    ASSERT_TRUE(p.advance());  // reads the frame of step 18
    EXPECT_EQ(p.phase, 0);
    EXPECT_NEAR(p.node(0).x, 9.0f, 1e-5f);
    EXPECT_EQ(p.frames, 3u);
}

TEST(replay, playback_ends_cleanly_when_the_frames_run_out)
{
    v_replay r;
    record(r, 28);  // four frames: steps 0, 9, 18, 27
    std::vector<uint8_t> bytes = r.chunk_bytes();
    v_replay p;
    ASSERT_TRUE(p.load(bytes.data(), bytes.size()));
    int steps = 0;
    while (p.advance())
        ++steps;
    EXPECT_TRUE(p.ended());
    EXPECT_EQ(steps, 29);                    // two more frames, ten steps each, then the failed read
    EXPECT_NEAR(p.node(0).x, 27.0f, 1e-5f);  // the last state stays in view
    EXPECT_FALSE(p.advance());
}

TEST(replay, body_angles_interpolate_the_short_way_across_the_seam)
{
    v_replay r;
    r.init();
    // Keyframes at angles 6.2 and 0.1 (= 6.3832): the body turns forward by 0.18.
    r.record_body(vec2{0, 0}, 6.2f);
    for (int i = 0; i < 9; ++i)
        r.end_step();
    r.record_body(vec2{0, 0}, 0.1f);
    r.end_step();
    std::vector<uint8_t> bytes = r.chunk_bytes();
    v_replay p;
    ASSERT_TRUE(p.load(bytes.data(), bytes.size()));
    for (int i = 0; i < 4; ++i)
        p.advance();
    vec2 pos;
    float angle = 0;
    p.body(0, pos, angle);
    float f = 4.0f / 9.0f;
    float older = replay_angle_of(replay_quantise_angle(6.2f));
    float newer = replay_angle_of(replay_quantise_angle(0.1f)) + 6.28318f;
    EXPECT_NEAR(angle, older * (1 - f) + newer * f, 1e-4f);
}

TEST(replay, cut_flag_comes_from_the_newer_frame)
{
    v_replay r;
    record(r, 40, 0.1f, 12);  // keyframes at steps 0, 9, 18, 27, 36: the cut shows at 18
    std::vector<uint8_t> bytes = r.chunk_bytes();
    v_replay p;
    ASSERT_TRUE(p.load(bytes.data(), bytes.size()));
    EXPECT_FALSE(p.cut(0));
    for (int i = 0; i < 10; ++i)
        p.advance();
    EXPECT_TRUE(p.cut(0));
    EXPECT_FALSE(p.cut(5));  // out of range reads as not cut
}

TEST(replay, sounds_are_named_once_and_played_with_their_frame)
{
    static std::vector<std::pair<std::string, float>> played;
    played.clear();
    v_replay r;
    r.init();
    r.record_sound("sounds\\Wood", 0.5f);  // not recording: ignored
    EXPECT_TRUE(r.names.empty());
    r.recording = true;
    r.record_sound("sounds\\Wood", 0.5f);
    r.end_step();                           // frame 1 takes the sound
    r.record_sound("sounds\\Glass", 1.0f);  // between keyframes: goes with frame 2
    r.record_sound("sounds\\Wood", 0.25f);
    for (int i = 0; i < 9; ++i)
        r.end_step();
    ASSERT_EQ(r.names.size(), 2u);
    std::vector<uint8_t> bytes = r.chunk_bytes();
    std::string table(bytes.begin(), bytes.begin() + 25);
    EXPECT_EQ(table, std::string("sounds\\Wood\0sounds\\Glass\0\0", 25));

    v_replay p;
    p.play_sound = [](const char* name, float volume) { played.emplace_back(name, volume); };
    ASSERT_TRUE(p.load(bytes.data(), bytes.size()));
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[0].first, "sounds\\Wood");
    EXPECT_FLOAT_EQ(played[0].second, 16383.0f / 32768.0f);
    EXPECT_EQ(played[1].first, "sounds\\Glass");
    EXPECT_EQ(played[2].first, "sounds\\Wood");
}

TEST(replay, mismatched_counts_are_refused)
{
    v_replay r;
    record(r, 20);
    std::vector<uint8_t> bytes = r.chunk_bytes();
    v_replay p;
    v_replay_counts right = counts(1, 1, 1), wrong = counts(2, 1, 1);
    EXPECT_TRUE(p.load(bytes.data(), bytes.size(), &right));
    EXPECT_FALSE(p.load(bytes.data(), bytes.size(), &wrong));
    EXPECT_TRUE(p.ended());
}

TEST(replay, truncated_or_damaged_data_never_reads_past_the_end)
{
    v_replay r;
    record(r, 60);
    std::vector<uint8_t> bytes = r.chunk_bytes();
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + n);
        v_replay p;
        if (p.load(cut.data(), cut.size()))
            while (p.advance()) {}
        EXPECT_TRUE(p.ended() || n == bytes.size());
    }
    // A name table without its closing empty string.
    std::vector<uint8_t> names = {'a', 'b'};
    v_replay p;
    EXPECT_FALSE(p.load(names.data(), names.size()));
}

TEST(replay, save_writes_a_stored_chunk_file_that_reads_back)
{
    v_replay r;
    record(r, 30);
    std::string path = (std::filesystem::temp_directory_path() / "tamble_replay_test_r.RPLY.pkc").string();
    ASSERT_TRUE(r.save(path.c_str()));
    std::vector<uint8_t> back;
    ASSERT_TRUE(v_replay_read_file(path.c_str(), back));
    EXPECT_EQ(back, r.chunk_bytes());

    // The same chunk stored compressed, as the archive builder may keep it.
    std::vector<uint8_t> bytes = r.chunk_bytes();
    std::vector<uint8_t> packed(compressBound(bytes.size()));
    uLongf packed_size = packed.size();
    ASSERT_EQ(compress2(packed.data(), &packed_size, bytes.data(), bytes.size(), 9), Z_OK);
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    uint32_t header = 0x20000000u | (1u << 25), length = uint32_t(bytes.size());
    std::fwrite(&header, 4, 1, f);
    std::fwrite(&length, 4, 1, f);
    std::fwrite(packed.data(), 1, packed_size, f);
    std::fclose(f);
    ASSERT_TRUE(v_replay_read_file(path.c_str(), back));
    EXPECT_EQ(back, bytes);

    // Raw bytes without the chunk-file header word are not a replay file.
    f = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    EXPECT_FALSE(v_replay_read_file(path.c_str(), back));
    std::filesystem::remove(path);

    v_replay empty;
    empty.init();
    EXPECT_FALSE(empty.save(path.c_str()));
    EXPECT_FALSE(std::filesystem::exists(path));
}

// A save that fails part-way (here a file-size limit, as a full disk would) leaves the
// replay that was there before; it used to be truncated in place.
TEST(replay, failed_save_leaves_the_previous_replay)
{
    std::string path = (std::filesystem::temp_directory_path() /
                        ("tamble_replay_keep_" + std::to_string(::getpid()) + "_r.RPLY.pkc"))
                           .string();
    auto file_bytes = [&] { return test_read_bytes(path); };
    v_replay small, large;
    record(small, 10);
    record(large, 2000);
    ASSERT_TRUE(small.save(path.c_str()));
    std::vector<uint8_t> before = file_bytes();
    ASSERT_GT(large.chunk_bytes().size(), before.size() + 64);

    rlimit old_limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old_limit), 0);
    rlimit low = old_limit;
    low.rlim_cur = before.size() + 64;
    std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &low), 0);
    bool saved = large.save(path.c_str());
    setrlimit(RLIMIT_FSIZE, &old_limit);
    std::signal(SIGXFSZ, SIG_DFL);

    EXPECT_FALSE(saved);
    EXPECT_EQ(file_bytes(), before);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    std::filesystem::remove(path);
}

}  // namespace
