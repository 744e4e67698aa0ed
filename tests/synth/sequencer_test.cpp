// The sequencer and the music written with it: the notation is read exactly or refused
// with a message that finds the mistake, notes land on the beat, chords are voiced
// where the parts ask, loops join seamlessly, and every piece of the game reads, is
// long enough and keeps its melodies on the chords.
#include "tools/synth/catalogue.h"
#include "tools/synth/music/sequencer.h"
#include "tools/synth/music/songs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

song_spec small_song(std::vector<section_line> lines, const char* chords = "C:4")
{
    song_spec s{"test\\song", 120.0, 4, 0.0f, {}, 0.0f, {}, {}, {"A"}};
    s.parts = {{"lead", instrument::marimba, part_role::melody, 0.0f, 0.5f, 0.0f, 60, 0.0f},
               {"arp", instrument::harp, part_role::arpeggio, 0.0f, 0.5f, 0.0f, 60, 0.0f},
               {"bass", instrument::bass, part_role::bass, 0.0f, 0.5f, 0.0f, 40, 0.0f},
               {"pad", instrument::pad, part_role::pad, 0.0f, 0.5f, 0.0f, 60, 0.0f},
               {"drum", instrument::shaker, part_role::drums, 0.0f, 0.5f, 0.0f, 60, 0.0f}};
    s.sections = {{"A", 1, chords, std::move(lines)}};
    return s;
}

std::vector<double> pitches(const part_notes& p)
{
    std::vector<double> out;
    for (const note_event& n : p.notes)
        out.push_back(n.pitch);
    return out;
}

std::string error_of(const song_spec& s)
{
    sequenced_song seq;
    std::string error;
    EXPECT_FALSE(sequence_song(s, seq, error));
    return error;
}

std::vector<const song_spec*> all_pieces()
{
    std::vector<const song_spec*> out;
    for (const sample_entry& e : sample_catalogue())
        if (e.song)
            out.push_back(e.song);
    return out;
}

}  // namespace

TEST(sequencer, reads_notes_lengths_accents_holds_and_chords_of_notes)
{
    song_spec s = small_song({{"lead", "C4:1 >E4:0.5 ~G4 - C5+E5:1 r:0.5"}});
    sequenced_song seq;
    std::string error;
    ASSERT_TRUE(sequence_song(s, seq, error)) << error;
    const part_notes& lead = seq.parts[0];
    EXPECT_EQ(pitches(lead), (std::vector<double>{60, 64, 67, 72, 76}));
    // 120 beats a minute: half a second a beat.
    EXPECT_DOUBLE_EQ(lead.notes[1].start, 0.5);
    EXPECT_DOUBLE_EQ(lead.notes[2].start, 0.75);
    EXPECT_DOUBLE_EQ(lead.notes[2].length, 0.5);  // "~G4" and its held "-", 0.5 beats each
    EXPECT_DOUBLE_EQ(lead.notes[3].start, 1.25);
    EXPECT_EQ(lead.notes[1].velocity, 1.0f);
    EXPECT_EQ(lead.notes[2].velocity, 0.55f);
    EXPECT_DOUBLE_EQ(seq.seconds, 2.0);
}

TEST(sequencer, voices_arpeggios_bass_and_pads_from_the_chords)
{
    song_spec s =
        small_song({{"arp", "0:1 1 2 3"}, {"bass", "0:2 -1:1 2:1"}, {"pad", "hold:4"}, {"drum", "x.o.|"}},
                   "Am/C:2 G7:2");
    sequenced_song seq;
    std::string error;
    ASSERT_TRUE(sequence_song(s, seq, error)) << error;
    // Arpeggio with its root at or below 60: A3 and C4 over Am, then G7's fifth and
    // seventh (index 3 of a four-tone chord).
    EXPECT_EQ(pitches(seq.parts[1]), (std::vector<double>{57, 60, 62, 65}));
    // The bass plays the written bass note (C) for index 0, and counts the others from the
    // root near its register: -1 is the seventh below G, 2 the fifth above.
    EXPECT_EQ(pitches(seq.parts[2]), (std::vector<double>{36, 41, 50}));
    // The pad holds each chord for as long as it lasts, voiced around middle C.
    std::vector<double> pad_notes = pitches(seq.parts[3]);
    std::multiset<double> pad(pad_notes.begin(), pad_notes.end());
    EXPECT_EQ(pad, (std::multiset<double>{57, 60, 64, 55, 59, 62, 65}));
    EXPECT_DOUBLE_EQ(seq.parts[3].notes.back().length, 1.0);
    // Drums: one hit per marked step, softer for "o", across the whole bar.
    ASSERT_EQ(seq.parts[4].notes.size(), 2u);
    EXPECT_DOUBLE_EQ(seq.parts[4].notes[1].start, 1.0);
    EXPECT_LT(seq.parts[4].notes[1].velocity, seq.parts[4].notes[0].velocity);
}

TEST(sequencer, swing_delays_the_off_beat_eighths_only)
{
    song_spec s = small_song({{"lead", "C4:0.5 D4 E4 F4 G4:2"}});
    s.swing = 1.0f / 3.0f;
    sequenced_song seq;
    std::string error;
    ASSERT_TRUE(sequence_song(s, seq, error)) << error;
    const std::vector<note_event>& n = seq.parts[0].notes;
    EXPECT_NEAR(n[1].start, 0.5 * 2.0 / 3.0, 1e-6);  // the "and" of one, a triplet late
    EXPECT_NEAR(n[2].start, 0.5, 1e-6);              // beats stay where they are
    EXPECT_NEAR(n[4].start, 1.0, 1e-6);
}

TEST(sequencer, refuses_mistakes_and_says_where_they_are)
{
    EXPECT_NE(error_of(small_song({{"lead", "C4:1 D4:1 E4:1 | F4:1"}})).find("bar line"), std::string::npos);
    EXPECT_NE(error_of(small_song({{"lead", "C4:1 H4:1 E4:2"}})).find("'H4:1'"), std::string::npos);
    EXPECT_NE(error_of(small_song({{"lead", "C4:3"}})).find("do not divide"), std::string::npos);
    EXPECT_NE(error_of(small_song({{"lead", "C4:8"}})).find("do not divide"), std::string::npos);
    EXPECT_NE(error_of(small_song({{"nobody", "C4:4"}})).find("no part 'nobody'"), std::string::npos);
    EXPECT_NE(error_of(small_song({{"arp", "0:4"}}, "")).find("needs the section's chords"),
              std::string::npos);
    EXPECT_NE(error_of(small_song({{"lead", "C4:4"}}, "Cmaj9:4")).find("chords"), std::string::npos);
    EXPECT_NE(error_of(small_song({{"drum", "x.q."}})).find("unknown drum step"), std::string::npos);
    EXPECT_NE(error_of(small_song({{"lead", "- C4:4"}})).find("holds nothing"), std::string::npos);
    song_spec s = small_song({{"lead", "C4:4"}});
    s.form = {"A", "Z"};
    EXPECT_NE(error_of(s).find("no section 'Z'"), std::string::npos);
}

TEST(sequencer, a_folded_loop_is_the_steady_state_of_the_loop_played_forever)
{
    // Notes ringing across the end and a room: the one-pass render must equal the
    // middle pass of three, where the sound of the pass before has been heard.
    song_spec once = small_song({{"lead", "C4:1 E5:1 G4:1 C6+C3:1"}});
    once.room = {1.5f, 5000.0f, 0.02f, 1.0f};
    once.room_level = 0.5f;
    for (part_setup& p : once.parts)
        p.reverb = 0.5f;
    song_spec thrice = once;
    thrice.form = {"A", "A", "A"};
    sequenced_song a, b;
    std::string error;
    ASSERT_TRUE(sequence_song(once, a, error)) << error;
    ASSERT_TRUE(sequence_song(thrice, b, error)) << error;
    stereo_buffer one = render_song(once, a), three = render_song(thrice, b);
    ASSERT_EQ(three.frames(), 3 * one.frames());
    double worst = 0, peak = 0;
    for (size_t i = 0; i < one.frames(); ++i) {
        worst = std::max(worst, double(std::fabs(one.left[i] - three.left[one.frames() + i])));
        peak = std::max(peak, double(std::fabs(one.left[i])));
    }
    // (Float rounding differs between the two: -60 dB is far below any real seam.)
    EXPECT_LT(worst, 1e-3 * peak);
    // And the join itself is smooth: no step larger than the music's own.
    double step = 0;
    for (size_t i = 1; i < one.frames(); ++i)
        step = std::max(step, double(std::fabs(one.left[i] - one.left[i - 1])));
    EXPECT_LE(std::fabs(one.left[0] - one.left.back()), step);
}

TEST(game_music, every_piece_reads_and_the_songs_last_a_minute)
{
    for (const song_spec* song : all_pieces()) {
        sequenced_song seq;
        std::string error;
        ASSERT_TRUE(sequence_song(*song, seq, error)) << error;
        if (song->loops)
            EXPECT_GE(seq.seconds, 60.0) << song->name;
        else
            EXPECT_LE(seq.seconds, 4.0) << song->name;
        size_t notes = 0;
        for (const part_notes& p : seq.parts)
            notes += p.notes.size();
        EXPECT_GT(notes, song->loops ? 200u : 3u) << song->name;
    }
}

TEST(game_music, melodies_sit_on_the_chords_on_strong_beats)
{
    // On the first beat of a bar (and the third in 4/4) a melody note should belong to
    // the chord that sounds; passing notes belong between. A wrong note in the data
    // shows up here as a clash.
    for (const song_spec* song : all_pieces()) {
        sequenced_song seq;
        std::string error;
        ASSERT_TRUE(sequence_song(*song, seq, error)) << error;
        int strong = 0, on_chord = 0;
        for (const part_notes& p : seq.parts) {
            if (p.part->role != part_role::melody)
                continue;
            for (const note_event& n : p.notes) {
                double beat = n.start * song->tempo / 60.0;
                double whole = std::round(beat);
                if (std::fabs(beat - whole) > 0.02)
                    continue;
                int in_bar = int(whole) % song->beats_per_bar;
                if (in_bar != 0 && !(song->beats_per_bar == 4 && in_bar == 2))
                    continue;
                const std::vector<int>* chord = nullptr;
                for (const auto& c : seq.chords)
                    if (c.first <= n.start + 0.01)
                        chord = &c.second;
                ASSERT_NE(chord, nullptr) << song->name;
                ++strong;
                int pc = int(n.pitch) % 12;
                if (std::find(chord->begin(), chord->end(), pc) != chord->end())
                    ++on_chord;
            }
        }
        if (song->loops) {
            ASSERT_GT(strong, 0) << song->name;
        }
        if (strong > 0) {
            EXPECT_GE(double(on_chord) / strong, 0.9) << song->name << ": " << on_chord << " of " << strong;
        }
    }
}
