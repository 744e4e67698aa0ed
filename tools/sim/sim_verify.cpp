// Level verification for tamble-sim verify (and CI).
#include "tools/sim/sim_verify.h"

#include "data/pak_tree.h"

#include "tools/sim/sim_cuts.h"
#include "tools/sim/sim_play.h"
#include "tools/sim/sim_run.h"
#include "tools/sim/sim_sounds.h"

#include <filesystem>
#include <set>

namespace fs = std::filesystem;

namespace {

// Without cuts a level must stay unsolved this long.
constexpr int32_t unsolved_seconds = 30;

}  // namespace

bool sim_record_solution(sim_context& ctx, const std::string& level_path, const sim_solution& solution,
                         std::vector<uint8_t>& bytes, std::string& error)
{
    // The caught-ball jingle goes into the recording through the tool's sound hooks.
    sim_sound_guard sounds;
    v_world world;
    v_level_report report;
    if (!sim_load_world(ctx, level_path, v_mode_record, nullptr, world, report, error))
        return false;
    sim_run_options run;
    run.max_steps = int32_t(solution.seconds) * steps_per_second;
    if (solution.unattended) {
        // A scene that plays by itself runs its whole time, whatever becomes of its balls.
        run.stop_at_verdict = false;
    } else {
        run.cuts = solution.cuts;
        run.tail_steps = steps_per_second;
    }
    sim_run_result r = sim_run_world(world, run);
    if (!r.ok) {
        error = "recording: " + r.problem;
        return false;
    }
    const v_replay& replay = v_replay_global();
    if (replay.stream.empty() || replay.overflowed) {
        error = "recording: nothing could be recorded";
        return false;
    }
    bytes = replay.chunk_bytes();
    return true;
}

bool sim_rerecord_level(sim_context& ctx, const std::string& level_path, std::string& error)
{
    sim_solution solution;
    std::vector<uint8_t> bytes;
    if (!sim_read_solution(sim_solution_path(level_path), solution, error) ||
        !sim_record_solution(ctx, level_path, solution, bytes, error))
        return false;
    std::string path = v_level_replay_path(level_path);
    if (!v_replay_global().save(path.c_str())) {
        error = "cannot write '" + path + "'";
        return false;
    }
    return true;
}

std::vector<std::string> sim_find_solved_levels(const std::string& root)
{
    // The same walk as the stores': a level in a hidden folder is not shipped, so it is
    // not verified either.
    std::vector<pak_tree_file> files;
    pak_walk_tree(root, files);
    std::vector<std::string> out;
    for (const pak_tree_file& file : files) {
        std::error_code ec;
        if (file.leaf.size() > 9 && file.leaf.ends_with(".LEVL.txt") &&
            fs::is_regular_file(sim_solution_path(file.path), ec))
            out.push_back(file.path);
    }
    return out;
}

sim_verify_result sim_check_level_text(const std::string& text, const std::string& name, const sim_solution& solution)
{
    sim_verify_result v;
    auto failed = [&](const std::string& what) { v.failures.push_back(what); };
    // Each run starts from the level as loaded, in its own world.
    v_world world;
    v_level_report report;
    auto load = [&]() {
        world = v_world(v_mode_play);
        v_replay_global().init();
        report = v_level_report();
        if (v_level_load_text(world, text.c_str(), name.c_str(), &report))
            return true;
        failed("level '" + name + "' does not parse");
        return false;
    };

    // Loading and the playfield.
    if (!load())
        return v;
    if (!report.clean())
        failed("entries dropped on load: " + std::to_string(report.dropped_nodes) + " nodes, " +
               std::to_string(report.dropped_bodies) + " bodies, " +
               std::to_string(report.dropped_constraints) + " constraints");
    std::string outside = sim_find_outside(world);
    if (!outside.empty())
        failed("outside the playfield: " + outside);
    size_t balls = 0;
    for (const v_node* n : world.nodes)
        balls += n->color() != 0;

    // Without cuts.
    sim_run_options idle;
    idle.max_steps = unsolved_seconds * steps_per_second;
    sim_run_result r = sim_run_world(world, idle);
    if (!r.ok)
        failed("without cuts: " + r.problem);
    else if (!solution.unattended && r.verdict == v_verdict_solved)
        failed("solved without cuts at step " + std::to_string(r.decided_step));
    std::string idle_text =
        r.verdict == v_verdict_failed   ? "fails without cuts at step " + std::to_string(r.decided_step)
        : r.verdict == v_verdict_solved ? "solves itself at step " + std::to_string(r.decided_step)
                                        : "undecided without cuts";

    // The solution.
    std::string solved_text;
    if (!solution.unattended) {
        if (balls == 0)
            failed("no ball to catch");
        if (!load())
            return v;
        sim_run_options run;
        run.cuts = solution.cuts;
        run.max_steps = int32_t(solution.seconds) * steps_per_second;
        r = sim_run_world(world, run);
        if (!r.ok)
            failed("solution: " + r.problem);
        else if (r.verdict != v_verdict_solved)
            failed(std::string("solution ") + (r.verdict == v_verdict_failed
                                                   ? "fails at step " + std::to_string(r.decided_step)
                                                   : "leaves the level undecided"));
        else
            solved_text = "solved at step " + std::to_string(r.decided_step) + " with " +
                          std::to_string(solution.cuts.size()) + " cuts, ";
    }
    v.passed = v.failures.empty();
    v.summary = (solution.unattended ? std::string("unattended, ") : solved_text) + idle_text;
    return v;
}

sim_verify_result sim_verify_level(sim_context& ctx, const std::string& level_path)
{
    std::string error, text;
    sim_solution solution;
    if (!sim_read_solution(sim_solution_path(level_path), solution, error) ||
        !sim_level_text(ctx, level_path, text, error)) {
        sim_verify_result failed;
        failed.failures.push_back(error);
        return failed;
    }
    sim_verify_result v = sim_check_level_text(text, level_path, solution);
    auto failed = [&](const std::string& what) { v.failures.push_back(what); };
    v_world world;
    v_level_report report;

    // The recorded solution.
    std::vector<uint8_t> bytes;
    std::string where;
    std::string replay_text;
    if (!sim_read_replay(ctx, level_path, std::string(), bytes, where, error)) {
        failed(error);
    } else if (!sim_load_world(ctx, level_path, v_mode_playback, &bytes, world, report, error)) {
        failed(error);
    } else {
        sim_play_result p = sim_play_to_end(world);
        if (!p.ended)
            failed("replay does not end");
        std::set<int32_t> expected, shown;
        for (const sim_cut& c : solution.cuts)
            expected.insert(c.index);
        for (size_t i = 0; i < world.constraints.size(); ++i)
            if (v_replay_global().cut(i))
                shown.insert(int32_t(i));
        if (expected != shown)
            failed("replay cuts " + std::to_string(shown.size()) + " constraints, the solution " +
                   std::to_string(expected.size()));
        replay_text = "replay " + std::to_string(p.frames) + " frames";
        std::vector<uint8_t> fresh;
        if (!sim_record_solution(ctx, level_path, solution, fresh, error))
            failed(error);
        else if (fresh != bytes)
            failed("the replay is not what the solution records now (re-record it: tamble-sim verify ROOT "
                   "--record)");
    }

    v.passed = v.failures.empty();
    v.summary += ", " + replay_text;
    return v;
}
