// The limiter: the gain each sample needs, spread over a short window on both sides
// (the attack looks ahead), released slowly, then smoothed by a moving average that
// stays inside the spread window, so the gain never exceeds what any sample needs.
#include "tools/synth/dsp/dynamics.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <vector>

namespace {

constexpr double spread_seconds = 0.003;
constexpr double release_seconds = 0.15;

}  // namespace

void limit_peaks(stereo_buffer& buffer, float ceiling, bool circular)
{
    const size_t n = buffer.frames();
    if (n == 0)
        return;
    std::vector<float> need(n);
    bool any = false;
    for (size_t i = 0; i < n; ++i) {
        float a = std::max(std::fabs(buffer.left[i]), std::fabs(buffer.right[i]));
        need[i] = a > ceiling ? ceiling / a : 1.0f;
        any = any || a > ceiling;
    }
    if (!any)
        return;
    const long h = long(std::max<size_t>(2, seconds_to_frames(spread_seconds)));
    auto at = [&](long i) -> float {
        if (circular)
            return need[size_t(((i % long(n)) + long(n)) % long(n))];
        return i < 0 || i >= long(n) ? 1.0f : need[size_t(i)];
    };
    // Sliding minimum over [i - h, i + h].
    std::vector<float> spread(n);
    std::deque<std::pair<long, float>> window;
    for (long j = -h; j < long(n) + h; ++j) {
        float v = at(j);
        while (!window.empty() && window.back().second >= v)
            window.pop_back();
        window.emplace_back(j, v);
        long i = j - h;
        while (window.front().first < i - h)
            window.pop_front();
        if (i >= 0)
            spread[size_t(i)] = window.front().second;
    }
    // Release: the gain recovers towards 1 at a limited pace. Around a loop, one lap
    // first settles the state at the seam.
    const float recover = float(1.0 - std::exp(-1.0 / (release_seconds * synth_rate)));
    float g = 1.0f;
    for (int lap = circular ? 0 : 1; lap < 2; ++lap)
        for (size_t i = 0; i < n; ++i) {
            g = std::min(spread[i], g + (1.0f - g) * recover);
            if (lap == 1)
                spread[i] = g;
        }
    // Moving average over [i - h/2, i + h/2].
    const long half = h / 2;
    auto released = [&](long i) -> double {
        if (circular)
            return spread[size_t(((i % long(n)) + long(n)) % long(n))];
        return i < 0 || i >= long(n) ? 1.0 : spread[size_t(i)];
    };
    double sum = 0;
    for (long j = -half; j <= half; ++j)
        sum += released(j);
    const double count = double(2 * half + 1);
    for (long i = 0; i < long(n); ++i) {
        float gain = float(sum / count);
        buffer.left[size_t(i)] *= gain;
        buffer.right[size_t(i)] *= gain;
        sum += released(i + half + 1) - released(i - half);
    }
}
