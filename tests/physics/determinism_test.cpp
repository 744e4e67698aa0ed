// Golden determinism: scenes stepped for a while hash to pinned values. This file is
// built twice, against the normal library and against a copy compiled at -O0, so a
// compiler that rounds differently at another optimisation level fails here. A change
// to the physics that alters motion on purpose re-pins the values (both builds print them).
#include "physics/scenes/scenes.h"
#include "physics/world_hash.h"

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>

namespace {

uint64_t run(void (*build)(v_world&), int steps, int cut_at = -1)
{
    v_world w;
    build(w);
    for (int i = 0; i < steps; ++i) {
        if (i == cut_at)
            for (auto& c : w.constraints)
                if (c->cuttable())
                    c->cut = true;
        w.step();
    }
    uint64_t h = v_world_hash(w);
    std::printf("hash after %d steps: 0x%016" PRIx64 "\n", steps, h);
    return h;
}

void stress(v_world& w)
{
    scene_stress(w);
}
void stack(v_world& w)
{
    scene_box_stack(w, 3);
}
void pendulum(v_world& w)
{
    scene_rope_pendulum(w);
}

TEST(physics_determinism, stress_scene_matches_its_pinned_hash)
{
    EXPECT_EQ(run(stress, 900, 450), 0x5c62cdae1c03bfa3ull);
}

TEST(physics_determinism, box_stack_matches_its_pinned_hash)
{
    EXPECT_EQ(run(stack, 1800), 0x1029490fdb2f7c73ull);
}

TEST(physics_determinism, pendulum_matches_its_pinned_hash)
{
    EXPECT_EQ(run(pendulum, 3600), 0x1d20edfc913fd5baull);
}

}  // namespace
