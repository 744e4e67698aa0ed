// Spectrogram rendering: Hann-windowed FFT frames, magnitudes in dB mapped to a warm
// colour ramp, one column per hop.
#include "tools/synth/spectrogram.h"

#include "app/image_file/png_file.h"
#include "tools/synth/dsp/fft.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr int spectrum_height = 320;
constexpr int wave_height = 80;
constexpr double low_hz = 30.0, high_hz = 20000.0;

// Black through deep red and orange to pale yellow.
void colour(double v, uint8_t* rgb)
{
    v = std::clamp(v, 0.0, 1.0);
    rgb[0] = uint8_t(255.0 * std::min(1.0, v * 1.6));
    rgb[1] = uint8_t(255.0 * std::clamp((v - 0.35) * 1.6, 0.0, 1.0));
    rgb[2] = uint8_t(255.0 * std::clamp((v - 0.75) * 3.0, 0.0, 1.0) * 0.8 + 40.0 * v * (1.0 - v));
}

}  // namespace

bool write_spectrogram(const std::vector<int16_t>& pcm, const std::string& png_path, std::string& error)
{
    size_t frames = pcm.size() / 2;
    // Long pieces get fine frequency detail, short effects fine timing.
    const int fft_size = frames > size_t(10 * 44100) ? 4096 : 1024;
    int width = int(std::clamp<size_t>(frames / 64, 320, 1600));
    double hop = double(frames) / width;
    int height = wave_height + spectrum_height;
    std::vector<uint8_t> image(size_t(width) * size_t(height) * 3, 0);
    auto pixel = [&](int x, int y) { return image.data() + (size_t(y) * size_t(width) + size_t(x)) * 3; };

    // Waveform: min and max of the mid signal per column, on a dark grey band.
    for (int x = 0; x < width; ++x) {
        size_t a = size_t(x * hop), b = std::min(frames, size_t((x + 1) * hop) + 1);
        float lo = 0, hi = 0;
        for (size_t f = a; f < b; ++f) {
            float m = (pcm[2 * f] + pcm[2 * f + 1]) / 65536.0f;
            lo = std::min(lo, m);
            hi = std::max(hi, m);
        }
        for (int y = 0; y < wave_height; ++y) {
            float v = 1.0f - 2.0f * (float(y) + 0.5f) / wave_height;
            uint8_t* p = pixel(x, y);
            bool on = v <= hi && v >= lo;
            p[0] = on ? 240 : 24;
            p[1] = on ? 200 : 24;
            p[2] = on ? 120 : 28;
        }
    }

    std::vector<std::complex<double>> buf(fft_size);
    std::vector<double> mag(fft_size / 2);
    for (int x = 0; x < width; ++x) {
        long centre = long((x + 0.5) * hop);
        for (int i = 0; i < fft_size; ++i) {
            long f = centre - fft_size / 2 + i;
            double s =
                f >= 0 && size_t(f) < frames ? (pcm[2 * size_t(f)] + pcm[2 * size_t(f) + 1]) / 65536.0 : 0.0;
            double w = 0.5 - 0.5 * std::cos(2.0 * M_PI * (i + 0.5) / fft_size);
            buf[size_t(i)] = s * w;
        }
        fft_in_place(buf);
        for (int k = 0; k < fft_size / 2; ++k)
            mag[size_t(k)] = std::abs(buf[size_t(k)]) / (fft_size / 4);
        for (int y = 0; y < spectrum_height; ++y) {
            // Row 0 is the top: the highest frequency.
            double t = 1.0 - (y + 0.5) / spectrum_height;
            double hz = low_hz * std::pow(high_hz / low_hz, t);
            double bin = hz * fft_size / 44100.0;
            double hz_next = low_hz * std::pow(high_hz / low_hz, t + 1.0 / spectrum_height);
            int k0 = int(bin), k1 = std::max(k0, int(hz_next * fft_size / 44100.0));
            double m = 0;
            for (int k = k0; k <= k1 && k < fft_size / 2; ++k)
                m = std::max(m, mag[size_t(k)]);
            double db = 20.0 * std::log10(m + 1e-9);
            colour((db + 95.0) / 80.0, pixel(x, wave_height + y));
        }
    }

    return png_file_write(png_path, width, height, 3, image.data(), error);
}
