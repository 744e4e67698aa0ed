// tamble-sim's sound seam: with a "collision_sounds" table in the data, a recorded solution
// holds the collision sounds the table chooses besides the caught-ball jingle, and playing
// the replay back sounds every recorded event.
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_play.h"
#include "tools/sim/sim_sounds.h"
#include "tools/sim/sim_verify.h"

#include "app/log.h"
#include "physics/replay.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

class sim_sounds : public ::testing::Test {
protected:
    fs::path root;
    std::string level;

    void SetUp() override
    {
        log_redirect_sink0(nullptr);
        root = fs::temp_directory_path() / ("tamble_sim_sounds_test_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::copy(std::string(TAMBLE_SOURCE_DIR) + "/tests/levels/data", root, fs::copy_options::recursive);
        level = (root / "levels" / "rope_over_pot.LEVL.txt").string();
    }
    void TearDown() override
    {
        log_redirect_sink0(stderr);
        fs::remove_all(root);
    }

    // The sample names the solution's recording holds, in order of first use, and the number
    // of sound events played back from it.
    std::vector<std::string> record(size_t& events)
    {
        sim_context ctx;
        sim_source_options o;
        o.data_roots.push_back(root.string());
        std::string error;
        EXPECT_TRUE(ctx.open(o, error)) << error;
        sim_solution solution;
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(sim_read_solution(sim_solution_path(level), solution, error)) << error;
        EXPECT_TRUE(sim_record_solution(ctx, level, solution, bytes, error)) << error;

        std::vector<std::string> names = v_replay_global().names;

        // Played back, every recorded event sounds once.
        sim_sound_guard sounds;
        v_world world;
        v_level_report report;
        EXPECT_TRUE(sim_load_world(ctx, level, v_mode_playback, &bytes, world, report, error)) << error;
        events = size_t(sim_play_to_end(world).sounds);
        return names;
    }
};

}  // namespace

TEST_F(sim_sounds, a_recorded_solution_holds_the_collision_sounds_of_the_data_table)
{
    size_t events = 0;
    std::vector<std::string> plain = record(events);
    EXPECT_EQ(plain, std::vector<std::string>{"music\\ditty_ball_in_pot"});
    EXPECT_EQ(events, 1u);

    // The ball (class 1) lands in the pot (class 0, the default) before it is caught.
    fs::create_directories(root / "init");
    std::ofstream(root / "init" / "sounds.INIT.txt") << "collision_sounds { 1 { 0 \"sounds\\BallPot\" } }\n";
    std::vector<std::string> with_table = record(events);
    ASSERT_EQ(with_table.size(), 2u);
    EXPECT_EQ(with_table[0], "sounds\\BallPot");
    EXPECT_EQ(with_table[1], "music\\ditty_ball_in_pot");
    EXPECT_GE(events, 2u);
}
