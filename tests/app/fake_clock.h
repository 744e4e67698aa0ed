// A hand-driven time source for clock and pacing tests.
#pragma once

#include "app/clock.h"

struct fake_clock {
    uint64_t frequency = 1000000;
    int64_t ticks = 0;
    uint32_t ms = 0;
    perf_clock_source source{[this] { return frequency; }, [this] { return ticks; }, [this] { return ms; }};

    void pass(double seconds) { ticks += int64_t(seconds * double(frequency)); }
};
