// The blind one- and two-cut search, branching from kept worlds.
#include "tools/sim/sim_blind_search.h"

#include <algorithm>
#include <iterator>

namespace {

// The times of a search grid: every `every` steps from `from` up to below `horizon`.
std::vector<int32_t> grid_times(int32_t every, int32_t from, int32_t horizon)
{
    std::vector<int32_t> times;
    for (int32_t t = from; t < horizon; t += every)
        times.push_back(t);
    return times;
}

bool contains(const std::vector<int32_t>& sorted, int32_t value)
{
    return std::binary_search(sorted.begin(), sorted.end(), value);
}

bool solved(const sim_run_result& r)
{
    return sim_counted_verdict(r) == v_verdict_solved;
}

// Runs a world on with the cuts still to come and tells how many balls were left at the end.
sim_run_result run_counting(v_world world, const std::vector<sim_cut>& cuts, int32_t max_steps, int32_t& balls)
{
    sim_run_options options;
    for (const sim_cut& c : cuts)
        if (c.step >= world.step_count)
            options.cuts.push_back(c);
    sim_sort_cuts(options.cuts);
    options.max_steps = max_steps;
    sim_run_result r = sim_run_world(world, options);
    balls = sim_balls_in_play(world);
    return r;
}

}  // namespace

int32_t sim_balls_in_play(const v_world& world)
{
    int32_t balls = 0;
    for (const v_node* n : world.nodes)
        balls += n->color() != 0;
    return balls;
}

sim_blind_search::sim_blind_search(const v_world& start_world, std::vector<sim_cut> prefix_cuts,
                                   std::vector<int32_t> cuttable_list, const sim_blind_options& search_options)
    : start(start_world), prefix(std::move(prefix_cuts)), cuttable(std::move(cuttable_list)),
      options(search_options)
{
    sim_sort_cuts(prefix);
    single_times = grid_times(options.single_grid, options.from, options.horizon);
    if (options.pairs)
        pair_times = grid_times(options.pair_grid, options.from, options.horizon);
    std::set_union(single_times.begin(), single_times.end(), pair_times.begin(), pair_times.end(),
                   std::back_inserter(first_times));
    int32_t n = int32_t(cuttable.size());
    singles.tried = n * int32_t(single_times.size());
    pairs.tried = n * (n - 1) / 2 * int32_t(pair_times.size() * pair_times.size());
}

void sim_blind_search::prepare()
{
    base = std::make_unique<sim_kept_run>(start, prefix, options.max_steps, first_times);
    // The balls the prefix leaves: a schedule that leaves fewer is a step on the way.
    if (options.collect)
        run_counting(start.clone(), prefix, options.max_steps, base_balls);
}

const sim_run_result& sim_blind_search::prefix_result() const
{
    return base->result();
}

void sim_blind_search::add_tasks(std::vector<std::function<void()>>& tasks)
{
    size_t count = cuttable.size() * first_times.size();
    single_hits.assign(count, {});
    pair_hits.assign(count, {});
    task_found.assign(count, {});
    for (size_t j = 0; j < first_times.size(); ++j)
        for (size_t i = 0; i < cuttable.size(); ++i)
            tasks.push_back([this, i, j] { search_from(i, j); });
}

void sim_blind_search::finish()
{
    singles.hits = 0;
    pairs.hits = 0;
    found.clear();
    for (size_t k = 0; k < single_hits.size(); ++k) {
        singles.hits += single_hits[k].hits;
        pairs.hits += pair_hits[k].hits;
    }
    // Tasks were laid out by time, then constraint: the found schedules keep that order.
    for (std::vector<sim_found_schedule>& f : task_found)
        for (sim_found_schedule& s : f)
            found.push_back(std::move(s));
    task_found.clear();
}

// The schedules whose first searched cut is cuttable[i] at first_times[j]: the one-cut
// schedule when that is a time of the one-cut grid; when it is a time of the two-cut grid,
// the pairs that cut a higher constraint at the same time and those that cut any other
// at a later time. They all start from the prefix run's world at that time, the pairs with
// a later second cut from the run of the first cut, at the second cut's time.
void sim_blind_search::search_from(size_t i, size_t j)
{
    int32_t first = cuttable[i], t = first_times[j];
    size_t slot = i * first_times.size() + j;
    int32_t& single_count = single_hits[slot].hits;
    int32_t& pair_count = pair_hits[slot].hits;
    std::vector<sim_found_schedule>& keep = task_found[slot];
    bool single = contains(single_times, t), pair = contains(pair_times, t);
    int32_t others = int32_t(cuttable.size()) - 1;
    int32_t higher = int32_t(cuttable.end() - std::upper_bound(cuttable.begin(), cuttable.end(), first));
    int32_t later_times = int32_t(pair_times.end() - std::upper_bound(pair_times.begin(), pair_times.end(), t));
    const v_world* at = base->kept_at(t);
    if (!at) {
        // The prefix run ended before the first cut, and every schedule here with it.
        if (solved(base->result())) {
            single_count = single ? 1 : 0;
            pair_count = pair ? higher + later_times * others : 0;
        }
        return;
    }
    auto note = [&](std::vector<sim_cut> cuts, const sim_run_result& r, int32_t balls) {
        if (!options.collect)
            return;
        bool win = solved(r);
        bool progress = r.ok && r.verdict == v_verdict_undecided && balls < base_balls;
        if (win || progress)
            keep.push_back({std::move(cuts), win, win ? r.decided_step : -1, balls});
    };
    std::vector<sim_cut> schedule = prefix;
    auto with = [&](std::initializer_list<sim_cut> cuts) {
        std::vector<sim_cut> s = schedule;
        s.insert(s.end(), cuts);
        return s;
    };
    int32_t balls = 0;
    if (pair)
        for (int32_t second : cuttable)
            if (second > first) {
                sim_run_result r = run_counting(at->clone(), with({{t, first}, {t, second}}), options.max_steps, balls);
                pair_count += solved(r);
                note({{t, first}, {t, second}}, r, balls);
            }
    v_world world = at->clone();
    sim_run_options run;
    run.cuts = with({{t, first}});
    sim_sort_cuts(run.cuts);
    run.max_steps = options.max_steps;
    // The prefix's cuts before t are in the kept world already.
    sim_run_progress progress;
    while (progress.next_cut < run.cuts.size() && run.cuts[progress.next_cut].step < t)
        ++progress.next_cut;
    if (pair) {
        for (int32_t t2 : pair_times) {
            if (t2 <= t)
                continue;
            if (sim_run_world_until(world, run, progress, t2)) {
                pair_count += solved(progress.result) ? others : 0;
                continue;
            }
            for (int32_t second : cuttable)
                if (second != first) {
                    sim_run_result r =
                        run_counting(world.clone(), with({{t, first}, {t2, second}}), options.max_steps, balls);
                    pair_count += solved(r);
                    note({{t, first}, {t2, second}}, r, balls);
                }
        }
    }
    sim_run_world_until(world, run, progress, INT32_MAX);
    if (single) {
        single_count = solved(progress.result) ? 1 : 0;
        note({{t, first}}, progress.result, sim_balls_in_play(world));
    }
}
