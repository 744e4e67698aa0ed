// Measuring a level's difficulty by running many cut schedules headlessly.
#include "tools/sim/sim_difficulty.h"

#include "tools/sim/sim_kept_run.h"

#include <algorithm>
#include <iterator>
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
// share steps with: every this many steps around the moved cut, so that each starts at
// most this many steps early.
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

// The shifts a span of cut k is followed across: [min_delta, max_delta].
struct span_limits {
    int32_t min_delta = 0;
    int32_t max_delta = 0;
};

span_limits limits_of(const std::vector<sim_cut>& cuts, size_t k, bool follow, int32_t max_steps, int32_t reach)
{
    int32_t last_step = follow ? cuts.back().step : cuts[k].step;
    return {-std::min(reach, cuts[k].step), std::min(reach, max_steps - 1 - follow_adjust - last_step)};
}

// One side of the span of shifts around the solution (0) in which the level stays solved:
// from 0 outwards by `dir` to `limit`, the last shift that solves and the failing shifts
// reached across on the way.
struct span_side {
    int32_t edge = 0;
    int32_t misses = 0;
};

span_side extend_span(const sim_kept_run& from, const std::vector<sim_cut>& cuts, size_t k, bool follow,
                      int32_t max_steps, int32_t dir, int32_t limit)
{
    span_side side;
    for (int32_t gap = 0;;) {
        int32_t d = side.edge + dir * (gap + 1);
        if (dir > 0 ? d > limit : d < limit)
            return side;
        if (solves_moved(from, cuts, k, d, follow, max_steps)) {
            side.misses += gap;
            side.edge = d;
            gap = 0;
        } else if (++gap > window_gap) {
            return side;
        }
    }
}

// The steps a window's references keep their world at: every few steps over all the
// places where the schedules of cut k's spans, later cuts following or not, part from them.
std::vector<int32_t> window_keep_steps(const std::vector<sim_cut>& cuts, size_t k, int32_t reach)
{
    std::vector<int32_t> steps;
    for (int32_t t = std::max(0, cuts[k].step - reach - follow_adjust); t <= cuts[k].step + reach;
         t += window_keep_every)
        steps.push_back(t);
    return steps;
}

// The window of cut k. Moving cut k alone, its schedules share their steps with the
// solution without cut k; moving the later cuts with it, with the solution's cuts before k.
sim_cut_window measure_window(const v_world& start, const std::vector<sim_cut>& cuts, size_t k,
                              int32_t max_steps, int32_t reach)
{
    std::vector<int32_t> keep = window_keep_steps(cuts, k, reach);
    sim_cut_window w;
    w.cut = cuts[k];
    {
        std::vector<sim_cut> others = cuts;
        others.erase(others.begin() + std::ptrdiff_t(k));
        sim_kept_run from(start, others, max_steps, keep);
        span_limits l = limits_of(cuts, k, false, max_steps, reach);
        span_side low = extend_span(from, cuts, k, false, max_steps, -1, l.min_delta);
        span_side high = extend_span(from, cuts, k, false, max_steps, 1, l.max_delta);
        w.first = cuts[k].step + low.edge;
        w.last = cuts[k].step + high.edge;
        w.misses = low.misses + high.misses;
        w.open = (low.edge == l.min_delta && l.min_delta == -reach) || high.edge == l.max_delta;
    }
    w.follow_steps = w.steps();
    w.follow_open = w.open;
    if (k + 1 < cuts.size()) {
        sim_kept_run from(start, std::vector<sim_cut>(cuts.begin(), cuts.begin() + std::ptrdiff_t(k)),
                          max_steps, keep);
        span_limits l = limits_of(cuts, k, true, max_steps, reach);
        span_side low = extend_span(from, cuts, k, true, max_steps, -1, l.min_delta);
        span_side high = extend_span(from, cuts, k, true, max_steps, 1, l.max_delta);
        w.follow_steps = high.edge - low.edge + 1;
        w.follow_open = (low.edge == l.min_delta && l.min_delta == -reach) || high.edge == l.max_delta;
    }
    return w;
}

// The times of a search grid: every `every` steps below `horizon`.
std::vector<int32_t> grid_times(int32_t every, int32_t horizon)
{
    std::vector<int32_t> times;
    for (int32_t t = 0; t < horizon; t += every)
        times.push_back(t);
    return times;
}

bool contains(const std::vector<int32_t>& sorted, int32_t value)
{
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

// What the blind searches found among the schedules whose first cut is one constraint at
// one time.
struct blind_hits {
    int32_t singles = 0;
    int32_t pairs = 0;
};

// The blind schedules whose first cut is `first` at step t: the one-cut schedule when t is
// a time of the one-cut grid; when it is a time of the two-cut grid, the pairs that cut a
// higher constraint at t as well and those that cut any other at a later time. They all
// start from the uncut run's world at t, and the pairs with a later second cut from the
// run of the first cut, at the second cut's time; a run decided before the second cut
// decides every pair that goes on from it.
blind_hits search_from(const sim_kept_run& uncut, const std::vector<int32_t>& cuttable, int32_t first, int32_t t,
                       const std::vector<int32_t>& single_times, const std::vector<int32_t>& pair_times,
                       int32_t max_steps)
{
    blind_hits hits;
    bool single = contains(single_times, t), pair = contains(pair_times, t);
    int32_t others = int32_t(cuttable.size()) - 1;
    int32_t higher = int32_t(cuttable.end() - std::upper_bound(cuttable.begin(), cuttable.end(), first));
    int32_t later_times = int32_t(pair_times.end() - std::upper_bound(pair_times.begin(), pair_times.end(), t));
    const v_world* at = uncut.kept_at(t);
    if (!at) {
        // The uncut run ended before the first cut, and every schedule here with it.
        if (sim_counted_verdict(uncut.result()) == v_verdict_solved) {
            hits.singles = single ? 1 : 0;
            hits.pairs = pair ? higher + later_times * others : 0;
        }
        return hits;
    }
    auto solved = [](const sim_run_result& r) { return sim_counted_verdict(r) == v_verdict_solved; };
    if (pair)
        for (int32_t second : cuttable)
            if (second > first)
                hits.pairs += solved(sim_run_on(at->clone(), {{t, first}, {t, second}}, max_steps));
    v_world world = at->clone();
    sim_run_options options;
    options.cuts = {{t, first}};
    options.max_steps = max_steps;
    sim_run_progress progress;
    if (pair) {
        for (int32_t t2 : pair_times) {
            if (t2 <= t)
                continue;
            if (sim_run_world_until(world, options, progress, t2)) {
                hits.pairs += solved(progress.result) ? others : 0;
                continue;
            }
            for (int32_t second : cuttable)
                if (second != first)
                    hits.pairs += solved(sim_run_on(world.clone(), {{t2, second}}, max_steps));
        }
    }
    sim_run_world_until(world, options, progress, INT32_MAX);
    hits.singles = single && solved(progress.result) ? 1 : 0;
    return hits;
}

}  // namespace

sim_tally sim_difficulty::wrong_total() const
{
    sim_tally t;
    for (const sim_wrong_cut& w : wrong) {
        t.tried += w.spoiled.tried;
        t.hits += w.spoiled.hits;
    }
    return t;
}

int32_t sim_difficulty::narrowest() const
{
    int32_t n = 0;
    for (const sim_cut_window& w : windows)
        if (!w.open && (n == 0 || w.steps() < n))
            n = w.steps();
    return n;
}

bool sim_measure_difficulty(sim_context& ctx, const std::string& level, const sim_solution& solution,
                            const sim_difficulty_options& options, sim_difficulty& out, std::string& error)
{
    sim_difficulty d;
    v_world world;
    v_level_report report;
    if (!sim_load_world(ctx, level, v_mode_play, nullptr, world, report, error))
        return false;
    std::vector<int32_t> cuttable;
    for (size_t i = 0; i < world.constraints.size(); ++i)
        if (world.constraints[i]->cuttable())
            cuttable.push_back(int32_t(i));
    for (const v_node* n : world.nodes)
        d.balls += n->color() != 0;
    for (const auto& b : world.bodies)
        d.pots += b->type && b->type->pot_color != 0;
    d.cuttable = int32_t(cuttable.size());
    d.cuts = int32_t(solution.cuts.size());

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

    for (size_t k = 0; k < solution.cuts.size(); ++k)
        d.windows.push_back(measure_window(world, solution.cuts, k, limit, options.window_reach));

    std::vector<int32_t> single_times = grid_times(options.single_grid, d.horizon);
    std::vector<int32_t> pair_times = grid_times(options.pair_grid, d.horizon);
    std::set<int32_t> used;
    for (const sim_cut& c : solution.cuts)
        used.insert(c.index);
    for (int32_t index : cuttable) {
        if (used.count(index))
            continue;
        sim_wrong_cut w;
        w.index = index;
        for (int32_t t : pair_times) {
            std::vector<sim_cut> cuts = solution.cuts;
            cuts.push_back({t, index});
            ++w.spoiled.tried;
            w.spoiled.hits += solved.verdict(cuts, search_steps) != v_verdict_solved;
        }
        d.wrong.push_back(w);
    }

    // Every blind schedule starts from the uncut run, kept at every time of either grid.
    std::vector<int32_t> first_times;
    std::set_union(single_times.begin(), single_times.end(), pair_times.begin(), pair_times.end(),
                   std::back_inserter(first_times));
    sim_kept_run uncut(world, {}, search_steps, first_times);
    int32_t n = int32_t(cuttable.size());
    d.singles.tried = n * int32_t(single_times.size());
    d.pairs.tried = n * (n - 1) / 2 * int32_t(pair_times.size() * pair_times.size());
    for (int32_t first : cuttable)
        for (int32_t t : first_times) {
            blind_hits h = search_from(uncut, cuttable, first, t, single_times, pair_times, search_steps);
            d.singles.hits += h.singles;
            d.pairs.hits += h.pairs;
        }
    out = std::move(d);
    return true;
}

int32_t sim_rate_difficulty(const sim_difficulty& d)
{
    // Thinking: each further cut is one more decision of what and in which order.
    double r = 1.0 + std::min(d.cuts - 1, 3);
    r += d.balls >= 3 ? 1.5 : d.balls == 2 ? 1.0 : 0.0;
    // Timing, as a player meets it (each cut timed after the one before): the narrowest
    // window decides, every further window under half a second adds half a star, at most one.
    double tightest = 0.0, more = 0.0;
    for (const sim_cut_window& w : d.windows) {
        int32_t steps = std::max(w.steps(), w.follow_steps);
        if (w.open || w.follow_open)
            continue;
        double s = double(steps) / steps_per_second;
        double t = s < 0.25 ? 3.0 : s < 0.5 ? 2.0 : s < 1.0 ? 1.0 : s < 2.0 ? 0.5 : 0.0;
        if (t >= 2.0 && tightest >= 2.0)
            more += 0.5;
        tightest = std::max(tightest, t);
    }
    r += tightest + std::min(more, 1.0);
    // A wrong cut that ruins the level asks the player to think before cutting.
    sim_tally wrong = d.wrong_total();
    if (wrong.tried > 0 && wrong.hits * 2 > wrong.tried)
        r += 0.5;
    // Luck: a level that blind schedules solve often is easier than its solution looks.
    if (d.singles.tried > 0 && d.singles.hits * 2 > d.singles.tried)
        r -= 1.0;
    if (d.cuts >= 2 && d.pairs.tried > 0 && d.pairs.hits * 10 > d.pairs.tried)
        r -= 1.0;
    int32_t rating = int32_t(r + 0.5);
    return std::clamp(rating, 1, 8);
}

namespace {

std::string seconds_text(int32_t steps)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", double(steps) / steps_per_second);
    return buf;
}

std::string tally_text(const sim_tally& t)
{
    return t.tried ? std::to_string(t.hits) + "/" + std::to_string(t.tried) : "-";
}

}  // namespace

void sim_print_difficulty_header(std::FILE* out)
{
    std::fprintf(out, "%-24s %5s %5s %4s %5s %6s  %-22s %9s %9s %11s\n", "level", "given", "meas", "cuts",
                 "balls", "solved", "windows (s)", "wrong", "1-cut", "2-cut");
}

void sim_print_difficulty_row(std::FILE* out, const std::string& name, int32_t given, const sim_difficulty& d)
{
    std::string windows;
    for (const sim_cut_window& w : d.windows)
        windows += (windows.empty() ? "" : " ") + (w.open ? std::string("any") : seconds_text(w.steps()));
    if (windows.empty())
        windows = "-";
    int32_t rating = sim_rate_difficulty(d);
    std::string given_text = given > 0 ? std::to_string(given) : "-";
    // A rating three half stars away from the measured one deserves a second look.
    const char* flag = given > 0 && (given - rating >= 3 || rating - given >= 3) ? " !" : "";
    std::fprintf(out, "%-24s %5s %5d %4d %5d %6s  %-22s %9s %9s %11s%s\n", name.c_str(), given_text.c_str(),
                 rating, d.cuts, d.balls, seconds_text(d.solved_step).c_str(), windows.c_str(),
                 tally_text(d.wrong_total()).c_str(), tally_text(d.singles).c_str(),
                 tally_text(d.pairs).c_str(), flag);
}

void sim_print_difficulty_detail(std::FILE* out, const sim_difficulty& d)
{
    std::fprintf(out,
                 "%d balls, %d pots, %d cuttable constraints; the solution cuts %d times and solves at step "
                 "%d (%s s)\n",
                 d.balls, d.pots, d.cuttable, d.cuts, d.solved_step, seconds_text(d.solved_step).c_str());
    for (const sim_cut_window& w : d.windows)
        std::fprintf(out,
                     "  cut %d at step %d: solves from step %d to %d%s (%s s%s; %s s%s with the later cuts "
                     "following)\n",
                     w.cut.index, w.cut.step, w.first, w.last,
                     w.misses ? (", missing " + std::to_string(w.misses) + " lone steps").c_str() : "",
                     seconds_text(w.steps()).c_str(), w.open ? " or more" : "",
                     seconds_text(w.follow_steps).c_str(), w.follow_open ? " or more" : "");
    for (const sim_wrong_cut& w : d.wrong)
        std::fprintf(out, "  cutting %d as well spoils the solution at %d of %d times\n", w.index,
                     w.spoiled.hits, w.spoiled.tried);
    std::fprintf(out, "  blind search before step %d: %s one-cut and %s two-cut schedules solve it\n",
                 d.horizon, tally_text(d.singles).c_str(), tally_text(d.pairs).c_str());
    std::fprintf(out, "  measured difficulty: %d half stars\n", sim_rate_difficulty(d));
}
