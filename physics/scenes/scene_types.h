// Types built in code for the shared scenes: balls, anchors, bumpers, ropes, springs,
// rods, boxes, planks and pots. They mirror the base content's types so that a scene
// behaves like a level made of them, without needing the archive.
#pragma once

#include "physics/types.h"

#include <cstdint>

ref_ptr<v_node_type> scene_ball_type(int32_t color, float radius = 1.0f, float mass = 1.0f);
// A plain point mass without colour (an anchor when placed fixed).
ref_ptr<v_node_type> scene_anchor_type();
ref_ptr<v_node_type> scene_bumper_type(float speed);

// Rigid in tension, slack in compression: the usual rope.
ref_ptr<v_constraint_type> scene_rope_type(float seg_len = 1.0f);
// A springy rope (soft in tension, slack in compression).
ref_ptr<v_constraint_type> scene_elastic_rope_type(float seg_len = 1.0f);
ref_ptr<v_constraint_type> scene_spring_type(float k, float damp, float force = 0.0f);
// Rigid both ways and not cuttable.
ref_ptr<v_constraint_type> scene_rod_type();

// A w x h box, outline clockwise on screen from the top left, all edges collidable.
// With a spacing the sides are split into edges no longer than it: one contact per
// edge, so a box rests steadily only where each point of support meets its own edge.
ref_ptr<v_body_type> scene_box_type(float w, float h, float mass, float spacing = 0.0f);
// A cup open at the top: 8 x 6 outside, walls 0.6 thick; the inner floor is the pot edge.
ref_ptr<v_body_type> scene_pot_type(int32_t color);
