// Scenes built in code: small levels that the physics tests check, the benchmark times
// and the viewer shows. Each fills an empty world and reports the parts a caller acts on.
#pragma once

#include "physics/scenes/scene_types.h"
#include "physics/world.h"

struct scene_handles {
    v_constraint* rope = nullptr;  // the rope to cut
    v_node* ball = nullptr;
    v_body* pot = nullptr;
};

// A ball hanging from a rope over a pinned pot at (32, 52).
scene_handles scene_ball_over_pot(v_world& w, int32_t ball_color, int32_t pot_color);
// A ball hanging from a rope over nothing.
scene_handles scene_ball_over_void(v_world& w);
// A pinned floor plank and `count` boxes stacked on it.
void scene_box_stack(v_world& w, int32_t count);
// A ball on a 10-unit rope, released from the horizontal.
scene_handles scene_rope_pendulum(v_world& w);
// About 40 balls, 10 boxes resting on floors and each other, 10 ropes of 20 segments.
void scene_stress(v_world& w);

// Mechanical energy of the free nodes and rope nodes (kinetic plus potential, y down).
double scene_node_energy(const v_world& w);
