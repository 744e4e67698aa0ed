// Huffman trees of the image codec: how the encoder builds and writes them, how
// the decoder reads, checks and walks them, and damaged streams.
#include "render/image/image_codec.h"
#include "render/image/image_codec_internal.h"
#include "tests/image/image_pattern.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using namespace image_detail;

word_reader reader(bit_iovector& s)
{
    s.seek(0);
    word_reader r;
    r.start(s.words.data(), s.words.size(), s.size(), 0);
    return r;
}

TEST(image_huffman, tree_is_built_from_the_two_smallest_weights_lower_index_first)
{
    uint64_t counts[256] = {};
    counts[0] = 5;
    counts[1] = 1;
    counts[2] = 1;
    counts[3] = 2;
    huff_codes t;
    build_tree(counts, t);
    // Joins: (1, 2) -> 256; then 3 and 256 tie at 2, the lower index is the
    // smaller -> 257 = (3, 256); then 257 (4) and 0 (5) -> root 258.
    EXPECT_EQ(t.root, 258);
    EXPECT_EQ(t.left[256], 1);
    EXPECT_EQ(t.right[256], 2);
    EXPECT_EQ(t.left[257], 3);
    EXPECT_EQ(t.right[257], 256);
    EXPECT_EQ(t.left[258], 257);
    EXPECT_EQ(t.right[258], 0);
    // Codes: first branch in bit 0, 1 = right.
    EXPECT_EQ(t.length[0], 1);
    EXPECT_EQ(t.code[0], 1u);
    EXPECT_EQ(t.length[3], 2);
    EXPECT_EQ(t.code[3], 0u);
    EXPECT_EQ(t.length[1], 3);
    EXPECT_EQ(t.code[1], 0b010u);
    EXPECT_EQ(t.code[2], 0b110u);

    bit_iovector s;
    write_tree(t, s);
    s.seek(0);
    EXPECT_EQ(s.read(24), 259u);
    const uint32_t pairs[] = {257, 0, 3, 256, 1, 2, 258};
    for (uint32_t v : pairs)
        EXPECT_EQ(s.read(9), v);
    EXPECT_TRUE(s.at_end());

    word_reader r = reader(s);
    huff_tree read;
    ASSERT_TRUE(read_tree(r, read));
    EXPECT_EQ(read.root, 258);
    EXPECT_EQ(read.table[0b1], 0 * 16 + 1);
    EXPECT_EQ(read.table[0b11111110], 2 * 16 + 3);
}

TEST(image_huffman, lone_leaf_trees_decode_without_consuming_bits)
{
    for (uint32_t symbol : {0u, 1u, 200u, 255u}) {
        uint64_t counts[256] = {};
        counts[symbol] = 1000;
        huff_codes t;
        build_tree(counts, t);
        EXPECT_EQ(t.root, int32_t(symbol));
        EXPECT_EQ(t.length[symbol], 0);
        bit_iovector s;
        write_tree(t, s);
        s.write(0x2b, 7);  // bits that must stay unread
        word_reader r = reader(s);
        huff_tree read;
        ASSERT_TRUE(read_tree(r, read));
        for (uint16_t e : read.table)
            ASSERT_EQ(e, 0);
        int64_t before = r.position();
        EXPECT_EQ(decode_symbol(r, read), symbol);
        EXPECT_EQ(decode_symbol(r, read), symbol);
        EXPECT_EQ(r.position(), before);
    }
}

TEST(image_huffman, skewed_statistics_are_limited_to_32_bit_codes)
{
    // Fibonacci weights give one code per depth: 60 symbols would need 59 bits.
    uint64_t counts[256] = {};
    uint64_t a = 1, b = 1;
    for (int i = 0; i < 60; ++i) {
        counts[i * 4] = a;
        uint64_t c = a + b;
        a = b;
        b = c;
    }
    huff_codes unlimited, limited;
    build_tree(counts, unlimited, 255);
    int longest = 0;
    for (uint8_t l : unlimited.length)
        longest = std::max<int>(longest, l);
    EXPECT_GT(longest, 32);
    build_tree(counts, limited);
    longest = 0;
    for (int s = 0; s < 256; ++s) {
        longest = std::max<int>(longest, limited.length[s]);
        EXPECT_EQ(limited.length[s] > 0, counts[s] > 0) << s;
    }
    EXPECT_LE(longest, 32);

    // Every code, long ones through the bit-by-bit walk, decodes to its symbol.
    bit_iovector s;
    write_tree(limited, s);
    for (int i = 59; i >= 0; --i) {
        uint32_t code = limited.code[i * 4];
        int length = limited.length[i * 4];
        if (length > 16) {
            s.write(code & 0xffff, 16);
            s.write(code >> 16, length - 16);
        } else {
            s.write(code, length);
        }
    }
    word_reader r = reader(s);
    huff_tree read;
    ASSERT_TRUE(read_tree(r, read));
    for (int i = 59; i >= 0; --i)
        ASSERT_EQ(decode_symbol(r, read), uint32_t(i * 4));
    EXPECT_EQ(r.position(), s.size());
}

// Writes a tree in stream form from raw numbers.
bit_iovector raw_tree(uint32_t n, std::initializer_list<uint32_t> indices, uint32_t k)
{
    bit_iovector s;
    s.write(n, 24);
    for (uint32_t v : indices)
        s.write(v, int(k));
    return s;
}

TEST(image_huffman, damaged_trees_are_refused)
{
    struct bad {
        const char* what;
        uint32_t n;
        std::initializer_list<uint32_t> indices;
        uint32_t k;
    };
    const bad cases[] = {
        {"no nodes", 0, {0}, 1},
        {"more nodes than 256 symbols need", 512, {511}, 10},
        {"child index beyond the nodes", 258, {0, 300, 257}, 9},
        {"node is its own child", 258, {0, 257, 257}, 9},
        {"shared subtree", 258, {256, 1, 1, 2, 257}, 9},
        {"leaf that is not a symbol", 258, {256, 3, 257}, 9},
        {"children on a leaf index", 3, {0, 1, 0, 0, 2}, 2},
        {"more pairs than nodes", 258, {256, 0, 1, 2, 3, 4, 257}, 9},
        {"stream ends inside the tree", 300, {299}, 9},
    };
    for (const bad& c : cases) {
        bit_iovector s = raw_tree(c.n, c.indices, c.k);
        if (std::string(c.what) == "stream ends inside the tree")
            s = raw_tree(c.n, {298, 1}, c.k);  // no terminator, data runs out
        word_reader r = reader(s);
        huff_tree t;
        EXPECT_FALSE(read_tree(r, t)) << c.what;
    }
    // The smallest sound tree with two symbols still reads.
    bit_iovector ok = raw_tree(257, {7, 9, 256}, 9);
    word_reader r = reader(ok);
    huff_tree t;
    EXPECT_TRUE(read_tree(r, t));
}

TEST(image_huffman, damaged_streams_fail_with_a_defined_image)
{
    const int32_t w = 40, h = 24;
    std::vector<uint8_t> img = image_pattern::make(w, h, 8);
    bit_iovector full;
    ASSERT_TRUE(image_encode(w, h, img.data(), 85, full));
    std::vector<uint8_t> bytes = full.bytes();

    using decoder = bool (*)(int32_t, int32_t, bit_seek_stream&, uint8_t*);
    const decoder decoders[4] = {image_decode_full, image_decode_full_fast, image_decode_half,
                                 image_decode_half_fast};
    // Cut short anywhere: every decoder fails and leaves zeros.
    for (size_t cut : {size_t(0), size_t(1), size_t(5), size_t(40), bytes.size() / 2, bytes.size() - 3}) {
        for (int d = 0; d < 4; ++d) {
            bit_iovector s(bytes.data(), int32_t(cut * 8));
            int32_t dw = d < 2 ? w : w / 2, dh = d < 2 ? h : h / 2;
            std::vector<uint8_t> out(size_t(dw) * size_t(dh) * 4, 0x77);
            EXPECT_FALSE(decoders[d](dw, dh, s, out.data())) << "cut " << cut << " decoder " << d;
            EXPECT_EQ(std::count(out.begin(), out.end(), 0), std::ptrdiff_t(out.size()));
        }
    }
    // Flipped bits: success or failure, but full and fast always agree.
    std::mt19937 rng(17);
    for (int trial = 0; trial < 200; ++trial) {
        std::vector<uint8_t> damaged = bytes;
        damaged[rng() % damaged.size()] ^= uint8_t(1u << (rng() % 8));
        bit_iovector a(damaged.data(), int32_t(damaged.size() * 8)), b = a;
        std::vector<uint8_t> out_a(size_t(w) * h * 4), out_b(out_a.size());
        bool ok_a = image_decode_full(w, h, a, out_a.data());
        bool ok_b = image_decode_full_fast(w, h, b, out_b.data());
        EXPECT_EQ(ok_a, ok_b);
        EXPECT_EQ(out_a, out_b);
    }
}

}  // namespace
