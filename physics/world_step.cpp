// The world step in its fixed order, the playback step that follows a replay instead,
// the recording of each step, and run_world_for.
#include "data/asset_names.h"
#include "physics/collision.h"
#include "physics/replay.h"
#include "physics/solver.h"
#include "physics/sound_hooks.h"
#include "physics/world.h"
#include "physics/world_internal.h"

#include <chrono>
#include <cstring>

namespace {

using body_pose = v_step_scratch::body_pose;

bool same_bits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// Places the nodes of every body that moved since its nodes were placed last in this
// step. The placement is a function of the body's position and angle alone, so a body
// whose pose is bit for bit the noted one would get the very same node positions again.
void place_moved_nodes(const std::vector<std::unique_ptr<v_body>>& bodies, std::vector<body_pose>& poses)
{
    for (size_t i = 0; i < bodies.size(); ++i) {
        v_body& b = *bodies[i];
        body_pose& p = poses[i];
        if (p.placed && same_bits(p.position.x, b.position.x) && same_bits(p.position.y, b.position.y) &&
            same_bits(p.angle, b.angle))
            continue;
        b.place_nodes(false);
        p = {b.position, b.angle, true};
    }
}

}  // namespace

void v_world::step()
{
    ++step_count;
    if (mode == v_mode_playback)
        step_playback();
    else
        step_simulate();
}

void v_world::step_simulate()
{
    // Integration of bodies and free nodes; a ball that has fallen below the playfield
    // fails the level before anything can still catch it.
    for (const auto& b : bodies)
        b->integrate(v_dt);
    for (v_node* n : nodes)
        n->integrate(v_dt);
    if (verdict == v_verdict_undecided) {
        for (const v_node* n : nodes) {
            if (n->position.y > v_playfield_bottom && n->color() != 0) {
                verdict = v_verdict_failed;
                break;
            }
        }
    }
    // Rope nodes move first, so the constraint pass below pulls them and the ends
    // together in the same step.
    for (const auto& c : constraints)
        if (!c->cut)
            for (v_node& n : c->inodes)
                n.integrate(v_dt);
    for (const auto& c : constraints)
        if (!c->cut)
            v_solve_constraint(*c);
    // Pins and rails correct what the constraints moved, before anything collides.
    std::vector<body_pose>& poses = scratch->poses;
    poses.resize(bodies.size());
    for (size_t i = 0; i < bodies.size(); ++i) {
        v_body& b = *bodies[i];
        bool placed = b.enforce_pins();
        poses[i] = {b.position, b.angle, placed};
    }
    // Free nodes among themselves, each against those before it. Nodes without a
    // type take no part, so only typed ones are packed; the squared-distance test runs
    // on the packed copy, which follows every push of a colliding pair.
    using pair_entry = v_step_scratch::pair_entry;
    std::vector<pair_entry>& packed = scratch->pairs;
    packed.clear();
    for (v_node* n : nodes)
        if (n->type)
            packed.push_back({n->position.x, n->position.y, n->type->radius, n});
    for (size_t i = 0; i < packed.size(); ++i) {
        pair_entry& n = packed[i];
        for (size_t j = 0; j < i; ++j) {
            pair_entry& m = packed[j];
            float dx = m.x - n.x, dy = m.y - n.y;
            float r = n.radius + m.radius;
            if (dx * dx + dy * dy <= r * r) {
                v_node_node(*n.node, *m.node);
                n.x = n.node->position.x;
                n.y = n.node->position.y;
                m.x = m.node->position.x;
                m.y = m.node->position.y;
            }
        }
    }
    // Body contacts: the body nodes are placed from the integrated positions first, so
    // that detection and resolution see where the outlines are now.
    place_moved_nodes(bodies, poses);
    v_detect_contacts(*this);
    v_resolve_contacts(*this);
    // Bodies against free nodes, behind a bounding-box test; a caught ball leaves the
    // list at once so that no later body can touch it in this step.
    for (const auto& b : bodies) {
        for (size_t i = 0; i < nodes.size();) {
            v_node* n = nodes[i];
            float r = n->radius();
            bool overlap = n->position.x - r < b->position.x + b->bound_radius &&
                           n->position.x + r > b->position.x - b->bound_radius &&
                           n->position.y - r < b->position.y + b->bound_radius &&
                           n->position.y + r > b->position.y - b->bound_radius;
            int32_t result = overlap ? v_body_node(*b, *n) : v_catch_none;
            if (result == v_catch_wrong_pot && verdict == v_verdict_undecided)
                verdict = v_verdict_failed;
            if (result == v_catch_own_pot) {
                v_sounds().play_named(music_ditty_ball_in_pot, 1.0f);
                nodes.erase(nodes.begin() + std::ptrdiff_t(i));
                continue;
            }
            ++i;
        }
    }
    // The contacts moved bodies: place their nodes again for drawing and the next step.
    // Then the level is solved when no coloured ball is left (caught balls are gone).
    place_moved_nodes(bodies, poses);
    if (verdict == v_verdict_undecided) {
        bool ball_left = false;
        for (const v_node* n : nodes)
            ball_left = ball_left || n->color() != 0;
        if (!ball_left)
            verdict = v_verdict_solved;
    }
    // A recording world records the finished step.
    if (mode == v_mode_record)
        record_step();
}

void v_world::record_step()
{
    if (!replay)
        return;
    for (const auto& n : loaded_nodes)
        replay->record_node(n->position);
    for (const auto& b : bodies)
        replay->record_body(b->position, b->angle);
    for (const auto& c : constraints) {
        replay->record_cut(c->cut);
        for (const v_node& n : c->inodes)
            replay->record_node(n.position);
    }
    replay->end_step();
}

void v_world::step_playback()
{
    if (!cut_events.empty()) {
        // The recorded motion waits while a cut shows at its constraint.
        for (v_cut_event& e : cut_events)
            e.countdown -= 1;
        std::erase_if(cut_events, [](const v_cut_event& e) {
            if (e.countdown > 0)
                return false;
            e.constraint->cut = true;
            return true;
        });
        return;
    }
    if (!replay)
        return;
    size_t node_i = 0;
    for (const auto& n : loaded_nodes)
        n->position = replay->node(node_i++);
    for (size_t i = 0; i < bodies.size(); ++i) {
        replay->body(i, bodies[i]->position, bodies[i]->angle);
        bodies[i]->place_nodes(false);
    }
    for (size_t i = 0; i < constraints.size(); ++i) {
        v_constraint& c = *constraints[i];
        if (replay->cut(i) && !c.cut)
            cut_events.push_back({(c.n1->position + c.n2->position) * 0.5f, v_cut_event_steps, &c});
        for (v_node& n : c.inodes)
            n.position = replay->node(node_i++);
    }
    replay->advance();
}

int32_t run_world_for(v_world& world, double seconds)
{
    using clock = std::chrono::steady_clock;
    auto start = clock::now();
    auto end = start + std::chrono::duration_cast<clock::duration>(
                           std::chrono::duration<double>(seconds > 0.0 ? seconds : 0.0));
    int32_t steps = 0;
    do {
        world.step();
        ++steps;
    } while (clock::now() < end);
    return steps;
}
