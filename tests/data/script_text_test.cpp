// Script text: every lexical and grammar rule of the parser, and the writer's formats.
#include "data/script.h"

#include "tests/data/script_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

TEST(script_parser, key_paths_make_blocks)
{
    test_tree t;
    ASSERT_TRUE(t.parse("a.b.c 5"));
    EXPECT_EQ(t.root.get("a").type(), script_type_block);
    EXPECT_EQ(t.root.get("a.b").type(), script_type_block);
    EXPECT_EQ(t.root.get("a.b.c").as_int(), 5);
    EXPECT_EQ(t.root.get("A.B.C").as_int(), 5);
}

TEST(script_parser, keys_are_anonymous_numeric_or_identifiers)
{
    test_tree t;
    ASSERT_TRUE(t.parse("#5 7  12 8  tex\\ui\\Star_On { scroll_x 1 }  _under#sc0re 2  n.~.~ 3"));
    EXPECT_EQ(t.root.get(5).as_int(), 7);
    EXPECT_EQ(t.root.get(12).as_int(), 8);
    EXPECT_EQ(t.root.get(t.symbols->intern("tex\\ui\\Star_On")).get("scroll_x").as_int(), 1);
    EXPECT_EQ(t.root.get("_under#sc0re").as_int(), 2);
    // The counter counts every '~' of the sequence, wherever it stands in a path.
    EXPECT_EQ(t.root.get("n").get(0).get(1).as_int(), 3);
    for (const char* bad : {"!x 1", "a. 1", "a.!b 1", "\\a 1", "a..b 1", "~", "-x 1", "\"k\" 1"}) {
        test_tree u;
        EXPECT_FALSE(u.parse(bad)) << bad;
    }
}

TEST(script_parser, anonymous_counter_restarts_in_each_block)
{
    test_tree t;
    ASSERT_TRUE(t.parse("~ { x 1 } ~ { x 2 }\nn { ~ 1 ~ 2 } m { ~ 3 } a.~ 4 b.~ 5"));
    EXPECT_EQ(t.root.get(0).get("x").as_int(), 1);
    EXPECT_EQ(t.root.get(1).get("x").as_int(), 2);
    EXPECT_EQ(t.root.get("n").get(1).as_int(), 2);
    EXPECT_EQ(t.root.get("m").get(0).as_int(), 3);
    EXPECT_EQ(t.root.get("a").get(2).as_int(), 4);
    EXPECT_EQ(t.root.get("b").get(3).as_int(), 5);
}

TEST(script_parser, numbers)
{
    test_tree t;
    ASSERT_TRUE(t.parse("a -0.5 b -5 c 3. d . e - f .5 g 4294967297 h 1e5 7 i 0.1 j 2147483648"
                        " k -2147483648 l 12.25 m -.25"));
    auto real = [&](const char* k) {
        EXPECT_EQ(t.root.get(k).type(), script_type_real) << k;
        return float(t.root.get(k).as_real());
    };
    auto integer = [&](const char* k) {
        EXPECT_EQ(t.root.get(k).type(), script_type_int) << k;
        return t.root.get(k).as_int();
    };
    EXPECT_EQ(real("a"), -0.5f);
    EXPECT_EQ(integer("b"), -5);
    EXPECT_EQ(real("c"), 3.0f);
    EXPECT_EQ(real("d"), 0.0f);
    EXPECT_EQ(integer("e"), 0);
    EXPECT_EQ(real("f"), 0.5f);
    EXPECT_EQ(integer("g"), 1);  // wraps as unsigned 32 bits
    EXPECT_EQ(integer("h"), 1);  // no exponents: "e5" is the next key
    EXPECT_EQ(integer("e5"), 7);
    EXPECT_EQ(real("i"), 0.1f);
    EXPECT_EQ(integer("j"), INT32_MIN);
    EXPECT_EQ(integer("k"), INT32_MIN);
    EXPECT_EQ(real("l"), 12.25f);
    EXPECT_EQ(real("m"), -0.25f);
}

TEST(script_parser, long_fractions_stay_finite)
{
    test_tree t;
    std::string text = "tiny 0." + std::string(60, '0') + "1 many 1." + std::string(200, '9');
    ASSERT_TRUE(t.parse(text.c_str()));
    float tiny = float(t.root.get("tiny").as_real());
    EXPECT_FALSE(std::isnan(tiny));
    EXPECT_EQ(tiny, 0.0f);
    EXPECT_EQ(float(t.root.get("many").as_real()), 2.0f);
}

TEST(script_parser, strings_are_literal)
{
    test_tree t;
    ASSERT_TRUE(t.parse("s \"a b\nc\\n{}\" empty \"\" next 1"));
    EXPECT_STREQ(t.root.get("s").as_string(), "a b\nc\\n{}");
    EXPECT_EQ(t.root.get("empty").type(), script_type_string);
    EXPECT_EQ(t.root.get("next").as_int(), 1);
    test_tree u;
    EXPECT_FALSE(u.parse("a 1\ns \"never closed\n"));
    EXPECT_EQ(u.root.get("a").as_int(), 1);
    EXPECT_EQ(u.root.get("s").type(), script_type_int);
}

TEST(script_parser, bare_words_become_symbol_ids)
{
    test_tree t;
    ASSERT_TRUE(t.parse("kind rope axis X num #12"));
    EXPECT_EQ(t.root.get("kind").as_int(), t.symbols->intern("rope"));
    EXPECT_EQ(t.root.get("axis").as_int(), script_id_x);
    EXPECT_EQ(t.root.get("num").as_int(), 12);
    for (const char* bad : {"a #0", "a #", "a ~", "a !", "a }", "a"}) {
        test_tree u;
        EXPECT_FALSE(u.parse(bad)) << bad;
    }
}

TEST(script_parser, blocks_merge_and_values_overwrite)
{
    test_tree t;
    ASSERT_TRUE(t.parse("a { x 1 } a { y 2 }  b 1 b { z 3 }  c { z 3 } c 5  d 1 d \"s\"  e{}"));
    EXPECT_EQ(t.root.get("a.x").as_int(), 1);
    EXPECT_EQ(t.root.get("a.y").as_int(), 2);
    EXPECT_EQ(t.root.get("b.z").as_int(), 3);
    EXPECT_EQ(t.root.get("c").type(), script_type_int);
    EXPECT_EQ(t.root.get("c").as_int(), 5);
    EXPECT_STREQ(t.root.get("d").as_string(), "s");
    EXPECT_EQ(t.root.get("e").type(), script_type_block);
    EXPECT_EQ(t.root.get("e").size(), 0);
    // Parsing into a tree that already holds entries adds to them.
    ASSERT_TRUE(t.parse("a.x 9 f 1"));
    EXPECT_EQ(t.root.get("a.x").as_int(), 9);
    EXPECT_EQ(t.root.get("a.y").as_int(), 2);
}

TEST(script_parser, block_ends_and_failures_keep_what_was_read)
{
    test_tree open;
    EXPECT_FALSE(open.parse("a 1\nb {\n c 2\n"));
    EXPECT_EQ(open.root.get("a").as_int(), 1);
    EXPECT_EQ(open.root.get("b.c").as_int(), 2);
    EXPECT_EQ(open.stop_line, 4);

    test_tree bracket;
    EXPECT_FALSE(bracket.parse("b { c 2 ]"));
    EXPECT_EQ(bracket.root.get("b.c").as_int(), 2);

    test_tree top;
    EXPECT_TRUE(top.parse("a 1 } b 2"));
    EXPECT_EQ(top.root.get("a").as_int(), 1);
    EXPECT_FALSE(top.root.get("b").exists());
    test_tree square;
    EXPECT_TRUE(square.parse("a 1 ] b 2"));
    EXPECT_FALSE(square.root.get("b").exists());

    test_tree line;
    EXPECT_FALSE(line.parse("a 1\r\n\tb 2\n  !c 3\n"));
    EXPECT_EQ(line.stop_line, 3);

    test_tree empty;
    EXPECT_TRUE(empty.parse(" \t\r\n"));
    EXPECT_EQ(empty.root.type(), script_type_int);
    // Anything but the four white-space bytes is not skipped.
    test_tree other;
    EXPECT_FALSE(other.parse("a\v1"));
    EXPECT_FALSE(other.parse("// comment\na 1"));
}

TEST(script_parser, nesting_deeper_than_the_limit_fails)
{
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "a{";
        text += "";
        for (int i = 0; i < depth; ++i)
            text += "}";
        return text;
    };
    test_tree ok;
    EXPECT_TRUE(ok.parse(nested(script_max_depth).c_str()));
    test_tree too_deep;
    EXPECT_FALSE(too_deep.parse(nested(script_max_depth + 1).c_str()));
    std::string huge_text;
    for (int i = 0; i < 200000; ++i)
        huge_text += "a{";
    test_tree huge;
    EXPECT_FALSE(huge.parse(huge_text.c_str()));
    std::string path = "a";
    for (int i = 0; i < 400; ++i)
        path += ".a";
    test_tree long_path;
    EXPECT_FALSE(long_path.parse((path + " 1").c_str()));
}

TEST(script_parser, needs_a_target)
{
    script_parser parser(script_handle::nil);
    EXPECT_FALSE(parser.parse("a 1"));
    test_tree t;
    script_parser p(t.root);
    EXPECT_FALSE(p.parse(nullptr));
}

TEST(script_writer, exact_formats)
{
    test_tree t;
    ASSERT_TRUE(t.parse("x 1.5"));
    EXPECT_EQ(t.write(), "X\t1.500000\n");

    test_tree u;
    ASSERT_TRUE(u.parse("name \"a b\" n -3 pos { ~ 1 ~ { y 0.25 } } e {}"));
    EXPECT_EQ(u.write(), "name\t\"a b\"\n"
                         "n\t-3\n"
                         "pos\n{\n"
                         "\t#0\t1\n"
                         "\t#1\n\t{\n\t\tY\t0.250000\n\t}\n"
                         "}\n"
                         "e\n{\n}\n");
    EXPECT_EQ(u.write("level"), "level\n{\n\tname\t\"a b\"\n\tn\t-3\n\tpos\n\t{\n\t\t#0\t1\n"
                                "\t\t#1\n\t\t{\n\t\t\tY\t0.250000\n\t\t}\n\t}\n\te\n\t{\n\t}\n}\n");
    script_handle leaf = u.root.get("n");
    std::string single;
    EXPECT_TRUE(script_write(single, "v", leaf));
    EXPECT_EQ(single, "v\t-3\n");
    // Without a name, a value has no children to write.
    std::string none;
    EXPECT_TRUE(script_write(none, nullptr, leaf));
    EXPECT_EQ(none, "");
    EXPECT_FALSE(script_write(none, nullptr, script_handle::nil));
}

TEST(script_writer, indentation_stops_at_sixteen_tabs)
{
    test_tree t;
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "k{";
    text += "v 1";
    text += std::string(20, '}');
    ASSERT_TRUE(t.parse(text.c_str()));
    std::string out = t.write();
    EXPECT_NE(out.find(std::string(16, '\t') + "v\t1\n"), std::string::npos);
    EXPECT_EQ(out.find(std::string(17, '\t')), std::string::npos);
    // What was written parses back to the same text.
    test_tree back(t);
    ASSERT_TRUE(back.parse(out.c_str()));
    EXPECT_EQ(back.write(), out);
}

TEST(script_writer, cycles_and_over_deep_trees_fail_instead_of_recursing_forever)
{
    test_tree t;
    script_handle loop = t.root.make("loop");
    ASSERT_TRUE(loop.link(t.symbols->intern("self"), loop));
    EXPECT_EQ(loop.get("self.self.self").cell, loop.cell);
    std::string out;
    EXPECT_FALSE(script_write(out, nullptr, t.root));
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(script_save_binary(bytes, nullptr, t.root));
    // Break the cycle so the cells are freed.
    loop.set_int(0);
}

TEST(script_writer, output_parses_back_to_the_same_text)
{
    test_tree t;
    ASSERT_TRUE(
        t.parse("worlds { ~ { name \"Workshop\" map \"tex\\maps\\workshop\" ~ { level \"levels\\Ledge\" "
                "difficulty 3 } ~ { level \"levels\\Lever\" difficulty 5 } } }\n"
                "collision_sounds { wood { wood \"sounds\\Knock1\" glass \"sounds\\Clink\" } }\n"
                "nodes { ~ { type ball_red pos { x 10.5 y -2.25 } } ~ { type ball_blue pos.x 40 pos.y 8 } }"
                " constraints { ~ { type rope from 0 to 1 } } gravity 20.0"));
    std::string once = t.write();
    test_tree back(t);
    ASSERT_TRUE(back.parse(once.c_str()));
    EXPECT_EQ(back.write(), once);
}

TEST(script_writer, writes_to_a_file_stream)
{
    test_tree t;
    ASSERT_TRUE(t.parse("a { b \"c\" }"));
    FILE* f = std::tmpfile();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(script_write(f, nullptr, t.root));
    std::rewind(f);
    char buf[64] = {};
    size_t n = std::fread(buf, 1, sizeof buf - 1, f);
    std::fclose(f);
    EXPECT_EQ(std::string(buf, n), "a\n{\n\tb\t\"c\"\n}\n");
    EXPECT_FALSE(script_write(static_cast<FILE*>(nullptr), nullptr, t.root));
}
