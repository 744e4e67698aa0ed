// Measurements of what the build rendered (build/generated/sound) and packed
// (tamble.pk2): every sample the game asks for exists; nothing clips or sits off
// centre; songs loop without a seam and share one loudness; effects and jingles keep
// consistent levels below the music, and jingles end within their duck; the archive's
// streams decode to the same length with a clean signal-to-noise ratio, and songs and
// jingles leave the mixer room for its gain.
#include "tools/synth/catalogue.h"
#include "tools/synth/loudness.h"
#include "tools/synth/measures.h"

#include "data/asset_names.h"
#include "data/pak_store.h"
#include "sound/codec/sample_chunk.h"
#include "sound/codec/wav_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

struct rendered {
    const sample_entry* entry;
    w_pcm pcm;
    sample_measures measures;
};

// Every rendered WAVE file, read once for all the tests.
const std::vector<rendered>& all_rendered()
{
    static const std::vector<rendered> all = [] {
        std::vector<rendered> out;
        for (const sample_entry& e : sample_catalogue()) {
            std::ifstream in(std::string(TAMBLE_SYNTH_ROOT) + "/" + wav_path_of(e.name), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                       std::istreambuf_iterator<char>());
            rendered r{&e, {}, {}};
            std::string error;
            if (!w_read_wav(bytes.data(), bytes.size(), r.pcm, error))
                continue;
            r.measures = measure_sample(r.pcm.samples);
            out.push_back(std::move(r));
        }
        return out;
    }();
    return all;
}

std::vector<const rendered*> of_kind(sample_kind kind)
{
    std::vector<const rendered*> out;
    for (const rendered& r : all_rendered())
        if (r.entry->kind == kind)
            out.push_back(&r);
    return out;
}

double loudness_of(const rendered& r)
{
    return integrated_loudness(r.pcm.samples.data(), r.pcm.frames());
}

double short_loudness_of(const rendered& r)
{
    stereo_buffer b;
    b.resize(r.pcm.frames());
    for (size_t i = 0; i < b.frames(); ++i) {
        b.left[i] = r.pcm.samples[2 * i] / 32768.0f;
        b.right[i] = r.pcm.samples[2 * i + 1] / 32768.0f;
    }
    return short_loudness(b);
}

}  // namespace

TEST(rendered_samples, every_sample_the_game_plays_is_rendered)
{
    // The program's fixed names (data/asset_names.h) and the songs the worlds data names.
    std::vector<std::string> required(std::begin(asset_fetched_samples), std::end(asset_fetched_samples));
    for (const char* song : {"music\\song1", "music\\song2", "music\\song3", "music\\song4", "music\\song5"})
        required.push_back(song);
    std::map<std::string, const rendered*> found;
    for (const rendered& r : all_rendered())
        found[r.entry->name] = &r;
    EXPECT_EQ(found.size(), sample_catalogue().size()) << "a catalogued sample has no readable WAVE file";
    for (const std::string& name : required)
        EXPECT_TRUE(found.count(name)) << name;
    // The star counter plays four blips a second, and a sample sounds at most four times
    // at once: a longer blip would lose the fifth star's sound.
    ASSERT_TRUE(found.count("sounds\\StarBlip"));
    EXPECT_LE(found["sounds\\StarBlip"]->pcm.frames(), 44100u);
    for (const rendered& r : all_rendered()) {
        EXPECT_EQ(r.pcm.rate, 44100u) << r.entry->name;
        EXPECT_EQ(r.pcm.source_channels, 2u) << r.entry->name;
        EXPECT_GT(r.pcm.frames(), 2000u) << r.entry->name;
    }
}

TEST(rendered_samples, nothing_clips_or_sits_off_centre_and_effects_stay_below_the_music)
{
    std::vector<double> music_peaks;
    for (const rendered* r : of_kind(sample_kind::music))
        music_peaks.push_back(r->measures.peak_dbfs);
    ASSERT_FALSE(music_peaks.empty());
    std::sort(music_peaks.begin(), music_peaks.end());
    double music_peak = music_peaks[music_peaks.size() / 2];
    for (const rendered& r : all_rendered()) {
        const sample_measures& m = r.measures;
        EXPECT_LE(m.peak_dbfs, -1.0) << r.entry->name;
        EXPECT_LE(m.peak_dbfs, peak_ceiling(r.entry->kind) + 0.1) << r.entry->name;
        EXPECT_LT(m.dc, 1e-3) << r.entry->name;
        if (r.entry->kind != sample_kind::music) {
            EXPECT_LT(m.peak_dbfs, music_peak) << r.entry->name << " peaks above the music";
        }
    }
}

TEST(rendered_samples, songs_loop_without_a_click_or_a_change_of_sound)
{
    for (const rendered* r : of_kind(sample_kind::music)) {
        const sample_measures& m = r->measures;
        const char* name = r->entry->name;
        EXPECT_LE(m.seam_jump, m.largest_jump) << name;
        // The seam is the first downbeat; against every other downbeat of the song it
        // must not stand out: no burst of highs (a click adds 20 dB and more there), no
        // change of sound beyond what the music does at its other bar lines.
        double bar = 60.0 / r->entry->song->tempo * r->entry->song->beats_per_bar;
        double high = -100, spectrum = 0;
        for (int k = 1;; ++k) {
            size_t at = seconds_to_frames(bar * k);
            if (at + 4096 >= r->pcm.frames())
                break;
            high = std::max(high, high_band_jump_db(r->pcm.samples, at));
            spectrum = std::max(spectrum, spectral_jump_db(r->pcm.samples, at));
        }
        EXPECT_LE(m.seam_high_db, high + 3.0) << name;
        EXPECT_LE(m.seam_spectrum_db, spectrum + 3.0) << name;
        std::printf("%-16s seam step %5d (largest %5d), highs %+5.1f dB (downbeats up to %+5.1f), "
                    "spectrum %4.1f dB (up to %4.1f)\n",
                    name, m.seam_jump, m.largest_jump, m.seam_high_db, high, m.seam_spectrum_db, spectrum);
    }
}

TEST(rendered_samples, levels_follow_their_kind_and_songs_share_one_loudness)
{
    std::vector<double> songs;
    for (const rendered* r : of_kind(sample_kind::music))
        songs.push_back(loudness_of(*r));
    ASSERT_GE(songs.size(), 7u);
    auto [low, high] = std::minmax_element(songs.begin(), songs.end());
    double middle = (*low + *high) / 2;
    for (size_t i = 0; i < songs.size(); ++i)
        EXPECT_NEAR(songs[i], middle, 1.5) << of_kind(sample_kind::music)[i]->entry->name;
    // Every other sample sits at its kind's level: its loudness target, or (a short
    // effect) lower where that would have peaked above the kind's ceiling, and then
    // right at the ceiling.
    for (sample_kind kind : {sample_kind::jingle, sample_kind::collision, sample_kind::interface}) {
        for (const rendered* r : of_kind(kind)) {
            double level = kind == sample_kind::jingle ? loudness_of(*r) : short_loudness_of(*r);
            bool at_target = std::fabs(level - loudness_target(kind)) < 1.0;
            bool at_ceiling =
                level < loudness_target(kind) && std::fabs(r->measures.peak_dbfs - peak_ceiling(kind)) < 0.2;
            EXPECT_TRUE(at_target || at_ceiling)
                << r->entry->name << ": " << level << " LUFS, peak " << r->measures.peak_dbfs << " dBFS";
            EXPECT_LT(level, middle) << r->entry->name;
        }
    }
}

// The play screen ducks the music for 2 s around "ditty_fail" and 4 s around
// "ditty_success" (game/play_logic.cpp); the level's song comes back then, in its own key,
// so each jingle must have died away by the end of its duck.
TEST(rendered_samples, jingles_are_over_when_the_ducked_music_returns)
{
    const std::map<std::string, double> ducks = {{"music\\ditty_fail", 2.0}, {"music\\ditty_success", 4.0}};
    size_t checked = 0;
    for (const rendered* r : of_kind(sample_kind::jingle)) {
        auto duck = ducks.find(r->entry->name);
        if (duck == ducks.end())
            continue;
        ++checked;
        // The loudest 50 ms from the music's return on.
        const size_t window = 2205;
        double loudest = -200.0;
        for (size_t at = seconds_to_frames(duck->second); at < r->pcm.frames(); at += window / 2) {
            size_t n = std::min(window, r->pcm.frames() - at);
            double sum = 0;
            for (size_t i = 2 * at; i < 2 * (at + n); ++i)
                sum += double(r->pcm.samples[i]) * r->pcm.samples[i];
            loudest = std::max(loudest, 10.0 * std::log10(sum / (2.0 * n) / (32768.0 * 32768.0) + 1e-20));
        }
        EXPECT_LT(loudest, -60.0) << r->entry->name;
        std::printf("%-24s %.2f s long, after %.1f s at most %.1f dBFS\n", r->entry->name,
                    double(r->pcm.frames()) / 44100.0, duck->second, loudest);
    }
    EXPECT_EQ(checked, ducks.size());
}

TEST(archived_samples, decode_to_their_length_with_a_clean_signal_to_noise_ratio)
{
    pak_system sys;
    pak_file archive(&sys, false, TAMBLE_ARCHIVE);
    ASSERT_EQ(archive.status, 0) << TAMBLE_ARCHIVE;
    for (const rendered& r : all_rendered()) {
        ref_ptr<pak_chunkref> chunk = archive.get(r.entry->name);
        ASSERT_TRUE(chunk) << r.entry->name;
        EXPECT_EQ(chunk->code, pak_code_samp) << r.entry->name;
        std::vector<uint8_t> bytes(chunk->uncompressed_size);
        ASSERT_EQ(chunk->read(bytes.data()), 0) << r.entry->name;
        w_sample_data sample;
        ASSERT_TRUE(w_read_sample_chunk(bytes.data(), uint32_t(bytes.size()), sample)) << r.entry->name;
        std::vector<int16_t> decoded;
        bool short_stream = true;
        std::string error;
        ASSERT_TRUE(w_decode_sample(sample, decoded, short_stream, error)) << r.entry->name << ": " << error;
        EXPECT_FALSE(short_stream) << r.entry->name;
        EXPECT_EQ(decoded.size(), r.pcm.samples.size()) << r.entry->name;
        double snr = snr_db(r.pcm.samples, decoded);
        double floor = r.entry->kind == sample_kind::music ? 22.0 : 18.0;
        EXPECT_GE(snr, floor) << r.entry->name;
        // The mixer plays a centred voice at 1.5 times its level: every song and jingle, as
        // the game decodes it, must still fit 16 bits then, or the mix clips.
        int loudest = 0;
        for (int16_t v : decoded)
            loudest = std::max(loudest, std::abs(int(v)));
        if (r.entry->kind == sample_kind::music || r.entry->kind == sample_kind::jingle) {
            EXPECT_LE(loudest * 3, 2 * 32767) << r.entry->name << " peaks at " << loudest;
        }
        std::printf("%-28s %8u frames %8u bytes  SNR %5.1f dB  decoded peak %6.2f dBFS\n", r.entry->name,
                    unsigned(r.pcm.frames()), unsigned(chunk->stored_size), snr,
                    20.0 * std::log10(std::max(loudest, 1) / 32768.0));
    }
}
