// Counted pointers, the record layout, record walking and edit-chunk serialisation.
#include "data/byte_order.h"
#include "data/pak.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

struct tracked : ref_counter {
    int* deaths;
    explicit tracked(int* d) : deaths(d) {}
    ~tracked() override { ++*deaths; }
};

uint32_t u32_at(const std::vector<uint8_t>& b, size_t at)
{
    return load_le32(b.data() + at);
}

}  // namespace

TEST(pak_ref_ptr, counts_and_destroys_on_last_release_with_safe_self_assignment)
{
    int deaths = 0;
    {
        ref_ptr<tracked> a = new tracked(&deaths);
        EXPECT_EQ(a->refs(), 1u);
        ref_ptr<tracked> b = a;
        EXPECT_EQ(a->refs(), 2u);
        b = b;  // takes the new reference before dropping the old
        EXPECT_EQ(a->refs(), 2u);
        ref_ptr<ref_counter> base = a;
        EXPECT_EQ(a->refs(), 3u);
        b.reset();
        base.reset();
        EXPECT_EQ(deaths, 0);
        // Assigning the only holder's own object through a chain must not kill it first.
        a = a.get();
        EXPECT_EQ(deaths, 0);
        EXPECT_EQ(a->refs(), 1u);
    }
    EXPECT_EQ(deaths, 1);
}

TEST(pak_codes, pack_first_character_lowest_and_level_stays_out_of_the_container_bit)
{
    EXPECT_EQ(pak_code("IMAG"), 0x47414D49u);
    EXPECT_EQ(pak_code_text(pak_code_levl), "LEVL");
    EXPECT_EQ(pak_header_word(false, 0), 0x20000000u);
    EXPECT_EQ(pak_header_word(true, 1), 0x32000000u);
    // Level 9 as given by the writers would spill into bit 28 if not clamped.
    EXPECT_EQ(pak_header_word(false, 9) & pak_header_container, 0u);
    EXPECT_EQ((pak_header_word(false, 9) >> 25) & 7, 7u);
}

TEST(pak_records, four_character_name_and_six_byte_leaf_are_padded_with_zeros)
{
    pak_editchunk c = pak_editchunk::leaf(pak_code_head, "abcd", {1, 2, 3, 4, 5, 6});
    std::vector<uint8_t> b;
    c.serialise_record(b);
    ASSERT_EQ(b.size(), 12u + 1 + 5 + 2 + 6 + 2);
    EXPECT_EQ(b.size(), c.record_length());
    EXPECT_EQ(u32_at(b, 0), pak_code_head);
    EXPECT_EQ(u32_at(b, 4), 0x20000000u);
    EXPECT_EQ(u32_at(b, 8), 6u);
    EXPECT_EQ(b[12], 5);
    EXPECT_EQ(std::memcmp(&b[13], "abcd", 5), 0);
    EXPECT_EQ(b[18], 0);
    EXPECT_EQ(b[19], 0);
    EXPECT_EQ(b[20], 1);
    EXPECT_EQ(b[26], 0);
    EXPECT_EQ(b[27], 0);
    // The length rule: (strlen(name) + 17) rounded down to 4, plus the padded data.
    for (size_t n = 0; n < 12; ++n) {
        pak_editchunk k = pak_editchunk::leaf(1, std::string(n, 'x'), {});
        EXPECT_EQ(k.record_length(), ((n + 17) & ~size_t(3))) << n;
        std::vector<uint8_t> out;
        k.serialise_record(out);
        EXPECT_EQ(out.size(), k.record_length()) << n;
    }
}

TEST(pak_records, walk_finds_leaves_and_containers_and_children_through_a_second_walker)
{
    pak_editchunk root =
        pak_editchunk::node(pak_code_imag, "tex\\x",
                            {
                                pak_editchunk::leaf(pak_code_head, "head", {9, 8, 7}),
                                pak_editchunk::node(pak_code("LIST"), "",
                                                    {
                                                        pak_editchunk::leaf(pak_code_data, "a", {1}),
                                                        pak_editchunk::leaf(pak_code_data, "bb", {2, 2}),
                                                    }),
                                pak_editchunk::leaf(pak_code_data, "", {}),
                            });
    std::vector<uint8_t> bytes;
    root.serialise_content(bytes);
    ASSERT_EQ(bytes.size(), root.content_length());

    pak_rawchunk walk(bytes.data(), uint32_t(bytes.size()));
    pak_record r;
    ASSERT_EQ(walk.next(r), pak_record_leaf);
    EXPECT_EQ(r.code, pak_code_head);
    EXPECT_STREQ(r.name, "head");
    ASSERT_EQ(r.size, 3u);
    EXPECT_EQ(r.data[2], 7);
    ASSERT_EQ(walk.next(r), pak_record_container);
    EXPECT_STREQ(r.name, "");
    pak_rawchunk children(r.data, r.size);
    pak_record c;
    ASSERT_EQ(children.next(c), pak_record_leaf);
    EXPECT_STREQ(c.name, "a");
    ASSERT_EQ(children.next(c), pak_record_leaf);
    EXPECT_STREQ(c.name, "bb");
    EXPECT_EQ(c.data[1], 2);
    EXPECT_EQ(children.next(c), pak_record_end);
    ASSERT_EQ(walk.next(r), pak_record_leaf);
    EXPECT_EQ(r.size, 0u);
    EXPECT_EQ(walk.next(r), pak_record_end);
    EXPECT_FALSE(walk.damaged);

    // Find rewinds, and only walks the top level.
    ASSERT_TRUE(walk.find(pak_code_data, r));
    EXPECT_STREQ(r.name, "");
    EXPECT_FALSE(walk.find(pak_code("NONE"), r));
    ASSERT_TRUE(walk.find(pak_code_head, r));
    EXPECT_EQ(walk.last, 0u);
}

TEST(pak_records, damaged_records_end_the_walk_without_reading_past_the_bytes)
{
    std::vector<uint8_t> good;
    pak_editchunk::leaf(pak_code_head, "h", {1, 2, 3, 4}).serialise_record(good);
    pak_record r;

    // A size that runs past the end.
    std::vector<uint8_t> b = good;
    b[8] = 200;
    pak_rawchunk walk(b.data(), uint32_t(b.size()));
    EXPECT_EQ(walk.next(r), pak_record_end);
    EXPECT_TRUE(walk.damaged);

    // A name whose NUL is missing.
    b = good;
    b[14] = 'x';
    pak_rawchunk walk2(b.data(), uint32_t(b.size()));
    EXPECT_EQ(walk2.next(r), pak_record_end);
    EXPECT_TRUE(walk2.damaged);

    // Wrong marker bits.
    b = good;
    b[7] = 0x40;
    pak_rawchunk walk3(b.data(), uint32_t(b.size()));
    EXPECT_EQ(walk3.next(r), pak_record_end);

    // A name length that points beyond the bytes; a tail too short for a header.
    b = good;
    b[12] = 255;
    pak_rawchunk walk4(b.data(), uint32_t(b.size()));
    EXPECT_EQ(walk4.next(r), pak_record_end);
    b = good;
    b.resize(good.size() + 7, 0);
    pak_rawchunk walk5(b.data(), uint32_t(b.size()));
    EXPECT_EQ(walk5.next(r), pak_record_leaf);
    EXPECT_EQ(walk5.next(r), pak_record_end);
    EXPECT_TRUE(walk5.damaged);

    // A chunk that cannot be read leaves an empty walker.
    pak_rawchunk empty(ref_ptr<pak_chunkref>{});
    EXPECT_EQ(empty.size, 0u);
    EXPECT_EQ(empty.next(r), pak_record_end);
}

TEST(pak_records, names_that_do_not_fit_a_record_are_detected)
{
    pak_editchunk c = pak_editchunk::node(1, "ok", {pak_editchunk::leaf(2, std::string(127, 'n'), {})});
    EXPECT_TRUE(c.names_fit());
    c.children[0].name += 'n';
    EXPECT_FALSE(c.names_fit());
}
