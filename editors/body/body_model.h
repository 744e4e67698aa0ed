// The body type being edited: its nodes, constraints (the body's edges) and textured
// polygons, its colour index, and the script tree that holds every key of the type,
// those the editor does not manage ("mass", "material", "motor", ...) among them. The
// body is written and read as ".BTYP.txt" script text, the form the game's type loader
// reads; check() names what that loader would refuse before a file is written.
//
// Positions are kept relative to the body's origin, as the file holds them: the editor
// shows the origin at (32, 32). Mirroring is a change of sign and saving writes the
// numbers as they are, so neither rounds.
#pragma once

#include "data/script_handle.h"
#include "physics/vec2.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace bedit {

// Where the body's origin is shown in the editor's units.
constexpr float origin_x = 32, origin_y = 32;
// Constraint defaults, and the limits of the editable values.
constexpr float default_fric = 0.5f, default_elast = 0.5f;
constexpr float depth_front = -1, depth_back = -10, new_polygon_depth = -5;
constexpr int32_t color_max = 100;
// A body type without "mass" is saved with this one.
constexpr int32_t default_mass = 10;
// The type loader refuses an edge shorter than this.
constexpr float shortest_edge = 1e-4f;

struct node {
    vec2 position;
    // The node's "mass" in a file written by hand (0: none). The game uses node masses
    // only to place the type's balance node; the editor keeps them as they were.
    float mass = 0;
};

struct constraint {
    int32_t n1 = 0, n2 = 0;
    bool collidable = false;
    float fric = default_fric;
    float elast = default_elast;
    bool pot = false;
};

// A polygon corner: tied to a node (it follows the node) or free at its own position.
struct corner {
    int32_t node = -1;  // -1: free
    vec2 position;      // of a free corner
    float tx = 0, ty = 0;

    bool tied() const { return node >= 0; }
};

struct polygon {
    std::vector<corner> corners;
    float z = new_polygon_depth;
    std::string texture;  // chunk name, empty for none
};

// Something the type loader would refuse (`refused`), or a warning about a body the
// game loads but that will not behave as a designer may expect.
struct problem {
    bool refused = false;
    std::string text;
};

class body {
public:
    std::vector<node> nodes;
    std::vector<constraint> constraints;
    std::vector<polygon> polygons;
    int32_t color = 0;  // "pot_color"
    // The type's script tree over a symbol table of its own (kept at one address, since
    // handles point at it).
    std::unique_ptr<script_symbol_table> symbols;
    script_handle tree;

    body();
    body(body&&) noexcept = default;
    body& operator=(body&&) noexcept = default;

    vec2 corner_position(const corner& c) const;
    // Fills the tree ("mass" 10 when missing, "pot_color", then "nodes", "constraints" and
    // "polys" rebuilt) and writes it with the script text writer.
    std::string text();
    // A body from ".BTYP.txt" text: false when it does not parse. What the editor cannot
    // keep (a constraint or corner naming a node that does not exist, corners after the
    // last texture entry) is left out or freed, and said in `notes`.
    static bool parse(const std::string& text, body& out, std::string& notes);

    // Deleting a node deletes the constraints that use it and frees the corners tied to
    // it (they stay where the node was); higher node numbers move down by one.
    void delete_node(int32_t index);
    void delete_constraint(int32_t index);
    void delete_polygon(int32_t index);
    // x becomes -x for nodes and free corners; each constraint's ends swap, so collidable
    // edges keep their outer side.
    void mirror();
    // What the type loader would refuse, then warnings.
    std::vector<problem> check() const;
    // The mass the type will have ("mass", 10 when missing).
    double mass() const;

private:
    void fill_tree();
};

// Whether any of the problems makes the loader refuse the type.
bool any_refused(const std::vector<problem>& problems);

}  // namespace bedit
