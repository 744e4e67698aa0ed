// tamble-sim report: the measured difficulty of levels, in detail, from their solutions.
#include "tools/sim/commands.h"
#include "tools/sim/sim_difficulty.h"

#include "tools/sim/sim_tasks.h"

#include <chrono>
#include <cstdio>

namespace {

constexpr const char* usage = "usage: tamble-sim report LEVEL.LEVL.txt... [--grid STEPS] [--pair-grid STEPS] "
                              "[--threads N] [--data ROOT | --archive FILE]\n";

int fail(const std::string& message)
{
    return sim_tool_fail("report", message, usage);
}

}  // namespace

int sim_cmd_report(int argc, char** argv)
{
    std::vector<std::string> args(argv, argv + argc);
    sim_source_options sources;
    std::string error;
    if (!sim_take_source_options(args, sources, error))
        return fail(error);
    sim_difficulty_options options;
    std::vector<std::string> levels;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--grid" || a == "--pair-grid") {
            int32_t n = 0;
            if (i + 1 >= args.size() || !sim_parse_count(args[i + 1], n) || n == 0)
                return fail(a + " takes a positive step count");
            (a == "--grid" ? options.single_grid : options.pair_grid) = n;
            ++i;
        } else if (a == "--threads") {
            int32_t n = 0;
            if (i + 1 >= args.size() || !sim_parse_count(args[i + 1], n) || n == 0 || n > 256)
                return fail("--threads takes a count of 1 to 256");
            options.threads = n;
            ++i;
        } else if (a.rfind("--", 0) == 0) {
            return fail("unknown option " + a);
        } else if (!sim_is_level_file(a)) {
            return fail("'" + a + "' is not a level file");
        } else {
            levels.push_back(a);
        }
    }
    if (levels.empty())
        return fail("no LEVEL");
    sim_context ctx;
    if (!ctx.open(sources, error))
        return fail(error);
    int status = 0;
    for (const std::string& level : levels) {
        sim_solution solution;
        sim_difficulty d;
        auto start = std::chrono::steady_clock::now();
        if (!sim_read_solution(sim_solution_path(level), solution, error) ||
            !sim_measure_difficulty(ctx, level, solution, options, d, error)) {
            std::fprintf(stderr, "tamble-sim report: %s: %s\n", level.c_str(), error.c_str());
            status = 1;
            continue;
        }
        std::printf("%s: ", level.c_str());
        sim_print_difficulty_detail(stdout, d);
        std::fflush(stdout);
        // The time goes to stderr, so that the report itself compares from run to run.
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        std::fprintf(stderr, "tamble-sim report: %s measured in %.2f s on %d threads\n", level.c_str(),
                     took.count(), sim_thread_count(options.threads));
    }
    return status;
}
