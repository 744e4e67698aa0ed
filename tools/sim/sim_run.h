// Running a world headlessly: cuts applied at their steps, an optional position trace,
// the verdict with the step that decided it, and a watch for numerical blow-ups.
#pragma once

#include "app/step.h"
#include "physics/world.h"
#include "tools/sim/sim_cuts.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// A coordinate beyond this (or not finite) means the scene has blown up.
constexpr float sim_explosion_bound = 10000.0f;

struct sim_run_options {
    std::vector<sim_cut> cuts;  // sorted by step
    int32_t max_steps = 30 * steps_per_second;
    int32_t trace_every = 0;  // print positions every N steps (0: never)
    int32_t tail_steps = 0;   // keep stepping this long after the verdict is decided
    bool stop_at_verdict = true;
    std::FILE* out = nullptr;  // cuts and trace lines go here when set
};

struct sim_run_result {
    int32_t verdict = v_verdict_undecided;
    int32_t decided_step = -1;  // step_count when the verdict changed
    int32_t steps = 0;
    bool ok = true;  // false: a cut was invalid, or the scene blew up
    std::string problem;
};

// Checks that a cut names a constraint that exists and may be cut.
bool sim_check_cut(const v_world& world, const sim_cut& cut, std::string& problem);
// The first non-finite or far-out position of the world, or an empty string.
std::string sim_find_blowup(const v_world& world);
// Whether everything in the world lies inside the 64 x 64 playfield.
std::string sim_find_outside(const v_world& world);
sim_run_result sim_run_world(v_world& world, const sim_run_options& options);

// A run taken a stretch at a time: sim_run_world's loop that stops when the world reaches
// a given step and goes on from there later. Between stretches the world may be cloned and
// the clone run on with other cuts (options whose cuts come at or after the clone's step),
// which gives what running that schedule from step 0 would.
struct sim_run_progress {
    size_t next_cut = 0;   // the first cut of the options not applied yet
    int32_t stop_at = -1;  // the step the run stops at, once its verdict is decided
    bool ended = false;
    sim_run_result result;  // complete once ended
};
// Runs the world on until its step count reaches `until` (before the cuts of that step)
// or the run ends. True when the run has ended.
bool sim_run_world_until(v_world& world, const sim_run_options& options, sim_run_progress& progress,
                         int32_t until);
// Prints the free nodes' and bodies' positions on one line each.
void sim_print_positions(std::FILE* out, const v_world& world);
