// The generator's rules for one candidate, cheapest first, and the search for its solution.
#include "tools/sim/sim_judge.h"

#include "tools/sim/sim_blind_search.h"
#include "tools/sim/sim_run.h"

#include <algorithm>
#include <cmath>
#include <map>

const char* sim_reject_text(sim_reject r)
{
    switch (r) {
    case sim_reject::none:
        return "kept";
    case sim_reject::placement:
        return "no place for a piece";
    case sim_reject::load:
        return "does not load cleanly";
    case sim_reject::outside:
        return "starts outside the playfield";
    case sim_reject::unsettled:
        return "moves before the first cut";
    case sim_reject::blows_up:
        return "blows up";
    case sim_reject::idle:
        return "solved without cuts";
    case sim_reject::single_cuts:
        return "solved by too many single cuts";
    case sim_reject::unsolved:
        return "no solution found";
    case sim_reject::window:
        return "a cut too hard to time";
    case sim_reject::difficulty:
        return "rated outside the range";
    case sim_reject::similar:
        return "too like another level";
    case sim_reject::count:
        break;
    }
    return "?";
}

namespace {

// Without cuts a kept level must stay unsolved this long, as verify asks.
constexpr int32_t idle_seconds = 30;

int32_t steps_of(double seconds)
{
    return int32_t(std::lround(seconds * steps_per_second));
}

bool listed(const std::vector<int32_t>& list, int32_t i)
{
    return std::find(list.begin(), list.end(), i) != list.end();
}

// The first piece that moves further than `distance` within `steps` without cuts, or "".
std::string settling_problem(const v_world& start, const std::vector<int32_t>& moving_nodes,
                             const std::vector<int32_t>& moving_bodies, int32_t steps, double distance)
{
    struct watched {
        const v_node* node;
        vec2 from;
        std::string what;
    };
    v_world world = start.clone();
    std::vector<watched> points;
    for (size_t i = 0; i < world.loaded_nodes.size(); ++i) {
        const v_node* n = world.loaded_nodes[i].get();
        // A ball is always watched: a ball that moves by itself plays the level for the player.
        if (!listed(moving_nodes, int32_t(i)) || n->color() != 0)
            points.push_back({n, n->position,
                              "free node " + std::to_string(i) + (n->type ? " (" + n->type->name + ")" : "")});
    }
    for (size_t b = 0; b < world.bodies.size(); ++b) {
        if (listed(moving_bodies, int32_t(b)))
            continue;
        const v_body& body = *world.bodies[b];
        for (const v_node& n : body.nodes)
            points.push_back({&n, n.position,
                              "body " + std::to_string(b) + (body.type ? " (" + body.type->name + ")" : "")});
    }
    float limit = float(distance * distance);
    for (int32_t s = 0; s < steps; ++s) {
        world.step();
        for (const watched& w : points) {
            vec2 d = w.node->position - w.from;
            if (d.x * d.x + d.y * d.y > limit) {
                char buf[96];
                std::snprintf(buf, sizeof buf, " moved %.2f units by step %d", std::sqrt(double(d.x * d.x + d.y * d.y)),
                              world.step_count);
                return w.what + buf;
            }
        }
    }
    return {};
}

std::string schedule_text(const std::vector<sim_cut>& cuts)
{
    std::string s;
    for (const sim_cut& c : cuts)
        s += (s.empty() ? "" : " ") + std::to_string(c.step) + ":" + std::to_string(c.index);
    return s;
}

// Schedules found by the search, grouped by the constraints they cut in order; in each
// group the one most surrounded by others that solve too (the middle of its window), so
// that the cuts chosen leave room on either side.
struct schedule_group {
    std::vector<int32_t> order;
    std::vector<const sim_found_schedule*> members;
    const sim_found_schedule* best = nullptr;
    int32_t score = 0;
};

std::vector<int32_t> order_of(const std::vector<sim_cut>& cuts)
{
    std::vector<int32_t> order;
    for (const sim_cut& c : cuts)
        order.push_back(c.index);
    return order;
}

std::vector<schedule_group> group_schedules(const std::vector<const sim_found_schedule*>& schedules,
                                            int32_t reach)
{
    std::map<std::vector<int32_t>, schedule_group> groups;
    for (const sim_found_schedule* s : schedules) {
        schedule_group& g = groups[order_of(s->cuts)];
        g.order = order_of(s->cuts);
        g.members.push_back(s);
    }
    std::vector<schedule_group> out;
    for (auto& [order, g] : groups) {
        for (const sim_found_schedule* s : g.members) {
            int32_t score = 0;
            for (const sim_found_schedule* o : g.members) {
                bool near = true;
                for (size_t k = 0; k < s->cuts.size(); ++k)
                    near = near && std::abs(o->cuts[k].step - s->cuts[k].step) <= reach;
                score += near;
            }
            // Ties go to the earlier schedule: found schedules come in time order.
            if (score > g.score) {
                g.score = score;
                g.best = s;
            }
        }
        out.push_back(std::move(g));
    }
    std::stable_sort(out.begin(), out.end(), [](const schedule_group& a, const schedule_group& b) {
        if (a.order.size() != b.order.size())
            return a.order.size() < b.order.size();
        return a.score > b.score;
    });
    return out;
}

class solution_search {
public:
    solution_search(const v_world& level, std::vector<int32_t> cuttable_list, const sim_judge_options& judge_options,
                    sim_judgement& result)
        : world(level), cuttable(std::move(cuttable_list)), options(judge_options), out(result)
    {}

    // Searches from a prefix of cuts; true once a solution with windows a person can hit is
    // in `out`. At the top, also applies the single-cut rule.
    bool search(const std::vector<sim_cut>& prefix, int32_t from, bool top)
    {
        const sim_generate_rules& r = options.rules;
        int32_t room = r.max_cuts - int32_t(prefix.size());
        if (room < 1 || over_budget())
            return false;
        sim_blind_options blind;
        blind.single_grid = r.single_grid;
        blind.pair_grid = r.pair_grid;
        blind.from = from;
        blind.horizon = steps_of(r.search_seconds);
        blind.max_steps = blind.horizon + steps_of(r.slack_seconds);
        blind.collect = true;
        // Single cuts first: a level that one cut solves needs no pairs searched.
        blind.pairs = false;
        std::vector<sim_found_schedule> found = run(prefix, blind);
        if (top) {
            out.single_share = singles_tried ? double(singles_hits) / double(singles_tried) : 0.0;
            if (out.single_share > r.single_share) {
                reject(sim_reject::single_cuts, std::to_string(singles_hits) + " of " +
                                                    std::to_string(singles_tried) + " one-cut schedules solve it");
                return false;
            }
        }
        if (try_solutions(prefix, found))
            return true;
        if (room >= 2 && !over_budget()) {
            blind.pairs = true;
            found = run(prefix, blind);
            if (try_solutions(prefix, found))
                return true;
        }
        // Follow the best schedules that catch a ball and lose none.
        std::vector<const sim_found_schedule*> partial;
        for (const sim_found_schedule& s : found)
            if (!s.solved && int32_t(prefix.size() + s.cuts.size()) < r.max_cuts)
                partial.push_back(&s);
        std::vector<schedule_group> groups = group_schedules(partial, 2 * r.pair_grid);
        int32_t followed = 0;
        for (const schedule_group& g : groups) {
            if (followed++ >= r.follow)
                break;
            std::vector<sim_cut> longer = prefix;
            longer.insert(longer.end(), g.best->cuts.begin(), g.best->cuts.end());
            if (search(longer, g.best->cuts.back().step, false))
                return true;
        }
        return false;
    }

    // A candidate whose search grows past the budget (many cuttable constraints, long
    // partial solutions) is given up as unsolved, so that one candidate cannot hold a core
    // for minutes while the others wait for its judgement.
    bool over_budget()
    {
        budget_spent = budget_spent || schedules >= options.rules.max_schedules;
        return budget_spent;
    }

    int64_t schedules = 0;
    bool budget_spent = false;
    bool window_missed = false;
    std::string window_detail;

private:
    std::vector<sim_found_schedule> run(const std::vector<sim_cut>& prefix, const sim_blind_options& blind)
    {
        sim_blind_search search(world, prefix, cuttable, blind);
        // The pairs grow with the square of the cuttable constraints: a search that would
        // overrun the budget is not begun.
        if (blind.pairs && schedules + search.singles.tried + search.pairs.tried > options.rules.max_schedules) {
            budget_spent = true;
            return {};
        }
        std::vector<std::function<void()>> tasks;
        search.prepare();
        search.add_tasks(tasks);
        for (const auto& task : tasks) {
            if (options.stop && options.stop->load(std::memory_order_relaxed))
                return {};
            task();
        }
        search.finish();
        schedules += search.singles.tried + search.pairs.tried;
        singles_tried = search.singles.tried;
        singles_hits = search.singles.hits;
        return std::move(search.found);
    }

    int64_t measure_estimate(int32_t decided_step, const sim_difficulty_options& measure) const
    {
        int64_t n = int64_t(cuttable.size());
        int64_t singles = decided_step / std::max(measure.single_grid, 1) + 1;
        int64_t pairs = decided_step / std::max(measure.pair_grid, 1) + 1;
        return n * singles + n * (n - 1) / 2 * pairs * pairs;
    }

    void reject(sim_reject why, const std::string& detail)
    {
        out.reject = why;
        out.detail = detail;
    }

    // The solving schedules found after a prefix, the most forgiving first: the first whose
    // every cut has a window a person can hit becomes the solution.
    bool try_solutions(const std::vector<sim_cut>& prefix, const std::vector<sim_found_schedule>& found)
    {
        std::vector<const sim_found_schedule*> solving;
        for (const sim_found_schedule& s : found)
            if (s.solved)
                solving.push_back(&s);
        if (solving.empty())
            return false;
        const sim_generate_rules& r = options.rules;
        int32_t tried = 0;
        for (const schedule_group& g : group_schedules(solving, 2 * r.single_grid)) {
            if (tried++ >= std::max(r.follow, 1))
                break;
            sim_solution solution;
            solution.cuts = prefix;
            solution.cuts.insert(solution.cuts.end(), g.best->cuts.begin(), g.best->cuts.end());
            sim_sort_cuts(solution.cuts);
            // Time to spare after the catch, in whole seconds as a solution file keeps them.
            solution.seconds = float(std::max(r.solution_seconds,
                                              std::ceil(double(g.best->decided_step) / steps_per_second) + 2.0));
            sim_difficulty_options measure;
            measure.threads = 1;
            // Measuring runs the report's own blind searches up to the solution's verdict;
            // a level with many cuttable constraints and a late verdict is given up rather
            // than measured for minutes.
            if (measure_estimate(g.best->decided_step, measure) > int64_t(r.max_schedules)) {
                budget_spent = true;
                return false;
            }
            sim_difficulty d;
            std::string error;
            if (!sim_measure_world_difficulty(world, solution, measure, d, error))
                continue;
            int32_t need = steps_of(r.window_seconds);
            bool hittable = true;
            for (const sim_cut_window& w : d.windows)
                if (!w.open && !w.follow_open && std::max(w.steps(), w.follow_steps) < need) {
                    hittable = false;
                    window_missed = true;
                    window_detail = "cut " + std::to_string(w.cut.index) + " of " + schedule_text(solution.cuts) +
                                    ": " + std::to_string(std::max(w.steps(), w.follow_steps)) + " steps";
                }
            if (!hittable)
                continue;
            out.solution = solution;
            out.difficulty = d;
            out.rating = sim_rate_difficulty(d);
            return true;
        }
        return false;
    }

    const v_world& world;
    std::vector<int32_t> cuttable;
    const sim_judge_options& options;
    sim_judgement& out;
    int32_t singles_tried = 0, singles_hits = 0;
};

}  // namespace

sim_judgement sim_judge_candidate(const v_world& world, const std::vector<int32_t>& moving_nodes,
                                  const std::vector<int32_t>& moving_bodies, const sim_judge_options& options)
{
    sim_judgement out;
    auto reject = [&](sim_reject why, const std::string& detail) {
        out.reject = why;
        out.detail = detail;
        return out;
    };
    std::string outside = sim_find_outside(world);
    if (!outside.empty())
        return reject(sim_reject::outside, outside);
    const sim_generate_rules& r = options.rules;
    std::string moved =
        settling_problem(world, moving_nodes, moving_bodies, steps_of(r.settle_seconds), r.settle_distance);
    if (!moved.empty())
        return reject(sim_reject::unsettled, moved);

    v_world idle = world.clone();
    sim_run_options run;
    run.max_steps = idle_seconds * steps_per_second;
    sim_run_result result = sim_run_world(idle, run);
    if (!result.ok)
        return reject(sim_reject::blows_up, result.problem);
    if (result.verdict == v_verdict_solved)
        return reject(sim_reject::idle, "solved at step " + std::to_string(result.decided_step));

    std::vector<int32_t> cuttable;
    for (size_t i = 0; i < world.constraints.size(); ++i)
        if (world.constraints[i]->cuttable())
            cuttable.push_back(int32_t(i));
    if (cuttable.empty())
        return reject(sim_reject::unsolved, "nothing to cut");
    solution_search search(world, cuttable, options, out);
    bool found = search.search({}, 0, true);
    out.schedules = search.schedules;
    if (out.reject != sim_reject::none)
        return out;
    if (!found && search.budget_spent && !search.window_missed)
        return reject(sim_reject::unsolved, "no solution within " + std::to_string(r.max_schedules) + " schedules");
    if (!found)
        return search.window_missed ? reject(sim_reject::window, search.window_detail)
                                    : reject(sim_reject::unsolved, "within " + std::to_string(r.max_cuts) + " cuts");
    if (out.rating < options.min_rating || out.rating > options.max_rating)
        return reject(sim_reject::difficulty, "rated " + std::to_string(out.rating));
    return out;
}
