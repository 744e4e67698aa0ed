// Binary form of script trees: exact bytes, round trips, and damaged input.
#include "data/script.h"

#include "tests/data/script_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::vector<uint8_t> bytes_of(const std::string& s)
{
    return std::vector<uint8_t>(s.begin(), s.end());
}

std::vector<uint8_t> save(const test_tree& t, const char* name)
{
    std::vector<uint8_t> out;
    EXPECT_TRUE(script_save_binary(out, name, t.root));
    return out;
}

bool load(const std::vector<uint8_t>& bytes, test_tree& into, bool itself)
{
    return script_load_binary(bytes.data(), bytes.size(), into.root, itself);
}

}  // namespace

TEST(script_binary, exact_bytes)
{
    test_tree t;
    ASSERT_TRUE(t.parse("a 1 b \"hi\" c { a 2.0 } d -2"));
    std::string expected("config\0a\0b\0c\0d\0\0", 16);
    expected += std::string("\x01\x04", 2);                              // root: name 0, block
    expected += std::string("\x02\x01\x01\x00\x00\x00", 6);              // a: integer 1
    expected += std::string("\x03\x03hi\0", 5);                          // b: string
    expected += std::string("\x04\x04\x02\x02\x00\x00\x00\x40\x00", 9);  // c { a 2.0 }
    expected += std::string("\x05\x01\xFE\xFF\xFF\xFF", 6);              // d: integer -2
    expected += std::string("\0", 1);
    EXPECT_EQ(save(t, "config"), bytes_of(expected));
    // Without a name the root is called "root".
    std::vector<uint8_t> unnamed = save(t, nullptr);
    EXPECT_EQ(std::string(unnamed.begin(), unnamed.begin() + 5), std::string("root\0", 5));
}

TEST(script_binary, round_trips_under_the_root_name_or_into_the_handle)
{
    test_tree t;
    ASSERT_TRUE(t.parse("sound 1 music 0 profiles { ~ { name \"Ann\" stars 17 "
                        "levels { ~ 3 ~ 1 } } ~ { name \"Bo\" volume 0.75 } }"));
    std::vector<uint8_t> bytes = save(t, "config");

    test_tree under(t);
    ASSERT_TRUE(under.parse("other 5"));
    ASSERT_TRUE(load(bytes, under, false));
    EXPECT_EQ(under.root.get("other").as_int(), 5);
    EXPECT_EQ(under.root.size(), 2);
    std::string loaded;
    script_write(loaded, nullptr, under.root.get("config"));
    EXPECT_EQ(loaded, t.write());

    test_tree itself(t);
    ASSERT_TRUE(load(bytes, itself, true));
    EXPECT_EQ(itself.write(), t.write());
    EXPECT_STREQ(itself.root.get("profiles").get(0).get("name").as_string(), "Ann");
    EXPECT_EQ(itself.root.get("profiles").get(0).get("levels").get(1).as_int(), 1);
    EXPECT_EQ(float(itself.root.get("profiles").get(1).get("volume").as_real()), 0.75f);
}

TEST(script_binary, many_names_use_multi_byte_varints)
{
    test_tree t;
    for (int i = 0; i < 300; ++i)
        t.root.make(("key" + std::to_string(i)).c_str()).set_int(i);
    std::vector<uint8_t> bytes = save(t, "config");
    test_tree back(t);
    ASSERT_TRUE(load(bytes, back, true));
    EXPECT_EQ(back.write(), t.write());
    EXPECT_EQ(back.root.get("key299").as_int(), 299);
}

TEST(script_binary, names_are_case_insensitive_and_hash_names_are_numeric)
{
    std::string file("CONFIG\0SOUND\0#3\0\0", 17);
    file += std::string("\x01\x04\x02\x01\x07\x00\x00\x00\x03\x03x\0\x00", 13);
    test_tree t;
    ASSERT_TRUE(t.parse("config { sound 1 music 1 }"));
    ASSERT_TRUE(load(bytes_of(file), t, false));
    EXPECT_EQ(t.root.get("config.sound").as_int(), 7);
    EXPECT_EQ(t.root.get("config.music").as_int(), 1);
    EXPECT_STREQ(t.root.get("config").get(3).as_string(), "x");
    EXPECT_EQ(t.root.size(), 1);
}

TEST(script_binary, type_zero_leaves_the_node_and_empty_blocks_stay_blocks)
{
    std::string file("r\0a\0b\0\0", 7);
    file += std::string("\x01\x04\x02\x00\x03\x04\x00\x00", 8);
    test_tree t;
    ASSERT_TRUE(t.parse("a \"kept\" b 4"));
    ASSERT_TRUE(load(bytes_of(file), t, true));
    EXPECT_STREQ(t.root.get("a").as_string(), "kept");
    EXPECT_EQ(t.root.get("b").type(), script_type_block);
    EXPECT_EQ(t.root.get("b").size(), 0);
}

TEST(script_binary, damaged_files_fail_without_reading_past_the_end)
{
    test_tree t;
    ASSERT_TRUE(t.parse("a 1 b \"text\" c { d 2.5 e { f 3 } } g 4"));
    std::vector<uint8_t> bytes = save(t, "config");
    // Every proper prefix is a truncated file. Copies of exact size let the address
    // sanitizer catch any read past the end.
    for (size_t n = 0; n < bytes.size(); ++n) {
        std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + long(n));
        test_tree into;
        EXPECT_FALSE(script_load_binary(cut.data(), cut.size(), into.root, false)) << n;
    }
    auto fails = [](const std::string& file) {
        test_tree into;
        std::vector<uint8_t> b = bytes_of(file);
        return !script_load_binary(b.data(), b.size(), into.root, true);
    };
    EXPECT_TRUE(fails(std::string("r\0\0\x01\x05", 5)));                     // type above 4
    EXPECT_TRUE(fails(std::string("r\0\0\x02\x01\x00\x00\x00\x00", 9)));     // root index past the list
    EXPECT_TRUE(fails(std::string("r\0\0\x00\x01\x00\x00\x00\x00", 9)));     // root index 0
    EXPECT_TRUE(fails(std::string("r\0\0\x01\x04\x05\x01\0\0\0\0\0", 12)));  // child index past the list
    EXPECT_TRUE(fails(std::string("r\0\0\x81\x80\x80\x80\x80\x01\x01\0\0\0\0", 14)));  // varint too long
    EXPECT_TRUE(fails(std::string("r\0\0\x01\x03no end", 11)));           // string without its NUL
    EXPECT_FALSE(fails(std::string("r\0\0\x81\x00\x01\x07\0\0\0", 10)));  // padded varint 1 is fine
    test_tree none;
    EXPECT_FALSE(script_load_binary(nullptr, 0, none.root, true));
    EXPECT_FALSE(script_load_binary(bytes.data(), bytes.size(), script_handle::nil, true));
}

TEST(script_binary, long_names_fail)
{
    auto file_with_name = [](size_t length) {
        std::string f(length, 'n');
        f += std::string("\0\0\x01\x01\x02\0\0\0", 8);
        return bytes_of(f);
    };
    test_tree ok;
    ASSERT_TRUE(load(file_with_name(script_binary_max_name - 1), ok, false));
    EXPECT_EQ(ok.root.get(std::string(script_binary_max_name - 1, 'N').c_str()).as_int(), 2);
    test_tree bad;
    EXPECT_FALSE(load(file_with_name(script_binary_max_name), bad, false));
    // The saver refuses to write what the loader would refuse.
    test_tree t;
    t.root.make(std::string(script_binary_max_name, 'k').c_str()).set_int(1);
    std::vector<uint8_t> out;
    EXPECT_FALSE(script_save_binary(out, "config", t.root));
}

TEST(script_binary, nesting_deeper_than_the_limit_fails)
{
    auto nested_file = [](int depth) {
        std::string f("r\0a\0\0\x01", 6);
        for (int i = 0; i < depth; ++i)
            f += std::string("\x04\x02", 2);
        f += std::string("\x01\x01\0\0\0", 5);
        f += std::string(size_t(depth), '\0');
        return bytes_of(f);
    };
    test_tree ok;
    EXPECT_TRUE(load(nested_file(script_max_depth), ok, true));
    test_tree deep;
    EXPECT_FALSE(load(nested_file(script_max_depth + 1), deep, true));
    test_tree huge;
    EXPECT_FALSE(load(nested_file(100000), huge, true));

    test_tree t;
    script_handle h = t.root;
    for (int i = 0; i < script_max_depth; ++i)
        h = h.make("a");
    std::vector<uint8_t> out;
    EXPECT_TRUE(script_save_binary(out, "config", t.root));
    h.make("a");
    EXPECT_FALSE(script_save_binary(out, "config", t.root));
}

TEST(script_binary, file_streams)
{
    test_tree t;
    ASSERT_TRUE(t.parse("stars 12 name \"Ann\""));
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    ASSERT_TRUE(script_save_binary(f, "config", t.root));
    std::rewind(f);
    test_tree back;
    ASSERT_TRUE(script_load_binary(f, back.root, false));
    std::fclose(f);
    EXPECT_EQ(back.root.get("config.stars").as_int(), 12);
    EXPECT_FALSE(script_load_binary(static_cast<FILE*>(nullptr), back.root, false));
    EXPECT_FALSE(script_save_binary(static_cast<FILE*>(nullptr), "config", t.root));
}
