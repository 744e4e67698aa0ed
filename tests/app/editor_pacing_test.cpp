// The editors' step rules on a hand-driven clock whose ticks make one step exact.
#include "app/editor_pacing.h"
#include "tests/app/fake_clock.h"

#include <gtest/gtest.h>

namespace {

// One step is 11930465 / 2^31 seconds exactly (the float 1/180 widened), so a clock of 2^31
// ticks a second can stand exactly one step away from its reset.
constexpr uint64_t exact_frequency = uint64_t(1) << 31;
constexpr int64_t step_ticks = 11930465;

TEST(editor_pacing, editing_runs_only_what_is_strictly_owed_and_drops_a_stall_after_eight)
{
    fake_clock c;
    c.frequency = exact_frequency;
    perf_timer t(c.source);
    editor_pacing p(t);
    int32_t steps = 0;
    auto step_duty = [&] { ++steps; };

    c.ticks += step_ticks;  // exactly one step: not more than one, so nothing runs
    ASSERT_EQ(t.elapsed(), step);
    EXPECT_EQ(p.editing_frame(step_duty), 0);
    c.ticks += 1;
    EXPECT_EQ(p.editing_frame(step_duty), 1);

    t.reset();
    c.pass(2.0);  // a two-second stall: eight steps, and the rest is forgiven
    EXPECT_EQ(p.editing_frame(step_duty), 8);
    EXPECT_LT(t.elapsed(), step);
    EXPECT_EQ(p.editing_frame(step_duty), 0);

    // Minutes away (minimised) owe nothing once the window is back.
    c.pass(300.0);
    p.idle();
    EXPECT_EQ(p.editing_frame(step_duty), 0);
    EXPECT_EQ(steps, 9);
}

TEST(editor_pacing, testing_starts_at_a_sixtieth_and_keeps_its_budget_across_runs)
{
    fake_clock c;
    c.frequency = exact_frequency;
    perf_timer t(c.source);
    editor_pacing p(t);
    int32_t steps = 0;
    auto step_duty = [&] { ++steps; };

    t.reset();
    c.ticks += 60 * step_ticks;  // a frame of 60 steps adds 60 / 60 = 1 step to the budget
    EXPECT_EQ(p.testing_frame(step_duty), 1);
    EXPECT_DOUBLE_EQ(p.budget, 1.0);
    // Sixty frames of three steps fill the ring: from then on each frame runs its three.
    for (int i = 0; i < 60; ++i) {
        c.ticks += 3 * step_ticks;
        p.testing_frame(step_duty);
    }
    c.ticks += 3 * step_ticks;
    EXPECT_EQ(p.testing_frame(step_duty), 3);
    // Counter and budget live on across test runs (nothing resets them).
    double budget = p.budget, counter = p.counter;
    EXPECT_GE(counter, budget - 1.0);
    c.ticks += 3 * step_ticks;
    p.testing_frame(step_duty);
    EXPECT_GT(p.budget, budget);
    EXPECT_EQ(double(steps), p.counter);
}

}  // namespace
