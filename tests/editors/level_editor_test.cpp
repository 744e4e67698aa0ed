// The level editor's logic on the types of base/: building a level with keys and clicks,
// test runs, saving with a solution that the solution check accepts, undo across a save,
// damaged files and the question before unsaved work is dropped.
#include "app/input_codes.h"
#include "editors/level/level_editor.h"
#include "editors/level/level_solution.h"
#include "editors/level/preview_list.h"
#include "data/pak_source_dir.h"
#include "tools/sim/sim_level.h"
#include "tools/sim/sim_verify.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class level_editor_test : public testing::Test {
protected:
    sim_context ctx;
    v_replay recorder;
    level_editor editor{v_replay_global()};
    test_scratch_dir dir;

    void SetUp() override
    {
        sim_source_options sources;
        sources.data_roots.push_back(std::string(TAMBLE_SOURCE_DIR) + "/base");
        std::string error;
        ASSERT_TRUE(ctx.open(sources, error)) << error;
        std::string settings = "ropes { ~ \"constraints\\rope\" ~ \"nothing\" }";
        ASSERT_TRUE(editor.startup(ctx.pak, &settings, dir.file("levels")));
        editor.services.save_solution = le_save_solution;
    }

    void press_key(uint32_t vk) { editor.key(vk, true), editor.key(vk, false); }
    void hold(uint32_t vk, bool down) { editor.key(vk, down); }
    void move(float x, float y) { editor.mouse(0, x, y); }
    void click(float x, float y)
    {
        editor.mouse(left_held | left_press, x, y);
        editor.mouse(left_release, x, y);
    }
    // Clicks the row of a list entry (the list is shown in interface units).
    void click_entry(const ed_list_box& list, const std::string& name)
    {
        int32_t i = list.find(name);
        ASSERT_GE(i, 0) << name;
        ed_rect row = list.row_rect(i);
        float x, y;
        editor.to_world(row.left + 1, (row.top + row.bottom) / 2, x, y);
        click(x, y);
    }
    v_node* add_node(const char* type, float x, float y, bool fixed)
    {
        press_key('N');
        click_entry(editor.node_list, type);
        move(x, y);
        click(x, y);
        if (fixed)
            press_key('F');
        return editor.edit->nodes.back();
    }
    // A red ball on a rope from an anchor, above a fixed red pot: cutting the rope solves it.
    void build_drop_level()
    {
        press_key('B');
        click_entry(editor.body_list, "pot_red");
        move(32, 50);
        click(32, 50);
        hold(vk_shift, true);
        press_key('F');
        hold(vk_shift, false);
        add_node("anchor", 32, 10, true);
        add_node("ball_red", 32, 22, false);
        press_key('C');
        click_entry(editor.constraint_list, "rope");
        click(32, 10);
        click(32, 22);
    }
    // Runs a test: cuts at the pointer after `cut_after` steps, then steps up to `steps`.
    void run_test(int32_t cut_after, int32_t steps, float cut_x, float cut_y)
    {
        press_key(vk_space);
        ASSERT_EQ(editor.editing, 0);
        for (int32_t i = 0; i < steps; ++i) {
            if (i == cut_after)
                click(cut_x, cut_y);
            editor.test_step();
        }
    }
};

TEST_F(level_editor_test, lists_hold_the_stores_types_by_bare_name_and_the_settings_ropes)
{
    EXPECT_NE(editor.body_list.find("pot_red"), -1);
    EXPECT_NE(editor.node_list.find("ball_red"), -1);
    EXPECT_NE(editor.constraint_list.find("rope"), -1);
    EXPECT_TRUE(std::is_sorted(editor.body_list.items.begin(), editor.body_list.items.end()));
    EXPECT_EQ(editor.rope_list.items, (std::vector<std::string>{"constraints\\rope", "nothing"}));
    // A rope entry that names a constraint type starts a constraint with it.
    press_key('R');
    click_entry(editor.rope_list, "nothing");
    EXPECT_EQ(editor.mode, le_rope_list);
    click_entry(editor.rope_list, "constraints\\rope");
    EXPECT_EQ(editor.mode, le_first_attachment);
    // A settings text that does not parse is reported and skipped.
    level_editor other{v_replay_global()};
    std::string broken = "ropes { ~ \"x\" ";
    EXPECT_FALSE(other.startup(ctx.pak, &broken, dir.file("levels")));
    EXPECT_TRUE(test_logged({"ERROR: Parsing editor.txt"}));
    EXPECT_TRUE(other.rope_list.items.empty());
}

TEST_F(level_editor_test, places_snaps_fixes_and_joins_with_keys_and_clicks)
{
    press_key('B');
    EXPECT_EQ(editor.mode, le_choose_body);
    click_entry(editor.body_list, "pot_red");
    ASSERT_EQ(editor.mode, le_carry_body);
    move(3.74f, 20.2f);  // the grid snaps a carried body to half units
    v_body* pot = editor.edit->bodies.back().get();
    EXPECT_EQ(pot->position.x, 3.5f);
    EXPECT_EQ(pot->position.y, 20.0f);
    // Shift turns it by the pointer's rise over five, in sixteenths of a half turn.
    hold(vk_shift, true);
    move(3.74f, 19.2f);
    EXPECT_FLOAT_EQ(pot->angle, 0.1963495f);
    hold(vk_shift, false);
    click(32, 50);
    EXPECT_EQ(editor.mode, le_idle);
    EXPECT_EQ(pot->position.x, 32.0f);
    // B, C, N and M act only from idle while editing.
    press_key('N');
    press_key('B');
    EXPECT_EQ(editor.mode, le_choose_node);
    press_key(vk_escape);

    // Shift+F fixes every node of the body under the pointer (inside the open pot too).
    move(32, 50);
    ASSERT_EQ(editor.body, pot);
    hold(vk_shift, true);
    press_key('F');
    hold(vk_shift, false);
    for (const v_node& n : pot->nodes)
        EXPECT_TRUE(n.fixed);
    EXPECT_TRUE(pot->immovable);

    v_node* anchor = add_node("anchor", 32, 10, true);
    v_node* ball = add_node("ball_red", 32, 22, false);
    EXPECT_TRUE(anchor->fixed);
    EXPECT_FALSE(ball->fixed);
    press_key('C');
    click_entry(editor.constraint_list, "rope");
    EXPECT_STREQ(editor.prompt(), "Select 1st attachment point");
    click(32, 10);
    EXPECT_STREQ(editor.prompt(), "Select 2nd attachment point");
    click(32, 10);  // the same node again is not a second end
    EXPECT_EQ(editor.mode, le_second_attachment);
    click(32, 22);
    ASSERT_EQ(editor.edit->constraints.size(), 1u);
    EXPECT_EQ(editor.edit->constraints[0]->n1, anchor);
    EXPECT_EQ(editor.edit->constraints[0]->n2, ball);

    // A marker follows the pointer until a click puts it down.
    move(10, 10);
    press_key('M');
    move(12.3f, 14.1f);
    click(12.3f, 14.1f);
    ASSERT_EQ(editor.edit->markers.size(), 1u);
    EXPECT_EQ(editor.edit->markers[0].x, 12.3f);

    // A carried free node can be picked up and moved again (half units with the grid).
    click(32, 22);
    EXPECT_EQ(editor.mode, le_carry_node);
    move(30.26f, 22);
    click(30.26f, 22);
    EXPECT_EQ(ball->position.x, 30.5f);
    EXPECT_TRUE(editor.modified());
}

TEST_F(level_editor_test, lengths_depth_and_delete_act_on_what_is_under_the_pointer)
{
    build_drop_level();
    v_constraint* rope = editor.edit->constraints[0].get();
    move(32.3f, 16);
    ASSERT_EQ(editor.constraint, rope);
    EXPECT_EQ(editor.selection_line().rfind("CONSTRAINT(length:", 0), 0u);
    float base = rope->rest_length;
    press_key(vk_equals);
    EXPECT_FLOAT_EQ(rope->rest_length, base + 1.0f);
    hold(vk_shift, true);
    press_key(vk_minus);
    hold(vk_shift, false);
    EXPECT_FLOAT_EQ(rope->rest_length, base + 0.95f);
    hold(vk_control, true);
    press_key(vk_equals);  // the ends' distance over the segments: 12 / 13
    hold(vk_control, false);
    EXPECT_FLOAT_EQ(rope->rest_length, 12.0f / float(rope->inodes.size() + 1));
    for (int i = 0; i < 5; ++i)
        press_key(vk_minus);
    EXPECT_EQ(rope->rest_length, le_min_length);  // never zero or below

    // Over the pot and the rope both: Delete takes only the constraint.
    hold(vk_shift, true);
    move(32, 50);
    hold(vk_shift, false);
    v_body* pot = editor.body;
    ASSERT_NE(pot, nullptr);
    press_key(vk_equals);
    EXPECT_FLOAT_EQ(pot->z_bias, 1.0f);
    editor.edit->add_constraint(editor.constraint_types[size_t(editor.constraint_list.find("rod"))],
                                editor.edit->nodes[0], &pot->nodes[3]);
    move(32, 49.8f);
    ASSERT_NE(editor.constraint, nullptr);
    ASSERT_EQ(editor.body, pot);
    press_key(vk_delete);
    EXPECT_EQ(editor.edit->constraints.size(), 1u);
    EXPECT_EQ(editor.edit->bodies.size(), 1u);
    move(32, 50.2f);
    press_key(vk_delete);
    EXPECT_TRUE(editor.edit->bodies.empty());
}

TEST_F(level_editor_test, space_twice_restores_the_level_and_ctrl_space_keeps_the_tested_state)
{
    build_drop_level();
    std::string before = editor.level_text();
    run_test(10, 120, 32, 16);
    EXPECT_TRUE(editor.play->constraints[0]->cut);
    EXPECT_GT(editor.play->nodes[1]->position.y, 22.5f);
    // Editing keys do nothing while a test runs.
    press_key(vk_delete);
    press_key(vk_space);
    EXPECT_EQ(editor.editing, 1);
    EXPECT_EQ(editor.play, nullptr);
    EXPECT_EQ(editor.level_text(), before);

    run_test(10, 120, 32, 16);
    float fallen = editor.play->nodes[1]->position.y;
    hold(vk_control, true);
    press_key(vk_space);
    hold(vk_control, false);
    EXPECT_EQ(editor.editing, 1);
    EXPECT_EQ(editor.edit->nodes[1]->position.y, fallen);
    EXPECT_TRUE(editor.edit->constraints.empty());  // what was cut is gone
    hold(vk_control, true);
    press_key('Z');
    hold(vk_control, false);
    EXPECT_EQ(editor.level_text(), before);
}

TEST_F(level_editor_test, a_solved_test_run_saved_with_the_level_passes_the_solution_check)
{
    build_drop_level();
    run_test(30, 1200, 32, 16);
    ASSERT_EQ(editor.play->verdict, v_verdict_solved);
    ASSERT_TRUE(editor.solved.valid);
    ASSERT_EQ(editor.solved.cuts.size(), 1u);
    EXPECT_EQ(editor.solved.cuts[0].step, 30);
    press_key(vk_space);

    // V checks the kept run and measures the level before anything is saved.
    editor.services.verify = le_check_level;
    press_key('V');
    EXPECT_TRUE(editor.verify_pending);
    EXPECT_FALSE(editor.dialog.open);
    ASSERT_TRUE(editor.run_pending());
    std::string said;
    for (const std::string& line : editor.dialog.lines)
        said += line + "\n";
    EXPECT_NE(said.find("check passes"), std::string::npos) << said;
    EXPECT_NE(said.find("measured difficulty: "), std::string::npos) << said;
    EXPECT_EQ(editor.status.rfind("Checked", 0), 0u) << editor.status;
    press_key(vk_return);

    press_key('S');
    ASSERT_TRUE(editor.picker.open);
    editor.picker.typed = "Mine";
    press_key(vk_return);
    std::string level = dir.file("levels/Mine.LEVL.txt");
    ASSERT_EQ(editor.file, level);
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(test_read_text(level), editor.level_text());
    EXPECT_EQ(test_read_text(dir.file("levels/Mine.solution")), le_solution_text(editor.solved));

    sim_verify_result r = sim_verify_level(ctx, level);
    EXPECT_TRUE(r.passed) << (r.failures.empty() ? "" : r.failures.front());

    // An edit after the run: the kept cuts no longer belong to the level, and saving says so.
    move(32, 10);
    click(32, 10);
    move(33, 10);
    click(33, 10);
    hold(vk_control, true);
    press_key('S');
    hold(vk_control, false);
    EXPECT_NE(editor.status.find("No solution saved"), std::string::npos);
}

TEST_F(level_editor_test, the_check_says_when_a_level_solves_itself)
{
    // A ball right over its pot, held by nothing: a run without cuts solves it.
    press_key('B');
    click_entry(editor.body_list, "pot_red");
    move(32, 50);
    click(32, 50);
    hold(vk_shift, true);
    press_key('F');
    hold(vk_shift, false);
    add_node("ball_red", 32, 40, false);
    run_test(-1, 600, 0, 0);
    ASSERT_TRUE(editor.solved.valid);
    press_key(vk_space);
    std::string summary, detail;
    EXPECT_FALSE(le_check_level(editor.level_text(), editor.solved, summary, detail));
    EXPECT_NE(detail.find("solved without cuts"), std::string::npos) << detail;
}

TEST_F(level_editor_test, undo_and_redo_cross_a_save_and_loading_keeps_work_when_a_file_is_damaged)
{
    add_node("anchor", 10, 10, true);
    press_key('S');
    editor.picker.typed = "One";
    press_key(vk_return);
    std::string one = dir.file("levels/One.LEVL.txt");
    std::string saved = test_read_text(one);
    add_node("anchor", 20, 10, false);
    EXPECT_TRUE(editor.modified());
    hold(vk_control, true);
    press_key('Z');
    EXPECT_FALSE(editor.modified());
    EXPECT_EQ(editor.level_text(), saved);
    press_key('Z');
    press_key('Z');
    EXPECT_TRUE(editor.edit->nodes.empty());
    EXPECT_TRUE(editor.modified());
    press_key('Y');
    hold(vk_shift, true);
    press_key('Z');
    hold(vk_shift, false);
    hold(vk_control, false);
    EXPECT_EQ(editor.level_text(), saved);
    EXPECT_EQ(test_read_text(one), saved);  // undo never writes

    // A damaged file: the message, and the edit level as it was.
    test_write_text(dir.file("levels/Bad.LEVL.txt"), "nodes { ~{ x 1");
    editor.load(dir.file("levels/Bad.LEVL.txt"));
    EXPECT_EQ(editor.level_text(), saved);
    EXPECT_EQ(editor.file, one);
    // A type the store lacks: the level loads without it and says what was left out.
    test_write_text(dir.file("levels/Odd.LEVL.txt"),
                    "nodes { ~{ x 5 y 5 fixed 1 type \"nodes\\nosuch\" } ~{ x 6 y 6 type \"nodes\\anchor\" } }");
    editor.load(dir.file("levels/Odd.LEVL.txt"));
    EXPECT_EQ(editor.edit->nodes.size(), 1u);
    EXPECT_TRUE(editor.dialog.open);
    std::string said;
    for (const std::string& line : editor.dialog.lines)
        said += line + " ";
    EXPECT_NE(said.find("1 nodes"), std::string::npos) << said;
    press_key(vk_return);
    // Undo takes the load back.
    hold(vk_control, true);
    press_key('Z');
    hold(vk_control, false);
    EXPECT_EQ(editor.file, one);
}

TEST_F(level_editor_test, a_save_that_cannot_be_written_says_why_and_keeps_the_work)
{
    // The levels folder cannot be made: a file stands where it would be.
    test_write_text(dir.file("levels"), "not a folder");
    add_node("anchor", 10, 10, true);
    std::string before = editor.level_text();
    press_key('S');
    EXPECT_FALSE(editor.picker.problem.empty());
    editor.picker.typed = "Lost";
    press_key(vk_return);
    ASSERT_TRUE(editor.dialog.open);
    EXPECT_NE(editor.dialog.lines.front().find("cannot be saved"), std::string::npos);
    press_key(vk_return);
    EXPECT_TRUE(editor.modified());
    EXPECT_TRUE(editor.file.empty());
    EXPECT_EQ(editor.level_text(), before);
}

TEST_F(level_editor_test, unsaved_work_is_asked_about_kept_in_the_autosave_and_offered_back)
{
    editor.autosave = ed_autosave(dir.file("level_editor.autosave"), "tamble level editor autosave");
    add_node("anchor", 10, 10, true);
    // A minute of editing writes the autosave.
    for (int i = 0; i < 60 * 180 + 1; ++i)
        editor.tick();
    ed_snapshot kept;
    ASSERT_TRUE(editor.autosave.read(kept));
    EXPECT_EQ(kept.text, editor.level_text());

    editor.close_requested(false);
    ASSERT_TRUE(editor.dialog.open);
    press_key(vk_escape);  // Cancel: nothing happens
    EXPECT_FALSE(editor.quit);
    hold(vk_control, true);
    press_key('N');
    hold(vk_control, false);
    ASSERT_TRUE(editor.dialog.open);
    press_key('S');  // Save on a new level asks for its name
    EXPECT_TRUE(editor.picker.open);
    press_key(vk_escape);

    // A session that ends without saving: the next one offers the work back.
    level_editor next{v_replay_global()};
    next.startup(ctx.pak, nullptr, dir.file("levels"));
    next.autosave = editor.autosave;
    next.offer_autosave();
    ASSERT_TRUE(next.dialog.open);
    next.key('Y', true);
    EXPECT_EQ(next.level_text(), kept.text);
    EXPECT_TRUE(next.modified());

    editor.close_requested(false);
    press_key('D');  // Discard: the editor closes and the autosave goes
    EXPECT_TRUE(editor.quit);
    EXPECT_FALSE(editor.autosave.read(kept));
}

}  // namespace

namespace {

TEST(level_previews, the_first_six_levels_count_and_test_or_gun_levels_are_skipped_in_any_case)
{
    EXPECT_TRUE(le_preview_skipped("levels\\MyTEST"));
    EXPECT_TRUE(le_preview_skipped("levels\\GunPowder"));
    EXPECT_FALSE(le_preview_skipped("levels\\Begun"));  // "gun" without the backslash before it

    test_scratch_dir dir;
    for (const char* name : {"Alpha", "Beta", "Gamma", "Delta", "MyTest", "Gunner", "Epsilon", "Zeta"})
        test_write_text(dir.file(std::string("levels/") + name + ".LEVL.txt"), "nodes {}");
    pak_system store;
    store.add_module(std::make_unique<pak_source_dir>(&store, dir.path.string()));
    std::vector<std::string> order;
    pak_enum_function all([&](ref_ptr<pak_chunkref> ref) { order.push_back(ref->name); });
    store.enumerate(pak_code_levl, all);
    ASSERT_EQ(order.size(), 8u);

    std::vector<std::string> expected;
    int32_t skipped_in_six = 0;
    for (size_t i = 0; i < 6; ++i) {
        if (order[i].find("Test") != std::string::npos || order[i].find("\\Gun") != std::string::npos)
            ++skipped_in_six;
        else
            expected.push_back(order[i]);
    }
    ASSERT_GT(skipped_in_six, 0) << "the names no longer put a skipped level among the first six";
    EXPECT_EQ(le_preview_levels(store), expected);
}

}  // namespace
