// Averaged catch-up and consumed-steps pacing, and the frame loops built on them.
#include "app/pacing.h"

namespace {

glw_window* the_window = nullptr;

void finish_frame(const frame_host_t& host, const screen_frame_t& screen)
{
    if (host.clear)
        host.clear();
    if (screen.draw)
        screen.draw();
    if (host.swap)
        host.swap();
    if (host.drain_input)
        host.drain_input();
}

}  // namespace

averaged_catchup::averaged_catchup(perf_timer& t, int32_t samples) : timer(&t), average(samples)
{}

void averaged_catchup::begin()
{
    timer->reset();
    counter = 0;
    budget = 0.0;
    average = running_average(average.capacity);
}

void averaged_catchup::measure()
{
    double e = timer->elapsed();
    timer->reset();
    average.push(e / step);
    budget += average.mean();
}

int32_t averaged_catchup::run_steps(const step_duty_t& duty)
{
    int32_t ran = 0;
    while (double(counter) < budget) {
        if (duty)
            duty(ran);
        ++ran;
        ++counter;
    }
    return ran;
}

step_duty_t capped_world_steps(std::function<void()> world_step, std::function<void()> every_step)
{
    return [world_step = std::move(world_step), every_step = std::move(every_step)](int32_t step_in_frame) {
        if (every_step)
            every_step();
        if (step_in_frame < max_world_steps_per_frame && world_step)
            world_step();
    };
}

int32_t averaged_catchup::frame(const step_duty_t& duty)
{
    measure();
    return run_steps(duty);
}

int32_t consumed_steps::frame(const step_duty_t& duty)
{
    int32_t ran = 0;
    while (timer->try_consume(step)) {
        if (duty)
            duty(ran);
        ++ran;
    }
    return ran;
}

int64_t run_averaged_loop(const frame_host_t& host, const screen_frame_t& screen, perf_timer& timer,
                          int32_t samples)
{
    if (host.flush_input)
        host.flush_input();
    averaged_catchup pacing(timer, samples);
    pacing.begin();
    int64_t frames = 0;
    do {
        pacing.frame(screen.step);
        finish_frame(host, screen);
        ++frames;
    } while (screen.done && !screen.done());
    return frames;
}

int64_t run_consumed_loop(const frame_host_t& host, const screen_frame_t& screen, perf_timer& timer)
{
    consumed_steps pacing(timer);
    int64_t frames = 0;
    do {
        pacing.frame(screen.step);
        finish_frame(host, screen);
        ++frames;
    } while (screen.done && !screen.done());
    return frames;
}

glw_window* app_window()
{
    return the_window;
}

void set_app_window(glw_window* window)
{
    the_window = window;
}
