// The body editor's logic on the types of base/: a body built with keys and clicks and
// saved in the form the game's type loader takes, the value limits, mirroring, deleting
// a node that constraints and corners use, the loader's refusals foreseen, damaged files,
// undo, and the trial run.
#include "app/input_codes.h"
#include "data/script_text.h"
#include "editors/body/body_editor.h"
#include "physics/body.h"
#include "tools/sim/sim_level.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

namespace {

using namespace bedit;

constexpr uint32_t vk_f4 = vk_f1 + 3, vk_f5 = vk_f1 + 4, vk_f6 = vk_f1 + 5;

class body_editor_test : public testing::Test {
protected:
    sim_context ctx;
    body_editor editor;
    test_scratch_dir dir;

    void SetUp() override
    {
        sim_source_options sources;
        sources.data_roots.push_back(std::string(TAMBLE_SOURCE_DIR) + "/base");
        std::string error;
        ASSERT_TRUE(ctx.open(sources, error)) << error;
        startup(editor, ctx.pak, dir.file("bodies"));
        // base/ holds no textures (the archive does): two stand in for them.
        editor.texture_list.items = {"tex\\bodies\\block", "tex\\bodies\\crate"};
    }

    void press_key(uint32_t vk) { editor.key(vk, true), editor.key(vk, false); }
    void with(uint32_t modifier, uint32_t vk)
    {
        editor.key(modifier, true);
        press_key(vk);
        editor.key(modifier, false);
    }
    void move(float x, float y) { editor.mouse(0, x, y); }
    void click(float x, float y)
    {
        editor.mouse(left_held | left_press, x, y);
        editor.mouse(left_release, x, y);
    }
    void right_click(float x, float y)
    {
        editor.mouse(right_held | right_press, x, y);
        editor.mouse(right_release, x, y);
    }
    void click_entry(const std::string& name)
    {
        int32_t i = editor.texture_list.find(name);
        ASSERT_GE(i, 0) << name;
        ed_rect row = editor.texture_list.row_rect(i);
        float x, y;
        editor.to_editor(row.left + 1, (row.top + row.bottom) / 2, x, y);
        click(x, y);
    }
    void add_node(float x, float y)
    {
        move(x, y);
        press_key('N');
        click(x, y);
    }
    void join(float x1, float y1, float x2, float y2)
    {
        press_key('C');
        click(x1, y1);
        click(x2, y2);
    }
    // A 4 x 4 box around the origin with collidable edges, the bottom one a pot edge,
    // and a crate texture tied to its corners.
    void build_box()
    {
        add_node(30, 30);
        add_node(34, 30);
        add_node(34, 34);
        add_node(30, 34);
        join(30, 30, 34, 30);
        join(34, 30, 34, 34);
        join(34, 34, 30, 34);
        join(30, 34, 30, 30);
        for (auto [x, y] : {std::pair{32.f, 30.f}, {34.f, 32.f}, {32.f, 34.f}, {30.f, 32.f}}) {
            move(x, y);
            press_key('B');
        }
        move(32, 34);
        press_key('W');
        press_key('P');
        click_entry("tex\\bodies\\crate");
        for (auto [x, y] : {std::pair{30.f, 30.f}, {34.f, 30.f}, {34.f, 34.f}, {30.f, 34.f}})
            click(x, y);
        right_click(32, 32);
    }
    // The type the game's loader builds from the editor's text.
    ref_ptr<v_body_type> game_type()
    {
        std::string why;
        return trial_body_type(editor.body_text(), why);
    }
};

TEST_F(body_editor_test, a_body_built_with_keys_and_clicks_is_saved_as_the_game_loads_it)
{
    build_box();
    ASSERT_EQ(editor.work.nodes.size(), 4u);
    ASSERT_EQ(editor.work.constraints.size(), 4u);
    ASSERT_EQ(editor.work.polygons.size(), 1u);
    EXPECT_EQ(editor.mode, mode_idle);
    // A free corner (Shift) and one tied to a node, in front of the box.
    press_key('P');
    click_entry("tex\\bodies\\block");
    editor.key(vk_shift, true);
    click(30, 30);
    editor.key(vk_shift, false);
    click(34, 30);
    click(32.1f, 27.3f);  // snapped to the quarter-unit grid
    right_click(0, 0);
    ASSERT_EQ(editor.work.polygons.size(), 2u);
    move(32, 28.5f);
    ASSERT_EQ(editor.hover_polygon, 1);
    press_key(vk_minus);
    with(vk_shift, vk_equals);
    EXPECT_EQ(editor.polygon_line(), "POLY[ depth=-4.1 ]");
    press_key(vk_f6);
    press_key(vk_f6);
    press_key(vk_f5);
    EXPECT_EQ(editor.color_line(), "COLOR=1");
    move(32, 34);
    EXPECT_EQ(editor.constraint_line(), "CONST[ fric=0.5 elasticity=0.5 POT]");

    // The text: the type keys in the writer's form, pre-interned names in capitals.
    std::string text = editor.body_text();
    for (const char* piece : {"mass\t10\n", "pot_color\t1\n", "POLYS\n", "\tX\t-2.000000", "\tTX\t1.000000",
                              "\tTEX\t\"tex\\bodies\\crate\"", "\tZ\t-5.000000", "\tnode\t3", "\tcollidable\t1",
                              "\tpot\t1", "\tfric\t0.500000"})
        EXPECT_NE(text.find(piece), std::string::npos) << piece << "\n" << text;

    ref_ptr<v_body_type> type = game_type();
    ASSERT_TRUE(type);
    ASSERT_EQ(type->prototype->nodes.size(), 4u);  // symmetric: no balance node
    EXPECT_EQ(type->prototype->nodes[1].position, (vec2{2, -2}));
    ASSERT_EQ(type->prototype->collidable.size(), 4u);
    EXPECT_TRUE(type->prototype->constraints[2].pot);
    EXPECT_EQ(type->pot_color, 1);
    ASSERT_EQ(type->polys.polygons.size(), 2u);
    EXPECT_EQ(type->polys.polygons[0].texture, "tex\\bodies\\crate");
    EXPECT_EQ(type->polys.polygons[1].z, -4.1f);
    const auto& v = type->polys.vertices;
    ASSERT_EQ(v.size(), 7u);
    EXPECT_EQ(v[2].node, 2);
    EXPECT_EQ(v[2].tx, 1.0f);
    EXPECT_EQ(v[2].ty, 1.0f);
    EXPECT_EQ(v[4].node, -1);  // the Shift corner is free, at the node's place
    EXPECT_EQ(v[4].x, -2.0f);
    EXPECT_EQ(v[6].y, -4.75f);
    EXPECT_EQ(v[6].tx, 1.0f);

    // Saved through the picker and loaded into another editor: the same text.
    press_key('S');
    ASSERT_TRUE(editor.picker.open);
    editor.picker.typed = "Box";
    press_key(vk_return);
    EXPECT_FALSE(editor.history.modified());
    std::string saved = test_read_text(dir.file("bodies/Box.BTYP.txt"));
    EXPECT_EQ(saved, text);
    body_editor other;
    startup(other, ctx.pak, dir.file("bodies"));
    other.load(dir.file("bodies/Box.BTYP.txt"));
    EXPECT_EQ(other.body_text(), text);
    EXPECT_FALSE(other.history.modified());
}

TEST_F(body_editor_test, every_shipped_body_opened_and_saved_again_is_the_same_type_for_the_game)
{
    auto type_of = [](const std::string& text) {
        script_symbol_table symbols;
        script_handle root = script_handle::fresh(&symbols);
        EXPECT_TRUE(script_parser(root).parse(text.c_str()));
        return ref_ptr<v_body_type>(new v_body_type(nullptr, root));
    };
    int checked = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TAMBLE_SOURCE_DIR) + "/base/bodies")) {
        SCOPED_TRACE(entry.path().string());
        editor.load(entry.path().string());
        ASSERT_FALSE(editor.dialog.open);
        EXPECT_FALSE(any_refused(editor.problems));
        ref_ptr<v_body_type> before = type_of(test_read_text(entry.path().string()));
        ref_ptr<v_body_type> after = type_of(editor.body_text());
        ASSERT_TRUE(before->loaded && after->loaded);
        EXPECT_EQ(after->mass, before->mass);
        EXPECT_EQ(after->moment, before->moment);
        EXPECT_EQ(after->material, before->material);
        EXPECT_EQ(after->pot_color, before->pot_color);
        EXPECT_EQ(after->motor, before->motor);
        EXPECT_EQ(after->has_rail, before->has_rail);
        const v_body &a = *after->prototype, &b = *before->prototype;
        ASSERT_EQ(a.nodes.size(), b.nodes.size());
        for (size_t i = 0; i < a.nodes.size(); ++i)
            EXPECT_EQ(a.nodes[i].position, b.nodes[i].position) << i;
        ASSERT_EQ(a.constraints.size(), b.constraints.size());
        for (size_t i = 0; i < a.constraints.size(); ++i) {
            EXPECT_EQ(a.constraints[i].n1 - a.nodes.data(), b.constraints[i].n1 - b.nodes.data());
            EXPECT_EQ(a.constraints[i].n2 - a.nodes.data(), b.constraints[i].n2 - b.nodes.data());
            EXPECT_EQ(a.constraints[i].pot, b.constraints[i].pot);
            EXPECT_EQ(a.constraints[i].fric, b.constraints[i].fric);
            EXPECT_EQ(a.constraints[i].elast, b.constraints[i].elast);
        }
        EXPECT_EQ(a.collidable.size(), b.collidable.size());
        ASSERT_EQ(after->polys.polygons.size(), before->polys.polygons.size());
        for (size_t i = 0; i < after->polys.polygons.size(); ++i) {
            EXPECT_EQ(after->polys.polygons[i].texture, before->polys.polygons[i].texture);
            EXPECT_EQ(after->polys.polygons[i].z, before->polys.polygons[i].z);
        }
        ASSERT_EQ(after->polys.vertices.size(), before->polys.vertices.size());
        for (size_t i = 0; i < after->polys.vertices.size(); ++i) {
            const v_poly_vertex &x = after->polys.vertices[i], &y = before->polys.vertices[i];
            EXPECT_TRUE(x.x == y.x && x.y == y.y && x.tx == y.tx && x.ty == y.ty && x.node == y.node) << i;
        }
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

TEST_F(body_editor_test, values_stay_in_their_limits_mirroring_twice_restores_and_two_corners_make_no_polygon)
{
    build_box();
    move(34, 32);
    ASSERT_EQ(editor.hover_constraint, 1);
    for (int i = 0; i < 11; ++i)
        press_key('F');
    EXPECT_EQ(editor.work.constraints[1].fric, 1.0f);
    for (int i = 0; i < 7; ++i)
        with(vk_shift, 'E');
    EXPECT_EQ(editor.work.constraints[1].elast, 0.0f);
    EXPECT_EQ(editor.constraint_line(), "CONST[ fric=1.0 elasticity=0.0 ]");
    // Ctrl+X remembers it, X copies its collidable flag, friction and elasticity.
    with(vk_control, 'X');
    move(32, 34);
    press_key('B');
    press_key('X');
    EXPECT_TRUE(editor.work.constraints[2].collidable);
    EXPECT_EQ(editor.work.constraints[2].fric, 1.0f);
    EXPECT_EQ(editor.work.constraints[2].elast, 0.0f);
    EXPECT_TRUE(editor.work.constraints[2].pot);  // not copied
    // Depth stays within -10 and -1, the colour within 0 and 100.
    move(32, 32);
    for (int i = 0; i < 12; ++i)
        press_key(vk_equals);
    EXPECT_EQ(editor.work.polygons[0].z, -10.0f);
    for (int i = 0; i < 12; ++i)
        press_key(vk_minus);
    EXPECT_EQ(editor.work.polygons[0].z, -1.0f);
    press_key(vk_f5);
    EXPECT_EQ(editor.work.color, 0);
    // Texture sub-mode: H and V scale every polygon's texture coordinates; outside it H
    // shows the help card.
    press_key('T');
    ASSERT_TRUE(editor.texture_mode);
    EXPECT_EQ(editor.grid_spacing(), texture_grid_step);
    press_key('H');
    with(vk_shift, 'V');
    EXPECT_FALSE(editor.help);
    EXPECT_EQ(editor.work.polygons[0].corners[2].tx, 2.0f);
    EXPECT_EQ(editor.work.polygons[0].corners[2].ty, 0.5f);
    with(vk_shift, 'H');
    press_key('V');
    press_key('T');
    EXPECT_FALSE(editor.texture_mode);
    press_key('H');
    EXPECT_TRUE(editor.help);
    press_key('N');  // any key closes the card, and does nothing else
    EXPECT_FALSE(editor.help);
    EXPECT_EQ(editor.work.nodes.size(), 4u);

    // Mirroring: x to the other side, ends swapped; twice gives back every position, also
    // off the grid and of free corners.
    press_key('G');
    add_node(36.3f, 29.1f);
    press_key('P');
    click_entry("tex\\bodies\\block");
    for (auto [x, y] : {std::pair{37.11f, 35.7f}, {39.3f, 35.9f}, {38.2f, 38.3f}})
        click(x, y);
    right_click(0, 0);
    std::string before = editor.body_text();
    float free_x = editor.work.polygons[1].corners[0].position.x;
    EXPECT_EQ(free_x, 327.0f / 64);  // 5.11 to the nearest 64th without the grid
    press_key(vk_f1);
    EXPECT_EQ(editor.work.nodes[1].position, (vec2{-2, -2}));
    EXPECT_EQ(editor.work.constraints[0].n1, 1);
    EXPECT_EQ(editor.work.constraints[0].n2, 0);
    EXPECT_EQ(editor.work.polygons[1].corners[0].position.x, -free_x);
    ASSERT_TRUE(game_type());  // mirrored, the loader still takes it
    press_key(vk_f1);
    EXPECT_EQ(editor.body_text(), before);

    // A polygon of two corners is dropped when the right button ends it.
    press_key('P');
    click_entry("tex\\bodies\\block");
    EXPECT_EQ(editor.mode, mode_insert_corners);
    EXPECT_STREQ(editor.prompt(), "Insert Poly Vertices");
    click(20, 20);
    click(22, 20);
    right_click(0, 0);
    EXPECT_EQ(editor.mode, mode_idle);
    EXPECT_EQ(editor.work.polygons.size(), 2u);
    EXPECT_EQ(editor.body_text(), before);
}

TEST_F(body_editor_test, deleting_a_node_drops_its_constraints_frees_its_corners_and_renumbers)
{
    build_box();
    add_node(32, 28);  // node 4, a roof
    join(30, 30, 32, 28);
    join(32, 28, 34, 30);
    press_key('P');
    click_entry("tex\\bodies\\block");
    for (auto [x, y] : {std::pair{30.f, 30.f}, {32.f, 28.f}, {34.f, 30.f}})
        click(x, y);
    right_click(0, 0);
    // Node 0 goes: its two box edges and its roof edge with it; nodes 1 to 4 become 0 to 3.
    move(34, 32);
    with(vk_control, 'X');  // remember constraint 1 (right side), which stays
    move(30, 30);
    ASSERT_EQ(editor.hover_node, 0);
    ASSERT_EQ(editor.hover_polygon, -1);  // a node wins over the polygons around it
    press_key(vk_delete);
    ASSERT_EQ(editor.work.nodes.size(), 4u);
    ASSERT_EQ(editor.work.constraints.size(), 3u);
    EXPECT_EQ(editor.work.constraints[0].n1, 0);  // was 1 -> 2
    EXPECT_EQ(editor.work.constraints[0].n2, 1);
    EXPECT_EQ(editor.work.constraints[2].n1, 3);  // the roof's right edge, 4 -> 1
    EXPECT_EQ(editor.remembered, 0);
    const bedit::corner& freed = editor.work.polygons[0].corners[0];
    EXPECT_FALSE(freed.tied());
    EXPECT_EQ(freed.position, (vec2{-2, -2}));
    EXPECT_EQ(editor.work.polygons[1].corners[1].node, 3);
    EXPECT_FALSE(any_refused(editor.problems));
    ASSERT_TRUE(game_type());

    // A free corner under the pointer: Delete leaves everything (it goes with its polygon).
    move(30, 30);
    ASSERT_EQ(editor.hover_corner, 0);
    std::string before = editor.body_text();
    press_key(vk_delete);
    EXPECT_EQ(editor.body_text(), before);
    // Inside a polygon away from nodes and edges: Delete takes the polygon.
    move(32.5f, 32.5f);
    ASSERT_EQ(editor.hover_polygon, 0);
    press_key(vk_delete);
    EXPECT_EQ(editor.work.polygons.size(), 1u);
    // On an edge: the constraint.
    move(34, 32);
    press_key(vk_delete);
    EXPECT_EQ(editor.work.constraints.size(), 2u);
    EXPECT_EQ(editor.remembered, -1);
}

TEST_F(body_editor_test, what_the_type_loader_refuses_is_flagged_before_saving)
{
    // Each body text: whether the editor flags it as refused must match the loader.
    struct case_t {
        const char* text;
        bool refused;
        const char* says;
    } cases[] = {
        {"mass 0 nodes { ~{ x 1 y 0 } ~{ x -1 y 0 } }", true, "mass is 0"},
        {"mass \"heavy\" nodes { ~{ x 1 y 0 } ~{ x -1 y 0 } }", true, "mass is 0"},
        {"moment -1 nodes { ~{ x 1 y 0 } }", true, "\"moment\" is negative"},
        {"nodes { ~{ x 0 y 0 } }", true, "lies on the origin"},
        {"nodes { ~{ x 1 y 2 } ~{ x 1 y 2 } } constraints { ~{ n1 0 n2 1 } }", true, "lie on one spot"},
        {"nodes { ~{ x 1 y 2 mass -2 } ~{ x 3 y 2 } }", true, "negative \"mass\""},
        {"mass 1 polys { ~{ x -32 y -32 } ~{ x 32 y -32 } ~{ x 32 y 32 } ~{ tex \"t\" z -9 } }", false,
         "no nodes"},
        {"nodes { ~{ x 1 y 0 } ~{ x -1 y 0 } } constraints { ~{ n1 0 n2 1 } }", false, "No constraint is collidable"},
    };
    for (const case_t& c : cases) {
        SCOPED_TRACE(c.text);
        ASSERT_TRUE(editor.restore(c.text));
        std::string why;
        EXPECT_EQ(!trial_body_type(editor.body_text(), why), c.refused);
        EXPECT_EQ(any_refused(editor.problems), c.refused);
        bool said = false;
        for (const problem& p : editor.problems)
            said = said || p.text.find(c.says) != std::string::npos;
        EXPECT_TRUE(said);
    }

    // Two nodes put on one spot and joined: flagged at once; saving asks, No saves nothing.
    ASSERT_TRUE(editor.restore(""));
    add_node(30, 30);
    add_node(30, 31);
    move(30, 31);
    click(30, 31);
    move(30, 30);
    click(30, 30);  // node 1 carried onto node 0
    EXPECT_EQ(editor.work.nodes[1].position, editor.work.nodes[0].position);
    press_key('C');
    click(30, 30);
    EXPECT_EQ(editor.mode, mode_second_node);
    click(30, 30);  // the node nearest the pointer is the first again: nothing
    EXPECT_EQ(editor.mode, mode_second_node);
    press_key(vk_escape);
    editor.work.constraints.push_back({0, 1});
    with(vk_control, 'S');  // no file yet: the picker
    editor.picker.typed = "Flat";
    press_key(vk_return);
    ASSERT_TRUE(editor.dialog.open);
    EXPECT_EQ(editor.dialog.purpose, ask_save_refused);
    press_key('N');
    EXPECT_TRUE(test_read_text(dir.file("bodies/Flat.BTYP.txt")).empty());
    // Yes saves it as it is; trying it is refused with the reason.
    press_key('S');
    editor.picker.typed = "Flat";
    press_key(vk_return);
    press_key('Y');
    EXPECT_FALSE(test_read_text(dir.file("bodies/Flat.BTYP.txt")).empty());
    press_key(vk_space);
    EXPECT_FALSE(editor.trial);
    ASSERT_TRUE(editor.dialog.open);
    EXPECT_EQ(editor.dialog.caption, "Try it");
}

TEST_F(body_editor_test, a_damaged_file_keeps_the_body_and_f4_asks_before_starting_anew)
{
    build_box();
    std::string box = editor.body_text();
    std::filesystem::create_directories(dir.file("bodies"));
    std::FILE* f = std::fopen(dir.file("bodies/Broken.BTYP.txt").c_str(), "wb");
    std::fputs("mass 5 nodes { ~{ x 1 y 0 ", f);
    std::fclose(f);
    f = std::fopen(dir.file("bodies/Odd.BTYP.txt").c_str(), "wb");
    std::fputs("material 3 nodes { ~{ x 1 y 0 } ~{ x -1 y 0 } } constraints { ~{ n1 0 n2 7 } ~{ n1 0 n2 1 } }\n"
               "polys { ~{ node 9 x 2 y 2 } ~{ node 0 } ~{ node 1 } ~{ tex \"t\" z -2 } ~{ node 0 } }",
               f);
    std::fclose(f);

    press_key('L');
    ASSERT_TRUE(editor.dialog.open);  // the box is not saved: asked first
    press_key('D');
    ASSERT_TRUE(editor.picker.open);
    editor.picker.typed = "Broken";
    press_key(vk_return);
    ASSERT_TRUE(editor.dialog.open);
    ASSERT_EQ(editor.dialog.lines.size(), 1u);
    EXPECT_EQ(editor.dialog.lines[0], "Error Loading File.");
    press_key(vk_return);
    EXPECT_EQ(editor.body_text(), box);
    EXPECT_TRUE(editor.history.modified());

    // A file naming nodes it lacks loads without what cannot be kept, and says so; the
    // keys the editor does not manage stay.
    editor.load(dir.file("bodies/Odd.BTYP.txt"));
    ASSERT_TRUE(editor.dialog.open);
    std::string said;
    for (const std::string& line : editor.dialog.lines)
        said += line + " ";
    EXPECT_NE(said.find("1 constraint names a node"), std::string::npos) << said;
    EXPECT_NE(said.find("1 polygon corner was tied"), std::string::npos) << said;
    EXPECT_NE(said.find("1 corner follows the last texture"), std::string::npos) << said;
    press_key(vk_return);
    EXPECT_EQ(editor.work.constraints.size(), 1u);
    EXPECT_EQ(editor.work.polygons[0].corners[0].position, (vec2{2, 2}));
    EXPECT_NE(editor.body_text().find("material\t3"), std::string::npos);
    ASSERT_TRUE(game_type());

    // F4: No keeps the body; Yes clears it (undo brings it back).
    std::string odd = editor.body_text();
    press_key(vk_f4);
    ASSERT_TRUE(editor.dialog.open);
    EXPECT_EQ(editor.dialog.caption, "Message Box Title");
    EXPECT_EQ(editor.dialog.lines[0], "Create New Body?");
    press_key('N');
    EXPECT_EQ(editor.body_text(), odd);
    press_key(vk_f4);
    press_key('Y');
    EXPECT_TRUE(editor.work.nodes.empty() && editor.work.constraints.empty() && editor.work.polygons.empty());
    EXPECT_TRUE(editor.file.empty());
    with(vk_control, 'Z');
    EXPECT_EQ(editor.body_text(), odd);
}

TEST_F(body_editor_test, every_edit_undoes_and_redoes_dragging_carries_and_unsaved_work_is_kept)
{
    std::vector<std::string> states{editor.body_text()};
    auto step = [&] { states.push_back(editor.body_text()); };
    add_node(30, 30);
    step();
    add_node(34, 30);
    step();
    join(30, 30, 34, 30);
    step();
    move(32, 30);
    press_key('B');
    step();
    press_key('F');
    step();
    // A drag: press on node 1, move with the button held, release.
    editor.mouse(left_held | left_press, 34, 30);
    editor.mouse(left_held, 35, 31);
    editor.mouse(left_release, 35, 31);
    EXPECT_EQ(editor.mode, mode_idle);
    EXPECT_EQ(editor.work.nodes[1].position, (vec2{3, -1}));
    step();
    // Ctrl-drag pans the view, which changes nothing of the body.
    editor.key(vk_control, true);
    editor.mouse(left_held | left_press, 40, 40);
    editor.key(vk_control, false);
    editor.mouse(left_held, 38, 41);
    // The view moved under the pointer: the same spot of the window is the point taken.
    editor.mouse(left_release, 40, 40);
    EXPECT_EQ(editor.mode, mode_idle);
    EXPECT_EQ(editor.view_x, start_x + 2);
    EXPECT_EQ(editor.view_y, start_y - 1);
    press_key(vk_f6);
    step();
    press_key(vk_f1);
    step();
    EXPECT_EQ(editor.history.states.size(), states.size());

    for (size_t i = states.size() - 1; i-- > 0;) {
        with(vk_control, 'Z');
        EXPECT_EQ(editor.body_text(), states[i]) << i;
    }
    for (size_t i = 1; i < states.size(); ++i) {
        if (i % 2)
            with(vk_control, 'Y');
        else {
            editor.key(vk_shift, true);
            with(vk_control, 'Z');
            editor.key(vk_shift, false);
        }
        EXPECT_EQ(editor.body_text(), states[i]) << i;
    }

    // Leaving asks about unsaved work; the test driver's end keeps it in the autosave,
    // and the next start offers it back.
    editor.autosave = ed_autosave(dir.file("body_editor.autosave"), "tamble body editor autosave");
    editor.close_requested(false);
    ASSERT_TRUE(editor.dialog.open);
    press_key(vk_escape);
    EXPECT_FALSE(editor.quit);
    editor.close_requested(true);
    EXPECT_TRUE(editor.quit);
    body_editor next;
    startup(next, ctx.pak, dir.file("bodies"));
    next.autosave = editor.autosave;
    next.offer_autosave();
    ASSERT_TRUE(next.dialog.open);
    next.key('Y', true);
    EXPECT_EQ(next.body_text(), states.back());
    EXPECT_TRUE(next.history.modified());
    next.close_requested(false);
    next.key('D', true);
    EXPECT_TRUE(next.quit);
    EXPECT_TRUE(test_read_text(dir.file("body_editor.autosave")).empty());
}

TEST_F(body_editor_test, trying_the_body_drops_it_onto_a_floor_among_the_balls_and_leaves_it_untouched)
{
    build_box();
    std::string before = editor.body_text();
    press_key(vk_space);
    ASSERT_TRUE(editor.trial);
    EXPECT_FALSE(editor.editing());
    const v_world& w = *editor.trial;
    ASSERT_EQ(w.bodies.size(), 2u);
    ASSERT_EQ(w.nodes.size(), size_t(trial_ball_colors));
    for (int32_t k = 0; k < trial_ball_colors; ++k)
        EXPECT_EQ(w.nodes[size_t(k)]->color(), k + 1);
    // Keys other than Space do nothing while it runs.
    press_key('N');
    EXPECT_EQ(editor.work.nodes.size(), 4u);
    // The box lands on the floor, rocks under the balls that land on it and comes to rest
    // flat; nothing goes into the floor or over its walls.
    const v_body& box = *w.bodies[0];
    const v_body& floor = *w.bodies[1];
    EXPECT_EQ(floor.position.y, origin_y + 2 + 6 + trial_floor_half_height);
    float floor_top = floor.position.y - trial_floor_half_height;
    for (int i = 0; i < 6 * steps_per_second; ++i) {
        editor.trial_step();
        float lowest = 0;
        for (const v_node& n : box.nodes)
            lowest = std::max(lowest, n.position.y);
        ASSERT_LT(lowest, floor_top + 0.05f) << i;
        for (const v_node* n : w.nodes) {
            ASSERT_LT(n->position.y, floor_top) << i;
            ASSERT_LT(std::abs(n->position.x - origin_x), trial_floor_half_width) << i;
        }
    }
    EXPECT_NEAR(box.position.y + 2, floor_top, 0.01f);
    EXPECT_NEAR(box.angle, 0.0f, 0.01f);
    EXPECT_LT(box.velocity.length(), 0.05f);
    press_key(vk_space);
    EXPECT_FALSE(editor.trial);
    EXPECT_EQ(editor.body_text(), before);
    EXPECT_EQ(editor.history.states.back().text, before);
}

}  // namespace
