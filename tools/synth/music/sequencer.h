// The sequencer: reads the pattern text of a score into timed notes and renders a
// piece, loops folded so that the end runs into the start without a seam.
#pragma once

#include "tools/synth/dsp/signal.h"
#include "tools/synth/music/score.h"

#include <string>
#include <vector>

struct part_notes {
    const part_setup* part = nullptr;
    std::vector<note_event> notes;
};

struct sequenced_song {
    std::vector<part_notes> parts;
    double seconds = 0.0;                                     // the length of the form (one pass of the loop)
    std::vector<std::pair<double, std::vector<int>>> chords;  // start in seconds, pitch classes (for checks)
};

// False with a message naming the song, section, part and token for anything the
// notation does not allow (an unknown note, a bar that does not fill, a line whose
// length does not divide its section, a form naming no section, a part without its setup).
bool sequence_song(const song_spec& song, sequenced_song& out, std::string& error);

// Renders a sequenced song. A looping song comes out exactly one pass long, with what
// rings past the end folded onto the start; a piece that does not loop keeps its tail
// and ends in silence. With `solo`, only that part is heard (its share of the mix).
stereo_buffer render_song(const song_spec& song, const sequenced_song& notes, const char* solo = nullptr);
