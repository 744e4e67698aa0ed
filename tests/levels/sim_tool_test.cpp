// tamble-sim helpers: cut and solution parsing, the source-tree store, and verification
// of a level that passes and of levels that must not.
#include "tools/sim/sim_cuts.h"
#include "tools/sim/sim_verify.h"

#include "app/log.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

TEST(sim_cuts, parses_cuts_and_rejects_everything_else)
{
    sim_cut c;
    ASSERT_TRUE(sim_parse_cut("120:3", c));
    EXPECT_EQ(c.step, 120);
    EXPECT_EQ(c.index, 3);
    for (const char* bad : {"", "12", ":3", "12:", "-1:2", "1:-2", "1:2:3", "a:1", "99999999999:1", " 1:2"})
        EXPECT_FALSE(sim_parse_cut(bad, c)) << bad;
}

TEST(sim_cuts, solution_files_sort_cuts_and_name_the_bad_line)
{
    sim_solution s;
    std::string error;
    ASSERT_TRUE(sim_parse_solution("# comment\n\n300:1\r\n  20:0  \n20:2\nseconds 12\n", s, error)) << error;
    ASSERT_EQ(s.cuts.size(), 3u);
    EXPECT_EQ(s.cuts[0].index, 0);  // stable among equal steps
    EXPECT_EQ(s.cuts[1].index, 2);
    EXPECT_EQ(s.cuts[2].step, 300);
    EXPECT_FLOAT_EQ(s.seconds, 12.0f);
    EXPECT_FALSE(s.unattended);

    EXPECT_FALSE(sim_parse_solution("10:0\ncut 5\n", s, error));
    EXPECT_NE(error.find("line 2"), std::string::npos);
    EXPECT_FALSE(sim_parse_solution("seconds 0\n", s, error));
    EXPECT_FALSE(sim_parse_solution("unattended\n5:0\n", s, error));
    ASSERT_TRUE(sim_parse_solution("unattended\n", s, error));
    EXPECT_TRUE(s.unattended);

    EXPECT_EQ(sim_solution_path("base/levels/Ledge.LEVL.txt"), "base/levels/Ledge.solution");
    EXPECT_EQ(v_level_replay_path("base/levels/Ledge.LEVL.txt"), "base/levels/Ledge_r.RPLY.pkc");
}

class sim_verify : public ::testing::Test {
protected:
    void SetUp() override
    {
        log_redirect_sink0(nullptr);
        root = fs::temp_directory_path() / ("tamble_verify_test_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::copy(std::string(TAMBLE_SOURCE_DIR) + "/tests/levels/data", root, fs::copy_options::recursive);
        sim_source_options o;
        o.data_roots.push_back(root.string());
        std::string error;
        ASSERT_TRUE(ctx.open(o, error)) << error;
        level = (root / "levels" / "rope_over_pot.LEVL.txt").string();
    }
    void TearDown() override
    {
        log_redirect_sink0(stderr);
        fs::remove_all(root);
    }
    void write(const std::string& path, const std::string& text) { test_write_text(path, text); }

    fs::path root;
    sim_context ctx;
    std::string level;
};

TEST_F(sim_verify, shipped_test_level_passes)
{
    EXPECT_EQ(sim_find_solved_levels(root.string()), std::vector<std::string>{level});
    sim_verify_result v = sim_verify_level(ctx, level);
    EXPECT_TRUE(v.passed) << (v.failures.empty() ? "" : v.failures[0]);
}

// A level in a hidden folder is not packed into the archive, so the tool neither serves
// nor verifies it (the stores, the builder and verify share one walk).
TEST_F(sim_verify, hidden_folders_are_neither_served_nor_verified)
{
    fs::create_directories(root / ".attic");
    fs::copy(root / "levels", root / ".attic" / "levels", fs::copy_options::recursive);
    EXPECT_EQ(sim_find_solved_levels(root.string()), std::vector<std::string>{level});
    pak_system sys;
    sys.add_module(std::make_unique<pak_source_dir>(&sys, root.string()));
    EXPECT_TRUE(sys.get("levels\\rope_over_pot"));
    EXPECT_FALSE(sys.get(".attic\\levels\\rope_over_pot"));
}

TEST_F(sim_verify, wrong_schedule_and_bad_cuts_fail)
{
    write(root / "levels" / "rope_over_pot.solution", "# no cut at all\n");
    sim_verify_result v = sim_verify_level(ctx, level);
    EXPECT_FALSE(v.passed);

    write(root / "levels" / "rope_over_pot.solution", "10:4\n");
    v = sim_verify_level(ctx, level);
    ASSERT_FALSE(v.passed);
    EXPECT_NE(v.failures[0].find("there are 1 constraints"), std::string::npos);
}

TEST_F(sim_verify, level_that_solves_itself_or_leaves_the_playfield_fails)
{
    // The ball starts free above the pot: solved without any cut, and the replay no longer fits.
    std::string text =
        "nodes { ~{ x 32 y 40 type \"nodes\\ball_red\" } ~{ x 70 y 10 fixed 1 type \"nodes\\anchor\" } }\n"
        "bodies { ~{ x 32 y 50 fix_mask \"P\" type \"bodies\\pot_red\" } }\n";
    write(level, text);
    sim_verify_result v = sim_verify_level(ctx, level);
    ASSERT_FALSE(v.passed);
    std::string all;
    for (const std::string& f : v.failures)
        all += f + "\n";
    EXPECT_NE(all.find("outside the playfield: free node 1"), std::string::npos) << all;
    EXPECT_NE(all.find("solved without cuts"), std::string::npos) << all;
    EXPECT_NE(all.find("does not fit"), std::string::npos) << all;
}

TEST_F(sim_verify, missing_or_damaged_replay_fails)
{
    fs::path replay = root / "levels" / "rope_over_pot_r.RPLY.pkc";
    std::string bytes;
    {
        std::ifstream in(replay, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    write(replay.string(), bytes.substr(0, 30));
    EXPECT_FALSE(sim_verify_level(ctx, level).passed);
    fs::remove(replay);
    EXPECT_FALSE(sim_verify_level(ctx, level).passed);
}

}  // namespace

namespace {

bool mentions(const sim_verify_result& v, const std::string& needle)
{
    for (const std::string& f : v.failures)
        if (f.find(needle) != std::string::npos)
            return true;
    return false;
}

TEST_F(sim_verify, stale_replay_fails_until_recorded_again)
{
    // A later cut still solves the level and its replay cuts the same rope, but the stored
    // replay shows the old schedule: it is not what the solution records now.
    write(root / "levels" / "rope_over_pot.solution", "40:0\n");
    sim_verify_result v = sim_verify_level(ctx, level);
    ASSERT_FALSE(v.passed);
    EXPECT_TRUE(mentions(v, "not what the solution records now"));

    std::string error;
    ASSERT_TRUE(sim_rerecord_level(ctx, level, error)) << error;
    v = sim_verify_level(ctx, level);
    EXPECT_TRUE(v.passed) << (v.failures.empty() ? "" : v.failures[0]);

    // The recording is the solution's own: the same bytes every time, and the stored file
    // holds exactly them.
    sim_solution solution;
    ASSERT_TRUE(sim_read_solution(sim_solution_path(level), solution, error)) << error;
    std::vector<uint8_t> first, second, stored;
    ASSERT_TRUE(sim_record_solution(ctx, level, solution, first, error)) << error;
    ASSERT_TRUE(sim_record_solution(ctx, level, solution, second, error)) << error;
    EXPECT_EQ(first, second);
    ASSERT_TRUE(v_replay_read_file(v_level_replay_path(level).c_str(), stored));
    EXPECT_EQ(stored, first);
}

TEST_F(sim_verify, unattended_scene_records_for_its_seconds)
{
    // No ball and no cut: the scene is recorded for its two seconds (360 steps, a keyframe
    // every ninth step).
    write(level,
          "nodes { ~{ x 32 y 10 fixed 1 type \"nodes\\anchor\" } ~{ x 33 y 12 type \"nodes\\anchor\" } }\n"
          "constraints { ~{ type \"constraints\\rope\" n1 0 n2 1 } }\n");
    write(root / "levels" / "rope_over_pot.solution", "unattended\nseconds 2\n");
    std::string error;
    ASSERT_TRUE(sim_rerecord_level(ctx, level, error)) << error;
    EXPECT_EQ(v_replay_global().frames, 40u);
    sim_verify_result v = sim_verify_level(ctx, level);
    EXPECT_TRUE(v.passed) << (v.failures.empty() ? "" : v.failures[0]);
}

}  // namespace
