// The two pacing rules by which screen loops turn measured time into fixed steps, and a
// frame loop that ties a rule to the window's side of a frame and a screen's duties.
#pragma once

#include "app/clock.h"

#include <cstdint>
#include <functional>

class glw_window;

// Per-step duties; the argument counts the steps already run in this frame, so that a
// screen can bound its world steps while its clocks advance on every step.
using step_duty_t = std::function<void(int32_t step_in_frame)>;

// The most world steps one frame runs. After a stall the clocks still catch up in full,
// but the world drops the rest of the backlog instead of racing through it unseen.
constexpr int32_t max_world_steps_per_frame = 18;
// The duty of a screen with a world: `every_step` (clocks, sounds; may be empty) on every
// step, `world_step` on the first max_world_steps_per_frame steps of the frame.
step_duty_t capped_world_steps(std::function<void()> world_step, std::function<void()> every_step = {});

// Averaged catch-up: each frame adds the mean of the last frames' durations (in steps) to
// a budget and runs steps while the step counter is below it.
class averaged_catchup {
public:
    perf_timer* timer;
    running_average average;
    int64_t counter = 0;
    double budget = 0.0;

    explicit averaged_catchup(perf_timer& clock, int32_t samples = 20);
    // On entry to a screen: timer reset, counter and budget zero, average emptied.
    void begin();
    // Measures the frame that just passed and adds its share to the budget.
    void measure();
    // Runs the steps the budget allows; returns how many ran.
    int32_t run_steps(const step_duty_t& duty);
    // measure() then run_steps().
    int32_t frame(const step_duty_t& duty);
};

// Consumed steps: each frame runs one step per step-length of elapsed time; a backlog over
// 0.1 s is swallowed by a single step.
class consumed_steps {
public:
    perf_timer* timer;

    explicit consumed_steps(perf_timer& clock) : timer(&clock) {}
    int32_t frame(const step_duty_t& duty);
};

// The window's side of a frame. The window layer fills it for a live window; tests fill
// it with fakes.
struct frame_host_t {
    std::function<void()> flush_input;
    // Clears colour (0, 0, 0, 0) and the colour and depth buffers.
    std::function<void()> clear;
    std::function<bool()> swap;
    // Empties the input queues into the screen's handlers, after the swap (drain_input of
    // app/input_drain.h, the one order of events every screen and editor sees).
    std::function<void()> drain_input;
};

// A screen's side of a frame loop.
struct screen_frame_t {
    step_duty_t step;
    std::function<void()> draw;
    // Checked once per frame after the drain; true (or no check at all) ends the loop.
    std::function<bool()> done;
};

// Runs frames under the averaged rule until the screen is done; returns the frames run.
int64_t run_averaged_loop(const frame_host_t& host, const screen_frame_t& screen,
                          perf_timer& timer, int32_t samples = 20);
// Runs frames under the consumed-steps rule until the screen is done; returns the frames run.
int64_t run_consumed_loop(const frame_host_t& host, const screen_frame_t& screen,
                          perf_timer& timer);

// The one window of the process, which every loop pumps and swaps.
glw_window* app_window();
void set_app_window(glw_window* window);
