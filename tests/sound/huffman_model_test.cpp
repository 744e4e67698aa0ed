// The adaptive Huffman model: escapes, learning, the sibling property after updates,
// encoder/decoder agreement, and damaged escapes.
#include "sound/codec/huffman_model.h"

#include "data/bit_stream.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// Encodes a sequence with one model and decodes it with a fresh one, checking the
// tree after every so many symbols on both sides.
void round_trip(int n, const std::vector<int>& symbols)
{
    w_huffman_model enc(n), dec(n);
    bit_iovector bits;
    for (size_t i = 0; i < symbols.size(); ++i) {
        enc.encode(symbols[i], bits);
        if (i % 251 == 0) {
            ASSERT_TRUE(enc.consistent()) << "after symbol " << i;
        }
    }
    ASSERT_TRUE(enc.consistent());
    bits.seek(0);
    for (size_t i = 0; i < symbols.size(); ++i)
        ASSERT_EQ(dec.decode(bits), symbols[i]) << "symbol " << i;
    EXPECT_TRUE(dec.consistent());
    EXPECT_TRUE(bits.at_end());
}

}  // namespace

TEST(huffman_model, first_symbol_of_a_fresh_model_is_the_escape_and_ten_raw_bits)
{
    w_huffman_model model(1024);
    bit_iovector bits;
    model.encode(0x2A5, bits);
    // The escape node is the whole tree, so no path bits precede the raw symbol.
    ASSERT_EQ(bits.size(), 10);
    bits.seek(0);
    EXPECT_EQ(bits.read(10), 0x2A5u);

    // Decoding reads exactly those bits.
    w_huffman_model dec(1024);
    bits.seek(0);
    EXPECT_EQ(dec.decode(bits), 0x2A5);
    EXPECT_TRUE(bits.at_end());
}

TEST(huffman_model, second_new_symbol_is_escape_path_then_raw_bits)
{
    w_huffman_model model(1024);
    bit_iovector bits;
    model.encode(5, bits);
    model.encode(9, bits);
    // The tree is now root -> (escape, 5): the escape is the left child, one 0 bit.
    ASSERT_EQ(bits.size(), 10 + 1 + 10);
    bits.seek(10);
    EXPECT_EQ(bits.read(1), 0u);
    EXPECT_EQ(bits.read(10), 9u);
    EXPECT_TRUE(model.consistent());
}

TEST(huffman_model, repeated_symbol_gets_a_short_code)
{
    w_huffman_model model(1024);
    bit_iovector bits;
    for (int s = 1; s <= 20; ++s)
        model.encode(s, bits);
    for (int i = 0; i < 500; ++i)
        model.encode(7, bits);
    int before = bits.size();
    model.encode(7, bits);
    EXPECT_EQ(bits.size() - before, 1);
    EXPECT_TRUE(model.consistent());
}

TEST(huffman_model, encoder_and_decoder_agree_on_skewed_and_uniform_sequences)
{
    std::mt19937 rng(7);
    std::geometric_distribution<int> skewed(0.15);
    std::vector<int> a, b;
    for (int i = 0; i < 30000; ++i) {
        a.push_back(std::min(skewed(rng), 1023));
        b.push_back(int(rng() % 1024));
    }
    round_trip(1024, a);
    round_trip(1024, b);
}

TEST(huffman_model, every_symbol_known_retires_the_escape_node)
{
    // With 16 symbols the escape node reaches the bottom of the internal range and
    // the last new symbol takes its place in the tree.
    std::mt19937 rng(3);
    std::vector<int> seq;
    for (int i = 0; i < 4000; ++i)
        seq.push_back(int(rng() % 16));
    round_trip(16, seq);

    w_huffman_model model(16);
    bit_iovector bits;
    for (int s : seq)
        model.encode(s, bits);
    for (int s = 0; s < 16; ++s)
        EXPECT_TRUE(model.known(s));
    EXPECT_EQ(model.escape, 16);
    EXPECT_LT(model.nodes[16].parent, 0);
}

TEST(huffman_model, damaged_escape_naming_a_known_symbol_keeps_the_tree_sound)
{
    // Encoder side: symbols 3 then 4. A damaged stream instead escapes 3 again.
    w_huffman_model model(1024);
    bit_iovector bits;
    bits.write(3, 10);  // fresh model: escape + 3
    bits.write(0, 1);   // path to the escape node (left of the root)
    bits.write(3, 10);  // ... and 3 once more
    bits.seek(0);
    EXPECT_EQ(model.decode(bits), 3);
    EXPECT_EQ(model.decode(bits), 3);
    EXPECT_TRUE(model.consistent());
    // Symbol 3 has been counted twice and the model goes on working.
    EXPECT_EQ(model.nodes[3].weight, 4u);
    bit_iovector more;
    model.encode(500, more);
    EXPECT_TRUE(model.consistent());
}
