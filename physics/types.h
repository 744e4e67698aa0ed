// The three type classes every physics object is an instance of: node types ("NTYP"),
// constraint types ("CTYP") and body types ("BTYP"). Each is read once from the root
// block of its chunk's script tree and shared, read-only, by all its instances.
//
// Loading refuses data the step cannot survive (zero or negative masses and moments,
// zero-length edges, indices outside the node list, non-finite numbers): such a type
// logs one line naming the type and the key, stays `loaded == false`, and its creator
// hands out no object, so levels that use it drop the entry instead of exploding.
#pragma once

#include "data/pak_chunk.h"
#include "data/script_handle.h"
#include "physics/vec2.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class v_body;

// One corner of a textured polygon: local offset, texture coordinates, and for body
// polygons the index of the prototype node it follows (-1 for a free corner).
struct v_poly_vertex {
    float x = 0.0f, y = 0.0f;
    float tx = 0.0f, ty = 0.0f;
    int32_t node = -1;
};

// A polygon uses `count` vertices, following those of the polygons before it. The
// texture is kept by chunk name; drawing resolves it and skips a polygon without one.
struct v_polygon {
    std::string texture;
    float z = 0.0f;
    int32_t count = 0;
};

struct v_poly_list {
    std::vector<v_poly_vertex> vertices;  // file order, trailing unused ones included
    std::vector<v_polygon> polygons;      // file order
};

// Shared base of the three types: the chunk link and the name levels save.
class v_type_base : public pak_chunk {
public:
    explicit v_type_base(ref_ptr<pak_chunkref> r);
    std::string name;     // chunk name ("nodes\ball_red"); set by hand for types built in code
    bool loaded = false;  // every key read and every check passed
};

// A point mass.
class v_node_type : public v_type_base {
public:
    int32_t material = 0;
    float mass = 0.0f;
    float radius = 0.0f;
    int32_t color = 0;                // not 0: a ball that must reach a pot of this colour
    float collision_velocity = 0.0f;  // not 0: a bumper
    v_poly_list polys;

    // A type filled in code; call check() after setting the fields.
    v_node_type() : v_type_base(nullptr) {}
    // Reads the keys from a chunk's root block.
    v_node_type(ref_ptr<pak_chunkref> r, const script_handle& root);

    // Validates the fields and sets `loaded`; logs the first offending key.
    bool check();

protected:
    explicit v_node_type(ref_ptr<pak_chunkref> r) : v_type_base(std::move(r)) {}
};

// A rope, spring or rod. Its node-type part describes the intermediate rope nodes; only
// the mass (from "seg_mass") is set there.
class v_constraint_type : public v_node_type {
public:
    float tension_k = 0.0f;
    float tension_damp = 0.0f;
    float tension_force = 0.0f;  // read, never used by the step
    float compression_k = 0.0f;
    float compression_damp = 0.0f;
    float compression_force = 0.0f;  // not 0: replaces the spring force in both directions
    float seg_len = 0.0f;            // 0: a plain link without intermediate nodes
    float seg_mass = 0.1f;
    bool cuttable = true;
    float fric = 0.5f;
    float elast = 0.5f;
    v_poly_list rope_polys;  // one rope segment's look

    v_constraint_type() : v_node_type(nullptr) { mass = seg_mass; }
    v_constraint_type(ref_ptr<pak_chunkref> r, const script_handle& root);

    bool check();
};

// A body type's node as read: local position and mass (the mass only places the
// balance node).
struct v_body_type_node {
    vec2 position;
    float mass = 1.0f;
};

// A body type's edge as read.
struct v_body_type_edge {
    int32_t n1 = 0, n2 = 0;
    bool collidable = false;
    float fric = 0.5f;
    float elast = 0.5f;
    bool pot = false;
};

// A rigid body.
class v_body_type : public v_type_base {
public:
    int32_t material = 0;
    float mass = 0.0f;
    float moment = 0.0f;  // 0 in the file: derived from the nodes
    float radius = 0.0f;
    int32_t pot_color = 0;
    float motor = 0.0f;      // -value x 10
    float rotate = 0.0f;     // not 0: the spin is held at this value
    float max_speed = 1.0f;  // value x 10, 0 becomes 1.0
    bool angle_lock = false;
    vec2 rail_normal;  // (rail_y, -rail_x), normalised
    bool has_rail = false;
    bool has_balance_node = false;
    float inv_mass = 0.0f;
    float inv_moment = 0.0f;
    float mean_elast = 0.0f;  // mean "elast" of the edges
    vec2 centroid;            // unweighted mean of the local node positions
    std::unique_ptr<v_body>
        prototype;  // local positions; the type of its edges is the default constraint type
    v_poly_list polys;

    // A type filled in code: set the scalar fields, then build().
    v_body_type();
    v_body_type(ref_ptr<pak_chunkref> r, const script_handle& root);
    ~v_body_type() override;

    // Derives everything that follows the scalar keys: the balance node, the moment,
    // the edges, the prototype and its centroid. `edge_type` is the type of the
    // prototype's edges (empty: the default constraint type). Polygons come after,
    // through add_polygons (they may name prototype nodes). Returns `loaded`.
    bool build(const std::vector<v_body_type_node>& nodes, const std::vector<v_body_type_edge>& edges,
               ref_ptr<v_constraint_type> edge_type = nullptr);

    // Applies the rail and max_speed rules to raw key values (used by loading and code).
    void set_motion(float motor_key, float max_speed_key, float rail_x, float rail_y, bool lock);
};

// Reads a "polys" block of a node or body type (an entry with "tex" closes a polygon).
// For a body, `nodes` gives the prototype node positions that "node" vertices name;
// false when a vertex names a node outside them.
bool v_read_polys(const script_handle& block, v_poly_list& out, const std::vector<vec2>* nodes = nullptr);
// Reads a constraint type's "polys" block (an entry with "x" is a vertex).
void v_read_rope_polys(const script_handle& block, v_poly_list& out);
