// The generator's signal processing: oscillators in tune and free of aliasing, filters
// with the responses they claim, resonators and strings that ring at their pitch for
// their decay, a room that dies away in its time.
#include "tools/synth/dsp/envelopes.h"
#include "tools/synth/dsp/fft.h"
#include "tools/synth/dsp/filters.h"
#include "tools/synth/dsp/oscillators.h"
#include "tools/synth/dsp/resonators.h"
#include "tools/synth/dsp/reverb.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

// Frequency from the mean period between upward zero crossings in [from, to).
double crossing_frequency(const mono_buffer& x, size_t from, size_t to)
{
    double first = -1, last = -1;
    int crossings = 0;
    for (size_t i = from + 1; i < to; ++i)
        if (x[i - 1] < 0.0f && x[i] >= 0.0f) {
            double at = double(i - 1) + double(-x[i - 1] / (x[i] - x[i - 1]));
            if (first < 0)
                first = at;
            else
                ++crossings;
            last = at;
        }
    return crossings ? synth_rate * crossings / (last - first) : 0.0;
}

// The lag near a whole number of periods of `expected` (about 2048 samples) at which
// the signal best matches itself, refined between samples: the pitch of a tone rich
// in harmonics, where zero crossings would count the harmonics too. Many periods make
// the sub-sample error small against the period.
double autocorrelation_frequency(const mono_buffer& x, size_t from, size_t length, double expected)
{
    auto score = [&](int lag) {
        double sum = 0;
        for (size_t i = from; i < from + length; ++i)
            sum += double(x[i]) * x[i + size_t(lag)];
        return sum;
    };
    double periods = std::max(1.0, std::round(2048.0 * expected / synth_rate));
    double around = synth_rate / expected * periods;
    int lo = int(around - 0.2 * synth_rate / expected), hi = int(around + 0.2 * synth_rate / expected) + 1;
    int best = lo;
    double best_score = -1e300;
    for (int lag = lo; lag <= hi; ++lag)
        if (double v = score(lag); v > best_score) {
            best_score = v;
            best = lag;
        }
    double a = score(best - 1), b = best_score, c = score(best + 1);
    double shift = (a - c) / (2.0 * (a - 2.0 * b + c));
    return synth_rate * periods / (best + shift);
}

double rms(const mono_buffer& x, size_t from, size_t to)
{
    double sum = 0;
    for (size_t i = from; i < to; ++i)
        sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(to - from));
}

}  // namespace

TEST(oscillators, sine_keeps_its_frequency_phase_and_amplitude_over_a_minute)
{
    sine_oscillator osc(440.0);
    double worst = 0;
    for (size_t i = 0; i < 60 * 44100; ++i) {
        double expected = std::sin(2.0 * synth_pi * 440.0 * double(i) / synth_rate);
        worst = std::max(worst, std::fabs(double(osc.next()) - expected));
    }
    EXPECT_LT(worst, 2e-3);
}

TEST(oscillators, sawtooth_aliases_stay_far_below_its_harmonics)
{
    // A frequency on an exact FFT bin, so that harmonics land on multiples of it and
    // anything elsewhere is aliasing folded back from above half the rate.
    const int n = 8192, bin = 140;
    saw_oscillator osc(synth_rate * bin / n);
    std::vector<std::complex<double>> a(n);
    for (int i = 0; i < n; ++i)
        a[size_t(i)] = osc.next() * (0.5 - 0.5 * std::cos(2.0 * synth_pi * (i + 0.5) / n));
    fft_in_place(a);
    double fundamental = std::abs(a[bin]), worst_alias = 0;
    for (int k = 8; k < n / 2; ++k) {
        int off = k % bin;
        if (off > 3 && off < bin - 3)
            worst_alias = std::max(worst_alias, std::abs(a[size_t(k)]));
    }
    // A naive sawtooth leaves aliases near -30 dB here; the corrected one far lower.
    EXPECT_LT(20.0 * std::log10(worst_alias / fundamental), -35.0);
}

TEST(filters, responses_match_their_design_and_the_measured_signal)
{
    biquad lp = biquad::lowpass(1000.0, 0.7071);
    EXPECT_NEAR(lp.magnitude_at(1000.0), 0.7071, 0.01);
    EXPECT_NEAR(lp.magnitude_at(50.0), 1.0, 0.01);
    EXPECT_LT(lp.magnitude_at(8000.0), 0.02);
    EXPECT_NEAR(biquad::bandpass(2000.0, 2.0).magnitude_at(2000.0), 1.0, 0.01);
    EXPECT_NEAR(biquad::peaking(500.0, 1.0, 6.0).magnitude_at(500.0), 2.0, 0.02);
    EXPECT_NEAR(biquad::highpass(200.0, 0.7071).magnitude_at(20.0), 0.01, 0.01);
    // A sine through the filter comes out at the magnitude the design promises.
    for (double f : {300.0, 1000.0, 3000.0}) {
        biquad run = biquad::lowpass(1000.0, 0.7071);
        mono_buffer x(44100);
        for (size_t i = 0; i < x.size(); ++i)
            x[i] = run.process(float(std::sin(2.0 * synth_pi * f * double(i) / synth_rate)));
        EXPECT_NEAR(rms(x, 22050, 44100) * std::sqrt(2.0), run.magnitude_at(f), 0.01) << f;
    }
    // The state-variable low-pass passes the bass and cuts far above its cutoff.
    state_variable_lowpass svf;
    svf.set_cutoff(500.0);
    mono_buffer low(44100), high(44100);
    for (size_t i = 0; i < low.size(); ++i)
        low[i] = svf.process(float(std::sin(2.0 * synth_pi * 60.0 * double(i) / synth_rate)));
    state_variable_lowpass svf2;
    svf2.set_cutoff(500.0);
    for (size_t i = 0; i < high.size(); ++i)
        high[i] = svf2.process(float(std::sin(2.0 * synth_pi * 8000.0 * double(i) / synth_rate)));
    EXPECT_NEAR(rms(low, 22050, 44100), 0.7071, 0.02);
    EXPECT_LT(rms(high, 22050, 44100), 0.01);
}

TEST(envelopes, attack_sustain_and_release_take_their_times)
{
    adsr_envelope env(0.01f, 0.05f, 0.5f, 0.1f);
    float top = 0;
    for (size_t i = 0; i < seconds_to_frames(0.01); ++i)
        top = env.next();
    EXPECT_NEAR(top, 1.0f, 0.01f);
    float held = 0;
    for (size_t i = 0; i < seconds_to_frames(1.0); ++i)
        held = env.next();
    EXPECT_NEAR(held, 0.5f, 0.001f);
    env.release_now();
    for (size_t i = 0; i < seconds_to_frames(0.1); ++i)
        held = env.next();
    EXPECT_NEAR(held, 0.5f * std::exp(-1.0f), 0.01f);  // one time constant
    for (size_t i = 0; i < seconds_to_frames(2.0); ++i)
        env.next();
    EXPECT_TRUE(env.finished());
}

TEST(resonators, a_mode_rings_at_its_frequency_for_its_decay_and_starts_without_a_click)
{
    mono_buffer out;
    strike hit;
    hit.contact = 0.001f;
    ring_modes({{1000.0, 1.0f, 0.5f}}, hit, out, 100);
    for (size_t i = 0; i < 100; ++i)
        ASSERT_EQ(out[i], 0.0f);
    EXPECT_NEAR(crossing_frequency(out, 0, 20000), 1000.0, 0.5);
    // -60 dB after the decay time (the contact ramp shifts the start slightly).
    double start = rms(out, 100 + 441, 100 + 882), later = rms(out, 100 + 441 + 22050, 100 + 882 + 22050);
    EXPECT_NEAR(20.0 * std::log10(later / start), -60.0, 1.5);
    // The ring is cut below -90 dB, not left to run on.
    EXPECT_LT(out.size(), size_t(0.8 * synth_rate) + 200);
    // The first samples rise gently: no step from silence.
    float first_step = 0;
    for (size_t i = 100; i < 110; ++i)
        first_step = std::max(first_step, std::fabs(out[i + 1] - out[i]));
    EXPECT_LT(first_step, 0.05f);

    // Modes at or above 20 kHz (or of no amplitude) add nothing: they would alias.
    mono_buffer none;
    ring_modes({{21000.0, 1.0f, 0.5f}, {500.0, 0.0f, 0.5f}}, hit, none, 0);
    EXPECT_TRUE(std::all_of(none.begin(), none.end(), [](float v) { return v == 0.0f; }));
}

TEST(resonators, plucked_strings_are_in_tune_across_the_range)
{
    for (double f : {82.41, 220.0, 440.0, 1046.5, 2093.0}) {
        for (float brightness : {0.2f, 0.8f}) {
            pluck_settings s;
            s.freq = f;
            s.decay = 2.0f;
            s.brightness = brightness;
            mono_buffer out;
            pluck_string(s, out, 0);
            // After the pluck's noise has settled into the string's own tone.
            double measured = autocorrelation_frequency(out, 4410, 8192, f);
            double cents = 1200.0 * std::log2(measured / f);
            EXPECT_LT(std::fabs(cents), 4.0) << f << " Hz, brightness " << brightness;
        }
    }
}

TEST(resonators, a_damped_string_falls_silent_soon_after_it_is_let_go)
{
    pluck_settings s;
    s.freq = 110.0;
    s.decay = 4.0f;
    s.length = 0.5f;
    mono_buffer out;
    pluck_string(s, out, 0);
    EXPECT_LT(out.size(), seconds_to_frames(0.8));
    EXPECT_LT(rms(out, seconds_to_frames(0.7), out.size()), 0.01 * rms(out, 0, seconds_to_frames(0.4)));
}

TEST(reverb, an_impulse_dies_away_in_the_room_time_in_both_channels)
{
    reverb_settings room;
    room.seconds = 1.0f;
    room.damping = 20000.0f;
    stereo_buffer send, out;
    send.resize(10);
    send.left[0] = 1.0f;
    send.right[0] = 1.0f;
    out.resize(seconds_to_frames(2.0));
    add_reverb(send, room, 1.0f, out);
    auto energy = [&](const std::vector<float>& c, double from, double to) {
        double e = 0;
        for (size_t i = seconds_to_frames(from); i < seconds_to_frames(to); ++i)
            e += double(c[i]) * c[i];
        return e;
    };
    double early = energy(out.left, 0.1, 0.2), late = energy(out.left, 1.1, 1.2);
    EXPECT_NEAR(10.0 * std::log10(late / early), -60.0, 8.0);
    EXPECT_GT(energy(out.right, 0.1, 0.2), 0.25 * early);
    // The two sides are not copies: a room, not a mono echo.
    double cross = 0;
    for (size_t i = seconds_to_frames(0.1); i < seconds_to_frames(0.2); ++i)
        cross += double(out.left[i]) * out.right[i];
    EXPECT_LT(std::fabs(cross) / std::sqrt(early * energy(out.right, 0.1, 0.2)), 0.5);
}
