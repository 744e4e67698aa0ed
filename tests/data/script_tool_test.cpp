// tamble-pak's script commands, run as a separate process: dump-script, dump-config
// and make-config.
#include "data/script.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Scratch files of this process, removed when it ends.
std::string temp_path(const std::string& name)
{
    static test_scratch_dir dir;
    return dir.file(name);
}

test_tool_run pak(const std::string& args)
{
    return test_run_tool(TAMBLE_PAK, args);
}

// What the writer makes of a text parsed into a fresh small tree.
std::string written(const std::string& text)
{
    script_symbol_table symbols(script_small_pool, script_small_buckets, script_small_entries);
    script_handle tree = script_handle::fresh(&symbols);
    script_parser parser(tree);
    EXPECT_TRUE(parser.parse(text.c_str()));
    std::string out;
    script_write(out, nullptr, tree);
    return out;
}

}  // namespace

TEST(script_tool, dump_script_prints_each_file_with_the_writer)
{
    std::string a = temp_path("a.txt"), b = temp_path("b.txt");
    test_write_text(a, "level { name \"One\" nodes { ~ { x 1.5 y -2 } ~ { x 3 } } }\r\n");
    test_write_text(b, "level { name \"Two\" } gravity 20");
    test_tool_run r = pak("dump-script " + a + " " + b);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, written(test_read_text(a)) + written(test_read_text(b)));
    EXPECT_EQ(r.err, "");

    test_tool_run merged = pak("dump-script --merge " + a + " " + b);
    EXPECT_EQ(merged.status, 0);
    EXPECT_EQ(merged.out, written(test_read_text(a) + "\n" + test_read_text(b)));

    std::string sample = std::string(TAMBLE_SOURCE_DIR) + "/base/sample.INIT.txt";
    test_tool_run s = pak("dump-script " + sample);
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.out, written(test_read_text(sample)));
    EXPECT_GT(s.out.size(), 100u);
}

TEST(script_tool, dump_script_reports_the_line_where_parsing_stopped)
{
    std::string good = temp_path("good.txt"), bad = temp_path("bad.txt");
    test_write_text(good, "a 1\n");
    test_write_text(bad, "a 1\nb {\n  c \"open\n\n");
    test_tool_run r = pak("dump-script " + good + " " + bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, bad + ":5: parse error\n");
    EXPECT_EQ(r.out, "a\t1\n");  // the good file is still printed

    test_write_text(bad, "a 1\n  !b 2\n");
    test_tool_run merged = pak("dump-script --merge " + good + " " + bad);
    EXPECT_EQ(merged.status, 1);
    EXPECT_EQ(merged.err, bad + ":2: parse error\n");
    EXPECT_EQ(merged.out, "");

    test_tool_run missing = pak("dump-script " + temp_path("no_such_file.txt"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no_such_file.txt: cannot open"), std::string::npos);

    EXPECT_EQ(pak("dump-script").status, 2);
    EXPECT_EQ(pak("dump-script --bogus " + good).status, 2);
}

TEST(script_tool, make_config_and_dump_config_round_trip)
{
    std::string in = temp_path("config.txt"), out = temp_path("config.dat");
    test_write_text(in, "sound 1 music 0 profiles { ~ { name \"Ann\" stars 17 volume 0.5 } }");
    test_tool_run made = pak("make-config " + in + " " + out);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(test_read_text(out).substr(0, 7), std::string("config\0", 7));

    test_tool_run dumped = pak("dump-config " + out);
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    // The loader interns the names in list order, so "profiles" (bucket 0 of a block
    // of three) now comes before "sound" and "music".
    EXPECT_EQ(dumped.out, "config\n{\n\tprofiles\n\t{\n\t\t#0\n\t\t{\n"
                          "\t\t\tname\t\"Ann\"\n\t\t\tstars\t17\n\t\t\tvolume\t0.500000\n"
                          "\t\t}\n\t}\n\tsound\t1\n\tmusic\t0\n}\n");

    test_tool_run named = pak("make-config --root editor " + in + " " + out);
    ASSERT_EQ(named.status, 0);
    EXPECT_EQ(pak("dump-config " + out).out.substr(0, 9), "editor\n{\n");

    std::string bytes = test_read_text(out);
    test_write_text(out, bytes.substr(0, bytes.size() - 3));
    test_tool_run damaged = pak("dump-config " + out);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("damaged or truncated"), std::string::npos);
    EXPECT_EQ(damaged.out, "");

    std::string bad = temp_path("bad_config.txt");
    test_write_text(bad, "a {");
    EXPECT_EQ(pak("make-config " + bad + " " + out).status, 1);
    EXPECT_EQ(pak("make-config " + in).status, 2);
    EXPECT_EQ(pak("make-config --root").status, 2);
    EXPECT_EQ(pak("dump-config").status, 2);
    EXPECT_EQ(pak("dump-config " + temp_path("missing.dat")).status, 1);
}
