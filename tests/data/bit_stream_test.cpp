// Bit vector reading, seeking and writing, the default reading operations and the
// passive word reader.
#include "data/bit_stream.h"

#include <gtest/gtest.h>

#include <random>

namespace {

TEST(bit_iovector, bytes_read_low_bit_first_in_memory_order)
{
    const uint8_t bytes[] = {0x01, 0x80};
    bit_iovector v(bytes, 16);
    EXPECT_EQ(v.size(), 16);
    EXPECT_EQ(v.read_bit(), 1u);
    for (int i = 0; i < 14; ++i)
        EXPECT_EQ(v.read_bit(), 0u) << "bit " << i + 1;
    EXPECT_FALSE(v.at_end());
    EXPECT_EQ(v.read_bit(), 1u);
    EXPECT_TRUE(v.at_end());
    EXPECT_FALSE(v.overrun);
}

TEST(bit_iovector, multi_bit_reads_cross_words)
{
    const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0xf0, 0xde, 0xbc, 0x9a, 0x55};
    bit_iovector v(bytes, 72);
    EXPECT_EQ(v.peek(4), 0x8u);
    EXPECT_EQ(v.read(4), 0x8u);
    EXPECT_EQ(v.read(24), 0x234567u);
    EXPECT_EQ(v.tell(), 28);
    EXPECT_EQ(v.read(8), 0x01u);  // 4 bits of 0x12 and 4 of 0xf0
    EXPECT_EQ(v.read(31), 0x59abcdefu);
    EXPECT_EQ(v.tell(), 67);
    EXPECT_EQ(v.read(5), 0x0au);
    EXPECT_TRUE(v.at_end());
    EXPECT_EQ(v.read(0), 0u);
    EXPECT_EQ(v.peek(0), 0u);
}

TEST(bit_iovector, seek_inside_a_word_and_out_of_range)
{
    const uint8_t bytes[] = {0xb5, 0x3c, 0x00, 0xff, 0x12};
    bit_iovector v(bytes, 40);
    v.seek(3);
    EXPECT_EQ(v.tell(), 3);
    EXPECT_EQ(v.read(5), 0xb5u >> 3);
    v.seek(30);
    EXPECT_EQ(v.read(4), 0x3u | (0x2u << 2));  // bits 30..33 span two words
    v.seek(-1);
    EXPECT_EQ(v.tell(), 40);
    EXPECT_TRUE(v.at_end());
    v.seek(41);
    EXPECT_EQ(v.tell(), 40);
    EXPECT_TRUE(v.at_end());
    v.seek(0);
    EXPECT_FALSE(v.at_end());
    EXPECT_EQ(v.read(8), 0xb5u);
}

TEST(bit_iovector, reads_past_the_end_give_zero_and_flag_overrun)
{
    // 12 bits of a byte pair whose top nibble must not leak into the stream.
    const uint8_t bytes[] = {0xff, 0xff};
    bit_iovector v(bytes, 12);
    EXPECT_EQ(v.read(8), 0xffu);
    EXPECT_EQ(v.peek(8), 0x0fu);  // peeking past the end is not an overrun
    EXPECT_FALSE(v.overrun);
    EXPECT_EQ(v.read(8), 0x0fu);
    EXPECT_TRUE(v.overrun);
    EXPECT_EQ(v.tell(), 12);
    // A reader that goes on for a long time gets zeros and never overflows.
    for (int i = 0; i < 1000000; ++i)
        ASSERT_EQ(v.read(31), 0u);
    EXPECT_TRUE(v.at_end());
    v.seek(0);
    EXPECT_FALSE(v.overrun);

    bit_iovector empty;
    EXPECT_TRUE(empty.at_end());
    EXPECT_EQ(empty.read(17), 0u);
    EXPECT_TRUE(empty.overrun);
    bit_iovector negative(bytes, -5);
    EXPECT_EQ(negative.size(), 0);
}

TEST(bit_iovector, writing_grows_at_the_end_and_overwrites_inside)
{
    bit_iovector v;
    v.write_bit(1);
    v.write_bit(0);
    v.write_bit(1);
    EXPECT_EQ(v.size(), 3);
    EXPECT_EQ(v.words.size(), 1u);
    v.write(0xabcdef12u, 32);
    v.write(0x5, 3);
    EXPECT_EQ(v.size(), 38);
    EXPECT_EQ(v.words.size(), 2u);
    v.seek(1);
    v.write_bit(1);  // inside: overwrite, no growth
    v.write(0x0, 2);
    EXPECT_EQ(v.size(), 38);
    v.seek(0);
    EXPECT_EQ(v.read(3), 0x3u);
    EXPECT_EQ(v.read(31), 0xabcdef12u & 0x7ffffffeu);
    EXPECT_EQ(v.read(1), 1u);
    EXPECT_EQ(v.read(3), 0x5u);
    EXPECT_TRUE(v.at_end());
}

TEST(bit_iovector, write_matches_bit_by_bit_and_round_trips_through_bytes)
{
    std::mt19937 rng(7);
    bit_iovector a, b;
    std::vector<std::pair<uint32_t, int>> items;
    for (int i = 0; i < 2000; ++i) {
        int n = int(rng() % 32);
        uint32_t value = rng();
        items.push_back({value, n});
        a.write(value, n);
        for (int k = 0; k < n; ++k)
            b.write_bit((value >> k) & 1);
    }
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(a.words, b.words);

    std::vector<uint8_t> bytes = a.bytes();
    bit_iovector c(bytes.data(), a.size());
    for (auto [value, n] : items)
        ASSERT_EQ(c.read(n), n ? value & ((1u << n) - 1) : 0u);
    EXPECT_TRUE(c.at_end());
    EXPECT_FALSE(c.overrun);
}

TEST(bit_iovector, writing_after_reading_without_seek_stays_in_bounds)
{
    // Misuse the protocol: the position has run ahead of the size by the refill.
    const uint8_t bytes[] = {0x01};
    bit_iovector v(bytes, 5);
    v.read(2);
    v.write_bit(1);
    EXPECT_EQ(size_t(v.size() + 31) / 32, v.words.size());
    v.seek(0);
    EXPECT_EQ(v.read(5), 0x01u);
}

// A stream with only read_bit: the defaults assemble multi-bit reads.
struct counting_stream : bit_istream {
    uint32_t next = 0;
    uint32_t read_bit() override { return (next++ % 3) == 0; }
};

TEST(bit_istream, defaults_assemble_reads_from_read_bit)
{
    counting_stream s;
    EXPECT_EQ(s.peek(5), 0u);
    EXPECT_EQ(s.peek_bit(), 0u);
    EXPECT_FALSE(s.at_end());
    EXPECT_EQ(s.read(7), 0b1001001u);
    EXPECT_EQ(s.next, 7u);
}

TEST(bit_passive_istream, walks_words_and_stops_at_the_bound)
{
    const uint32_t words[] = {0x80000001u, 0x00000002u};
    bit_passive_istream s(words, 2);
    EXPECT_EQ(s.read_bit(), 1u);
    EXPECT_EQ(s.read(30), 0u);
    EXPECT_EQ(s.read_bit(), 1u);
    EXPECT_EQ(s.read(2), 0x2u);  // next word, bit 0 then bit 1
    EXPECT_EQ(s.read(30), 0u);
    EXPECT_FALSE(s.overrun);
    EXPECT_EQ(s.read_bit(), 0u);
    EXPECT_TRUE(s.overrun);
    EXPECT_EQ(s.peek(3), 0u);
}

}  // namespace
