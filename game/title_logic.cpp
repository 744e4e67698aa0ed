// Phases and levels of the title logo and the title-scroll transition.
#include "game/title_logic.h"

#include "app/input_codes.h"
#include "app/step.h"

#include <algorithm>
#include <cmath>

void title_logo_logic::step()
{
    if (phase == fading_in) {
        level += step_seconds;
        if (level >= 1.0f) {
            level = 1.0f;
            phase = waiting;
        }
    } else if (phase == fading_out) {
        level -= 1.0f / 60.0f;
        if (level < 0.0f) {
            level = 0.0f;
            phase = done;
        }
    }
}

bool title_logo_logic::press(uint32_t mouse_flags)
{
    if (phase != waiting || !(mouse_flags & (left_press | right_press)))
        return false;
    phase = fading_out;
    return true;
}

float title_logo_logic::world_brightness() const
{
    return phase == fading_in ? std::min(2.0f * level, 1.0f) : 1.0f;
}

float title_logo_logic::logo_alpha() const
{
    return std::max(2.0f * level - 1.0f, 0.0f);
}

void title_scroll_logic::step()
{
    if (phase == 0) {
        opening -= step_seconds;
        if (opening <= 0.0f) {
            opening = 0.0f;
            phase = 1;
        }
    } else if (phase == 1) {
        turn += step_seconds;
        if (turn >= 1.0f) {
            turn = 1.0f;
            phase = 2;
        }
    } else if (phase == 2) {
        world -= step_seconds;
        opening += step_seconds;
        if (opening >= 1.0f) {
            opening = 1.0f;
            phase = 3;
        }
    }
    world = std::max(world, 0.0f);
}

float title_ease(float x, float power)
{
    if (x < 0.5f)
        return std::pow(2.0f * x, power) / 2.0f;
    return 1.0f - std::pow(2.0f - 2.0f * x, power) / 2.0f;
}
