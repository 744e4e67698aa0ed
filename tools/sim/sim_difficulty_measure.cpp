// Measuring a level's difficulty by running many cut schedules headlessly. The schedules
// branch from kept worlds of the runs they share their first steps with, and run on every
// core; each one's verdict is what running it alone from step 0 gives.
#include "tools/sim/sim_difficulty.h"

#include "physics/sound_hooks.h"
#include "tools/sim/sim_kept_run.h"
#include "tools/sim/sim_tasks.h"

#include <algorithm>
#include <memory>
#include <set>

namespace {

// How far a player re-times the cuts that follow a moved one, by what the moved cut set
// in motion: the later cuts may all come up to this many steps earlier or later still.
constexpr int32_t follow_adjust = 30;
constexpr int32_t follow_adjust_grid = 10;

// Failing steps a window reaches across when solving steps follow them: a lone step or two
// where a ball clips a rim by chance is luck, not a narrower window, as no hand aims a cut
// to a fiftieth of a second.
constexpr int32_t window_gap = 4;

// A window's schedules start from the world kept last before they part from the run they
// share steps with: kept every this many steps around the moved cut.
constexpr int32_t window_keep_every = 5;

// The solution with cut k moved by `delta` steps and, with `follow`, every later cut by
// `delta + adjust`.
std::vector<sim_cut> moved(std::vector<sim_cut> cuts, size_t k, int32_t delta, bool follow, int32_t adjust)
{
    cuts[k].step += delta;
    if (follow)
        for (size_t i = k + 1; i < cuts.size(); ++i)
            cuts[i].step = std::max(0, cuts[i].step + delta + adjust);
    return cuts;
}

bool solves(const sim_kept_run& from, const std::vector<sim_cut>& cuts, int32_t max_steps)
{
    return from.verdict(cuts, max_steps) == v_verdict_solved;
}

bool solves_moved(const sim_kept_run& from, const std::vector<sim_cut>& cuts, size_t k, int32_t delta,
                  bool follow, int32_t max_steps)
{
    if (solves(from, moved(cuts, k, delta, follow, 0), max_steps))
        return true;
    if (!follow || k + 1 == cuts.size())
        return false;
    for (int32_t a = follow_adjust_grid; a <= follow_adjust; a += follow_adjust_grid)
        if (solves(from, moved(cuts, k, delta, true, -a), max_steps) ||
            solves(from, moved(cuts, k, delta, true, a), max_steps))
            return true;
    return false;
}

// One side of the span of shifts of cut k around the solution (0) in which the level stays
// solved: from 0 outwards by `dir` up to `limit`, the last shift that solves, across runs of
// at most window_gap failing shifts, which are counted.
struct span_side {
    const sim_kept_run* from = nullptr;
    bool follow = false;
    int32_t dir = 0;
    int32_t limit = 0;
    int32_t edge = 0;
    int32_t misses = 0;

    void search(const std::vector<sim_cut>& cuts, size_t k, int32_t max_steps)
    {
        for (int32_t gap = 0;;) {
            int32_t d = edge + dir * (gap + 1);
            if (dir > 0 ? d > limit : d < limit)
                return;
            if (solves_moved(*from, cuts, k, d, follow, max_steps)) {
                misses += gap;
                edge = d;
                gap = 0;
            } else if (++gap > window_gap) {
                return;
            }
        }
    }
};

// The shifts a span of cut k is followed across.
struct span_limits {
    int32_t min_delta = 0;
    int32_t max_delta = 0;
};

span_limits limits_of(const std::vector<sim_cut>& cuts, size_t k, bool follow, int32_t max_steps,
                      int32_t reach)
{
    int32_t last_step = follow ? cuts.back().step : cuts[k].step;
    return {-std::min(reach, cuts[k].step), std::min(reach, max_steps - 1 - follow_adjust - last_step)};
}

// The steps a window's runs keep their world at: every few steps over all the places where
// the schedules of cut k's spans, later cuts following or not, part from them.
std::vector<int32_t> window_keep_steps(const std::vector<sim_cut>& cuts, size_t k, int32_t reach)
{
    std::vector<int32_t> steps;
    for (int32_t t = std::max(0, cuts[k].step - reach - follow_adjust); t <= cuts[k].step + reach;
         t += window_keep_every)
        steps.push_back(t);
    return steps;
}

// The spans of one cut of the solution: moving cut k alone, its schedules share their steps
// with the solution without cut k; moving the later cuts with it, with the solution's cuts
// before k (the follow span exists only when later cuts do).
struct window_search {
    size_t k = 0;
    span_limits plain_limits, follow_limits;
    std::unique_ptr<sim_kept_run> plain_from, follow_from;
    std::vector<span_side> sides;  // plain low, plain high, then follow low, follow high

    void make_sides()
    {
        sides.push_back({plain_from.get(), false, -1, plain_limits.min_delta});
        sides.push_back({plain_from.get(), false, 1, plain_limits.max_delta});
        if (follow_from) {
            sides.push_back({follow_from.get(), true, -1, follow_limits.min_delta});
            sides.push_back({follow_from.get(), true, 1, follow_limits.max_delta});
        }
    }

    sim_cut_window window(const std::vector<sim_cut>& cuts, int32_t reach) const
    {
        auto open = [reach](const span_side& low, const span_side& high, const span_limits& l) {
            return (low.edge == l.min_delta && l.min_delta == -reach) || high.edge == l.max_delta;
        };
        sim_cut_window w;
        w.cut = cuts[k];
        w.first = cuts[k].step + sides[0].edge;
        w.last = cuts[k].step + sides[1].edge;
        w.misses = sides[0].misses + sides[1].misses;
        w.open = open(sides[0], sides[1], plain_limits);
        w.follow_steps = w.steps();
        w.follow_open = w.open;
        if (sides.size() == 4) {
            w.follow_steps = sides[3].edge - sides[2].edge + 1;
            w.follow_open = open(sides[2], sides[3], follow_limits);
        }
        return w;
    }
};

// The times of a search grid: every `every` steps below `horizon`.
std::vector<int32_t> grid_times(int32_t every, int32_t horizon)
{
    std::vector<int32_t> times;
    for (int32_t t = 0; t < horizon; t += every)
        times.push_back(t);
    return times;
}

// The measuring worlds make no sound: their collisions are not the player's, and the
// sound module is not to be reached from the search threads.
class silence_guard {
public:
    silence_guard() : previous(&v_sounds()) { v_set_sounds(nullptr); }
    ~silence_guard() { v_set_sounds(previous); }
    silence_guard(const silence_guard&) = delete;
    silence_guard& operator=(const silence_guard&) = delete;

private:
    v_sound_hooks* previous;
};

}  // namespace

bool sim_measure_difficulty(sim_context& ctx, const std::string& level, const sim_solution& solution,
                            const sim_difficulty_options& options, sim_difficulty& out, std::string& error)
{
    v_world world;
    v_level_report report;
    if (!sim_load_world(ctx, level, v_mode_play, nullptr, world, report, error))
        return false;
    silence_guard silence;
    return sim_measure_world_difficulty(world, solution, options, out, error);
}

bool sim_measure_world_difficulty(const v_world& world, const sim_solution& solution,
                                  const sim_difficulty_options& options, sim_difficulty& out, std::string& error)
{
    sim_difficulty d;
    std::vector<int32_t> cuttable;
    for (size_t i = 0; i < world.constraints.size(); ++i)
        if (world.constraints[i]->cuttable())
            cuttable.push_back(int32_t(i));
    d.balls = sim_balls_in_play(world);
    for (const auto& b : world.bodies)
        d.pots += b->type && b->type->pot_color != 0;
    d.cuttable = int32_t(cuttable.size());
    d.cuts = int32_t(solution.cuts.size());

    int32_t threads = sim_thread_count(options.threads);
    int32_t limit = int32_t(solution.seconds) * steps_per_second;
    // The solution's run keeps its world at the times the wrong cuts are tried.
    sim_kept_run solved(world, solution.cuts, limit, grid_times(options.pair_grid, limit));
    if (sim_counted_verdict(solved.result()) != v_verdict_solved) {
        error = "the solution does not solve the level";
        return false;
    }
    d.solved_step = solved.result().decided_step;
    // Searched schedules may take a little longer than the solution, not forever: a ball
    // left hanging would otherwise run every search to the full limit.
    int32_t search_steps = std::min(limit, d.solved_step + options.slack_steps);
    d.horizon = d.solved_step;
    std::vector<int32_t> pair_times = grid_times(options.pair_grid, d.horizon);
    sim_blind_options blind_options;
    blind_options.single_grid = options.single_grid;
    blind_options.pair_grid = options.pair_grid;
    blind_options.horizon = d.horizon;
    blind_options.max_steps = search_steps;
    sim_blind_search blind(world, {}, cuttable, blind_options);

    // First the runs that the others branch from (the uncut run of the blind search; each
    // window's two), and the wrong cuts, which branch from the solution.
    const std::vector<sim_cut>& cuts = solution.cuts;
    std::vector<std::function<void()>> tasks;
    tasks.push_back([&] { blind.prepare(); });
    std::vector<window_search> windows(cuts.size());
    for (size_t k = 0; k < cuts.size(); ++k) {
        window_search& w = windows[k];
        w.k = k;
        w.plain_limits = limits_of(cuts, k, false, limit, options.window_reach);
        w.follow_limits = limits_of(cuts, k, true, limit, options.window_reach);
        tasks.push_back([&, k] {
            std::vector<sim_cut> others = cuts;
            others.erase(others.begin() + std::ptrdiff_t(k));
            w.plain_from = std::make_unique<sim_kept_run>(world, others, limit,
                                                          window_keep_steps(cuts, k, options.window_reach));
        });
        if (k + 1 < cuts.size())
            tasks.push_back([&, k] {
                std::vector<sim_cut> before(cuts.begin(), cuts.begin() + std::ptrdiff_t(k));
                w.follow_from = std::make_unique<sim_kept_run>(
                    world, before, limit, window_keep_steps(cuts, k, options.window_reach));
            });
    }
    std::set<int32_t> used;
    for (const sim_cut& c : cuts)
        used.insert(c.index);
    for (int32_t index : cuttable)
        if (!used.count(index))
            d.wrong.push_back({index, {int32_t(pair_times.size()), 0}});
    std::vector<char> spoiled(d.wrong.size() * pair_times.size());
    for (size_t i = 0; i < d.wrong.size(); ++i)
        for (size_t j = 0; j < pair_times.size(); ++j)
            tasks.push_back([&, i, j] {
                std::vector<sim_cut> more = cuts;
                more.push_back({pair_times[j], d.wrong[i].index});
                spoiled[i * pair_times.size() + j] = solved.verdict(more, search_steps) != v_verdict_solved;
            });
    sim_run_tasks(tasks, threads);
    for (size_t i = 0; i < d.wrong.size(); ++i)
        for (size_t j = 0; j < pair_times.size(); ++j)
            d.wrong[i].spoiled.hits += spoiled[i * pair_times.size() + j];

    // Then, in one batch, the sides of the windows (each searched one shift after another,
    // so started first) and the blind searches, a task for each first cut and time, the
    // earliest (and longest) first.
    tasks.clear();
    for (window_search& w : windows) {
        w.make_sides();
        for (span_side& side : w.sides)
            tasks.push_back([&, k = w.k] { side.search(cuts, k, limit); });
    }
    blind.add_tasks(tasks);
    sim_run_tasks(tasks, threads);
    for (const window_search& w : windows)
        d.windows.push_back(w.window(cuts, options.window_reach));
    blind.finish();
    d.singles = blind.singles;
    d.pairs = blind.pairs;
    out = std::move(d);
    return true;
}
