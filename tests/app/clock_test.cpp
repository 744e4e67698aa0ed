// perf_timer on both time paths, the moving means and the animation helpers.
#include "app/clock.h"
#include "tests/app/fake_clock.h"

#include <gtest/gtest.h>

namespace {

TEST(clock, step_is_the_single_precision_180th)
{
    EXPECT_EQ(step, double(0.0055555557f));
    EXPECT_GT(step, 1.0 / 180.0);
}

TEST(clock, counter_path_measures_resets_and_advances)
{
    fake_clock c;
    c.ticks = 5000;
    perf_timer t(c.source);
    EXPECT_TRUE(t.use_counter);
    EXPECT_EQ(t.ticks_per_second, 1e6);
    EXPECT_EQ(t.start, 5000);
    c.pass(0.25);
    EXPECT_DOUBLE_EQ(t.elapsed(), 0.25);
    t.advance(0.1);
    EXPECT_EQ(t.start, 5000 + 100000);
    t.reset();
    EXPECT_EQ(t.start, c.ticks);
    EXPECT_EQ(t.elapsed(), 0.0);
}

TEST(clock, a_clock_that_went_backward_reads_zero)
{
    fake_clock c;
    c.ticks = 1000;
    perf_timer t(c.source);
    c.ticks = 10;
    EXPECT_EQ(t.elapsed(), 0.0);
}

TEST(clock, try_consume_takes_one_step_or_the_whole_backlog)
{
    fake_clock c;
    perf_timer t(c.source);
    EXPECT_FALSE(t.try_consume(step));
    EXPECT_EQ(t.start, 0);

    c.pass(0.05);
    EXPECT_TRUE(t.try_consume(step));
    EXPECT_EQ(t.start, int64_t(step * 1e6));

    t.reset();
    c.pass(0.5);
    int64_t before = t.start;
    EXPECT_TRUE(t.try_consume(step));
    EXPECT_EQ(t.start - before, 500000);
    EXPECT_FALSE(t.try_consume(step));
}

TEST(clock, millisecond_path_absorbs_one_wrap_between_readings)
{
    fake_clock c;
    c.frequency = 0;
    c.ms = 0xFFFFFFF0u;
    perf_timer t(c.source);
    EXPECT_FALSE(t.use_counter);
    EXPECT_EQ(t.ticks_per_second, 1000.0);
    EXPECT_EQ(t.start, int64_t(0xFFFFFFF0u));

    c.ms = 0x10;
    EXPECT_EQ(t.now(), (int64_t(1) << 32) + 0x10);
    EXPECT_DOUBLE_EQ(t.elapsed(), 0.032);

    // The high word carries on after a reset past the wrap.
    t.reset();
    c.ms = 0x20;
    EXPECT_DOUBLE_EQ(t.elapsed(), 0.016);
    EXPECT_TRUE(t.try_consume(step));
    EXPECT_EQ(t.start, (int64_t(1) << 32) + 0x10 + 5);
}

TEST(clock, use_source_switches_paths)
{
    fake_clock ms_only;
    ms_only.frequency = 0;
    ms_only.ms = 7;
    fake_clock counter;
    counter.ticks = 99;
    perf_timer t(ms_only.source);
    EXPECT_FALSE(t.use_counter);
    t.use_source(counter.source);
    EXPECT_TRUE(t.use_counter);
    EXPECT_EQ(t.start, 99);
}

TEST(clock, system_clock_moves_forward)
{
    perf_timer t;
    EXPECT_TRUE(t.use_counter);
    EXPECT_GE(t.elapsed(), 0.0);
    EXPECT_GE(frame_timer().elapsed(), 0.0);
    EXPECT_EQ(&frame_timer(), &frame_timer());
}

TEST(clock, running_average_counts_only_written_samples_until_full)
{
    running_average a(3);
    EXPECT_EQ(a.mean(), 0.0);
    a.push(3.0);
    EXPECT_EQ(a.mean(), 3.0);
    a.push(6.0);
    EXPECT_EQ(a.mean(), 4.5);
    a.push(9.0);
    EXPECT_TRUE(a.full);
    EXPECT_EQ(a.next, 0);
    a.push(12.0);
    EXPECT_EQ(a.mean(), 9.0);

    running_average bad(0);
    bad.push(2.0);
    EXPECT_EQ(bad.mean(), 2.0);
}

TEST(clock, ring_average_includes_unwritten_zeros)
{
    ring_average a(4);
    a.push(8.0);
    EXPECT_EQ(a.mean(), 2.0);
    for (int i = 0; i < 4; ++i)
        a.push(4.0);
    EXPECT_EQ(a.mean(), 4.0);
    EXPECT_EQ(a.next, 1);
}

TEST(clock, anim_phase_is_the_fraction_of_cycles)
{
    EXPECT_FLOAT_EQ(anim_phase_at(1250, 1.0f), 0.25f);
    EXPECT_FLOAT_EQ(anim_phase_at(1000, 2.0f), 0.0f);
    EXPECT_FLOAT_EQ(anim_phase_at(300, 0.5f), 0.15f);
    // Backward animations stay within [0, 1).
    EXPECT_FLOAT_EQ(anim_phase_at(1250, -1.0f), 0.75f);
    float near_one = anim_phase_at(999999999, 1.0f - 1e-9f);
    EXPECT_GE(near_one, 0.0f);
    EXPECT_LT(near_one, 1.0f);
    float p = anim_phase(3.0f);
    EXPECT_GE(p, 0.0f);
    EXPECT_LT(p, 1.0f);
}

TEST(clock, the_wall_clock_of_animations_can_be_replaced)
{
    set_wall_clock([] { return uint32_t(1250); });
    EXPECT_FLOAT_EQ(anim_phase(1.0f), 0.25f);
    EXPECT_EQ(anim_frame(4), 4);
    set_wall_clock(nullptr);
    EXPECT_LT(anim_phase(1.0f), 1.0f);
}

TEST(clock, anim_frame_counts_frames_of_1024_ms)
{
    EXPECT_EQ(anim_frame_at(1023, 1), 0);
    EXPECT_EQ(anim_frame_at(1024, 1), 1);
    EXPECT_EQ(anim_frame_at(1024, 10), 10);
    EXPECT_EQ(anim_frame_at(0xFFFFFFFFu, 4), int32_t((int64_t(0xFFFFFFFFu) * 4) >> 10));
    EXPECT_EQ(anim_frame_at(100, -1), -1);
}

}  // namespace
