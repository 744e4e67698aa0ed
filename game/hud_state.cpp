// The shell's slide, map fade, menu hover and layout.
#include "game/hud_state.h"

#include "app/step.h"
#include "app/view_space.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float slide_per_step = 0.022222223f;
constexpr float fade_per_step = step_seconds;

float margin_of(float view_width)
{
    return (view_width - view_size) / 2.0f;
}

}  // namespace

int32_t hud_item_at(float x, float y, float slide, float view_width)
{
    float o = (slide >= 2.0f ? (slide - 2.0f) * 5.0f : 0.0f) - 2.0f;
    if (x >= 12.0f - margin_of(view_width))
        return hud_item_none;
    if (y > o + 4.0f && y < o + 8.0f)
        return hud_item_settings;
    if (y > o + 8.0f && y < o + 12.0f)
        return hud_item_back;
    return hud_item_none;
}

ui_sound hud_state::update(float target, float pointer_x, float pointer_y, float view_width)
{
    map_fade = std::min(map_fade + fade_per_step, 1.0f);
    if (std::abs(target - slide) <= slide_per_step)
        slide = target;
    else
        slide += target > slide ? slide_per_step : -slide_per_step;
    int32_t item = hud_item_at(pointer_x, pointer_y, slide, view_width);
    bool entered = item != hovered_item && item != hud_item_none;
    hovered_item = item;
    return entered ? ui_sound::rollover : ui_sound::none;
}

hud_layout hud_layout_for(float slide, float view_width, float profile_width, float world_width)
{
    hud_layout l;
    l.margin = margin_of(view_width);
    l.menu_shift = slide <= 1.0f ? (1.0f - slide) * 12.0f : 0.0f;
    l.menu_drop = slide >= 2.0f ? (slide - 2.0f) * 5.0f : 0.0f;
    l.frames = slide > 1.0f;
    l.frames_offset = slide <= 2.0f ? (2.0f - slide) * l.margin : 0.0f;
    l.profile_label = slide > 2.0f;
    l.profile_x = slide <= 3.0f ? (slide - 2.0f) * profile_width : profile_width;
    l.profile_drop = slide >= 3.0f ? (slide - 3.0f) * 5.0f : 0.0f;
    l.world_label = slide > 3.0f;
    l.world_x = slide <= 4.0f ? (slide - 3.0f) * world_width : world_width;
    l.world_drop = slide >= 4.0f ? (slide - 4.0f) * 5.0f : 0.0f;
    return l;
}

// Beside the name: 0.5 before it, and after it the star, the star text and the label's end
// with its rivet; the world label has room for its end only.
constexpr float profile_label_margins = 9.5f;
constexpr float world_label_margins = 3.5f;

float hud_profile_label_width(float name_measure, float stars_measure)
{
    return std::clamp(name_measure * 3.0f + stars_measure * 2.5f + profile_label_margins, 14.0f,
                      hud_profile_label_length);
}

float hud_world_label_width(float name_measure)
{
    return std::clamp(name_measure * 3.0f + world_label_margins, 14.0f, hud_world_label_length);
}

float hud_profile_name_room(float stars_measure)
{
    return hud_profile_label_length - profile_label_margins - stars_measure * 2.5f;
}

float hud_world_name_room()
{
    return hud_world_label_length - world_label_margins;
}
