// World drawing on Mesa: the keys of body and node polygons, which constraints draw, the
// rope band and the link's stretched texture, highlights, markers, pens, and the plain
// look of what has no texture. Scenes are built in code with types that name textures of
// one colour each.
#include "physics/scenes/scene_types.h"
#include "render/triangle_batch.h"
#include "render/world_draw_internal.h"
#include "tests/render/render_test_util.h"

#include <cmath>

namespace {

// A square polygon of `half` half-size around the origin, texture coordinates 0..1.
void add_square(v_poly_list& polys, const char* texture, float z, float half)
{
    polys.vertices.push_back({-half, -half, 0, 0});
    polys.vertices.push_back({half, -half, 1, 0});
    polys.vertices.push_back({half, half, 1, 1});
    polys.vertices.push_back({-half, half, 0, 1});
    polys.polygons.push_back({texture, z, 4});
}

// The look of one rope segment: the rope texture at z, half width w, v from 0 to 1.
void add_rope_look(v_poly_list& polys, const char* texture, float z, float w)
{
    polys.vertices.push_back({0, -w, 0, 0});
    polys.vertices.push_back({1, -w, 0, 0});
    polys.vertices.push_back({1, w, 1, 0});
    polys.vertices.push_back({0, w, 1, 0});
    polys.polygons.push_back({texture, z, 4});
}

struct world_draw_test : render_fixture {
    test_store store;
    v_world world;

    void SetUp() override
    {
        render_fixture::SetUp();
        if (HasFatalFailure() || IsSkipped())
            return;
        store.add_texture("tex\\red", 4, 4, 0xFF0000FF);
        store.add_texture("tex\\green", 4, 4, 0x00FF00FF);
        store.add_texture("tex\\glass", 4, 4, 0x0000FF80);
        store.add_texture("tex\\ui\\constraint_mouseover", 4, 4, 0xFFFF00FF);
        store.add_texture("tex\\ui\\constraint_selected", 4, 4, 0xFF00FFFF);
    }

    // Keys of the batch's triangles drawn with a texture, in submission order.
    std::vector<int32_t> keys_of(const char* texture)
    {
        std::vector<int32_t> keys;
        uint32_t name = store.texture(texture)->name;
        for (const batch_triangle& t : triangle_batch_global().triangles)
            if (t.texture == name)
                keys.push_back(t.key);
        return keys;
    }
    // Whether the last flush drew a texture's triangles in the blended pass.
    bool blended_pass(const char* texture)
    {
        const triangle_batch& b = triangle_batch_global();
        uint32_t name = store.texture(texture)->name;
        for (size_t i = b.opaque_runs; i < b.runs.size(); ++i)
            if (b.runs[i].texture == name)
                return true;
        return false;
    }
};

TEST_F(world_draw_test, polygon_depths_give_the_designed_keys_and_passes)
{
    ref_ptr<v_body_type> box = scene_box_type(4, 4, 1);
    add_square(box->polys, "tex\\red", 2.0f, 2.0f);
    world.add_body(v_make_body(box, vec2{20, 20}, 0.0f, -1.0f));
    ref_ptr<v_node_type> glass = scene_ball_type(1);
    add_square(glass->polys, "tex\\glass", 0.0f, 1.0f);
    world.add_node(glass, vec2{40, 20});
    ref_ptr<v_node_type> deep = scene_ball_type(2);
    add_square(deep->polys, "tex\\green", -50.0f, 1.0f);
    world.add_node(deep, vec2{50, 20});

    draw_world(world, false);
    // Depth 2 - 1 = 1, opaque: -819 (its low bits sort it among the blended ones).
    EXPECT_EQ(keys_of("tex\\red"), (std::vector<int32_t>{-819, -819}));
    EXPECT_EQ(keys_of("tex\\glass"), (std::vector<int32_t>{65535, 65535}));
    EXPECT_EQ(keys_of("tex\\green"), (std::vector<int32_t>{40960, 40960}));
    EXPECT_TRUE(blended_pass("tex\\glass"));
    EXPECT_TRUE(blended_pass("tex\\green"));
    EXPECT_TRUE(blended_pass("tex\\red"));

    // Within the view's depths, opaque polygons stay in the first pass.
    box->polys.polygons[0].z = -2.0f;
    draw_world(world, false);
    EXPECT_EQ(keys_of("tex\\red"), (std::vector<int32_t>{2457, 2457}));
    EXPECT_FALSE(blended_pass("tex\\red"));
}

TEST_F(world_draw_test, a_textured_body_lands_where_its_transform_and_its_nodes_put_it)
{
    // Top half red, bottom half green, on an 8 x 4 box turned a quarter clockwise at
    // (20, 30): the red half ends on the right (x > 20), the green one on the left.
    std::vector<uint8_t> halves(4 * 4 * 4, 0);
    for (int i = 0; i < 16; ++i) {
        halves[size_t(i) * 4 + (i < 8 ? 0 : 1)] = 255;
        halves[size_t(i) * 4 + 3] = 255;
    }
    store.add_image("tex\\halves", 4, 4, halves);
    ref_ptr<v_body_type> box = scene_box_type(8, 4, 1);
    box->polys.vertices = {{-4, -2, 0, 0}, {4, -2, 1, 0}, {4, 2, 1, 1}, {-4, 2, 0, 1}};
    box->polys.polygons = {{"tex\\halves", -2.0f, 4}};
    world.add_body(v_make_body(box, vec2{20, 30}, 1.5707964f));

    draw_world(world, false);
    EXPECT_TRUE(near_colour(at(21.5f, 30), 255, 0, 0)) << at(21.5f, 30);
    EXPECT_TRUE(near_colour(at(18.5f, 30), 0, 255, 0)) << at(18.5f, 30);
    EXPECT_TRUE(near_colour(at(20, 26.5f), 255, 0, 0, 140)) << at(20, 26.5f);  // inside the long side
    EXPECT_TRUE(near_colour(at(20, 35), 0, 0, 0)) << at(20, 35);               // beyond it
    EXPECT_TRUE(near_colour(at(23, 30), 0, 0, 0)) << at(23, 30);

    // A corner tied to a node follows the node (a fixed node keeps its anchor while the
    // body moves): move node 2 and the polygon's third corner goes with it.
    box->polys.vertices[2].node = 2;
    world.bodies[0]->nodes[2].position = vec2{30, 40};
    draw_world(world, false);
    const triangle_batch& b = triangle_batch_global();
    ASSERT_EQ(b.triangles.size(), 2u);
    const batch_vertex& corner = b.vertices[b.triangles[0].first_vertex + 2];
    EXPECT_FLOAT_EQ(corner.x, 30.0f);
    EXPECT_FLOAT_EQ(corner.y, 40.0f);
}

TEST_F(world_draw_test, a_rope_is_a_band_of_its_texture_along_its_length_with_a_wider_highlight)
{
    test_define("tex\\green { repeat 1 }");
    ref_ptr<v_constraint_type> rope = scene_rope_type(2.0f);
    add_rope_look(rope->rope_polys, "tex\\green", -2.0f, 0.5f);
    v_node* a = world.add_node(scene_anchor_type(), vec2{10, 20}, true);
    v_node* b = world.add_node(scene_anchor_type(), vec2{54, 20}, true);
    v_constraint* c = world.add_constraint(rope, a, b);
    ASSERT_TRUE(c->is_rope());

    draw_world(world, false);
    for (float x = 11; x < 54; x += 2.5f)
        EXPECT_TRUE(near_colour(at(x, 20), 0, 255, 0)) << x << " " << at(x, 20);
    EXPECT_TRUE(near_colour(at(30, 21), 0, 0, 0)) << at(30, 21);
    EXPECT_TRUE(near_colour(at(30, 19), 0, 0, 0)) << at(30, 19);
    // 4 quads of 2 triangles per segment; u runs in world units from one rest length.
    const triangle_batch& batch = triangle_batch_global();
    size_t segments = c->inodes.size() + 1;
    EXPECT_EQ(batch.triangles.size(), segments * 8);
    EXPECT_NEAR(batch.vertices[0].u, c->rest_length, 1e-4);
    EXPECT_NEAR(batch.vertices[batch.vertices.size() - 2].u, c->rest_length + 44.0f, 1e-3);

    // Hovered: a band of unit half width in the hover texture, in front of the rope.
    world.set_hovered(c);
    clear();
    draw_world(world, false);
    EXPECT_TRUE(near_colour(at(30, 20.75f), 255, 255, 0)) << at(30, 20.75f);
    EXPECT_TRUE(near_colour(at(30, 21.5f), 0, 0, 0)) << at(30, 21.5f);
    world.set_selected(c);
    clear();
    draw_world(world, false);
    EXPECT_TRUE(near_colour(at(30, 20.75f), 255, 0, 255)) << at(30, 20.75f);
}

TEST_F(world_draw_test, a_link_stretches_its_texture_along_its_length)
{
    ref_ptr<v_constraint_type> rod = scene_rod_type();
    rod->rope_polys.vertices = {{0, -1, 0, 0}, {1, -1, 1, 0}, {1, 1, 1, 1}, {0, 1, 0, 1}};
    rod->rope_polys.polygons = {{"tex\\red", -3.0f, 4}};
    v_node* a = world.add_node(scene_anchor_type(), vec2{10, 40}, true);
    v_node* b = world.add_node(scene_anchor_type(), vec2{10, 50}, true);
    world.add_constraint(rod, a, b);

    // Uncuttable: only the editors see it.
    draw_world(world, false);
    EXPECT_TRUE(triangle_batch_global().triangles.empty());
    draw_world(world, true);
    const triangle_batch& batch = triangle_batch_global();
    ASSERT_EQ(batch.triangles.size(), 2u);
    // x runs from n1 to n2, y sideways ((d.y, -d.x) / L: towards +x for a link pointing
    // down), ty times the length 10.
    EXPECT_FLOAT_EQ(batch.vertices[2].x, 11.0f);
    EXPECT_FLOAT_EQ(batch.vertices[2].y, 50.0f);
    EXPECT_FLOAT_EQ(batch.vertices[2].v, 10.0f);
    EXPECT_TRUE(near_colour(at(10, 45), 255, 0, 0)) << at(10, 45);
}

TEST_F(world_draw_test, cut_constraints_are_never_drawn_and_uncuttable_ropes_only_in_debug)
{
    ref_ptr<v_constraint_type> rope = scene_rope_type(2.0f);
    add_rope_look(rope->rope_polys, "tex\\green", -2.0f, 0.5f);
    ref_ptr<v_constraint_type> fixed_rope = scene_rope_type(2.0f);
    add_rope_look(fixed_rope->rope_polys, "tex\\red", -2.0f, 0.5f);
    fixed_rope->cuttable = false;
    v_node* a = world.add_node(scene_anchor_type(), vec2{10, 20}, true);
    v_node* b = world.add_node(scene_anchor_type(), vec2{54, 20}, true);
    v_constraint* cut = world.add_constraint(rope, a, b);
    cut->cut = true;
    world.add_constraint(fixed_rope, a, b);

    world_draw_style style;
    style.fallback = true;  // a cut constraint has no plain look either
    draw_world(world, style);
    EXPECT_TRUE(keys_of("tex\\green").empty());
    EXPECT_TRUE(keys_of("tex\\red").empty());
    EXPECT_TRUE(near_colour(at(30, 20), 0, 0, 0)) << at(30, 20);
    draw_world(world, true);
    EXPECT_TRUE(keys_of("tex\\green").empty());
    EXPECT_FALSE(keys_of("tex\\red").empty());
}

TEST_F(world_draw_test, pending_cuts_show_the_pen_running_through_its_frames)
{
    test_define("tex\\ui\\Pen_ { anim_speed 0 }");
    store.add_texture("tex\\ui\\Pen_", 4, 4, 0xFF0000FF);
    for (int i = 2; i <= 5; ++i)
        store.add_texture(("tex\\ui\\Pen_" + std::to_string(i)).c_str(), 4, 4, 0x0000FFFF);
    store.add_texture("tex\\ui\\Pen_6", 4, 4, 0x00FF00FF);
    v_node* a = world.add_node(scene_anchor_type(), vec2{10, 60}, true);
    v_node* b = world.add_node(scene_anchor_type(), vec2{54, 60}, true);
    v_constraint* c = world.add_constraint(scene_rod_type(), a, b);
    world.cut_events.push_back({vec2{16, 30}, 100, c});
    world.cut_events.push_back({vec2{48, 30}, 50, c});
    world.cut_events.push_back({vec2{32, 10}, 3, c});

    EXPECT_EQ(pen_frame(100), 0);
    EXPECT_EQ(pen_frame(61), 4);
    EXPECT_EQ(pen_frame(50), 5);
    EXPECT_EQ(pen_frame(0), 5);
    draw_world(world, false);
    // An 8 x 8 square at each event: frame 0 is the pen's own image, frame 5 "Pen_6".
    EXPECT_TRUE(near_colour(at(16, 30), 255, 0, 0)) << at(16, 30);
    EXPECT_TRUE(near_colour(at(19.5f, 33.5f), 255, 0, 0)) << at(19.5f, 33.5f);
    EXPECT_TRUE(near_colour(at(20.5f, 30), 0, 0, 0)) << at(20.5f, 30);
    EXPECT_TRUE(near_colour(at(48, 30), 0, 255, 0)) << at(48, 30);
    EXPECT_TRUE(near_colour(at(32, 10), 0, 255, 0)) << at(32, 10);
}

// The play screen leaves out its playfield background where this says the world hides it,
// so the answer is checked against the pixels: on a red window, nothing red may be left.
TEST_F(world_draw_test, only_a_solid_polygon_over_the_whole_playfield_hides_it)
{
    store.add_texture("tex\\wall", 4, 4, 0x808080FF);
    std::vector<uint8_t> holed(4 * 4 * 4, 255);
    holed[3] = 0;  // one pixel cut out: opaque in the first pass, yet the red shows there
    store.add_image("tex\\holed", 4, 4, holed);
    test_define("tex\\flicker { anim_speed 8 }");
    store.add_texture("tex\\flicker", 4, 4, 0x808080FF);
    store.add_texture("tex\\flicker2", 4, 4, 0x80808080);

    ref_ptr<v_body_type> wall = scene_box_type(4, 4, 1);
    add_square(wall->polys, "tex\\wall", -9.0f, 32.0f);
    world.add_body(v_make_body(wall, vec2{32, 32}, 0.0f));
    ASSERT_TRUE(world_hides_playfield(world));
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw_world(world, false);
    for (float x : {0.0625f, 16.0f, 63.9375f})
        for (float y : {0.0625f, 40.0f, 63.9375f})
            EXPECT_TRUE(near_colour(at(x, y), 128, 128, 128, 2)) << x << ", " << y << ": " << at(x, y);

    struct variant {
        const char* what;
        const char* texture;
        float z, half, angle;
        vec2 centre;
        bool hides;
    };
    const variant variants[] = {
        {"a hole in the texture", "tex\\holed", -9.0f, 32.0f, 0.0f, {32, 32}, false},
        {"a translucent texture", "tex\\glass", -9.0f, 32.0f, 0.0f, {32, 32}, false},
        {"a translucent animation frame", "tex\\flicker", -9.0f, 32.0f, 0.0f, {32, 32}, false},
        {"a quarter unit short", "tex\\wall", -9.0f, 31.75f, 0.0f, {32, 32}, false},
        {"a quarter unit aside", "tex\\wall", -9.0f, 32.0f, 0.0f, {32.25f, 32}, false},
        {"on the far plane", "tex\\wall", -16.0f, 32.0f, 0.0f, {32, 32}, false},
        {"just before it", "tex\\wall", -15.9f, 32.0f, 0.0f, {32, 32}, true},
        {"larger", "tex\\wall", -9.0f, 40.0f, 0.0f, {32, 32}, true},
        // Turned an eighth, a square needs a half size of 32 x sqrt 2 = 45.25 to hold it.
        {"turned, too small", "tex\\wall", -9.0f, 45.0f, 0.7853982f, {32, 32}, false},
        {"turned, large enough", "tex\\wall", -9.0f, 45.5f, 0.7853982f, {32, 32}, true},
    };
    for (const variant& v : variants) {
        ref_ptr<v_body_type> type = scene_box_type(4, 4, 1);
        add_square(type->polys, v.texture, v.z, v.half);
        world = v_world();
        world.add_body(v_make_body(type, v.centre, v.angle));
        EXPECT_EQ(world_hides_playfield(world), v.hides) << v.what;
    }

    // A fan whose corners lie outside the playfield but that is notched in to its middle:
    // the right of the playfield stays uncovered.
    ref_ptr<v_body_type> notched = scene_box_type(4, 4, 1);
    notched->polys.vertices = {
        {-33, -33, 0, 0}, {33, -33, 1, 0}, {0, 0, 0.5f, 0.5f}, {33, 33, 1, 1}, {-33, 33, 0, 1}};
    notched->polys.polygons = {{"tex\\wall", -9.0f, 5}};
    world = v_world();
    world.add_body(v_make_body(notched, vec2{32, 32}, 0.0f));
    EXPECT_FALSE(world_hides_playfield(world));
}

TEST_F(world_draw_test, debug_adds_outlines_and_markers_and_fallback_draws_what_has_no_texture)
{
    ref_ptr<v_body_type> box = scene_box_type(8, 8, 1);  // no polygons
    // Edges on pixel centres: x 12.0625 is the middle of a pixel column.
    world.add_body(v_make_body(box, vec2{16.0625f, 16.0625f}, 0.0f));
    world.add_node(scene_ball_type(1), vec2{48, 16});
    world.add_marker(32, 50, 0.0f);

    draw_world(world, false);
    EXPECT_TRUE(near_colour(at(12, 16), 0, 0, 0)) << at(12, 16);  // left edge of the box
    EXPECT_TRUE(near_colour(at(48, 16), 0, 0, 0)) << at(48, 16);
    EXPECT_TRUE(near_colour(at(32, 50), 0, 0, 0)) << at(32, 50);

    clear();
    draw_world(world, true);
    // Collidable edges in white, the marker in half-transparent white.
    EXPECT_TRUE(near_colour(at(12.0625f, 16), 255, 255, 255)) << at(12.0625f, 16);
    EXPECT_TRUE(near_colour(at(32, 50), 128, 128, 128, 8)) << at(32, 50);
    EXPECT_TRUE(near_colour(at(32, 49.5f), 128, 128, 128, 8)) << at(32, 49.5f);  // it points up
    EXPECT_TRUE(near_colour(at(32, 50.5f), 0, 0, 0)) << at(32, 50.5f);
    EXPECT_TRUE(near_colour(at(48, 16), 0, 0, 0)) << at(48, 16);

    clear();
    world_draw_style plain;
    plain.fallback = true;
    draw_world(world, plain);
    EXPECT_FALSE(near_colour(at(12.0625f, 16), 0, 0, 0)) << at(12.0625f, 16);
    EXPECT_TRUE(near_colour(at(48, 16), 242, 38, 38)) << at(48, 16);  // a red ball
    EXPECT_TRUE(near_colour(at(32, 50), 0, 0, 0)) << at(32, 50);
    // The colour the caller set is kept.
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_FLOAT_EQ(colour[0], 1.0f);
    EXPECT_FLOAT_EQ(colour[3], 1.0f);
}

// The steel bar under a body on a rail: through each fixed node along the rail, turned with
// the body, cut off at the playfield's edges; nothing for bodies that are not on a rail.
TEST(world_draw_rails, rails_run_through_fixed_nodes_to_the_playfield_edges)
{
    auto rails_of = [](float rail_x, float rail_y, vec2 at, float angle, bool fix) {
        ref_ptr<v_body_type> type = scene_box_type(4, 2, 1);
        type->set_motion(0, 0, rail_x, rail_y, true);
        std::unique_ptr<v_body> body = v_make_body(type, at, angle);
        body->nodes[0].fixed = fix;
        return body_rails(*body);
    };
    auto near = [](vec2 p, float x, float y) {
        return std::fabs(p.x - x) < 1e-3f && std::fabs(p.y - y) < 1e-3f;
    };

    // A level rail through the box's top left corner (-2, -1 from its centre).
    std::vector<rail_segment> r = rails_of(1, 0, {20, 30}, 0.0f, true);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_TRUE((near(r[0].a, 0, 29) && near(r[0].b, 64, 29)) ||
                (near(r[0].a, 64, 29) && near(r[0].b, 0, 29)));
    // A slanting one leaves through the left edge and the floor.
    r = rails_of(1, 1, {12, 21}, 0.0f, true);
    ASSERT_EQ(r.size(), 1u);
    vec2 lo = r[0].a.y < r[0].b.y ? r[0].a : r[0].b, hi = r[0].a.y < r[0].b.y ? r[0].b : r[0].a;
    EXPECT_TRUE(near(lo, 0, 10)) << lo.x << " " << lo.y;
    EXPECT_TRUE(near(hi, 54, 64)) << hi.x << " " << hi.y;
    // Turned a quarter, the level rail stands upright.
    r = rails_of(1, 0, {20, 30}, 1.5707964f, true);
    ASSERT_EQ(r.size(), 1u);
    EXPECT_NEAR(r[0].a.x, r[0].b.x, 1e-3f);
    EXPECT_NEAR(std::fabs(r[0].a.y - r[0].b.y), 64.0f, 1e-3f);
    // No fixed node, no rail type, or a rail that misses the playfield: nothing.
    EXPECT_TRUE(rails_of(1, 0, {20, 30}, 0.0f, false).empty());
    EXPECT_TRUE(rails_of(0, 0, {20, 30}, 0.0f, true).empty());
    EXPECT_TRUE(rails_of(1, 0, {20, -10}, 0.0f, true).empty());
}

}  // namespace
