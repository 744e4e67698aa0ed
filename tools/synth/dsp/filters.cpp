// Filter coefficients and processing.
#include "tools/synth/dsp/filters.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

struct cookbook {
    double cw, alpha;
    cookbook(double freq, double q)
    {
        double w = 2.0 * synth_pi * std::clamp(freq, 1.0, synth_rate * 0.49) / synth_rate;
        cw = std::cos(w);
        alpha = std::sin(w) / (2.0 * q);
    }
};

}  // namespace

biquad::biquad(double nb0, double nb1, double nb2, double na0, double na1, double na2)
    : b0(float(nb0 / na0)), b1(float(nb1 / na0)), b2(float(nb2 / na0)), a1(float(na1 / na0)),
      a2(float(na2 / na0))
{}

biquad biquad::lowpass(double freq, double q)
{
    cookbook c(freq, q);
    return biquad((1 - c.cw) / 2, 1 - c.cw, (1 - c.cw) / 2, 1 + c.alpha, -2 * c.cw, 1 - c.alpha);
}

biquad biquad::highpass(double freq, double q)
{
    cookbook c(freq, q);
    return biquad((1 + c.cw) / 2, -(1 + c.cw), (1 + c.cw) / 2, 1 + c.alpha, -2 * c.cw, 1 - c.alpha);
}

biquad biquad::bandpass(double freq, double q)
{
    cookbook c(freq, q);
    return biquad(c.alpha, 0, -c.alpha, 1 + c.alpha, -2 * c.cw, 1 - c.alpha);
}

biquad biquad::peaking(double freq, double q, double gain_db)
{
    cookbook c(freq, q);
    double a = std::pow(10.0, gain_db / 40.0);
    return biquad(1 + c.alpha * a, -2 * c.cw, 1 - c.alpha * a, 1 + c.alpha / a, -2 * c.cw, 1 - c.alpha / a);
}

void biquad::process(mono_buffer& buffer)
{
    for (float& v : buffer)
        v = process(v);
}

double biquad::magnitude_at(double freq) const
{
    std::complex<double> z = std::polar(1.0, -2.0 * synth_pi * freq / synth_rate);
    std::complex<double> num = double(b0) + double(b1) * z + double(b2) * z * z;
    std::complex<double> den = 1.0 + double(a1) * z + double(a2) * z * z;
    return std::abs(num / den);
}

one_pole_lowpass::one_pole_lowpass(double freq)
    : coef(float(1.0 - std::exp(-2.0 * synth_pi * freq / synth_rate)))
{}

state_variable_lowpass::state_variable_lowpass(double resonance_q) : k(1.0 / resonance_q)
{
    set_cutoff(1000.0);
}

void state_variable_lowpass::set_cutoff(double freq)
{
    double gd = std::tan(synth_pi * std::clamp(freq, 10.0, synth_rate * 0.45) / synth_rate);
    a1 = float(1.0 / (1.0 + gd * (gd + k)));
    a2 = float(gd) * a1;
    a3 = float(gd) * a2;
}

float state_variable_lowpass::process(float x)
{
    float v3 = x - ic2;
    float v1 = a1 * ic1 + a2 * v3;
    float v2 = ic2 + a2 * ic1 + a3 * v3;
    ic1 = 2.0f * v1 - ic1;
    ic2 = 2.0f * v2 - ic2;
    return v2;
}

void remove_dc(stereo_buffer& buffer, double freq)
{
    for (std::vector<float>* channel : {&buffer.left, &buffer.right}) {
        biquad hp = biquad::highpass(freq, 0.7071);
        hp.process(*channel);
    }
}
