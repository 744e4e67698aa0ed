// v_body: a rigid body made of nodes and edges. The body integrates as a whole (position,
// velocity, angle, spin); its nodes are recomputed from it, except fixed nodes, which
// stay at their anchor and pull the body back through pins and rails.
#pragma once

#include "physics/constraint.h"
#include "physics/node.h"
#include "physics/types.h"

#include <memory>
#include <vector>

class v_body {
public:
    ref_ptr<v_body_type> type;              // empty for a type's own prototype
    std::vector<v_node> nodes;              // world positions (local ones in a prototype)
    std::vector<v_constraint> constraints;  // the edges, ends in `nodes`
    std::vector<v_constraint*> collidable;  // collision outline, into `constraints`
    vec2 position;
    vec2 velocity;
    float angle = 0.0f;
    float spin = 0.0f;
    float bound_radius = 0.0f;
    bool immovable = true;
    float z_bias = 0.0f;

    v_body() = default;
    // Copies nodes, edges and outline, moving every pointer to the copy's own arrays.
    v_body(const v_body& other);
    v_body& operator=(const v_body&) = delete;

    // Mass and inverse mass and moment of the body's type (1, 1, 1 without a type:
    // the prototype never moves, but code must not divide by zero).
    float mass() const;
    float inv_mass() const;
    float inv_moment() const;
    bool angle_lock() const;
    int32_t material() const;

    // Local point to world point with the current position and angle.
    vec2 transform(vec2 local) const;
    // The local position of node i in the type (the prototype's node i).
    vec2 local_node(size_t i) const;

    void integrate(float dt);
    // Puts node positions where the body says; fixed nodes keep their anchor unless `all`.
    void place_nodes(bool all);
    void move_at(vec2 p, vec2 d);
    void impulse_at(vec2 p, vec2 j);
    vec2 velocity_at(vec2 p) const;
    // Bound radius and immovable flag; run after nodes are placed or fixed.
    void finalise();
    // Pins and rails: pulls the body back to its fixed nodes' anchors. True when it
    // placed the nodes afterwards (a movable body with a pin).
    bool enforce_pins();
    // Whether p lies inside the collision outline (ray crossing count).
    bool contains(vec2 p) const;
    // Index of a node of this body, -1 when it is not one.
    int32_t node_index(const v_node* n) const;
};

// A body for a level: a copy of the type's prototype at `position` and `angle`, nodes
// placed, no node fixed, finalised. Fix nodes afterwards and call finalise() again.
// Null for a type that loading refused.
std::unique_ptr<v_body> v_make_body(const ref_ptr<v_body_type>& type, vec2 position, float angle,
                                    float z_bias = 0.0f);
