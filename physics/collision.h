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

// Relative velocity of B against A at p along unit d over the effective mass along d;
// mode 1 leaves A's terms out (A as immovable), mode 2 B's.
float v_contact_rel(const v_body& a, const v_body& b, vec2 p, vec2 d, int32_t mode);

// Makes contacts for body points that entered another body's outline.
void v_detect_contacts(v_world& world);
// Position pass, then velocity pass with restitution and sticking friction; drops the
// contacts whose bodies parted or whose point slid off its edge.
void v_resolve_contacts(v_world& world);
