// Collision of the world step: free node against free node (circles, bumpers included),
// body against free node (a body's collidable edges against a circle; how pots catch
// balls), and persistent contacts between bodies.
#pragma once

#include "physics/world.h"

// Results of body_node.
enum : int32_t { v_catch_wrong_pot = -1, v_catch_none = 0, v_catch_own_pot = 1 };

void v_node_node(v_node& a, v_node& b);
// -1 when the node touched a pot edge of another colour (an uncoloured node touching a
// pot of a colour included), 1 of its own colour, else 0.
int32_t v_body_node(v_body& body, v_node& node);

// Which bodies of a contact take part in its effective mass. A contact whose edge has
// both ends fixed treats the edge body A as immovable; one whose point is fixed, the
// point body B.
enum v_contact_mode : int32_t {
    v_contact_both = 0,
    v_contact_edge_immovable = 1,
    v_contact_point_immovable = 2,
};

// Relative velocity of B against A at p along unit d over the effective mass along d,
// leaving out the terms of the body the mode treats as immovable.
float v_contact_rel(const v_body& a, const v_body& b, vec2 p, vec2 d, v_contact_mode mode);

// Makes contacts for body points that entered another body's outline.
void v_detect_contacts(v_world& world);
// Position pass, then velocity pass with restitution and sticking friction; drops the
// contacts whose bodies parted or whose point slid off its edge.
void v_resolve_contacts(v_world& world);
