// Filters: second-order sections after the well-known audio cookbook formulas, a
// one-pole low-pass for gentle smoothing, and a state-variable low-pass whose cutoff
// may move every sample (for pads that open and close).
#pragma once

#include "tools/synth/dsp/signal.h"

class biquad {
public:
    static biquad lowpass(double freq, double q);
    static biquad highpass(double freq, double q);
    // Constant 0 dB peak gain.
    static biquad bandpass(double freq, double q);
    static biquad peaking(double freq, double q, double gain_db);

    float process(float x)
    {
        float y = b0 * x + z1;
        z1 = b1 * x - a1 * y + z2;
        z2 = b2 * x - a2 * y;
        return y;
    }
    void process(mono_buffer& buffer);
    // The magnitude of the response at `freq` (for tests and level planning).
    double magnitude_at(double freq) const;

    biquad() = default;

private:
    // Coefficients divided by a0.
    biquad(double b0, double b1, double b2, double a0, double a1, double a2);

    float b0 = 1, b1 = 0, b2 = 0, a1 = 0, a2 = 0;
    float z1 = 0, z2 = 0;
};

class one_pole_lowpass {
public:
    explicit one_pole_lowpass(double freq);
    float process(float x)
    {
        state += (x - state) * coef;
        return state;
    }

private:
    float coef;
    float state = 0.0f;
};

// Topology-preserving state-variable filter (low-pass output).
class state_variable_lowpass {
public:
    explicit state_variable_lowpass(double resonance_q = 0.707);
    void set_cutoff(double freq);
    float process(float x);

private:
    double k;
    float a1 = 0, a2 = 0, a3 = 0;
    float ic1 = 0, ic2 = 0;
};

// Removes any constant offset (a first-order high-pass at `freq`).
void remove_dc(stereo_buffer& buffer, double freq);
