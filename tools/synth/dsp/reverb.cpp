// The feedback delay network.
#include "tools/synth/dsp/reverb.h"

#include "tools/synth/dsp/filters.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int lines = 8;
// Mutually prime lengths, 23 to 66 ms at size 1: no two lines reinforce each other's echoes.
constexpr std::array<int, lines> base_lengths = {1031, 1327, 1523, 1783, 1999, 2311, 2579, 2909};

struct delay_line {
    std::vector<float> data;
    size_t pos = 0;
    float read() const { return data[pos]; }
    void write(float v)
    {
        data[pos] = v;
        pos = pos + 1 == data.size() ? 0 : pos + 1;
    }
};

// A Schroeder all-pass: spreads a click into a short burst without colouring it.
class diffuser {
public:
    diffuser(size_t length, float g) : line{std::vector<float>(length, 0.0f)}, gain(g) {}
    float process(float x)
    {
        float d = line.read();
        float v = x + gain * d;
        line.write(v);
        return d - gain * v;
    }

private:
    delay_line line;
    float gain;
};

// In-place fast Walsh-Hadamard transform, scaled to keep energy.
void hadamard(std::array<float, lines>& v)
{
    for (int h = 1; h < lines; h *= 2)
        for (int i = 0; i < lines; i += 2 * h)
            for (int j = i; j < i + h; ++j) {
                float a = v[size_t(j)], b = v[size_t(j + h)];
                v[size_t(j)] = a + b;
                v[size_t(j + h)] = a - b;
            }
    for (float& x : v)
        x *= 0.35355339f;  // 1 / sqrt(8)
}

}  // namespace

void add_reverb(const stereo_buffer& send, const reverb_settings& s, float wet, stereo_buffer& out)
{
    std::array<delay_line, lines> delay;
    std::array<float, lines> gain{};
    std::vector<one_pole_lowpass> damping;
    for (int i = 0; i < lines; ++i) {
        size_t len = size_t(std::lround(base_lengths[size_t(i)] * double(s.size)));
        delay[size_t(i)].data.assign(len < 16 ? 16 : len, 0.0f);
        gain[size_t(i)] = float(std::pow(10.0, -3.0 * double(len) / (double(s.seconds) * synth_rate)));
        damping.emplace_back(s.damping);
    }
    diffuser diffuse_l[2] = {diffuser(142, 0.6f), diffuser(379, 0.6f)};
    diffuser diffuse_r[2] = {diffuser(167, 0.6f), diffuser(331, 0.6f)};
    size_t predelay = seconds_to_frames(s.predelay);

    std::array<float, lines> v{};
    for (size_t f = 0; f < out.frames(); ++f) {
        size_t src = f >= predelay ? f - predelay : SIZE_MAX;
        float in_l = src < send.frames() ? send.left[src] : 0.0f;
        float in_r = src < send.frames() ? send.right[src] : 0.0f;
        for (diffuser& d : diffuse_l)
            in_l = d.process(in_l);
        for (diffuser& d : diffuse_r)
            in_r = d.process(in_r);
        for (int i = 0; i < lines; ++i)
            v[size_t(i)] = delay[size_t(i)].read();
        float wl = (v[0] - v[2] + v[4] - v[6]) * 0.5f;
        float wr = (v[1] - v[3] + v[5] - v[7]) * 0.5f;
        out.left[f] += wl * wet;
        out.right[f] += wr * wet;
        hadamard(v);
        for (int i = 0; i < lines; ++i) {
            float x = damping[size_t(i)].process(v[size_t(i)] * gain[size_t(i)]);
            x += (i & 1) ? in_r : in_l;
            delay[size_t(i)].write(x);
        }
    }
}
