// v_constraint: a link between two nodes (rope, spring, rod) and every edge of a rigid
// body. A rope owns the intermediate nodes that hang between its ends.
#pragma once

#include "physics/node.h"
#include "physics/types.h"

#include <vector>

// No rope gets more intermediate nodes than this, whatever its length and segment length.
constexpr int32_t v_max_rope_nodes = 4096;

class v_constraint {
public:
    ref_ptr<v_constraint_type> type;
    v_node* n1 = nullptr;
    v_node* n2 = nullptr;
    float rest_length = 0.0f;  // of one segment
    float fric = 0.0f;
    float elast = 0.0f;
    bool pot = false;            // the catching edge of a pot
    bool cut = false;            // cut by the player: the constraint does nothing
    std::vector<v_node> inodes;  // intermediate rope nodes, from the n1 side

    v_constraint() = default;
    // An empty type becomes the default constraint type; rest_length 0 means the current
    // distance of the ends. When the type has a segment length the rope is built and its
    // segment length replaces the given rest length.
    v_constraint(ref_ptr<v_constraint_type> t, v_node* a, v_node* b, float rest = 0.0f, float friction = 0.0f,
                 float elasticity = 0.0f, bool is_pot = false);

    // Rebuilds the intermediate nodes from the ends' current positions (a rope type only).
    void rebuild();
    bool is_rope() const { return !inodes.empty(); }
    bool cuttable() const;
    // Distance from p to the constraint's polyline; negative when it has none (cut, or
    // a rope whose distance stays at the 1000 cap).
    float distance_to(vec2 p) const;
};

// The type a constraint without one uses: "constraints\default" once start-up installs it,
// otherwise a built-in rigid link (no spring, cuttable, fric and elast 0.5).
ref_ptr<v_constraint_type> v_default_constraint_type();
void v_set_default_constraint_type(ref_ptr<v_constraint_type> type);
