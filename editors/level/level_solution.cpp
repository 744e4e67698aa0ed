// Solution files and replays of solved test runs.
#include "editors/level/level_solution.h"

#include "app/file_io.h"
#include "data/script_text.h"
#include "physics/level.h"
#include "physics/sound_hooks.h"
#include "sound/sound.h"
#include "tools/sim/sim_difficulty.h"
#include "tools/sim/sim_run.h"
#include "tools/sim/sim_verify.h"

#include <algorithm>
#include <cstdio>

namespace {

int32_t solution_seconds(const le_solved_run& run)
{
    // Two seconds past the catch, so the check's run and the replay's tail both fit.
    return (run.solved_step + steps_per_second - 1) / steps_per_second + le_solution_slack_seconds;
}

}  // namespace

sim_solution le_solution_of(const le_solved_run& run)
{
    sim_solution solution;
    for (const le_cut& c : run.cuts)
        solution.cuts.push_back({c.step, c.index});
    sim_sort_cuts(solution.cuts);
    solution.seconds = float(solution_seconds(run));
    return solution;
}

std::string le_solution_text(const le_solved_run& run)
{
    sim_solution solution = le_solution_of(run);
    std::string text = "# cuts of a test run in the level editor: STEP:CONSTRAINT\n";
    for (const sim_cut& c : solution.cuts)
        text += std::to_string(c.step) + ":" + std::to_string(c.index) + "\n";
    text += "seconds " + std::to_string(solution_seconds(run)) + "\n";
    return text;
}

bool le_check_level(const std::string& level_text, const le_solved_run& run, std::string& summary,
                    std::string& detail)
{
    sim_solution solution = le_solution_of(run);
    sim_verify_result v = sim_check_level_text(level_text, "the edit level", solution);
    if (!v.passed) {
        summary = "The check fails: " + v.failures.front();
        detail = "The solution check fails:";
        for (const std::string& f : v.failures)
            detail += "\n- " + f;
        return false;
    }
    v_world world;
    v_level_report report;
    if (!v_level_load_text(world, level_text.c_str(), nullptr, &report)) {
        summary = detail = "The level does not parse.";
        return false;
    }
    sim_difficulty measured;
    std::string error;
    // The measuring worlds' collisions are not the designer's: they make no sound.
    v_sound_hooks* hooks = &v_sounds();
    v_set_sounds(nullptr);
    bool measured_ok = sim_measure_world_difficulty(world, solution, sim_difficulty_options(), measured, error);
    v_set_sounds(hooks);
    if (!measured_ok) {
        summary = detail = "The difficulty cannot be measured: " + error;
        return false;
    }
    int32_t rating = sim_rate_difficulty(measured);
    summary = "Checked: " + v.summary + ". Measured difficulty " + std::to_string(rating) + " half stars.";
    // The report's own words for the detail, as tamble-sim report prints them.
    detail = "The solution check passes: " + v.summary + ".\n";
    if (std::FILE* out = std::tmpfile()) {
        sim_print_difficulty_detail(out, measured);
        std::rewind(out);
        char line[512];
        while (std::fgets(line, sizeof line, out))
            detail += line;
        std::fclose(out);
    }
    return true;
}

bool le_record_solution(const std::string& level_text, const le_solved_run& run, std::vector<uint8_t>& bytes,
                        std::string& error)
{
    script_symbol_table symbols;
    script_handle root = script_handle::fresh(&symbols);
    if (!script_parser(root).parse(level_text.c_str())) {
        error = "the level text does not parse";
        return false;
    }
    v_replay& replay = v_replay_global();
    // Collisions and catches are recorded by name through the sound module, as the solution
    // check records them; the editor keeps the seam connected anyway.
    sound_connect_world(&replay);
    v_world world = v_world_from_level(v_mode_record, root, replay);
    sim_run_options options;
    for (const le_cut& c : run.cuts)
        options.cuts.push_back({c.step, c.index});
    sim_sort_cuts(options.cuts);
    options.max_steps = solution_seconds(run) * steps_per_second;
    options.tail_steps = steps_per_second;
    // The run's collisions are recorded by name, not heard: a burst of thirty seconds of
    // sounds at once would only be noise.
    float volume = sound_volume();
    set_sound_volume(0.0f);
    sim_run_result result = sim_run_world(world, options);
    set_sound_volume(volume);
    if (!result.ok) {
        error = result.problem;
        return false;
    }
    if (result.verdict != v_verdict_solved) {
        error = "the cuts no longer solve the level";
        return false;
    }
    if (replay.stream.empty() || replay.overflowed) {
        error = "nothing could be recorded";
        return false;
    }
    bytes = replay.chunk_bytes();
    return true;
}

bool le_save_solution(const std::string& level_path, const le_solved_run& run, std::string& error)
{
    std::vector<uint8_t> bytes;
    if (!le_record_solution(run.text, run, bytes, error))
        return false;
    std::string solution = le_solution_text(run);
    std::string solution_path = sim_solution_path(level_path);
    if (!file_write_replacing(solution_path, solution.data(), solution.size(), &error)) {
        error = solution_path + ": " + error;
        return false;
    }
    std::string replay_path = v_level_replay_path(level_path);
    if (!v_replay_global().save(replay_path.c_str())) {
        error = "cannot write " + replay_path;
        return false;
    }
    return true;
}
