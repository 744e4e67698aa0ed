// Sine and band-limited sawtooth oscillators.
#include "tools/synth/dsp/oscillators.h"

#include "tools/synth/dsp/signal.h"

#include <cmath>

sine_oscillator::sine_oscillator(double freq, double phase) : re(std::cos(phase)), im(std::sin(phase))
{
    set_frequency(freq);
}

void sine_oscillator::set_frequency(double freq)
{
    double w = 2.0 * synth_pi * freq / synth_rate;
    step_re = std::cos(w);
    step_im = std::sin(w);
}

float sine_oscillator::next()
{
    float out = float(im);
    double r = re * step_re - im * step_im;
    im = re * step_im + im * step_re;
    re = r;
    if (--until_normalise <= 0) {
        double m = 1.0 / std::sqrt(re * re + im * im);
        re *= m;
        im *= m;
        until_normalise = 256;
    }
    return out;
}

saw_oscillator::saw_oscillator(double freq, double start) : phase(start - std::floor(start))
{
    set_frequency(freq);
}

void saw_oscillator::set_frequency(double freq)
{
    increment = freq / synth_rate;
}

namespace {

// The polyBLEP residual: a two-sample polynomial that rounds off the jump of a naive
// sawtooth where the phase wraps.
double poly_blep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

}  // namespace

float saw_oscillator::next()
{
    double out = 2.0 * phase - 1.0 - poly_blep(phase, increment);
    phase += increment;
    if (phase >= 1.0)
        phase -= 1.0;
    return float(out);
}
