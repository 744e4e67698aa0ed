// The world step: verdicts, constraint solving orders, pins, rails and the motor, picking,
// editing operations, copies, playback cut events and recording through a replay.
#include "physics/replay.h"
#include "physics/scenes/scenes.h"
#include "physics/solver.h"
#include "physics/trig.h"
#include "physics/world_hash.h"
#include "sound_recorder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace {

bool same_bits(vec2 a, vec2 b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

v_body* add_pinned_pot(v_world& w, int32_t colour, vec2 at)
{
    v_body* pot = w.add_body(v_make_body(scene_pot_type(colour), at, 0.0f));
    for (v_node& n : pot->nodes)
        n.fixed = true;
    pot->finalise();
    return pot;
}

TEST(physics_world, own_sine_and_cosine_agree_with_the_library_to_a_rounding)
{
    for (int i = -20000; i <= 20000; ++i) {
        float a = float(i) * 0.00731f;
        float s, c;
        v_sincos(a, s, c);
        ASSERT_NEAR(s, std::sin(double(a)), 2e-7) << a;
        ASSERT_NEAR(c, std::cos(double(a)), 2e-7) << a;
    }
    float s, c;
    v_sincos(3.0e7f, s, c);  // far out: reduced exactly first
    EXPECT_NEAR(s, std::sin(double(3.0e7f)), 1e-6);
    v_sincos(NAN, s, c);  // no NaN from a NaN angle
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(c, 1.0f);
}

TEST(physics_world, a_ball_fails_only_strictly_below_the_playfield)
{
    v_world w;
    w.add_node(scene_ball_type(1), {32.0f, 64.0f}, true);
    w.step();
    EXPECT_EQ(w.verdict, v_verdict_undecided);

    v_world lower;
    lower.add_node(scene_ball_type(1), {32.0f, 64.01f}, true);
    lower.step();
    EXPECT_EQ(lower.verdict, v_verdict_failed);

    // A plain node may fall as far as it likes.
    v_world plain;
    plain.add_node(scene_anchor_type(), {32.0f, 70.0f});
    plain.add_node(scene_ball_type(1), {32.0f, 10.0f}, true);
    plain.step();
    EXPECT_EQ(plain.verdict, v_verdict_undecided);
}

TEST(physics_world, a_level_without_balls_is_solved_after_its_first_step)
{
    v_world w;
    w.add_node(scene_anchor_type(), {10.0f, 10.0f}, true);
    EXPECT_EQ(w.verdict, v_verdict_undecided);
    w.step();
    EXPECT_EQ(w.verdict, v_verdict_solved);
    EXPECT_EQ(w.step_count, 1);
}

TEST(physics_world, a_fall_in_the_same_step_as_a_catch_fails_for_good)
{
    sound_recorder sounds;
    v_world w;
    add_pinned_pot(w, 2, {32.0f, 52.0f});
    v_node* caught = w.add_node(scene_ball_type(2), {32.0f, 53.5f});  // on the pot's floor
    w.add_node(scene_ball_type(2), {10.0f, 64.5f}, true);             // already out
    w.step();
    EXPECT_EQ(w.verdict, v_verdict_failed);
    EXPECT_EQ(std::find(w.nodes.begin(), w.nodes.end(), caught), w.nodes.end());
    ASSERT_FALSE(sounds.calls.empty());
    EXPECT_EQ(sounds.calls.back().name, "music\\ditty_ball_in_pot");
    EXPECT_FLOAT_EQ(sounds.calls.back().volume, 1.0f);
    w.remove_node(w.nodes.back());  // even with no ball left, the verdict stays
    for (int i = 0; i < 10; ++i)
        w.step();
    EXPECT_EQ(w.verdict, v_verdict_failed);
}

TEST(physics_world, catching_consecutive_balls_in_one_step_removes_each_safely)
{
    v_world w;
    add_pinned_pot(w, 3, {32.0f, 52.0f});
    w.add_node(scene_ball_type(3), {30.0f, 53.5f});
    w.add_node(scene_ball_type(3), {33.0f, 53.5f});
    v_node* weight = w.add_node(scene_anchor_type(), {5.0f, 5.0f}, true);
    w.step();
    ASSERT_EQ(w.nodes.size(), 1u);
    EXPECT_EQ(w.nodes[0], weight);
    EXPECT_EQ(w.loaded_nodes.size(), 3u);
    EXPECT_EQ(w.verdict, v_verdict_solved);
}

// Two identical rope set-ups: one solved by the world's code, one by hand.
struct rope_pair {
    v_node a1, b1, a2, b2;
    std::unique_ptr<v_constraint> c1, c2;
    rope_pair(vec2 a, vec2 b)
        : a1(scene_anchor_type(), a, true), b1(scene_ball_type(1), b), a2(scene_anchor_type(), a, true),
          b2(scene_ball_type(1), b)
    {
        c1 = std::make_unique<v_constraint>(scene_elastic_rope_type(1.0f), &a1, &b1);
        c2 = std::make_unique<v_constraint>(scene_elastic_rope_type(1.0f), &a2, &b2);
        // Stretch the rope unevenly so that the order of the segments matters.
        for (size_t i = 0; i < c1->inodes.size(); ++i) {
            vec2 kick{0.0f, 0.3f * float(i % 3)};
            c1->inodes[i].position += kick;
            c2->inodes[i].position += kick;
        }
    }
    void expect_same() const
    {
        EXPECT_TRUE(same_bits(b1.position, b2.position));
        EXPECT_TRUE(same_bits(b1.velocity, b2.velocity));
        for (size_t i = 0; i < c1->inodes.size(); ++i)
            EXPECT_TRUE(same_bits(c1->inodes[i].velocity, c2->inodes[i].velocity)) << i;
    }
};

TEST(physics_world, rope_ends_at_the_same_height_are_solved_from_n2)
{
    rope_pair r({0.0f, 10.0f}, {5.0f, 10.0f});
    std::vector<v_node>& in = r.c2->inodes;
    ASSERT_EQ(in.size(), 5u);
    v_solve_constraint(*r.c1);
    v_solve_segment(*r.c2, r.b2, in[4], true);
    for (size_t k = 4; k > 0; --k)
        v_solve_segment(*r.c2, in[k], in[k - 1], true);
    v_solve_segment(*r.c2, in[0], r.a2, true);
    r.expect_same();
}

TEST(physics_world, rope_with_a_higher_n2_is_solved_from_the_inside_out)
{
    rope_pair r({0.0f, 10.0f}, {5.0f, 9.0f});
    std::vector<v_node>& in = r.c2->inodes;
    ASSERT_EQ(in.size(), 5u);
    v_solve_constraint(*r.c1);
    for (size_t k = 0; k + 1 < in.size(); ++k)
        v_solve_segment(*r.c2, in[k], in[k + 1], true);
    v_solve_segment(*r.c2, r.a2, in[0], true);
    v_solve_segment(*r.c2, in[4], r.b2, true);
    r.expect_same();
}

TEST(physics_world, rigid_link_moves_only_the_free_end_by_the_full_error)
{
    v_node fixed(scene_anchor_type(), {0.0f, 0.0f}, true);
    v_node free(scene_ball_type(1), {3.0f, 0.0f});
    v_constraint rod(scene_rod_type(), &fixed, &free, 2.0f);
    v_solve_constraint(rod);
    EXPECT_EQ(fixed.position, vec2(0.0f, 0.0f));
    EXPECT_FLOAT_EQ(free.position.x, 2.0f);
    EXPECT_FLOAT_EQ(free.velocity.x, -1.0f / v_dt);

    // Two pinned ends stay pinned, however wrong the length.
    v_node other(scene_anchor_type(), {5.0f, 0.0f}, true);
    v_constraint pinned(scene_rod_type(), &fixed, &other, 2.0f);
    v_solve_constraint(pinned);
    EXPECT_EQ(fixed.position, vec2(0.0f, 0.0f));
    EXPECT_EQ(other.position, vec2(5.0f, 0.0f));
}

// A body of mass 2 with nodes at (-1, 0) and (1, 0): moment 2 * (1 + 1) / 2 = 2.
ref_ptr<v_body_type> two_node_bar()
{
    auto* t = new v_body_type();
    t->name = "bodies\\bar";
    t->mass = 2.0f;
    t->build({{{-1.0f, 0.0f}, 1.0f}, {{1.0f, 0.0f}, 1.0f}}, {});
    return ref_ptr<v_body_type>(t);
}

TEST(physics_world, a_rigid_link_to_a_body_node_shares_the_error_by_mass_and_cancels_approach)
{
    std::unique_ptr<v_body> bar = v_make_body(two_node_bar(), {0.0f, 0.0f}, 0.0f);
    ASSERT_FLOAT_EQ(bar->type->moment, 2.0f);
    v_node ball(scene_ball_type(1), {-1.0f, -4.0f});  // mass 1, 4 above node 0
    ball.velocity = {0.0f, -2.0f};                    // moving away
    v_constraint rod(scene_rod_type(), &ball, &bar->nodes[0], 3.0f);
    v_solve_constraint(rod);
    // r = 1 / (1 + 2): the ball goes (1 - r) / 2 of the error, the body r * 2 / 2 / 2,
    // turning about its moved centre.
    EXPECT_FLOAT_EQ(ball.position.y, -4.0f + 1.0f / 3.0f);
    EXPECT_FLOAT_EQ(bar->position.y, -1.0f / 6.0f);
    EXPECT_FLOAT_EQ(bar->angle, 1.0f / 6.0f);
    // K = 1 + (1/2 + 1/2 * 1): j = 2 / 2 = 1, applied as half on each side.
    EXPECT_FLOAT_EQ(ball.velocity.y, -1.5f);
    EXPECT_FLOAT_EQ(bar->velocity.y, -0.25f);
    EXPECT_FLOAT_EQ(bar->spin, 0.25f);
    EXPECT_FLOAT_EQ(bar->nodes[0].velocity.y, -0.5f);  // the node keeps its own share too

    // As a rope segment the free end takes its whole half and the body stays put.
    std::unique_ptr<v_body> still = v_make_body(two_node_bar(), {0.0f, 0.0f}, 0.0f);
    v_node knot(scene_ball_type(1), {-1.0f, -4.0f});
    v_solve_segment(rod, knot, still->nodes[0], true);
    EXPECT_FLOAT_EQ(knot.position.y, -3.5f);
    EXPECT_EQ(still->position, vec2(0.0f, 0.0f));
    EXPECT_FLOAT_EQ(still->angle, 0.0f);
}

TEST(physics_world, a_rail_halves_the_speed_across_it_and_takes_back_the_whole_offset)
{
    auto* t = new v_body_type();
    t->name = "bodies\\rail_bar";
    t->mass = 2.0f;
    t->set_motion(0.0f, 0.0f, 1.0f, 0.0f, false);  // horizontal rail: normal (0, -1)
    t->build({{{-1.0f, 0.0f}, 1.0f}, {{1.0f, 0.0f}, 1.0f}}, {});
    std::unique_ptr<v_body> bar = v_make_body(ref_ptr<v_body_type>(t), {0.0f, 0.0f}, 0.0f);
    bar->nodes[0].fixed = true;  // anchored at (-1, 0)
    bar->finalise();
    bar->position = {0.5f, 0.3f};
    bar->velocity = {2.0f, 4.0f};
    bar->enforce_pins();
    // Velocity pass: stop = M (-v.u) along the rotated rail normal, applied as half.
    EXPECT_FLOAT_EQ(bar->velocity.x, 2.0f);
    EXPECT_FLOAT_EQ(bar->velocity.y, 2.0f);
    // Position pass with the angle locked: shift = u (u.e) M, so the offset across the
    // rail goes at once and the body keeps its place along it.
    EXPECT_FLOAT_EQ(bar->position.x, 0.5f);
    EXPECT_NEAR(bar->position.y, 0.0f, 1e-7f);
    EXPECT_EQ(bar->angle, 0.0f);
    EXPECT_EQ(bar->nodes[0].position, vec2(-1.0f, 0.0f));  // the anchor stays
    EXPECT_FLOAT_EQ(bar->nodes[1].position.x, 1.5f);       // the rest follows the body
}

TEST(physics_world, compression_force_replaces_the_spring_both_ways)
{
    for (float distance : {3.0f, 1.0f}) {
        v_node a(scene_ball_type(1), {0.0f, 0.0f}), b(scene_ball_type(1), {distance, 0.0f});
        v_constraint spring(scene_spring_type(0.05f, 0.01f, 5.0f), &a, &b, 2.0f);
        v_solve_constraint(spring);
        EXPECT_FLOAT_EQ(a.velocity.x, 5.0f) << distance;
        EXPECT_FLOAT_EQ(b.velocity.x, -5.0f) << distance;
    }
    // Without it the spring pulls in proportion to the stretch: 100 k (dist - L).
    v_node a(scene_ball_type(1), {0.0f, 0.0f}), b(scene_ball_type(1), {3.0f, 0.0f});
    v_constraint spring(scene_spring_type(0.05f, 0.0f), &a, &b, 2.0f);
    v_solve_constraint(spring);
    EXPECT_FLOAT_EQ(a.velocity.x, 5.0f);
}

TEST(physics_world, picking_constraints_respects_cuts_cuttability_and_order)
{
    v_world w;
    v_node* a = w.add_node(scene_anchor_type(), {10.0f, 10.0f}, true);
    v_node* b = w.add_node(scene_anchor_type(), {20.0f, 10.0f}, true);
    v_node* c = w.add_node(scene_anchor_type(), {10.0f, 14.0f}, true);
    v_node* d = w.add_node(scene_anchor_type(), {20.0f, 14.0f}, true);
    v_constraint* rod = w.add_constraint(scene_rod_type(), a, b);
    v_constraint* first = w.add_constraint(scene_spring_type(0.1f, 0.0f), c, d);
    v_constraint* second = w.add_constraint(scene_spring_type(0.1f, 0.0f), c, d);
    EXPECT_EQ(w.pick_constraint({15.0f, 10.5f}, 10.0f, false), rod);
    EXPECT_EQ(w.pick_constraint({15.0f, 10.5f}, 10.0f, true), first);  // the rod is uncuttable
    EXPECT_EQ(w.pick_constraint({15.0f, 13.0f}, 10.0f, true), first);  // ties: first in the list
    first->cut = true;
    EXPECT_EQ(w.pick_constraint({15.0f, 13.0f}, 10.0f, true), second);
    EXPECT_EQ(w.pick_constraint({15.0f, 40.0f}, 10.0f, true), nullptr);
    // Beyond the ends the distance is to the nearest end.
    EXPECT_EQ(w.pick_constraint({25.0f, 14.0f}, 5.5f, true), second);
    EXPECT_EQ(w.pick_constraint({25.0f, 14.0f}, 4.5f, true), nullptr);

    // A rope is picked along its polyline.
    v_node* e = w.add_node(scene_anchor_type(), {40.0f, 10.0f}, true);
    v_node* f = w.add_node(scene_ball_type(1), {40.0f, 30.0f});
    v_constraint* rope = w.add_constraint(scene_rope_type(), e, f);
    EXPECT_EQ(w.pick_constraint({41.0f, 20.0f}, 10.0f, true), rope);
}

TEST(physics_world, picking_bodies_nodes_and_markers)
{
    v_world w;
    v_body* back = w.add_body(v_make_body(scene_box_type(10.0f, 10.0f, 1.0f), {20.0f, 20.0f}, 0.0f, -1.0f));
    v_body* front = w.add_body(v_make_body(scene_box_type(4.0f, 4.0f, 1.0f), {20.0f, 20.0f}, 0.0f, 2.0f));
    EXPECT_EQ(w.pick_body({20.0f, 20.0f}), front);
    EXPECT_EQ(w.pick_body({16.0f, 16.0f}), back);
    EXPECT_EQ(w.pick_body({40.0f, 40.0f}), nullptr);

    v_node* free = w.add_node(scene_ball_type(1), {22.5f, 22.5f});
    EXPECT_EQ(w.pick_node({22.2f, 22.2f}), &front->nodes[2]);  // (22, 22) is nearer
    EXPECT_EQ(w.pick_node({22.6f, 22.6f}), free);
    EXPECT_EQ(w.pick_node({50.0f, 50.0f}), nullptr);

    w.add_marker(5.0f, 5.0f, 0.0f);
    w.add_marker(6.0f, 5.0f, 1.0f);
    EXPECT_EQ(w.pick_marker({5.9f, 5.0f}), 2);
    EXPECT_EQ(w.pick_marker({4.5f, 5.0f}), 1);
    EXPECT_EQ(w.pick_marker({9.0f, 5.0f}), 0);
}

TEST(physics_world, removing_clears_everything_that_points_at_the_removed)
{
    v_world w;
    scene_handles h = scene_ball_over_pot(w, 1, 1);
    w.set_hovered(h.rope);
    w.set_selected(h.rope);
    w.cut_events.push_back({{}, 10, h.rope});
    w.remove_node(h.ball);
    EXPECT_TRUE(w.constraints.empty());
    EXPECT_EQ(w.hovered, nullptr);
    EXPECT_EQ(w.selected, nullptr);
    EXPECT_TRUE(w.cut_events.empty());
    EXPECT_EQ(w.nodes.size(), 1u);
    EXPECT_EQ(w.loaded_nodes.size(), 1u);

    // A body takes the constraints that end on it and its contacts along.
    v_world s;
    scene_box_stack(s, 2);
    v_node* hook = s.add_node(scene_anchor_type(), {33.0f, 20.0f}, true);
    s.add_constraint(scene_rope_type(), hook, &s.bodies[2]->nodes[0]);
    for (int i = 0; i < 30; ++i)
        s.step();
    ASSERT_GT(s.contacts.size(), 0u);
    s.remove_body(s.bodies[2].get());
    EXPECT_TRUE(s.constraints.empty());
    for (const v_body_contact& c : s.contacts.items) {
        EXPECT_NE(s.body_index(c.edge_body), -1);
        EXPECT_NE(s.body_index(c.point_body), -1);
    }
    // The world steps on without the body: no contact brings it back, and the box it
    // stood on stays where it rests.
    vec2 below = s.bodies[1]->position;
    for (int i = 0; i < 30; ++i)
        s.step();
    for (const v_body_contact& c : s.contacts.items) {
        EXPECT_NE(s.body_index(c.edge_body), -1);
        EXPECT_NE(s.body_index(c.point_body), -1);
    }
    EXPECT_LT((s.bodies[1]->position - below).length(), 0.2f);
}

TEST(physics_world, rebuilding_ropes_follows_moved_ends)
{
    v_world w;
    v_node* a = w.add_node(scene_anchor_type(), {10.0f, 10.0f}, true);
    v_node* b = w.add_node(scene_ball_type(1), {10.0f, 20.0f});
    v_constraint* rope = w.add_constraint(scene_rope_type(1.0f), a, b);
    ASSERT_EQ(rope->inodes.size(), 10u);
    b->position = {10.0f, 15.0f};
    w.rebuild_ropes_of(b);
    EXPECT_EQ(rope->inodes.size(), 5u);
}

TEST(physics_world, a_copy_runs_like_the_original_with_cuts_cleared)
{
    v_world a;
    scene_stress(a);
    a.constraints[0]->cut = true;
    v_replay unused;
    v_world b = v_world::copy(a, v_mode_play, unused);
    EXPECT_FALSE(b.replay);
    EXPECT_FALSE(b.constraints[0]->cut);
    EXPECT_EQ(b.nodes.size(), a.nodes.size());
    EXPECT_EQ(b.constraints[3]->n1, b.nodes[size_t(a.node_index(a.constraints[3]->n1))]);
    a.constraints[0]->cut = false;
    for (int i = 0; i < 200; ++i) {
        a.step();
        b.step();
    }
    EXPECT_EQ(v_world_hash(a), v_world_hash(b));
}

// Searches branch from clones taken mid-run: a clone goes on exactly as the original does
// (contacts, rope nodes, cut flags, caught balls and all) and owes it nothing once taken.
TEST(physics_world, a_clone_taken_mid_run_steps_on_exactly_as_the_original)
{
    // Ropes cut before and after the clone is taken.
    auto run = [](v_world& w, int32_t to) {
        while (w.step_count < to) {
            if (w.step_count == 150)
                w.constraints[2]->cut = true;
            if (w.step_count == 450)
                w.constraints[7]->cut = true;
            w.step();
        }
    };
    v_world straight;
    scene_stress(straight);
    run(straight, 700);

    auto original = std::make_unique<v_world>();
    scene_stress(*original);
    run(*original, 300);
    ASSERT_GT(original->contacts.size(), 0u);  // boxes resting on floors and each other
    v_world clone = original->clone();
    EXPECT_EQ(v_world_hash(clone), v_world_hash(*original));
    original.reset();
    run(clone, 700);
    EXPECT_EQ(v_world_hash(clone), v_world_hash(straight));

    // A caught ball stays caught in the clone; the verdict and step count come along.
    v_world pot;
    scene_handles h = scene_ball_over_pot(pot, 1, 1);
    h.rope->cut = true;
    while (pot.verdict == v_verdict_undecided && pot.step_count < 2000)
        pot.step();
    ASSERT_EQ(pot.verdict, v_verdict_solved);
    v_world caught = pot.clone();
    EXPECT_EQ(caught.nodes.size(), pot.nodes.size());
    EXPECT_EQ(caught.loaded_nodes.size(), pot.loaded_nodes.size());
    for (int i = 0; i < 50; ++i) {
        pot.step();
        caught.step();
    }
    EXPECT_EQ(v_world_hash(caught), v_world_hash(pot));
}

// The level editor's test run records through a copy: the copy must record from its first
// step as a world built in recording mode does, into a replay that was set up afresh.
TEST(physics_world, a_recording_copy_records_as_a_recording_world_does)
{
    v_world level;
    scene_handles h = scene_ball_over_void(level);
    v_replay copied, built;
    copied.names.push_back("left over");  // state of an earlier run, which must go
    copied.stream.assign(40, 0xAA);
    v_world copy = v_world::copy(level, v_mode_record, copied);
    ASSERT_EQ(copy.replay, &copied);
    EXPECT_TRUE(copied.recording);
    EXPECT_TRUE(copied.stream.empty());
    EXPECT_TRUE(copied.names.empty());

    v_world direct(v_mode_record);
    scene_ball_over_void(direct);
    v_world_attach_replay(direct, built, nullptr);
    for (int i = 0; i < 100; ++i) {
        if (i == 30) {
            copy.constraints[size_t(level.constraint_index(h.rope))]->cut = true;
            direct.constraints[size_t(level.constraint_index(h.rope))]->cut = true;
        }
        copy.step();
        direct.step();
    }
    EXPECT_EQ(copied.frames, 12u);
    EXPECT_EQ(copied.chunk_bytes(), built.chunk_bytes());
}

TEST(physics_world, run_world_for_runs_at_least_one_step)
{
    v_world w;
    scene_rope_pendulum(w);
    EXPECT_EQ(run_world_for(w, 0.0), 1);
    EXPECT_EQ(w.step_count, 1);
    int32_t steps = run_world_for(w, 0.01);
    EXPECT_GE(steps, 1);
    EXPECT_EQ(w.step_count, 1 + steps);
}

TEST(physics_world, a_pin_holds_a_lever_and_a_rail_lets_a_body_slide_only_along_it)
{
    v_world w;
    auto plank = scene_box_type(12.0f, 1.0f, 3.0f);
    v_body* lever = w.add_body(v_make_body(plank, {32.0f, 30.0f}, 0.0f));
    lever->nodes[0].fixed = true;  // pinned at its top-left corner: it swings down
    lever->finalise();
    vec2 anchor = lever->nodes[0].position;

    auto rail_type = ref_ptr<v_body_type>(new v_body_type());
    rail_type->mass = 1.0f;
    rail_type->set_motion(0.0f, 0.0f, 1.0f, 1.0f, false);  // a rail down and to the right
    rail_type->build(
        {{{-1.0f, -1.0f}, 1.0f}, {{1.0f, -1.0f}, 1.0f}, {{1.0f, 1.0f}, 1.0f}, {{-1.0f, 1.0f}, 1.0f}}, {});
    v_body* slider = w.add_body(v_make_body(rail_type, {10.0f, 10.0f}, 0.0f));
    slider->nodes[1].fixed = true;
    slider->finalise();

    for (int i = 0; i < 2 * 180; ++i) {
        w.step();
        ASSERT_LT((lever->transform(lever->local_node(0)) - anchor).length(), 0.05f) << i;
    }
    EXPECT_GT(std::fabs(lever->angle), 0.3f);  // it has swung
    vec2 moved = slider->position - vec2{10.0f, 10.0f};
    EXPECT_GT(moved.length(), 1.0f);
    EXPECT_NEAR(moved.x, moved.y, 0.05f * moved.length());  // along (1, 1)
    EXPECT_EQ(slider->angle, 0.0f);
}

TEST(physics_world, a_motor_turns_its_body_up_to_about_its_top_speed)
{
    v_world w;
    auto wheel = ref_ptr<v_body_type>(new v_body_type());
    wheel->mass = 2.0f;
    wheel->set_motion(1.0f, 0.5f, 0.0f, 0.0f, false);  // motor -10, max speed 5
    wheel->build({{{0.0f, -2.0f}, 1.0f},
                  {{2.0f, 0.0f}, 1.0f},
                  {{0.0f, 2.0f}, 1.0f},
                  {{-2.0f, 0.0f}, 1.0f},
                  {{0.0f, 0.0f}, 1.0f}},
                 {});
    v_body* b = w.add_body(v_make_body(wheel, {32.0f, 32.0f}, 0.0f));
    b->nodes[4].fixed = true;  // the axle
    b->finalise();
    for (int i = 0; i < 3 * 180; ++i)
        w.step();
    EXPECT_LT(b->spin, -4.0f);
    EXPECT_GT(b->spin, -6.0f);
    EXPECT_LT((b->nodes[4].position - vec2{32.0f, 32.0f}).length(), 0.05f);
}

// While a cut shows, the replay itself stands still: no frame is read, nothing moves, and
// the recording goes on from where it paused once the cut has happened.
TEST(physics_world, playback_waits_one_hundred_steps_at_each_cut)
{
    v_replay recorder;
    v_world rec(v_mode_record);
    scene_handles r = scene_ball_over_void(rec);
    v_world_attach_replay(rec, recorder, nullptr);
    for (int i = 0; i < 200; ++i) {
        r.rope->cut = i >= 40;
        rec.step();
    }
    std::vector<uint8_t> bytes = recorder.chunk_bytes();

    v_replay player;
    v_world w(v_mode_playback);
    scene_handles h = scene_ball_over_void(w);
    ASSERT_TRUE(v_world_attach_replay(w, player, &bytes));
    ASSERT_EQ(w.replay, &player);
    while (w.cut_events.empty() && w.step_count < 400)
        w.step();
    ASSERT_EQ(w.cut_events.size(), 1u);
    EXPECT_EQ(w.cut_events[0].constraint, h.rope);
    vec2 ball = h.ball->position;
    uint32_t frames = player.frames;
    int32_t phase = player.phase;
    for (int i = 0; i < v_cut_event_steps - 1; ++i)
        w.step();
    EXPECT_FALSE(h.rope->cut);
    EXPECT_EQ(h.ball->position, ball);
    EXPECT_EQ(player.frames, frames);
    EXPECT_EQ(player.phase, phase);
    w.step();
    EXPECT_TRUE(h.rope->cut);
    EXPECT_TRUE(w.cut_events.empty());
    for (int i = 0; i < 30; ++i)
        w.step();
    EXPECT_GT(player.frames, frames);
    EXPECT_GT(h.ball->position.y, ball.y);  // the recorded fall goes on
}

TEST(physics_world, a_recorded_cut_replays_after_its_pause)
{
    v_replay recorder;
    recorder.init();
    v_world rec(v_mode_record);
    rec.replay = &recorder;
    scene_handles h = scene_ball_over_void(rec);
    for (int i = 0; i < 300; ++i) {
        if (i == 100)
            h.rope->cut = true;
        rec.step();
    }
    std::vector<uint8_t> bytes = recorder.chunk_bytes();
    ASSERT_FALSE(bytes.empty());

    v_replay player;
    player.init();
    ASSERT_TRUE(player.load(bytes.data(), bytes.size()));
    v_world play(v_mode_playback);
    play.replay = &player;
    scene_handles p = scene_ball_over_void(play);
    int cut_at = -1, event_at = -1;
    for (int i = 0; i < 400 && cut_at < 0; ++i) {
        play.step();
        if (event_at < 0 && !play.cut_events.empty()) {
            event_at = i;
            EXPECT_EQ(play.cut_events[0].constraint, p.rope);
        }
        if (p.rope->cut)
            cut_at = i;
    }
    ASSERT_GE(event_at, 90);
    EXPECT_EQ(cut_at - event_at, v_cut_event_steps);
    // Afterwards the ball follows the recording down.
    float y = p.ball->position.y;
    for (int i = 0; i < 120; ++i)
        play.step();
    EXPECT_GT(p.ball->position.y, y + 2.0f);
}

}  // namespace
