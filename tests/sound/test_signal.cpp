// The shared test signal and the SNR measure.
#include "tests/sound/test_signal.h"

#include <cmath>

namespace {

// A small LCG, so the noise is the same on every machine and library.
struct noise_source {
    uint32_t state = 0x12345678u;
    float next()
    {
        state = state * 1664525u + 1013904223u;
        return float(int32_t(state >> 8) - (1 << 23)) / float(1 << 23);
    }
};

double envelope(double t, double attack, double decay)
{
    if (t < 0)
        return 0;
    return t < attack ? t / attack : std::exp(-(t - attack) / decay);
}

}  // namespace

std::vector<int16_t> make_test_signal(double seconds, int rate)
{
    size_t frames = size_t(seconds * rate);
    std::vector<int16_t> pcm(2 * frames);
    static const double melody[] = {440.0, 493.88, 554.37, 659.25, 587.33, 493.88, 440.0, 329.63};
    static const double pad[] = {220.0, 277.18, 329.63};
    noise_source noise;
    float snare_lp = 0;
    for (size_t f = 0; f < frames; ++f) {
        double t = double(f) / rate;
        // Melody: a note every quarter second, harmonics falling off, panned slowly.
        int note = int(t * 4.0);
        double nt = t - note / 4.0;
        double freq = melody[note % 8];
        double tone = 0;
        for (int h = 1; h <= 4; ++h)
            tone += std::sin(2 * M_PI * freq * h * t) / (h * h);
        tone *= 0.25 * envelope(nt, 0.01, 0.12);
        double pan = 0.5 + 0.4 * std::sin(2 * M_PI * t / 7.0);
        // Pad: a soft chord, swelling over four seconds, slightly detuned between sides.
        double swell = 0.5 - 0.5 * std::cos(2 * M_PI * t / 4.0);
        double pad_l = 0, pad_r = 0;
        for (double p : pad) {
            pad_l += std::sin(2 * M_PI * p * t);
            pad_r += std::sin(2 * M_PI * p * 1.003 * t + 0.5);
        }
        pad_l *= 0.06 * swell;
        pad_r *= 0.06 * swell;
        // Percussion: a kick on every beat, a noise snare on the off-beats, hats.
        double beat = std::fmod(t, 0.5);
        double kick =
            0.45 * envelope(beat, 0.002, 0.08) * std::sin(2 * M_PI * (50 + 80 * std::exp(-beat * 30)) * beat);
        float n = noise.next();
        snare_lp += 0.4f * (n - snare_lp);
        double off = std::fmod(t + 0.25, 0.5);
        double snare = 0.3 * envelope(off, 0.001, 0.05) * snare_lp;
        float hn = noise.next();
        double hat_t = std::fmod(t, 0.125);
        double hats = 0.08 * envelope(hat_t, 0.0005, 0.015) * (hn - 0.5 * n);
        double left = tone * (1 - pan) + pad_l + kick + snare + hats * 0.7;
        double right = tone * pan + pad_r + kick + snare * 0.8 + hats;
        pcm[2 * f] = int16_t(std::lround(std::fmax(-1.0, std::fmin(1.0, left)) * 32767.0));
        pcm[2 * f + 1] = int16_t(std::lround(std::fmax(-1.0, std::fmin(1.0, right)) * 32767.0));
    }
    return pcm;
}

double signal_to_noise(const int16_t* source, const int16_t* decoded, size_t frames)
{
    double signal = 0, noise = 0;
    for (size_t i = 0; i < 2 * frames; ++i) {
        double s = source[i], e = double(decoded[i]) - double(source[i]);
        signal += s * s;
        noise += e * e;
    }
    if (noise == 0)
        return 200.0;
    return 10.0 * std::log10(signal / noise);
}
