// The level editor end to end under the test driver: a level built from nothing with keys
// and clicks, tested and cut, saved through the picker with its solution, checked by
// tamble-sim verify, opened again, undone and redone across a save, the question before
// unsaved work is dropped, the autosave offered back, and the new level played in the
// game's "Your Levels" world.
#include "app/window/window.h"
#include "editors/common/file_picker.h"
#include "editors/level/level_editor.h"
#include "game/user_world.h"
#include "tests/game/game_run.h"
#include "tests/test_display.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// Interface units to the world units scripts give while the view is at its start.
void to_world(float ix, float iy, float& wx, float& wy)
{
    float scale = le_start_zoom / le_ui_half_height;
    wx = le_start_x + (ix - le_ui_centre_x) * scale;
    wy = le_start_y + (iy - le_ui_centre_y) * scale;
}

// A script written frame by frame: each event a few frames after the one before.
struct editor_script {
    std::ostringstream text;
    int frame = 5;

    editor_script& at(const std::string& event, int gap = 3)
    {
        text << frame << " " << event << "\n";
        frame += gap;
        return *this;
    }
    editor_script& key(const std::string& name) { return at("key " + name); }
    editor_script& click(float x, float y) { return at("click left " + std::to_string(x) + " " + std::to_string(y)); }
    editor_script& move(float x, float y) { return at("move " + std::to_string(x) + " " + std::to_string(y)); }
    // Clicks the entry at `row` of the list box shown.
    editor_script& entry(int row)
    {
        float x, y;
        to_world(le_list_area.left + 2, le_list_area.top + float(row) + 0.5f, x, y);
        return click(x, y);
    }
    editor_script& with(const std::string& modifier, const std::string& name)
    {
        at("keydown " + modifier, 1);
        key(name);
        return at("keyup " + modifier, 1);
    }
    editor_script& type(const std::string& typed) { return at("text \"" + typed + "\""); }
    std::string str() const { return text.str(); }
};

// Rows of base/'s types in their sorted lists.
constexpr int pot_red_row = 16, anchor_row = 0, ball_red_row = 3, rope_row = 4;

// A fixed red pot, an anchor and a red ball on a rope from it: cutting the rope solves it.
void build_drop_level(editor_script& s)
{
    s.key("b").entry(pot_red_row).move(32, 50).click(32, 50).move(32, 50.5f).with("shift", "f");
    s.key("n").entry(anchor_row).move(32, 10).click(32, 10).key("f");
    s.key("n").entry(ball_red_row).move(32, 22).click(32, 22);
    s.key("c").entry(rope_row).click(32, 10).click(32, 22).move(32, 16);
}

// Saves through the picker under a new name.
void save_as(editor_script& s, const std::string& name)
{
    s.key("s").type(name).key("enter");
}

game_run editor_run(const test_scratch_dir& dir, const std::string& script, int frames,
                    const std::vector<std::string>& args, const std::string& captures = "")
{
    game_run run;
    run.config = dir.file("config.dat");
    run.script = script;
    run.frames = frames;
    run.captures = captures;
    run.args = {"editor"};
    run.args.insert(run.args.end(), args.begin(), args.end());
    return run;
}

std::string sim(const std::string& args, int* status)
{
    test_tool_run r = test_run_tool(TAMBLE_SIM, args);
    *status = r.status;
    return r.out + r.err;
}

TEST(editor_screens, a_level_built_tested_and_saved_passes_verify_and_opens_again)
{
    TAMBLE_REQUIRE_DISPLAY();
    test_scratch_dir dir;
    std::string tree = dir.path.string();
    // Each capture shows the frame before the next event: what the events so far made.
    editor_script s;
    build_drop_level(s);
    s.move(50, 40);  // nothing hovered, so the level shows as it is
    int built = s.frame - 1;
    s.at("key space", 20);
    int testing = s.frame + 29;
    s.click(32, 16).at("move 32 30", 200);
    int solved = s.frame - 1;
    s.key("space");
    int back = s.frame - 1;
    s.key("s").type("Drop Two");
    int picker = s.frame - 1;
    s.key("enter");
    s.key("h");
    int help = s.frame - 1;
    s.key("escape");
    int end = s.frame + 5;
    std::string captures = std::to_string(built) + "," + std::to_string(testing) + "," +
                           std::to_string(solved) + "," + std::to_string(back) + "," + std::to_string(picker) +
                           "," + std::to_string(help);
    ASSERT_EQ(run_game(editor_run(dir, s.str(), end, {"--data", tree}, captures)), 0)
        << read_text(run_prefix() + "out");

    std::string level = dir.file("levels/Drop Two.LEVL.txt");
    std::string text = test_read_text(level);
    ASSERT_FALSE(text.empty()) << read_text(run_prefix() + "out");
    EXPECT_NE(text.find("bodies\\pot_red"), std::string::npos);
    EXPECT_NE(text.find("fix_mask \"PP"), std::string::npos) << text;  // every pot node fixed
    EXPECT_NE(text.find("constraints\\rope"), std::string::npos);
    int status = -1;
    std::string out = sim("verify " + test_quote(tree) + " --data " + test_quote(tree) + " --archive " + TAMBLE_ARCHIVE, &status);
    EXPECT_EQ(status, 0) << out;
    EXPECT_NE(out.find("1 levels, 0 failed"), std::string::npos) << out;

    // Captured frames: the level built, the test run, its verdict, the untouched level back
    // (the ball hangs where it was built), the picker and the help card.
    EXPECT_GT(brightness(run_capture(built), 0, 0, 64, 64), 10);
    EXPECT_GT(changed_pixels(run_capture(solved), run_capture(back), 24, 18, 40, 30), 20);
    EXPECT_LT(changed_pixels(run_capture(built), run_capture(back), 20, 5, 44, 30), 20);
    EXPECT_GT(changed_pixels(run_capture(back), run_capture(picker), 0, 10, 64, 50), 500);
    EXPECT_GT(changed_pixels(run_capture(back), run_capture(help), 0, 20, 64, 44), 500);

    // Opened again and saved under another name, the level is the same, byte for byte. Now
    // that the tree holds it, Ctrl+P draws its intro pictures into the tree.
    editor_script again;
    again.key("l").type("Drop Two").key("enter");
    save_as(again, "Copy");
    again.with("ctrl", "p");
    ASSERT_EQ(run_game(editor_run(dir, again.str(), again.frame + 5, {"--data", tree})), 0);
    EXPECT_EQ(test_read_text(dir.file("levels/Copy.LEVL.txt")), text);
    for (int i = 0; i < 4; ++i)
        EXPECT_GT(test_read_bytes(dir.file("tex/levels/Drop Two" + std::to_string(i) + ".png")).size(), 100u)
            << read_text(run_prefix() + "out");
}

TEST(editor_screens, undo_crosses_a_save_and_unsaved_work_is_asked_about_and_kept)
{
    TAMBLE_REQUIRE_DISPLAY();
    test_scratch_dir dir;
    std::string tree = dir.path.string();
    editor_script s;
    s.key("n").entry(anchor_row).move(20, 20).click(20, 20);
    save_as(s, "One");
    s.key("n").entry(anchor_row).move(30, 20).click(30, 20);
    s.with("ctrl", "z").with("ctrl", "s");  // back to what was saved, saved again
    s.with("ctrl", "y").with("ctrl", "y");  // the second node again
    save_as(s, "Two");
    s.key("n").entry(anchor_row).move(40, 20).click(40, 20);
    s.at("quit", 10);  // the window closes: the editor asks first
    s.key("escape");   // Cancel: still here
    s.key("n").entry(anchor_row).move(45, 20).click(45, 20);
    int end = s.frame + 5;
    // The run ends at the frame limit with unsaved work: it stays in the autosave.
    ASSERT_EQ(run_game(editor_run(dir, s.str(), end, {"--data", tree})), 0) << read_text(run_prefix() + "out");
    std::string one = test_read_text(dir.file("levels/One.LEVL.txt"));
    std::string two = test_read_text(dir.file("levels/Two.LEVL.txt"));
    EXPECT_EQ(std::count(one.begin(), one.end(), '~'), 1) << one;
    EXPECT_EQ(std::count(two.begin(), two.end(), '~'), 2) << two;
    std::string autosave = test_read_text(dir.file("level_editor.autosave"));
    EXPECT_EQ(std::count(autosave.begin(), autosave.end(), '~'), 4) << autosave;

    // The next session offers it back; kept and saved, then a quit asks and Discard leaves.
    editor_script next;
    next.key("y");
    save_as(next, "Kept");
    next.key("n").entry(anchor_row).move(50, 30).click(50, 30);
    next.at("quit", 10).key("d");
    ASSERT_EQ(run_game(editor_run(dir, next.str(), next.frame + 200, {"--data", tree})), 0);
    std::string kept = test_read_text(dir.file("levels/Kept.LEVL.txt"));
    EXPECT_EQ(std::count(kept.begin(), kept.end(), '~'), 4) << kept;
    EXPECT_TRUE(test_read_text(dir.file("level_editor.autosave")).empty());
}

TEST(editor_screens, a_level_saved_beside_the_configuration_is_played_in_your_levels)
{
    TAMBLE_REQUIRE_DISPLAY();
    // No --data: the editor keeps its levels in the folder of the configuration, which is
    // where the game looks for the player's own.
    test_scratch_dir dir;
    editor_script s;
    build_drop_level(s);
    save_as(s, "Mine");
    ASSERT_EQ(run_game(editor_run(dir, s.str(), s.frame + 5, {})), 0) << read_text(run_prefix() + "out");
    ASSERT_FALSE(test_read_text(dir.file("levels/Mine.LEVL.txt")).empty());

    // A profile, the fifth world ("Your Levels" after the four shipped ones), its first
    // tile, and the rope cut once the level plays.
    std::ostringstream play;
    play << "0 move 30 28\n40 click left 30 28\n45 text \"Ada\"\n50 key enter\n"
         << "270 click left 30 42\n280 click left 56 42\n"
         << "320 move 10 12\n330 click left 10 12\n";
    game_run run;
    run.config = dir.file("config.dat");
    run.script = play.str();
    run.frames = 700;
    run.args = {"log"};
    run.from_player_select = true;
    ASSERT_EQ(run_game(run), 0);
    std::string out = read_text(run_prefix() + "out");
    size_t at = out.find("play: PLAYING at frame ");
    ASSERT_NE(at, std::string::npos) << out;
    int playing = std::atoi(out.c_str() + at + 23) - title_frames;
    play << playing + 10 << " move 32 16\n"
         << playing + 12 << " click left 32 16\n"
         << playing + 12 << " click right 32 16\n";
    run.script = play.str();
    run.frames = playing + 400;
    ASSERT_EQ(run_game(run), 0);
    out = read_text(run_prefix() + "out");
    EXPECT_NE(out.find("play: SUCCESS"), std::string::npos) << out;
    saved_config saved(run.config);
    ASSERT_TRUE(saved.ok);
    EXPECT_TRUE(saved.slot(0).get(script_id(user_world_index)).get(script_id(0)).as_int() & 2);
    EXPECT_EQ(saved.slot(0).get("stars").as_int(), 0);
}

}  // namespace
