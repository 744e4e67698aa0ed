// tamble-pak build, list, cat and extract, run as a program on scratch trees.
#include "tests/data/pak_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

std::vector<uint8_t> chunk_file(uint32_t header, const std::string& bytes)
{
    std::vector<uint8_t> b;
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(header >> (8 * i)));
    b.insert(b.end(), bytes.begin(), bytes.end());
    return b;
}

// Source tree: relative path -> content.
void write_tree(const test_scratch_dir& dir, const std::string& root,
                const std::map<std::string, std::vector<uint8_t>>& files)
{
    for (const auto& [rel, bytes] : files)
        test_write_bytes(dir.file(root + "/" + rel), bytes);
}

}  // namespace

TEST(pak_tool, build_list_cat_and_extract_round_trip_every_chunk)
{
    test_scratch_dir dir;
    std::string long_script;  // 5000 bytes of script text
    for (int i = 0; i < 1250; ++i)
        long_script += "p 1\n";
    std::map<std::string, std::vector<uint8_t>> base = {
        {"init/worlds.INIT.txt", pak_bytes("worlds\n{\n\tcount 3\n}\n")},
        {"levels/Ledge.LEVL.txt", pak_bytes("name \"Ledge\"\nstars 3\n")},
        {"levels/Title.LEVL.txt", pak_bytes("title 1\n")},
        {"bodies/pot_red.BTYP.txt", pak_bytes(long_script)},
        {"constraints/default.CTYP.txt", pak_bytes("")},
        {"levels/Ledge_r.RPLY.pkc", chunk_file(0x20000000, "replay\x01\x02\x03")},
        // A container whose bytes are no whole records still comes back as it was.
        {"tex/odd.IMAG.pkc", chunk_file(0x30000000, "hello")},
        {"CMakeLists.txt", pak_bytes("not a source")},
    };
    std::map<std::string, std::vector<uint8_t>> generated = {
        {"levels/Title.LEVL.txt", pak_bytes("title 2 # overridden\n")},
        {"sounds/beep.SAMP.pkc", chunk_file(0x30000000, "")},
    };
    write_tree(dir, "base", base);
    write_tree(dir, "gen", generated);
    std::string archive = dir.file("out/tamble.pk2");
    std::filesystem::create_directories(dir.file("out"));
    test_tool_run b = test_run_tool(
        TAMBLE_PAK, std::vector<std::string>{"build", "-o", archive, dir.file("base"), dir.file("gen")});
    ASSERT_EQ(b.status, 0) << b.err;

    std::map<std::string, std::string> expect = {
        {"init\\worlds", "worlds\n{\n\tcount 3\n}\n"},
        {"levels\\Ledge", "name \"Ledge\"\nstars 3\n"},
        {"levels\\Title", "title 2 # overridden\n"},
        {"bodies\\pot_red", long_script},
        {"constraints\\default", ""},
        {"levels\\Ledge_r", "replay\x01\x02\x03"},
        {"sounds\\beep", ""},
        {"tex\\odd", "hello"},
    };
    test_tool_run l = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"list", archive});
    ASSERT_EQ(l.status, 0) << l.err;
    std::istringstream lines(l.out);
    std::string line;
    std::map<std::string, std::string> listed;
    while (std::getline(lines, line)) {
        size_t bracket = line.find('[');
        ASSERT_NE(bracket, std::string::npos) << line;
        listed[line.substr(0, bracket)] = line.substr(bracket);
    }
    ASSERT_EQ(listed.size(), expect.size()) << l.out;
    EXPECT_EQ(listed["init\\worlds"].substr(0, 8), "[INIT,-]");
    EXPECT_EQ(listed["sounds\\beep"].substr(0, 8), "[SAMP,C]");
    EXPECT_EQ(listed["tex\\odd"].substr(0, 8), "[IMAG,C]");
    EXPECT_NE(listed["bodies\\pot_red"].find("\t5000\t"), std::string::npos) << listed["bodies\\pot_red"];

    test_tool_run x = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"extract", archive, dir.file("x")});
    ASSERT_EQ(x.status, 0) << x.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("x/levels/Ledge_r.RPLY.pkc")));
    for (const auto& [name, bytes] : expect) {
        test_tool_run c = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"cat", archive, name});
        EXPECT_EQ(c.status, 0) << name << c.err;
        EXPECT_EQ(c.out, bytes) << name;
        test_tool_run c2 = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"cat", archive + ":" + name});
        EXPECT_EQ(c2.out, bytes) << name;
        test_tool_run c3 = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"cat", dir.file("x"), name});
        EXPECT_EQ(c3.out, bytes) << name;
    }
    EXPECT_EQ(
        test_run_tool(TAMBLE_PAK, std::vector<std::string>{"cat", dir.file("x/levels/Ledge_r.RPLY.pkc")}).out,
        "replay\x01\x02\x03");
}

TEST(pak_tool, the_same_sources_give_the_same_bytes)
{
    test_scratch_dir dir;
    // The same tree written in two different orders (the listing order may differ).
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i)
        names.push_back("d" + std::to_string(i % 5) + "/n" + std::to_string(i) + ".LEVL.txt");
    for (size_t i = 0; i < names.size(); ++i)
        test_write_bytes(dir.file("a/" + names[i]), pak_bytes("v " + std::to_string(i) + "\n"));
    for (size_t i = names.size(); i-- > 0;)
        test_write_bytes(dir.file("b/" + names[i]), pak_bytes("v " + std::to_string(i) + "\n"));
    ASSERT_EQ(
        test_run_tool(TAMBLE_PAK, std::vector<std::string>{"build", "-o", dir.file("a.pk2"), dir.file("a")})
            .status,
        0);
    ASSERT_EQ(
        test_run_tool(TAMBLE_PAK, std::vector<std::string>{"build", "-o", dir.file("b.pk2"), dir.file("b")})
            .status,
        0);
    std::vector<uint8_t> a = test_read_bytes(dir.file("a.pk2"));
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, test_read_bytes(dir.file("b.pk2")));
    // Rebuilding over an existing archive gives the same bytes again.
    ASSERT_EQ(
        test_run_tool(TAMBLE_PAK, std::vector<std::string>{"build", "-o", dir.file("a.pk2"), dir.file("b")})
            .status,
        0);
    EXPECT_EQ(a, test_read_bytes(dir.file("a.pk2")));
}

TEST(pak_tool, errors_give_one_line_on_stderr_and_a_failure_status)
{
    test_scratch_dir dir;
    auto one_line = [](const test_tool_run& r) {
        return !r.err.empty() && r.err.find('\n') == r.err.size() - 1;
    };
    test_tool_run r = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"list", dir.file("missing.pk2")});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(one_line(r)) << r.err;
    r = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"frobnicate"});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(one_line(r)) << r.err;
    r = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"cat", dir.file("nothing.IMAG.pkc")});
    EXPECT_NE(r.status, 0);
    r = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"build", "-o", dir.file("o.pk2")});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(one_line(r)) << r.err;

    // Two sources for one chunk name in the same root.
    test_write_bytes(dir.file("dup/a.LEVL.txt"), pak_bytes("a 1"));
    test_write_bytes(dir.file("dup/a.INIT.txt"), pak_bytes("b 2"));
    r = test_run_tool(TAMBLE_PAK,
                      std::vector<std::string>{"build", "-o", dir.file("o.pk2"), dir.file("dup")});
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("o.pk2")));

    // Script text that does not parse names its file and line and stops the build.
    test_write_bytes(dir.file("broken/init/x.INIT.txt"), pak_bytes("x 1\ny {\n  z 2\n"));
    r = test_run_tool(TAMBLE_PAK,
                      std::vector<std::string>{"build", "-o", dir.file("o.pk2"), dir.file("broken")});
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("x.INIT.txt:4: parse error"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(dir.file("o.pk2")));

    // A damaged archive: its intact chunks are listed, the damage reported.
    test_write_bytes(dir.file("ok/x.LEVL.txt"), pak_bytes("x 1"));
    test_write_bytes(dir.file("ok/y.LEVL.txt"), pak_bytes("y 2"));
    ASSERT_EQ(
        test_run_tool(TAMBLE_PAK, std::vector<std::string>{"build", "-o", dir.file("ok.pk2"), dir.file("ok")})
            .status,
        0);
    std::vector<uint8_t> bytes = test_read_bytes(dir.file("ok.pk2"));
    bytes[7] = 0x80;  // the first record's marker
    test_write_bytes(dir.file("bad.pk2"), bytes);
    r = test_run_tool(TAMBLE_PAK, std::vector<std::string>{"list", dir.file("bad.pk2")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(one_line(r)) << r.err;
    EXPECT_NE(r.out.find("y[LEVL,-]"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("x[LEVL,-]"), std::string::npos) << r.out;

    // A hostile name cannot make extract write outside its directory.
    pak_system sys;
    {
        pak_file evil(&sys, true, dir.file("evil.pk2").c_str());
        ASSERT_TRUE(evil.write_raw(pak_code_levl, "..\\..\\escaped", 1, false, "x", 0, false));
        ASSERT_TRUE(evil.write_raw(pak_code_levl, "fine", 1, false, "x", 0, false));
    }
    r = test_run_tool(TAMBLE_PAK,
                      std::vector<std::string>{"extract", dir.file("evil.pk2"), dir.file("ex/inner")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.file("ex/inner/fine.LEVL.pkc")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("escaped.LEVL.pkc")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("ex/escaped.LEVL.pkc")));
}
