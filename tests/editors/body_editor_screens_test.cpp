// The body editor end to end under the test driver: a body built from nothing with keys,
// clicks and the texture list, tried, mirrored twice, saved through the picker; F4 asked
// and answered both ways; then the level editor started on the same tree lists the body,
// a level is made with it, and tamble-sim plays the level: the body falls onto the floor
// and rests on its collidable edges.
#include "data/script_text.h"
#include "editors/body/body_editor.h"
#include "editors/level/level_editor.h"
#include "physics/body.h"
#include "tests/game/game_run.h"
#include "tests/test_display.h"
#include "tests/test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>

namespace {

// A script written frame by frame: each event a few frames after the one before.
struct script_t {
    std::ostringstream text;
    int frame = 5;

    script_t& at(const std::string& event, int gap = 3)
    {
        text << frame << " " << event << "\n";
        frame += gap;
        return *this;
    }
    script_t& key(const std::string& name) { return at("key " + name); }
    script_t& click(float x, float y, const char* button = "left")
    {
        return at(std::string("click ") + button + " " + std::to_string(x) + " " + std::to_string(y));
    }
    script_t& move(float x, float y) { return at("move " + std::to_string(x) + " " + std::to_string(y)); }
    script_t& with(const std::string& modifier, const std::string& name)
    {
        at("keydown " + modifier, 1);
        key(name);
        return at("keyup " + modifier, 1);
    }
    script_t& type(const std::string& typed) { return at("text \"" + typed + "\""); }
    // The frame shown just before the next event: what the events so far made.
    int shown() const { return frame - 1; }
};

// Interface units to the units scripts give, in a view of this centre and zoom.
void from_interface(float ix, float iy, float cx, float cy, float zoom, float& x, float& y)
{
    x = cx + (ix - bedit::ui_centre_x) * zoom / bedit::ui_half_height;
    y = cy + (iy - bedit::ui_centre_y) * zoom / bedit::ui_half_height;
}

// The row of a list shown in the body editor's texture list (the list opens with the
// bodies' first texture, "tex\bodies\balance", in its top row).
void texture_row(script_t& s, int row, bool click = true)
{
    float x, y;
    from_interface(bedit::list_area.left + 2, bedit::list_area.top + float(row) + 0.5f, bedit::start_x,
                   bedit::start_y, bedit::start_zoom, x, y);
    click ? s.click(x, y) : s.move(x, y);
}

// The row of an entry in the level editor's lists.
void level_list_row(script_t& s, int row)
{
    float x, y;
    from_interface(le_list_area.left + 2, le_list_area.top + float(row) + 0.5f, le_start_x, le_start_y,
                   le_start_zoom, x, y);
    s.click(x, y);
}

// "tex\bodies\crate" in the archive's sorted textures, counted from "tex\bodies\balance".
constexpr int crate_row = 3;

game_run program(const test_scratch_dir& dir, const std::string& mode, const script_t& s, int frames,
                 const std::string& captures = "")
{
    game_run run;
    run.config = dir.file("config.dat");
    run.script = s.text.str();
    run.frames = frames;
    run.captures = captures;
    run.args = {mode, "--data", dir.path.string()};
    return run;
}

// The bare names of the files of a folder of base/, sorted, as the editors list them.
std::vector<std::string> base_names(const char* folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(TAMBLE_SOURCE_DIR) + "/base/" + folder)) {
        std::string file = entry.path().filename().string();
        names.push_back(file.substr(0, file.find('.')));
    }
    std::sort(names.begin(), names.end());
    return names;
}

int row_of(const std::vector<std::string>& names, const std::string& name)
{
    return int(std::find(names.begin(), names.end(), name) - names.begin());
}

// Editor units to the window's units that the capture checks take (the game's view:
// 8 pixels a unit on the 640 x 512 window, x from -8), and interface units likewise.
struct region {
    float left, top, right, bottom;
};

region in_editor(float l, float t, float r, float b)
{
    auto x = [](float e) { return (e - (bedit::start_x - bedit::start_zoom * 1.25f)) * 1.6f - 8; };
    auto y = [](float e) { return (e - (bedit::start_y - bedit::start_zoom)) * 1.6f; };
    return {x(l), y(t), x(r), y(b)};
}

region in_interface(float l, float t, float r, float b)
{
    float scale = 512.0f / (2 * bedit::ui_half_height) / 8;
    auto x = [&](float i) { return (i - (bedit::ui_centre_x - bedit::ui_half_height * 1.25f)) * scale - 8; };
    return {x(l), t * scale, x(r), b * scale};
}

int changed(int a, int b, region r)
{
    return changed_pixels(run_capture(a), run_capture(b), r.left, r.top, r.right, r.bottom);
}

// The position of body 0 in each "step N:" line of tamble-sim run --trace.
std::vector<vec2> body_track(const std::string& out)
{
    std::vector<vec2> track;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        size_t at = line.find(" b0 (");
        if (line.rfind("step ", 0) != 0 || at == std::string::npos)
            continue;
        float x = 0, y = 0;
        if (std::sscanf(line.c_str() + at + 5, "%f, %f", &x, &y) == 2)
            track.push_back({x, y});
    }
    return track;
}

TEST(body_editor_screens, a_body_built_from_nothing_is_tried_saved_and_played_in_a_level)
{
    TAMBLE_REQUIRE_DISPLAY();
    test_scratch_dir dir;
    script_t s;
    // A 4 x 4 box around the origin: nodes, then its four edges, all collidable, the
    // bottom one a red pot edge.
    const float corners[4][2] = {{30, 30}, {34, 30}, {34, 34}, {30, 34}};
    for (const auto& c : corners)
        s.move(c[0], c[1]).key("n").click(c[0], c[1]);
    for (int i = 0; i < 4; ++i)
        s.key("c").click(corners[i][0], corners[i][1]).click(corners[(i + 1) % 4][0], corners[(i + 1) % 4][1]);
    s.move(32, 30).key("b").move(34, 32).key("b").move(32, 34).key("b").move(30, 32).key("b");
    s.move(32, 34).key("w").key("f").key("f").key("f6");
    // No bounce: elasticity down to 0 on the bottom edge (Shift+E), copied to the others
    // with its collidable flag and friction (Ctrl+X, then X).
    for (int i = 0; i < 5; ++i)
        s.with("shift", "e");
    s.with("ctrl", "x").move(32, 30).key("x").move(34, 32).key("x").move(30, 32).key("x");
    int joined = s.shown();
    // A crate texture over it, its corners tied to the nodes.
    s.key("p");
    texture_row(s, crate_row, false);
    int list = s.shown();
    texture_row(s, crate_row);
    for (const auto& c : corners)
        s.click(c[0], c[1]);
    s.move(36, 36);
    int inserting = s.shown();
    s.click(36, 36, "right").move(32.5f, 32.5f);
    int built = s.shown();
    s.key("]").key("]").key("t").key("h").move(32.5f, 31.5f);
    int texture = s.shown();
    s.with("shift", "h").key("t").key("[").key("[");
    s.key("f1");
    int mirrored = s.shown();
    s.key("f1").at("key space", 120);  // mirrored back, then tried
    int trial = s.shown();
    s.key("space").key("f2");
    int help = s.shown();
    s.key("escape").key("s").type("aaa_crate");
    int picker = s.shown();
    s.key("enter");
    // F4 asks; No keeps the body (Ctrl+S saves it unchanged), Yes clears it.
    s.key("f4");
    int asked = s.shown();
    s.key("n").with("ctrl", "s");
    int kept = s.shown();
    s.key("f4").key("y");
    int cleared = s.shown() + 2;
    std::string captures;
    for (int f : {joined, list, inserting, built, texture, mirrored, trial, help, picker, asked, kept, cleared})
        captures += (captures.empty() ? "" : ",") + std::to_string(f);
    // The body editor ends with status 1; the cleared body is unsaved work, kept in the
    // autosave when the frame limit ends the run.
    ASSERT_EQ(run_game(program(dir, "body_editor", s, cleared + 3, captures)), 1) << read_text(run_prefix() + "out");

    // The file: the script text writer's form, which the game's type loader takes.
    std::string text = test_read_text(dir.file("bodies/aaa_crate.BTYP.txt"));
    ASSERT_FALSE(text.empty()) << read_text(run_prefix() + "out");
    EXPECT_NE(text.find("POLYS"), std::string::npos);
    EXPECT_NE(text.find("TEX\t\"tex\\bodies\\crate\""), std::string::npos) << text;
    script_symbol_table symbols;
    script_handle root = script_handle::fresh(&symbols);
    ASSERT_TRUE(script_parser(root).parse(text.c_str()));
    ref_ptr<v_body_type> type = new v_body_type(nullptr, root);
    ASSERT_TRUE(type->loaded);
    EXPECT_EQ(type->pot_color, 1);
    ASSERT_EQ(type->prototype->nodes.size(), 4u);
    // Mirrored twice: every node where it was put, every edge as it was made.
    v_body& proto = *type->prototype;
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(proto.nodes[i].position, (vec2{corners[i][0] - 32, corners[i][1] - 32})) << i;
        EXPECT_EQ(proto.constraints[i].n1, &proto.nodes[i]) << i;
        EXPECT_EQ(proto.constraints[i].n2, &proto.nodes[(i + 1) % 4]) << i;
    }
    ASSERT_EQ(type->prototype->collidable.size(), 4u);
    for (const v_constraint& edge : proto.constraints) {
        EXPECT_EQ(edge.pot, &edge == &proto.constraints[2]);
        EXPECT_FLOAT_EQ(edge.fric, 0.7f);
        EXPECT_EQ(edge.elast, 0.0f);
    }
    ASSERT_EQ(type->polys.polygons.size(), 1u);
    EXPECT_EQ(type->polys.vertices[1].node, 1);
    EXPECT_EQ(type->polys.vertices[1].tx, 1.0f);  // H, then Shift+H: as it was
    // F4 answered Yes: the body is empty, unsaved, in the autosave; the file is whole.
    std::string autosave = test_read_text(dir.file("body_editor.autosave"));
    EXPECT_EQ(autosave.find("tamble body editor autosave\n\n"), 0u) << autosave;
    EXPECT_EQ(autosave.find("X\t"), std::string::npos) << autosave;

    // Captures: each mode shows something of its own; mirrored twice, the body looks as
    // it did; after F4's No it is still there, after Yes it is gone.
    const region box = in_editor(29, 29, 35, 35), middle = in_interface(12, 22, 52, 42);
    region lit = in_editor(30, 30, 34, 34);
    EXPECT_GT(brightness(run_capture(joined), lit.left, lit.top, lit.right, lit.bottom), 10);
    EXPECT_GT(changed(joined, list, in_interface(2, 2, 30, 52)), 5000);
    EXPECT_GT(changed(inserting, built, box), 2000);
    EXPECT_GT(changed(built, texture, in_editor(24, 24, 40, 40)), 5000);
    EXPECT_GT(changed(built, mirrored, box), 300);
    EXPECT_GT(changed(built, trial, in_editor(10, 40, 54, 42)), 5000);
    EXPECT_GT(changed(built, help, middle), 5000);
    EXPECT_GT(changed(built, picker, middle), 5000);
    EXPECT_GT(changed(built, asked, in_interface(12, 24, 52, 38)), 3000);
    EXPECT_LT(changed(built, kept, box), 50);
    EXPECT_GT(changed(kept, cleared, box), 2000);

    // The level editor on the same tree lists the body first (by name), beside the types
    // of the archive; a level with it above a fixed floor is saved.
    std::vector<std::string> bodies = base_names("bodies");
    bodies.push_back("aaa_crate");
    std::sort(bodies.begin(), bodies.end());
    ASSERT_EQ(bodies.front(), "aaa_crate");
    script_t level;
    level.key("b");
    level_list_row(level, 0);
    level.move(32, 30).click(32, 30);
    level.key("b");
    level_list_row(level, row_of(bodies, "floor"));
    level.move(32, 50).click(32, 50).move(32, 50.5f).with("shift", "f");
    // A red ball fixed out of the way keeps the level undecided while it runs.
    level.key("n");
    level_list_row(level, row_of(base_names("nodes"), "ball_red"));
    level.move(6, 6).click(6, 6).key("f");
    level.key("s").type("Crate").key("enter");
    ASSERT_EQ(run_game(program(dir, "editor", level, level.frame + 5)), 0) << read_text(run_prefix() + "out");
    std::string level_text = test_read_text(dir.file("levels/Crate.LEVL.txt"));
    ASSERT_NE(level_text.find("bodies\\aaa_crate"), std::string::npos) << level_text;

    // Played by tamble-sim on the tree: the crate falls 15 units, rocks on its bottom
    // corners without bouncing away (elasticity 0) and comes to rest on the floor's top
    // (49), its bottom edge 2 below its centre.
    test_tool_run r = test_run_tool(TAMBLE_SIM, "run " + test_quote(dir.file("levels/Crate.LEVL.txt")) + " --data " +
                                                    test_quote(dir.path.string()) + " --archive " + TAMBLE_ARCHIVE +
                                                    " --seconds 4 --trace 60");
    std::vector<vec2> track = body_track(r.out);
    ASSERT_EQ(track.size(), 12u) << r.out << r.err;
    EXPECT_GT(track[2].y, 38.0f);
    for (vec2 p : track)
        EXPECT_LT(p.y, 47.01f) << r.out;
    EXPECT_NEAR(track.back().y, 47.0f, 0.01f) << r.out;
    EXPECT_NEAR(track.back().x, 32.0f, 0.01f) << r.out;
}

}  // namespace
