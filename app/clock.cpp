// perf_timer on std::chrono (or on a wrapping millisecond clock), moving means, animation phases.
#include "app/clock.h"

#include <chrono>
#include <cmath>
#include <type_traits>

namespace {

// high_resolution_clock may be the wall clock, which can jump; a frame clock must not.
using counter_clock = std::conditional_t<std::chrono::high_resolution_clock::is_steady,
                                         std::chrono::high_resolution_clock, std::chrono::steady_clock>;

const counter_clock::time_point process_start = counter_clock::now();

uint64_t system_frequency()
{
    using period = counter_clock::period;
    return period::num == 1 ? uint64_t(period::den) : 0;
}

std::function<uint32_t()>& wall_clock_override()
{
    static std::function<uint32_t()> source;
    return source;
}

uint32_t wall_milliseconds()
{
    auto& source = wall_clock_override();
    return source ? source() : clock_milliseconds();
}

int64_t system_counter()
{
    return counter_clock::now().time_since_epoch().count();
}

}  // namespace

uint32_t clock_milliseconds()
{
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(counter_clock::now() - process_start);
    return static_cast<uint32_t>(static_cast<uint64_t>(ms.count()));
}

const perf_clock_source& perf_system_clock()
{
    static const perf_clock_source source{system_frequency, system_counter, clock_milliseconds};
    return source;
}

perf_timer::perf_timer()
{
    use_source(perf_system_clock());
}

perf_timer::perf_timer(const perf_clock_source& s)
{
    use_source(s);
}

void perf_timer::use_source(const perf_clock_source& s)
{
    source = &s;
    uint64_t frequency = s.counter_frequency ? s.counter_frequency() : 0;
    if (frequency != 0 && s.counter) {
        use_counter = true;
        ticks_per_second = double(frequency);
        start = s.counter();
    } else {
        use_counter = false;
        ticks_per_second = 1000.0;
        start = int64_t(s.milliseconds());
    }
}

int64_t perf_timer::now() const
{
    if (use_counter)
        return source->counter();
    // The millisecond clock is 32 bits wide: borrow the high word from `start` and absorb
    // one wrap between two readings.
    int64_t value = (start & ~int64_t(0xFFFFFFFF)) | int64_t(source->milliseconds());
    if (value < start)
        value += int64_t(1) << 32;
    return value;
}

double perf_timer::elapsed() const
{
    int64_t diff = now() - start;
    return diff < 0 ? 0.0 : double(diff) / ticks_per_second;
}

void perf_timer::reset()
{
    start = now();
}

void perf_timer::advance(double seconds)
{
    start += int64_t(seconds * ticks_per_second);
}

bool perf_timer::try_consume(double seconds)
{
    double e = elapsed();
    if (!(seconds <= e))
        return false;
    if (e > 0.1)
        seconds = e;
    advance(seconds);
    return true;
}

running_average::running_average(int32_t n) : capacity(n > 0 ? n : 1), samples(size_t(capacity), 0.0)
{}

void running_average::push(double value)
{
    samples[size_t(next)] = value;
    if (++next == capacity) {
        next = 0;
        full = true;
    }
}

double running_average::mean() const
{
    int32_t count = full ? capacity : next;
    if (count == 0)
        return 0.0;
    double sum = 0.0;
    for (int32_t i = 0; i < count; ++i)
        sum += samples[size_t(i)];
    return sum / count;
}

ring_average::ring_average(int32_t n) : capacity(n > 0 ? n : 1), samples(size_t(capacity), 0.0)
{}

void ring_average::push(double value)
{
    samples[size_t(next)] = value;
    if (++next == capacity)
        next = 0;
}

double ring_average::mean() const
{
    double sum = 0.0;
    for (double v : samples)
        sum += v;
    return sum / capacity;
}

float anim_phase_at(uint32_t milliseconds, float rate)
{
    double x = double(milliseconds) * rate / 1000.0;
    float phase = float(x - std::trunc(x));
    // A negative rate runs the animation backward but stays within [0, 1), and a fraction
    // just below 1 must not round up to 1 in float.
    if (phase < 0.0f)
        phase += 1.0f;
    if (!(phase < 1.0f))
        phase = std::nextafter(1.0f, 0.0f);
    return phase;
}

int32_t anim_frame_at(uint32_t milliseconds, int32_t rate)
{
    int64_t product = int64_t(milliseconds) * int64_t(rate);
    return static_cast<int32_t>(product >> 10);
}

void set_wall_clock(std::function<uint32_t()> milliseconds)
{
    wall_clock_override() = std::move(milliseconds);
}

float anim_phase(float rate)
{
    return anim_phase_at(wall_milliseconds(), rate);
}

int32_t anim_frame(int32_t rate)
{
    return anim_frame_at(wall_milliseconds(), rate);
}

perf_timer& frame_timer()
{
    static perf_timer timer;
    return timer;
}
