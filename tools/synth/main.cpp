// tamble-synth: renders every sound and piece of music the game plays into WAVE
// sources for the archive, and measures or pictures them for review.
#include "tools/synth/catalogue.h"
#include "tools/synth/loudness.h"
#include "tools/synth/measures.h"
#include "tools/synth/music/sequencer.h"
#include "tools/synth/spectrogram.h"

#include "app/file_io.h"
#include "sound/codec/wav_file.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

int usage()
{
    std::fprintf(stderr,
                 "usage: tamble-synth render OUTDIR [NAME...]   render every sample (or the named ones) as "
                 "WAVE sources\n"
                 "       tamble-synth list                      the samples: name and kind\n"
                 "       tamble-synth measure FILE.wav...       length, peak, offset, loudness, loop seam\n"
                 "       tamble-synth stems NAME                each part of a piece against the whole mix\n"
                 "       tamble-synth compare A.wav B.wav       SNR of B against A (a decoded copy)\n"
                 "       tamble-synth picture FILE.wav OUT.png [FROM LENGTH]  waveform and spectrogram (of "
                 "an excerpt, in s)\n");
    return 2;
}

bool write_file(const std::filesystem::path& path, const void* data, size_t size)
{
    std::FILE* f = std::fopen(path.string().c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

bool read_wav(const std::string& path, w_pcm& pcm)
{
    std::vector<uint8_t> bytes;
    std::string error;
    if (!file_read_all(path, bytes)) {
        std::fprintf(stderr, "tamble-synth: '%s': cannot read\n", path.c_str());
        return false;
    }
    if (!w_read_wav(bytes.data(), bytes.size(), pcm, error)) {
        std::fprintf(stderr, "tamble-synth: '%s': %s\n", path.c_str(), error.c_str());
        return false;
    }
    return true;
}

// Rounds to 16 bits; counts the samples that had to be clipped (there should be none).
std::vector<int16_t> to_pcm16(const stereo_buffer& b, int& clipped)
{
    std::vector<int16_t> pcm(b.frames() * 2);
    clipped = 0;
    for (size_t i = 0; i < b.frames(); ++i)
        for (int c = 0; c < 2; ++c) {
            double v = std::round(double(c ? b.right[i] : b.left[i]) * 32768.0);
            if (v > 32767.0 || v < -32768.0) {
                ++clipped;
                v = std::clamp(v, -32768.0, 32767.0);
            }
            pcm[2 * i + size_t(c)] = int16_t(v);
        }
    return pcm;
}

int render(int argc, char** argv)
{
    if (argc < 1)
        return usage();
    std::filesystem::path root = argv[0];
    std::vector<std::string> only(argv + 1, argv + argc);
    auto began = std::chrono::steady_clock::now();
    int failures = 0, rendered = 0;
    for (const sample_entry& e : sample_catalogue()) {
        if (!only.empty() && std::find(only.begin(), only.end(), e.name) == only.end())
            continue;
        auto t0 = std::chrono::steady_clock::now();
        stereo_buffer sound;
        std::string error;
        if (!render_sample(e, sound, error)) {
            std::fprintf(stderr, "tamble-synth: %s\n", error.c_str());
            ++failures;
            continue;
        }
        int clipped = 0;
        std::vector<int16_t> pcm = to_pcm16(sound, clipped);
        std::filesystem::path wav = root / wav_path_of(e.name);
        std::error_code ec;
        std::filesystem::create_directories(wav.parent_path(), ec);
        std::vector<uint8_t> bytes = w_wav_bytes(pcm.data(), uint32_t(pcm.size() / 2), 44100);
        // The archive builder packs each source with the codec settings of its sidecar.
        codec_settings codec = codec_for(e.kind);
        std::string options = "# written by tamble-synth\nblock " + std::to_string(codec.block) + "\nstep " +
                              std::to_string(codec.step) + "\n";
        std::filesystem::path opt = wav;
        opt += ".opt";
        if (!write_file(wav, bytes.data(), bytes.size()) ||
            !write_file(opt, options.data(), options.size())) {
            std::fprintf(stderr, "tamble-synth: '%s': cannot write\n", wav.string().c_str());
            ++failures;
            continue;
        }
        double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
        sample_measures m = measure_sample(pcm);
        std::printf("%-28s %-9s %7.2f s  peak %6.1f dBFS  %6.1f LUFS  %6.0f ms%s\n", e.name,
                    kind_name(e.kind), double(m.frames) / 44100.0, m.peak_dbfs,
                    integrated_loudness(pcm.data(), m.frames), ms, clipped ? "  CLIPPED" : "");
        if (clipped)
            ++failures;
        ++rendered;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    std::printf("%d samples in %.1f s\n", rendered, seconds);
    return failures ? 1 : 0;
}

// Each part of a piece alone, measured at the level it has in the full mix: for
// balancing a song by numbers.
int stems(int argc, char** argv)
{
    if (argc != 1)
        return usage();
    for (const sample_entry& e : sample_catalogue()) {
        if (!e.song || std::strcmp(e.name, argv[0]) != 0)
            continue;
        sequenced_song notes;
        std::string error;
        if (!sequence_song(*e.song, notes, error)) {
            std::fprintf(stderr, "tamble-synth: %s\n", error.c_str());
            return 1;
        }
        stereo_buffer all = render_song(*e.song, notes);
        double whole = integrated_loudness(all);
        std::printf("%-12s %6.1f LUFS  peak %6.1f dB (before levelling)\n", "all", whole,
                    gain_to_db(peak_of(all)));
        for (const part_setup& p : e.song->parts) {
            stereo_buffer one = render_song(*e.song, notes, p.name);
            std::printf("%-12s %6.1f LU   peak %6.1f dB\n", p.name, integrated_loudness(one) - whole,
                        gain_to_db(peak_of(one)));
        }
        return 0;
    }
    std::fprintf(stderr, "tamble-synth: no piece '%s'\n", argv[0]);
    return 1;
}

int list()
{
    for (const sample_entry& e : sample_catalogue())
        std::printf("%s\t%s\n", e.name, kind_name(e.kind));
    return 0;
}

int measure(int argc, char** argv)
{
    if (argc < 1)
        return usage();
    int status = 0;
    for (int i = 0; i < argc; ++i) {
        w_pcm pcm;
        if (!read_wav(argv[i], pcm)) {
            status = 1;
            continue;
        }
        sample_measures m = measure_sample(pcm.samples);
        std::printf("%s: %.2f s, peak %.1f dBFS, offset %.1e, %.1f LUFS, largest step %d, seam step %d, "
                    "seam highs %+.1f dB, seam spectrum %.1f dB\n",
                    argv[i], double(m.frames) / 44100.0, m.peak_dbfs, m.dc,
                    integrated_loudness(pcm.samples.data(), m.frames), m.largest_jump, m.seam_jump,
                    m.seam_high_db, m.seam_spectrum_db);
    }
    return status;
}

int picture(int argc, char** argv)
{
    if (argc != 2 && argc != 4)
        return usage();
    w_pcm pcm;
    if (!read_wav(argv[0], pcm))
        return 1;
    if (argc == 4) {
        // An excerpt: FROM and LENGTH in seconds.
        double from = std::atof(argv[2]), length = std::atof(argv[3]);
        size_t a = std::min<size_t>(pcm.frames(), size_t(std::max(0.0, from) * 44100.0));
        size_t b = std::min<size_t>(pcm.frames(), a + size_t(std::max(0.0, length) * 44100.0));
        pcm.samples =
            std::vector<int16_t>(pcm.samples.begin() + long(2 * a), pcm.samples.begin() + long(2 * b));
    }
    std::string error;
    if (!write_spectrogram(pcm.samples, argv[1], error)) {
        std::fprintf(stderr, "tamble-synth: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

int compare(int argc, char** argv)
{
    if (argc != 2)
        return usage();
    w_pcm a, b;
    if (!read_wav(argv[0], a) || !read_wav(argv[1], b))
        return 1;
    std::printf("%u and %u frames, SNR %.2f dB\n", a.frames(), b.frames(), snr_db(a.samples, b.samples));
    return a.frames() == b.frames() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2)
        return usage();
    if (!std::strcmp(argv[1], "render"))
        return render(argc - 2, argv + 2);
    if (!std::strcmp(argv[1], "list") && argc == 2)
        return list();
    if (!std::strcmp(argv[1], "measure"))
        return measure(argc - 2, argv + 2);
    if (!std::strcmp(argv[1], "stems"))
        return stems(argc - 2, argv + 2);
    if (!std::strcmp(argv[1], "compare"))
        return compare(argc - 2, argv + 2);
    if (!std::strcmp(argv[1], "picture"))
        return picture(argc - 2, argv + 2);
    return usage();
}
