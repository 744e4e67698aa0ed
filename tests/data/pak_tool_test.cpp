// tamble-pak build, list, cat and extract, run as a program on scratch trees.
#include "tests/data/pak_test_util.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <sstream>

namespace {

struct tool_run {
    int status;
    std::string out;
    std::string err;
};

std::string quote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

tool_run run_tool(const pak_scratch_dir& dir, const std::vector<std::string>& args)
{
    std::string cmd = quote(TAMBLE_PAK);
    for (const std::string& a : args)
        cmd += " " + quote(a);
    std::string out = dir.file("stdout"), err = dir.file("stderr");
    int status = std::system((cmd + " >" + quote(out) + " 2>" + quote(err)).c_str());
    std::vector<uint8_t> o = pak_file_bytes(out), e = pak_file_bytes(err);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, std::string(o.begin(), o.end()),
            std::string(e.begin(), e.end())};
}

std::vector<uint8_t> chunk_file(uint32_t header, const std::string& bytes)
{
    std::vector<uint8_t> b;
    for (int i = 0; i < 4; ++i)
        b.push_back(uint8_t(header >> (8 * i)));
    b.insert(b.end(), bytes.begin(), bytes.end());
    return b;
}

// Source tree: relative path -> content.
void write_tree(const pak_scratch_dir& dir, const std::string& root,
                const std::map<std::string, std::vector<uint8_t>>& files)
{
    for (const auto& [rel, bytes] : files)
        pak_put_file(dir.file(root + "/" + rel), bytes);
}

}  // namespace

TEST(pak_tool, build_list_cat_and_extract_round_trip_every_chunk)
{
    pak_scratch_dir dir;
    std::map<std::string, std::vector<uint8_t>> base = {
        {"init/worlds.INIT.txt", pak_bytes("worlds\n{\n\tcount 3\n}\n")},
        {"levels/Ledge.LEVL.txt", pak_bytes("name \"Ledge\"\nstars 3\n")},
        {"levels/Title.LEVL.txt", pak_bytes("title 1\n")},
        {"bodies/pot_red.BTYP.txt", pak_bytes(std::string(5000, 'p'))},
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
    tool_run b = run_tool(dir, {"build", "-o", archive, dir.file("base"), dir.file("gen")});
    ASSERT_EQ(b.status, 0) << b.err;

    std::map<std::string, std::string> expect = {
        {"init\\worlds", "worlds\n{\n\tcount 3\n}\n"},
        {"levels\\Ledge", "name \"Ledge\"\nstars 3\n"},
        {"levels\\Title", "title 2 # overridden\n"},
        {"bodies\\pot_red", std::string(5000, 'p')},
        {"constraints\\default", ""},
        {"levels\\Ledge_r", "replay\x01\x02\x03"},
        {"sounds\\beep", ""},
        {"tex\\odd", "hello"},
    };
    tool_run l = run_tool(dir, {"list", archive});
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

    tool_run x = run_tool(dir, {"extract", archive, dir.file("x")});
    ASSERT_EQ(x.status, 0) << x.err;
    EXPECT_TRUE(std::filesystem::exists(dir.file("x/levels/Ledge_r.RPLY.pkc")));
    for (const auto& [name, bytes] : expect) {
        tool_run c = run_tool(dir, {"cat", archive, name});
        EXPECT_EQ(c.status, 0) << name << c.err;
        EXPECT_EQ(c.out, bytes) << name;
        tool_run c2 = run_tool(dir, {"cat", archive + ":" + name});
        EXPECT_EQ(c2.out, bytes) << name;
        tool_run c3 = run_tool(dir, {"cat", dir.file("x"), name});
        EXPECT_EQ(c3.out, bytes) << name;
    }
    EXPECT_EQ(run_tool(dir, {"cat", dir.file("x/levels/Ledge_r.RPLY.pkc")}).out, "replay\x01\x02\x03");
}

TEST(pak_tool, the_same_sources_give_the_same_bytes)
{
    pak_scratch_dir dir;
    // The same tree written in two different orders (the listing order may differ).
    std::vector<std::string> names;
    for (int i = 0; i < 40; ++i)
        names.push_back("d" + std::to_string(i % 5) + "/n" + std::to_string(i) + ".LEVL.txt");
    for (size_t i = 0; i < names.size(); ++i)
        pak_put_file(dir.file("a/" + names[i]), pak_bytes("v " + std::to_string(i) + "\n"));
    for (size_t i = names.size(); i-- > 0;)
        pak_put_file(dir.file("b/" + names[i]), pak_bytes("v " + std::to_string(i) + "\n"));
    ASSERT_EQ(run_tool(dir, {"build", "-o", dir.file("a.pk2"), dir.file("a")}).status, 0);
    ASSERT_EQ(run_tool(dir, {"build", "-o", dir.file("b.pk2"), dir.file("b")}).status, 0);
    std::vector<uint8_t> a = pak_file_bytes(dir.file("a.pk2"));
    EXPECT_FALSE(a.empty());
    EXPECT_EQ(a, pak_file_bytes(dir.file("b.pk2")));
    // Rebuilding over an existing archive gives the same bytes again.
    ASSERT_EQ(run_tool(dir, {"build", "-o", dir.file("a.pk2"), dir.file("b")}).status, 0);
    EXPECT_EQ(a, pak_file_bytes(dir.file("a.pk2")));
}

TEST(pak_tool, errors_give_one_line_on_stderr_and_a_failure_status)
{
    pak_scratch_dir dir;
    auto one_line = [](const tool_run& r) { return !r.err.empty() && r.err.find('\n') == r.err.size() - 1; };
    tool_run r = run_tool(dir, {"list", dir.file("missing.pk2")});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(one_line(r)) << r.err;
    r = run_tool(dir, {"frobnicate"});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(one_line(r)) << r.err;
    r = run_tool(dir, {"cat", dir.file("nothing.IMAG.pkc")});
    EXPECT_NE(r.status, 0);
    r = run_tool(dir, {"build", "-o", dir.file("o.pk2")});
    EXPECT_NE(r.status, 0);
    EXPECT_TRUE(one_line(r)) << r.err;

    // Two sources for one chunk name in the same root.
    pak_put_file(dir.file("dup/a.LEVL.txt"), pak_bytes("1"));
    pak_put_file(dir.file("dup/a.INIT.txt"), pak_bytes("2"));
    r = run_tool(dir, {"build", "-o", dir.file("o.pk2"), dir.file("dup")});
    EXPECT_NE(r.status, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("o.pk2")));

    // A damaged archive: its intact chunks are listed, the damage reported.
    pak_put_file(dir.file("ok/x.LEVL.txt"), pak_bytes("x 1"));
    pak_put_file(dir.file("ok/y.LEVL.txt"), pak_bytes("y 2"));
    ASSERT_EQ(run_tool(dir, {"build", "-o", dir.file("ok.pk2"), dir.file("ok")}).status, 0);
    std::vector<uint8_t> bytes = pak_file_bytes(dir.file("ok.pk2"));
    bytes[7] = 0x80;  // the first record's marker
    pak_put_file(dir.file("bad.pk2"), bytes);
    r = run_tool(dir, {"list", dir.file("bad.pk2")});
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
    r = run_tool(dir, {"extract", dir.file("evil.pk2"), dir.file("ex/inner")});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(std::filesystem::exists(dir.file("ex/inner/fine.LEVL.pkc")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("escaped.LEVL.pkc")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("ex/escaped.LEVL.pkc")));
}
