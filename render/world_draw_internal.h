// Between world drawing and its plain look: the objects a frame could not texture, drawn
// after the batch as lines and discs (world_draw_fallback.cpp).
#pragma once

#include "physics/world.h"

#include <vector>

struct world_fallback_items {
    struct constraint_item {
        const v_constraint* constraint;
        int32_t highlight;  // 0 none, 1 hovered, 2 selected
        bool body;          // the constraint itself needs drawing, not only its highlight
    };
    std::vector<const v_body*> bodies;
    std::vector<const v_node*> nodes;
    std::vector<constraint_item> constraints;

    bool empty() const { return bodies.empty() && nodes.empty() && constraints.empty(); }
    void clear()
    {
        bodies.clear();
        nodes.clear();
        constraints.clear();
    }
};

// Draws the items untextured, over everything drawn before (no depth test).
void draw_world_fallback(const world_fallback_items& items);

// The rails a body slides on, one through each of its fixed nodes, along the body type's
// rail direction (turned with the body), clipped to the 64 x 64 playfield. None for a body
// without a rail, or a rail that misses the playfield.
struct rail_segment {
    vec2 a, b;
};
std::vector<rail_segment> body_rails(const v_body& body);
