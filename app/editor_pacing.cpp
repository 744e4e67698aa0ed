// The editors' step rules.
#include "app/editor_pacing.h"

int32_t editor_pacing::editing_frame(const std::function<void()>& step_duty)
{
    int32_t ran = 0;
    while (ran < editor_max_catchup_steps && timer->elapsed() > step) {
        step_duty();
        timer->advance(step);
        ++ran;
    }
    if (timer->elapsed() > step)
        timer->reset();
    return ran;
}

int32_t editor_pacing::testing_frame(const std::function<void()>& step_duty)
{
    if (!average)
        average = std::make_unique<ring_average>(editor_testing_samples);
    double elapsed = timer->elapsed();
    timer->reset();
    average->push(elapsed / step);
    budget += average->mean();
    int32_t ran = 0;
    while (budget > counter) {
        step_duty();
        counter += 1.0;
        ++ran;
    }
    return ran;
}
