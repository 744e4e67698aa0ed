// Constraint solving of the world step: springs as impulses, rigid links between free
// nodes as position projection, and the body link for rigid links that end on a body.
#pragma once

#include "physics/constraint.h"

// Solves one constraint that is not cut: one segment for a plain link, every segment of
// a rope in the order that depends on which end hangs higher.
void v_solve_constraint(v_constraint& c);
// One segment between a and b with the constraint's rest length and type.
void v_solve_segment(const v_constraint& c, v_node& a, v_node& b, bool rope);
