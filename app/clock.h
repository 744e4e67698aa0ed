// The frame clock: the tick timer every loop measures with, the moving means that smooth
// frame times, the fixed simulation step and the wall-clock helpers of animated textures.
#pragma once

#include "app/step.h"

#include <cstdint>
#include <functional>
#include <vector>

// The fixed simulation step in seconds, the single-precision value widened to double.
constexpr double step = static_cast<double>(step_seconds);

// Where a perf_timer reads time. The system source uses std::chrono; tests and the headless
// driver plug in their own.
struct perf_clock_source {
    // Ticks per second of the high-resolution counter; 0 when there is none.
    std::function<uint64_t()> counter_frequency;
    std::function<int64_t()> counter;
    // A 32-bit millisecond clock that wraps, the stand-in when there is no counter.
    std::function<uint32_t()> milliseconds;
};

// The process's real clocks.
const perf_clock_source& perf_system_clock();
// Milliseconds since start-up on the system clock, wrapping at 2^32.
uint32_t clock_milliseconds();

class perf_timer {
public:
    int64_t start = 0;
    double ticks_per_second = 1000.0;
    bool use_counter = false;

    perf_timer();
    // The source must outlive the timer.
    explicit perf_timer(const perf_clock_source& source);

    // Switches to another source and starts afresh, as construction does.
    void use_source(const perf_clock_source& source);

    int64_t now() const;
    // Seconds since the last reset; a clock that went backward reads 0.
    double elapsed() const;
    void reset();
    void advance(double seconds);
    // Takes `seconds` off the elapsed time when that much has passed. More than 0.1 s
    // behind, the whole backlog is taken at once so that one step stands for it.
    bool try_consume(double seconds);

private:
    const perf_clock_source* source = nullptr;
};

// Moving mean of the last `capacity` values pushed; before the ring has filled,
// the mean of those pushed so far (0 with none).
class running_average {
public:
    int32_t capacity;
    std::vector<double> samples;
    int32_t next = 0;
    bool full = false;

    explicit running_average(int32_t capacity);
    void push(double value);
    double mean() const;
};

// Moving mean over all `capacity` slots, the zeros of slots never written included,
// so that the editor's testing starts slowly and reaches full speed after one ring.
class ring_average {
public:
    int32_t capacity;
    std::vector<double> samples;
    int32_t next = 0;

    explicit ring_average(int32_t capacity);
    void push(double value);
    double mean() const;
};

// Replaces the wall clock of the animation helpers (the headless driver runs them on
// virtual time); an empty function restores the system clock.
void set_wall_clock(std::function<uint32_t()> milliseconds);

// Phase in [0, 1) of an animation running `rate` cycles per second, on the wall clock.
float anim_phase(float rate);
// Frame number of an animation showing `rate` frames per 1.024 s, on the wall clock.
int32_t anim_frame(int32_t rate);
// The same at a given millisecond reading.
float anim_phase_at(uint32_t milliseconds, float rate);
int32_t anim_frame_at(uint32_t milliseconds, int32_t rate);

// The process-wide frame timer that every screen loop shares.
perf_timer& frame_timer();
