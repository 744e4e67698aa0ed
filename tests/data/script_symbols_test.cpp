// Symbol table: fixed ids, case folding, numeric names, hashing and growth.
#include "data/script_symbols.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(script_symbols, nine_fixed_names_have_fixed_ids_and_keep_their_case)
{
    script_symbol_table t(64, 4, 2);
    const char* names[] = {"DAMP", "K", "POLYS", "TEX", "TX", "TY", "X", "Y", "Z"};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(t.intern(names[i]), 16384 + i);
        EXPECT_EQ(t.name_of(16384 + i), names[i]);
    }
    EXPECT_EQ(t.intern("x"), script_id_x);
    EXPECT_EQ(t.intern("polys"), script_id_polys);
    EXPECT_EQ(t.name_count(), 9);
    // A new name keeps the case it was first seen with.
    script_id tension = t.intern("Tension");
    EXPECT_EQ(tension, 16393);
    EXPECT_EQ(t.intern("TENSION"), tension);
    EXPECT_EQ(t.name_of(tension), "Tension");
}

TEST(script_symbols, case_folding_covers_only_ascii_letters)
{
    script_symbol_table t;
    EXPECT_NE(t.intern("\xC3\x89"), t.intern("\xC3\xA9"));
    EXPECT_NE(t.intern("a_"), t.intern("A\x7F"));
    EXPECT_NE(t.intern("["), t.intern("{"));  // '[' is 'Z'+1: not folded
}

TEST(script_symbols, hash_matches_the_stored_formula)
{
    const char* empty = "";
    EXPECT_EQ(script_symbol_table::hash_name(empty, empty), 5555u);
    const char a[] = "a";
    const char big_a[] = "A";
    uint32_t expected = 5555u * 49157u + 97u;
    EXPECT_EQ(script_symbol_table::hash_name(a, a + 1), expected);
    EXPECT_EQ(script_symbol_table::hash_name(big_a, big_a + 1), expected);
    // Bytes above 0x7F count as negative numbers.
    const char high[] = "\xC3";
    EXPECT_EQ(script_symbol_table::hash_name(high, high + 1), 5555u * 49157u + uint32_t(-61));
}

TEST(script_symbols, hash_prefixed_names_are_numeric_keys_and_add_nothing)
{
    script_symbol_table t;
    EXPECT_EQ(t.intern("#5"), 5);
    EXPECT_EQ(t.intern("#0"), 0);
    EXPECT_EQ(t.intern("#"), 0);
    EXPECT_EQ(t.intern("#16383"), 16383);
    // Bytes are not checked to be digits: 'A' - '0' is 17.
    EXPECT_EQ(t.intern("#1A"), 27);
    EXPECT_EQ(t.name_count(), 9);

    EXPECT_EQ(t.name_of(5), "#5");
    EXPECT_EQ(t.name_of(0), "#0");
    EXPECT_EQ(t.name_of(-7), "#0");
    // An id never handed out reads back as itself.
    EXPECT_EQ(t.name_of(20000), "#20000");
    EXPECT_EQ(t.intern("#20000"), 20000);
    EXPECT_EQ(t.pooled_name(5), nullptr);
    EXPECT_EQ(t.pooled_name(20000), nullptr);
}

TEST(script_symbols, buckets_grow_at_the_255th_name_and_ids_survive)
{
    script_symbol_table t(4096, 256, 256);
    std::vector<std::string> names;
    std::vector<script_id> ids;
    while (t.name_count() < 254) {
        names.push_back("name" + std::to_string(names.size()));
        ids.push_back(t.intern(names.back().c_str()));
    }
    EXPECT_EQ(t.bucket_count(), 256);
    names.push_back("the_255th");
    ids.push_back(t.intern(names.back().c_str()));
    EXPECT_EQ(t.bucket_count(), 512);
    for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(t.intern(names[i].c_str()), ids[i]) << names[i];
        EXPECT_EQ(t.name_of(ids[i]), names[i]);
    }
    EXPECT_EQ(t.intern("X"), script_id_x);
}

TEST(script_symbols, tiny_tables_grow_pool_entries_and_buckets)
{
    script_symbol_table t(1, 1, 1);
    std::vector<script_id> ids;
    for (int i = 0; i < 3000; ++i)
        ids.push_back(t.intern(("Key_" + std::to_string(i) + std::string(size_t(i % 40), 'z')).c_str()));
    for (int i = 0; i < 3000; ++i) {
        std::string name = "key_" + std::to_string(i) + std::string(size_t(i % 40), 'Z');
        ASSERT_EQ(t.intern(name.c_str()), ids[size_t(i)]);
        ASSERT_EQ(t.name_of(ids[size_t(i)]), "Key_" + std::to_string(i) + std::string(size_t(i % 40), 'z'));
    }
    EXPECT_EQ(ids.front(), 16393);
    EXPECT_EQ(ids.back(), 16393 + 2999);
    EXPECT_GE(t.bucket_count(), 64);
    EXPECT_EQ(t.name_count(), 3009);
}

TEST(script_symbols, names_are_delimited_by_their_end_pointer)
{
    script_symbol_table t;
    const char text[] = "tension.k";
    script_id tension = t.intern(text, text + 7);
    EXPECT_EQ(t.name_of(tension), "tension");
    EXPECT_EQ(t.intern(text + 8, text + 9), script_id_k);
    EXPECT_NE(t.intern("tensio"), tension);
    EXPECT_NE(t.intern("tensionk"), tension);
}
