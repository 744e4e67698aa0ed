// The headless run loop and its checks.
#include "tools/sim/sim_run.h"

#include <cmath>

namespace {

bool sane(vec2 p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::fabs(p.x) < sim_explosion_bound &&
           std::fabs(p.y) < sim_explosion_bound;
}

bool inside(vec2 p)
{
    return p.x >= 0.0f && p.x <= v_playfield_size && p.y >= 0.0f && p.y <= v_playfield_size;
}

std::string where(vec2 p)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "(%g, %g)", double(p.x), double(p.y));
    return buf;
}

// Visits every position of the world with a description; stops when `fn` returns false.
template <class F>
bool each_position(const v_world& world, F fn)
{
    for (size_t i = 0; i < world.nodes.size(); ++i)
        if (!fn(world.nodes[i]->position, "free node " + std::to_string(i)))
            return false;
    for (size_t b = 0; b < world.bodies.size(); ++b) {
        const v_body& body = *world.bodies[b];
        if (!fn(body.position, "body " + std::to_string(b)) || !std::isfinite(body.angle))
            return false;
        for (size_t n = 0; n < body.nodes.size(); ++n)
            if (!fn(body.nodes[n].position, "body " + std::to_string(b) + " node " + std::to_string(n)))
                return false;
    }
    for (size_t c = 0; c < world.constraints.size(); ++c) {
        const v_constraint& con = *world.constraints[c];
        if (con.cut)
            continue;
        for (size_t n = 0; n < con.inodes.size(); ++n)
            if (!fn(con.inodes[n].position,
                    "rope node " + std::to_string(n) + " of constraint " + std::to_string(c)))
                return false;
    }
    return true;
}

// Whether every position is sane and every angle finite: the test of each step, without
// the descriptions that sim_find_blowup builds only once something has gone wrong. A NaN
// fails `fabs(x) < bound` as an infinity does, so one comparison a coordinate is enough,
// and the loops go through without a branch a position.
bool all_sane(const v_world& world)
{
    auto ok = [](vec2 p) {
        return (std::fabs(p.x) < sim_explosion_bound) & (std::fabs(p.y) < sim_explosion_bound);
    };
    bool sane_so_far = true;
    for (const v_node* n : world.nodes)
        sane_so_far &= ok(n->position);
    for (const auto& b : world.bodies) {
        sane_so_far &= ok(b->position) & std::isfinite(b->angle);
        for (const v_node& n : b->nodes)
            sane_so_far &= ok(n.position);
    }
    for (const auto& c : world.constraints)
        if (!c->cut)
            for (const v_node& n : c->inodes)
                sane_so_far &= ok(n.position);
    return sane_so_far;
}

}  // namespace

bool sim_check_cut(const v_world& world, const sim_cut& cut, std::string& problem)
{
    if (cut.index < 0 || size_t(cut.index) >= world.constraints.size()) {
        problem = "cut " + std::to_string(cut.step) + ":" + std::to_string(cut.index) + ": there are " +
                  std::to_string(world.constraints.size()) + " constraints";
        return false;
    }
    const v_constraint& c = *world.constraints[size_t(cut.index)];
    if (!c.cuttable()) {
        problem = "cut " + std::to_string(cut.step) + ":" + std::to_string(cut.index) + ": constraint " +
                  std::to_string(cut.index) + " cannot be cut";
        return false;
    }
    return true;
}

std::string sim_find_blowup(const v_world& world)
{
    if (all_sane(world))
        return {};
    std::string found;
    each_position(world, [&](vec2 p, const std::string& what) {
        if (sane(p))
            return true;
        found = what + " at " + where(p);
        return false;
    });
    if (found.empty())
        for (size_t b = 0; b < world.bodies.size(); ++b)
            if (!std::isfinite(world.bodies[b]->angle))
                found = "body " + std::to_string(b) + " angle";
    return found;
}

std::string sim_find_outside(const v_world& world)
{
    std::string found;
    each_position(world, [&](vec2 p, const std::string& what) {
        if (inside(p))
            return true;
        found = what + " at " + where(p);
        return false;
    });
    return found;
}

void sim_print_positions(std::FILE* out, const v_world& world)
{
    std::fprintf(out, "step %d:", world.step_count);
    for (size_t i = 0; i < world.loaded_nodes.size(); ++i) {
        vec2 p = world.loaded_nodes[i]->position;
        std::fprintf(out, " n%zu (%.3f, %.3f)", i, double(p.x), double(p.y));
    }
    for (size_t b = 0; b < world.bodies.size(); ++b) {
        const v_body& body = *world.bodies[b];
        std::fprintf(out, " b%zu (%.3f, %.3f, %.3f)", b, double(body.position.x), double(body.position.y),
                     double(body.angle));
    }
    std::fprintf(out, "\n");
}

bool sim_run_world_until(v_world& world, const sim_run_options& options, sim_run_progress& progress,
                         int32_t until)
{
    sim_run_result& r = progress.result;
    auto end = [&] {
        r.verdict = world.verdict;
        r.steps = world.step_count;
        progress.ended = true;
        return true;
    };
    if (progress.ended)
        return true;
    while (world.step_count < options.max_steps) {
        if (world.step_count >= until)
            return false;
        for (; progress.next_cut < options.cuts.size() &&
               options.cuts[progress.next_cut].step <= world.step_count;
             ++progress.next_cut) {
            const sim_cut& cut = options.cuts[progress.next_cut];
            if (!sim_check_cut(world, cut, r.problem)) {
                r.ok = false;
                r.steps = world.step_count;
                progress.ended = true;
                return true;
            }
            v_constraint& c = *world.constraints[size_t(cut.index)];
            if (options.out)
                std::fprintf(options.out, "cut %d (%s) at step %d%s\n", cut.index,
                             c.type ? c.type->name.c_str() : "", world.step_count,
                             c.cut ? ", already cut" : "");
            c.cut = true;
        }
        int32_t before = world.verdict;
        world.step();
        if (world.verdict != before && r.decided_step < 0) {
            r.decided_step = world.step_count;
            progress.stop_at = world.step_count + options.tail_steps;
        }
        if (options.trace_every > 0 && options.out && world.step_count % options.trace_every == 0)
            sim_print_positions(options.out, world);
        std::string blowup = sim_find_blowup(world);
        if (!blowup.empty()) {
            r.ok = false;
            r.problem = "blew up at step " + std::to_string(world.step_count) + ": " + blowup;
            return end();
        }
        if (options.stop_at_verdict && progress.stop_at >= 0 && world.step_count >= progress.stop_at)
            return end();
    }
    return end();
}

sim_run_result sim_run_world(v_world& world, const sim_run_options& options)
{
    sim_run_progress progress;
    sim_run_world_until(world, options, progress, INT32_MAX);
    return progress.result;
}
