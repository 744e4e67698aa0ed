// v_node: one point mass. Free nodes (balls, anchors), the nodes inside a rigid body and
// the intermediate nodes of a rope are all nodes; a body's node takes its mass and its
// motion from the body.
#pragma once

#include "app/step.h"
#include "physics/types.h"
#include "physics/vec2.h"

#include <cstdint>
#include <utility>

class v_body;

// Gravity in world units per second squared (y grows downwards) and the fixed step
// shared with the frame clock.
constexpr float v_gravity = 20.0f;
constexpr float v_dt = step_seconds;

class v_node {
public:
    ref_ptr<v_node_type> type;  // may be empty (body nodes have none)
    vec2 position;
    vec2 velocity;
    vec2 accel;              // for the next integration; gravity after each one
    bool fixed = false;      // pinned in place
    bool on_edge = false;    // end of a collidable edge of its body
    v_body* body = nullptr;  // the body that carries this node, null for a free node

    v_node() = default;
    v_node(ref_ptr<v_node_type> t, vec2 p, bool is_fixed = false)
        : type(std::move(t)), position(p), fixed(is_fixed)
    {}

    // The type's mass, 1.0 without a type: what a free node weighs.
    float type_mass() const { return type ? type->mass : 1.0f; }
    // What the node weighs in a link: its body's mass for a body node, else type_mass().
    float link_mass() const;
    // Colour of the node's type, 0 without a type.
    int32_t color() const { return type ? type->color : 0; }
    // Collision radius of the node's type, 0 without a type.
    float radius() const { return type ? type->radius : 0.0f; }
    // Sound class ("material") of the node's type, 0 without a type.
    int32_t material() const { return type ? type->material : 0; }

    // Semi-implicit Euler: velocity first, then position with the new velocity.
    // A fixed node stops; a body node does nothing (its body integrates).
    void integrate(float dt);
    // Moves by d / mass (a free node) or moves its body at the node.
    void move(vec2 d)
    {
        if (body)
            move_body(d);
        else
            position += d / type_mass();
    }
    // Applies impulse J: to the body at the node for a body node, then to the
    // node's own velocity as for a free node.
    void impulse(vec2 j)
    {
        if (body)
            impulse_body(j);
        velocity += j / type_mass();
    }
    vec2 velocity_at() const { return body ? body_velocity_at() : velocity; }

private:
    // The body halves, out of line because the body class needs this one.
    void move_body(vec2 d);
    void impulse_body(vec2 j);
    vec2 body_velocity_at() const;
};
