// v_world: the running physics scene of one level, its fixed step of 1/180 s, and the
// operations the play screen, the editors, the level loader and replays use on it.
// Everything runs in one fixed order in single precision, so the same level with the
// same cuts gives the same motion, bit for bit.
#pragma once

#include "physics/body.h"
#include "physics/constraint.h"
#include "physics/node.h"

#include <cstdint>
#include <memory>
#include <vector>

class v_replay;
struct v_step_scratch;

// Verdicts and modes.
enum : int32_t { v_verdict_failed = -1, v_verdict_undecided = 0, v_verdict_solved = 1 };
enum : int32_t { v_mode_play = 0, v_mode_playback = 1, v_mode_record = 2 };

// Steps a cut waits, shown at the constraint's midpoint, before it happens in playback.
constexpr int32_t v_cut_event_steps = 100;
// The playfield of levels is the square x 0..v_playfield_size, y 0..v_playfield_size (y grows
// downward). Below its bottom a coloured node has fallen out.
constexpr float v_playfield_size = 64.0f;
constexpr float v_playfield_bottom = v_playfield_size;

struct v_marker {
    float x = 0.0f, y = 0.0f, angle = 0.0f;
};

// A cut seen in a replay, waiting to happen.
struct v_cut_event {
    vec2 position;
    int32_t countdown = 0;
    v_constraint* constraint = nullptr;
};

// A persistent contact between a node on body B's outline and a collidable edge of body A.
struct v_body_contact {
    v_body* edge_body = nullptr;   // A
    v_body* point_body = nullptr;  // B
    v_constraint* edge = nullptr;
    v_node* point = nullptr;
    float along = 0.0f;  // from the edge's n1
    float share = 0.0f;  // 1 point fixed, 0 both edge ends fixed, else in between
    bool sticking = false;
    vec2 offset;
};

// Body contacts keyed by their edge, iterated in the order they were made.
struct v_contact_map {
    std::vector<v_body_contact> items;

    v_body_contact* find(const v_constraint* edge);
    bool has(const v_constraint* edge) const;
    void add(const v_body_contact& c) { items.push_back(c); }
    void clear() { items.clear(); }
    size_t size() const { return items.size(); }
    // Drops every contact that involves the body.
    void forget_body(const v_body* b);
};

class v_world {
public:
    int32_t mode = v_mode_play;
    std::vector<std::unique_ptr<v_body>> bodies;
    std::vector<std::unique_ptr<v_constraint>> constraints;
    std::vector<v_node*> nodes;                         // active free nodes, into loaded_nodes
    std::vector<std::unique_ptr<v_node>> loaded_nodes;  // every free node, owned
    std::vector<v_marker> markers;
    std::vector<v_cut_event> cut_events;
    v_contact_map contacts;
    v_constraint* hovered = nullptr;
    v_constraint* selected = nullptr;
    int32_t verdict = v_verdict_undecided;
    int32_t step_count = 0;
    // The recorder (mode 2) or player (mode 1) this world drives; null in mode 0.
    v_replay* replay = nullptr;

    // Buffers the step reuses so that it does not allocate (world_internal.h).
    std::unique_ptr<v_step_scratch> scratch;

    explicit v_world(int32_t world_mode = v_mode_play);
    ~v_world();
    v_world(v_world&&) noexcept;
    v_world& operator=(v_world&&) noexcept;
    v_world(const v_world&) = delete;
    v_world& operator=(const v_world&) = delete;

    // A fresh world in `mode` from a source world: bodies as built (velocity and spin 0),
    // active free nodes, constraints with their ends mapped and cut cleared. Markers,
    // contacts and cut events are not copied. The replay is attached as construction
    // attaches it: a recording copy (the level editor's test run) initialises `replay` and
    // records into it; other modes leave the copy without one.
    static v_world copy(const v_world& source, int32_t mode, v_replay& replay);

    // The world as it is now, mid-run: every position and velocity, cut flag, contact,
    // caught ball, pending cut event, the verdict and the step count, so that stepping the
    // clone gives exactly what stepping this world gives, bit for bit. The clone shares
    // nothing with this world but the types; it drives no replay (`replay` is null), so
    // a recording or playing world's clone only steps.
    v_world clone() const;

    // Empties nodes, bodies and constraints (and everything that points into them);
    // markers stay. The verdict goes back to undecided.
    void clear();

    void step();

    void set_hovered(v_constraint* c) { hovered = c; }
    void set_selected(v_constraint* c) { selected = c; }

    // Nearest constraint to p closer than max_distance; ties go to the first in list order.
    v_constraint* pick_constraint(vec2 p, float max_distance, bool cuttable_only) const;
    // The body whose outline holds p with the greatest z_bias.
    v_body* pick_body(vec2 p) const;
    // The nearest body node or free node with squared distance below 2.
    v_node* pick_node(vec2 p) const;
    // 1-based index of the nearest marker with squared distance below 2, or 0.
    int32_t pick_marker(vec2 p) const;

    v_body* add_body(std::unique_ptr<v_body> body);
    // Appends to both node lists; the world owns the node.
    v_node* add_node(std::unique_ptr<v_node> node);
    v_node* add_node(ref_ptr<v_node_type> type, vec2 position, bool fixed = false);
    v_constraint* add_constraint(std::unique_ptr<v_constraint> con);
    v_constraint* add_constraint(ref_ptr<v_constraint_type> type, v_node* n1, v_node* n2,
                                 float rest_length = 0.0f);
    v_marker& add_marker(float x, float y, float angle);

    void remove_constraint(v_constraint* con);
    // Removes the free node and every constraint that ends on it.
    void remove_node(v_node* n);
    // Removes the body and every constraint that ends on one of its nodes.
    void remove_body(v_body* b);
    void rebuild_ropes_of(const v_node* n);
    void rebuild_ropes_of(const v_body* b);

    // Index of a free node in loaded_nodes, of a body, of a constraint; -1 when absent.
    int32_t node_index(const v_node* n) const;
    int32_t body_index(const v_body* b) const;
    int32_t constraint_index(const v_constraint* c) const;
    // The body that carries a node, or null (free node or a node of no body here).
    v_body* body_of(const v_node* n) const;

private:
    void step_simulate();
    void step_playback();
    void record_step();
    // Clears every pointer into a constraint that is about to go.
    void forget_constraint(const v_constraint* con);
};

// The counts of the elements a replay of this world records.
struct v_replay_counts;
v_replay_counts v_world_replay_counts(const v_world& world);
// Attaches the replay to a built world: init, then recording (mode 2) or playback of
// `bytes` (mode 1, checked against the world's counts). False when playback was refused.
bool v_world_attach_replay(v_world& world, v_replay& replay, const std::vector<uint8_t>* bytes);

// Steps the world until `seconds` of wall time have passed (at least one step) and
// returns the number of steps.
int32_t run_world_for(v_world& world, double seconds);
