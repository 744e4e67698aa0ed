// Measuring a level's difficulty by running many cut schedules headlessly.
#include "tools/sim/sim_difficulty.h"

#include "tools/sim/sim_run.h"

#include <algorithm>
#include <set>

namespace {

// Runs schedules on clones of one level's world as loaded, so that the level is read and
// built once rather than once a schedule.
class schedule_runner {
public:
    explicit schedule_runner(const v_world& w) : start(w) {}

    // The verdict of the schedule within max_steps; `decided` gets the deciding step.
    // A schedule whose cut is refused or whose scene blows up counts as failed.
    int32_t run(std::vector<sim_cut> cuts, int32_t max_steps, int32_t* decided = nullptr)
    {
        v_world world = start.clone();
        sim_sort_cuts(cuts);
        sim_run_options options;
        options.cuts = std::move(cuts);
        options.max_steps = max_steps;
        sim_run_result r = sim_run_world(world, options);
        if (decided)
            *decided = r.decided_step;
        return r.ok ? r.verdict : v_verdict_failed;
    }

    bool solves(const std::vector<sim_cut>& cuts, int32_t max_steps)
    {
        return run(cuts, max_steps) == v_verdict_solved;
    }

private:
    const v_world& start;
};

// How far a player re-times the cuts that follow a moved one, by what the moved cut set
// in motion: the later cuts may all come up to this many steps earlier or later still.
constexpr int32_t follow_adjust = 30;
constexpr int32_t follow_adjust_grid = 10;

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

bool solves_moved(schedule_runner& runner, const std::vector<sim_cut>& cuts, size_t k, int32_t delta,
                  bool follow, int32_t max_steps)
{
    if (runner.solves(moved(cuts, k, delta, follow, 0), max_steps))
        return true;
    if (!follow || k + 1 == cuts.size())
        return false;
    for (int32_t a = follow_adjust_grid; a <= follow_adjust; a += follow_adjust_grid)
        if (runner.solves(moved(cuts, k, delta, true, -a), max_steps) ||
            runner.solves(moved(cuts, k, delta, true, a), max_steps))
            return true;
    return false;
}

// Failing steps a window reaches across when solving steps follow them: a lone step or two
// where a ball clips a rim by chance is luck, not a narrower window, as no hand aims a cut
// to a fiftieth of a second.
constexpr int32_t window_gap = 4;

// Follows the span of shifts around the solution (0) in which the level stays solved:
// [low, high] with `open` when the span reached the reach on a side, and `misses` the
// failing shifts inside it.
void measure_span(schedule_runner& runner, const std::vector<sim_cut>& cuts, size_t k, bool follow,
                  int32_t max_steps, int32_t reach, int32_t& low, int32_t& high, bool& open, int32_t& misses)
{
    int32_t last_step = follow ? cuts.back().step : cuts[k].step;
    int32_t min_delta = -std::min(reach, cuts[k].step);
    int32_t max_delta = std::min(reach, max_steps - 1 - follow_adjust - last_step);
    misses = 0;
    // From `edge` (solving) outwards by `dir` to `limit`: the last shift that solves.
    auto extend = [&](int32_t edge, int32_t dir, int32_t limit) {
        for (int32_t gap = 0;;) {
            int32_t d = edge + dir * (gap + 1);
            if (dir > 0 ? d > limit : d < limit)
                return edge;
            if (solves_moved(runner, cuts, k, d, follow, max_steps)) {
                misses += gap;
                edge = d;
                gap = 0;
            } else if (++gap > window_gap) {
                return edge;
            }
        }
    };
    low = extend(0, -1, min_delta);
    high = extend(0, 1, max_delta);
    open = (low == min_delta && min_delta == -reach) || high == max_delta;
}

sim_cut_window measure_window(schedule_runner& runner, const std::vector<sim_cut>& cuts, size_t k,
                              int32_t max_steps, int32_t reach)
{
    sim_cut_window w;
    w.cut = cuts[k];
    int32_t low = 0, high = 0, misses = 0;
    measure_span(runner, cuts, k, false, max_steps, reach, low, high, w.open, w.misses);
    w.first = cuts[k].step + low;
    w.last = cuts[k].step + high;
    w.follow_steps = w.steps();
    w.follow_open = w.open;
    if (k + 1 < cuts.size()) {
        measure_span(runner, cuts, k, true, max_steps, reach, low, high, w.follow_open, misses);
        w.follow_steps = high - low + 1;
    }
    return w;
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

    schedule_runner runner(world);
    int32_t limit = int32_t(solution.seconds) * steps_per_second;
    if (runner.run(solution.cuts, limit, &d.solved_step) != v_verdict_solved) {
        error = "the solution does not solve the level";
        return false;
    }
    // Searched schedules may take a little longer than the solution, not forever: a ball
    // left hanging would otherwise run every search to the full limit.
    int32_t search_steps = std::min(limit, d.solved_step + options.slack_steps);
    d.horizon = d.solved_step;

    for (size_t k = 0; k < solution.cuts.size(); ++k)
        d.windows.push_back(measure_window(runner, solution.cuts, k, limit, options.window_reach));

    std::set<int32_t> used;
    for (const sim_cut& c : solution.cuts)
        used.insert(c.index);
    for (int32_t index : cuttable) {
        if (used.count(index))
            continue;
        sim_wrong_cut w;
        w.index = index;
        for (int32_t t = 0; t < d.horizon; t += options.pair_grid) {
            std::vector<sim_cut> cuts = solution.cuts;
            cuts.push_back({t, index});
            ++w.spoiled.tried;
            w.spoiled.hits += !runner.solves(cuts, search_steps);
        }
        d.wrong.push_back(w);
    }

    for (int32_t index : cuttable)
        for (int32_t t = 0; t < d.horizon; t += options.single_grid) {
            ++d.singles.tried;
            d.singles.hits += runner.solves({{t, index}}, search_steps);
        }
    for (size_t a = 0; a < cuttable.size(); ++a)
        for (size_t b = a + 1; b < cuttable.size(); ++b)
            for (int32_t ta = 0; ta < d.horizon; ta += options.pair_grid)
                for (int32_t tb = 0; tb < d.horizon; tb += options.pair_grid) {
                    ++d.pairs.tried;
                    d.pairs.hits += runner.solves({{ta, cuttable[a]}, {tb, cuttable[b]}}, search_steps);
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
