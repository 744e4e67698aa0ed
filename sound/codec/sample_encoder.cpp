// Encoding a sample stream: blocks of both channels in the order the decoder reads
// them, each as a gain byte followed by run/class symbols and extra bits.
#include "sound/codec/sample_encoder.h"

#include "data/bit_stream.h"
#include "sound/codec/huffman_model.h"
#include "sound/codec/mdct.h"
#include "sound/codec/sample_decoder.h"

#include <cmath>

namespace {

constexpr int max_level = 127;
constexpr int max_run = 31;
// How far below its loudest coefficient a block's floor sits, in natural-log units
// (about 56 dB). Chosen with the step on the shared test signal for good quality at
// a modest rate; a larger range costs bits quickly (see bench_sound).
constexpr float dynamic_range = 6.5f;

// A quantised coefficient: 0 is a coded zero (part of a run); otherwise level + 1
// with the sign of the coefficient, so that level 0 (the smallest amplitude) stays
// distinct from a zero.
using quantum = int;

struct channel_coder {
    w_huffman_model models[2];
};

class block_coder {
public:
    block_coder(const w_codec_tables& t, bit_iovector& out)
        : tables(t), bits(out), levels(size_t(t.n)), logs(size_t(t.n))
    {
        float s = tables.log_step;
        // A value between the amplitudes of levels a and a + 1 is nearer the upper one
        // (in amplitude, not in log) above a + threshold.
        threshold = std::log((1.0f + std::exp(s)) / 2.0f) / s;
        zero_below = -std::log(2.0f) / s;
    }

    // Quantises and writes one block of channel c; returns the clamps it needed.
    int code(const float* x, channel_coder& ch)
    {
        const int n = tables.n;
        const float s = tables.log_step;
        const float* t = tables.offset.data();
        // lx: the log level that reproduces |x| exactly at gain 0.
        float peak = -1e30f;
        for (int i = 0; i < n; ++i) {
            float a = std::fabs(x[i]);
            logs[size_t(i)] = a > 0.0f ? (std::log(a) - t[i]) / s + 70.0f : -1e30f;
            if (logs[size_t(i)] > peak)
                peak = logs[size_t(i)];
        }
        // The gain moves the whole block's scale in eighths of a level. The smallest
        // gain keeps the floor lowest; it rises only as far as the peak needs to fit
        // under the top level.
        // (A level stays at most 127 while lx - gain/8 < 127 + threshold.)
        float need = peak > max_level ? std::floor(8.0f * (peak - max_level - threshold)) + 1.0f : 0.0f;
        // Above that, the floor is lifted to a fixed distance below the block's
        // peak (relative to the spectral curve): quieter detail costs bits that
        // a louder block masks anyway.
        float lift = std::round(8.0f * (peak - dynamic_range / s));
        float chosen = std::fmax(need, lift);
        int gain = chosen < 0.0f ? 0 : chosen > 255.0f ? 255 : int(chosen);
        int clamps = 0;
        float g = float(gain) / 8.0f;
        int last = -1;
        for (int i = 0; i < n; ++i) {
            float u = logs[size_t(i)] - g;
            quantum v = 0;
            if (u >= zero_below) {
                float lv = u + 1.0f - threshold;
                int level = 0;
                if (lv >= max_level + 1.0f) {
                    level = max_level;
                    ++clamps;
                } else if (lv > 0.0f) {
                    level = int(lv);
                }
                // Level 0 decodes as a positive amplitude only: a negative one is
                // nearer to zero.
                if (level > 0 || x[i] > 0.0f)
                    v = x[i] < 0.0f ? -(level + 1) : level + 1;
            }
            levels[size_t(i)] = v;
            if (v != 0)
                last = i;
        }

        bits.write(uint32_t(gain), 8);
        int start = 0;  // where the next symbol's run begins
        int j = 0;
        while (j <= last) {
            quantum v = levels[size_t(j)];
            if (v == 0) {
                ++j;
                continue;
            }
            int run = j - start;
            if (run > max_run) {
                // Only a value can end a run inside the block. A run of up to 31 with
                // a level-0 value (the smallest, positive amplitude) bridges the gap;
                // it goes where that amplitude is nearest to what the signal holds.
                int r = filler_run(x, start, g);
                put(ch, start, r, 0, 0);
                start += r + 1;
                continue;
            }
            if (v == 1 && run == 0) {
                // Level 0 without a run would be symbol 0, the end of the block: the
                // value joins the next run as a zero instead.
                ++j;
                continue;
            }
            int level = (v < 0 ? -v : v) - 1;
            int k = 0;
            while ((1 << k) <= level)
                ++k;
            uint32_t extra = 0;
            if (k > 0)
                extra = (uint32_t(level - (1 << (k - 1))) << 1) | (v > 0 ? 1u : 0u);
            put(ch, start, k * 32 + run, extra, k);
            start = ++j;
        }
        if (start < n)
            put(ch, start, 0, 0, 0);
        return clamps;
    }

private:
    // The run (1..31) before the level-0 value that bridges a long run of zeros
    // starting at `start`: the position where that value adds the least error.
    int filler_run(const float* x, int start, float gain)
    {
        const float s = tables.log_step;
        const float* t = tables.offset.data();
        int best = max_run;
        float best_cost = 0;
        for (int r = 1; r <= max_run && start + r < tables.n; ++r) {
            float a = std::exp(s * (gain - 70.0f) + t[start + r]);
            float cost = a * a - 2.0f * a * x[start + r];
            if (r == 1 || cost < best_cost) {
                best = r;
                best_cost = cost;
            }
        }
        return best;
    }

    const w_codec_tables& tables;
    bit_iovector& bits;
    std::vector<quantum> levels;
    std::vector<float> logs;
    float threshold;
    float zero_below;

    // Writes a symbol with the model the decoder will use at coefficient `at` (where
    // the symbol's run starts), then its extra bits.
    void put(channel_coder& ch, int at, int symbol, uint32_t extra, int k)
    {
        ch.models[at < tables.n / 16 ? 0 : 1].encode(symbol, bits);
        if (k > 0)
            bits.write(extra, k);
    }
};

}  // namespace

bool w_encode_sample(const int16_t* pcm, uint32_t frames, const w_encode_params& params,
                     w_encoded_sample& result)
{
    const int n = params.block_size;
    if (!w_block_size_ok(n) || params.step < 1 || params.step > 255)
        return false;
    w_codec_tables tables(n, params.step);
    w_mdct transform(n);

    // Mid and side, scaled to [-1, 1], behind N frames of silence (the priming
    // block's first half) and padded with silence to whole blocks.
    size_t blocks = (size_t(frames) + size_t(n) - 1) / size_t(n) + 1;
    size_t padded = (blocks + 1) * size_t(n);
    std::vector<float> ms[2];
    for (auto& c : ms)
        c.assign(padded, 0.0f);
    for (uint32_t f = 0; f < frames; ++f) {
        float l = pcm[2 * size_t(f)], r = pcm[2 * size_t(f) + 1];
        ms[0][size_t(n) + f] = (l + r) * 0.5f / 32768.0f;
        ms[1][size_t(n) + f] = (l - r) * 0.5f / 32768.0f;
    }

    bit_iovector bits;
    bits.write(uint32_t(n), 16);
    bits.write(uint32_t(params.step), 8);
    channel_coder channels[2];
    block_coder coder(tables, bits);
    std::vector<float> windowed(static_cast<size_t>(2 * n));
    std::vector<float> x(static_cast<size_t>(n));
    const float* w = tables.window.data();
    int clamps = 0;
    for (size_t b = 0; b < blocks; ++b) {
        for (int c = 0; c < 2; ++c) {
            const float* in = ms[c].data() + b * size_t(n);
            for (int i = 0; i < n; ++i) {
                windowed[size_t(i)] = in[i] * w[i];
                windowed[size_t(n + i)] = in[n + i] * w[n - 1 - i];
            }
            transform.forward(windowed.data(), x.data());
            clamps += coder.code(x.data(), channels[c]);
        }
    }
    result.stream = bits.bytes();
    result.frames = frames;
    result.clamps = clamps;
    return true;
}
