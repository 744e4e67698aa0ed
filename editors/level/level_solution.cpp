// Solution files and replays of solved test runs.
#include "editors/level/level_solution.h"

#include "app/file_io.h"
#include "data/script_text.h"
#include "physics/level.h"
#include "sound/sound.h"
#include "tools/sim/sim_run.h"

#include <algorithm>

namespace {

int32_t solution_seconds(const le_solved_run& run)
{
    // Two seconds past the catch, so the check's run and the replay's tail both fit.
    return (run.solved_step + steps_per_second - 1) / steps_per_second + le_solution_slack_seconds;
}

}  // namespace

std::string le_solution_text(const le_solved_run& run)
{
    std::vector<le_cut> cuts = run.cuts;
    std::stable_sort(cuts.begin(), cuts.end(), [](const le_cut& a, const le_cut& b) { return a.step < b.step; });
    std::string text = "# cuts of a test run in the level editor: STEP:CONSTRAINT\n";
    for (const le_cut& c : cuts)
        text += std::to_string(c.step) + ":" + std::to_string(c.index) + "\n";
    text += "seconds " + std::to_string(solution_seconds(run)) + "\n";
    return text;
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
