// The step rules of the editors' frame loop. While editing, a frame runs the steps that
// time owes, at most eight, and drops any backlog beyond them (so a stall never turns into
// a burst). While a level is tested, a frame measures its own length, pushes it in steps
// into a 60-sample ring whose empty slots count as zero, adds the ring's mean to a budget
// and steps the world while the budget is ahead of the step counter: a test run starts
// gently and reaches real time after one second. The ring, the counter and the budget
// live as long as the process, across test runs. A minimised or unfocused editor steps
// nothing and owes nothing.
#pragma once

#include "app/clock.h"

#include <cstdint>
#include <functional>
#include <memory>

// Catch-up steps one editing frame may run.
constexpr int32_t editor_max_catchup_steps = 8;
// Frames the testing average spans.
constexpr int32_t editor_testing_samples = 60;

class editor_pacing {
public:
    perf_timer* timer;
    std::unique_ptr<ring_average> average;  // made on the first testing frame
    double counter = 0.0;
    double budget = 0.0;

    explicit editor_pacing(perf_timer& clock) : timer(&clock) {}

    // An editing frame: while more than one step is owed (strictly), up to eight times,
    // runs `step` and takes one step off the timer; then drops what is still owed.
    int32_t editing_frame(const std::function<void()>& step);
    // A testing frame: the averaged budget, as above.
    int32_t testing_frame(const std::function<void()>& step);
    // The window is minimised or unfocused: nothing is owed afterwards.
    void idle() { timer->reset(); }
};
