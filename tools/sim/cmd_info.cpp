// tamble-sim info: what a level holds, with the indices that cuts and solutions use.
#include "tools/sim/commands.h"
#include "tools/sim/sim_level.h"

#include <cstdio>

namespace {

const char* name_of(const v_type_base* t)
{
    return t && !t->name.empty() ? t->name.c_str() : "(no type)";
}

std::string end_text(const v_world& world, const v_node* n)
{
    for (size_t b = 0; b < world.bodies.size(); ++b) {
        int32_t i = world.bodies[b]->node_index(n);
        if (i >= 0)
            return "body " + std::to_string(b) + " node " + std::to_string(i);
    }
    return "node " + std::to_string(world.node_index(n));
}

}  // namespace

int sim_cmd_info(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    if (!sim_take_source_options(args, sources, error) || args.size() != 1) {
        return sim_tool_fail("info", error.empty() ? "expected one LEVEL" : error,
                             "usage: tamble-sim info LEVEL [--data ROOT | --archive FILE]\n");
    }
    sim_context ctx;
    v_world world;
    v_level_report report;
    if (!ctx.open(sources, error) ||
        !sim_load_world(ctx, args[0], v_mode_play, nullptr, world, report, error))
        return sim_tool_fail("info", error);
    std::printf("level %s: %zu free nodes, %zu bodies, %zu constraints, %zu markers\n", args[0].c_str(),
                world.nodes.size(), world.bodies.size(), world.constraints.size(), world.markers.size());
    if (!report.clean())
        std::printf("dropped: %d nodes, %d bodies, %d constraints\n", report.dropped_nodes,
                    report.dropped_bodies, report.dropped_constraints);
    for (const std::string& p : report.problems)
        std::printf("  %s\n", p.c_str());
    std::printf("free nodes:\n");
    for (size_t i = 0; i < world.nodes.size(); ++i) {
        const v_node& n = *world.nodes[i];
        std::printf("  %2zu %-24s (%.3f, %.3f)%s%s\n", i, name_of(n.type.get()), double(n.position.x),
                    double(n.position.y), n.fixed ? " fixed" : "",
                    n.color() ? (" colour " + std::to_string(n.color())).c_str() : "");
    }
    std::printf("bodies:\n");
    for (size_t i = 0; i < world.bodies.size(); ++i) {
        const v_body& b = *world.bodies[i];
        std::printf(
            "  %2zu %-24s (%.3f, %.3f) angle %.3f, %zu nodes, fix_mask \"%s\"%s\n", i, name_of(b.type.get()),
            double(b.position.x), double(b.position.y), double(b.angle), b.nodes.size(),
            v_fix_mask_letters(b).c_str(),
            b.type && b.type->pot_color ? (", pot colour " + std::to_string(b.type->pot_color)).c_str() : "");
    }
    std::printf("constraints:\n");
    for (size_t i = 0; i < world.constraints.size(); ++i) {
        const v_constraint& c = *world.constraints[i];
        std::printf("  %2zu %-24s %s -> %s, rest %.3f, %zu rope nodes, %s\n", i, name_of(c.type.get()),
                    end_text(world, c.n1).c_str(), end_text(world, c.n2).c_str(), double(c.rest_length),
                    c.inodes.size(), c.cuttable() ? "cuttable" : "uncuttable");
    }
    return 0;
}
