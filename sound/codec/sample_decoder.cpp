// Decoding the sample stream: header, blocks of run/class symbols, inverse MDCT,
// overlap-add and the mid/side to left/right conversion.
#include "sound/codec/sample_decoder.h"

#include "sound/codec/spectral_curve.h"

#include <algorithm>
#include <cmath>

namespace {

// The decoder's bit source: the passive reader's own words, index and overrun flag,
// read inline. It has the reader's exact behaviour (LSB first, zeros and the overrun
// flag past the last word) without a virtual call per bit.
struct word_bits {
    bit_passive_istream& r;

    uint32_t read_bit()
    {
        if (r.word >= r.end) {
            r.overrun = true;
            return 0;
        }
        uint32_t b = (*r.word >> r.index) & 1;
        if (++r.index == 32) {
            r.index = 0;
            ++r.word;
        }
        return b;
    }
    uint32_t read(int k)
    {
        // Most values lie within the current word: one masked shift.
        if (r.word < r.end && r.index + k <= 32) {
            uint32_t v = uint32_t((uint64_t(*r.word) >> r.index) & ((uint64_t(1) << k) - 1));
            r.index += k;
            if (r.index == 32) {
                r.index = 0;
                ++r.word;
            }
            return v;
        }
        uint32_t v = 0;
        for (int i = 0; i < k; ++i)
            v |= read_bit() << i;
        return v;
    }
};

// Valid streams never hold a level above 127 (the encoder clamps there); a damaged
// one may declare class 31 with 31 extra bits. Levels are held to that range, and the
// exponent to a bound far above any audible amplitude, so that no coefficient can
// become infinite and poison the transform with NaNs.
constexpr uint32_t max_level = 127;
constexpr float max_exponent = 40.0f;

int16_t saturate16(int32_t v)
{
    return int16_t(v < -32768 ? -32768 : v > 32767 ? 32767 : v);
}

// truncate(v) for the output conversion, with the range held (far outside 16 bits,
// so saturation is unchanged) so that the conversion, and m + d and m - d after it,
// are always defined. A NaN cannot arise, but would give 0.
int32_t truncate_sample(float v)
{
    constexpr float bound = 16777216.0f;
    if (!(v > -bound))
        return v != v ? 0 : -16777216;
    if (v > bound)
        return 16777216;
    return int32_t(v);
}

}  // namespace

bool w_block_size_ok(int n)
{
    return n >= w_min_block_size && n <= w_max_block_size && (n & (n - 1)) == 0;
}

w_codec_tables::w_codec_tables(int block_size, int step_parameter) : n(block_size), step(step_parameter)
{
    log2_n = 1;
    while ((1 << log2_n) < n)
        ++log2_n;
    log_step = float(std::log(1.0 + step / 128.0));
    offset.resize(size_t(n));
    window.resize(size_t(n));
    // The curve is sampled at the top index of each group of 1024/N rows, so that
    // the last coefficient always reads its last row. Above 1024 the stride is 0 and
    // every coefficient reads the last row.
    int stride = w_spectral_curve_size / n;
    for (int j = 0; j < n; ++j)
        offset[size_t(n - 1 - j)] = float(w_spectral_curve[w_spectral_curve_size - 1 - j * stride] / 10.0);
    for (int i = 0; i < n; ++i) {
        double a = std::sin((i + 0.5) * 3.14159265 / (2.0 * n));
        window[size_t(i)] = float(std::sqrt(2.0) * std::sin(1.5707963 * a * a));
    }
}

w_sample_decoder::w_sample_decoder(bit_passive_istream* r, int block_size, int step_parameter)
    : reader(r), tables(block_size, step_parameter), transform(block_size), coefficients(size_t(block_size)),
      spectrum_out(size_t(2 * block_size)), position(block_size)
{
    for (channel& c : channels) {
        c.out.assign(size_t(block_size), 0.0f);
        c.save.assign(size_t(block_size), 0.0f);
    }
}

std::unique_ptr<w_sample_decoder> w_sample_decoder::create(bit_passive_istream* reader)
{
    if (!reader)
        return nullptr;
    word_bits in{*reader};
    int n = int(in.read(16));
    int q = int(in.read(8));
    if (reader->overrun || !w_block_size_ok(n))
        return nullptr;
    std::unique_ptr<w_sample_decoder> d(new w_sample_decoder(reader, n, q));
    d->prime();
    return d;
}

void w_sample_decoder::prime()
{
    // The priming block: its first half only overlaps the silence before the stream
    // and is never output; its second half is the overlap of the first output block.
    decode_block(0);
    decode_block(1);
    position = tables.n;
}

bool w_sample_decoder::rewind()
{
    word_bits in{*reader};
    int n = int(in.read(16));
    int q = int(in.read(8));
    dry = reader->overrun || n != tables.n || q != tables.step;
    if (dry)
        return false;
    for (channel& c : channels) {
        for (w_huffman_model& m : c.models)
            m.clear();
        std::fill(c.out.begin(), c.out.end(), 0.0f);
        std::fill(c.save.begin(), c.save.end(), 0.0f);
    }
    prime();
    return true;
}

void w_sample_decoder::decode_block(int c)
{
    const int n = tables.n;
    channel& ch = channels[c];
    float* x = coefficients.data();
    for (int i = 0; i < n; ++i)
        x[i] = 0.0f;

    if (!dry) {
        word_bits in{*reader};
        const float s = tables.log_step;
        const float* t = tables.offset.data();
        float gain = float(in.read(8)) / 8.0f - 70.0f;
        int low = n / 16;
        int i = 0;
        while (i < n) {
            int symbol = ch.models[i < low ? 0 : 1].decode(in);
            if (symbol == 0)
                break;
            i += symbol & 31;
            if (i >= n)
                break;  // a run past the end fills the block without extra bits
            int k = symbol >> 5;
            uint32_t e = in.read(k);
            uint32_t level = k == 0 ? 0 : (e >> 1) + (uint32_t(1) << (k - 1));
            if (level > max_level)
                level = max_level;
            float exponent = s * (float(level) + gain) + t[i];
            if (exponent > max_exponent)
                exponent = max_exponent;
            float a = std::exp(exponent);
            x[i] = (k != 0 && (e & 1) == 0) ? -a : a;
            ++i;
        }
        if (reader->overrun) {
            // The data ended inside this block: what it decoded is not trustworthy.
            dry = true;
            for (int j = 0; j < n; ++j)
                x[j] = 0.0f;
        }
    }

    float* y = spectrum_out.data();
    if (dry) {
        for (int j = 0; j < 2 * n; ++j)
            y[j] = 0.0f;
    } else {
        transform.inverse(x, y);
    }
    const float* w = tables.window.data();
    float* out = ch.out.data();
    float* save = ch.save.data();
    for (int i = 0; i < n; ++i) {
        out[i] = y[i] * w[i] + save[i];
        save[i] = y[n + i] * w[n - 1 - i];
    }
}

int w_sample_decoder::decode(int16_t* out, int frames)
{
    const int n = tables.n;
    // 32768 and N are powers of two, so one multiplication by their quotient gives
    // exactly out * 32768 / N.
    const float scale = 32768.0f / float(n);
    int f = 0;
    while (f < frames) {
        if (position == n) {
            decode_block(0);
            decode_block(1);
            position = 0;
        }
        int run = n - position < frames - f ? n - position : frames - f;
        const float* mid = channels[0].out.data() + position;
        const float* side = channels[1].out.data() + position;
        int16_t* o = out + 2 * f;
        for (int i = 0; i < run; ++i) {
            int32_t m = truncate_sample(mid[i] * scale);
            int32_t d = truncate_sample(side[i] * scale);
            o[2 * i] = saturate16(m + d);
            o[2 * i + 1] = saturate16(m - d);
        }
        position += run;
        f += run;
    }
    return frames;
}
