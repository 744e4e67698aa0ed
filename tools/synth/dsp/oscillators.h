// Oscillators: a sine by complex rotation (exact frequency, no table), and a sawtooth
// with polyBLEP corrections at its jumps, so that it does not alias audibly.
#pragma once

class sine_oscillator {
public:
    explicit sine_oscillator(double freq = 440.0, double phase = 0.0);

    void set_frequency(double freq);
    float next();

private:
    // The current point on the unit circle and the rotation per sample; the point is
    // pulled back to the circle now and then, because rounding would let it drift.
    double re, im, step_re, step_im;
    int until_normalise = 0;
};

class saw_oscillator {
public:
    explicit saw_oscillator(double freq = 440.0, double phase = 0.0);

    void set_frequency(double freq);
    // In [-1, 1], rising.
    float next();

private:
    double phase, increment;
};
