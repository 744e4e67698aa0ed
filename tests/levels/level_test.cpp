// Level files: loading through the store, fix masks, ropes, bad indices, the saver's
// exact layout, the replay beside a saved level, and save/load round trips.
#include "physics/level.h"

#include "app/log.h"
#include "data/script.h"
#include "tests/test_util.h"
#include "tools/sim/sim_level.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string data_root()
{
    return std::string(TAMBLE_SOURCE_DIR) + "/tests/levels/data";
}

class level_file : public ::testing::Test {
protected:
    void SetUp() override
    {
        sim_source_options o;
        o.data_roots.push_back(data_root());
        std::string error;
        ASSERT_TRUE(ctx.open(o, error)) << error;
        log_redirect_sink0(nullptr);
        log_sink_clear(1);
        dir = fs::temp_directory_path() / ("tamble_level_test_" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override
    {
        log_redirect_sink0(stderr);
        fs::remove_all(dir);
    }

    v_world load(const std::string& text, v_level_report* report = nullptr, int32_t mode = v_mode_play)
    {
        v_world w(mode);
        EXPECT_TRUE(v_level_load_text(w, text.c_str(), "test", report));
        return w;
    }

    sim_context ctx;
    fs::path dir;
};

const char* rope_level =
    "nodes { ~{ x 20 y 10 fixed 1 type \"nodes\\anchor\" } ~{ x 20 y 13.5 type \"nodes\\ball_red\" } }\n"
    "bodies { ~{ x 40 y 50 ang 0.25 fix_mask \"P\" z_bias 1.5 type \"bodies\\pot_red\" } }\n"
    "constraints { ~{ len 0 type \"constraints\\rope\" n1 0 n2 1 } }\n"
    "markers { ~{ x 1 y 2 ang 3 } }\n";

TEST_F(level_file, loads_nodes_bodies_ropes_and_markers)
{
    v_level_report report;
    v_world w = load(rope_level, &report);
    EXPECT_TRUE(report.clean());
    EXPECT_TRUE(test_logged({"LOADING LEVEL"}));
    ASSERT_EQ(w.nodes.size(), 2u);
    ASSERT_EQ(w.loaded_nodes.size(), 2u);
    EXPECT_TRUE(w.nodes[0]->fixed);
    EXPECT_FALSE(w.nodes[1]->fixed);
    ASSERT_EQ(w.bodies.size(), 1u);
    const v_body& pot = *w.bodies[0];
    EXPECT_FLOAT_EQ(pot.angle, 0.25f);
    EXPECT_FLOAT_EQ(pot.z_bias, 1.5f);
    EXPECT_TRUE(std::all_of(pot.nodes.begin(), pot.nodes.end(), [](const v_node& n) { return n.fixed; }));
    EXPECT_TRUE(pot.immovable);
    // Node 1 of the pot type is at (-3, 2), turned by 0.25 rad about the body position.
    vec2 expected = pot.transform(vec2{-3.0f, 2.0f});
    EXPECT_FLOAT_EQ(pot.nodes[1].position.x, expected.x);
    EXPECT_FLOAT_EQ(pot.nodes[1].position.y, expected.y);
    ASSERT_EQ(w.constraints.size(), 1u);
    EXPECT_EQ(w.constraints[0]->inodes.size(), 3u);  // 3.5 units at segment length 1
    EXPECT_FLOAT_EQ(w.constraints[0]->rest_length, 0.875f);
    ASSERT_EQ(w.markers.size(), 1u);
    EXPECT_FLOAT_EQ(w.markers[0].angle, 3.0f);
}

TEST_F(level_file, fix_mask_letters_and_integers)
{
    v_world w = load("bodies { ~{ x 30 y 30 fix_mask \"FB\" type \"bodies\\cross\" } }");
    ASSERT_EQ(w.bodies.size(), 1u);
    v_body& b = *w.bodies[0];
    ASSERT_EQ(b.nodes.size(), 5u);
    std::vector<bool> fixed;
    for (const v_node& n : b.nodes)
        fixed.push_back(n.fixed);
    EXPECT_EQ(fixed, (std::vector<bool>{true, false, true, false, true}));
    EXPECT_EQ(v_fix_mask_letters(b), "FB");

    script_symbol_table symbols;
    script_handle mask = script_handle::fresh(&symbols);
    v_body many;
    many.nodes.resize(34);
    mask.set_int(5);
    v_apply_fix_mask(many, mask);
    EXPECT_TRUE(many.nodes[0].fixed);
    EXPECT_FALSE(many.nodes[1].fixed);
    EXPECT_TRUE(many.nodes[2].fixed);
    EXPECT_TRUE(many.nodes[32].fixed);  // bit 0 again
    EXPECT_FALSE(many.nodes[33].fixed);
    EXPECT_EQ(v_fix_mask_letters(many).size(), 9u);

    // A short letter mask leaves the rest free; bad letters fix nothing.
    for (v_node& n : many.nodes)
        n.fixed = false;
    mask.set_string("P?");
    v_apply_fix_mask(many, mask);
    EXPECT_TRUE(many.nodes[3].fixed);
    EXPECT_FALSE(many.nodes[4].fixed);
    EXPECT_FALSE(many.nodes[8].fixed);
    v_body none;
    EXPECT_EQ(v_fix_mask_letters(none), "");
}

TEST_F(level_file, saved_rope_reloads_with_its_nodes_and_segment_length)
{
    // The ends have moved since the rope was saved: the saved nodes and length stand.
    const char* text =
        "nodes { ~{ x 10 y 10 fixed 1 type \"nodes\\anchor\" } ~{ x 30 y 10 type \"nodes\\ball_red\" } }\n"
        "constraints { ~{ len 1.250000 type \"constraints\\rope\" n1 0 n2 1\n"
        "  inodes { ~{ x 11 y 11 } ~{ x 12 y 12 } ~{ x 13 y 13 } } } }\n";
    v_world w = load(text);
    ASSERT_EQ(w.constraints.size(), 1u);
    const v_constraint& c = *w.constraints[0];
    EXPECT_FLOAT_EQ(c.rest_length, 1.25f);
    ASSERT_EQ(c.inodes.size(), 3u);
    EXPECT_FLOAT_EQ(c.inodes[2].position.x, 13.0f);
    EXPECT_EQ(c.inodes[1].velocity, vec2{});
    EXPECT_EQ(c.inodes[0].type.get(), static_cast<v_node_type*>(c.type.get()));

    // Empty inodes: rebuilt from the ends (20 units at segment length 1).
    v_world rebuilt = load("nodes { ~{ x 10 y 10 fixed 1 type \"nodes\\anchor\" } ~{ x 30 y 10 type "
                           "\"nodes\\ball_red\" } }\n"
                           "constraints { ~{ len 1.25 type \"constraints\\rope\" n1 0 n2 1 inodes { } } }\n");
    EXPECT_EQ(rebuilt.constraints[0]->inodes.size(), 20u);
    EXPECT_FLOAT_EQ(rebuilt.constraints[0]->rest_length, 20.0f / 21.0f);
}

TEST_F(level_file, out_of_range_ends_drop_the_constraint_with_a_log_line)
{
    const char* text =
        "nodes { ~{ x 10 y 10 type \"nodes\\anchor\" } ~{ x 20 y 10 type \"nodes\\ball_red\" } }\n"
        "bodies { ~{ x 30 y 30 type \"bodies\\cross\" } }\n"
        "constraints {\n"
        " ~{ type \"constraints\\default\" n1 0 n2 7 }\n"
        " ~{ type \"constraints\\default\" n1 0 n1_body 3 n2 1 }\n"
        " ~{ type \"constraints\\default\" n1 5 n1_body 0 n2 1 }\n"
        " ~{ type \"constraints\\default\" n1 -1 n2 1 }\n"
        " ~{ type \"constraints\\default\" n1 4 n1_body 0 n2 1 }\n"
        "}\n";
    v_level_report report;
    v_world w = load(text, &report);
    ASSERT_EQ(w.constraints.size(), 1u);
    EXPECT_EQ(w.constraints[0]->n1, &w.bodies[0]->nodes[4]);
    EXPECT_EQ(report.dropped_constraints, 4);
    ASSERT_EQ(report.problems.size(), 4u);
    EXPECT_TRUE(test_logged({"level 'test': constraint 0 dropped: n2 7"}));
    EXPECT_TRUE(test_logged({"level 'test': constraint 1 dropped: n1_body 3"}));
    EXPECT_TRUE(test_logged({"level 'test': constraint 2 dropped: n1 5 is not a node of body 0"}));
}

TEST_F(level_file, unresolved_types_drop_entries_and_shift_later_indices)
{
    const char* text = "nodes { ~{ x 1 y 1 type \"nodes\\missing\" } ~{ x 2 y 2 type \"nodes\\anchor\" } "
                       "~{ x 3 y 3 type \"nodes\\anchor\" } }\n"
                       "constraints { ~{ type \"constraints\\default\" n1 0 n2 1 } ~{ type "
                       "\"constraints\\nope\" n1 0 n2 1 } }\n";
    v_level_report report;
    v_world w = load(text, &report);
    EXPECT_EQ(report.dropped_nodes, 1);
    EXPECT_EQ(report.dropped_constraints, 1);
    ASSERT_EQ(w.nodes.size(), 2u);
    ASSERT_EQ(w.constraints.size(), 1u);
    EXPECT_FLOAT_EQ(w.constraints[0]->n1->position.x, 2.0f);  // index 0 is the second entry
}

TEST_F(level_file, parse_failure_shows_the_message_box_and_leaves_the_world_empty)
{
    static std::string text_seen, caption_seen;
    v_set_message_box([](const char* text, const char* caption) {
        text_seen = text;
        caption_seen = caption;
    });
    v_world w = load(rope_level);
    EXPECT_FALSE(v_level_load_text(w, "nodes { ~{ x 1 ", "broken"));
    v_set_message_box(nullptr);
    EXPECT_EQ(text_seen, "Error Loading Level.");
    EXPECT_EQ(caption_seen, "123");
    EXPECT_TRUE(w.nodes.empty());
    EXPECT_TRUE(w.bodies.empty());
    EXPECT_TRUE(w.constraints.empty());

    // A file that cannot be opened leaves the world empty without a message.
    text_seen.clear();
    v_replay replay;
    v_world missing = v_world_from_file(v_mode_play, (dir / "nothing.LEVL.txt").string().c_str(), replay);
    EXPECT_TRUE(missing.nodes.empty());
    EXPECT_TRUE(text_seen.empty());
}

TEST_F(level_file, saver_writes_the_exact_layout)
{
    const char* text = "nodes { ~{ x 10 y 10 fixed 1 type \"nodes\\anchor\" } }\n"
                       "bodies { ~{ x 30 y 30 type \"bodies\\cross\" } ~{ x 40 y 50 fix_mask 15 type "
                       "\"bodies\\pot_red\" } }\n"
                       "constraints { ~{ len 2.5 type \"constraints\\default\" n1 2 n1_body 1 n2 0 } }\n"
                       "markers { ~{ x 5 y 6 ang 0.5 } }\n";
    v_world w = load(text);
    std::string expected =
        "nodes {\n"
        " ~{ x 10.000000 y 10.000000 fixed 1 type \"nodes\\anchor\" }\n"
        "}\n"
        "bodies {\n"
        " ~{ x 30.000000 y 30.000000 ang 0.000000 fix_mask \"AA\" z_bias 0.000000 type \"bodies\\cross\" }\n"
        " ~{ x 40.000000 y 50.000000 ang 0.000000 fix_mask \"P\" z_bias 0.000000 type \"bodies\\pot_red\" }\n"
        "}\n"
        "constraints {\n"
        " ~{\n"
        "   len 2.500000\n"
        "   type \"constraints\\default\"\n"
        "   n1 2 n1_body 1\n"
        "   n2 0\n"
        "   inodes {\n"
        "   }\n"
        "  }\n"
        "}\n"
        "markers {\n"
        "    ~{ x 5.000000 y 6.000000 ang 0.500000 }\n"
        "}\n";
    EXPECT_EQ(v_level_text(w), expected);
    EXPECT_EQ(v_level_text(v_world()), "nodes {\n}\nbodies {\n}\nconstraints {\n}\nmarkers {\n}\n");
}

TEST_F(level_file, save_then_load_gives_the_same_world)
{
    v_world w = load(rope_level);
    for (int i = 0; i < 200; ++i)
        w.step();  // the rope swings: positions are no longer round numbers
    std::string first = v_level_text(w);
    v_world again = load(first);
    EXPECT_EQ(v_level_text(again), first);
    ASSERT_EQ(again.constraints.size(), 1u);
    EXPECT_EQ(again.constraints[0]->inodes.size(), w.constraints[0]->inodes.size());
    EXPECT_EQ(again.bodies[0]->nodes.size(), w.bodies[0]->nodes.size());
}

TEST_F(level_file, save_writes_the_replay_beside_the_level)
{
    v_replay replay;
    v_world w = load(rope_level, nullptr, v_mode_record);
    v_world_attach_replay(w, replay, nullptr);
    for (int i = 0; i < 30; ++i)
        w.step();
    fs::create_directories(dir / "worlds" / "w1");
    std::string path = (dir / "worlds" / "w1" / "L3.LEVL.txt").string();
    ASSERT_TRUE(v_level_save(w, path.c_str(), replay));
    EXPECT_EQ(test_read_text(path), v_level_text(w));
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(v_replay_read_file((dir / "worlds" / "w1" / "L3_r.RPLY.pkc").string().c_str(), bytes));
    EXPECT_EQ(bytes, replay.chunk_bytes());
    EXPECT_TRUE(test_logged({"Level Saved. \"" + path + "\""}));
    EXPECT_EQ(v_level_replay_path("a.LEVL.txt"), "a_r.RPLY.pkc");
    EXPECT_EQ(v_level_replay_path("abc"), "_r.RPLY.pkc");

    // An unwritable path writes nothing, not even the replay.
    std::string bad = (dir / "no_such_dir" / "X.LEVL.txt").string();
    EXPECT_FALSE(v_level_save(w, bad.c_str(), replay));
    EXPECT_FALSE(fs::exists(dir / "no_such_dir"));
}

TEST_F(level_file, recording_counts_every_rope_node)
{
    // 2 free nodes and a rope of 3 intermediate nodes (plus the pot): 5 nodes, 1 body, 1 cut.
    v_replay replay;
    v_world w = load(rope_level, nullptr, v_mode_record);
    v_world_attach_replay(w, replay, nullptr);
    w.step();
    ASSERT_EQ(replay.frames, 1u);
    const std::vector<uint8_t>& s = replay.stream;
    ASSERT_GE(s.size(), 10u);
    EXPECT_EQ(s[4] | s[5] << 8, 5);
    EXPECT_EQ(s[6] | s[7] << 8, 1);
    EXPECT_EQ(s[8] | s[9] << 8, 1);
    v_replay_counts c = v_world_replay_counts(w);
    EXPECT_EQ(c.nodes, 5u);
}

TEST_F(level_file, playback_follows_the_recording_and_shows_each_cut_for_a_hundred_steps)
{
    v_replay recorder;
    v_world w = load(rope_level, nullptr, v_mode_record);
    v_world_attach_replay(w, recorder, nullptr);
    for (int i = 0; i < 60; ++i) {
        if (i == 20)
            w.constraints[0]->cut = true;
        w.step();
    }
    std::vector<uint8_t> bytes = recorder.chunk_bytes();

    v_replay player;
    v_world p = load(rope_level, nullptr, v_mode_playback);
    ASSERT_TRUE(v_world_attach_replay(p, player, &bytes));
    // The cut is first recorded in the keyframe of step 28 (the fourth); that frame becomes
    // the newer one when the second advance reads it.
    int steps = 0;
    while (p.cut_events.empty() && steps < 200) {
        p.step();
        ++steps;
    }
    ASSERT_EQ(p.cut_events.size(), 1u);
    vec2 ball = p.loaded_nodes[1]->position;
    for (int i = 0; i < 99; ++i) {
        p.step();
        EXPECT_EQ(p.loaded_nodes[1]->position, ball);
        EXPECT_FALSE(p.constraints[0]->cut);
    }
    p.step();
    EXPECT_TRUE(p.constraints[0]->cut);
    EXPECT_TRUE(p.cut_events.empty());

    // The same replay does not fit a level with another rope length: refused, not applied.
    std::string other = rope_level;
    other.replace(other.find("y 13.5"), 6, "y 16.5");
    v_replay refused;
    v_world q = load(other, nullptr, v_mode_playback);
    EXPECT_FALSE(v_world_attach_replay(q, refused, &bytes));
    EXPECT_TRUE(refused.ended());
    vec2 before = q.loaded_nodes[1]->position;
    q.step();
    EXPECT_EQ(q.loaded_nodes[1]->position, before);
}

}  // namespace
