// The two pacing rules and the frame loops, on a hand-driven clock.
#include "app/pacing.h"
#include "tests/app/fake_clock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(pacing, averaged_rule_runs_while_the_counter_is_below_the_budget)
{
    fake_clock c;
    perf_timer t(c.source);
    averaged_catchup a(t);
    a.begin();
    a.budget = 3.0;
    int32_t calls = 0;
    EXPECT_EQ(a.run_steps([&](int32_t) { ++calls; }), 3);
    EXPECT_EQ(a.counter, 3);
    EXPECT_EQ(a.run_steps([&](int32_t) { ++calls; }), 0);
    a.budget = 3.5;
    EXPECT_EQ(a.run_steps([&](int32_t) { ++calls; }), 1);
    EXPECT_EQ(calls, 4);
}

TEST(pacing, averaged_rule_adds_the_mean_frame_to_the_budget)
{
    fake_clock c;
    perf_timer t(c.source);
    averaged_catchup a(t, 20);
    a.begin();
    c.pass(10 * step);
    EXPECT_EQ(a.frame(nullptr), 10);
    // A zero-length frame still adds the mean (5 steps) of the two frames measured.
    EXPECT_EQ(a.frame(nullptr), 5);
    EXPECT_NEAR(a.budget, 15.0, 1e-3);
    a.begin();
    EXPECT_EQ(a.counter, 0);
    EXPECT_EQ(a.budget, 0.0);
    EXPECT_EQ(a.average.mean(), 0.0);
}

// A screen with a world runs it only on the first 18 steps of a frame, its clocks on all.
struct play_run {
    int64_t world_steps = 0, clock_steps = 0;
    int32_t most_world_in_a_frame = 0;
};

play_run run_play_frames(bool stall)
{
    fake_clock c;
    perf_timer t(c.source);
    averaged_catchup a(t, 20);
    a.begin();
    play_run r;
    int32_t world_this_frame = 0;
    step_duty_t tick = capped_world_steps(
        [&] {
            ++r.world_steps;
            ++world_this_frame;
        },
        [&] { ++r.clock_steps; });
    // Twenty steady frames fill the average before the measured stretch begins.
    for (int frame = 0; frame < 60; ++frame) {
        c.pass(stall && frame == 20 ? 2.0 : 3 * step);
        if (frame == 20)
            r = {};
        world_this_frame = 0;
        a.frame(tick);
        r.most_world_in_a_frame = std::max(r.most_world_in_a_frame, world_this_frame);
    }
    return r;
}

TEST(pacing, a_two_second_stall_gives_at_most_18_world_steps_per_frame_while_clocks_catch_up)
{
    play_run steady = run_play_frames(false);
    play_run stalled = run_play_frames(true);
    EXPECT_EQ(steady.most_world_in_a_frame, 3);
    EXPECT_EQ(stalled.most_world_in_a_frame, 18);
    // The clocks advance in full: the stall frame's 360 steps replace 3 ordinary ones.
    EXPECT_NEAR(double(stalled.clock_steps - steady.clock_steps), 2.0 / step - 3, 2.0);
    EXPECT_LT(stalled.world_steps, stalled.clock_steps - 20);
}

TEST(pacing, consumed_rule_turns_a_stall_into_one_step)
{
    fake_clock c;
    c.frequency = 10800;
    perf_timer t(c.source);
    t.reset();
    consumed_steps s(t);
    c.pass(2.0);
    EXPECT_EQ(s.frame(nullptr), 1);
    EXPECT_EQ(s.frame(nullptr), 0);
    c.pass(0.05);
    // 0.05 s is 9 steps of exactly 1/180 s, but the float step is slightly longer.
    EXPECT_EQ(s.frame(nullptr), 8);
}

struct recorder {
    std::vector<std::string> calls;
    frame_host_t host()
    {
        return {[this] { calls.push_back("flush"); }, [this] { calls.push_back("clear"); },
                [this] {
                    calls.push_back("swap");
                    return true;
                },
                [this] { calls.push_back("drain"); }};
    }
};

TEST(pacing, averaged_loop_flushes_on_entry_and_orders_each_frame)
{
    fake_clock c;
    perf_timer t(c.source);
    recorder r;
    int frames = 0;
    screen_frame_t screen{[&](int32_t) { r.calls.push_back("step"); },
                          [&] {
                              r.calls.push_back("draw");
                              c.pass(2 * step + 1e-6);
                          },
                          [&] { return ++frames == 2; }};
    EXPECT_EQ(run_averaged_loop(r.host(), screen, t), 2);
    std::vector<std::string> want = {"flush", "clear", "draw", "swap", "drain", "step",
                                     "step",  "clear", "draw", "swap", "drain"};
    EXPECT_EQ(r.calls, want);
}

TEST(pacing, consumed_loop_steps_then_draws)
{
    fake_clock c;
    c.frequency = 10800;
    perf_timer t(c.source);
    recorder r;
    int frames = 0;
    screen_frame_t screen{[&](int32_t) { r.calls.push_back("step"); }, nullptr,
                          [&] {
                              c.pass(1.5 * step);
                              return ++frames == 3;
                          }};
    EXPECT_EQ(run_consumed_loop(r.host(), screen, t), 3);
    std::vector<std::string> want = {"clear", "swap", "drain", "step", "clear", "swap",
                                     "drain", "step", "clear", "swap", "drain"};
    EXPECT_EQ(r.calls, want);
}

TEST(pacing, the_process_window_pointer_is_shared)
{
    EXPECT_EQ(app_window(), nullptr);
    auto* fake = reinterpret_cast<glw_window*>(&app_window);
    set_app_window(fake);
    EXPECT_EQ(app_window(), fake);
    set_app_window(nullptr);
}

}  // namespace
