// tamble-sim verify: checks every level under a root that has a solution file, then the
// worlds data of the root; with --record it first records each level's replay afresh from
// its solution, with --report it ends with the table of measured difficulties.
#include "tools/sim/commands.h"
#include "tools/sim/sim_difficulty.h"
#include "tools/sim/sim_tasks.h"
#include "tools/sim/sim_verify.h"
#include "tools/sim/sim_worlds.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// The measured difficulty of every level with cuts to make, beside its rating in the
// worlds data, in the order of the worlds and their levels (levels in no world last).
void print_report(sim_context& ctx, const std::string& root, const sim_worlds_data& worlds)
{
    std::vector<sim_level_file> files = sim_level_files(root);
    std::vector<std::pair<std::string, std::string>> order;  // chunk name, path
    for (const sim_world& w : worlds.worlds)
        for (const sim_world_level& l : w.levels)
            for (const sim_level_file& f : files)
                if (f.chunk == l.level)
                    order.emplace_back(l.level, f.path);
    for (const sim_level_file& f : files)
        if (!sim_find_world_level(worlds, f.chunk))
            order.emplace_back(f.chunk, f.path);
    std::printf("\n");
    sim_print_difficulty_header(stdout);
    sim_difficulty_options options;
    auto start = std::chrono::steady_clock::now();
    int32_t measured = 0;
    for (const auto& [name, path] : order) {
        sim_solution solution;
        sim_difficulty d;
        std::string error;
        if (!sim_read_solution(sim_solution_path(path), solution, error) || solution.unattended)
            continue;
        if (!sim_measure_difficulty(ctx, path, solution, options, d, error)) {
            std::printf("%-24s %s\n", name.c_str(), error.c_str());
            continue;
        }
        const sim_world_level* entry = sim_find_world_level(worlds, name);
        sim_print_difficulty_row(stdout, name, entry ? entry->difficulty : 0, d);
        std::fflush(stdout);
        ++measured;
    }
    // The time goes to stderr, so that the table itself compares from run to run.
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::fprintf(stderr, "tamble-sim verify: %d levels measured in %.1f s on %d threads\n", measured,
                 took.count(), sim_thread_count(options.threads));
}

}  // namespace

int sim_cmd_verify(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    bool record = false, report = false;
    if (sim_take_source_options(args, sources, error)) {
        for (auto [option, on] :
             {std::pair<const char*, bool*>{"--record", &record}, {"--report", &report}}) {
            auto flag = std::find(args.begin(), args.end(), std::string(option));
            if (flag != args.end()) {
                *on = true;
                args.erase(flag);
            }
        }
    }
    if (!error.empty() || args.size() != 1 || args[0].rfind("--", 0) == 0) {
        return sim_tool_fail(
            "verify", error.empty() ? "expected one ROOT" : error,
            "usage: tamble-sim verify ROOT [--record] [--report] [--data ROOT | --archive FILE]\n");
    }
    // Types resolve from the verified root itself unless told otherwise.
    if (sources.data_roots.empty() && sources.archives.empty())
        sources.data_roots.push_back(args[0]);
    sim_context ctx;
    if (!ctx.open(sources, error))
        return sim_tool_fail("verify", error);
    std::vector<std::string> levels = sim_find_solved_levels(args[0]);
    int failures = 0;
    for (const std::string& level : levels) {
        // --record writes each level's replay afresh from its solution before checking it.
        if (record && !sim_rerecord_level(ctx, level, error)) {
            ++failures;
            std::printf("FAIL  %s: %s\n", level.c_str(), error.c_str());
            continue;
        }
        sim_verify_result v = sim_verify_level(ctx, level);
        if (v.passed) {
            std::printf("ok    %s: %s\n", level.c_str(), v.summary.c_str());
            continue;
        }
        ++failures;
        std::printf("FAIL  %s:", level.c_str());
        for (size_t i = 0; i < v.failures.size(); ++i)
            std::printf("%s %s", i ? ";" : "", v.failures[i].c_str());
        std::printf("\n");
    }
    std::printf("%zu levels, %d failed\n", levels.size(), failures);
    // The worlds data, against the same root: every level in place and reachable. A root
    // without worlds of its own (a designer's folder of levels) has none to check.
    sim_worlds_data worlds;
    if (!sim_root_has_worlds(args[0])) {
        std::printf("ok    worlds: none in %s (a folder of levels)\n", args[0].c_str());
        if (report)
            print_report(ctx, args[0], worlds);
        return failures ? 1 : 0;
    }
    std::vector<std::string> problems = sim_verify_worlds(ctx, args[0], worlds);
    for (const std::string& p : problems)
        std::printf("FAIL  worlds: %s\n", p.c_str());
    if (problems.empty()) {
        size_t n = 0;
        for (const sim_world& w : worlds.worlds)
            n += w.levels.size();
        std::printf("ok    worlds: %zu worlds, %zu levels\n", worlds.worlds.size(), n);
    }
    if (report)
        print_report(ctx, args[0], worlds);
    return failures || !problems.empty() ? 1 : 0;
}
