// Collision: node against node (bumpers included), body against node with pot verdicts,
// and persistent body contacts; with the sound calls each raises.
#include "physics/collision.h"
#include "physics/scenes/scenes.h"
#include "sound_recorder.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(physics_collision, equal_nodes_meeting_head_on_exchange_their_velocities)
{
    sound_recorder sounds;
    auto ball = scene_ball_type(1, 1.0f, 1.0f);
    v_node a(ball, {10.0f, 10.0f}), b(ball, {11.5f, 10.0f});
    a.velocity = {4.0f, 1.0f};
    b.velocity = {-2.0f, 0.0f};
    v_node_node(a, b);
    EXPECT_FLOAT_EQ(a.velocity.x, -2.0f);
    EXPECT_FLOAT_EQ(b.velocity.x, 4.0f);
    EXPECT_FLOAT_EQ(a.velocity.y, 1.0f);  // the tangential part is kept
    // The overlap of 0.5 is removed at once, half on each side.
    EXPECT_FLOAT_EQ(b.position.x - a.position.x, 2.0f);
    ASSERT_EQ(sounds.calls.size(), 1u);
    EXPECT_FLOAT_EQ(sounds.calls[0].volume, 6.0f * 1.5f / 50.0f);
    EXPECT_EQ(sounds.calls[0].a, 1);
}

TEST(physics_collision, a_node_bounces_off_a_fixed_node_with_its_speed_reversed)
{
    auto ball = scene_ball_type(1);
    v_node wall(scene_anchor_type(), {10.0f, 10.0f}, true);
    v_node b(ball, {11.2f, 10.0f});
    b.velocity = {-3.0f, 0.0f};
    v_node_node(b, wall);
    EXPECT_FLOAT_EQ(b.velocity.x, 3.0f);
    EXPECT_EQ(wall.position, vec2(10.0f, 10.0f));
    EXPECT_FLOAT_EQ(b.position.x, 11.3f);
    // Separating nodes only lose the overlap.
    b.position = {11.2f, 10.0f};
    b.velocity = {1.0f, 0.0f};
    v_node_node(b, wall);
    EXPECT_FLOAT_EQ(b.velocity.x, 1.0f);
}

TEST(physics_collision, a_bumper_sends_nodes_away_at_its_speed)
{
    sound_recorder sounds;
    v_node bumper(scene_bumper_type(12.0f), {20.0f, 20.0f}, true);
    v_node ball(scene_ball_type(2), {20.0f, 17.6f});
    ball.velocity = {0.5f, 0.1f};  // barely approaching
    v_node_node(ball, bumper);
    EXPECT_FLOAT_EQ(ball.velocity.length(), 12.0f);
    EXPECT_LT(ball.velocity.y, 0.0f);  // away from the bumper
    EXPECT_EQ(bumper.velocity, vec2());
    ASSERT_EQ(sounds.calls.size(), 1u);
    EXPECT_FLOAT_EQ(sounds.calls[0].volume, 1.0f);
    EXPECT_EQ(sounds.calls[0].a, 1);  // the ball's material, then the bumper's
    EXPECT_EQ(sounds.calls[0].b, 2);
}

TEST(physics_collision, weak_impacts_raise_no_sound)
{
    sound_recorder sounds;
    auto ball = scene_ball_type(1, 0.6f);
    for (float speed : {2.5f, 3.0f}) {
        v_node a(ball, {0.0f, 0.0f}), b(ball, {1.0f, 0.0f});
        a.velocity = {speed, 0.0f};
        v_node_node(a, b);
    }
    ASSERT_EQ(sounds.calls.size(), 1u);  // 2.5 / 50 = 0.05 is not above the threshold
    EXPECT_FLOAT_EQ(sounds.calls[0].volume, 0.06f);
}

TEST(physics_collision, coincident_nodes_part_without_nan)
{
    auto ball = scene_ball_type(1);
    v_node a(ball, {5.0f, 5.0f}), b(ball, {5.0f, 5.0f});
    v_node_node(a, b);
    EXPECT_TRUE(is_finite(a.position) && is_finite(b.position));
    EXPECT_TRUE(is_finite(a.velocity) && is_finite(b.velocity));
    EXPECT_FLOAT_EQ((b.position - a.position).length(), 2.0f);
}

struct pot_fixture : ::testing::Test {
    v_world w;
    v_body* pot = nullptr;
    void SetUp() override
    {
        pot = w.add_body(v_make_body(scene_pot_type(2), {32.0f, 52.0f}, 0.0f));
        for (v_node& n : pot->nodes)
            n.fixed = true;
        pot->finalise();
    }
};

TEST_F(pot_fixture, a_ball_resting_on_its_own_pot_floor_is_caught)
{
    v_node ball(scene_ball_type(2), {32.0f, 53.5f});  // floor at 54.4, radius 1
    EXPECT_EQ(v_body_node(*pot, ball), v_catch_own_pot);
    EXPECT_FLOAT_EQ(ball.position.y, 53.4f);  // pushed out of the floor
    v_node other(scene_ball_type(3), {32.0f, 53.5f});
    EXPECT_EQ(v_body_node(*pot, other), v_catch_wrong_pot);
    // Anything that touches the catching edge is judged: a plain weight has colour 0,
    // which is not the pot's, so it fails the level like a ball of another colour.
    v_node weight(scene_anchor_type(), {32.0f, 54.2f});
    EXPECT_EQ(v_body_node(*pot, weight), v_catch_wrong_pot);
    // An uncoloured node resting on an uncoloured pot's edge counts as caught.
    std::unique_ptr<v_body> plain = v_make_body(scene_pot_type(0), {32.0f, 52.0f}, 0.0f);
    v_node knot(scene_anchor_type(), {32.0f, 54.2f});
    EXPECT_EQ(v_body_node(*plain, knot), v_catch_own_pot);
    // Touching an ordinary wall of the pot decides nothing.
    v_node outside(scene_anchor_type(), {27.8f, 52.0f});
    EXPECT_EQ(v_body_node(*pot, outside), v_catch_none);
}

TEST(physics_collision, a_weight_dropped_into_a_pot_fails_the_level)
{
    sound_recorder sounds;
    v_world w;
    v_body* pot = w.add_body(v_make_body(scene_pot_type(2), {32.0f, 52.0f}, 0.0f));
    for (v_node& n : pot->nodes)
        n.fixed = true;
    pot->finalise();
    w.add_node(scene_ball_type(2), {10.0f, 10.0f}, true);  // a ball kept pinned elsewhere
    w.add_node(scene_anchor_type(), {32.0f, 50.0f});       // falls onto the pot's floor
    for (int i = 0; i < 180 && w.verdict == v_verdict_undecided; ++i)
        w.step();
    EXPECT_EQ(w.verdict, v_verdict_failed);
    EXPECT_EQ(w.nodes.size(), 2u);  // nothing was caught
    for (const auto& c : sounds.calls)
        EXPECT_TRUE(c.name.empty()) << c.name;
}

TEST_F(pot_fixture, a_ball_behind_an_edge_line_is_not_pushed_back)
{
    // Below the pot's floor line: inside the wall, on the far side of the floor edge.
    v_node ball(scene_ball_type(2), {32.0f, 54.6f});
    vec2 before = ball.position;
    EXPECT_EQ(v_body_node(*pot, ball), v_catch_none);
    EXPECT_EQ(ball.position, before);
}

TEST_F(pot_fixture, a_ball_hitting_a_wall_bounces_by_the_edge_elasticity)
{
    sound_recorder sounds;
    // Against the outer face of the left wall (x = 28), moving right.
    v_node ball(scene_ball_type(1), {27.2f, 52.0f});
    ball.velocity = {10.0f, 0.0f};
    EXPECT_EQ(v_body_node(*pot, ball), v_catch_none);
    EXPECT_FLOAT_EQ(ball.velocity.x, -10.0f * pot->collidable[7]->elast);
    EXPECT_FLOAT_EQ(ball.position.x, 27.0f);
    ASSERT_EQ(sounds.calls.size(), 1u);
    EXPECT_FLOAT_EQ(sounds.calls[0].volume, 10.0f * (1.0f + pot->collidable[7]->elast) / 50.0f);
}

TEST(physics_collision, a_body_landing_on_a_pinned_node_leaves_the_node_in_place)
{
    sound_recorder sounds;
    std::unique_ptr<v_body> box = v_make_body(scene_box_type(4.0f, 4.0f, 2.0f), {20.0f, 20.0f}, 0.0f);
    box->velocity = {0.0f, 5.0f};
    v_node pin(scene_anchor_type(), {20.5f, 22.2f}, true);  // just below the bottom edge
    EXPECT_EQ(v_body_node(*box, pin), v_catch_none);
    EXPECT_EQ(pin.position, vec2(20.5f, 22.2f));
    EXPECT_EQ(pin.velocity, vec2());
    // The body takes the whole impulse: its edge stops at the pin (edges of elasticity 0).
    EXPECT_LT(box->velocity.y, 1.0f);
    EXPECT_NEAR(box->velocity_at(pin.position).y, 0.0f, 1e-4f);
}

TEST(physics_collision, nodes_without_a_type_take_no_part)
{
    v_world w;
    w.add_node(nullptr, {10.0f, 10.0f});
    w.add_node(scene_ball_type(1), {10.0f, 10.5f});
    w.add_body(v_make_body(scene_box_type(4.0f, 4.0f, 2.0f), {10.0f, 12.0f}, 0.0f));
    for (int i = 0; i < 20; ++i)
        w.step();
    for (const auto& n : w.loaded_nodes)
        EXPECT_TRUE(is_finite(n->position));
}

TEST(physics_collision, contact_rel_drops_the_terms_of_the_body_treated_as_immovable)
{
    auto box = scene_box_type(2.0f, 2.0f, 2.0f);
    std::unique_ptr<v_body> a = v_make_body(box, {0.0f, 0.0f}, 0.0f);
    std::unique_ptr<v_body> b = v_make_body(box, {0.0f, 2.0f}, 0.0f);
    b->velocity = {0.0f, -3.0f};
    vec2 p{0.0f, 1.0f}, n{0.0f, -1.0f};
    float both = v_contact_rel(*a, *b, p, n, v_contact_both);
    EXPECT_FLOAT_EQ(both, 3.0f / (0.5f + 0.5f));
    EXPECT_FLOAT_EQ(v_contact_rel(*a, *b, p, n, v_contact_edge_immovable), 3.0f / 0.5f);
    EXPECT_FLOAT_EQ(v_contact_rel(*a, *b, p, n, v_contact_point_immovable), 3.0f / 0.5f);
}

TEST(physics_collision, a_box_falling_on_a_floor_stops_with_a_sound)
{
    sound_recorder sounds;
    v_world w;
    // Each edge holds one contact: the floor's top is split so that the box's two
    // corners land on two different edges.
    v_body* floor = w.add_body(v_make_body(scene_box_type(40.0f, 2.0f, 10.0f, 2.0f), {32.0f, 60.0f}, 0.0f));
    for (v_node& n : floor->nodes)
        n.fixed = true;
    floor->finalise();
    v_body* box = w.add_body(v_make_body(scene_box_type(4.0f, 4.0f, 2.0f), {33.0f, 50.0f}, 0.0f));
    for (int i = 0; i < 2 * 180; ++i)
        w.step();
    EXPECT_NEAR(box->position.y, 57.0f, 0.1f);
    EXPECT_LT(box->velocity.length(), 0.5f);
    bool thud = false;
    for (const auto& c : sounds.calls)
        thud = thud || (c.name.empty() && c.volume > 0.05f);
    EXPECT_TRUE(thud);
}

TEST(physics_collision, two_boxes_rest_side_by_side_on_one_floor)
{
    // Once the first box holds a contact on the floor, the second box's corners must
    // still find their own edges (the nearest edge each lies over) and not fall through.
    v_world w;
    v_body* floor = w.add_body(v_make_body(scene_box_type(40.0f, 2.0f, 10.0f, 2.0f), {32.0f, 60.0f}, 0.0f));
    for (v_node& n : floor->nodes)
        n.fixed = true;
    floor->finalise();
    auto box = scene_box_type(4.0f, 4.0f, 2.0f);
    v_body* left = w.add_body(v_make_body(box, {26.0f, 57.0f}, 0.0f));
    v_body* right = w.add_body(v_make_body(box, {38.0f, 57.0f}, 0.0f));
    for (int i = 0; i < 5 * 180; ++i)
        w.step();
    for (const v_body* b : {left, right}) {
        EXPECT_NEAR(b->position.y, 57.0f, 0.05f);
        EXPECT_NEAR(b->angle, 0.0f, 0.01f);
    }
    int on_floor = 0;
    for (const v_body_contact& c : w.contacts.items)
        on_floor += c.edge_body == floor;
    EXPECT_GE(on_floor, 4);  // two corners of each box, each on its own edge
}

TEST(physics_collision, a_point_sliding_off_its_edge_ends_the_contact)
{
    // A pinned two-step floor; a small box slides fast along it to the right.
    v_world w;
    auto floor_type = scene_box_type(40.0f, 2.0f, 10.0f, 4.0f);
    v_body* floor = w.add_body(v_make_body(floor_type, {32.0f, 60.0f}, 0.0f));
    for (v_node& n : floor->nodes)
        n.fixed = true;
    floor->finalise();
    v_body* box = w.add_body(v_make_body(scene_box_type(1.0f, 1.0f, 1.0f), {15.0f, 58.5f}, 0.0f));
    box->velocity = {30.0f, 0.0f};
    std::vector<const v_constraint*> edges_seen;
    for (int i = 0; i < 60; ++i) {
        w.step();
        for (const v_body_contact& c : w.contacts.items) {
            if (c.edge_body != floor)
                continue;
            if (edges_seen.empty() || edges_seen.back() != c.edge)
                edges_seen.push_back(c.edge);
            // A sliding contact never lies beyond its own edge.
            if (!c.sticking) {
                float len = (c.edge->n2->position - c.edge->n1->position).length();
                EXPECT_GE(c.along, 0.0f);
                EXPECT_LE(c.along, len);
            }
        }
    }
    // The contacts moved on from edge to edge as the box slid.
    EXPECT_GE(edges_seen.size(), 2u);
}

}  // namespace
