// The instruments of the game's music: mallets (marimba, kalimba, celesta,
// glockenspiel, music box), plucked strings (harp, nylon guitar, bass), a soft
// flute, a warm pad, and light percussion. Each renders one note into a part's mono
// buffer.
#pragma once

#include "tools/synth/dsp/signal.h"

#include <cstdint>

enum class instrument {
    marimba,
    kalimba,
    celesta,
    glockenspiel,
    music_box,
    harp,
    nylon,
    bass,
    flute,
    pad,
    kick,
    shaker,
    woodblock,
    tick,
    brush,
    tambourine,
    hat,
};

struct note_event {
    double start = 0.0;   // seconds from the start of the piece
    double length = 0.0;  // seconds the note is held
    double pitch = 60.0;  // MIDI note number (60 is middle C); drums use it for their tuning
    float velocity = 0.8f;
    uint32_t seed = 1;
};

double pitch_to_hz(double pitch);

// Adds the note into `out` (one part of a piece) at its start; the buffer grows to
// hold the note's whole decay.
void render_note(instrument sound, const note_event& note, mono_buffer& out);

// True for instruments that sustain while held (pad, flute) rather than ring out.
bool is_sustained(instrument sound);
