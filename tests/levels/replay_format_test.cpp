// The replay byte format: quantisation, masks of unchanged elements, and safe reading of
// damaged frames.
#include "physics/replay_format.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

replay_frame nodes_frame(int count, int16_t base)
{
    replay_frame f;
    for (int i = 0; i < count; ++i)
        f.nodes.push_back({int16_t(base + i), int16_t(-base - i)});
    return f;
}

TEST(replay_format, coordinates_clamp_at_the_int_16_range)
{
    EXPECT_EQ(replay_quantise_coord(1.5f), 96);
    EXPECT_EQ(replay_quantise_coord(-1.51f), -96);  // towards zero
    EXPECT_EQ(replay_quantise_coord(600.0f), 32767);
    EXPECT_EQ(replay_quantise_coord(-600.0f), -32768);
    EXPECT_FLOAT_EQ(replay_coord_of(replay_quantise_coord(600.0f)), 32767.0f / 64.0f);
    EXPECT_FLOAT_EQ(replay_coord_of(replay_quantise_coord(-600.0f)), -512.0f);
    EXPECT_EQ(replay_quantise_coord(INFINITY), 32767);
    EXPECT_EQ(replay_quantise_coord(NAN), 0);
}

TEST(replay_format, angles_wrap_to_one_turn)
{
    EXPECT_EQ(replay_quantise_angle(6.2831853f + 0.1f), replay_quantise_angle(0.1f));
    EXPECT_EQ(replay_quantise_angle(0.1f), 1043);
    EXPECT_EQ(replay_quantise_angle(-0.1f), 65536 - 1043);
    EXPECT_EQ(replay_quantise_angle(1e30f), replay_quantise_angle(1e30f));  // defined, no UB
    EXPECT_EQ(replay_quantise_angle(NAN), 0);
    EXPECT_NEAR(replay_angle_of(replay_quantise_angle(3.0f)), 3.0f, 1e-3f);
}

TEST(replay_format, volumes_scale_by_32767_and_read_back_by_32768)
{
    EXPECT_EQ(replay_quantise_volume(1.0f), 32767);
    EXPECT_EQ(replay_quantise_volume(2.0f), 32767);
    EXPECT_EQ(replay_quantise_volume(0.5f), 16383);
    EXPECT_FLOAT_EQ(replay_volume_of(16384), 0.5f);
}

TEST(replay_format, unchanged_frame_is_masks_only)
{
    replay_frame prev = nodes_frame(10, 5);
    prev.bodies.push_back({1, 2, 3});
    prev.cuts = {0, 1, 0};
    replay_frame cur = prev;
    std::vector<uint8_t> out;
    ASSERT_TRUE(replay_write_frame(out, cur, prev));
    std::vector<uint8_t> expected = {0xAA, 0xAA, 0, 0, 10,   0,
                                     1,    0,    3, 0, 0xFF, 0x03,  // ten nodes: one full group, two bits
                                     0x01,                          // one body
                                     0x07};                         // three cut flags
    EXPECT_EQ(out, expected);
}

TEST(replay_format, changed_elements_follow_their_mask_in_index_order)
{
    replay_frame prev = nodes_frame(3, 0);
    replay_frame cur = prev;
    cur.nodes[1] = {100, -200};
    cur.nodes.push_back({7, 8});  // beyond the previous count: always written
    cur.sounds = {{2, 1000}};
    std::vector<uint8_t> out;
    ASSERT_TRUE(replay_write_frame(out, cur, prev));
    std::vector<uint8_t> expected = {0xAA, 0xAA, 1, 0,    4,    0,    0, 0, 0,
                                     0,    0x00, 2, 0,    0xE8, 0x03,            // sound: no mask bit
                                     0x05, 100,  0, 0x38, 0xFF, 7,    0, 8, 0};  // nodes 0 and 2 kept
    EXPECT_EQ(out, expected);

    size_t pos = 0;
    replay_frame back;
    ASSERT_TRUE(replay_read_frame(out.data(), out.size(), pos, prev, back));
    EXPECT_EQ(pos, out.size());
    EXPECT_EQ(back.nodes, cur.nodes);
    ASSERT_EQ(back.sounds.size(), 1u);
    EXPECT_EQ(back.sounds[0].name, 2);
    EXPECT_EQ(back.sounds[0].volume, 1000);
}

TEST(replay_format, sounds_are_never_masked_even_when_repeated)
{
    replay_frame prev;
    prev.sounds = {{1, 5}};
    replay_frame cur = prev;
    std::vector<uint8_t> out;
    ASSERT_TRUE(replay_write_frame(out, cur, prev));
    ASSERT_EQ(out.size(), 10u + 1 + 4);
    EXPECT_EQ(out[10], 0);
}

TEST(replay_format, truncated_or_unmarked_frames_are_refused)
{
    replay_frame prev, cur = nodes_frame(20, 1);
    std::vector<uint8_t> out;
    ASSERT_TRUE(replay_write_frame(out, cur, prev));
    for (size_t cut = 0; cut < out.size(); ++cut) {
        size_t pos = 0;
        replay_frame back;
        EXPECT_FALSE(replay_read_frame(out.data(), cut, pos, prev, back)) << cut;
    }
    out[0] = 0xAB;
    size_t pos = 0;
    replay_frame back;
    EXPECT_FALSE(replay_read_frame(out.data(), out.size(), pos, prev, back));
}

TEST(replay_format, mask_bit_for_an_element_the_previous_frame_lacks_is_refused)
{
    // One node marked unchanged with no previous node to copy.
    std::vector<uint8_t> data = {0xAA, 0xAA, 0, 0, 1, 0, 0, 0, 0, 0, 0x01};
    size_t pos = 0;
    replay_frame prev, back;
    EXPECT_FALSE(replay_read_frame(data.data(), data.size(), pos, prev, back));
}

TEST(replay_format, huge_counts_beyond_any_mask_buffer_read_safely)
{
    // 65535 cut flags, all marked unchanged against a previous frame of as many: the
    // mask alone is 8192 bytes, far beyond a fixed 260-byte buffer.
    replay_frame prev;
    prev.cuts.assign(65535, 1);
    std::vector<uint8_t> data = {0xAA, 0xAA, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF};
    data.resize(data.size() + 8192, 0xFF);
    size_t pos = 0;
    replay_frame back;
    ASSERT_TRUE(replay_read_frame(data.data(), data.size(), pos, prev, back));
    EXPECT_EQ(back.cuts.size(), 65535u);
    EXPECT_EQ(pos, data.size());
    // The same header with its mask cut short is refused, not overrun.
    data.resize(data.size() - 1);
    pos = 0;
    EXPECT_FALSE(replay_read_frame(data.data(), data.size(), pos, prev, back));
}

TEST(replay_format, sections_beyond_sixteen_bit_counts_are_not_written)
{
    replay_frame prev, cur;
    cur.cuts.assign(70000, 0);
    std::vector<uint8_t> out;
    EXPECT_FALSE(replay_write_frame(out, cur, prev));
    EXPECT_TRUE(out.empty());
}

}  // namespace
