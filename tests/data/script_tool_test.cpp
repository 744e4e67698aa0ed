// tamble-pak's script commands, run as a separate process: dump-script, dump-config
// and make-config.
#include "data/script.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct run_result {
    int status = -1;
    std::string out;
    std::string err;
};

// Per process and per test: CTest runs these tests in parallel processes, and other
// build trees may run them at the same time over the same temporary directory.
// Each is removed when the process ends.
std::string temp_path(const std::string& name)
{
    struct made_files {
        std::vector<std::string> paths;
        ~made_files()
        {
            for (const std::string& p : paths)
                std::remove(p.c_str());
        }
    };
    static made_files made;
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    made.paths.push_back(testing::TempDir() + "script_tool_" + std::to_string(getpid()) + "_" +
                         (test ? test->name() : "none") + "_" + name);
    return made.paths.back();
}

void write_file(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

run_result pak(const std::string& args)
{
    run_result r;
    std::string err_path = temp_path("stderr");
    std::string command = std::string(TAMBLE_PAK) + " " + args + " 2>" + err_path;
    FILE* p = popen(command.c_str(), "r");
    if (!p)
        return r;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, n);
    int status = pclose(p);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.err = read_file(err_path);
    return r;
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

TEST(script_tool, DumpScriptPrintsEachFileWithTheWriter)
{
    std::string a = temp_path("a.txt"), b = temp_path("b.txt");
    write_file(a, "level { name \"One\" nodes { ~ { x 1.5 y -2 } ~ { x 3 } } }\r\n");
    write_file(b, "level { name \"Two\" } gravity 20");
    run_result r = pak("dump-script " + a + " " + b);
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, written(read_file(a)) + written(read_file(b)));
    EXPECT_EQ(r.err, "");

    run_result merged = pak("dump-script --merge " + a + " " + b);
    EXPECT_EQ(merged.status, 0);
    EXPECT_EQ(merged.out, written(read_file(a) + "\n" + read_file(b)));

    std::string sample = std::string(TAMBLE_SOURCE_DIR) + "/base/sample.INIT.txt";
    run_result s = pak("dump-script " + sample);
    EXPECT_EQ(s.status, 0) << s.err;
    EXPECT_EQ(s.out, written(read_file(sample)));
    EXPECT_GT(s.out.size(), 100u);
}

TEST(script_tool, DumpScriptReportsTheLineWhereParsingStopped)
{
    std::string good = temp_path("good.txt"), bad = temp_path("bad.txt");
    write_file(good, "a 1\n");
    write_file(bad, "a 1\nb {\n  c \"open\n\n");
    run_result r = pak("dump-script " + good + " " + bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, bad + ":5: parse error\n");
    EXPECT_EQ(r.out, "a\t1\n");  // the good file is still printed

    write_file(bad, "a 1\n  !b 2\n");
    run_result merged = pak("dump-script --merge " + good + " " + bad);
    EXPECT_EQ(merged.status, 1);
    EXPECT_EQ(merged.err, bad + ":2: parse error\n");
    EXPECT_EQ(merged.out, "");

    run_result missing = pak("dump-script " + temp_path("no_such_file.txt"));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no_such_file.txt: cannot open"), std::string::npos);

    EXPECT_EQ(pak("dump-script").status, 2);
    EXPECT_EQ(pak("dump-script --bogus " + good).status, 2);
}

TEST(script_tool, MakeConfigAndDumpConfigRoundTrip)
{
    std::string in = temp_path("config.txt"), out = temp_path("config.dat");
    write_file(in, "sound 1 music 0 profiles { ~ { name \"Ann\" stars 17 volume 0.5 } }");
    run_result made = pak("make-config " + in + " " + out);
    ASSERT_EQ(made.status, 0) << made.err;
    EXPECT_EQ(read_file(out).substr(0, 7), std::string("config\0", 7));

    run_result dumped = pak("dump-config " + out);
    EXPECT_EQ(dumped.status, 0) << dumped.err;
    // The loader interns the names in list order, so "profiles" (bucket 0 of a block
    // of three) now comes before "sound" and "music".
    EXPECT_EQ(dumped.out, "config\n{\n\tprofiles\n\t{\n\t\t#0\n\t\t{\n"
                          "\t\t\tname\t\"Ann\"\n\t\t\tstars\t17\n\t\t\tvolume\t0.500000\n"
                          "\t\t}\n\t}\n\tsound\t1\n\tmusic\t0\n}\n");

    run_result named = pak("make-config --root editor " + in + " " + out);
    ASSERT_EQ(named.status, 0);
    EXPECT_EQ(pak("dump-config " + out).out.substr(0, 9), "editor\n{\n");

    std::string bytes = read_file(out);
    write_file(out, bytes.substr(0, bytes.size() - 3));
    run_result damaged = pak("dump-config " + out);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.err.find("damaged or truncated"), std::string::npos);
    EXPECT_EQ(damaged.out, "");

    std::string bad = temp_path("bad_config.txt");
    write_file(bad, "a {");
    EXPECT_EQ(pak("make-config " + bad + " " + out).status, 1);
    EXPECT_EQ(pak("make-config " + in).status, 2);
    EXPECT_EQ(pak("make-config --root").status, 2);
    EXPECT_EQ(pak("dump-config").status, 2);
    EXPECT_EQ(pak("dump-config " + temp_path("missing.dat")).status, 1);
}
