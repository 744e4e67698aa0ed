// The list of samples and how each is made and levelled.
#include "tools/synth/catalogue.h"

#include "tools/synth/dsp/dynamics.h"
#include "tools/synth/dsp/filters.h"
#include "tools/synth/effects/impacts.h"
#include "tools/synth/effects/interface_sounds.h"
#include "tools/synth/loudness.h"
#include "tools/synth/music/sequencer.h"
#include "tools/synth/music/songs.h"

#include <cmath>

namespace {

sample_entry song_entry(const song_spec& song, sample_kind kind)
{
    return sample_entry{song.name, kind, nullptr, &song};
}

sample_entry hit(const char* name, const material_voice& a, const material_voice& b, float weight_a,
                 double detune, uint32_t seed)
{
    return sample_entry{name, sample_kind::collision,
                        [&a, &b, weight_a, detune, seed] { return impact(a, b, weight_a, detune, seed); }};
}

std::vector<sample_entry> make_catalogue()
{
    const sample_kind ui = sample_kind::interface;
    std::vector<sample_entry> all = {
        {"sounds\\Rollover1", ui, render_rollover},
        {"sounds\\Select_Constraint", ui, render_select},
        {"sounds\\Cut_Constraint", ui, render_cut},
        {"sounds\\StarBlip", ui, render_star_blip},

        // Balls against everything: the sounds heard most, each its own.
        hit("sounds\\Hit_Balls", glass_material(), glass_material(), 1.0f, 1.0, 11),
        hit("sounds\\Hit_Balls_Metal", glass_material(), metal_material(), 0.35f, 1.12, 12),
        {"sounds\\Bumper", sample_kind::collision, [] { return bumper_hit(13); }},
        hit("sounds\\Hit_Balls_Pot", glass_material(), clay_material(), 0.35f, 1.0, 14),
        hit("sounds\\Hit_Balls_Wood", glass_material(), solid_wood_material(), 0.3f, 1.06, 15),
        hit("sounds\\Hit_Balls_Crate", glass_material(), hollow_wood_material(), 0.3f, 1.0, 16),
        hit("sounds\\Hit_Balls_Stone", glass_material(), stone_material(), 0.3f, 1.0, 17),
        hit("sounds\\Hit_Rope", rope_material(), rope_material(), 1.0f, 1.0, 18),
        // Bodies against bodies, and the classes' own samples.
        hit("sounds\\Hit_Metal", metal_material(), metal_material(), 0.6f, 0.94, 21),
        hit("sounds\\Hit_Metal_Wood", metal_material(), solid_wood_material(), 0.45f, 0.8, 22),
        hit("sounds\\Hit_Metal_Stone", metal_material(), stone_material(), 0.45f, 0.85, 23),
        hit("sounds\\Hit_Pot", clay_material(), clay_material(), 0.5f, 0.92, 24),
        hit("sounds\\Hit_SolidWood", solid_wood_material(), solid_wood_material(), 0.7f, 0.9, 25),
        hit("sounds\\Hit_Wood_Crate", solid_wood_material(), hollow_wood_material(), 0.6f, 0.95, 26),
        hit("sounds\\Hit_HollowWood", hollow_wood_material(), hollow_wood_material(), 0.6f, 0.88, 27),
        hit("sounds\\Hit_Wood_Stone", solid_wood_material(), stone_material(), 0.7f, 0.85, 28),
        hit("sounds\\Hit_Stone", stone_material(), stone_material(), 0.8f, 0.8, 29),
        hit("sounds\\Hit_Soft", soft_material(), soft_material(), 0.8f, 1.0, 30),

        song_entry(ready_jingle(), sample_kind::jingle),
        song_entry(success_jingle(), sample_kind::jingle),
        song_entry(fail_jingle(), sample_kind::jingle),
        song_entry(ball_in_pot_jingle(), sample_kind::jingle),
        song_entry(zoom_jingle(), sample_kind::jingle),

        song_entry(title_song(), sample_kind::music),
        song_entry(map_song(), sample_kind::music),
        song_entry(solution_song(), sample_kind::music),
        song_entry(workshop_song(), sample_kind::music),
        song_entry(meadow_song(), sample_kind::music),
        song_entry(clockwork_song(), sample_kind::music),
        song_entry(lantern_song(), sample_kind::music),
        song_entry(observatory_song(), sample_kind::music),
    };
    return all;
}

}  // namespace

const std::vector<sample_entry>& sample_catalogue()
{
    static const std::vector<sample_entry> all = make_catalogue();
    return all;
}

const char* kind_name(sample_kind kind)
{
    switch (kind) {
    case sample_kind::interface:
        return "interface";
    case sample_kind::collision:
        return "collision";
    case sample_kind::jingle:
        return "jingle";
    case sample_kind::music:
        return "music";
    }
    return "?";
}

double loudness_target(sample_kind kind)
{
    switch (kind) {
    case sample_kind::interface:
        return -28.0;
    case sample_kind::collision:
        return -27.0;
    case sample_kind::jingle:
        return -23.0;
    case sample_kind::music:
        return -20.0;
    }
    return -20.0;
}

double peak_ceiling(sample_kind kind)
{
    // The mixer plays a centred voice at 1.5 times its level (+3.5 dB): nothing may peak
    // above -3.5 dBFS as the game decodes it, and the codec lifts peaks by up to about
    // 0.3 dB, so the music stops at -4.5. Effects sound over the music and over each other
    // (a scene of bouncing balls starts several hits at once): jingles and hits peak
    // below the music, the interface's little clicks lowest.
    switch (kind) {
    case sample_kind::interface:
        return -12.0;
    case sample_kind::collision:
        return -9.0;
    case sample_kind::jingle:
        return -7.0;
    case sample_kind::music:
        return -4.5;
    }
    return -4.5;
}

codec_settings codec_for(sample_kind kind)
{
    // Blocks of 2048: the codec's fixed spectral curve sets a high floor in the lowest
    // bins of smaller blocks and drops quiet bass (a kick, a crate's boom) entirely;
    // at 2048 the curve is flat. Step 30 keeps music near 24 dB SNR at about 100
    // kbit/s; the short effects take step 32, which costs little on them and keeps
    // noisy sounds (the cut) clean.
    if (kind == sample_kind::music || kind == sample_kind::jingle)
        return codec_settings{2048, 30};
    return codec_settings{2048, 32};
}

std::string wav_path_of(const char* name)
{
    std::string path = name;
    for (char& c : path)
        if (c == '\\')
            c = '/';
    return path + ".wav";
}

bool render_sample(const sample_entry& entry, stereo_buffer& out, std::string& error)
{
    if (entry.song) {
        sequenced_song notes;
        if (!sequence_song(*entry.song, notes, error))
            return false;
        out = render_song(*entry.song, notes);
    } else {
        out = entry.render();
        // A struck mode that dies within a few periods leaves a slight offset.
        remove_dc(out, 25.0);
    }
    bool short_sound = entry.kind == sample_kind::interface || entry.kind == sample_kind::collision;
    float ceiling = db_to_gain(float(peak_ceiling(entry.kind)));
    if (short_sound) {
        // Short effects are never limited: a sound that would peak above its ceiling at
        // the target loudness is simply turned down.
        double level = short_loudness(out);
        if (level <= -150.0)
            return true;
        double gain_db = loudness_target(entry.kind) - level;
        double peak_db = gain_to_db(peak_of(out)) + gain_db;
        if (peak_db > peak_ceiling(entry.kind))
            gain_db -= peak_db - peak_ceiling(entry.kind);
        scale(out, db_to_gain(float(gain_db)));
        return true;
    }
    // Music and jingles meet their loudness; the few coinciding attacks that would
    // then peak above the ceiling are limited (around the loop for songs). Limiting
    // takes a little loudness, so the level is set twice.
    for (int pass = 0; pass < 2; ++pass) {
        double level = integrated_loudness(out);
        if (level <= -150.0)
            return true;
        scale(out, db_to_gain(float(loudness_target(entry.kind) - level)));
        limit_peaks(out, ceiling, entry.song && entry.song->loops);
    }
    return true;
}
