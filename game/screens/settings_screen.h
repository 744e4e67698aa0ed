// The settings screen: a modal paper with the two mute switches, applied at once, and
// Accept, which saves the configuration and returns.
#pragma once

#include "game/settings_logic.h"
#include "render/glyph_font.h"

class settings_screen {
public:
    ref_ptr<gl_texture> cursor, paper, highlight, box_off, box_on, box_hover;
    glyph_font text;
    settings_logic logic;

    settings_screen();
    // Runs until Accept is clicked (or the window closes).
    void run();
    // One frame's picture of the screen as it stands (its frame loop calls it; so do the
    // rendering benchmarks).
    void draw() const;
};

// Runs the settings over the current screen, then lets that screen go on as if no time had
// passed: its input queues are emptied and no steps are owed for the time spent here.
void open_settings();
