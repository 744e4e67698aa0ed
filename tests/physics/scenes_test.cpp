// Whole scenes: balls caught or lost, a stack at rest, a pendulum that keeps its energy.
#include "physics/scenes/scenes.h"
#include "physics/world_hash.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

int32_t run_until_decided(v_world& w, int32_t max_steps)
{
    for (int32_t i = 0; i < max_steps && w.verdict == v_verdict_undecided; ++i)
        w.step();
    return w.verdict;
}

TEST(physics_scenes, ball_cut_over_its_own_pot_is_caught)
{
    v_world w;
    scene_handles h = scene_ball_over_pot(w, 2, 2);
    for (int i = 0; i < 180; ++i)
        w.step();
    EXPECT_EQ(w.verdict, v_verdict_undecided);  // hanging, nothing happens
    h.rope->cut = true;
    EXPECT_EQ(run_until_decided(w, 5 * 180), v_verdict_solved);
    ASSERT_EQ(w.nodes.size(), 1u);  // only the anchor is left
    EXPECT_EQ(w.nodes[0]->color(), 0);
    EXPECT_EQ(w.loaded_nodes.size(), 2u);  // the caught ball is still owned
}

TEST(physics_scenes, ball_cut_over_a_pot_of_another_colour_fails)
{
    v_world w;
    scene_handles h = scene_ball_over_pot(w, 1, 3);
    h.rope->cut = true;
    EXPECT_EQ(run_until_decided(w, 5 * 180), v_verdict_failed);
}

TEST(physics_scenes, ball_falling_out_of_the_playfield_fails)
{
    v_world w;
    scene_handles h = scene_ball_over_void(w);
    for (int i = 0; i < 360; ++i)
        w.step();
    EXPECT_EQ(w.verdict, v_verdict_undecided);
    h.rope->cut = true;
    EXPECT_EQ(run_until_decided(w, 5 * 180), v_verdict_failed);
    EXPECT_GT(h.ball->position.y, 64.0f);
}

TEST(physics_scenes, stack_of_boxes_stays_at_rest_for_ten_seconds)
{
    v_world w;
    scene_box_stack(w, 3);
    for (int i = 0; i < 180; ++i)  // settle
        w.step();
    std::vector<vec2> start;
    for (const auto& b : w.bodies)
        start.push_back(b->position);
    float drift = 0.0f, tilt = 0.0f;
    for (int i = 0; i < 10 * 180; ++i) {
        w.step();
        for (size_t k = 0; k < w.bodies.size(); ++k) {
            drift = std::max(drift, (w.bodies[k]->position - start[k]).length());
            tilt = std::max(tilt, std::fabs(w.bodies[k]->angle));
        }
    }
    EXPECT_LT(drift, 0.2f);
    EXPECT_LT(tilt, 0.05f);
    for (size_t i = 0; i < w.bodies.size(); ++i) {
        const v_body& b = *w.bodies[i];
        EXPECT_LT((b.position - start[i]).length(), 0.2f) << "body " << i;
        EXPECT_LT(std::fabs(b.angle), 0.05f) << "body " << i;
    }
}

TEST(physics_scenes, rope_pendulum_keeps_bounded_energy_for_a_minute)
{
    v_world w;
    scene_handles h = scene_rope_pendulum(w);
    double e0 = scene_node_energy(w);
    double highest = e0;
    float reach = 0.0f;
    for (int i = 0; i < 60 * 180; ++i) {
        w.step();
        highest = std::max(highest, scene_node_energy(w));
        reach = std::max(reach, (h.ball->position - vec2{32.0f, 20.0f}).length());
        ASSERT_TRUE(is_finite(h.ball->position)) << "step " << i;
    }
    EXPECT_LE(highest, e0 + 1.0);          // never gains energy beyond rounding
    EXPECT_LT(reach, 11.0f);               // the rope stretches by a few percent at most
    EXPECT_GT(h.ball->position.y, 20.0f);  // and the ball still hangs below the anchor
}

TEST(physics_scenes, same_scene_twice_gives_the_same_hashes)
{
    v_world a, b;
    scene_stress(a);
    scene_stress(b);
    for (int i = 0; i < 900; ++i) {
        a.step();
        b.step();
        if (i % 100 == 0) {
            ASSERT_EQ(v_world_hash(a), v_world_hash(b)) << "step " << i;
        }
    }
    EXPECT_EQ(v_world_hash(a), v_world_hash(b));
}

}  // namespace
