// Sample measurements.
#include "tools/synth/measures.h"

#include "tools/synth/dsp/fft.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr int window = 2048;

// Power spectrum (mid channel, Hann window) of `window` frames starting at `start`,
// taken around the loop: frame indices wrap.
std::vector<double> spectrum_at(const std::vector<int16_t>& pcm, size_t frames, long start)
{
    std::vector<std::complex<double>> a(window);
    for (int i = 0; i < window; ++i) {
        long f = ((start + i) % long(frames) + long(frames)) % long(frames);
        double m = (pcm[2 * size_t(f)] + pcm[2 * size_t(f) + 1]) / 65536.0;
        a[size_t(i)] = m * (0.5 - 0.5 * std::cos(2.0 * M_PI * (i + 0.5) / window));
    }
    fft_in_place(a);
    std::vector<double> power(window / 2);
    for (int k = 0; k < window / 2; ++k)
        power[size_t(k)] = std::norm(a[size_t(k)]);
    return power;
}

double band_energy(const std::vector<double>& p, double from_hz)
{
    double sum = 1e-12;
    for (size_t k = size_t(from_hz * window / 44100.0); k < p.size(); ++k)
        sum += p[k];
    return sum;
}

}  // namespace

namespace {

// The mid-channel spectra of the window straddling frame `at` and of the windows just
// before and after it. False when the sample is too short to hold three windows.
bool spectra_around(const std::vector<int16_t>& pcm, size_t at, std::vector<double>& across,
                    std::vector<double>& before, std::vector<double>& after)
{
    size_t frames = pcm.size() / 2;
    if (frames < size_t(4 * window))
        return false;
    long centre = long(at);
    across = spectrum_at(pcm, frames, centre - window / 2);
    before = spectrum_at(pcm, frames, centre - window / 2 - window);
    after = spectrum_at(pcm, frames, centre + window / 2);
    return true;
}

}  // namespace

double high_band_jump_db(const std::vector<int16_t>& pcm, size_t at)
{
    std::vector<double> across, before, after;
    if (!spectra_around(pcm, at, across, before, after))
        return 0.0;
    double sides = std::max(band_energy(before, 6000.0), band_energy(after, 6000.0));
    return 10.0 * std::log10(band_energy(across, 6000.0) / sides);
}

double spectral_jump_db(const std::vector<int16_t>& pcm, size_t at)
{
    std::vector<double> across, before, after;
    if (!spectra_around(pcm, at, across, before, after))
        return 0.0;
    double distance = 0;
    for (size_t k = 2; k < across.size(); ++k) {
        double neighbours = 0.5 * (before[k] + after[k]) + 1e-9;
        distance += std::fabs(10.0 * std::log10((across[k] + 1e-9) / neighbours));
    }
    return distance / double(across.size() - 2);
}

sample_measures measure_sample(const std::vector<int16_t>& pcm)
{
    sample_measures m;
    m.frames = pcm.size() / 2;
    if (m.frames == 0)
        return m;
    int peak = 0;
    double sum[2] = {0, 0};
    for (size_t i = 0; i < pcm.size(); ++i) {
        peak = std::max(peak, std::abs(int(pcm[i])));
        sum[i & 1] += pcm[i];
        if (i >= 2)
            m.largest_jump = std::max(m.largest_jump, std::abs(int(pcm[i]) - int(pcm[i - 2])));
    }
    m.peak_dbfs = peak ? 20.0 * std::log10(peak / 32768.0) : -200.0;
    m.dc = std::max(std::fabs(sum[0]), std::fabs(sum[1])) / double(m.frames) / 32768.0;
    size_t last = 2 * (m.frames - 1);
    m.seam_jump =
        std::max(std::abs(int(pcm[0]) - int(pcm[last])), std::abs(int(pcm[1]) - int(pcm[last + 1])));
    m.seam_high_db = high_band_jump_db(pcm, 0);
    m.seam_spectrum_db = spectral_jump_db(pcm, 0);
    return m;
}

double snr_db(const std::vector<int16_t>& source, const std::vector<int16_t>& decoded)
{
    double signal = 0, noise = 0;
    size_t n = std::min(source.size(), decoded.size());
    for (size_t i = 0; i < n; ++i) {
        double s = source[i], d = double(decoded[i]) - source[i];
        signal += s * s;
        noise += d * d;
    }
    if (noise <= 0)
        return 200.0;
    return 10.0 * std::log10(signal / noise);
}
