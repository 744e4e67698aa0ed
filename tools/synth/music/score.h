// Music as data: a piece is parts (who plays, how loud, where), sections (chords and
// what each part plays over them) and a form (the order of the sections). The
// sequencer turns it into notes and renders them.
//
// Pattern text, shared by every line of a section:
//   tokens are separated by blanks; "|" marks a bar line and is checked: the notes
//   before it must fill whole bars.
//   A length follows a colon in beats ("C5:1", "r:0.5", "1/3" for triplets); a token
//   without a length keeps the previous one.
//   ">" before a token accents it, "~" softens it.
// Melody lines: notes "C5", "F#4", "Bb3", chords "C4+E4+G4", rests "r", and "-" to hold
//   the previous note longer.
// Chord lines: "C", "Am", "G7", "Fmaj7", "Dm7", "Csus4", "Gsus2", "C6", "Cadd9",
//   "Bdim", with an optional bass "C/E".
// Arpeggio and bass lines: chord-tone indices, 0 the root, 1 the next tone up and so
//   on, wrapping into higher octaves; negative indices count down ("-1" is the tone
//   below the root). "r" rests.
// Pad lines: "hold" plays every chord for as long as it lasts; otherwise "x" strikes
//   the chord for the token's length and "r" rests.
// Drum lines: one character per step, "X" accented, "x" normal, "o" soft, "." rest;
//   "|" separates bars, and the steps of a bar divide it evenly.
// A line shorter than its section repeats; its length must divide the section's.
#pragma once

#include "tools/synth/dsp/reverb.h"
#include "tools/synth/music/instruments.h"

#include <vector>

enum class part_role { melody, arpeggio, bass, pad, drums };

struct part_setup {
    const char* name;
    instrument sound;
    part_role role;
    float level_db = 0.0f;
    float pan = 0.5f;     // 0 left .. 1 right
    float reverb = 0.3f;  // send to the room, 0 .. 1
    int centre =
        60;  // register: chords, arpeggios and bass are voiced around it; drums take it as their pitch
    float humanise = 1.0f;  // scales the small random shifts of timing and loudness
};

struct section_line {
    const char* part;
    const char* text;
};

struct section_spec {
    const char* name;
    int bars;
    const char* chords;
    std::vector<section_line> lines;
};

struct song_spec {
    const char* name;  // the sample's resource name, "music\song1"
    double tempo;      // quarter notes (beats) per minute
    int beats_per_bar;
    float swing = 0.0f;  // 0 straight; 1/3 gives eighths a triplet lilt
    reverb_settings room;
    float room_level = 0.5f;
    std::vector<part_setup> parts;
    std::vector<section_spec> sections;
    std::vector<const char*> form;
    bool loops = true;  // songs loop; jingles play once and ring out
    // A jingle the game ducks the music for must be over when the music returns: with a
    // time here (seconds) it fades out over the last `fade_out` and ends by then.
    double ends_by = 0.0;
    double fade_out = 0.4;
};
