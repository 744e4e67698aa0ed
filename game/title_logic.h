// The logic of the two title screens on the title world: the logo that fades in over the
// scene and waits for a click, and the transition from player select to world selection
// that turns the menu's scroll upright (game/screens/title_screens.h draws them).
#pragma once

#include <cstdint>

// The logo: fading in (1 s; the logo shows in the second half), waiting for a click,
// fading out (1/3 s), done.
class title_logo_logic {
public:
    enum : int32_t { fading_in = 0, waiting = 1, fading_out = 2, done = 3 };
    int32_t phase = fading_in;
    float level = 0.0f;

    void step();
    // A mouse event (flags of app/input_codes.h): a press of either button while waiting
    // starts the fade-out; true then (a click sound plays).
    bool press(uint32_t mouse_flags);
    float world_brightness() const;
    float logo_alpha() const;
};

// The title-scroll transition, on the scroll player select left lying open across the view:
// it rolls up (1 s), turns upright (1 s), and opens again while the title world fades away
// behind the map-coloured background (1 s).
class title_scroll_logic {
public:
    float world = 1.0f;    // how much of the title world still shows
    float turn = 0.0f;     // 0 lying across, 1 upright
    float opening = 1.0f;  // 0 rolled up, 1 open
    int32_t phase = 0;

    void step();
    bool done() const { return phase >= 3; }
};

// The transition's easing: (2x)^p / 2 below one half, 1 - (2 - 2x)^p / 2 above.
float title_ease(float x, float power);
