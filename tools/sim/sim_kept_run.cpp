// A run kept at chosen steps, and the schedules that go on from it.
#include "tools/sim/sim_kept_run.h"

#include <algorithm>

int32_t sim_counted_verdict(const sim_run_result& r)
{
    return r.ok ? r.verdict : v_verdict_failed;
}

int32_t sim_parting_step(std::vector<sim_cut> a, std::vector<sim_cut> b)
{
    auto order = [](const sim_cut& x, const sim_cut& y) {
        return x.step != y.step ? x.step < y.step : x.index < y.index;
    };
    std::sort(a.begin(), a.end(), order);
    std::sort(b.begin(), b.end(), order);
    size_t i = 0;
    for (; i < a.size() && i < b.size(); ++i)
        if (a[i].step != b[i].step || a[i].index != b[i].index)
            return std::min(a[i].step, b[i].step);
    if (i < a.size())
        return a[i].step;
    if (i < b.size())
        return b[i].step;
    return INT32_MAX;
}

sim_run_result sim_run_on(v_world world, const std::vector<sim_cut>& cuts, int32_t max_steps)
{
    sim_run_options options;
    for (const sim_cut& c : cuts)
        if (c.step >= world.step_count)
            options.cuts.push_back(c);
    sim_sort_cuts(options.cuts);
    options.max_steps = max_steps;
    return sim_run_world(world, options);
}

sim_kept_run::sim_kept_run(const v_world& start_world, std::vector<sim_cut> cuts, int32_t max_steps,
                           const std::vector<int32_t>& keep)
    : start(start_world)
{
    sim_sort_cuts(cuts);
    options.cuts = std::move(cuts);
    options.max_steps = max_steps;
    v_world world = start.clone();
    for (int32_t step : keep) {
        if (step < world.step_count)
            continue;
        if (sim_run_world_until(world, options, progress, step))
            break;
        kept.push_back(world.clone());
    }
    sim_run_world_until(world, options, progress, INT32_MAX);
}

const v_world* sim_kept_run::kept_at(int32_t step) const
{
    auto it = std::lower_bound(kept.begin(), kept.end(), step,
                               [](const v_world& w, int32_t s) { return w.step_count < s; });
    return it != kept.end() && it->step_count == step ? &*it : nullptr;
}

int32_t sim_kept_run::verdict(const std::vector<sim_cut>& cuts, int32_t max_steps) const
{
    int32_t shared = std::min(sim_parting_step(options.cuts, cuts), max_steps);
    // This run ended within the shared steps: the other one ends there the same way.
    if (progress.ended && progress.result.steps <= shared)
        return sim_counted_verdict(progress.result);
    auto after = std::upper_bound(kept.begin(), kept.end(), shared,
                                  [](int32_t s, const v_world& w) { return s < w.step_count; });
    const v_world& from = after == kept.begin() ? start : *(after - 1);
    return sim_counted_verdict(sim_run_on(from.clone(), cuts, max_steps));
}
